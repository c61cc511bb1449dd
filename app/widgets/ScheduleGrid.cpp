#include "widgets/ScheduleGrid.h"
#include "widgets/AccessibleNames.h"

#include "widgets/ScheduleModel.h"

#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

namespace {

// Rows a Page Up / Page Down moves.
int PageRows(const QTableView& view) {
    const int rowHeight = std::max(1, view.verticalHeader()->defaultSectionSize());
    return std::max(1, view.viewport()->height() / rowHeight - 1);
}

}  // namespace

ScheduleGrid::ScheduleGrid(QWidget* parent) : QTableView(parent) {
    setObjectName(QStringLiteral("SSDBGrid1"));
    setItemDelegate(new ScheduleCellDelegate(this));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setTabKeyNavigation(false);
    verticalHeader()->hide();
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

ScheduleGrid::~ScheduleGrid() {
    // The open editor is released while the grid can still take it back; an editor deleted
    // with the viewport would report losing the focus to a grid half gone.
    dropEditor();
    if (auto* delegate = qobject_cast<ScheduleCellDelegate*>(itemDelegate())) delegate->grid_ = nullptr;
}

void ScheduleGrid::setScheduleModel(ScheduleModel* model) {
    model_ = model;
    setModel(model);
    // A reset closes every editor itself.
    connect(model, &QAbstractItemModel::modelAboutToBeReset, this, [this] { editor_ = nullptr; });
}

void ScheduleGrid::commitEditor() {
    if (!editor_ || !model_) return;
    const QModelIndex index = currentIndex();
    if (index.isValid()) model_->setCell(index.row(), index.column(), editor_->text());
}

void ScheduleGrid::refreshEditor() {
    if (!editor_ || !model_) return;
    editor_->setText(model_->cell(currentRow(), currentColumn()));
    editor_->selectAll();
}

void ScheduleGrid::keepEditing() {
    // The editor shows what the cell now holds.
    openEditor();
    refreshEditor();
}

void ScheduleGrid::dropEditor() {
    if (!editor_) return;
    QLineEdit* editor = editor_;
    editor_ = nullptr;
    if (indexWidget(currentIndex()) != editor) return;  // already taken back by the view
    // The editor's text is already in the cell (or deliberately not): close without committing.
    closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void ScheduleGrid::openEditor() {
    const QModelIndex index = currentIndex();
    if (!index.isValid() || !model_ || model_->isReadOnly(index.column())) {
        setFocus(Qt::OtherFocusReason);
        return;
    }
    if (editor_) {
        refreshEditor();
        editor_->setFocus(Qt::OtherFocusReason);
        return;
    }
    edit(index);
    if (editor_) {
        editor_->setFocus(Qt::OtherFocusReason);
        editor_->selectAll();
    }
}

void ScheduleGrid::placeCursor(int row, int column) {
    if (!model_ || model_->rowCount() == 0) return;
    row = std::clamp(row, 0, model_->rowCount() - 1);
    column = std::clamp(column, 0, ScheduleModel::kColumns - 1);
    ++placing_;
    dropEditor();
    setCurrentIndex(model_->index(row, column));
    scrollTo(currentIndex());
    if (hooks_.entered) hooks_.entered();
    --placing_;
    // Only the outermost move opens the editor, on wherever the cursor ended.
    if (placing_ == 0) openEditor();
}

void ScheduleGrid::moveTo(Move move, int row, int column) {
    if (!model_) return;
    const QModelIndex current = currentIndex();
    if (current.isValid() && current.row() == row && current.column() == column) return;
    commitEditor();
    if (current.isValid() && hooks_.refuseLeaving && hooks_.refuseLeaving(move)) {
        keepEditing();
        return;
    }
    if (row >= model_->rowCount()) {
        if (!hooks_.addRow || !hooks_.addRow()) {
            if (placing_ == 0) openEditor();
            return;
        }
        row = model_->rowCount() - 1;
    }
    placeCursor(row, column);
}

void ScheduleGrid::moveByKey(Move move) {
    if (!model_ || model_->rowCount() == 0) return;
    const int row = std::max(0, currentRow());
    const int column = std::max(0, currentColumn());
    const int last = model_->rowCount() - 1;
    switch (move) {
    case Move::Tab:
        if (column < ScheduleModel::kColumns - 1)
            moveTo(move, row, std::max(1, column + 1));
        else
            moveTo(move, row + 1, 1);
        break;
    case Move::Backtab:
        if (column > 1)
            moveTo(move, row, column - 1);
        else if (row > 0)
            moveTo(move, row - 1, ScheduleModel::kColumns - 1);
        break;
    case Move::Up:
        if (row > 0) moveTo(move, row - 1, column);
        break;
    case Move::Down: moveTo(move, row + 1, column); break;
    case Move::PageUp: moveTo(move, std::max(0, row - PageRows(*this)), column); break;
    case Move::PageDown: moveTo(move, row == last ? last + 1 : std::min(last, row + PageRows(*this)), column); break;
    case Move::None:
    case Move::Click: break;
    }
}

namespace {

ScheduleGrid::Move MoveOfKey(const QKeyEvent& event) {
    switch (event.key()) {
    case Qt::Key_Tab:
        return event.modifiers() & Qt::ControlModifier ? ScheduleGrid::Move::None : ScheduleGrid::Move::Tab;
    case Qt::Key_Backtab:
        return event.modifiers() & Qt::ControlModifier ? ScheduleGrid::Move::None : ScheduleGrid::Move::Backtab;
    // Enter moves on like Tab: the instructions speak of Tab, and nothing else is bound to it here.
    case Qt::Key_Return:
    case Qt::Key_Enter: return ScheduleGrid::Move::Tab;
    case Qt::Key_Up: return ScheduleGrid::Move::Up;
    case Qt::Key_Down: return ScheduleGrid::Move::Down;
    case Qt::Key_PageUp: return ScheduleGrid::Move::PageUp;
    case Qt::Key_PageDown: return ScheduleGrid::Move::PageDown;
    default: return ScheduleGrid::Move::None;
    }
}

// Alt with a key that types something is an access key. One that a button took never arrives
// here; one that arrives belongs to no button that can act now (hidden, disabled), and a cell
// must not take its letter as text. (Ctrl+Alt is left alone: some keyboards type with it.)
bool IsAccessKey(const QKeyEvent& event) {
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    return (modifiers & Qt::AltModifier) && !(modifiers & Qt::ControlModifier) && !event.text().isEmpty();
}

}  // namespace

bool ScheduleGrid::event(QEvent* event) {
    // Tab moves between cells, not out of the grid (a widget would pass the focus on first).
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) && !(key->modifiers() & Qt::ControlModifier)) {
            keyPressEvent(key);
            return true;
        }
    }
    return QTableView::event(event);
}

