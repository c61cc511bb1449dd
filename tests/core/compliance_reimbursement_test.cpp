// Reimbursement, checked on meaning with closed forms computed here: a prorated schedule must
// have the adjusted APR (found by bisection, independently of the engine); a change c on n
// payments carried forward to the last of them at rate i is c x ((1 + i)^n - 1) / i; the
// finance-charge method's adjusted total of one stream is n x P / a(n, i), a = (1 - (1+i)^-n) / i.

#include "compliance/DisclosureResults.h"
#include "compliance/Reimbursement.h"
#include "compliance/ReimbursementScreen.h"
#include "compliance/ResultGrids.h"
#include "engine/AprSolver.h"
#include "engine/Format.h"
#include "engine/RuntimeError.h"
#include "report/ReportText.h"
#include "ui/MemoryResultsView.h"
#include "ui/ScriptedUser.h"

#include "TestLoans.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace tallex {
namespace {

struct Row {
    long double amount, count, unitPeriods, oddDays;
};

std::vector<Row> Parse(const std::string& rows) {
    std::vector<Row> out;
    std::istringstream in(rows);
    Row row;
    std::string bar;
    while (in >> row.amount >> row.count >> row.unitPeriods >> row.oddDays) {
        out.push_back(row);
        in >> bar;
    }
    return out;
}

// The results page of a monthly loan ("amount count unitPeriods oddDays | ..."), finance charge
// disclosed as `fc` (default: correctly); the question about the finance charge error is
// answered No.
std::unique_ptr<LoanRecord> Loan(double p, double apr, const std::string& rows, double fc = -1, bool secured = false) {
    auto r = test::SolvedMonthlyLoan(p, apr, rows);
    r->gbAppendixJ = true;
    r->gbSecuredByRealEstate = secured;
    r->gdEstFinanceChg = fc >= 0 ? fc : r->gdPymtsLessAdv - p;
    MemoryResultsView view;
    ScriptedUser user;
    ComputeDisclosureResults(*r, view, user, {});
    return r;
}

std::unique_ptr<LoanRecord> Reimbursed(double p, double apr, const std::string& rows, int tolerance) {
    auto r = Loan(p, apr, rows);
    StartReimbursement(*r, tolerance);
    return r;
}

long double Value(const std::vector<Row>& rows, long double factor, long double i) {
    long double sum = 0;
    for (const Row& s : rows) {
        sum += s.amount * factor * (1 - std::pow(1 + i, -s.count)) / i * (1 + i) /
               (std::pow(1 + i, s.unitPeriods) * (1 + s.oddDays / 30 * i));
    }
    return sum;
}

double AprByBisection(const std::vector<Row>& rows, long double factor, long double amount) {
    long double lo = 1e-9L, hi = 1.0L;
    for (int n = 0; n < 200; ++n) {
        const long double mid = (lo + hi) / 2;
        (Value(rows, factor, mid) > amount ? lo : hi) = mid;
    }
    return static_cast<double>((lo + hi) / 2 * 1200);
}

double Ticks(double x) { return std::nearbyint(x * 10000) / 10000; }
double CarriedForward(double change, int n, double i) { return change * (std::pow(1 + i, n) - 1) / i; }
double Annuity(int n, double i) { return (1 - std::pow(1 + i, -n)) / i; }

const char* const kTwelve = "88.85 12 1 0";  // $1,000.00 at 12.0026 %

TEST(apr_method, prorated_schedule_has_the_adjusted_apr) {
    struct {
        double p, disclosed;
        const char* rows;
        int tolerance;
        double adjusted;
    } const cases[] = {
        {1000, 11.5, kTwelve, kToleranceQuarter, 11.75},
        {4500, 10, "300 1 1 0 | 150 35 2 0", kToleranceZero, 10},
        {7000, 8, "200 12 1 15 | 250 12 13 15 | 300 12 25 15", kToleranceEighth, 8.125},
    };
    for (const auto& c : cases) {
        auto r = Reimbursed(c.p, c.disclosed, c.rows, c.tolerance);
        const std::vector<Row> rows = Parse(c.rows);
        const double apr = AprByBisection(rows, r->gdProrateFactor, c.p);
        SCOPED_TRACE(testing::Message() << c.rows << ": prorate factor " << r->gdProrateFactor << " gives " << apr
                                        << " %");
        EXPECT_DOUBLE_EQ(r->gdAdjustedAPR, c.adjusted);
        EXPECT_NEAR(apr, c.adjusted, 1e-6);
        EXPECT_LT(r->gdProrateFactor, 1.0);
        EXPECT_NEAR(r->gdAdjPVDiff, c.p - Value(rows, 1, c.adjusted / 1200.0L), 1e-8);
    }
}

TEST(apr_method, final_adjustment_is_the_payment_changes_carried_to_the_final_payment) {
    auto r = Reimbursed(1000, 11.5, kTwelve, kToleranceQuarter);
    const double change = Ticks(88.85 * r->gdProrateFactor) - 88.85;
    EXPECT_NEAR(r->gdAPRAdjFinal, CarriedForward(change, 12, 11.75 / 1200), 1e-9) << "change " << change;
    EXPECT_LT(r->gdAPRAdjFinal, -1.0);
    EXPECT_EQ(r->gaPymtAmt[1] + " " + r->gaNumPymts[1], "88.85 12");  // cells back as plain numbers
    EXPECT_EQ(std::tie(r->gbUseAltSchedule, r->giPVStreams, r->iNPTotal, r->dTempAPR), std::tuple(false, 1, 12, 11.5));
}

// A later advance is valued at the disclosed APR and counts no payment.
TEST(apr_method, later_advance_is_valued_at_the_disclosed_apr) {
    auto r = Reimbursed(1000, 10, "70 24 1 0 | -500 1 3 0", kToleranceQuarter);
    const double advance = 500 / std::pow(1 + 10.0 / 1200, 3);
    EXPECT_NEAR(r->dAdvances, advance, 1e-9);
    EXPECT_NEAR(r->gdAdjAmount, 1000 + advance, 1e-9);
    EXPECT_EQ(std::tie(r->iNPTotal, r->dUnitPeriodTot), std::tuple(24, 4.0));  // last row: 3 unit periods + 1
    // The count is a 16-bit integer: 32,768 payments overflow it.
    try {
        StartReimbursement(*test::MonthlyScheduleOf("10 20000 1 0 | 10 12768 20001 0"), kToleranceQuarter);
        ADD_FAILURE() << "no overflow";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), 6);
    }
    ASSERT_TRUE(r->gbAPRUnderViol);
    ASSERT_TRUE(ReimbursementActivation(*r).gridVisible);
    EXPECT_EQ(ReimbursementGridRows(*r),
              (std::vector<GridRow>{{"1", "$70.00", Format(70 * r->gdProrateFactor, "Currency"), "24", "1", "0"},
                                    {"2", "-$500.00", "(Advance)", "1", "3", "0"}}));
    EXPECT_EQ(SetColumnsRB()[2].caption, "Adjusted Payment");
}

