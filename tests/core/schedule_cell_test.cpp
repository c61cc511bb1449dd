// The schedule cell rules: what leaving one cell of the payment schedule grid accepts, rewrites,
// fills in and refuses. Expected texts and values are the schedule rules' own examples or
// worked by hand from the rules.

#include "engine/LoanRecord.h"
#include "engine/RuntimeError.h"
#include "entry/ScheduleCellCheck.h"
#include "entry/ScheduleCellStore.h"
#include "entry/ScheduleClear.h"
#include "ui/Clock.h"
#include "ui/ScriptedUser.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace tallex {
namespace {

using namespace std::chrono_literals;

class FakeClock final : public Clock {
public:
    std::chrono::steady_clock::time_point now() const override { return now_; }
    void advance(std::chrono::milliseconds by) { now_ += by; }

private:
    std::chrono::steady_clock::time_point now_{};
};

// One schedule page: its record, its user, its clock and its odd-days quiet period.
struct Page {
    std::unique_ptr<LoanRecord> record = std::make_unique<LoanRecord>();
    ScriptedUser user;
    FakeClock clock;
    ScheduleOddDaysQuietPeriod quiet{clock};

    Page() {
        ScheduleInit(*record);
        record->gbAppendixJ = true;
        record->giPymtFreq = kFreqMonthly;
        record->gdDaysinUnitPd = 30;
        record->gdDaysinYr = 360;
    }
    ScheduleCellResult leave(int stream, int column, const std::string& text) {
        return ScheduleCellCheck(*record, user, quiet, stream, column, text);
    }
};

std::string Describe(int stream, int column, const std::string& text) {
    return "stream " + std::to_string(stream) + ", column " + std::to_string(column) + ", text \"" + text + "\"";
}

// --- Column 1, payment amount ---------------------------------------------------------------

TEST(schedule_amount_cell, is_taken_to_whole_cents) {
    struct Row { std::string typed, text, cellValue; };
    const Row rows[] = {
        {"1234.567", "$1,234.57", "1234.57"},   // the rules' own example
        {"1,000", "$1,000.00", "1000"},
        {"$88.85", "$88.85", "88.85"},
        {"-250", "-$250.00", "-250"},            // an advance on an installment loan
        {"0.004", "$0.00", "0"},
        {"1234.565", "$1,234.57", "1234.57"},    // half a cent goes up
    };
    for (const Row& row : rows) {
        Page page;
        const ScheduleCellResult out = page.leave(1, 1, row.typed);
        SCOPED_TRACE(Describe(1, 1, row.typed));
        EXPECT_FALSE(out.cancel);
        EXPECT_EQ(out.text, row.text);
        EXPECT_EQ(out.cellValue, row.cellValue);
        EXPECT_TRUE(page.user.prompts().empty());
    }
}

TEST(schedule_amount_cell, refusals) {
    struct Row { bool singleAdvance; std::string storedAmount, typed, message; };
    const std::string kFormat = "Enter a payment amount using the following format: #,###.##";
    const std::string kAboveZero = "Enter a payment amount that is more than 0.";
    const Row rows[] = {
        {false, "", "abc", kFormat},
        {false, "100", "", kFormat},            // clearing a stored amount
        {false, "", "12 34", kFormat},
        {false, "", "1e400", kFormat},          // beyond any amount the schedule can hold
        {true, "", "-250", kAboveZero},
        {true, "", "0", kAboveZero},
        {true, "", "0.001", kAboveZero},        // rounds to $0.00
    };
    for (const Row& row : rows) {
        Page page;
        page.record->gbSingleAdvance = row.singleAdvance;
        page.record->gaPymtAmt[1] = row.storedAmount;
        const ScheduleCellResult out = page.leave(1, 1, row.typed);
        SCOPED_TRACE(Describe(1, 1, row.typed) + (row.singleAdvance ? ", single advance" : ", installment"));
        EXPECT_TRUE(out.cancel);
        EXPECT_EQ(out.message, row.message);
        ASSERT_EQ(page.user.prompts().size(), 1u);
        EXPECT_EQ(page.user.prompts()[0].text, row.message);
        EXPECT_EQ(page.user.prompts()[0].style, 48);
    }
}

TEST(schedule_amount_cell, single_advance_refusal_still_hands_back_the_number_for_the_grid) {
    Page page;
    page.record->gbSingleAdvance = true;
    const ScheduleCellResult out = page.leave(1, 1, "-250");
    EXPECT_TRUE(out.cancel);
    EXPECT_EQ(out.text, "-$250.00");
    EXPECT_EQ(out.cellValue, "-250");
    EXPECT_EQ(page.record->gsMsgText, "Enter a payment amount that is more than 0.");
    EXPECT_EQ(page.record->giMsgStyle, 48);
    EXPECT_EQ(page.record->giMsgResult, 1);
}

TEST(schedule_cell, a_blank_cell_of_a_blank_stream_is_not_examined) {
    for (int column = 1; column <= 4; ++column) {
        Page page;
        const ScheduleCellResult out = page.leave(3, column, "");
        SCOPED_TRACE(Describe(3, column, ""));
        EXPECT_FALSE(out.cancel);
        EXPECT_TRUE(out.fills.empty());
        EXPECT_TRUE(page.user.prompts().empty());
    }
}

TEST(schedule_cell, columns_outside_one_to_four_are_not_examined_and_bad_streams_are_faults) {
    Page page;
    EXPECT_FALSE(page.leave(1, 0, "abc").cancel);
    EXPECT_FALSE(page.leave(1, 5, "abc").cancel);
    EXPECT_TRUE(page.user.prompts().empty());
    for (int stream : {0, 361}) {
        try {
            page.leave(stream, 1, "100");
            ADD_FAILURE() << "stream " << stream << " was accepted";
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.number(), 9);
        }
    }
}

