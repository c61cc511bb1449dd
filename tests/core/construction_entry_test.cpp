// The rules of the three construction entry pages: loan terms, construction phase, and
// construction interest with the permanent phase. Messages are the system's own texts; figures
// are the construction rules' examples (the months table; 49,000.00, 55,000.00, 94,000.00) or
// worked by hand from the unit-period rules.

#include "construction/ConstChoices.h"
#include "construction/ConstLoanTerms.h"
#include "construction/ConstPermanentTerms.h"
#include "construction/ConstPhase.h"
#include "engine/LoanRecord.h"
#include "ui/ScriptedUser.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>

namespace tallex {
namespace {

ConstructionChoices Choices(std::int16_t disc, std::int16_t accrual, std::int16_t other = 0, bool reserve = false) {
    ConstructionChoices c;
    c.optDiscType = disc;
    c.optIntAccrl = accrual;
    c.optOther = other;
    c.chkIntReserve = reserve;
    return c;
}

// Passed when `message` is empty; else refused once, with style 48, focus on `field`.
void ExpectOutcome(const ConstContinueResult& out, const ScriptedUser& user, const std::string& message, int field) {
    EXPECT_EQ(std::tie(out.passed, out.message, out.focusField),
              std::tuple(message.empty(), message, message.empty() ? -1 : field));
    ASSERT_EQ(user.prompts().size(), message.empty() ? 0u : 1u);
    for (const auto& prompt : user.prompts()) EXPECT_EQ(prompt.style, 48);
}

TEST(construction_terms, continue) {
    const char* kSum =
        "The sum of loan commitment amount plus subsequently paid finance charge must be greater than "
        "the prepaid finance charge .";
    const char* kRate = "Annual simple interest rate must be greater than or equal to 1.";
    struct Row {
        std::int16_t disc;
        ConstLoanTermsEntries e;
        const char* message;
        int field;
    };
    const Row rows[] = {
        {0, {"", "9", "", ""}, "Enter loan commitment amount using the following format: #,###.##", 0},
        {0, {"1000", "", "", ""}, kRate, 1},  // a rate never typed in
        {0, {"1000", ".5", "", ""}, kRate, 1},
        {0, {"1000", "9", "a", ""}, "Enter prepaid finance charge using the following format: #,###.##", 2},
        {0, {"1000", "9", "", "a"}, "Enter subsequently paid finance charge using the following format: #,###.##", 3},
        {0, {"10000", "9", "10000", ""}, kSum, 0},
        {0, {"10000", "9", "10000", "0.01"}, "", 0},
        {1, {"10000", "9", "10000", ""}, "", 0},  // not asked with permanent financing
    };
    for (const Row& row : rows) {
        auto r = std::make_unique<LoanRecord>();
        r->construction.optDiscType = row.disc;
        ScriptedUser user;
        SCOPED_TRACE(row.e.loanAmt + " / " + row.e.simpleInt + " / " + row.e.prepdFinChg + " / " + row.e.subFinChg);
        ExpectOutcome(ConstLoanTermsContinue(*r, user, row.e), user, row.message, row.field);
    }
    auto r = std::make_unique<LoanRecord>();
    r->construction.optInterestType = kInterestOnCommitment;
    ScriptedUser user;
    ASSERT_TRUE(ConstLoanTermsContinue(*r, user, {"$1,234.567", "1", "", ""}).passed);
    // Empty charges are 0.
    EXPECT_EQ(std::tuple(r->gdCommitmentAmt, r->gdPrepaidFinChg + r->gdSubseqFinChg), std::tuple(1234.57, 0));
    EXPECT_EQ(r->gsLoanType, "Construction Only Loan (Interest on Entire Commitment Amount)");
    EXPECT_EQ(ConstLoanTypeText(Choices(0, 0)), "Construction Only Loan (Interest on Advances Only)");
    EXPECT_EQ(ConstLoanTypeText(Choices(1, 0)), "Construction/Permanent Loan (Interest on Advances Only)");
    // Coming back to the page forgets the figures of the visit before.
    ConstLoanTermsActivate(*r);
    EXPECT_EQ(std::tuple(r->gdCommitmentAmt, r->gdSimpleIntRate), std::tuple(0, 0));
}

TEST(construction_terms, leaving_a_field_shows_it_formatted) {
    EXPECT_EQ(ConstLoanTermsFieldCheck(kTermsLoanAmt, "1234.5").text, "$1,234.50");
    EXPECT_EQ(ConstLoanTermsFieldCheck(kTermsSimpleInt, "10").text, "10.");
    EXPECT_FALSE(ConstLoanTermsFieldCheck(kTermsSimpleInt, "0.5").valid);
    EXPECT_TRUE(ConstLoanTermsFieldCheck(kTermsPrepdFinChg, "").valid);
}

TEST(construction_terms, changing_the_disclosure_option_asks_before_deleting_the_schedule) {
    struct Row {
        const char* amount;
        short answer;
        std::int16_t pressed;
        DiscTypeChange expected;
    };
    const Row rows[] = {{"", 0, 1, DiscTypeChange::Changed},
                        {"100", 0, 0, DiscTypeChange::Unchanged},
                        {"100", 2, 1, DiscTypeChange::Unchanged},
                        {"100", 1, 1, DiscTypeChange::ChangedScheduleCleared}};
    for (const Row& row : rows) {
        auto r = std::make_unique<LoanRecord>();
        r->gaPymtAmt[1] = row.amount;
        r->gsLoanDate = "01-15-2026";
        r->gsEndDate = r->gsAmortPymtDate = "|";
        ScriptedUser user;
        if (row.answer) user.queue(row.answer);
        EXPECT_EQ(ConstDiscTypeChange(*r, user, row.pressed), row.expected) << row.amount << " " << row.answer;
        const bool cleared = row.expected == DiscTypeChange::ChangedScheduleCleared;
        EXPECT_EQ(r->gaPymtAmt[1] + r->gsLoanDate + r->gsEndDate + r->gsAmortPymtDate,
                  cleared ? "" : std::string(row.amount) + "01-15-2026||");
        EXPECT_EQ(r->construction.optDiscType, row.expected == DiscTypeChange::Unchanged ? 0 : row.pressed);
        ASSERT_EQ(user.prompts().size(), row.answer ? 1u : 0u);
        if (row.answer) {
            EXPECT_EQ(user.prompts()[0].text,
                      "Changing the financing disclosure options will cause deletion of any "
                      "payment information and calendar date(s) you may have entered.");
            EXPECT_EQ(std::tuple(user.prompts()[0].style, r->giMsgStyle), std::tuple(49, 49));
        }
    }
}

TEST(construction_pages, key_refusal_messages) {
    EXPECT_EQ(ConstLoanTermsKeyMessage(0), "For loan commitment amount, enter numbers or decimal point only.");
    EXPECT_EQ(ConstLoanTermsKeyMessage(1), "For annual simple interest rate, enter numbers or decimal point only.");
    EXPECT_EQ(ConstLoanTermsKeyMessage(2), "For prepaid finance charge, enter numbers or decimal point only.");
    EXPECT_EQ(ConstLoanTermsKeyMessage(3),
              "For subsequently paid finance charge, enter numbers or decimal point only.");
    EXPECT_EQ(ConstPhaseKeyMessage(0, "# of Days:"), "For # of days, enter numbers only.");
    EXPECT_EQ(ConstPhaseKeyMessage(1, ""), "For # of unit periods, enter numbers only.");
    EXPECT_EQ(ConstPhaseKeyMessage(2, ""), "For # of odd days, enter numbers only.");
    EXPECT_EQ(ConstInterestKeyMessage(0, ""), "Enter numbers, minus sign or decimal point only");
    EXPECT_EQ(ConstInterestKeyMessage(1, ""), "For disclosed APR, enter numbers or decimal point only.");
    EXPECT_EQ(ConstInterestKeyMessage(2, ""), "For disclosed finance charge, enter numbers or decimal point only.");
    EXPECT_EQ(ConstInterestKeyMessage(3, "Months in Loan Term:"), "Enter numbers only for the months in loan term.");
    EXPECT_EQ(ConstInterestAmountKey("12", 2, 'a'), AmountKeyVerdict::RefuseWithMessage);
    EXPECT_EQ(ConstInterestAmountKey("12.5", 4, '.'), AmountKeyVerdict::Refuse);
    EXPECT_EQ(ConstInterestAmountKey("12.34", 5, '5'), AmountKeyVerdict::Refuse);  // a third decimal
    EXPECT_EQ(ConstInterestAmountKey("12.34", 3, '5'), AmountKeyVerdict::Accept);
    EXPECT_EQ(ConstInterestAmountKey("12.3-", 4, '4'), AmountKeyVerdict::Accept);  // one decimal, then a sign
}

struct Phase {
    std::unique_ptr<LoanRecord> r = std::make_unique<LoanRecord>();
    ScriptedUser user;
    ConstContinueResult out;
    Phase(const ConstructionChoices& c, const char* period, const char* unitPeriods = "", const char* oddDays = "") {
        r->construction = c;
        r->dMonths = 7;
        out = ConstPhaseContinue(*r, user, {period, unitPeriods, oddDays});
    }
};

TEST(construction_phase, whole_months_make_one_payment_at_the_end) {
    struct Row {
        const char* months;
        double unitDays, unitPeriods, oddDays;
    };
    const Row rows[] = {
        {"6", 180, 1, 0}, {"11", 330, 1, 0}, {"12", 360, 1, 0}, {"18", 360, 1, 180}, {"30", 360, 2, 180}};
    for (const Row& row : rows) {
        const Phase p(Choices(0, 0), row.months);
        SCOPED_TRACE(std::string(row.months) + " months");
        ASSERT_TRUE(p.out.passed) << p.out.message;
        EXPECT_EQ(std::tie(p.r->gdDaysinUnitPd, p.r->gdCalUnitPeriods, p.r->gdCalOddDays, p.r->giPymtFreq),
                  std::tuple(row.unitDays, row.unitPeriods, row.oddDays, kFreqEqualMonthsSingle));
        EXPECT_EQ(std::tuple(p.r->dMonths, p.r->gdDaysinYr + p.r->gdConstDaysinYr),
                  std::tuple(p.r->gdConstMonths, 720));
    }
}

TEST(construction_phase, accrual_codes_and_day_counts) {
    struct Row {
        ConstructionChoices c;
        const char *period, *unitPeriods, *oddDays;
        int code;
        double days;
        int freq;
    };
    const Row rows[] = {
        {Choices(0, 0), "12", "", "", 1, 0, 5},          {Choices(0, 0, 0, true), "12", "", "", 2, 0, 5},
        {Choices(1, 1), "400", "", "", 3, 400, 0},       {Choices(1, 1, 0, true), "200", "", "", 4, 200, 0},
        {Choices(0, 2), "200", "1", "0", 5, 200, 6},     {Choices(0, 2, 0, true), "365", "2", "30", 6, 760, 6},
        {Choices(0, 3, 0, true), "12", "", "", 7, 0, 5}, {Choices(0, 3, 1), "200", "1", "0", 7, 200, 6},
        {Choices(1, 3, 1), "", "", "", 7, 0, 0},  // "other" with permanent financing: no period asked
    };
    for (const Row& row : rows) {
        const Phase p(row.c, row.period, row.unitPeriods, row.oddDays);
        SCOPED_TRACE("code " + std::to_string(row.code) + ", period \"" + row.period + "\"");
        ASSERT_TRUE(p.out.passed) << p.out.message;
        EXPECT_EQ(std::tie(p.r->giAccrualMethod, p.r->gdConstDays, p.r->giPymtFreq),
                  std::tie(row.code, row.days, row.freq));
    }
}

// What the construction phase page shows for each accrual: the reserve box for the day-count
// and month accruals, the "other" frame for construction alone, and nothing to enter when the
// user gives the estimate of an "other" loan with permanent financing.
TEST(construction_phase, layout_of_each_accrual) {
    struct Row {
        ConstructionChoices c;
        bool reserve, other, period, calendar;
        std::string label;
        bool unitPeriods;
    };
    const Row rows[] = {
        {Choices(0, 0), true, false, true, true, "# of Months:", false},
        {Choices(0, 2), true, false, true, true, "# of Days:", true},
        {Choices(1, 3, 1), false, false, false, false, "", false},
        {Choices(0, 3, 1), false, true, true, true, "# of Days:", true},
    };
    for (const Row& row : rows) {
        const ConstPhaseLayout layout = ConstPhaseLayoutFor(row.c);
        SCOPED_TRACE("accrual " + std::to_string(row.c.optIntAccrl) + ", disclosure " +
                     std::to_string(row.c.optDiscType));
        EXPECT_EQ(std::tie(layout.reserveShown, layout.otherShown, layout.timePeriodShown, layout.calendarShown,
                           layout.timePeriodLabel, layout.unitPeriodsShown),
                  std::tie(row.reserve, row.other, row.period, row.calendar, row.label, row.unitPeriods));
    }
}

TEST(construction_phase, continue_refusals) {
    struct Row {
        ConstructionChoices c;
        const char *period, *unitPeriods, *oddDays, *message;
        int field;
    };
    const Row rows[] = {
        {Choices(0, 1), "400", "1", "0", "Enter a number from 1 to 365 for the # of days.", 0},
        {Choices(0, 0), "0", "", "", "Enter a number greater than 0 for the # of months.", 0},
        {Choices(1, 2), "", "", "", "Enter a number greater than 0 for the # of days.", 0},
        {Choices(0, 3, 1), "365", "0", "0", "Enter a number greater than 0 for the # of unit periods.", 1},
        {Choices(0, 1), "365", "1", "", "Enter a number between 0 and 365 for # of odd days.", 2},
        {Choices(0, 1), "365", "1", "366", "Enter a number between 0 and 365 for # of odd days.", 2},
    };
    for (const Row& row : rows) {
        const Phase p(row.c, row.period, row.unitPeriods, row.oddDays);
        ExpectOutcome(p.out, p.user, row.message, row.field);
        EXPECT_EQ(p.r->dMonths + p.r->giAccrualMethod, 0);  // cleared first, nothing stored
    }
    const ConstUnitPeriodFields year = ConstUnitPeriodsFollow("365"), fixed = ConstUnitPeriodsFollow("364");
    EXPECT_TRUE(year.enabled && year.unitPeriods.empty());
    EXPECT_FALSE(fixed.enabled);
    EXPECT_EQ(fixed.unitPeriods + "/" + fixed.oddDays, "1/0");
    // A blank period (here cut from a wider blank line) fills nothing in.
    constexpr std::string_view kBlankLine = "      ";
    const ConstUnitPeriodFields blank = ConstUnitPeriodsFollow(kBlankLine.substr(0, 3));
    EXPECT_FALSE(blank.enabled);
    EXPECT_EQ(blank.unitPeriods + blank.oddDays, "");
}

// A construction period whose estimate of interest (worked by hand, rate x base / year x period)
// would pass 9,999,999 is refused on the phase page, before anything is stored, with the focus
// on the field that sets the length; the largest estimates that fit pass.
TEST(construction_phase, a_period_whose_interest_estimate_cannot_be_held_is_refused) {
    const char* const kTooLarge =
        "The estimated construction interest must not be greater than $9,999,999.00.  Enter a shorter construction "
        "period, or go back to prior screen to correct the loan commitment amount or the annual simple interest rate.";
    constexpr std::int16_t kEntire = kInterestOnCommitment, kAdvances = kInterestOnAdvances;
    struct Row {
        ConstructionChoices c;
        std::int16_t interestOn;
        double commitment, rate;
        const char *period, *unitPeriods, *oddDays;
        int refusedField;  // -1: passes
    };
    const Row rows[] = {
        // 0.12 x 999,999,900 / 360 x 1 x 30 = 9,999,999.00; a commitment of 1,000,000,000 gives 10,000,000.00
        {Choices(1, 0), kEntire, 999999900, 12, "1", "", "", -1},
        {Choices(1, 0), kEntire, 1000000000, 12, "1", "", "", kPhaseTimePeriod},
        // On advances, 0.10 x 50,000,000 / 360 x 22 x 30 = 9,166,666.67; with the interest reserve
        // + 840,277.78 = 10,006,944.45
        {Choices(0, 0), kAdvances, 100000000, 10, "22", "", "", -1},
        {Choices(0, 0, 0, true), kAdvances, 100000000, 10, "22", "", "", kPhaseTimePeriod},
        // 365/365: 0.10 x 1,000,000,000 / 365 x 36 = 9,863,013.70; 37 days 10,136,986.30
        {Choices(0, 1), kEntire, 1000000000, 10, "36", "1", "0", -1},
        {Choices(0, 1), kEntire, 1000000000, 10, "37", "1", "0", kPhaseTimePeriod},
        // A year of days: 0.10 x 50,000,000 / 365 x 365 = 5,000,000.00; two unit periods 10,000,000.00
        {Choices(0, 1), kEntire, 50000000, 10, "365", "1", "0", -1},
        {Choices(0, 1), kEntire, 50000000, 10, "365", "2", "0", kPhaseUnitPeriods},
        // 365/360 with permanent financing: 359 days 9,972,222.22; 360 days 10,000,000.00
        {Choices(1, 2), kEntire, 100000000, 10, "359", "", "", -1},
        {Choices(1, 2), kEntire, 100000000, 10, "360", "", "", kPhaseTimePeriod},
        // Other: the user types the estimate, nothing is computed.
        {Choices(0, 3, 0), kEntire, 999999999999, 100, "120", "", "", -1},
    };
    for (const Row& row : rows) {
        auto r = std::make_unique<LoanRecord>();
        r->construction = row.c;
        r->construction.optInterestType = row.interestOn;
        r->gdCommitmentAmt = row.commitment;
        r->gdSimpleIntRate = row.rate;
        ScriptedUser user;
        const ConstContinueResult out = ConstPhaseContinue(*r, user, {row.period, row.unitPeriods, row.oddDays});
        SCOPED_TRACE(testing::Message() << row.commitment << " at " << row.rate << " %, period " << row.period << " x "
                                        << row.unitPeriods << ", accrual " << row.c.optIntAccrl);
        const bool refused = row.refusedField >= 0;
        ExpectOutcome(out, user, refused ? kTooLarge : "", row.refusedField);
        if (refused) {
            EXPECT_EQ(r->giAccrualMethod + r->gdConstMonths + r->gdConstDays, 0) << "nothing stored";
        } else {
            ConstInterestActivate(*r);  // the next page's estimate, which must now fit
        }
    }
}

// Commitment 100,000.00, prepaid 1,000.00, subsequently paid 500.00, an 18-month construction
// phase at 10 % (one 360-day unit period and 180 odd days).
struct Interest {
    std::unique_ptr<LoanRecord> r = std::make_unique<LoanRecord>();
    ScriptedUser user;
    ConstInterestContinueResult out;
    Interest(std::int16_t disc, const char* estimate, const char* apr, const char* charge = "",
             const char* unitPeriod = "", bool single = false, std::int16_t freq = 0) {
        r->construction.optDiscType = disc;
        r->gdCommitmentAmt = 100000;
        r->gdPrepaidFinChg = 1000;
        r->gdSubseqFinChg = 500;
        r->gdSimpleIntRate = 10;
        r->gdConstMonths = 18;
        r->gdConstDaysinYr = 360;
        r->gdCalUnitPeriods = 1;
        r->gdCalOddDays = 180;
        r->gdEstFinanceChg = 123;
        r->gbIntegerEntry = true;  // as the schedule's whole-number cells leave it
        out = ConstInterestContinue(*r, user, {estimate, apr, charge, unitPeriod, {single, freq}});
    }
};

TEST(construction_interest_page, amount_financed_and_the_single_payment) {
    const Interest one(0, "$4,500.00", "10");
    ASSERT_TRUE(one.out.check.passed) << one.out.check.message;
    const LoanRecord& r = *one.r;
    // 50,000 - 1,000; no charge typed: the disclosed one stays.
    EXPECT_EQ(std::tie(one.out.next, r.gdAmount, r.gdEstFinanceChg),
              std::tuple(ConstInterestNext::ConstructionResults, 49000, 123));
    EXPECT_EQ(r.gaPymtAmt[1] + "|" + r.gaNumPymts[1] + "|" + r.gaUnitPeriods[1] + "|" + r.gaOddDays[1],
              "55000|1|1|180");

    const Interest two(1, "4500", "10", "$6,000.00");
    EXPECT_EQ(std::tie(two.out.next, two.r->gdAmount, two.r->gdEstFinanceChg),
              std::tuple(ConstInterestNext::Schedule, 94000, 6000));                   // 100,000 - 4,500 - 1,000 - 500
    EXPECT_DOUBLE_EQ(Interest(0, "$1,234.567", "10").r->gdEstConstInterest, 1234.57);  // cents kept
}

TEST(construction_interest_page, continue_refusals) {
    const char* kDollars = "Enter dollar amount using the following format: #,###.##";
    struct Row {
        std::int16_t disc;
        const char *estimate, *apr, *charge, *unitPeriod;
        bool single;
        std::int16_t freq;
        const char* message;
        int field;
    };
    const Row rows[] = {
        {0, "abc", "10", "", "", false, 0, kDollars, 0},
        {0, "4500", "0.5", "", "", false, 0,
         "Enter a number greater than or equal to 1 for disclosed or estimated APR.", 1},
        {0, "4500", "10", "x", "", false, 0, kDollars, 2},
        {1, "4500", "10", "", "13", false, 1, "Enter a number between 2 and 12 for the months in unit period.", 3},
        {1, "4500", "10", "", "1", false, 1, "Enter a number between 2 and 12 for the months in unit period.", 3},
        {1, "4500", "10", "", "", false, 3, "Enter a number between 1 and 365 for the days in unit period.", 3},
        {1, "4500", "10", "", "366", false, 3, "Enter a number between 1 and 365 for the days in unit period.", 3},
        {1, "4500", "10", "", "0", true, 0, "Enter a number greater than 0 for the months in loan term.", 3},
        {1, "4500", "10", "", "366", true, 1, "Enter a number between 1 and 365 for the days in unit period.", 3},
    };
    for (const Row& row : rows) {
        const Interest p(row.disc, row.estimate, row.apr, row.charge, row.unitPeriod, row.single, row.freq);
        ExpectOutcome(p.out.check, p.user, row.message, row.field);
        EXPECT_EQ(p.r->gdAmount, 0);
    }
}

TEST(construction_interest_page, permanent_phase_frequency) {
    struct Row {
        bool single;
        std::int16_t freq;
        const char* unitPeriod;
        int code;
        double unitDays, year;
        const char* text;
    };
    const Row rows[] = {
        {false, 0, "", 1, 30, 360, "Monthly"},        {false, 1, "6", 2, 180, 360, "Multiples of a Month"},
        {false, 2, "", 3, 15, 360, "Semi-Monthly"},   {false, 3, "14", 4, 14, 364, "Actual Days"},  // whole weeks
        {false, 3, "15", 4, 15, 365, "Actual Days"},  {true, 0, "18", 5, 360, 360, "Whole Number of Months"},
        {true, 1, "200", 6, 200, 365, "Actual Days"},
    };
    for (const Row& row : rows) {
        const Interest p(1, "4500", "10", "", row.unitPeriod, row.single, row.freq);
        ASSERT_TRUE(p.out.check.passed) << p.out.check.message;
        // The construction phase keeps its months.
        EXPECT_EQ(
            std::tie(p.r->giPymtFreq, p.r->gdDaysinUnitPd, p.r->gdDaysinYr, p.r->gsPymtFreqText, p.r->gdConstMonths),
            std::tuple(row.code, row.unitDays, row.year, row.text, 18))
            << row.text << " \"" << row.unitPeriod << "\"";
    }
    auto r = std::make_unique<LoanRecord>();  // a single payment loan has one stream
    r->construction.optDiscType = kDiscWithPermanent;
    r->gaPymtAmt[1] = "500";
    r->gaPymtAmt[2] = "600";
    ScriptedUser user;
    EXPECT_TRUE(ConstInterestContinue(*r, user, {"0", "10", "", "18", {true, 0}}).reloadSchedule);
    EXPECT_EQ(r->gaPymtAmt[1] + r->gaPymtAmt[2], "");
    EXPECT_EQ(std::tie(r->gdCalUnitPeriods, r->gdCalOddDays), std::tuple(1, 180));  // a 360-day year and 180 days
    // The shortest unit periods: two months, one day.
    for (const auto& [unitPeriod, freq] : {std::pair<const char*, std::int16_t>{"2", 1}, {"1", 3}}) {
        const Interest shortest(1, "4500", "10", "", unitPeriod, false, freq);
        EXPECT_TRUE(shortest.out.check.passed) << unitPeriod << ": " << shortest.out.check.message;
    }
}

// Leaving a field of the construction interest page: a failed check holds back the checks of
// the fields left after it until the text of a field changes.
TEST(construction_interest_page, a_failed_check_holds_back_the_next_until_a_text_changes) {
    struct Row {
        bool textChanged;
        int field;
        const char* text;
        bool checked;
        const char* shown;
    };
    const Row rows[] = {
        {false, kInterestFinChg, "124", false, ""},
        {true, kInterestFinChg, "124", true, "$124.00"},
        {true, kInterestAmount, "", true, "0"},
        {true, kInterestDisclAPR, "0.5", true, "0.5"},
    };
    for (const Row& row : rows) {
        EntryBadState state;
        const std::optional<ConstInterestLeave> empty = LeaveConstInterestField(state, kInterestDisclAPR, "", {});
        ASSERT_TRUE(empty.has_value());
        EXPECT_FALSE(empty->valid);
        ASSERT_TRUE(state.entryBad);
        if (row.textChanged) state.TextChanged();
        const std::optional<ConstInterestLeave> leave = LeaveConstInterestField(state, row.field, row.text, {});
        SCOPED_TRACE(std::string("field ") + std::to_string(row.field) + " \"" + row.text + "\"");
        ASSERT_EQ(leave.has_value(), row.checked);
        if (!leave) continue;
        EXPECT_EQ(leave->text, row.shown);
        EXPECT_EQ(state.entryBad, !leave->valid);
    }
}

TEST(construction_interest_page, activation_shows_the_estimate_unless_it_is_typed) {
    Interest page(0, "0", "10");
    EXPECT_EQ(ConstInterestActivate(*page.r).initialEstimate, "$7,500.00");  // 0.10 x 50,000 / 360 x 18 x 30
    page.r->construction.optIntAccrl = kAccrualOther;
    const ConstInterestActivation typed = ConstInterestActivate(*page.r);
    EXPECT_EQ(std::tie(typed.initialEstimate, typed.initialValueShown), std::tuple("$0.00", false));
    EXPECT_EQ(ConstInterestFieldCheck(kInterestAmount, "", {}).text, "0");
}

}  // namespace
}  // namespace tallex
