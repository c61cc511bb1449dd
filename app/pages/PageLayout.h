#pragma once
// Small helpers that give every page the same furniture: headings, right-aligned labels, the
// outer layout, and the row of command buttons at the bottom.

#include <QString>

#include <initializer_list>
#include <vector>

class QFocusEvent;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QVBoxLayout;
class QWidget;

namespace page_layout {

constexpr int kMargin = 18;
constexpr int kSpacing = 8;
// The width of a box for an amount or a rate, and of one for a count of periods or days.
constexpr int kBoxWidth = 150;
constexpr int kShortBoxWidth = 80;

QLabel* Heading(QWidget* parent, const char* objectName, const QString& text);
QLabel* Label(QWidget* parent, const char* objectName, const QString& text = {});
QLabel* FieldLabel(QWidget* parent, const char* objectName, const QString& text);
QLineEdit* TextBox(QWidget* parent, const char* objectName, int width);
QPushButton* Button(QWidget* parent, const char* objectName, const QString& caption);
QRadioButton* Option(QWidget* parent, const QString& name, const QString& caption);

// The command buttons at the foot of a page, in the order they stand there. A button is made
// when the page names it: the names are those of the page's form, and their case differs from
// page to page. Every page has New Loan and Exit.
struct CommandButtons {
    struct Names {
        const char* print = nullptr;
        const char* saveReport = nullptr;
        const char* continueButton = nullptr;
        const char* back = nullptr;
        const char* newLoan = "cmdNewAPR";
        const char* exit = "cmdExit";
    };

    CommandButtons() = default;
    CommandButtons(QWidget* page, const Names& names);

    // The buttons the page has, in the row's order.
    std::vector<QPushButton*> inOrder() const;

    QPushButton* print = nullptr;
    QPushButton* saveReport = nullptr;
    QPushButton* continueButton = nullptr;
    QPushButton* back = nullptr;
    QPushButton* newLoan = nullptr;
    QPushButton* exit = nullptr;
};

// How far a page's parts stand from its edges: the entry pages keep wide sides, the pages with a
// wide grid narrow ones.
enum class Sides { Wide, Narrow };

// The page's outer layout: its parts from top to bottom, `spacing` apart; the last is the
// command row.
QVBoxLayout* PageColumn(QWidget* page, Sides sides, int spacing);
// The command row: `left` (when given) at the left end, the buttons at the right.
QHBoxLayout* CommandRow(const CommandButtons& buttons, QWidget* left = nullptr);
// The tab order: the page's controls as given, then its command buttons, then `after`.
void TabOrder(std::initializer_list<QWidget*> controls, const CommandButtons& buttons,
              std::initializer_list<QWidget*> after = {});

// A widget that keeps its room in the layout while it is hidden, so that nothing around it moves.
void KeepRoomWhenHidden(QWidget* widget);

// Whether a focus-out event means the user left the field (rather than a menu, a pop-up or
// another window taking the focus for a moment): only then do the field checks run.
bool IsLeaving(const QFocusEvent& event);

}  // namespace page_layout
