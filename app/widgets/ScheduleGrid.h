#pragma once
// The payment schedule grid (SSDBGrid1): a table whose current cell is always being edited, and
// whose cursor moves only when the page lets it. Leaving a cell first asks the page, which may
// refuse (the cursor then stays in the cell); moving past the last row asks the page for a new
// row; entering a cell tells the page, which may send the cursor elsewhere. The page's own
// moves (placeCursor) ask nothing.

#include <QLineEdit>
#include <QPointer>

#include <QStyledItemDelegate>
#include <QTableView>
#include "widgets/ScheduleModel.h"

#include <functional>

class ScheduleGrid : public QTableView {
    Q_OBJECT
public:
    // What moved the cursor, for the rules that look at Page Up and Page Down.
    enum class Move { None, Tab, Backtab, Up, Down, PageUp, PageDown, Click };

    struct Hooks {
        std::function<bool(Move)> refuseLeaving;  // true keeps the cursor in the current cell
        std::function<bool()> addRow;             // appends the new row, or refuses (and places the cursor)
        std::function<void()> entered;            // the cursor is in a new cell
    };

    explicit ScheduleGrid(QWidget* parent = nullptr);
    ~ScheduleGrid() override;

    void setScheduleModel(ScheduleModel* model);
    void setHooks(Hooks hooks) { hooks_ = std::move(hooks); }

    int currentRow() const { return currentIndex().row(); }
    int currentColumn() const { return currentIndex().column(); }
    // Puts the cursor in a cell (row and column clamped to the grid) and opens its editor.
    void placeCursor(int row, int column);
    // The text being typed into the current cell goes into the cell.
    void commitEditor();
    // The editor shows the current cell's text again.
    void refreshEditor();
    // A refused cell: the cursor stays, and the cell is edited again with what it holds.
    void keepEditing();
    // The key moves of the grid, also used for keys typed into the editor.
    void moveByKey(Move move);
    QLineEdit* editorWidget() const { return editor_; }

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    friend class ScheduleCellDelegate;
    void moveTo(Move move, int row, int column);
    void openEditor();
    void dropEditor();
    void editorCreated(QLineEdit* editor) { editor_ = editor; }

    QPointer<ScheduleModel> model_;
    Hooks hooks_;
    QPointer<QLineEdit> editor_;
    int placing_ = 0;
};

// The cell editor: a line edit limited to the column's length; the grid's navigation keys are
// taken from it before the line edit sees them.
class ScheduleCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit ScheduleCellDelegate(ScheduleGrid* grid);
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;

protected:
    bool eventFilter(QObject* object, QEvent* event) override;

private:
    friend class ScheduleGrid;
    ScheduleGrid* grid_;  // null once the grid is being destroyed
};
