// The whole-schedule check that runs when the user continues from the payment schedule to the
// APR computation. Expected messages are the system's own texts; the totals quoted in them are
// worked by hand from the schedule rows.

#include "engine/LoanRecord.h"
#include "engine/RuntimeError.h"
#include "entry/ScheduleClear.h"
#include "entry/ScheduleContinueCheck.h"
#include "ui/ScriptedUser.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace tallex {
namespace {

struct Row {
    std::string amount, count, unitPeriods, oddDays;
};

struct Schedule {
    std::unique_ptr<LoanRecord> record = std::make_unique<LoanRecord>();
    ScriptedUser user;

    explicit Schedule(const std::vector<Row>& rows, bool regular = true) {
        ScheduleInit(*record);
        record->gbAppendixJ = regular;
        record->giPymtFreq = kFreqMonthly;
        record->gdDaysinUnitPd = 30;
        int k = 0;
        for (const Row& row : rows) {
            ++k;
            record->gaPymtAmt[k] = row.amount;
            record->gaNumPymts[k] = row.count;
            record->gaUnitPeriods[k] = row.unitPeriods;
            record->gaOddDays[k] = row.oddDays;
        }
    }
    ScheduleContinueResult check(int rowCount, int currentStream) {
        return ScheduleContinueCheck(*record, user, rowCount, currentStream);
    }
};

void ExpectFault(const ScheduleContinueResult& out, const Schedule& s, const std::string& message, int column,
                 int stream = 0) {
    EXPECT_FALSE(out.passed);
    EXPECT_EQ(out.message, message);
    EXPECT_EQ(out.column, column);
    EXPECT_EQ(out.stream, stream);
    ASSERT_EQ(s.user.prompts().size(), 1u);
    EXPECT_EQ(s.user.prompts()[0].text, message);
    EXPECT_EQ(s.user.prompts()[0].style, 48);
}

TEST(schedule_continue, completeness_faults_name_their_column) {
    struct Case {
        const char* rule;
        std::vector<Row> rows;
        int current;
        std::string message;
        int column;
    };
    const Case cases[] = {
        {"stream 1 needs an amount", {{"", "", "", ""}, {"100", "12", "1", "0"}}, 2,
         "Enter payment amount and number of payments before going to next screen.", 1},
        {"the current stream needs its number of payments", {{"100", "12", "1", "0"}, {"50", "", "", ""}}, 2,
         "Enter number of payments before going to next screen.", 2},
        {"the current stream needs its unit periods", {{"100", "12", "1", "0"}, {"50", "3", "", "0"}}, 2,
         "Enter the unit periods before going to next screen.", 3},
        {"the current stream needs its odd days", {{"100", "12", "1", "0"}, {"50", "3", "13", ""}}, 2,
         "Enter the odd days before going to next screen.", 4},
        {"stream 1 needs its unit periods", {{"100", "12", "", "0"}, {"50", "3", "13", "0"}}, 2,
         "Enter the number of unit periods.", 3},
        {"stream 1 needs its odd days", {{"100", "12", "1", ""}, {"50", "3", "13", "0"}}, 2,
         "Enter the number of odd days.", 4},
    };
    for (const Case& c : cases) {
        Schedule s(c.rows);
        SCOPED_TRACE(c.rule);
        ExpectFault(s.check(static_cast<int>(c.rows.size()), c.current), s, c.message, c.column);
    }
}

TEST(schedule_continue, a_yearly_unit_period_in_months_asks_for_the_calendar) {
    const std::string kCalendar =
        "Before going to next screen you must enter dates in calendar in order to calculate unit periods and odd days. ";
    struct Case { Row row; int column; };
    const Case cases[] = {{{"100", "12", "", ""}, 3}, {{"100", "12", "1", ""}, 4}};
    for (const Case& c : cases) {
        Schedule s({c.row});
        s.record->giPymtFreq = kFreqMultiplesOfMonth;
        s.record->dMonths = 12;
        s.record->gdDaysinUnitPd = 360;
        SCOPED_TRACE("column " + std::to_string(c.column));
        ExpectFault(s.check(1, 1), s, kCalendar, c.column);
    }
}

TEST(schedule_continue, a_complete_regular_schedule_passes) {
    Schedule s({{"100", "12", "1", "0"}, {"-500", "1", "3", "0"}, {"200", "6", "13", "0"}});
    s.record->gdAmount = 1000;  // 1,000 + 500 advanced <= 1,200 + 1,200 paid
    const ScheduleContinueResult out = s.check(3, 3);
    EXPECT_TRUE(out.passed) << out.message;
    EXPECT_TRUE(s.user.prompts().empty());
}

TEST(schedule_continue, an_advance_at_the_loan_date_belongs_in_the_amount_financed) {
    Schedule s({{"-1000", "1", "0", "0"}, {"100", "12", "1", "0"}});
    s.record->gdAmount = 100;
    ExpectFault(s.check(2, 2), s,
                "Payment stream #1 cannot contain a negative payment amount if the number of negative payments is "
                "one and unit periods and odd days both equal zero.This advance should be treated as part of the "
                "amount financed and not as a negative payment.",
                0, 1);
}

TEST(schedule_continue, later_advance_refusal_names_its_stream) {
    Schedule s({{"100", "12", "1", "0"}, {"100", "12", "13", "0"}, {"-250", "1", "0", "0"}});
    const ScheduleContinueResult out = s.check(3, 1);
    EXPECT_EQ(out.stream, 3);
    EXPECT_EQ(out.message.substr(0, 20), "Payment stream #3 ca");
}

TEST(schedule_continue, advances_at_the_loan_date_that_are_not_single_are_accepted) {
    const std::vector<Row> shapes[] = {
        {{"-1000", "2", "0", "0"}, {"100", "24", "1", "0"}},   // two advances
        {{"-1000", "1", "0", "5"}, {"100", "24", "1", "0"}},   // five days after the loan date
        {{"-1000", "1", "1", "0"}, {"100", "24", "1", "0"}},
    };
    for (const auto& rows : shapes) {
        Schedule s(rows);
        const ScheduleContinueResult out = s.check(2, 2);
        EXPECT_TRUE(out.passed) << out.message;
    }
}

TEST(schedule_continue, regular_total_of_payments_must_cover_the_amount_financed) {
    struct Case { double amountFinanced; std::vector<Row> rows; std::string message; };
    const Case cases[] = {
        // 12 x 88.85 = 1,066.20 exactly in money, a hair below in binary arithmetic.
        {1066.20, {{"88.85", "12", "1", "0"}}, ""},
        {1066.21, {{"88.85", "12", "1", "0"}},
         "Total of payments [$1,066.20] must not be less than amount financed [$1,066.21]."},
        // The advance adds to what was lent: 1,000 + 2 x 300 = 1,600 against 12 x 125 = 1,500.
        {1000, {{"125", "12", "1", "0"}, {"-300", "2", "2", "0"}},
         "Total of payments [$1,500.00] must not be less than amount financed [$1,600.00]."},
        // A zero stream counts in neither total.
        {1000, {{"0", "5", "1", "0"}, {"100", "10", "6", "0"}}, ""},
    };
    for (const Case& c : cases) {
        Schedule s(c.rows);
        s.record->gdAmount = c.amountFinanced;
        const ScheduleContinueResult out = s.check(static_cast<int>(c.rows.size()), 1);
        SCOPED_TRACE("amount financed " + std::to_string(c.amountFinanced));
        if (c.message.empty()) {
            EXPECT_TRUE(out.passed) << out.message;
        } else {
            ExpectFault(out, s, c.message, 1);
        }
    }
}

TEST(schedule_continue, construction_payments_must_cover_the_commitment_and_advances) {
    const std::string kHead =
        "The sum of the payments [$90,000.00] must not be less than the sum of the advances [$100,000.00].";
    const std::string kNote = "\r\n\r\n(Note that the sum of the payments does not include";
    struct Case { double subsequent, interest; std::string message; };
    const Case cases[] = {
        {0, 0, kHead},
        {500, 4500, kHead + kNote + " estimated construction interest or the subsequently paid finance charge.)"},
        {500, 0, kHead + kNote + " the subsequently paid finance charge.)"},
        {0, 4500, kHead + kNote + " estimated construction interest.)"},
    };
    for (const Case& c : cases) {
        Schedule s({{"750", "120", "1", "0"}}, false);
        s.record->gdCommitmentAmt = 100000;
        s.record->gdSubseqFinChg = c.subsequent;
        s.record->gdEstConstInterest = c.interest;
        SCOPED_TRACE("subsequently paid " + std::to_string(c.subsequent) + ", interest " + std::to_string(c.interest));
        ExpectFault(s.check(1, 1), s, c.message, 2);
    }

    Schedule enough({{"1000", "100", "1", "0"}}, false);
    enough.record->gdCommitmentAmt = 100000;
    EXPECT_TRUE(enough.check(1, 1).passed);
}

TEST(schedule_continue, row_counts_outside_the_schedule_are_faults) {
    Schedule s({{"100", "12", "1", "0"}});
    for (int rows : {0, 361}) {
        try {
            s.check(rows, 1);
            ADD_FAILURE() << rows << " rows were checked";
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.number(), 9);
        }
    }
}

}  // namespace
}  // namespace tallex