// --- Column 2, number of payments -----------------------------------------------------------

TEST(schedule_number_of_payments_cell, refusals) {
    const std::string kInteger = "For number of payments, enter a valid integer.";
    const std::string kAboveZero = "For number of payments, enter a number greater than 0.";
    struct Row { std::string typed, message; };
    const Row rows[] = {
        {"", kInteger},
        {"0", kAboveZero},
        {"abc", kAboveZero},   // does not begin with a number: reads 0
        {"12.0", kInteger},
        {".5", kInteger},
        {"-3", kAboveZero},    // a negative count of payments
        {"12ab", kInteger},    // would be computed as 12
        {"1,2", kInteger},     // would be computed as 1
        {"1e2", kInteger},
    };
    for (const Row& row : rows) {
        Page page;
        page.record->gaPymtAmt[1] = "100";
        const ScheduleCellResult out = page.leave(1, 2, row.typed);
        SCOPED_TRACE(Describe(1, 2, row.typed));
        EXPECT_TRUE(out.cancel);
        EXPECT_EQ(out.message, row.message);
        EXPECT_TRUE(out.fills.empty());
        EXPECT_EQ(page.record->gaUnitPeriods[1], "");
        ASSERT_EQ(page.user.prompts().size(), 1u);
        EXPECT_EQ(page.user.prompts()[0].text, row.message);
    }
}

TEST(schedule_number_of_payments_cell, fills_the_defaults_of_the_stream) {
    struct Row {
        const char* rule;
        int stream;
        int freq;
        double months;
        bool appendixJ;
        std::vector<ScheduleCellFill> fills;
    };
    const Row rows[] = {
        {"stream 1 starts one unit period after the loan date", 1, kFreqMonthly, 0, true,
         {{3, "1"}, {4, "0"}}},
        {"a yearly unit period in months waits for the calendar", 1, kFreqMultiplesOfMonth, 12, true, {}},
        {"the calendar rule is for regular loans only", 1, kFreqMultiplesOfMonth, 12, false,
         {{3, "1"}, {4, "0"}}},
        {"a six-month unit period takes the usual defaults", 1, kFreqMultiplesOfMonth, 6, true,
         {{3, "1"}, {4, "0"}}},
        {"stream 2 starts after stream 1's last payment", 2, kFreqMonthly, 0, true,
         {{3, "25"}, {4, "15"}}},
    };
    for (const Row& row : rows) {
        Page page;
        LoanRecord& r = *page.record;
        r.giPymtFreq = static_cast<std::int16_t>(row.freq);
        r.dMonths = row.months;
        r.gbAppendixJ = row.appendixJ;
        r.gaPymtAmt[1] = "100";
        r.gaNumPymts[1] = "24";
        if (row.stream == 2) {
            r.gaUnitPeriods[1] = "1";
            r.gaOddDays[1] = "15";
            r.gaPymtAmt[2] = "200";
        }
        const ScheduleCellResult out = page.leave(row.stream, 2, "12");
        SCOPED_TRACE(row.rule);
        EXPECT_FALSE(out.cancel);
        EXPECT_TRUE(out.refreshGrid);
        EXPECT_EQ(out.fills, row.fills);
        const std::string up = row.fills.empty() ? "" : row.fills[0].text;
        const std::string od = row.fills.empty() ? "" : row.fills[1].text;
        EXPECT_EQ(r.gaUnitPeriods[row.stream], up);
        EXPECT_EQ(r.gaOddDays[row.stream], od);
        EXPECT_TRUE(page.user.prompts().empty());
    }
}

