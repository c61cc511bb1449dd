#include "PlaceholderPage.h"

#include "PageLayout.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace page_layout;

PlaceholderPage::PlaceholderPage(PageHost& pageHost, const char* objectName, const QString& caption, PageId back,
                                 std::function<QString()> text, QWidget* parent)
    : Page(pageHost, objectName, caption, parent), back_(back), text_(std::move(text)) {
    auto* heading = Heading(this, "Label1", caption);
    lblAPR_ = new QLabel(this);
    lblAPR_->setObjectName(QStringLiteral("lblAPR"));
    QFont font = lblAPR_->font();
    font.setPointSizeF(font.pointSizeF() * 1.5);
    lblAPR_->setFont(font);
    lblAPR_->setAlignment(Qt::AlignCenter);
    lblAPR_->setWordWrap(true);

    auto* cmdBack = Button(this, "cmdBack", QStringLiteral("&Back"));
    auto* cmdNewAPR = Button(this, "cmdNewAPR", QStringLiteral("&New Loan"));
    auto* cmdExit = Button(this, "cmdExit", QStringLiteral("E&xit"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {cmdBack, cmdNewAPR, cmdExit}) buttons->addWidget(b);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kMargin * 2, kMargin, kMargin * 2, kMargin);
    layout->addWidget(heading);
    layout->addStretch();
    layout->addWidget(lblAPR_);
    layout->addStretch();
    layout->addLayout(buttons);

    connect(cmdBack, &QPushButton::clicked, this, [this] {
        guard([this] {
            // Back from a results page: the schedule page keeps its own cursor.
            record().gbCalFilledSchedule = false;
            if (back_ == PageId::BasicInfo) host().session().gbBasicInfoFresh = false;
            host().SwitchForm(back_);
        });
    });
    connect(cmdNewAPR, &QPushButton::clicked, this, [this] { guard([this] { host().NewLoan(); }); });
    connect(cmdExit, &QPushButton::clicked, this, [this] { guard([this] { host().ExitProgram(); }); });
}

void PlaceholderPage::onActivate() {
    lblAPR_->setText(text_());
    if (auto* back = findChild<QPushButton*>(QStringLiteral("cmdBack"))) back->setFocus(Qt::OtherFocusReason);
}
