#pragma once
// The verdict rows of a tape review, kept compactly: a tape of 100,000 loans must fit in a few
// tens of megabytes. Each cell (the columns of the command line's CSV output) is a number or a
// flag, or a text in one string shared by all rows; each row keeps where its case stands in the
// tape, so that the case can be read again rather than kept. The cells are stored column by
// column, so that sorting by a column reads one compact array.

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

    VerdictRows();

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
    // A number, or a flag as 0 or 1.
    double number(int row, int column) const;
    std::string_view text(int row, int column) const;

private:
    struct Cell {
        union {
            double number = 0;
            std::uint64_t textStart;  // a text: where it starts in texts_
        };
        std::uint32_t textSize = 0;
        tallex::cli::VerdictCell::Kind kind = tallex::cli::VerdictCell::Kind::Empty;
    };
    struct Row {
        CaseLocation where;
        std::uint8_t flags = 0;
    };
    const Cell& cell(int row, int column) const {
        return cells_[static_cast<std::size_t>(column)][static_cast<std::size_t>(row)];
    }

    std::vector<std::vector<Cell>> cells_;  // by column, then by row
    std::vector<Row> rows_;
    std::string texts_;
};
