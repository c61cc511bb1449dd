#pragma once
// The verdict rows of a tape review, kept compactly: a tape of 100,000 loans must fit in a few
// tens of megabytes. Each row keeps its cells (the columns of the command line's CSV output) as
// numbers and flags, its texts one after another in one string, and where its case stands in
// the tape, so that the case can be read again rather than kept.

#include "Verdict.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct CaseLocation {
    std::uint64_t offset = 0;
    std::uint32_t size = 0;
};

class VerdictRows {
public:
    enum Flag : std::uint8_t { Violation = 1, Refused = 2, Reimbursable = 4 };

    // A row of VerdictColumns() cells (VerdictRow, ErrorRow).
    void append(const std::vector<tallex::cli::VerdictCell>& cells, std::uint8_t flags, CaseLocation where);
    // Moves the rows of `more` after these.
    void append(VerdictRows&& more);
    void clear();

    int size() const { return static_cast<int>(rows_.size()); }
    static int columns();
    std::uint8_t flags(int row) const { return rows_[static_cast<std::size_t>(row)].flags; }
    CaseLocation location(int row) const { return rows_[static_cast<std::size_t>(row)].where; }

    tallex::cli::VerdictCell::Kind kind(int row, int column) const { return cell(row, column).kind; }
    double number(int row, int column) const { return cell(row, column).number; }  // booleans as 0 and 1
    std::string_view text(int row, int column) const;

private:
    struct Cell {
        double number = 0;
        std::uint32_t textSize = 0;
        tallex::cli::VerdictCell::Kind kind = tallex::cli::VerdictCell::Kind::Empty;
    };
    struct Row {
        std::uint64_t textStart = 0;
        CaseLocation where;
        std::uint8_t flags = 0;
    };
    const Cell& cell(int row, int column) const {
        return cells_[static_cast<std::size_t>(row) * static_cast<std::size_t>(columns()) +
                      static_cast<std::size_t>(column)];
    }

    std::vector<Cell> cells_;
    std::vector<Row> rows_;
    std::string texts_;
};