TEST(cut_schedule, stops_after_the_limit) {
    struct {
        const char* rows;
        double limit;
        int last;
        double count;
    } const cases[] = {
        {"100 12 1 0 | 90 24 13 0", 12, 1, 12},
        {"100 12 1 0 | 90 24 13 0", 20, 2, 8},
        {"100 12 1 0 | 90 24 13 0", 36, 2, 24},
        {"100 12 1 0 | -50 1 5 0 | 90 24 13 0", 20, 3, 8},  // a later advance counts no payment
        {"100 12 1 0 | -50 1 5 0 | 90 24 13 0", 13, 3, 1},  // so the 13th is stream 3's first
    };
    for (const auto& c : cases) {
        auto r = Loan(3000, 10, c.rows);
        r->gdProrateFactor = 0.99;
        const int last = CutSchedule(*r, c.limit);
        EXPECT_EQ(last, c.last) << c.rows << " limit " << c.limit;
        EXPECT_EQ(r->gaAltNumPymts[last], c.count) << c.rows << " limit " << c.limit;
        EXPECT_EQ(r->gaAltPymtAmt[1].ToDouble(), -1.0);  // 100 x 0.99 - 100
        EXPECT_EQ(r->gaAltPymtAmt[2].ToDouble(), c.last == 3 ? 0.0 : -0.9);
    }
    // An advance changes by nothing at any factor, also one far below 1 (a grossly understated APR).
    auto far = Loan(3000, 10, "100 12 1 0 | -50 1 5 0 | 90 24 13 0");
    far->gdProrateFactor = 0.4;
    CutSchedule(*far, 36);
    EXPECT_EQ(std::tuple(far->gaAltPymtAmt[1].ToDouble(), far->gaAltPymtAmt[2].ToDouble()), std::tuple(-60.0, 0.0));
    auto r = Loan(1000, 0, kTwelve);
    EXPECT_THROW(CutSchedule(*r, 0), RuntimeError);  // nothing before the first payment
    r->giPVStreams = kMaxStreams + 1;
    EXPECT_THROW(CutSchedule(*r, 12), RuntimeError);  // more streams than the schedule holds
}

