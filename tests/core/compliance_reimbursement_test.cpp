// Reimbursement: the APR method (payments prorated down to the disclosed APR plus the
// tolerance), the finance-charge method, the lump sums of Show Adjustments and what the
// reimbursement page shows.
//
// The checks are on meaning, with expected values from closed forms computed here: a prorated
// schedule must have the adjusted APR (found by bisection, independently of the engine); a
// payment change c on n payments, carried forward to the last of them at rate i, is worth
// c x ((1 + i)^n - 1) / i; the finance-charge method's adjusted total of one stream of n
// payments is n x P / a(n, i), a(n, i) = (1 - (1 + i)^-n) / i.

#include "compliance/DisclosureResults.h"
#include "compliance/Reimbursement.h"
#include "compliance/ReimbursementScreen.h"
#include "compliance/ResultGrids.h"
#include "engine/AprSolver.h"
#include "engine/Format.h"
#include "engine/LoanRecord.h"
#include "engine/RuntimeError.h"
#include "ui/MemoryResultsView.h"
#include "ui/ScriptedUser.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace tallex {
namespace {

struct Row {
    std::string amount, count, unitPeriods, oddDays;
};

std::unique_ptr<LoanRecord> SolvedLoan(double amount, double disclosedApr, const std::vector<Row>& rows) {
    auto r = std::make_unique<LoanRecord>();
    int k = 0;
    double total = 0;
    for (const Row& row : rows) {
        ++k;
        r->gaPymtCol0[k] = std::to_string(k);
        r->gaPymtAmt[k] = row.amount;
        r->gaNumPymts[k] = row.count;
        r->gaUnitPeriods[k] = row.unitPeriods;
        r->gaOddDays[k] = row.oddDays;
        total += std::stod(row.amount) * std::stod(row.count);
    }
    r->giPymtRows = r->giGridRowCount = static_cast<std::int16_t>(k);
    r->gdAmount = amount;
    r->gdDisclAPR = disclosedApr;
    r->gdEstFinanceChg = total - amount;  // the finance charge disclosed correctly
    r->gdDaysinUnitPd = 30;
    r->gdDaysinYr = 360;
    r->giPymtFreq = kFreqMonthly;
    r->gbAppendixJ = true;
    SolveAPR(*r);
    return r;
}

// The results page, then its Reimbursement button with the given tolerance option.
std::unique_ptr<LoanRecord> Reimbursed(double amount, double disclosedApr, const std::vector<Row>& rows,
                                       int toleranceIndex) {
    auto r = SolvedLoan(amount, disclosedApr, rows);
    MemoryResultsView view;
    ScriptedUser user;
    ComputeDisclosureResults(*r, view, user, {"", ""});
    StartReimbursement(*r, toleranceIndex);
    return r;
}

// Closed-form present value of a schedule with every amount multiplied by `factor`, at the
// unit-period rate i (long double, independent of the engine).
long double ScaledValue(const std::vector<Row>& rows, long double factor, long double i) {
    long double sum = 0;
    for (const Row& row : rows) {
        const long double n = std::stold(row.count), t = std::stold(row.unitPeriods), f = std::stold(row.oddDays) / 30;
        sum += std::stold(row.amount) * factor * (1 - std::pow(1 + i, -n)) / i * (1 + i) / (std::pow(1 + i, t) * (1 + f * i));
    }
    return sum;
}

// The annual percentage (30/360) at which the scaled schedule is worth `amount`, by bisection.
double AprByBisection(const std::vector<Row>& rows, long double factor, long double amount) {
    long double lo = 1e-9L, hi = 1.0L;
    for (int n = 0; n < 200; ++n) {
        const long double mid = (lo + hi) / 2;
        (ScaledValue(rows, factor, mid) > amount ? lo : hi) = mid;
    }
    return static_cast<double>((lo + hi) / 2 * 1200);
}

double ToCents4(double x) { return std::nearbyint(x * 10000) / 10000; }

double CarriedForward(double change, int n, double i) { return change * (std::pow(1 + i, n) - 1) / i; }

const std::vector<Row> kTwelveMonths = {{"88.85", "12", "1", "0"}};

// ---------------------------------------------------------------------------------------------
// APR method.

TEST(apr_method, prorated_schedule_has_the_adjusted_apr) {
    struct Case {
        const char* name;
        double amount, disclosed;
        std::vector<Row> rows;
        int tolerance;
        double adjusted;
    };
    const std::vector<Case> cases = {
        {"12 monthly payments, 1/4 point", 1000, 11.5, kTwelveMonths, kToleranceQuarter, 11.75},
        {"irregular first payment, no tolerance", 4500, 10, {{"300", "1", "1", "0"}, {"150", "35", "2", "0"}},
         kToleranceZero, 10},
        {"three streams with odd days, 1/8 point", 7000, 8,
         {{"200", "12", "1", "15"}, {"250", "12", "13", "15"}, {"300", "12", "25", "15"}}, kToleranceEighth, 8.125},
    };
    for (const Case& c : cases) {
        auto r = Reimbursed(c.amount, c.disclosed, c.rows, c.tolerance);
        const double apr = AprByBisection(c.rows, r->gdProrateFactor, c.amount);
        EXPECT_DOUBLE_EQ(r->gdAdjustedAPR, c.adjusted) << c.name;
        EXPECT_NEAR(apr, r->gdAdjustedAPR, 1e-6)
            << c.name << ": prorate factor " << r->gdProrateFactor << " gives " << apr << " %";
        EXPECT_LT(r->gdProrateFactor, 1.0) << c.name << ": the APR was understated, the payments come down";
        EXPECT_NEAR(r->gdAdjPVDiff, c.amount - ScaledValue(c.rows, 1, c.adjusted / 1200.0L), 1e-8) << c.name;
    }
}

TEST(apr_method, final_adjustment_is_the_payment_changes_carried_to_the_final_payment) {
    auto r = Reimbursed(1000, 11.5, kTwelveMonths, kToleranceQuarter);
    const double i = 11.75 / 1200;
    const double change = ToCents4(88.85 * r->gdProrateFactor) - 88.85;
    EXPECT_NEAR(r->gdAPRAdjFinal, CarriedForward(change, 12, i), 1e-9) << "change per payment " << change;
    EXPECT_LT(r->gdAPRAdjFinal, -1.0);
    // The cells are back, as plain numbers.
    EXPECT_EQ(r->gaPymtAmt[1], "88.85");
    EXPECT_EQ(r->gaNumPymts[1], "12");
    EXPECT_FALSE(r->gbUseAltSchedule);
    EXPECT_EQ(r->giPVStreams, 1);
}

// A later advance is valued at the disclosed APR and added to both sides.
TEST(apr_method, later_advance_is_valued_at_the_disclosed_apr) {
    auto r = Reimbursed(1000, 10, {{"70", "24", "1", "0"}, {"-500", "1", "3", "0"}}, kToleranceQuarter);
    const double advance = 500 / std::pow(1 + 10.0 / 1200, 3);
    EXPECT_NEAR(r->dAdvances, advance, 1e-9);
    EXPECT_NEAR(r->gdAdjAmount, 1000 + advance, 1e-9);
    EXPECT_EQ(r->iNPTotal, 24);
    EXPECT_DOUBLE_EQ(r->dUnitPeriodTot, 4);  // last row: unit periods 3 + 1 payment
    EXPECT_DOUBLE_EQ(r->dTempAPR, 10);
}

TEST(start_reimbursement, tolerance_of_each_option) {
    const std::pair<int, double> cases[] = {{kToleranceZero, 0}, {kToleranceEighth, 0.125}, {kToleranceQuarter, 0.25}};
    for (const auto& [index, tolerance] : cases) {
        auto r = Reimbursed(1000, 11.5, kTwelveMonths, index);
        EXPECT_EQ(r->dTolerance, tolerance) << "option " << index;
        EXPECT_EQ(r->gdAdjustedAPR, 11.5 + tolerance) << "option " << index;
        EXPECT_EQ(r->iNPTotal, 12);
    }
    EXPECT_THROW(ReimbursementToleranceOf(3), RuntimeError);
}

// ---------------------------------------------------------------------------------------------
// CutSchedule: the alternate schedule stops right after payment number `limit`.

TEST(cut_schedule, stops_after_the_limit) {
    struct Case {
        const char* name;
        std::vector<Row> rows;
        double limit;
        int last;
        double lastCount;
    };
    const std::vector<Case> cases = {
        {"end of the first stream", {{"100", "12", "1", "0"}, {"90", "24", "13", "0"}}, 12, 1, 12},
        {"inside the second stream", {{"100", "12", "1", "0"}, {"90", "24", "13", "0"}}, 20, 2, 8},
        {"every payment", {{"100", "12", "1", "0"}, {"90", "24", "13", "0"}}, 36, 2, 24},
        {"a later advance counts no payment",
         {{"100", "12", "1", "0"}, {"-50", "1", "5", "0"}, {"90", "24", "13", "0"}}, 20, 3, 8},
        {"inside the first stream", {{"100", "12", "1", "0"}, {"90", "24", "13", "0"}}, 5, 1, 5},
    };
    for (const Case& c : cases) {
        auto r = std::make_unique<LoanRecord>();
        int k = 0;
        for (const Row& row : c.rows) {
            ++k;
            r->gaPymtAmt[k] = row.amount;
            r->gaNumPymts[k] = row.count;
            r->gaUnitPeriods[k] = row.unitPeriods;
            r->gaOddDays[k] = row.oddDays;
        }
        r->giPymtRows = r->giPVStreams = static_cast<std::int16_t>(k);
        r->gdProrateFactor = 0.99;
        const int last = CutSchedule(*r, c.limit);
        EXPECT_EQ(last, c.last) << c.name;
        EXPECT_EQ(r->gaAltNumPymts[last], c.lastCount) << c.name;
        // Each payment changes by its prorated amount in cents less itself; advances do not change.
        EXPECT_EQ(r->gaAltPymtAmt[1].ToDouble(), -1.0) << c.name;
        if (c.rows.size() == 3) {
            EXPECT_EQ(r->gaAltPymtAmt[2].ToDouble(), 0.0) << c.name;
        }
    }
    auto r = std::make_unique<LoanRecord>();
    r->gaPymtAmt[1] = "100";
    r->gaNumPymts[1] = "12";
    r->giPVStreams = 1;
    EXPECT_THROW(CutSchedule(*r, 0), RuntimeError);  // nothing before the first payment
}

// ---------------------------------------------------------------------------------------------
// Show Adjustments: the lump sums for the payments already made.

TEST(show_adjustments, lump_sums_carry_the_changes_to_the_last_prior_payment) {
    struct Case {
        const char* prior;
        int n;
    };
    const Case cases[] = {{"12", 12}, {"5", 5}, {"1", 1}};
    for (const Case& c : cases) {
        auto r = Reimbursed(1000, 11.5, kTwelveMonths, kToleranceQuarter);
        ReimbursementActivation(*r);
        ScriptedUser user;
        const ShowAdjustmentsResult out = ShowAdjustments(*r, user, c.prior, 1);
        const double i = 11.75 / 1200;
        const double change = ToCents4(88.85 * r->gdProrateFactor) - 88.85;
        // gdAdjPVDiff: the amount financed less the schedule's value at the adjusted APR.
        const double adjustedValueDiff = 1000 - 88.85 * (1 - std::pow(1 + i, -12)) / i;
        SCOPED_TRACE(testing::Message() << c.prior << " prior payments, change " << change);
        EXPECT_TRUE(out.accepted);
        EXPECT_TRUE(out.lumpSumsVisible);
        EXPECT_TRUE(out.printEnabled);
        EXPECT_TRUE(user.prompts().empty());
        EXPECT_EQ(r->giRateChangePymts, c.n);
        EXPECT_NEAR(r->gdLumpSumPR, CarriedForward(change, c.n, i), 1e-9);
        EXPECT_NEAR(r->gdLumpSum, adjustedValueDiff * std::pow(1 + i, c.n), 1e-9);
        EXPECT_EQ(out.lblLmpSumPymtRed2, Format(r->gdLumpSumPR, "Currency"));
        EXPECT_EQ(out.lblLmpSum2, Format(r->gdLumpSum, "Currency"));
        EXPECT_EQ(out.lblPymtsRedMeth2, c.prior);
        EXPECT_EQ(out.lblPymtsLmpSum2, "12");
        EXPECT_EQ(r->giPVStreams, 1);
    }
}

// With every payment made, both methods owe the whole overcharge as of the final payment: the
// lump sum / payment reduction amount covers every payment and equals the APR adjustment.
TEST(show_adjustments, prior_payments_equal_to_the_total_cover_every_payment) {
    auto r = Reimbursed(4500, 10, {{"300", "1", "1", "0"}, {"150", "35", "2", "0"}}, kToleranceZero);
    ReimbursementActivation(*r);
    ScriptedUser user;
    ASSERT_TRUE(ShowAdjustments(*r, user, "36", 2).accepted);
    EXPECT_NEAR(r->gdLumpSumPR, r->gdAPRAdjFinal, 1e-9);
    // The lump sum method carries the exact overcharge; the payment reduction uses changes in
    // whole ten-thousandths: at most 36 x 0.00005 carried forward apart.
    EXPECT_NEAR(r->gdLumpSum, r->gdLumpSumPR, 36 * 0.00005 * 1.4);
    EXPECT_LT(r->gdLumpSum, -1.0);
}

TEST(show_adjustments, refusals) {
    struct Case {
        const char* prior;
        const char* message;
    };
    const Case cases[] = {
        {"", "# of prior payments must be entered before showing adjustments."},
        {"0", "# of prior payments must be greater than 0 and less than or equal to the total number of payments (12)."},
        {"13", "# of prior payments must be greater than 0 and less than or equal to the total number of payments (12)."},
    };
    for (const Case& c : cases) {
        auto r = Reimbursed(1000, 11.5, kTwelveMonths, kToleranceQuarter);
        ScriptedUser user;
        const ShowAdjustmentsResult out = ShowAdjustments(*r, user, c.prior, 1);
        EXPECT_FALSE(out.accepted) << "'" << c.prior << "'";
        EXPECT_FALSE(out.lumpSumsVisible) << "'" << c.prior << "'";
        ASSERT_EQ(user.prompts().size(), 1u);
        EXPECT_EQ(user.prompts()[0].text, c.message);
        EXPECT_EQ(user.prompts()[0].style, kStyleExclamation);
    }
}

TEST(show_adjustments, prior_payments_key_filter) {
    const std::pair<int, bool> cases[] = {{'0', true}, {'9', true}, {8, true}, {'a', false}, {'-', false}, {'.', false}};
    for (const auto& [key, allowed] : cases) {
        LoanRecord r;
        ScriptedUser user;
        EXPECT_EQ(PriorPaymentsKeyAllowed(r, user, key), allowed) << "key " << key;
        ASSERT_EQ(user.prompts().size(), allowed ? 0u : 1u);
        if (!allowed) {
            EXPECT_EQ(user.prompts()[0].text, "For # of prior payments, enter numbers only.");
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Finance-charge method: payments valued at the correct APR less the tolerance.

TEST(finance_charge_method, adjustment_against_the_adjusted_total_of_payments) {
    auto r = SolvedLoan(1000, 12, kTwelveMonths);
    r->gdEstFinanceChg = 50;  // understated by 16.20: a violation
    MemoryResultsView view;
    ScriptedUser user;
    ComputeDisclosureResults(*r, view, user, {"", ""});
    ASSERT_TRUE(r->gbFCUnderViol);
    ASSERT_FALSE(r->gbAPRUnderViol);
    StartReimbursement(*r, kToleranceQuarter);
    const double i = (r->gdCalcAPR - 0.25) / 1200;
    const double adjustedTotal = 12 * 1000 / ((1 - std::pow(1 + i, -12)) / i);
    EXPECT_DOUBLE_EQ(r->gdFCAdjAPR, r->gdCalcAPR - 0.25);
    EXPECT_NEAR(r->gdFCAdjTotal, adjustedTotal, 1e-9);
    EXPECT_NEAR(r->gdFCAdjustment, 1000 + 50 - adjustedTotal, 1e-9);  // amount financed + FC - adjusted total
    EXPECT_LT(r->gdFCAdjustment, -1.0);
}

TEST(finance_charge_method, adjustment_of_a_dollar_or_less_is_none) {
    auto probe = SolvedLoan(1000, 12, kTwelveMonths);
    const double i = (probe->gdCalcAPR - 0.25) / 1200;
    const double adjustedTotal = 12 * 1000 / ((1 - std::pow(1 + i, -12)) / i);
    const std::pair<double, double> cases[] = {{-0.50, 0}, {-1.50, -1.50}, {-0.01, 0}, {+3.00, 0}};
    for (const auto& [wanted, shown] : cases) {
        auto r = SolvedLoan(1000, 12, kTwelveMonths);
        r->gdEstFinanceChg = adjustedTotal - 1000 + wanted;
        MemoryResultsView view;
        ScriptedUser user;
        ComputeDisclosureResults(*r, view, user, {"", ""});
        r->dTolerance = 0.25;
        FinanceChargeMethod(*r);
        EXPECT_NEAR(r->gdFCAdjustment, shown, 1e-9) << "adjustment before the rule " << wanted;
    }
}

TEST(finance_charge_method, no_tolerance_is_the_finance_charge_error_itself) {
    auto r = SolvedLoan(1000, 12, kTwelveMonths);
    r->gdEstFinanceChg = 50;
    MemoryResultsView view;
    ScriptedUser user;
    ComputeDisclosureResults(*r, view, user, {"", ""});
    StartReimbursement(*r, kToleranceZero);
    EXPECT_NEAR(r->gdFCAdjustment, -16.20, 1e-9);
    EXPECT_DOUBLE_EQ(r->gdFCAdjAPR, r->gdCalcAPR);  // shown as "using APR of" on the page
    EXPECT_GT(r->gdProrateFactor, 0.0);             // the APR method has run as well
}

// ---------------------------------------------------------------------------------------------
// The reimbursement page.

struct ScreenCase {
    const char* name;
    bool aprViolation, fcViolation;
    std::int16_t frequency;
    double aprAdjFinal;
    // expected
    bool grid, prior, print, aprMethod, aprAdjustment, fcAdjustment, violationAfter;
    const char* finalCaption;
    const char* finalAmount;
    ReimbursementFocus focus;
};

TEST(reimbursement_screen, activation_decisions) {
    const ScreenCase cases[] = {
        {"installment loan, APR adjustment", true, false, kFreqMonthly, -1.53, true, true, false, true, false, false,
         true, "APR Adjustment as of Final Payment Date", "-$1.53", ReimbursementFocus::PriorPayments},
        {"exactly -1.00 is still an adjustment", true, false, kFreqMonthly, -1.00, true, true, false, true, false,
         false, true, "APR Adjustment as of Final Payment Date", "-$1.00", ReimbursementFocus::PriorPayments},
        {"-0.99 shows 0.00 and clears the violation", true, false, kFreqMonthly, -0.99, false, false, true, true, true,
         false, false, "APR Adjustment as of Final Payment Date", "-$0.99", ReimbursementFocus::Print},
        {"a positive final adjustment", true, false, kFreqMonthly, 0.40, false, false, true, true, true, false, false,
         "", "", ReimbursementFocus::Print},
        {"single payment in months", true, false, kFreqEqualMonthsSingle, -25, true, false, true, true, false, false,
         true, "APR Adjustment as of Final Payment Date", "-$25.00", ReimbursementFocus::Print},
        {"construction only", true, false, kFreqConstructionOnly, -25, false, false, true, true, false, false, true,
         "APR Adjustment as of Final Payment Date", "-$25.00", ReimbursementFocus::Print},
        {"finance charge only", false, true, kFreqMonthly, 0, false, false, true, false, false, true, false, "", "",
         ReimbursementFocus::Print},
        {"both", true, true, kFreqMonthly, -1.53, true, true, false, true, false, true, true,
         "APR Adjustment as of Final Payment Date", "-$1.53", ReimbursementFocus::PriorPayments},
    };
    for (const ScreenCase& c : cases) {
        auto r = Reimbursed(1000, 11.5, kTwelveMonths, kToleranceQuarter);
        r->gbAPRUnderViol = c.aprViolation;
        r->gbFCUnderViol = c.fcViolation;
        r->giPymtFreq = c.frequency;
        r->gdAPRAdjFinal = c.aprAdjFinal;
        r->gdFCAdjAPR = 11.7526;
        r->gdFCAdjustment = -7.5;
        const ReimbursementScreen s = ReimbursementActivation(*r);
        SCOPED_TRACE(c.name);
        EXPECT_EQ(s.captions.caption, "Reimbursement Information (using reimbursement tolerance of .25%)");
        EXPECT_EQ(s.gridVisible, c.grid);
        EXPECT_EQ(s.priorPaymentsVisible, c.prior);
        EXPECT_EQ(s.showAdjustmentsVisible, c.prior);
        EXPECT_EQ(s.printEnabled, c.print);
        EXPECT_EQ(s.aprMethodVisible, c.aprMethod);
        EXPECT_EQ(s.aprAdjustmentVisible, c.aprAdjustment);
        EXPECT_EQ(s.financeChargeAdjustmentVisible, c.fcAdjustment);
        EXPECT_FALSE(s.lumpSumsVisible);
        EXPECT_EQ(r->gbAPRUnderViol, c.violationAfter);
        EXPECT_EQ(s.focus, c.focus);
        if (c.aprMethod) {
            EXPECT_EQ(s.captions.lblAdjAPR2, "11.750 %");
            EXPECT_EQ(s.captions.lblProFactor2, Format(r->gdProrateFactor, "##.##########"));
            EXPECT_EQ(s.captions.lblFinalAPRAdj, c.finalCaption);
            EXPECT_EQ(s.captions.lblFinalAPRAdj2, c.finalAmount);
        }
        if (c.aprAdjustment) {
            EXPECT_EQ(s.captions.lblPercentAPR, "11.750 %):");
            EXPECT_EQ(s.captions.lblAPRAdj2, "0.00");
        }
        if (c.fcAdjustment) {
            EXPECT_EQ(s.captions.lblPercent2, "11.753 %):");
            EXPECT_EQ(s.captions.lblFnceChgAdj2, "-$7.50");
        }
    }
}

TEST(reimbursement_screen, caption_quotes_the_tolerance) {
    const std::pair<int, const char*> cases[] = {
        {kToleranceZero, "Reimbursement Information (using reimbursement tolerance of 0%)"},
        {kToleranceEighth, "Reimbursement Information (using reimbursement tolerance of .125%)"},
        {kToleranceQuarter, "Reimbursement Information (using reimbursement tolerance of .25%)"},
    };
    for (const auto& [index, caption] : cases) {
        auto r = Reimbursed(1000, 11.5, kTwelveMonths, index);
        EXPECT_EQ(ReimbursementActivation(*r).captions.caption, caption);
    }
}

// The grid lists the original and the adjusted payment; an advance shows "(Advance)".
TEST(reimbursement_screen, grid_shows_advances) {
    auto r = Reimbursed(1000, 10, {{"70", "24", "1", "0"}, {"-500", "1", "3", "0"}}, kToleranceQuarter);
    ASSERT_TRUE(r->gbAPRUnderViol);
    const ReimbursementScreen s = ReimbursementActivation(*r);
    ASSERT_TRUE(s.gridVisible);
    EXPECT_DOUBLE_EQ(r->gaPymtDbl[1], 70 * r->gdProrateFactor);
    EXPECT_EQ(r->gaPymtDbl[2], 0.0);
    const std::vector<GridRow> rows = ReimbursementGridRows(*r);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], (GridRow{"1", "$70.00", Format(70 * r->gdProrateFactor, "Currency"), "24", "1", "0"}));
    EXPECT_EQ(rows[1], (GridRow{"2", "-$500.00", "(Advance)", "1", "3", "0"}));
    const std::vector<GridColumn> columns = SetColumnsRB();
    ASSERT_EQ(columns.size(), 6u);
    EXPECT_EQ(columns[1].caption, "Original Payment");
    EXPECT_EQ(columns[2].caption, "Adjusted Payment");
}

}  // namespace
}  // namespace tallex
