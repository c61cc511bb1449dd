#include "widgets/ResultGrid.h"

#include <QHeaderView>
#include <QScrollBar>

namespace {

constexpr int kTwipsPerPixel = 15;
constexpr int kRowHeight = 19;

}  // namespace

ResultGrid::ResultGrid(const char* objectName, QWidget* parent) : QTableWidget(parent) {
    setObjectName(QString::fromLatin1(objectName));
    setFocusPolicy(Qt::NoFocus);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::NoSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(kRowHeight);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setDefaultAlignment(Qt::Alignment(Qt::AlignCenter | Qt::TextWordWrap));
    horizontalHeader()->setFixedHeight(2 * fontMetrics().height() + 8);
}

void ResultGrid::setColumns(const std::vector<tallex::GridColumn>& columns) {
    setRowCount(0);
    setColumnCount(static_cast<int>(columns.size()));
    QStringList captions;
    for (const tallex::GridColumn& column : columns) captions << QString::fromStdString(column.caption);
    setHorizontalHeaderLabels(captions);
    widths_.clear();
    for (const tallex::GridColumn& column : columns) widths_.push_back(column.width / kTwipsPerPixel);
    fitColumns();
}

void ResultGrid::resizeEvent(QResizeEvent* event) {
    QTableWidget::resizeEvent(event);
    fitColumns();
}

void ResultGrid::fitColumns() {
    int total = 0;
    for (int width : widths_) total += width;
    const int room = viewport()->width();
    // Never narrower than made; the last column takes what rounding leaves.
    int used = 0;
    for (int c = 0; c < static_cast<int>(widths_.size()) && c < columnCount(); ++c) {
        const int own = widths_[static_cast<std::size_t>(c)];
        int width = room > total && total > 0 ? own * room / total : own;
        if (c + 1 == static_cast<int>(widths_.size()) && room > total) width = room - used;
        setColumnWidth(c, width);
        used += width;
    }
}

void ResultGrid::setRows(const std::vector<tallex::GridRow>& rows) {
    setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < rowCount(); ++r) {
        const tallex::GridRow& row = rows[static_cast<std::size_t>(r)];
        for (int c = 0; c < columnCount() && c < static_cast<int>(row.size()); ++c) {
            auto* item = new QTableWidgetItem(QString::fromStdString(row[static_cast<std::size_t>(c)]));
            // The stream number is a label; the figures line up on the right.
            item->setTextAlignment(c == 0 ? Qt::AlignCenter : Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
            setItem(r, c, item);
        }
    }
}

QString ResultGrid::cellText(int row, int column) const {
    const QTableWidgetItem* cell = item(row, column);
    return cell ? cell->text() : QString();
}

int ResultGrid::fullWidth() const {
    int width = 2 * frameWidth() + style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    for (int own : widths_) width += own;
    return width;
}