// The lump sums for prior payments: the payment changes (lump sum / payment reduction) and the
// whole overcharge gdAdjPVDiff (lump sum), both carried forward to the last prior payment.
TEST(show_adjustments, lump_sums_carry_to_the_last_prior_payment) {
    for (int prior : {12, 5, 1}) {
        auto r = Reimbursed(1000, 11.5, kTwelve, kToleranceQuarter);
        ReimbursementActivation(*r);
        ScriptedUser user;
        const ShowAdjustmentsResult out = ShowAdjustments(*r, user, std::to_string(prior), 1);
        const double i = 11.75 / 1200, change = Ticks(88.85 * r->gdProrateFactor) - 88.85;
        SCOPED_TRACE(testing::Message() << prior << " prior payments, change " << change);
        EXPECT_TRUE(out.accepted && out.lumpSumsVisible && out.printEnabled && user.prompts().empty());
        EXPECT_NEAR(r->gdLumpSumPR, CarriedForward(change, prior, i), 1e-9);
        EXPECT_NEAR(r->gdLumpSum, (1000 - 88.85 * Annuity(12, i)) * std::pow(1 + i, prior), 1e-9);
        EXPECT_EQ(out.lblLmpSumPymtRed2, Format(r->gdLumpSumPR, "Currency"));
        EXPECT_EQ(out.lblLmpSum2, Format(r->gdLumpSum, "Currency"));
        EXPECT_EQ(out.lblPymtsRedMeth2 + " " + out.lblPymtsLmpSum2, std::to_string(prior) + " 12");
    }
}

// With every payment made both methods owe the whole overcharge at the final payment: the
// payment-reduction sum covers every payment and is the APR adjustment itself.
TEST(show_adjustments, prior_payments_equal_to_the_total_cover_every_payment) {
    auto r = Reimbursed(4500, 10, "300 1 1 0 | 150 35 2 0", kToleranceZero);
    ScriptedUser user;
    ASSERT_TRUE(ShowAdjustments(*r, user, "36", 2).accepted);
    EXPECT_NEAR(r->gdLumpSumPR, r->gdAPRAdjFinal, 1e-9);
    // The payment reduction uses changes in whole ten-thousandths: 36 x 0.00005 carried apart.
    EXPECT_NEAR(r->gdLumpSum, r->gdLumpSumPR, 36 * 0.00005 * 1.4);
    EXPECT_LT(r->gdLumpSum, -1.0);
    EXPECT_EQ(r->giPVStreams, 2);
}

TEST(show_adjustments, refusals) {
    const char* const range =
        "# of prior payments must be greater than 0 and less than or equal to the total number of payments (12).";
    const std::pair<const char*, const char*> cases[] = {
        {"", "# of prior payments must be entered before showing adjustments."}, {"0", range}, {"13", range}};
    for (const auto& [prior, message] : cases) {
        auto r = Reimbursed(1000, 11.5, kTwelve, kToleranceQuarter);
        ScriptedUser user;
        const ShowAdjustmentsResult out = ShowAdjustments(*r, user, prior, 1);
        EXPECT_FALSE(out.accepted || out.lumpSumsVisible) << "'" << prior << "'";
        ASSERT_EQ(user.prompts().size(), 1u);
        EXPECT_EQ(std::tie(user.prompts()[0].text, user.prompts()[0].style), std::tuple(message, kStyleExclamation));
    }
    for (const auto& [key, allowed] : {std::pair{'0', true}, {'9', true}, {'\b', true}, {'a', false}, {'.', false}}) {
        LoanRecord rec;
        ScriptedUser user;
        EXPECT_EQ(PriorPaymentsKeyAllowed(rec, user, key), allowed) << "key " << int(key);
        EXPECT_EQ(user.prompts().empty() ? "" : user.prompts()[0].text,
                  allowed ? "" : "For # of prior payments, enter numbers only.");
    }
}

