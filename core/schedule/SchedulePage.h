#pragma once
// The payment schedule page's own decisions, around the other schedule rules of this folder:
// what the page shows when it opens, when a row may be added, what entering a cell leads to,
// deleting a stream, taking over the calendar's result, and Continue up to the APR solver
// (12 CFR 226, App. J(b)). The page is a grid and buttons that move texts and show what these
// return; nothing here knows of widgets.

#include "engine/LoanRecord.h"
#include "schedule/ScheduleDefaults.h"
#include "schedule/ScheduleOddDaysQuietPeriod.h"
#include "ui/Clock.h"
#include "ui/UserSeam.h"

#include <array>
#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tallex {

// "Payment Frequency:  " and the frequency text the loan terms page kept.
std::string PaymentFrequencyCaption(const LoanRecord& record);

// What the page does each time it opens. The present value at the disclosed APR is forgotten
// (so the solver's first evaluation is kept again); a single advance / single payment loan gets
// its one stream's number of payments, and for the equal-months code (and actual days under a
// year) its unit periods and odd days, in the record; the page shows `stream1` in row 1.
struct ScheduleActivation {
    bool calendarEnabled = true;
    std::array<bool, 5> readOnly{true, false, false, false, false};  // per grid column
    std::vector<ScheduleCellFill> stream1;
};
ScheduleActivation ActivateSchedule(LoanRecord& record);

// The two flags the grid keeps about its current row.
struct ScheduleRowFlags {
    bool rowComplete = false;
    bool addAllowed = false;
};

// Looks at the current row when its cell is left: a row with an amount and a number of payments
// may be followed by a new row; an incomplete one may not. No row follows stream 360, and a
// single payment loan (codes 5 and 6) has one stream only. Page Up, and Page Down, never add a
// row.
void GridCheckCurrentRow(ScheduleRowFlags& flags, const LoanRecord& record, int stream, std::string_view amount,
                         std::string_view numPayments, bool pageUp, bool pageDown);

inline constexpr const char* kCompleteRowMessage = "Please complete data entry of current row before continuing.";

// The instruction shown for a column (1..4); empty for any other.
std::string ScheduleInstruction(int column);

// "&Delete Payment Stream # 3" while a stream may be deleted, else "&Delete Payment Stream".
struct DeleteButtonState {
    bool enabled = false;
    std::string caption;
};
DeleteButtonState DeleteButtonFor(const LoanRecord& record, int rowCount, int stream);

// Whether the payment date calculator may time a stream of this loan. A single advance / single
// payment loan (codes 5 and 6) takes the timing of its one payment from the loan terms page, so
// the schedule never offers its calendar.
bool ScheduleCalendarOffered(const LoanRecord& record);

// The cursor has entered a cell of the row of `stream`; the row's cells as the grid holds them.
struct CellEntry {
    int column = 0;       // where the cursor belongs: the column entered, or back to 1 or 2
    std::string message;  // shown (style 48) when the cursor is sent back
    bool calendarEnabled = false;
    bool openCalendar = false;  // a yearly unit period: the calendar starts by itself
    bool fillTiming = false;    // unit periods still empty on a later stream: take the defaults
};
struct RowCells {
    std::string amount;
    std::string numPayments;
    std::string unitPeriods;
};
CellEntry EnterScheduleCell(const LoanRecord& record, int stream, int column, const RowCells& cells,
                            bool calendarHandOverRunning);

// The time after a calendar closed during which entering an empty unit-periods cell does not
// open it again (the user has just left it).
class CalendarHandOverPeriod {
public:
    static constexpr std::chrono::seconds kInterval{2};
    explicit CalendarHandOverPeriod(const Clock& clock) : clock_(clock) {}
    void start() { started_ = clock_.now(); }
    bool running() const { return started_ && clock_.now() - *started_ < kInterval; }

private:
    const Clock& clock_;
    std::optional<std::chrono::steady_clock::time_point> started_;
};

// After the payment date calculator closed: with OK the stream's unit periods and odd days are
// the calculator's (in the record; the page writes them into the row) and the cursor goes to
// the odd days (to the amount for a yearly unit period); otherwise back to where it was for a
// yearly unit period, else to the odd days, and the Calendar button stays usable.
struct CalendarReturn {
    bool ok = false;
    int column = 0;
    bool calendarEnabled = false;
    std::vector<ScheduleCellFill> cells;
};
CalendarReturn TakeCalendarResult(LoanRecord& record, int stream, int columnBefore);

inline constexpr const char* kOnlyStreamMessage =
    "This is the only payment stream.  You cannot delete this payment stream.";

// Deletes stream `stream` of a grid of `rowCount` rows: the later streams move up one place in
// the four text columns and the numeric column (labels stay), the last is emptied. A single
// advance / single payment loan refuses with kOnlyStreamMessage (shown, style 48): false.
bool DeletePaymentStream(LoanRecord& record, UserSeam& user, int stream, int rowCount);

inline constexpr const char* kSolverFailedMessage =
    "The APR cannot be computed for this payment schedule: the calculation does not settle on a rate.  "
    "Check the payment amounts, numbers of payments, unit periods and odd days.";

// Continue: the current row's cells count as entered, the whole schedule is checked, the grid's
// row count goes to the solver, and the APR is solved. `proceed` is false when nothing is to be
// done (the cursor on a row without a stream) or a fault was shown; the cursor then goes to
// `stream` / `column` where those are not 0. A solver run that cannot converge shows
// kSolverFailedMessage and keeps the user on the schedule.
struct ScheduleContinueOutcome {
    bool proceed = false;
    int stream = 0;
    int column = 0;
    bool cellRefused = false;  // the cell being edited was refused: the cursor stays in it, editing
};
ScheduleContinueOutcome ScheduleContinue(LoanRecord& record, UserSeam& user, int rowCount,
                                         std::string_view currentLabel, const std::array<std::string, 4>& currentCells);
// Continue pressed while the cell in `editedColumn` (1..4) of the current row is being edited:
// that cell is first checked as leaving it by Tab would check it, so a text the cell check
// refuses never reaches the solver by its leading number. A refusal shows the cell check's
// message and stops with cellRefused; otherwise Continue goes on as above.
ScheduleContinueOutcome ScheduleContinue(LoanRecord& record, UserSeam& user, ScheduleOddDaysQuietPeriod& oddDaysQuiet,
                                         int rowCount, std::string_view currentLabel,
                                         const std::array<std::string, 4>& currentCells, int editedColumn);

}  // namespace tallex
