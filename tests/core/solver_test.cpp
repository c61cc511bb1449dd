// The actuarial APR solver, checked against the worked example and against an independent
// bisection on the closed-form present value.

#include "engine/AprSolver.h"
#include "engine/LoanRecord.h"
#include "engine/RuntimeError.h"

#include "TestLoans.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace tallex {
namespace {

struct Stream {
    double amount;
    int count;
    int unitPeriods;
    int oddDays;
};

std::unique_ptr<LoanRecord> Loan(double amount, double disclosedApr, double unitDays, double yearDays,
                                 const std::vector<Stream>& streams) {
    auto r = std::make_unique<LoanRecord>();
    r->gdAmount = amount;
    r->gdDisclAPR = disclosedApr;
    r->gdDaysinUnitPd = unitDays;
    r->gdDaysinYr = yearDays;
    int k = 0;
    for (const Stream& s : streams) {
        ++k;
        std::ostringstream amountText;
        amountText.precision(17);
        amountText << s.amount;
        r->gaPymtAmt[k] = amountText.str();
        r->gaNumPymts[k] = std::to_string(s.count);
        r->gaUnitPeriods[k] = std::to_string(s.unitPeriods);
        r->gaOddDays[k] = std::to_string(s.oddDays);
    }
    r->giGridRowCount = static_cast<std::int16_t>(k);
    return r;
}

// Closed form of the present value, in long double, written independently of the engine:
// each stream is worth P x ((1 - (1+i)^-n) / i) x (1+i) / ((1+i)^t x (1 + f i)).
long double ClosedFormPV(const std::vector<Stream>& streams, long double i, long double unitDays) {
    const long double logGrowth = std::log1p(i);
    long double sum = 0;
    for (const Stream& s : streams) {
        const long double f = s.oddDays / unitDays;
        const long double annuity = -std::expm1(-s.count * logGrowth) / i;
        sum += s.amount * annuity * (1 + i) * std::exp(-s.unitPeriods * logGrowth) / (1 + f * i);
    }
    return sum;
}

// The unit-period rate at which the positive schedule is worth `amount`, by bisection.
long double BisectRate(const std::vector<Stream>& streams, long double amount, long double unitDays) {
    long double lo = 1e-12L, hi = 5.0L;
    for (int n = 0; n < 200 && hi - lo > 1e-16L; ++n) {
        const long double mid = (lo + hi) / 2;
        if (ClosedFormPV(streams, mid, unitDays) > amount)
            lo = mid;
        else
            hi = mid;
    }
    return (lo + hi) / 2;
}

// From its disclosed 12 % the worked example converges in two passes; from 0 % in five, the
// first present value taken at a unit-period rate of 1. The one at the disclosed APR is kept.
TEST(solve_apr, worked_example_from_the_disclosed_apr_or_zero) {
    for (const auto& [disclosed, passes, firstRate] : {std::tuple(12.0, 2, 0.01L), std::tuple(0.0, 5, 1.0L)}) {
        auto r = Loan(1000, disclosed, 30, 360, {{88.85, 12, 1, 0}});
        SolveAPR(*r);
        EXPECT_EQ(std::tuple(r->gbSolverFailed, r->iSolverPasses), std::tuple(false, passes)) << disclosed;
        EXPECT_NEAR(r->gdCalcAPR, 12.0026, 0.00005);
        // The last pass started from an estimate the convergence limit away at most.
        EXPECT_NEAR(r->gdEstRate, r->gdIteratedAPR, kConvergenceLimit) << disclosed;
        EXPECT_EQ(r->gdIterDiff, std::fabs(r->gdIteratedAPR - r->gdEstRate)) << disclosed;
        EXPECT_NEAR(r->dPval, ClosedFormPV({{88.85, 12, 1, 0}}, firstRate, 30), 1e-9);
        EXPECT_DOUBLE_EQ(r->gdPymtsLessAdv, 88.85 * 12);
    }
}

// The value function under SolveAPR needs no record: a schedule, the rate and the day basis.
TEST(present_value, the_value_function_needs_no_record) {
    const PaymentSchedule schedule{{Currency::FromDouble(88.85), 12, 1, 0}};
    EXPECT_NEAR(PresentValueAt(schedule, 0.01, DayBasis{30, 360}),
                static_cast<double>(ClosedFormPV({{88.85, 12, 1, 0}}, 0.01L, 30)), 1e-9);
}

TEST(present_value, keeps_the_first_value_and_discounts_odd_days_linearly) {
    auto r = Loan(0, 0, 30, 360, {{100, 1, 2, 15}});
    r->giPVStreams = 1;
    r->gdPVRate = 0.01;
    PresentValue(*r);
    EXPECT_NEAR(r->gdPVSum, 100.0 / (1.01 * 1.01 * 1.005), 1e-12);
    EXPECT_EQ(r->dPval, r->gdPVSum);
    r->gdPVRate = 0.02;
    PresentValue(*r);
    EXPECT_NE(r->dPval, r->gdPVSum);
    EXPECT_NEAR(r->dPval, 100.0 / (1.01 * 1.01 * 1.005), 1e-12);
    // The twin always reports, and never touches dPval.
    AdjustedPresentValue(*r);
    EXPECT_EQ(r->gdPval_Adjusted, r->gdPVSum);
    EXPECT_NEAR(r->dPval, 100.0 / (1.01 * 1.01 * 1.005), 1e-12);
    // The last stream discounted stays in the stream fields (the carry to the final payment reads
    // them); where no stream is discounted they keep what they held.
    for (std::int16_t streams : {1, 0}) {
        r->giPVStreams = streams;
        PresentValue(*r);
        EXPECT_EQ(std::tuple(r->dUnitPeriods, r->gdOddDays, r->gdNumPymts), std::tuple(2.0, 15.0, 1.0)) << streams;
    }
}

TEST(present_value, the_alternate_schedule_replaces_amount_and_count) {
    auto r = Loan(0, 0, 30, 360, {{100, 12, 1, 0}});
    r->giPVStreams = 1;
    r->gdPVRate = 0.01;
    r->gaAltPymtAmt[1] = Currency::FromDouble(50);
    r->gaAltNumPymts[1] = 6;
    r->gbUseAltSchedule = true;
    PresentValue(*r);
    EXPECT_NEAR(r->gdPVSum, static_cast<double>(ClosedFormPV({{50, 6, 1, 0}}, 0.01L, 30)), 1e-9);
    AdjustedPresentValue(*r);  // ignores the flag
    EXPECT_NEAR(r->gdPval_Adjusted, static_cast<double>(ClosedFormPV({{100, 12, 1, 0}}, 0.01L, 30)), 1e-9);
}

TEST(solve_apr, an_advance_lowers_the_total_and_the_present_value) {
    auto r = Loan(5000, 10, 30, 360, {{200, 36, 1, 0}, {-1000, 1, 3, 0}});
    SolveAPR(*r);
    ASSERT_FALSE(r->gbSolverFailed);
    EXPECT_DOUBLE_EQ(r->gdPymtsLessAdv, 200 * 36 - 1000);
    const long double i = r->gdIteratedAPR;
    EXPECT_NEAR(static_cast<double>(ClosedFormPV({{200, 36, 1, 0}, {-1000, 1, 3, 0}}, i, 30)), 5000, 0.005);
}

// Degenerate inputs end in the run-time error or the failed flag (error 0 here), never in a hang.
TEST(solve_apr, degenerate_loans_end_with_an_error_or_the_failed_flag) {
    const std::vector<Stream> example{{88.85, 12, 1, 0}};
    struct {
        double amount, unitDays, yearDays;
        std::vector<Stream> streams;
        std::int16_t rows;
        int error;
    } const cases[] = {
        {1000, 30, 360, {{0, 12, 1, 0}}, 1, 0},  // every amount 0: a flat present value
        {1000, 30, 360, {}, 0, 0},
        {1000, 0, 360, example, 1, 11},
        {1000, 30, 0, example, 1, 11},
        {1000, 30, 360, example, 361, 9},
        {std::numeric_limits<double>::infinity(), 30, 360, example, 1, 6},
    };
    for (const auto& c : cases) {
        auto r = Loan(c.amount, 12, c.unitDays, c.yearDays, c.streams);
        r->giGridRowCount = c.rows;
        const int error = test::ErrorNumberOf([&] { SolveAPR(*r); });
        EXPECT_EQ(std::pair(error, r->gbSolverFailed || error != 0), std::pair(c.error, true))
            << c.amount << " over " << c.rows << " rows, U " << c.unitDays;
    }
}

TEST(solve_apr, a_construction_loan_disclosed_separately_is_one_stream) {
    auto r = Loan(1000, 12.00, 30, 360, {{88.85, 12, 1, 0}, {5, 1, 40, 0}});
    r->gbConstruction = true;
    r->gbConstOptDisc = true;
    SolveAPR(*r);
    EXPECT_EQ(r->giPVStreams, 1);
    EXPECT_NEAR(r->gdCalcAPR, 12.0026, 0.00005);
}

// Where the secant runs away from a root far below the disclosed APR (or oscillates), the root
// is still found; where no rate makes the payments worth the amount financed, the run fails.
TEST(solve_apr, a_root_the_iteration_misses_is_bracketed_and_no_root_fails) {
    struct {
        double amount, disclosed, unitDays, yearDays;
        std::vector<Stream> streams;
        bool root;
    } const cases[] = {
        // Yearly streams at a true APR near 0.909 %, disclosed at 8 % and 20 %.
        {10000, 8, 365, 365, {{370.05, 60, 60, 0}}, true},
        {10000, 8, 365, 365, {{229.40, 80, 30, 0}}, true},  // oscillates until the pass limit
        {10000, 20, 365, 365, {{2440.35, 5, 20, 0}}, true},
        {10000, 8, 365, 365, {{300, 20, 60, 0}, {400, 20, 80, 0}}, true},
        {10000, 60, 30, 360, {{29.92, 360, 1, 0}}, true},      // true APR 0.5 %
        {10000, 100, 30, 360, {{11051.25, 1, 120, 0}}, true},  // one payment ten years out
        {10000, 9999, 400, 365, {{10109.59, 1, 1, 0}}, true},  // a single payment in days
        // One odd day in a unit period of a billionth of a day: the rate -1e-9, a rate the search
        // samples, cannot be discounted, and the sign change across that pole (nearest -1 %) is no root.
        {1000, -1, 1e-9, 1e-9, {{1e10, 1, 100, 1}}, true},
        // No rate gives the amount financed.
        {1000, 12, 30, 360, {{2689, 3, 0, 0}, {1255, 2, 17, 0}}, false},  // worth at least 2,689 at any rate
        {1000, 12, 30, 360, {{500, 1, 0, 0}}, false},                     // worth 500 at every rate
        {1000, 12, 30, 360, {{-100, 12, 1, 0}}, false},                   // advances only
        // 60 odd days in 30-day periods: the odd-day factor 1 + 2i is 0 at -50 % a period, a rate
        // the halving reaches. Worth more than -100 above that pole, less than -300 below it.
        {-100, 12, 30, 360, {{50, 1, 1, 60}}, false},
    };
    for (const auto& c : cases) {
        auto r = Loan(c.amount, c.disclosed, c.unitDays, c.yearDays, c.streams);
        SolveAPR(*r);
        SCOPED_TRACE(testing::Message() << c.amount << " in " << c.streams.size() << " streams, first "
                                        << c.streams[0].amount << " x " << c.streams[0].count << ", disclosed "
                                        << c.disclosed);
        EXPECT_EQ(r->gbSolverFailed, !c.root);
        if (r->gbSolverFailed || !c.root) continue;
        const long double expected = BisectRate(c.streams, c.amount, c.unitDays) * 100.0L * c.yearDays / c.unitDays;
        EXPECT_NEAR(r->gdCalcAPR, static_cast<double>(expected), 1e-8);
    }
    // From 0 %: the rate 1 makes 1 a period out worth exactly .50; the search stops on it.
    auto exact = Loan(0.5, 0, 30, 360, {{1, 1, 1, 0}});
    SolveAPR(*exact);
    EXPECT_EQ(std::tuple(exact->gbSolverFailed, exact->gdIteratedAPR), std::tuple(false, 1.0));
}

// The unit-period bases of the frequency codes: {days in unit period, days in year}.
struct Basis {
    double unitDays, yearDays;
};

// Months (of 30 days in a 360-day year), half months, or days (of a 364-day year for whole weeks).
Basis RandomBasis(std::mt19937_64& rng) {
    const int n = std::uniform_int_distribution<int>(1, 400)(rng);
    switch (std::uniform_int_distribution<int>(0, 2)(rng)) {
    case 0: return {30.0 * (1 + n % 12), 360};
    case 1: return {15, 360};
    default: return {double(n), n % 7 == 0 ? 364.0 : 365.0};
    }
}

std::vector<Stream> RandomStreams(std::mt19937_64& rng, const Basis& basis, bool advances) {
    // Mostly short schedules, with a tenth reaching up to the full 360 streams.
    const bool longSchedule = std::uniform_int_distribution<int>(0, 9)(rng) == 0;
    const int count = std::uniform_int_distribution<int>(1, longSchedule ? 360 : 12)(rng);
    std::vector<Stream> streams;
    std::uniform_int_distribution<int> cents(100, 500000);
    std::uniform_int_distribution<int> payments(1, longSchedule ? 12 : 360);
    std::uniform_int_distribution<int> periods(0, 400);
    std::uniform_int_distribution<int> odd(0, std::max(0, static_cast<int>(basis.unitDays) - 1));
    for (int k = 0; k < count; ++k) {
        double amount = cents(rng) / 100.0;
        if (advances && std::uniform_int_distribution<int>(0, 3)(rng) == 0) amount = -amount;
        streams.push_back({amount, payments(rng), periods(rng), odd(rng)});
    }
    return streams;
}

// Random schedules. Those of positive payments lend what they are worth at a true APR, their
// one root; every run converges to it (the disclosed APR, where the solver starts, is the
// lender's figure, near the true one). Those with advances lend any amount; every run ends,
// failed or at a root. A root to the solver's precision: the present value within half a cent
// of the amount financed, or crossing it within the 1e-7 convergence limit of the rate returned.
TEST(solve_apr, random_schedules_end_at_a_root) {
    std::mt19937_64 rng(20261206);
    int roots = 0;
    for (int n = 0; n < 3000; ++n) {
        const Basis basis = RandomBasis(rng);
        const bool advances = n % 3 == 0;
        const std::vector<Stream> streams = RandomStreams(rng, basis, advances);
        const double trueApr = std::uniform_real_distribution<double>(1, 60)(rng);
        const long double trueRate = trueApr * basis.unitDays / basis.yearDays / 100.0L;
        const double amount = advances
                                  ? std::uniform_int_distribution<int>(100, 10000000)(rng) / 100.0
                                  : std::round(double(ClosedFormPV(streams, trueRate, basis.unitDays)) * 100) / 100;
        if (amount < 1) continue;  // discounted to nothing: not a loan
        const double disclosed = trueApr * std::uniform_real_distribution<double>(0.7, 1.3)(rng);
        auto r = Loan(amount, disclosed, basis.unitDays, basis.yearDays, streams);
        const std::string where = "schedule " + std::to_string(n) + ", U " + std::to_string(basis.unitDays);
        // Only the disclosed APR's own pass may fault, and only with advances.
        if (const int error = test::ErrorNumberOf([&] { SolveAPR(*r); })) {
            EXPECT_TRUE(advances && r->iSolverPasses == 1) << where << ": run-time error " << error;
            continue;
        }
        EXPECT_TRUE(advances || !r->gbSolverFailed) << where;
        if (r->gbSolverFailed) continue;
        EXPECT_LE(r->gdIterDiff, 1e-7) << where << ": stopped before a pass moved the rate by at most 1e-7";
        const long double i = r->gdIteratedAPR;
        const long double below = ClosedFormPV(streams, i - kConvergenceLimit, basis.unitDays) - amount;
        const long double above = ClosedFormPV(streams, i + kConvergenceLimit, basis.unitDays) - amount;
        const long double at = ClosedFormPV(streams, i, basis.unitDays) - amount;
        EXPECT_TRUE(std::fabs(at) <= 0.005L || (below > 0) != (above > 0))
            << where << ": present value off by " << static_cast<double>(at);
        ++roots;
    }
    EXPECT_GT(roots, 2500);  // all the positive ones and most of the others
}

}  // namespace
}  // namespace tallex