// Finance-charge method at the correct APR less 1/4 point: the adjustment is the amount
// financed plus the disclosed finance charge less the adjusted total of payments.
TEST(finance_charge_method, adjustment_against_the_adjusted_total_of_payments) {
    auto r = Loan(1000, 12, kTwelve, 50);  // understated by 16.20: a violation, the APR is right
    ASSERT_TRUE(r->gbFCUnderViol && !r->gbAPRUnderViol);
    StartReimbursement(*r, kToleranceQuarter);
    const double i = (r->gdCalcAPR - 0.25) / 1200, adjustedTotal = 12 * 1000 / Annuity(12, i);
    EXPECT_DOUBLE_EQ(r->gdFCAdjAPR, r->gdCalcAPR - 0.25);
    EXPECT_NEAR(r->gdFCAdjTotal, adjustedTotal, 1e-9);
    EXPECT_NEAR(r->gdFCAdjustment, 1000 + 50 - adjustedTotal, 1e-9);

    // A dollar or less is no adjustment. Set against the record's own adjusted total, so that the
    // adjustment before the rule is exactly the dollar.
    for (const auto& [wanted, kept] : {std::pair{-0.50, 0.0}, {-1.00, 0.0}, {-1.50, -1.50}, {3.00, 0.0}}) {
        r->gdEstFinanceChg = r->gdFCAdjTotal - 1000 + wanted;
        FinanceChargeMethod(*r);
        EXPECT_NEAR(r->gdFCAdjustment, kept, 1e-9) << "adjustment before the rule " << wanted;
    }

    // No tolerance: the finance-charge error itself, at the correct APR, and the APR method too.
    auto z = Loan(1000, 12, kTwelve, 50);
    StartReimbursement(*z, kToleranceZero);
    EXPECT_NEAR(z->gdFCAdjustment, -16.20, 1e-9);
    EXPECT_DOUBLE_EQ(z->gdFCAdjAPR, z->gdCalcAPR);
    EXPECT_GT(z->gdProrateFactor, 0.0);
}

