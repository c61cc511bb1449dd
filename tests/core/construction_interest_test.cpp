// The estimate of construction interest (Appendix D, part I(B)). Expected amounts are the
// construction rules' examples and hand calculations in the order rate x base / year x period.
// The largest estimate that fits is the construction phase page's refusal.

#include "construction/ConstChoices.h"
#include "construction/ConstInterestEstimate.h"
#include "engine/LoanRecord.h"

#include <gtest/gtest.h>

#include <memory>
#include <tuple>

namespace tallex {
namespace {

struct Case {
    const char* name;
    std::int16_t interestType, accrual;
    bool reserve;
    double commitment, rate, months, days, estimate, daysInYearAfter;
};

std::unique_ptr<LoanRecord> Estimate(const Case& c) {
    auto r = std::make_unique<LoanRecord>();
    r->construction.optInterestType = c.interestType;
    r->construction.optIntAccrl = c.accrual;
    r->construction.chkIntReserve = c.reserve;
    r->gdCommitmentAmt = c.commitment;
    r->gdSimpleIntRate = c.rate;
    r->gdConstMonths = c.months;
    r->gdConstDays = c.days;
    r->gdConstDaysinYr = c.accrual == kAccrualWholeMonths ? 360 : 365;
    EstimateConstInterest(*r);
    return r;
}

TEST(construction_interest_estimate, examples_and_hand_calculations) {
    const Case cases[] = {
        // 0.10 x 50,000 / 360 x 18 x 30; with the reserve + 7,500 x 0.5 x 0.10 / 360 x 540
        {"360/360 on advances", 0, 0, false, 100000, 10, 18, 0, 7500.00, 0},
        {"360/360 with interest reserve", 0, 0, true, 100000, 10, 18, 0, 8062.50, 0},
        // 0.09 x 100,000 / 360 x 200, and the APR's year becomes 365 days
        {"365/360 on the entire commitment", 1, 2, false, 100000, 9, 0, 200, 5000.00, 365},
        // 0.08 x 60,000 / 365 x 180 = 2,367.1233; with the reserve 2,413.8172
        {"365/365 on advances", 0, 1, false, 120000, 8, 0, 180, 2367.12, 365},
        {"365/365 with interest reserve", 0, 1, true, 120000, 8, 0, 180, 2413.82, 365},
        // 0.075 x 33,333 / 360 x 7 x 30 = 1,458.31875: half a cent and more goes up;
        // 0.07 x 10,007 / 360 x 1 x 30 = 58.374167: less than half a cent goes down
        {"rounding to cents, up", 1, 0, false, 33333, 7.5, 7, 0, 1458.32, 0},
        {"rounding to cents, down", 1, 0, false, 10007, 7, 1, 0, 58.37, 0},
        {"other: typed by the user", 1, 3, false, 100000, 9, 12, 0, 0, 0},
    };
    for (const Case& c : cases) {
        auto r = Estimate(c);
        SCOPED_TRACE(c.name);
        EXPECT_DOUBLE_EQ(r->gdEstConstInterest, c.estimate);
        EXPECT_EQ(std::tuple(r->gdConstIntBase, r->gdDaysinYr, r->gdConstDaysinYr),
                  std::tuple(c.interestType == kInterestOnAdvances ? c.commitment / 2 : c.commitment, c.daysInYearAfter,
                             c.accrual == kAccrualWholeMonths || c.accrual == kAccrualActual365_360 ? 360 : 365));
    }
}

}  // namespace
}  // namespace tallex
