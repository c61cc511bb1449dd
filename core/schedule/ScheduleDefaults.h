#pragma once
// The defaults that a completed "number of payments" cell fills in: the stream's first payment
// falls one unit period after the last payment of the stream before it, with the same odd days.
// Stream 1 starts one unit period after the loan date with no odd days, except on a regular
// loan paid in multiples of a month with a 12-month unit period, whose stream 1 waits for the
// payment date calculator.

#include "engine/LoanRecord.h"

#include <string>
#include <vector>

namespace tallex {

// One cell of the grid's current row that a rule wrote, for the page to show.
struct ScheduleCellFill {
    int column = 0;
    std::string text;

    friend bool operator==(const ScheduleCellFill&, const ScheduleCellFill&) = default;
};

// Fills the stream's unit periods and odd days where they are empty, in the record, and returns
// the cells written (unit periods before odd days). Cells that hold text are left alone.
// A stream outside 1..360 raises run-time error 9.
std::vector<ScheduleCellFill> ScheduleFillDefaults(LoanRecord& record, int stream);

}  // namespace tallex