TEST(schedule_number_of_payments_cell, keeps_cells_that_hold_text) {
    Page page;
    LoanRecord& r = *page.record;
    r.gaPymtAmt[1] = "100";
    r.gaNumPymts[1] = "24";
    r.gaUnitPeriods[1] = "1";
    r.gaOddDays[1] = "0";
    r.gaPymtAmt[2] = "50";
    r.gaUnitPeriods[2] = "40";
    const ScheduleCellResult out = page.leave(2, 2, "6");
    const std::vector<ScheduleCellFill> expected{{4, "0"}};
    EXPECT_EQ(out.fills, expected);
    EXPECT_EQ(r.gaUnitPeriods[2], "40");
}

// --- Column 3, unit periods -----------------------------------------------------------------

TEST(schedule_unit_periods_cell, rules) {
    const std::string kInteger = "Enter a valid integer for unit periods.";
    struct Row { int freq; double unitDays; std::string typed, message; };
    const Row rows[] = {
        {kFreqMonthly, 30, "", ""},             // empty reads 0
        {kFreqMonthly, 30, "0", ""},
        {kFreqMonthly, 30, "13", ""},
        {kFreqMonthly, 30, "1.5", kInteger},
        {kFreqMonthly, 30, "x", kInteger},
        {kFreqMonthly, 30, "-1", kInteger},
        {kFreqMonthly, 30, "$5", kInteger},     // would be computed as 0
        {kFreqActualDaysSingle, 200, "2", "When days in unit period are less than 365, unit periods must be 1."},
        {kFreqActualDaysSingle, 200, "1", ""},
        {kFreqActualDaysSingle, 200, "0", "Unit periods must be greater than 0."},
        {kFreqActualDaysSingle, 200, "", "Unit periods must be greater than 0."},
        {kFreqActualDaysSingle, 365, "2", ""},
        {kFreqEqualMonthsSingle, 360, "0", ""},
    };
    for (const Row& row : rows) {
        Page page;
        page.record->giPymtFreq = static_cast<std::int16_t>(row.freq);
        page.record->gdDaysinUnitPd = row.unitDays;
        page.record->gaPymtAmt[1] = "100";
        const ScheduleCellResult out = page.leave(1, 3, row.typed);
        SCOPED_TRACE(Describe(1, 3, row.typed) + ", frequency " + std::to_string(row.freq) + ", " +
                     std::to_string(row.unitDays) + " days");
        EXPECT_EQ(out.cancel, !row.message.empty());
        EXPECT_EQ(out.message, row.message);
        EXPECT_EQ(out.text, row.typed);
    }
}

// --- Column 4, odd days ---------------------------------------------------------------------

TEST(schedule_odd_days_cell, rules) {
    const std::string kInteger = "Enter a valid integer for odd days.";
    struct Row { int freq; double unitDays; bool appendixJ; std::string typed, message; };
    const Row rows[] = {
        {kFreqMonthly, 30, true, "", ""},
        {kFreqMonthly, 30, true, "30", ""},
        {kFreqMonthly, 30, true, "31", "Odd days must be less than or equal to days in unit period [30] or 0."},
        {kFreqSemiMonthly, 15.5, true, "16", "Odd days must be less than or equal to days in unit period [15.5] or 0."},
        {kFreqActualDaysInstallment, 14, true, "15", "Odd days must be less than or equal to days in unit period [14] or 0."},
        {kFreqMonthly, 30, true, "2.5", kInteger},
        {kFreqMonthly, 30, true, "-2", kInteger},
        {kFreqMonthly, 30, true, "a", kInteger},
        {kFreqActualDaysSingle, 365, true, "365", "Odd days must be less than 365."},
        {kFreqActualDaysSingle, 365, true, "364", ""},
        {kFreqActualDaysSingle, 200, true, "5", "When days in unit period are less than 365, odd days must be 0."},
        {kFreqActualDaysSingle, 200, true, "0", ""},
        {kFreqActualDaysSingle, 200, false, "5", ""},  // a construction loan may carry odd days
        {kFreqEqualMonthsSingle, 360, true, "400", ""},
    };
    for (const Row& row : rows) {
        Page page;
        page.record->giPymtFreq = static_cast<std::int16_t>(row.freq);
        page.record->gdDaysinUnitPd = row.unitDays;
        page.record->gbAppendixJ = row.appendixJ;
        page.record->gaPymtAmt[1] = "100";
        const ScheduleCellResult out = page.leave(1, 4, row.typed);
        SCOPED_TRACE(Describe(1, 4, row.typed) + ", frequency " + std::to_string(row.freq));
        EXPECT_EQ(out.cancel, !row.message.empty());
        EXPECT_EQ(out.message, row.message);
    }
}

