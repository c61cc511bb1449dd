#include "pages/Page.h"

#include <QKeyEvent>
#include <QPushButton>

Page::Page(PageHost& host, const char* objectName, const QString& caption, QWidget* parent)
    : QWidget(parent), host_(host), caption_(caption) {
    setObjectName(QString::fromLatin1(objectName));
}

void Page::activate() {
    active_ = true;
    guard([this] { onActivate(); });
}

void Page::deactivate() { active_ = false; }

short Page::message(const std::string& text, short style) const { return host_.user().show(text, style); }

bool Page::pressDefaultButton() {
    for (QPushButton* button : findChildren<QPushButton*>()) {
        if (button->isDefault() && button->isVisible() && button->isEnabled()) {
            button->click();
            return true;
        }
    }
    return false;
}

void Page::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
        QWidget::keyPressEvent(event);
        return;
    }
    // A button without a default role passes Enter on to its page.
    if (auto* button = qobject_cast<QPushButton*>(focusWidget()); button && button->hasFocus())
        button->click();
    else
        pressDefaultButton();
}
