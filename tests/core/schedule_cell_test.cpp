// The schedule cell rules: what leaving one cell of the payment schedule accepts, rewrites, fills
// in and refuses. Messages are the system's own texts; values are worked by hand from the rules.

#include "engine/LoanRecord.h"
#include "engine/NumberText.h"
#include "engine/RuntimeError.h"
#include "schedule/ScheduleCellCheck.h"
#include "schedule/ScheduleCellStore.h"
#include "schedule/ScheduleClear.h"
#include "ui/ScriptedUser.h"

#include "TestLoans.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace tallex {
namespace {

using test::FakeClock;

// A schedule page whose stream 1 already has an amount; by default a regular monthly loan.
struct Page {
    std::unique_ptr<LoanRecord> r = std::make_unique<LoanRecord>();
    ScriptedUser user;
    FakeClock clock;
    ScheduleOddDaysQuietPeriod quiet{clock};
    explicit Page(int freq = kFreqMonthly, double unitDays = 30, bool regular = true) {
        ScheduleInit(*r);
        r->giPymtFreq = static_cast<std::int16_t>(freq);
        r->gdDaysinUnitPd = unitDays;
        r->gbAppendixJ = regular;
        r->gaPymtAmt[1] = "100";
    }
    ScheduleCellResult leave(int stream, int column, const std::string& text, CellText shown = CellText::Shown) {
        return ScheduleCellCheck(*r, user, quiet, stream, column, text, shown);
    }
};

TEST(schedule_cell_check, refusals_and_acceptances_by_column) {
    const char* kAmount = "Enter a payment amount using the following format: #,###.##";
    const char* kAboveZero = "Enter a payment amount that is more than 0.";
    const char* kCount = "For number of payments, enter a valid integer.";
    const char* kCountAboveZero = "For number of payments, enter a number greater than 0.";
    const char* kPeriods = "Enter a valid integer for unit periods.";
    struct Row {
        int freq;
        double unitDays;
        bool regular, single;
        int column;
        const char *typed, *message;
    };
    const Row rows[] = {
        {1, 30, true, false, 1, "abc", kAmount},
        {1, 30, true, false, 1, "1e400", kAmount},
        {1, 30, true, false, 1, "-250", ""},
        {1, 30, true, true, 1, "-250", kAboveZero},
        {1, 30, true, true, 1, "0.001", kAboveZero},
        {1, 30, true, false, 2, "", kCount},
        {1, 30, true, false, 2, "0", kCountAboveZero},
        {1, 30, true, false, 2, "12.0", kCount},
        // Whole numbers only: these would be computed as something other than what is shown.
        {1, 30, true, false, 2, "-3", kCountAboveZero},
        {1, 30, true, false, 2, "1,2", kCount},
        {1, 30, true, false, 2, " 12 ", ""},  // blanks around a whole number are no part of it
        {1, 30, true, false, 3, "$5", kPeriods},
        {1, 30, true, false, 3, "", ""},
        {1, 30, true, false, 3, "1.5", kPeriods},
        {1, 30, true, false, 3, "-1", kPeriods},
        {6, 200, true, false, 3, "1", ""},
        {6, 200, true, false, 3, "2", "When days in unit period are less than 365, unit periods must be 1."},
        {6, 200, true, false, 3, "", "Unit periods must be greater than 0."},
        {6, 365, true, false, 3, "2", ""},
        {5, 360, true, false, 3, "0", ""},
        {1, 30, true, false, 4, "30", ""},
        {1, 30, true, false, 4, "31", "Odd days must be less than or equal to days in unit period [30] or 0."},
        {3, 15.5, true, false, 4, "16", "Odd days must be less than or equal to days in unit period [15.5] or 0."},
        {6, 365, true, false, 4, "365", "Odd days must be less than 365."},
        {6, 200, true, false, 4, "5", "When days in unit period are less than 365, odd days must be 0."},
        {6, 200, false, false, 4, "5", ""},
        {5, 360, true, false, 4, "400", ""},
        {6, 364, true, false, 3, "2", "When days in unit period are less than 365, unit periods must be 1."},
        {6, 365, true, false, 4, "364", ""},
    };
    for (const Row& row : rows) {
        Page page(row.freq, row.unitDays, row.regular);
        page.r->gbSingleAdvance = row.single;
        const ScheduleCellResult out = page.leave(1, row.column, row.typed);
        SCOPED_TRACE("column " + std::to_string(row.column) + " \"" + row.typed + "\", frequency " +
                     std::to_string(row.freq) + ", " + std::to_string(row.unitDays) + " days");
        EXPECT_EQ(out.message, row.message);
        EXPECT_EQ(out.cancel, *row.message != '\0');
        test::ExpectPrompts(page.user,
                            *row.message ? std::vector<std::string>{row.message} : std::vector<std::string>{}, 48);
    }
    for (const int column : {3, 4}) {
        Page page;  // a refusal elsewhere is no verdict on these cells: each is read afresh
        page.r->giNumCheck = kHasDecimalPoint;
        EXPECT_EQ(page.leave(1, column, "1").message, "") << "column " << column;
    }
    Page count;  // nor on the number of payments
    count.r->giNumCheck = kHasDecimalPoint;
    EXPECT_EQ(count.leave(1, 2, "12").message, "");
}

TEST(schedule_cell_check, amount_is_taken_to_whole_cents) {
    struct Row {
        const char *typed, *text, *cellValue;
    };
    const Row rows[] = {{"1234.567", "$1,234.57", "1234.57"},
                        {"1,000", "$1,000.00", "1000"},
                        {"-250", "-$250.00", "-250"},
                        {"1234.565", "$1,234.57", "1234.57"}};
    for (const Row& row : rows) {
        Page page;
        const ScheduleCellResult out = page.leave(1, 1, row.typed);
        EXPECT_EQ(out.text, row.text) << row.typed;
        EXPECT_EQ(out.cellValue, row.cellValue) << row.typed;
        // Without a page to show it, the text stays as typed and the value is the same.
        Page unshown;
        const ScheduleCellResult value = unshown.leave(1, 1, row.typed, CellText::NotShown);
        EXPECT_EQ(value.text, row.typed);
        EXPECT_EQ(value.cellValue, row.cellValue) << row.typed;
    }
    for (const CellText shown : {CellText::Shown, CellText::NotShown}) {
        Page single;  // a refused amount still hands the grid its number
        single.r->gbSingleAdvance = true;
        EXPECT_EQ(single.leave(1, 1, "-250", shown).cellValue, "-250");
        EXPECT_EQ(single.r->gsMsgText, "Enter a payment amount that is more than 0.");
    }
}

TEST(schedule_cell_check, number_of_payments_fills_the_defaults) {
    struct Row {
        const char* rule;
        int stream, freq;
        double months;
        bool regular;
        std::vector<ScheduleCellFill> fills;
    };
    const Row rows[] = {
        {"stream 1: one unit period, no odd days", 1, 1, 0, true, {{3, "1"}, {4, "0"}}},
        {"yearly unit period in months: the calendar", 1, 2, 12, true, {}},
        {"the calendar rule is for regular loans", 1, 2, 12, false, {{3, "1"}, {4, "0"}}},
        {"stream 2 after stream 1's 24 payments", 2, 1, 0, true, {{3, "25"}, {4, "15"}}},
    };
    for (const Row& row : rows) {
        Page page(row.freq, 30, row.regular);
        page.r->dMonths = row.months;
        page.r->gaNumPymts[1] = "24";
        page.r->gaUnitPeriods[1] = row.stream == 2 ? "1" : "";
        page.r->gaOddDays[1] = row.stream == 2 ? "15" : "";
        const ScheduleCellResult out = page.leave(row.stream, 2, "12");
        EXPECT_EQ(out.fills, row.fills) << row.rule;
        EXPECT_EQ(page.r->gaUnitPeriods[row.stream], row.fills.empty() ? "" : row.fills[0].text) << row.rule;
    }
    Page kept;  // cells that hold text are left alone
    kept.r->gaUnitPeriods[1] = "40";
    EXPECT_EQ(kept.leave(1, 2, "6").fills, (std::vector<ScheduleCellFill>{{4, "0"}}));
    Page last;  // the last row has defaults too: it follows an empty row, so 0 unit periods
    EXPECT_EQ(last.leave(kMaxStreams, 2, "6").fills, (std::vector<ScheduleCellFill>{{3, "0"}}));
}

TEST(schedule_cell_check, odd_days_refusal_is_said_once_per_200_ms) {
    Page page;
    EXPECT_NE(page.leave(1, 4, "31").message, "");
    page.clock.at += std::chrono::milliseconds(199);
    const ScheduleCellResult quiet = page.leave(1, 4, "31");
    EXPECT_EQ(std::tuple(quiet.cancel, quiet.message), std::tuple(true, ""));  // still refused, only not said
    EXPECT_EQ(page.leave(1, 4, "x").message, "Enter a valid integer for odd days.");
    page.clock.at += std::chrono::milliseconds(1);
    EXPECT_NE(page.leave(1, 4, "45").message, "");
    EXPECT_EQ(page.user.prompts().size(), 3u);
}

TEST(schedule_cell_check, blank_streams_and_other_columns_are_not_examined) {
    Page page;
    for (int column = 1; column <= 4; ++column) EXPECT_FALSE(page.leave(3, column, "").cancel) << column;
    EXPECT_FALSE(page.leave(1, 5, "abc").cancel);
    EXPECT_TRUE(page.user.prompts().empty());
    EXPECT_THROW(page.leave(361, 1, "5"), RuntimeError);
}

TEST(schedule_cell_store_and_clear, keep_the_record_in_step) {
    Page page;
    LoanRecord& r = *page.r;
    ScheduleCellStore(r, "3", 1, "1234.57");
    ScheduleCellStore(r, "3", 4, "0");
    ScheduleCellStore(r, "", 2, "99");  // a row without a label stores nothing
    EXPECT_EQ(r.gaPymtAmt[3] + "|" + r.gaNumPymts[3] + "|" + r.gaOddDays[3], "1234.57||0");
    EXPECT_THROW(ScheduleCellStore(r, "361", 1, "5"), RuntimeError);
    r.gaPymtDbl[360] = 4.5;
    ScheduleClear(r);
    // Labels stay.
    EXPECT_EQ(std::tuple(r.gaPymtAmt[1] + r.gaPymtAmt[3] + r.gaOddDays[3], r.gaPymtDbl[360], r.gaPymtCol0[360]),
              std::tuple("", 0, "360"));
}

}  // namespace
}  // namespace tallex