void ScheduleGrid::keyPressEvent(QKeyEvent* event) {
    const Move move = MoveOfKey(*event);
    if (move != Move::None) {
        moveByKey(move);
        event->accept();
        return;
    }
    if (IsAccessKey(*event)) {
        event->accept();
        return;
    }
    // Typing into a cell that is not being edited starts its editor with that key.
    const QModelIndex index = currentIndex();
    if (!editor_ && index.isValid() && model_ && !model_->isReadOnly(index.column()) && !event->text().isEmpty() &&
        event->text().at(0).isPrint()) {
        openEditor();
        if (editor_) {
            editor_->clear();
            editor_->insert(event->text());
        }
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Left || event->key() == Qt::Key_Right || event->key() == Qt::Key_Home ||
        event->key() == Qt::Key_End) {
        event->accept();  // the cursor moves between cells only by the keys above
        return;
    }
    QTableView::keyPressEvent(event);
}

void ScheduleGrid::mousePressEvent(QMouseEvent* event) {
    const QModelIndex index = indexAt(event->position().toPoint());
    if (!hasFocus() && !(editor_ && editor_->hasFocus())) setFocus(Qt::MouseFocusReason);
    if (!index.isValid()) return;
    if (index == currentIndex()) {
        openEditor();
        return;
    }
    moveTo(Move::Click, index.row(), index.column());
}

void ScheduleGrid::mouseDoubleClickEvent(QMouseEvent* event) { mousePressEvent(event); }

void ScheduleGrid::focusInEvent(QFocusEvent* event) {
    QTableView::focusInEvent(event);
    // Coming back to the grid by the keyboard goes on editing the current cell (a click places
    // the cursor itself).
    const auto reason = event->reason();
    const bool byKeyboard =
        reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason;
    if (byKeyboard && placing_ == 0 && !editor_ && currentIndex().isValid()) openEditor();
}

ScheduleCellDelegate::ScheduleCellDelegate(ScheduleGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

QWidget* ScheduleCellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                            const QModelIndex& index) const {
    auto* editor = new QLineEdit(parent);
    editor->setObjectName(QStringLiteral("SSDBGrid1_editor"));
    DescribeControls(editor);
    editor->setFrame(false);
    editor->setMaxLength(ScheduleModel::kMaxLength[static_cast<std::size_t>(index.column())]);
    editor->setAlignment(index.column() == 0 ? Qt::AlignCenter : Qt::AlignRight | Qt::AlignVCenter);
    grid_->editorCreated(editor);
    return editor;
}

void ScheduleCellDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    auto* line = static_cast<QLineEdit*>(editor);
    line->setText(index.data(Qt::EditRole).toString());
    line->selectAll();
}

bool ScheduleCellDelegate::eventFilter(QObject* object, QEvent* event) {
    if (!grid_) return false;
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const ScheduleGrid::Move move = MoveOfKey(*key);
        if (move != ScheduleGrid::Move::None) {
            grid_->moveByKey(move);
            return true;
        }
        if (key->key() == Qt::Key_Escape) {
            grid_->refreshEditor();
            return true;
        }
        return IsAccessKey(*key);
    }
    if (event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // A message box or a menu over the grid: the editing goes on afterwards.
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return false;
        // Focus elsewhere on the page (a button): what was typed stays in the cell.
        grid_->commitEditor();
        grid_->dropEditor();
        return false;
    }
    return QStyledItemDelegate::eventFilter(object, event);
}
