// The estimate of construction interest (Appendix D, part I(B)). Expected amounts are the
// examples of the construction rules and hand calculations in the order rate x base / year x
// period.

#include "construction/ConstChoices.h"
#include "construction/ConstInterestEstimate.h"
#include "engine/LoanRecord.h"
#include "engine/RuntimeError.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace tallex {
namespace {

struct Case {
    const char* name;
    std::int16_t interestType, accrual;
    bool reserve;
    double commitment, rate, months, days, daysInYear;
    double base, estimate, daysInYearAfter;
};

std::unique_ptr<LoanRecord> Loan(const Case& c) {
    auto r = std::make_unique<LoanRecord>();
    r->construction.optInterestType = c.interestType;
    r->construction.optIntAccrl = c.accrual;
    r->construction.chkIntReserve = c.reserve;
    r->gdCommitmentAmt = c.commitment;
    r->gdSimpleIntRate = c.rate;
    r->gdConstMonths = c.months;
    r->gdConstDays = c.days;
    r->gdConstDaysinYr = c.daysInYear;
    return r;
}

TEST(construction_interest_estimate, appendix_d_examples_and_hand_calculations) {
    const Case cases[] = {
        // 0.10 x 50,000 / 360 x 18 x 30 = 7,500.00
        {"whole months on advances", kInterestOnAdvances, kAccrualWholeMonths, false, 100000, 10, 18, 0, 360,
         50000, 7500.00, 0},
        // 7,500 + 7,500 x 0.5 x 0.10 / 360 x 540 = 8,062.50
        {"whole months with interest reserve", kInterestOnAdvances, kAccrualWholeMonths, true, 100000, 10, 18, 0, 360,
         50000, 8062.50, 0},
        // 0.09 x 100,000 / 360 x 200 = 5,000.00, and the year of the APR becomes 365 days
        {"365/360 on the entire commitment", kInterestOnCommitment, kAccrualActual365_360, false, 100000, 9, 0, 200, 365,
         100000, 5000.00, 365},
        // 0.08 x 60,000 / 365 x 180 = 2,367.1232... -> 2,367.12
        {"365/365 on advances", kInterestOnAdvances, kAccrualActual365_365, false, 120000, 8, 0, 180, 365,
         60000, 2367.12, 365},
        // 2,367.1232... + 2,367.1232... x 0.5 x 0.08 / 365 x 180 = 2,413.8172... -> 2,413.82
        {"365/365 with interest reserve", kInterestOnAdvances, kAccrualActual365_365, true, 120000, 8, 0, 180, 365,
         60000, 2413.82, 365},
        // 0.075 x 33,333 / 360 x 7 x 30 = 1,458.31875 -> 1,458.32 (half a cent and more goes up)
        {"rounding to cents", kInterestOnCommitment, kAccrualWholeMonths, false, 33333, 7.5, 7, 0, 360,
         33333, 1458.32, 0},
    };
    for (const Case& c : cases) {
        auto r = Loan(c);
        EstimateConstInterest(*r);
        SCOPED_TRACE(c.name);
        EXPECT_DOUBLE_EQ(r->gdConstIntBase, c.base);
        EXPECT_DOUBLE_EQ(r->gdConstIntRate, c.rate / 100);
        EXPECT_DOUBLE_EQ(r->gdEstConstInterest, c.estimate);
        EXPECT_EQ(r->gdDaysinYr, c.daysInYearAfter);
    }
}

TEST(construction_interest_estimate, the_365_360_accrual_counts_a_360_day_year) {
    Case c{"", kInterestOnAdvances, kAccrualActual365_360, false, 100000, 9, 0, 200, 365, 0, 0, 0};
    auto r = Loan(c);
    EstimateConstInterest(*r);
    EXPECT_EQ(r->gdConstDaysinYr, 360);
    EXPECT_DOUBLE_EQ(r->gdEstConstInterest, 2500.00);  // 0.09 x 50,000 / 360 x 200
}

TEST(construction_interest_estimate, other_accrual_leaves_the_estimate_to_the_user) {
    Case c{"", kInterestOnCommitment, kAccrualOther, false, 100000, 9, 12, 0, 360, 0, 0, 0};
    auto r = Loan(c);
    r->gdEstConstInterest = 0;
    r->gdDaysinYr = 360;
    EstimateConstInterest(*r);
    EXPECT_EQ(r->gdEstConstInterest, 0);
    EXPECT_EQ(r->gdConstIntBase, 100000);
    EXPECT_EQ(r->gdDaysinYr, 360);
}

TEST(construction_interest_estimate, faults) {
    struct Fault { const char* name; Case c; int error; };
    const Fault faults[] = {
        // 0.10 x 50,000,000 / 360 x 18 x 30 = 7,500,000 fits; 10 times that does not.
        {"an estimate above 9,999,999", {"", kInterestOnAdvances, kAccrualWholeMonths, false, 1e9, 10, 18, 0, 360, 0, 0, 0}, 6},
        {"a year of no days", {"", kInterestOnAdvances, kAccrualActual365_365, false, 100000, 9, 0, 200, 0, 0, 0, 0}, 11},
    };
    for (const Fault& f : faults) {
        auto r = Loan(f.c);
        SCOPED_TRACE(f.name);
        try {
            EstimateConstInterest(*r);
            ADD_FAILURE() << "no run-time error";
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.number(), f.error);
        }
    }
    Case fits{"", kInterestOnAdvances, kAccrualWholeMonths, false, 1e8, 10, 18, 0, 360, 0, 0, 0};
    auto r = Loan(fits);
    EstimateConstInterest(*r);
    EXPECT_DOUBLE_EQ(r->gdEstConstInterest, 7500000.00);
}

}  // namespace
}  // namespace tallex