TEST(schedule_odd_days_cell, refusal_is_silent_for_200_ms_after_it_was_shown) {
    Page page;
    page.record->gaPymtAmt[1] = "100";
    const std::string kMessage = "Odd days must be less than or equal to days in unit period [30] or 0.";

    EXPECT_EQ(page.leave(1, 4, "31").message, kMessage);
    page.clock.advance(199ms);
    const ScheduleCellResult quiet = page.leave(1, 4, "31");
    EXPECT_TRUE(quiet.cancel);  // still refused, only not said again
    EXPECT_EQ(quiet.message, "");
    EXPECT_EQ(page.user.prompts().size(), 1u);

    page.clock.advance(1ms);  // the quiet period's tick
    EXPECT_EQ(page.leave(1, 4, "45").message, kMessage);
    EXPECT_EQ(page.user.prompts().size(), 2u);
}

TEST(schedule_odd_days_cell, quiet_period_silences_only_the_odd_days_limit) {
    Page page;
    page.record->gaPymtAmt[1] = "100";
    page.leave(1, 4, "31");
    EXPECT_EQ(page.leave(1, 4, "x").message, "Enter a valid integer for odd days.");
    EXPECT_EQ(page.leave(1, 3, "x").message, "Enter a valid integer for unit periods.");
}

// --- Storing and clearing -------------------------------------------------------------------

TEST(schedule_cell_store, copies_the_grid_value_into_the_streams_column) {
    auto r = std::make_unique<LoanRecord>();
    ScheduleCellStore(*r, "3", 1, "1234.57");
    ScheduleCellStore(*r, "3", 2, "12");
    ScheduleCellStore(*r, "3", 3, "1");
    ScheduleCellStore(*r, "3", 4, "0");
    EXPECT_EQ(r->gaPymtAmt[3], "1234.57");
    EXPECT_EQ(r->gaNumPymts[3], "12");
    EXPECT_EQ(r->gaUnitPeriods[3], "1");
    EXPECT_EQ(r->gaOddDays[3], "0");

    ScheduleCellStore(*r, "", 1, "99");  // a row without a label stores nothing
    ScheduleCellStore(*r, "3", 0, "99");
    EXPECT_EQ(r->gaPymtAmt[3], "1234.57");
    try {
        ScheduleCellStore(*r, "361", 1, "5");
        ADD_FAILURE() << "stream 361 was stored";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), 9);
    }
}

TEST(schedule_clear, empties_every_stream_but_keeps_the_labels) {
    auto r = std::make_unique<LoanRecord>();
    ScheduleInit(*r);
    EXPECT_EQ(r->gaPymtCol0[1], "1");
    EXPECT_EQ(r->gaPymtCol0[360], "360");
    for (int k : {1, 360}) {
        r->gaPymtAmt[k] = "5";
        r->gaNumPymts[k] = "1";
        r->gaUnitPeriods[k] = "1";
        r->gaOddDays[k] = "0";
        r->gaPymtDbl[k] = 4.5;
    }
    ScheduleClear(*r);
    for (int k : {1, 360}) {
        EXPECT_EQ(r->gaPymtAmt[k] + r->gaNumPymts[k] + r->gaUnitPeriods[k] + r->gaOddDays[k], "") << k;
        EXPECT_EQ(r->gaPymtDbl[k], 0) << k;
        EXPECT_EQ(r->gaPymtCol0[k], std::to_string(k));
    }
}

}  // namespace
}  // namespace tallex
