// The whole-schedule check run when the user continues from the payment schedule to the APR.
// Messages are the system's own texts; the totals they quote are worked by hand from the rows.

#include "engine/LoanRecord.h"
#include "engine/RuntimeError.h"
#include "schedule/ScheduleContinueCheck.h"
#include "ui/ScriptedUser.h"

#include "TestLoans.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace tallex {
namespace {

struct Row {
    const char *amount, *count, *unitPeriods, *oddDays;
};

struct Case {
    std::vector<Row> rows;
    int current;
    std::string message;  // empty: the schedule passes
    int column = 0, stream = 0;
};

// A monthly regular loan lends amountFinanced; a construction loan a commitment of 100,000.
struct Loan {
    double amountFinanced = 1000;
    bool regular = true, yearlyMonths = false;
    double subsequent = 0, interest = 0;
};

void Check(const Case& c, const Loan& loan) {
    auto r = std::make_unique<LoanRecord>();
    r->gbAppendixJ = loan.regular;
    r->giPymtFreq = loan.yearlyMonths ? kFreqMultiplesOfMonth : kFreqMonthly;
    r->dMonths = loan.yearlyMonths ? 12 : 0;
    r->gdAmount = loan.amountFinanced;
    r->gdCommitmentAmt = 100000;
    r->gdSubseqFinChg = loan.subsequent;
    r->gdEstConstInterest = loan.interest;
    int k = 0;
    for (const Row& row : c.rows) {
        r->gaPymtAmt[++k] = row.amount;
        r->gaNumPymts[k] = row.count;
        r->gaUnitPeriods[k] = row.unitPeriods;
        r->gaOddDays[k] = row.oddDays;
    }
    ScriptedUser user;
    const ScheduleContinueResult out = ScheduleContinueCheck(*r, user, k, c.current);
    SCOPED_TRACE(testing::Message() << k << " streams, the first " << c.rows[0].amount << " x " << c.rows[0].count
                                    << ", amount financed " << loan.amountFinanced);
    EXPECT_EQ(std::tie(out.message, out.passed, out.column, out.stream),
              std::tuple(c.message, c.message.empty(), c.column, c.stream));
    test::ExpectPrompts(user, c.message.empty() ? std::vector<std::string>{} : std::vector{c.message}, 48);
}

// Stream 1 first, then the current stream's cells in order, then stream 1's timing.
TEST(schedule_continue_check, completeness_in_order) {
    const Row full{"100", "12", "1", "0"};
    const Case cases[] = {
        {{{"", "", "", ""}, full}, 2, "Enter payment amount and number of payments before going to next screen.", 1},
        {{full, {"50", "", "", ""}}, 2, "Enter number of payments before going to next screen.", 2},
        {{full, {"50", "3", "", "0"}}, 2, "Enter the unit periods before going to next screen.", 3},
        {{full, {"50", "3", "13", ""}}, 2, "Enter the odd days before going to next screen.", 4},
        {{{"100", "12", "", "0"}, full}, 2, "Enter the number of unit periods.", 3},
        {{{"100", "12", "1", ""}, full}, 2, "Enter the number of odd days.", 4},
        {{full, {"-500", "1", "3", "0"}, {"50", "6", "13", "0"}}, 3, ""},
    };
    for (const Case& c : cases) Check(c, {});
}

TEST(schedule_continue_check, yearly_unit_period_in_months_asks_for_the_calendar) {
    const std::string kCalendar =
        "Before going to next screen you must enter dates in calendar in order to calculate unit "
        "periods and odd days. ";
    Check({{{"100", "12", "", ""}}, 1, kCalendar, 3}, {.yearlyMonths = true});
    Check({{{"100", "12", "1", ""}}, 1, kCalendar, 4}, {.yearlyMonths = true});
}

// One advance at the loan date itself, in stream 1 or a later one; two advances, or one five
// days later, are payments.
TEST(schedule_continue_check, single_advance_at_the_loan_date_is_part_of_the_amount_financed) {
    const std::string kTail =
        " cannot contain a negative payment amount if the number of negative payments is one and unit "
        "periods and odd days both equal zero.This advance should be treated as part of the amount "
        "financed and not as a negative payment.";
    const Row pay{"100", "24", "1", "0"};
    const Case cases[] = {
        {{{"-1000", "1", "0", "0"}, pay}, 2, "Payment stream #1" + kTail, 0, 1},
        {{pay, pay, {"-250", "1", "0", "0"}}, 1, "Payment stream #3" + kTail, 0, 3},
        {{{"-1000", "2", "0", "0"}, pay}, 2, ""},
        {{{"-1000", "1", "0", "5"}, pay}, 2, ""},
    };
    for (const Case& c : cases) Check(c, {.amountFinanced = 100});
}

TEST(schedule_continue_check, payments_must_cover_what_was_lent) {
    // 12 x 88.85 = 1,066.20 in money, a hair below it in binary arithmetic.
    const std::vector<Row> twelve{{"88.85", "12", "1", "0"}};
    Check({twelve, 1, ""}, {.amountFinanced = 1066.20});
    Check({twelve, 1, "Total of payments [$1,066.20] must not be less than amount financed [$1,066.21].", 1},
          {.amountFinanced = 1066.21});
    // 1,000 + 2 x 300 advanced = 1,600 against 12 x 125 = 1,500; a zero stream counts nowhere.
    Check({{{"125", "12", "1", "0"}, {"-300", "2", "2", "0"}, {"0", "5", "3", "0"}},
           1,
           "Total of payments [$1,500.00] must not be less than amount financed [$1,600.00].",
           1},
          {});
}

// The note names what the payments leave out: the estimated interest, the subsequently paid
// finance charge (a cent of either is enough), or both.
TEST(schedule_continue_check, construction_payments_must_cover_the_commitment) {
    const std::string kHead =
        "The sum of the payments [$90,000.00] must not be less than the sum of the advances [$100,000.00].";
    const std::string kNote = "\r\n\r\n(Note that the sum of the payments does not include";
    const std::vector<Row> rows{{"750", "120", "1", "0"}};
    Check({rows, 1, kHead, 2}, {.regular = false});
    Check({rows, 1, kHead + kNote + " estimated construction interest or the subsequently paid finance charge.)", 2},
          {.regular = false, .subsequent = 500, .interest = 4500});
    Check({rows, 1, kHead + kNote + " the subsequently paid finance charge.)", 2},
          {.regular = false, .subsequent = 500});
    Check({rows, 1, kHead + kNote + " estimated construction interest.)", 2}, {.regular = false, .interest = 0.01});
    Check({{{"1000", "100", "1", "0"}}, 1, ""}, {.regular = false});
    ScriptedUser user;
    auto r = std::make_unique<LoanRecord>();
    EXPECT_THROW(ScheduleContinueCheck(*r, user, 361, 1), RuntimeError);  // no stream 361
}

}  // namespace
}  // namespace tallex
