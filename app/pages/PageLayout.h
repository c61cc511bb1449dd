#pragma once
// Small helpers that give every page the same furniture: headings, right-aligned labels, the
// row of command buttons at the bottom.

#include <QString>

class QBoxLayout;
class QFocusEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;

namespace page_layout {

constexpr int kMargin = 18;
constexpr int kSpacing = 8;

QLabel* Heading(QWidget* parent, const char* objectName, const QString& text);
QLabel* FieldLabel(QWidget* parent, const char* objectName, const QString& text);
QLineEdit* TextBox(QWidget* parent, const char* objectName, int width);
QPushButton* Button(QWidget* parent, const char* objectName, const QString& caption);
QRadioButton* Option(QWidget* parent, const QString& name, const QString& caption);

// Whether a focus-out event means the user left the field (rather than a menu, a pop-up or
// another window taking the focus for a moment): only then do the field checks run.
bool IsLeaving(const QFocusEvent& event);

}  // namespace page_layout
