#include "dialogs/HelpWindow.h"

#include "pages/PageLayout.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

using namespace page_layout;

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("TALLEX Help"));
    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("txtHelp"));
    browser_->setOpenExternalLinks(false);
    auto* cmdContents = Button(this, "cmdContents", QStringLiteral("&Contents"));
    auto* cmdBack = Button(this, "cmdBack", QStringLiteral("&Back"));
    auto* cmdForward = Button(this, "cmdForward", QStringLiteral("&Forward"));
    cmdBack->setEnabled(false);
    cmdForward->setEnabled(false);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {cmdContents, cmdBack, cmdForward}) buttons->addWidget(b);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(browser_, 1);
    connect(cmdContents, &QPushButton::clicked, this,
            [this] { browser_->setSource(QUrl(QString::fromLatin1(kContents))); });
    connect(cmdBack, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(cmdForward, &QPushButton::clicked, browser_, &QTextBrowser::forward);
    connect(browser_, &QTextBrowser::backwardAvailable, cmdBack, &QPushButton::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, cmdForward, &QPushButton::setEnabled);
    resize(649, 500);
}

void HelpWindow::showContents() {
    browser_->setSource(QUrl(QString::fromLatin1(kContents)));
    show();
    raise();
    activateWindow();
}
