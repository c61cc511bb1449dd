#pragma once
// The check of one schedule cell at the moment the user leaves it. The page passes the stream
// number shown in column 0 of the grid's current row, the column (1 to 4) and the cell's text,
// and gets back everything the grid must do; refusals are shown through the UserSeam (style 48)
// before the function returns.
//
//   column 1  payment amount: a number, taken to whole cents ($#,##0.00); a single advance /
//             single payment loan needs more than 0 (an installment loan takes advances)
//   column 2  number of payments: a whole number above 0; fills the stream's empty unit periods
//             and odd days (ScheduleFillDefaults)
//   column 3  unit periods: a whole number, empty reads 0; an actual-days single payment loan
//             needs at least 1, and exactly 1 when its unit period is under a year
//   column 4  odd days: a whole number, empty reads 0; an installment loan's odd days may not
//             exceed the days in its unit period (that refusal is shown once per quiet period);
//             an actual-days single payment loan's stay below 365, and 0 on a regular loan whose
//             unit period is under a year
//
// Whole-number cells also refuse a negative number and any decoration ("$", ",", exponent):
// the solver reads the cell by its leading number, so "1,2" or "$5" would be computed as
// something other than what the grid shows.

#include "engine/LoanRecord.h"
#include "schedule/ScheduleDefaults.h"
#include "schedule/ScheduleOddDaysQuietPeriod.h"
#include "ui/UserSeam.h"

#include <string>
#include <string_view>
#include <vector>

namespace tallex {

struct ScheduleCellResult {
    // The cell's text as the check leaves it: an amount of 1234.567 becomes "$1,234.57".
    std::string text;
    // The value the cell holds afterwards, which the page stores in the record with
    // ScheduleCellStore: for an amount the cents number read back ("1234.57"), else the text as typed.
    std::string cellValue;
    // Set when the cell is refused: the cursor stays in this cell.
    bool cancel = false;
    // Other cells of the current row that the check filled (columns 3 and 4).
    std::vector<ScheduleCellFill> fills;
    // The grid must be redrawn (after the defaults of a number of payments).
    bool refreshGrid = false;
    // The refusal shown to the user; empty when nothing was shown.
    std::string message;
};

// What the caller reads of the result. A page shows the cell's text; a case replayed without a
// page stores only the cell's value, and the shown text of an amount is then not composed (the
// result's text stays as typed). Everything else is the same either way.
enum class CellText { Shown, NotShown };

// Nothing is examined for a column outside 1..4, nor while both the stream's stored amount and
// the new text are empty. Writes gbIntegerEntry and giNumCheck; a stream outside 1..360 raises
// run-time error 9.
ScheduleCellResult ScheduleCellCheck(LoanRecord& record, UserSeam& user, ScheduleOddDaysQuietPeriod& oddDaysQuiet,
                                     int stream, int column, std::string_view text, CellText shown = CellText::Shown);

}  // namespace tallex
