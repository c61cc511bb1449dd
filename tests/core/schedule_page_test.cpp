// The payment schedule page's own decisions: opening, adding rows, entering cells, deleting a
// stream, the calendar's hand-back and Continue. Expected values follow the page's stated rules.

#include "engine/LoanRecord.h"
#include "schedule/ScheduleCellCheck.h"
#include "schedule/SchedulePage.h"
#include "ui/ScriptedUser.h"

#include "TestLoans.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <tuple>

namespace tallex {
namespace {

std::unique_ptr<LoanRecord> Loan(std::int16_t code) {
    auto r = std::make_unique<LoanRecord>();
    r->giPymtFreq = code;
    r->gbAppendixJ = true;
    r->gdDaysinUnitPd = 30;
    r->gdDaysinYr = 360;
    for (int k = 1; k <= kMaxStreams; ++k) r->gaPymtCol0[k] = std::to_string(k);
    return r;
}

void SetStream(LoanRecord& r, int k, const char* amount, const char* count, const char* periods, const char* odd) {
    r.gaPymtAmt[k] = amount;
    r.gaNumPymts[k] = count;
    r.gaUnitPeriods[k] = periods;
    r.gaOddDays[k] = odd;
}

TEST(schedule_page_activation, single_payment_loans_get_their_one_stream) {
    struct Row {
        std::int16_t code;
        double unitDays, months, calPeriods, calOdd;
        const char *count, *periods, *odd;
        std::array<bool, 5> readOnly;
        bool calendar;
    };
    const Row rows[] = {
        {1, 30, 0, 0, 0, "", "", "", {true, false, false, false, false}, true},
        {5, 180, 6, 0, 0, "1", "1", "0", {true, false, true, true, true}, false},
        {5, 360, 18, 1, 180, "1", "1", "180", {true, false, true, true, true}, false},  // term beyond a year
        {6, 200, 0, 0, 0, "1", "1", "0", {true, false, true, true, true}, false},
        {6, 365, 0, 2, 10, "1", "", "", {true, false, true, false, false}, false},  // typed by the user
        {6, 200, 13, 0, 5, "1", "1", "5", {true, false, true, true, true}, false},  // never less than one period
    };
    for (const Row& row : rows) {
        auto r = Loan(row.code);
        r->gdDaysinUnitPd = row.unitDays;
        r->dMonths = row.months;
        r->gdCalUnitPeriods = row.calPeriods;
        r->gdCalOddDays = row.calOdd;
        r->dPval = 5;
        r->gdPval_Adjusted = 6;
        const ScheduleActivation a = ActivateSchedule(*r);
        // The present values of an earlier run are gone.
        EXPECT_EQ(std::tuple(r->gaNumPymts[1], r->gaUnitPeriods[1], r->gaOddDays[1], a.readOnly, a.calendarEnabled,
                             r->dPval + r->gdPval_Adjusted),
                  std::tuple(row.count, row.periods, row.odd, row.readOnly, row.calendar, 0.0))
            << "code " << row.code << " months " << row.months;
    }
}

TEST(schedule_page_rows, a_row_follows_only_a_complete_row) {
    struct Row {
        std::int16_t code;
        int stream;
        const char *amount, *count;
        bool pageUp, pageDown, complete, add;
    };
    const Row rows[] = {
        {1, 1, "100", "12", false, false, true, true},
        {1, 1, "100", "", false, false, false, false},
        {1, 1, "", "12", false, false, false, false},
        {1, 1, "100", "12", true, false, true, false},
        {1, 1, "100", "12", false, true, true, false},
        {1, 360, "100", "12", false, false, true, false},  // there is no stream 361
        {5, 1, "100", "1", false, false, true, false},
        {6, 1, "100", "1", false, false, true, false},
    };
    for (const Row& row : rows) {
        auto r = Loan(row.code);
        ScheduleRowFlags flags{false, true};
        GridCheckCurrentRow(flags, *r, row.stream, row.amount, row.count, row.pageUp, row.pageDown);
        EXPECT_EQ(std::tie(flags.rowComplete, flags.addAllowed), std::tie(row.complete, row.add))
            << "stream " << row.stream << " '" << row.amount << "' '" << row.count << "'";
    }
}

TEST(schedule_page_cells, instructions_and_delete_caption) {
    EXPECT_EQ(ScheduleInstruction(1), "Enter Payment Amount.  Press Tab key to advance.");
    EXPECT_EQ(ScheduleInstruction(2), "Enter Number of Payments.  Press Tab key to advance.");
    EXPECT_EQ(ScheduleInstruction(3),
              "Enter Unit Periods to first payment in this stream or Click Calendar.  Press Tab key to advance.");
    EXPECT_EQ(ScheduleInstruction(4),
              "Enter Odd Days.  Press Tab key to advance to next payment stream or Click Continue to advance to "
              "Disclosure screen.");
    EXPECT_EQ(ScheduleInstruction(0), "");
    auto r = Loan(1);
    EXPECT_EQ(std::tuple(DeleteButtonFor(*r, 3, 2).caption, DeleteButtonFor(*r, 3, 2).enabled),
              std::tuple("&Delete Payment Stream # 2", true));
    EXPECT_EQ(DeleteButtonFor(*r, 1, 1).caption, "&Delete Payment Stream");
    r->giPymtFreq = 5;
    EXPECT_FALSE(DeleteButtonFor(*r, 3, 2).enabled);
}

TEST(schedule_page_cells, entering_a_cell_may_send_the_cursor_back) {
    struct Row {
        std::int16_t code;
        double months;
        bool regular;
        int stream, column;
        RowCells cells;
        bool handOver;
        int expectedColumn;
        const char* message;
        bool calendarEnabled, openCalendar, fillTiming;
    };
    const char* needCount = "Enter Number of Payments before entering Unit Periods.";
    const Row rows[] = {
        {1, 0, true, 1, 2, {"", "", ""}, false, 1, "", false, false, false},
        {1, 0, true, 1, 2, {"100", "", ""}, false, 2, "", false, false, false},
        {1, 0, true, 1, 3, {"100", "", ""}, false, 2, needCount, false, false, false},
        {1, 0, true, 1, 3, {"abc", "", ""}, false, 1, "", false, false, false},
        {1, 0, true, 1, 3, {"100", "12", "1"}, false, 3, "", true, false, false},
        {1, 0, true, 2, 3, {"100", "12", ""}, false, 3, "", true, false, true},
        {2, 12, true, 1, 3, {"100", "12", ""}, false, 3, "", true, true, false},    // yearly: the calendar opens
        {2, 12, true, 1, 3, {"100", "12", ""}, true, 3, "", true, false, false},    // not right after it closed
        {2, 12, false, 1, 3, {"100", "12", ""}, false, 3, "", true, false, false},  // construction stream 1
        {2, 12, false, 2, 3, {"100", "12", ""}, false, 3, "", true, true, true},
        {2, 6, true, 1, 3, {"100", "12", ""}, false, 3, "", true, false, false},
        // A single payment loan is timed by its loan terms: the schedule offers no calendar.
        {5, 18, true, 1, 3, {"1100", "1", "1"}, false, 3, "", false, false, false},
        {6, 0, true, 1, 3, {"1100", "1", ""}, false, 3, "", false, false, false},
    };
    for (const Row& row : rows) {
        auto r = Loan(row.code);
        r->dMonths = row.months;
        r->gbAppendixJ = row.regular;
        const CellEntry e = EnterScheduleCell(*r, row.stream, row.column, row.cells, row.handOver);
        const std::string where = "code " + std::to_string(row.code) + " stream " + std::to_string(row.stream) +
                                  " column " + std::to_string(row.column) + " amount '" + row.cells.amount + "'";
        EXPECT_EQ(std::tie(e.column, e.message, e.calendarEnabled, e.openCalendar, e.fillTiming),
                  std::tuple(row.expectedColumn, row.message, row.calendarEnabled, row.openCalendar, row.fillTiming))
            << where;
    }
}

using test::FakeClock;

TEST(schedule_page_calendar, hand_over_period_lasts_two_seconds) {
    FakeClock clock;
    CalendarHandOverPeriod period(clock);
    EXPECT_FALSE(period.running());
    period.start();
    clock.at += std::chrono::milliseconds(1999);
    EXPECT_TRUE(period.running());
    clock.at += std::chrono::milliseconds(1);
    EXPECT_FALSE(period.running());
}

TEST(schedule_page_calendar, ok_takes_the_calculators_timing_and_cancel_takes_nothing) {
    auto r = Loan(1);
    r->gbCalendarOK = true;
    r->gdCalUnitPeriods = 1;
    r->gdCalOddDays = 5;
    CalendarReturn back = TakeCalendarResult(*r, 2, 3);
    EXPECT_EQ(std::tie(back.ok, r->gaUnitPeriods[2], r->gaOddDays[2], back.column, back.calendarEnabled),
              std::tuple(true, "1", "5", 4, false));
    ASSERT_EQ(back.cells.size(), 2u);
    EXPECT_EQ(back.cells[1].text, "5");

    r->dMonths = 12;
    r->giPymtFreq = 2;
    EXPECT_EQ(TakeCalendarResult(*r, 2, 3).column, 1);  // yearly: on to the next amount
    r->gbCalendarOK = false;
    r->gaUnitPeriods[2] = "7";
    back = TakeCalendarResult(*r, 2, 3);
    EXPECT_EQ(std::tie(back.column, back.calendarEnabled, r->gaUnitPeriods[2]), std::tuple(3, true, "7"));
    r->giPymtFreq = 1;
    EXPECT_EQ(TakeCalendarResult(*r, 2, 3).column, 4);
}

TEST(schedule_page_delete, later_streams_move_up_and_labels_stay) {
    auto r = Loan(1);
    SetStream(*r, 1, "100", "12", "1", "0");
    SetStream(*r, 2, "200", "6", "13", "0");
    SetStream(*r, 3, "300", "3", "19", "4");
    r->gaPymtDbl[3] = 7;
    ScriptedUser user;
    ASSERT_TRUE(DeletePaymentStream(*r, user, 2, 3));
    EXPECT_EQ(std::tie(r->gaPymtAmt[2], r->gaNumPymts[2], r->gaUnitPeriods[2], r->gaOddDays[2], r->gaPymtDbl[2]),
              std::tuple("300", "3", "19", "4", 7));
    EXPECT_EQ(std::tie(r->gaPymtAmt[3], r->gaPymtCol0[2], r->gaPymtAmt[1]), std::tuple("", "2", "100"));
    ASSERT_TRUE(DeletePaymentStream(*r, user, 2, 2));  // the last row may go too
    EXPECT_EQ(r->gaPymtAmt[2] + r->gaPymtAmt[1], "100");
    EXPECT_TRUE(user.prompts().empty());

    r->gbSingleAdvance = true;
    EXPECT_FALSE(DeletePaymentStream(*r, user, 1, 1));
    test::ExpectPrompts(user, {"This is the only payment stream.  You cannot delete this payment stream."}, 48);
    EXPECT_EQ(r->gaPymtAmt[1], "100");
}

// 1000 lent at a disclosed 12 %, stream 1 repaying it by 12 x 88.85 a month: 12.0026 %
// (bisection outside the program).
std::unique_ptr<LoanRecord> WorkedExample() {
    auto r = Loan(1);
    r->gdAmount = 1000;
    r->gdDisclAPR = 12;
    SetStream(*r, 1, "88.85", "12", "1", "0");
    return r;
}

TEST(schedule_page_continue, a_blank_last_row_counts_for_the_solver_but_not_the_results) {
    auto r = WorkedExample();
    ScriptedUser user;
    const ScheduleContinueOutcome out = ScheduleContinue(*r, user, 2, "2", {"", "", "", ""});
    ASSERT_TRUE(out.proceed) << (user.prompts().empty() ? "" : user.prompts()[0].text);
    EXPECT_EQ(std::tie(r->giPVStreams, r->giGridRowCount, r->giPymtRows, r->gbScheduleChanged),
              std::tuple(2, 2, 1, true));
    EXPECT_NEAR(r->gdCalcAPR, 12.002589, 1e-5);
}

TEST(schedule_page_continue, the_edited_cell_counts_and_faults_keep_the_user_on_the_page) {
    auto r = WorkedExample();
    ScriptedUser user;
    // Stream 1 typed but its odd days still in the editor.
    r->gaOddDays[1].clear();
    ScheduleContinueOutcome out = ScheduleContinue(*r, user, 1, "1", {"88.85", "12", "1", "0"});
    EXPECT_EQ(std::tie(out.proceed, r->gaOddDays[1]), std::tuple(true, "0"));

    // A row without a stream does nothing at all.
    out = ScheduleContinue(*r, user, 1, "", {"", "", "", ""});
    EXPECT_EQ(std::tie(out.proceed, out.column), std::tuple(false, 0));

    out = ScheduleContinue(*r, user, 1, "1", {"88.85", "", "1", "0"});
    EXPECT_EQ(std::tuple(out.proceed, out.column, user.prompts().size()), std::tuple(false, 2, 1u));
}

// Continue first checks the cell being edited as Tab does: a cell the check refuses stops
// Continue with the check's own message, before the solver could read its leading number.
TEST(schedule_page_continue, the_edited_cell_is_checked_as_tab_checks_it) {
    struct Row {
        std::array<std::string, 4> cells;
        int editedColumn;
        bool refused;
    };
    const Row rows[] = {
        {{"abc", "12", "1", "0"}, 1, true},    {{"88.85", "12.5", "1", "0"}, 2, true},
        {{"88.85", "12", "1x", "0"}, 3, true}, {{"88.85", "12", "1", "45"}, 4, true},  // beyond the unit period
        {{"88.85", "12", "1", "0"}, 4, false}, {{"88.85", "12", "1", "0"}, 0, false},  // no cell being edited
    };
    for (const Row& row : rows) {
        const std::string where = "column " + std::to_string(row.editedColumn);
        FakeClock clock;
        auto r = WorkedExample();
        ScriptedUser user;
        ScheduleOddDaysQuietPeriod quiet(clock);
        const ScheduleContinueOutcome out = ScheduleContinue(*r, user, quiet, 1, "1", row.cells, row.editedColumn);
        EXPECT_EQ(std::tuple(out.cellRefused, out.proceed), std::tuple(row.refused, !row.refused)) << where;
        if (!row.refused) {
            EXPECT_NEAR(r->gdCalcAPR, 12.002589, 1e-5) << where;
            continue;
        }
        EXPECT_EQ(std::tuple(out.column, r->gdCalcAPR), std::tuple(row.editedColumn, 0.0)) << where;
        // The refusal is the one leaving the cell gives.
        auto tab = WorkedExample();
        ScriptedUser tabUser;
        ScheduleOddDaysQuietPeriod tabQuiet(clock);
        const std::string& text = row.cells[static_cast<std::size_t>(row.editedColumn - 1)];
        const ScheduleCellResult check = ScheduleCellCheck(*tab, tabUser, tabQuiet, 1, row.editedColumn, text);
        test::ExpectPrompts(user, {check.message}, 48);
    }
}

TEST(schedule_page_continue, a_run_that_cannot_converge_is_reported) {
    auto r = WorkedExample();
    // Payments many times the amount financed: the iteration runs away from any rate.
    SetStream(*r, 1, "2689", "3", "0", "0");
    ScriptedUser user;
    const ScheduleContinueOutcome out = ScheduleContinue(*r, user, 2, "2", {"1255", "2", "17", "0"});
    EXPECT_EQ(std::tie(out.proceed, r->gbSolverFailed), std::tuple(false, true));
    test::ExpectPrompts(user, {kSolverFailedMessage}, 48);
}

}  // namespace
}  // namespace tallex
