#include "review/VerdictRows.h"

using tallex::cli::VerdictCell;

int VerdictRows::columns() {
    static const int count = static_cast<int>(tallex::cli::VerdictColumns().size());
    return count;
}

VerdictRows::VerdictRows() : cells_(static_cast<std::size_t>(columns())) {}

void VerdictRows::append(const std::vector<VerdictCell>& cells, std::uint8_t flags, CaseLocation where) {
    rows_.push_back(Row{where, flags});
    for (std::size_t column = 0; column < cells_.size(); ++column) {
        const VerdictCell& from = cells[column];
        Cell to;
        to.kind = from.kind;
        if (from.kind == VerdictCell::Kind::Text) {
            to.textStart = texts_.size();
            to.textSize = static_cast<std::uint32_t>(from.text.size());
            texts_ += from.text;
        } else {
            to.number = from.kind == VerdictCell::Kind::Boolean ? (from.boolean ? 1 : 0) : from.number;
        }
        cells_[column].push_back(to);
    }
}

void VerdictRows::append(VerdictRows&& more) {
    const std::uint64_t shift = texts_.size();
    for (std::size_t column = 0; column < cells_.size(); ++column) {
        for (Cell& cell : more.cells_[column])
            if (cell.kind == VerdictCell::Kind::Text) cell.textStart += shift;
        cells_[column].insert(cells_[column].end(), more.cells_[column].begin(), more.cells_[column].end());
    }
    rows_.insert(rows_.end(), more.rows_.begin(), more.rows_.end());
    texts_ += more.texts_;
    more.clear();
}

void VerdictRows::clear() {
    for (std::vector<Cell>& column : cells_) column = {};
    rows_ = {};
    texts_ = {};
}

double VerdictRows::number(int row, int column) const {
    const Cell& c = cell(row, column);
    return c.kind == VerdictCell::Kind::Number || c.kind == VerdictCell::Kind::Boolean ? c.number : 0;
}

std::string_view VerdictRows::text(int row, int column) const {
    const Cell& c = cell(row, column);
    if (c.kind != VerdictCell::Kind::Text) return {};
    return std::string_view(texts_).substr(c.textStart, c.textSize);
}