TEST(reimbursement_screen, activation_decisions) {
    using F = ReimbursementFocus;
    struct {
        bool apr, fc;
        std::int16_t freq;
        double final;
        bool grid, prior, print, aprAdj, owedAfter;
        const char* finalAmount;
        F focus;
    } const cases[] = {
        {true, false, kFreqMonthly, -1.53, true, true, false, false, true, "-$1.53", F::PriorPayments},
        {true, false, kFreqMonthly, -1.00, true, true, false, false, true, "-$1.00", F::PriorPayments},
        {true, false, kFreqMonthly, -0.99, false, false, true, true, false, "-$0.99", F::Print},  // "0.00"
        {true, false, kFreqMonthly, 0.40, false, false, true, true, false, "", F::Print},
        {true, false, kFreqEqualMonthsSingle, -25, true, false, true, false, true, "-$25.00", F::Print},
        {true, false, kFreqConstructionOnly, -25, false, false, true, false, true, "-$25.00", F::Print},
        {false, true, kFreqMonthly, 0, false, false, true, false, false, "", F::Print},
        {true, true, kFreqMonthly, -1.53, true, true, false, false, true, "-$1.53", F::PriorPayments},
    };
    for (const auto& c : cases) {
        const auto prepared = [&c] {
            auto r = Reimbursed(1000, 11.5, kTwelve, kToleranceQuarter);
            r->gbAPRUnderViol = c.apr;
            r->gbFCUnderViol = c.fc;
            r->giPymtFreq = c.freq;
            r->gdAPRAdjFinal = c.final;
            r->gdFCAdjAPR = 11.7526;
            r->gdFCAdjustment = -7.5;
            return r;
        };
        auto r = prepared(), bare = prepared();
        const ReimbursementScreen s = ReimbursementActivation(*r), q = ReimbursementActivation(*bare, false);
        SCOPED_TRACE(testing::Message() << "APR " << c.apr << " FC " << c.fc << " code " << c.freq << " final "
                                        << c.final);
        const auto shown = [](const ReimbursementScreen& x) {
            return std::tuple(x.gridVisible, x.priorPaymentsVisible, x.showAdjustmentsVisible, x.printEnabled,
                              x.aprMethodVisible, x.aprAdjustmentVisible, x.financeChargeAdjustmentVisible, x.focus);
        };
        EXPECT_EQ(shown(s), std::tuple(c.grid, c.prior, c.prior, c.print, c.apr, c.aprAdj, c.fc, c.focus));
        // Without captions (the command line): the same page and record, no caption composed.
        EXPECT_EQ(shown(q), shown(s));
        EXPECT_EQ(q.captions.caption + q.captions.lblPercent2 + q.captions.lblFnceChgAdj2 + q.captions.lblAdjAPR2 +
                      q.captions.lblProFactor2 + q.captions.lblFinalAPRAdj2 + q.captions.lblPercentAPR,
                  "");
        EXPECT_EQ(std::tie(bare->gbNoAPRReimbOwed, bare->gaPymtDbl), std::tie(r->gbNoAPRReimbOwed, r->gaPymtDbl));
        EXPECT_EQ(s.captions.caption, "Reimbursement Information (using reimbursement tolerance of .25%)");
        // The tests' finding stands; what the page found is a fact of its own.
        EXPECT_EQ(std::tuple(r->gbAPRUnderViol, AprReimbursementOwed(*r), ReimbursementOffersPriorPayments(*r)),
                  std::tuple(c.apr, c.owedAfter, c.prior));
        EXPECT_EQ(s.captions.lblFinalAPRAdj2, c.apr ? c.finalAmount : "");
        EXPECT_EQ(s.captions.lblFinalAPRAdj, *c.finalAmount && c.apr ? "APR Adjustment as of Final Payment Date" : "");
        EXPECT_EQ(s.captions.lblAdjAPR2, c.apr ? "11.750 %" : "");
        EXPECT_EQ(s.captions.lblPercentAPR + s.captions.lblAPRAdj2, c.aprAdj ? "11.750 %):0.00" : "");
        EXPECT_EQ(s.captions.lblPercent2 + " " + s.captions.lblFnceChgAdj2, "11.753 %): -$7.50");
        EXPECT_EQ(s.priorPaymentsVisible, c.prior);  // the entry box too, not only its button
    }
    const std::pair<int, const char*> captions[] = {{kToleranceZero, "0%)"}, {kToleranceEighth, ".125%)"}};
    for (const auto& [index, tail] : captions) {
        auto r = Reimbursed(1000, 11.5, kTwelve, index);
        EXPECT_EQ(ReimbursementActivation(*r).captions.caption,
                  std::string("Reimbursement Information (using reimbursement tolerance of ") + tail);
    }
}

