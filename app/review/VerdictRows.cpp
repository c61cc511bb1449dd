#include "review/VerdictRows.h"

#include <iterator>

using tallex::cli::VerdictCell;

int VerdictRows::columns() { return static_cast<int>(tallex::cli::VerdictColumns().size()); }

void VerdictRows::append(const std::vector<VerdictCell>& cells, std::uint8_t flags, CaseLocation where) {
    rows_.push_back(Row{texts_.size(), where, flags});
    for (int column = 0; column < columns(); ++column) {
        const VerdictCell& from = cells[static_cast<std::size_t>(column)];
        Cell to;
        to.kind = from.kind;
        to.number = from.kind == VerdictCell::Kind::Boolean ? (from.boolean ? 1 : 0) : from.number;
        if (from.kind == VerdictCell::Kind::Text) {
            to.textSize = static_cast<std::uint32_t>(from.text.size());
            texts_ += from.text;
        }
        cells_.push_back(to);
    }
}

void VerdictRows::append(VerdictRows&& more) {
    const std::uint64_t shift = texts_.size();
    for (Row& row : more.rows_) row.textStart += shift;
    rows_.insert(rows_.end(), more.rows_.begin(), more.rows_.end());
    cells_.insert(cells_.end(), more.cells_.begin(), more.cells_.end());
    texts_ += more.texts_;
    more.clear();
}

void VerdictRows::clear() {
    cells_ = {};
    rows_ = {};
    texts_ = {};
}

std::string_view VerdictRows::text(int row, int column) const {
    const Cell& wanted = cell(row, column);
    if (wanted.kind != VerdictCell::Kind::Text) return {};
    // The row's texts follow one another in column order.
    std::uint64_t start = rows_[static_cast<std::size_t>(row)].textStart;
    for (int before = 0; before < column; ++before) start += cell(row, before).textSize;
    return std::string_view(texts_).substr(start, wanted.textSize);
}
