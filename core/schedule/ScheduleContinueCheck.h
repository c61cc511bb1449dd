#pragma once
// The whole-schedule check run by the schedule page's Continue before the APR is solved. The
// first fault is shown through the UserSeam (style 48) and tells where the grid's cursor goes;
// a schedule that passes goes on to the solver.
//
// In order: stream 1 has an amount; the current row's stream is complete (number of payments,
// unit periods, odd days; with a 12-month unit period in multiples of a month the dates must come
// from the calendar); stream 1 has unit periods and odd days; no single advance stands at the loan
// date itself (it belongs in the amount financed); and the payments cover what was lent:
//   regular loan       total of payments >= amount financed + advances    (12 CFR 226, App. J)
//   construction loan  total of payments >= commitment + advances         (12 CFR 226, App. D)
// The two totals are compared as money (to the ten-thousandth), so sums such as 12 x 88.85 that
// binary arithmetic leaves a hair below the amount they equal are not refused.

#include "engine/LoanRecord.h"
#include "ui/UserSeam.h"

#include <string>

namespace tallex {

struct ScheduleContinueResult {
    bool passed = true;
    std::string message;  // the refusal shown; empty when the schedule passed
    int column = 0;       // the column the cursor goes to; 0 leaves it where it is
    int stream = 0;       // the stream whose row the cursor goes to; 0 leaves the row
};

// rowCount is the grid's row count N (streams 1..N are summed); currentStream the stream of the
// grid's current row. Either outside 1..360 raises run-time error 9.
ScheduleContinueResult ScheduleContinueCheck(LoanRecord& record, UserSeam& user, int rowCount, int currentStream);

}  // namespace tallex