// What the reimbursement page finds is a fact of its own: an APR adjustment of less than a dollar
// means no APR reimbursement (gbNoAPRReimbOwed), while the APR understatement violation the tests
// found stands for the report's tolerance lines, on the reimbursement page and back on the
// results page; the payment schedule and the reimbursement part of the report read whether the
// adjustment is owed. The lump sums appear in the report only while the page shows them.
//
// The figures: 12 x 8.91 on 100 is an APR of 12.5366 % (by bisection); scaled to 12.25 % each
// payment loses 1.34 cents, 17 cents at the final payment. 12 x 89.00 on 1,000 is 12.3231 %: at
// 12.25 % the adjustment is 43 cents, at the disclosed 12 % (tolerance 0) $1.92. 36 x 330 on
// 10,000 is 11.5504 %, an adjustment of $258.07 at 10.25 %.
TEST(reimbursement_findings, the_violation_stands_and_each_part_of_the_report_reads_its_fact) {
    const std::string kViolation = "      ** VIOLATION **  APR is understated by:";
    const std::string kAccurate = "      APR is understated but considered accurate under 226.22(a)(5).";
    const std::string kSchedule = "      Payment                        Number of    Whole Unit     Odd";
    const std::string kReimbursementTable =
        "       Adjusted APR       Prorate Factor      APR Adjustment as of Final Payment Date";
    const std::string kAprAdjustmentZero = "      APR Adjustment:                 0.00      Using APR of ";
    const std::string kLumpSum = "      Lump Sum Method:                     ";
    const std::string kLumpSumPR = "      Lump Sum / Payment Reduction Method: ";
    // Steps: "R" and a tolerance index presses Reimbursement (and activates the page); "P" and a
    // count types the prior payments and presses Show Adjustments. The disclosed finance charge is
    // short by `fcShort`; on the secured loan the tests ask whether the finance charge error caused
    // the APR error, answered No, and the adjusted present value still shows the violation.
    struct Case {
        const char* name;
        double p, disclosed;
        const char* rows;
        double fcShort;
        bool secured;
        const char* steps;
        bool owed, offersPrior, lumpSums;
    } const cases[] = {
        {"under a dollar", 100, 12, "8.91 12 1 0", 0, false, "R2", false, false, false},
        {"under a dollar, secured", 100, 12, "8.91 12 1 0", 0.05, true, "R2", false, false, false},
        {"under a dollar at .25, then owed at 0", 1000, 12, "89.00 12 1 0", 0, false, "R2 R0", true, true, false},
        {"owed at 0, then under a dollar at .25", 1000, 12, "89.00 12 1 0", 0, false, "R0 R2", false, false, false},
        {"owed, 12 prior payments", 10000, 10, "330 36 1 0", 0, false, "R2 P12", true, true, true},
        {"owed, a count out of range after 12", 10000, 10, "330 36 1 0", 0, false, "R2 P12 P40", true, true, false},
        {"owed, 12 prior payments, pressed again", 10000, 10, "330 36 1 0", 0, false, "R2 P12 R2", true, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<Row> rows = Parse(c.rows);
        const double total = static_cast<double>(rows[0].amount * rows[0].count);
        auto r = Loan(c.p, c.disclosed, c.rows, total - c.p - c.fcShort, c.secured);
        ASSERT_TRUE(r->gbAPRUnderViol && r->gbSubjToReimb && !r->gbFCUnderViol);
        EXPECT_EQ(r->giAPRUnderByFC, c.secured ? 0 : kNotAsked);
        ScriptedUser user;
        std::istringstream steps(c.steps);
        for (std::string step; steps >> step;) {
            if (step[0] == 'R') {
                StartReimbursement(*r, step[1] - '0');
                ReimbursementActivation(*r);
            } else {
                ShowAdjustments(*r, user, step.substr(1), 1);
            }
        }
        EXPECT_EQ(std::tuple(r->gbAPRUnderViol, AprReimbursementOwed(*r), r->gbNoAPRReimbOwed,
                             ReimbursementOffersPriorPayments(*r), r->gbLumpSumsShown),
                  std::tuple(true, c.owed, !c.owed, c.offersPrior, c.lumpSums));

        // Back on the results page nothing is recomputed; its report follows.
        r->gbBackFromReimb = true;
        MemoryResultsView view;
        ComputeDisclosureResults(*r, view, user, {});
        const std::vector<std::string> report = WriteReport(*r, {}, "0");
        const auto has = [&](const std::string& start) {
            return std::any_of(report.begin(), report.end(),
                               [&](const std::string& l) { return l.rfind(start, 0) == 0; });
        };
        // The schedule is listed on its own unless the reimbursement table lists it.
        EXPECT_EQ(std::tuple(has(kViolation), has(kAccurate), has(kSchedule), has(kReimbursementTable),
                             has(kAprAdjustmentZero), has(kLumpSum), has(kLumpSumPR)),
                  std::tuple(true, false, !c.owed, c.owed, false, c.lumpSums, c.lumpSums))
            << JoinReportLines(report);
    }
}

// Reimbursement with no tolerance selected (the results page of a single payment in days selects
// none) asks for one and computes nothing.
TEST(reimbursement_tolerance, none_chosen_asks_for_one) {
    for (int index : {kToleranceNone, kToleranceZero, kToleranceQuarter}) {
        LoanRecord r;
        ScriptedUser user;
        const bool none = index == kToleranceNone;
        EXPECT_EQ(ReimbursementToleranceChosen(r, user, index), !none) << index;
        ASSERT_EQ(user.prompts().size(), none ? 1u : 0u) << index;
        if (none) {
            EXPECT_EQ(std::tie(user.prompts()[0].text, user.prompts()[0].style),
                      std::tuple("Select a reimbursement tolerance before choosing Reimbursement.", kStyleExclamation));
        }
    }
}

}  // namespace
}  // namespace tallex
