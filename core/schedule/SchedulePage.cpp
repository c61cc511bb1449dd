#include "schedule/SchedulePage.h"

#include "engine/AprSolver.h"
#include "engine/Format.h"
#include "engine/NumberText.h"
#include "engine/RuntimeError.h"
#include "schedule/ScheduleCellCheck.h"
#include "schedule/ScheduleCellStore.h"
#include "schedule/ScheduleColumns.h"
#include "schedule/ScheduleContinueCheck.h"

namespace tallex {

namespace {

bool IsSinglePayment(const LoanRecord& r) {
    return r.giPymtFreq == kFreqEqualMonthsSingle || r.giPymtFreq == kFreqActualDaysSingle;
}

bool IsYearlyUnitPeriod(const LoanRecord& r) { return r.giPymtFreq == kFreqMultiplesOfMonth && r.dMonths == 12; }

void RequireStream(int stream) {
    if (stream < 1 || stream > kMaxStreams) Raise(RuntimeErrorCode::SubscriptOutOfRange);
}

void MoveStream(LoanRecord& r, int from, int to) {
    r.gaPymtAmt[to] = std::move(r.gaPymtAmt[from]);
    r.gaNumPymts[to] = std::move(r.gaNumPymts[from]);
    r.gaUnitPeriods[to] = std::move(r.gaUnitPeriods[from]);
    r.gaOddDays[to] = std::move(r.gaOddDays[from]);
    r.gaPymtDbl[to] = r.gaPymtDbl[from];
}

void EmptyStream(LoanRecord& r, int k) {
    r.gaPymtAmt[k].clear();
    r.gaNumPymts[k].clear();
    r.gaUnitPeriods[k].clear();
    r.gaOddDays[k].clear();
    r.gaPymtDbl[k] = 0;
}

}  // namespace

std::string PaymentFrequencyCaption(const LoanRecord& record) { return "Payment Frequency:  " + record.gsPymtFreqText; }

ScheduleActivation ActivateSchedule(LoanRecord& record) {
    record.dPval = 0;
    record.gdPval_Adjusted = 0;
    ScheduleActivation a;
    const int code = record.giPymtFreq;
    a.calendarEnabled = ScheduleCalendarOffered(record);
    if (IsSinglePayment(record)) {
        record.gaNumPymts[1] = "1";
        a.stream1.push_back({kColNumPayments, "1"});
    }
    if (code == kFreqEqualMonthsSingle || (code == kFreqActualDaysSingle && record.gdDaysinUnitPd != 365)) {
        std::string unitPeriods = "1";
        std::string oddDays = "0";
        if (!(record.gbAppendixJ && record.dMonths < 13)) {
            // A term beyond a year: the whole years and the odd days the loan terms page derived.
            unitPeriods = ShortestNumber(record.gdCalUnitPeriods);
            if (unitPeriods == "0") unitPeriods = "1";
            oddDays = ShortestNumber(record.gdCalOddDays);
        }
        record.gaUnitPeriods[1] = unitPeriods;
        record.gaOddDays[1] = oddDays;
        a.stream1.push_back({kColUnitPeriods, unitPeriods});
        a.stream1.push_back({kColOddDays, oddDays});
    }
    if (code == kFreqEqualMonthsSingle) {
        a.readOnly = {true, false, true, true, true};
    } else if (code == kFreqActualDaysSingle) {
        const bool timingTyped = record.gdDaysinUnitPd == 365;
        a.readOnly = {true, false, true, !timingTyped, !timingTyped};
    }
    return a;
}

void GridCheckCurrentRow(ScheduleRowFlags& flags, const LoanRecord& record, int stream, std::string_view amount,
                         std::string_view numPayments, bool pageUp, bool pageDown) {
    flags.rowComplete = true;
    if (stream >= kMaxStreams || IsSinglePayment(record)) {
        // There is no stream 361, and a single payment loan has one stream.
        flags.addAllowed = false;
    } else if (!amount.empty() && !numPayments.empty()) {
        flags.addAllowed = true;
    } else {
        flags.rowComplete = false;
        flags.addAllowed = false;
    }
    if (pageUp || pageDown) flags.addAllowed = false;
}

std::string ScheduleInstruction(int column) {
    switch (column) {
    case kColAmount: return "Enter Payment Amount.  Press Tab key to advance.";
    case kColNumPayments: return "Enter Number of Payments.  Press Tab key to advance.";
    case kColUnitPeriods:
        return "Enter Unit Periods to first payment in this stream or Click Calendar.  Press Tab key to advance.";
    case kColOddDays:
        return "Enter Odd Days.  Press Tab key to advance to next payment stream or Click Continue to advance to "
               "Disclosure screen.";
    default: return {};
    }
}

DeleteButtonState DeleteButtonFor(const LoanRecord& record, int rowCount, int stream) {
    if (!IsSinglePayment(record) && rowCount > 1) return {true, "&Delete Payment Stream # " + std::to_string(stream)};
    return {false, "&Delete Payment Stream"};
}

bool ScheduleCalendarOffered(const LoanRecord& record) { return !IsSinglePayment(record); }

CellEntry EnterScheduleCell(const LoanRecord& record, int stream, int column, const RowCells& cells,
                            bool calendarHandOverRunning) {
    CellEntry entry;
    entry.column = column;
    if (column == kColNumPayments && cells.amount.empty()) {
        entry.column = kColAmount;
        return entry;
    }
    if (column != kColUnitPeriods) return entry;
    if (cells.numPayments.empty()) {
        if (IsNumericText(cells.amount)) {
            entry.message = "Enter Number of Payments before entering Unit Periods.";
            entry.column = kColNumPayments;
        } else {
            entry.column = kColAmount;
        }
        return entry;
    }
    entry.calendarEnabled = ScheduleCalendarOffered(record);
    if (cells.unitPeriods.empty()) {
        // Yearly payments are timed from their dates; stream 1 of a construction loan takes its
        // timing from the construction pages instead.
        entry.openCalendar = entry.calendarEnabled && !calendarHandOverRunning && IsYearlyUnitPeriod(record) &&
                             (stream != 1 || record.gbAppendixJ);
        entry.fillTiming = stream > 1;
    }
    return entry;
}

CalendarReturn TakeCalendarResult(LoanRecord& record, int stream, int columnBefore) {
    RequireStream(stream);
    CalendarReturn result;
    const bool yearly = IsYearlyUnitPeriod(record);
    if (record.gbCalendarOK) {
        result.ok = true;
        const std::string unitPeriods = ShortestNumber(record.gdCalUnitPeriods);
        const std::string oddDays = ShortestNumber(record.gdCalOddDays);
        record.gaUnitPeriods[stream] = unitPeriods;
        record.gaOddDays[stream] = oddDays;
        result.cells = {{kColUnitPeriods, unitPeriods}, {kColOddDays, oddDays}};
        result.column = yearly ? kColAmount : kColOddDays;
        result.calendarEnabled = false;
    } else {
        result.column = yearly ? columnBefore : kColOddDays;
        result.calendarEnabled = true;
    }
    return result;
}

bool DeletePaymentStream(LoanRecord& record, UserSeam& user, int stream, int rowCount) {
    if (record.gbSingleAdvance) {
        record.gsMsgText = kOnlyStreamMessage;
        record.giMsgStyle = kStyleExclamation;
        record.giMsgResult = user.show(record.gsMsgText, record.giMsgStyle);
        return false;
    }
    RequireStream(rowCount);
    if (stream < 1 || stream > rowCount) Raise(RuntimeErrorCode::SubscriptOutOfRange);
    EmptyStream(record, stream);
    for (int k = stream + 1; k <= rowCount; ++k) MoveStream(record, k, k - 1);
    EmptyStream(record, rowCount);
    return true;
}

namespace {

struct EditedCell {
    ScheduleOddDaysQuietPeriod& quiet;
    int column;
};

ScheduleContinueOutcome Continue(LoanRecord& record, UserSeam& user, const EditedCell* edited, int rowCount,
                                 std::string_view currentLabel, const std::array<std::string, 4>& currentCells) {
    const double label = Val(currentLabel);
    const int stream = label >= 1 && label <= kMaxStreams ? static_cast<int>(label) : 0;
    record.giCurPymtRow = static_cast<std::int16_t>(stream);
    if (rowCount > kMaxStreams) Raise(RuntimeErrorCode::SubscriptOutOfRange);
    record.giPVStreams = static_cast<std::int16_t>(rowCount);
    if (stream < 1 || rowCount < 1) return {};
    if (edited && edited->column >= kColAmount && edited->column <= kColOddDays) {
        // The cell check that Tab would run; the solver reads a cell by its leading number, so
        // a cell it refuses ("abc", "1x") would otherwise be computed as something else.
        const std::string& text = currentCells[static_cast<std::size_t>(edited->column - 1)];
        const ScheduleCellResult cell = ScheduleCellCheck(record, user, edited->quiet, stream, edited->column, text);
        if (cell.cancel) {
            ScheduleCellStore(record, currentLabel, edited->column, cell.cellValue);
            ScheduleContinueOutcome refused;
            refused.stream = stream;
            refused.column = edited->column;
            refused.cellRefused = true;
            return refused;
        }
    }
    // The cell being edited counts as entered.
    for (int column = kColAmount; column <= kColOddDays; ++column)
        ScheduleCellStore(record, currentLabel, column, currentCells[static_cast<std::size_t>(column - 1)]);

    const ScheduleContinueResult check = ScheduleContinueCheck(record, user, rowCount, stream);
    if (!check.passed) return {false, check.stream, check.column};

    // A blank last row adds nothing to the present value; the results leave it out.
    record.giPymtRows = static_cast<std::int16_t>(rowCount);
    if (record.gaPymtAmt[rowCount].empty() && record.gaNumPymts[rowCount].empty() &&
        record.gaUnitPeriods[rowCount].empty() && record.gaOddDays[rowCount].empty()) {
        record.giPymtRows = static_cast<std::int16_t>(rowCount - 1);
        record.gbScheduleChanged = true;
    }
    record.gbSolverFailed = false;
    record.giGridRowCount = static_cast<std::int16_t>(rowCount);
    SolveAPR(record);
    if (record.gbSolverFailed) {
        record.gsMsgText = kSolverFailedMessage;
        record.giMsgStyle = kStyleExclamation;
        record.giMsgResult = user.show(record.gsMsgText, record.giMsgStyle);
        return {};
    }
    record.gbBackFromReimb = false;
    return {true, 0, 0};
}

}  // namespace

ScheduleContinueOutcome ScheduleContinue(LoanRecord& record, UserSeam& user, int rowCount,
                                         std::string_view currentLabel,
                                         const std::array<std::string, 4>& currentCells) {
    return Continue(record, user, nullptr, rowCount, currentLabel, currentCells);
}

ScheduleContinueOutcome ScheduleContinue(LoanRecord& record, UserSeam& user, ScheduleOddDaysQuietPeriod& oddDaysQuiet,
                                         int rowCount, std::string_view currentLabel,
                                         const std::array<std::string, 4>& currentCells, int editedColumn) {
    const EditedCell edited{oddDaysQuiet, editedColumn};
    return Continue(record, user, &edited, rowCount, currentLabel, currentCells);
}

}  // namespace tallex
