#include "pages/PageLayout.h"

#include <QFocusEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace page_layout {

QLabel* Heading(QWidget* parent, const char* objectName, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(objectName));
    QFont font = label->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.25);
    label->setFont(font);
    return label;
}

QLabel* Label(QWidget* parent, const char* objectName, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(objectName));
    return label;
}

QLabel* FieldLabel(QWidget* parent, const char* objectName, const QString& text) {
    QLabel* label = Label(parent, objectName, text);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

QLineEdit* TextBox(QWidget* parent, const char* objectName, int width) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(objectName));
    box->setFixedWidth(width);
    return box;
}

QPushButton* Button(QWidget* parent, const char* objectName, const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(objectName));
    button->setAutoDefault(false);
    button->setMinimumWidth(96);
    return button;
}

QRadioButton* Option(QWidget* parent, const QString& name, const QString& caption) {
    auto* option = new QRadioButton(caption, parent);
    option->setObjectName(name);
    return option;
}

CommandButtons::CommandButtons(QWidget* page, const Names& names) {
    const auto make = [page](const char* name, const char* caption) {
        return name ? Button(page, name, QString::fromLatin1(caption)) : nullptr;
    };
    print = make(names.print, "&Print");
    saveReport = make(names.saveReport, "Sa&ve Report...");
    continueButton = make(names.continueButton, "&Continue");
    // Enter presses Continue.
    if (continueButton) continueButton->setDefault(true);
    back = make(names.back, "&Back");
    newLoan = make(names.newLoan, "&New Loan");
    exit = make(names.exit, "E&xit");
}

std::vector<QPushButton*> CommandButtons::inOrder() const {
    std::vector<QPushButton*> buttons;
    for (QPushButton* button : {print, saveReport, continueButton, back, newLoan, exit})
        if (button) buttons.push_back(button);
    return buttons;
}

QVBoxLayout* PageColumn(QWidget* page, Sides sides, int spacing) {
    auto* layout = new QVBoxLayout(page);
    const int side = sides == Sides::Wide ? kMargin * 2 : kMargin;
    layout->setContentsMargins(side, kMargin, side, kMargin);
    layout->setSpacing(spacing);
    return layout;
}

QHBoxLayout* CommandRow(const CommandButtons& buttons, QWidget* left) {
    auto* row = new QHBoxLayout;
    if (left) row->addWidget(left);
    row->addStretch();
    for (QPushButton* button : buttons.inOrder()) row->addWidget(button);
    return row;
}

void TabOrder(std::initializer_list<QWidget*> controls, const CommandButtons& buttons,
              std::initializer_list<QWidget*> after) {
    std::vector<QWidget*> order(controls);
    for (QPushButton* button : buttons.inOrder()) order.push_back(button);
    order.insert(order.end(), after);
    for (std::size_t i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
}

void KeepRoomWhenHidden(QWidget* widget) {
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
}

bool IsLeaving(const QFocusEvent& event) {
    switch (event.reason()) {
    case Qt::ActiveWindowFocusReason:
    case Qt::PopupFocusReason:
    case Qt::MenuBarFocusReason: return false;
    default: return true;
    }
}

}  // namespace page_layout
