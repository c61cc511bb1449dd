#pragma once
// Small helpers that give every page the same furniture: headings, right-aligned labels, the
// row of command buttons at the bottom.

#include <QString>

class QBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace page_layout {

constexpr int kMargin = 18;
constexpr int kSpacing = 8;

QLabel* Heading(QWidget* parent, const char* objectName, const QString& text);
QLabel* FieldLabel(QWidget* parent, const char* objectName, const QString& text);
QLineEdit* TextBox(QWidget* parent, const char* objectName, int width);
QPushButton* Button(QWidget* parent, const char* objectName, const QString& caption);

}  // namespace page_layout
