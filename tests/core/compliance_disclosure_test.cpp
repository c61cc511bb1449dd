// The disclosure figures of a loan that went through the payment schedule: amount financed,
// finance charge and total of payments, the chronological order of the schedule, the term, the
// construction branch and what the results page is told to show.
//
// Expected figures are worked by hand from the schedules below (T = sum of amount x number,
// S = the later advances, amount financed P + S, finance charge T - P, total of payments T + S).

#include "compliance/CalculationListing.h"
#include "compliance/DisclosureResults.h"
#include "compliance/ResultGrids.h"
#include "compliance/ScheduleOrder.h"
#include "engine/AprSolver.h"
#include "engine/LoanRecord.h"
#include "ui/MemoryResultsView.h"
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

// A monthly loan of amount P with the rows as typed, solved by the engine.
std::unique_ptr<LoanRecord> SolvedLoan(double amount, double disclosedApr, double disclosedFinanceCharge,
                                       const std::vector<Row>& rows) {
    auto r = std::make_unique<LoanRecord>();
    int k = 0;
    for (const Row& row : rows) {
        ++k;
        r->gaPymtCol0[k] = std::to_string(k);
        r->gaPymtAmt[k] = row.amount;
        r->gaNumPymts[k] = row.count;
        r->gaUnitPeriods[k] = row.unitPeriods;
        r->gaOddDays[k] = row.oddDays;
    }
    r->giPymtRows = r->giGridRowCount = static_cast<std::int16_t>(k);
    r->gdAmount = amount;
    r->gdDisclAPR = disclosedApr;
    r->gdEstFinanceChg = disclosedFinanceCharge;
    r->gdDaysinUnitPd = 30;
    r->gdDaysinYr = 360;
    r->giPymtFreq = kFreqMonthly;
    r->gbAppendixJ = true;
    r->gsPymtFreqText = "Monthly (Installment Loan)";
    SolveAPR(*r);
    return r;
}

std::vector<Row> ScheduleRows(const LoanRecord& r) {
    std::vector<Row> rows;
    for (int k = 1; k <= r.giPymtRows; ++k) {
        rows.push_back({r.gaPymtAmt[k], r.gaNumPymts[k], r.gaUnitPeriods[k], r.gaOddDays[k]});
    }
    return rows;
}

bool SameRows(const std::vector<Row>& a, const std::vector<Row>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].amount != b[i].amount || a[i].count != b[i].count || a[i].unitPeriods != b[i].unitPeriods ||
            a[i].oddDays != b[i].oddDays)
            return false;
    }
    return true;
}

std::string Describe(const std::vector<Row>& rows) {
    std::string text;
    for (const Row& row : rows) text += "[" + row.amount + " " + row.count + " " + row.unitPeriods + " " + row.oddDays + "]";
    return text;
}

// ---------------------------------------------------------------------------------------------
// Figures and captions of a plain regular loan: $1,000.00 in 12 monthly payments of $88.85.

TEST(disclosure_results, figures_of_a_regular_loan) {
    auto r = SolvedLoan(1000, 12, 66.20, {{"88.85", "12", "1", "0"}});
    MemoryResultsView view;
    ScriptedUser user;
    const DisclosureOutcome out = ComputeDisclosureResults(*r, view, user, {"", "66.2"});
    EXPECT_TRUE(out.recomputed);
    EXPECT_FALSE(out.rebuildGrid);
    EXPECT_FALSE(out.debugVisible);
    EXPECT_FALSE(out.constructionChargesVisible);
    EXPECT_TRUE(out.middleToleranceVisible);
    EXPECT_TRUE(view.toleranceOptionVisible(kToleranceEighth));
    EXPECT_TRUE(out.aprVisible && out.financeChargeVisible && out.paymentFrequencyVisible && out.printEnabled);
    EXPECT_FALSE(out.refused);
    const DisclosureCaptions& c = out.captions;
    EXPECT_EQ(c.lblAmount, "$1,000.00");
    EXPECT_EQ(c.lblFinanceChg, "$66.20");
    EXPECT_EQ(c.lblTotPymts, "$1,066.20");
    EXPECT_EQ(c.lblAPR, "12.0026 %");
    EXPECT_EQ(c.lblDisclAPR, "12.0000 %");
    EXPECT_EQ(c.lblDisclFinanceChg, "$66.20");
    EXPECT_EQ(c.lblIrregular, "Regular Loan");
    EXPECT_EQ(c.lblPymtFreqA, "Payment Frequency:  ");
    EXPECT_EQ(c.lblPymtFreqB, "Monthly (Installment Loan)");
    EXPECT_EQ(c.lblIntPymts, "");
    EXPECT_DOUBLE_EQ(r->gdPymtAbsValue, 0);
    EXPECT_DOUBLE_EQ(r->dFinal, 360);  // (12 - 1) x 30 + 1 x 30 + 0
    EXPECT_FALSE(r->gbIrregular);
    EXPECT_EQ(r->giPVStreams, 1);
    EXPECT_EQ(r->giFCTolerance, 5);
    EXPECT_FALSE(view.toleranceFrameVisible());
    EXPECT_EQ(out.focus.target, ResultsFocus::Target::Print);
    EXPECT_TRUE(user.prompts().empty());
}

// A later advance of $500.00 three months in: S = 500, T = 70 x 24 - 500 = 1,180.00.
TEST(disclosure_results, later_advance_counts_in_amount_financed_and_total_of_payments) {
    auto r = SolvedLoan(1000, 15, 0, {{"70", "24", "1", "0"}, {"-500", "1", "3", "0"}});
    MemoryResultsView view;
    ScriptedUser user;
    const DisclosureOutcome out = ComputeDisclosureResults(*r, view, user, {"", ""});
    EXPECT_DOUBLE_EQ(r->gdPymtAbsValue, 500);
    EXPECT_DOUBLE_EQ(r->gdAmtFinanced, 1500);
    EXPECT_DOUBLE_EQ(r->dFnceChg, 180);
    EXPECT_DOUBLE_EQ(r->gdTotPymts, 1680);
    EXPECT_EQ(out.captions.lblAmount, "$1,500.00");
    EXPECT_EQ(out.captions.lblTotPymts, "$1,680.00");
    EXPECT_EQ(out.captions.lblIrregular, "Irregular Loan");
    EXPECT_EQ(out.captions.lblDisclFinanceChg, "");
}

// ---------------------------------------------------------------------------------------------
// Ordering: a schedule typed out of order is shown and tested in chronological order.

TEST(schedule_order, out_of_order_schedule_is_ordered_and_flagged_for_rebuild) {
    auto r = SolvedLoan(3000, 10, 360, {{"90", "24", "13", "0"}, {"100", "12", "1", "0"}});
    const double aprTypedOrder = r->gdCalcAPR;
    MemoryResultsView view;
    ScriptedUser user;
    const DisclosureOutcome out = ComputeDisclosureResults(*r, view, user, {"", "360"});
    EXPECT_TRUE(out.rebuildGrid);
    EXPECT_FALSE(r->gbScheduleChanged);
    const std::vector<Row> expected = {{"100", "12", "1", "0"}, {"90", "24", "13", "0"}};
    EXPECT_TRUE(SameRows(ScheduleRows(*r), expected)) << Describe(ScheduleRows(*r));
    EXPECT_EQ(r->gaPymtCol0[1], "1");
    EXPECT_DOUBLE_EQ(r->dFinal, 1080);  // (24 - 1) x 30 + 13 x 30 + 0
    EXPECT_DOUBLE_EQ(r->gdCalcAPR, aprTypedOrder);

    const std::vector<GridRow> grid = DisclosureGridRows(*r);
    ASSERT_EQ(grid.size(), 2u);
    EXPECT_EQ(grid[0], (GridRow{"1", "$100.00", "12", "1", "0"}));
    EXPECT_EQ(grid[1], (GridRow{"2", "$90.00", "24", "13", "0"}));
}

// A change reported by the schedule page rebuilds the grid even when the order was right.
TEST(schedule_order, change_reported_by_the_schedule_page_rebuilds_the_grid) {
    auto r = SolvedLoan(1000, 12, 66.20, {{"88.85", "12", "1", "0"}});
    r->gbScheduleChanged = true;
    MemoryResultsView view;
    ScriptedUser user;
    EXPECT_TRUE(ComputeDisclosureResults(*r, view, user, {"", ""}).rebuildGrid);
    EXPECT_FALSE(r->gbScheduleChanged);
}

TEST(schedule_order, one_pass_exchanges) {
    struct Case {
        const char* name;
        std::vector<Row> typed;
        std::vector<Row> ordered;
    };
    const std::vector<Case> cases = {
        {"later unit periods first", {{"90", "24", "13", "0"}, {"100", "12", "1", "0"}},
         {{"100", "12", "1", "0"}, {"90", "24", "13", "0"}}},
        {"same unit periods, more odd days first", {{"90", "1", "1", "12"}, {"100", "1", "1", "5"}},
         {{"100", "1", "1", "5"}, {"90", "1", "1", "12"}}},
        {"advance at consummation goes first", {{"100", "12", "0", "0"}, {"-300", "2", "0", "0"}},
         {{"-300", "2", "0", "0"}, {"100", "12", "0", "0"}}},
        {"an all-zero row is not moved up", {{"100", "12", "5", "0"}, {"0", "0", "0", "0"}},
         {{"100", "12", "5", "0"}, {"0", "0", "0", "0"}}},
        {"already in order", {{"100", "12", "1", "0"}, {"90", "24", "13", "0"}},
         {{"100", "12", "1", "0"}, {"90", "24", "13", "0"}}},
        {"three rows reversed", {{"3", "1", "3", "0"}, {"2", "1", "2", "0"}, {"1", "1", "1", "0"}},
         {{"1", "1", "1", "0"}, {"2", "1", "2", "0"}, {"3", "1", "3", "0"}}},
    };
    for (const Case& c : cases) {
        auto r = std::make_unique<LoanRecord>();
        int k = 0;
        for (const Row& row : c.typed) {
            ++k;
            r->gaPymtAmt[k] = row.amount;
            r->gaNumPymts[k] = row.count;
            r->gaUnitPeriods[k] = row.unitPeriods;
            r->gaOddDays[k] = row.oddDays;
            r->gaPymtDbl[k] = k;
        }
        r->giPymtRows = r->giPVStreams = static_cast<std::int16_t>(k);
        OrderSchedule(*r);
        const bool moved = !SameRows(c.typed, c.ordered);
        EXPECT_TRUE(SameRows(ScheduleRows(*r), c.ordered)) << c.name << ": " << Describe(ScheduleRows(*r));
        EXPECT_EQ(r->gbScheduleChanged, moved) << c.name;
        if (moved) {
            EXPECT_NE(r->gaPymtDbl[1], 1.0) << c.name << ": the numeric column moves with its row";
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Coming back from reimbursement keeps everything as it was and asks nothing.

TEST(disclosure_results, back_from_reimbursement_changes_nothing) {
    auto r = SolvedLoan(100000, 11.8, 6570, {{"8885", "12", "1", "0"}});
    r->gbSecuredByRealEstate = true;
    r->gbBackFromReimb = true;
    r->gdAmtFinanced = 123.45;
    r->giAPRUnderByFC = kAnswerYes;
    MemoryResultsView view;
    view.setToleranceFrameVisible(true);
    ScriptedUser user;
    const DisclosureOutcome out = ComputeDisclosureResults(*r, view, user, {"", ""});
    EXPECT_FALSE(out.recomputed);
    EXPECT_FALSE(r->gbBackFromReimb);
    EXPECT_DOUBLE_EQ(r->gdAmtFinanced, 123.45);
    EXPECT_EQ(r->giAPRUnderByFC, kAnswerYes);
    EXPECT_TRUE(view.toleranceFrameVisible());
    EXPECT_TRUE(user.prompts().empty());
}

// Work values of an earlier reimbursement are cleared; the present value at the disclosed APR
// is kept.
TEST(disclosure_results, activation_clears_earlier_work_values) {
    auto r = SolvedLoan(1000, 12, 66.20, {{"88.85", "12", "1", "0"}});
    const double pvAtDisclosed = r->dPval;
    r->gdProrateFactor = 0.98;
    r->gdAPRAdjFinal = -10;
    r->gaPymtDbl[1] = 87;
    r->gbUseAltSchedule = true;
    r->gaAltNumPymts[1] = 5;
    r->dTolerance = 0.25;
    MemoryResultsView view;
    ScriptedUser user;
    ComputeDisclosureResults(*r, view, user, {"", ""});
    EXPECT_EQ(r->gdProrateFactor, 0.0);
    EXPECT_EQ(r->gdAPRAdjFinal, 0.0);
    EXPECT_EQ(r->gaPymtDbl[1], 0.0);
    EXPECT_FALSE(r->gbUseAltSchedule);
    EXPECT_EQ(r->gaAltNumPymts[1], 0.0);
    EXPECT_EQ(r->dTolerance, 0.0);
    EXPECT_EQ(r->dPval, pvAtDisclosed);
}

// A loan subject to reimbursement: the frame and the button show and the focus goes to the
// preselected tolerance.
TEST(disclosure_results, subject_to_reimbursement_focuses_the_tolerance) {
    auto r = SolvedLoan(1000, 11.5, 66.20, {{"88.85", "12", "1", "0"}});
    MemoryResultsView view;
    ScriptedUser user;
    const DisclosureOutcome out = ComputeDisclosureResults(*r, view, user, {"", ""});
    EXPECT_TRUE(r->gbAPRUnderViol);
    EXPECT_TRUE(r->gbSubjToReimb);
    EXPECT_TRUE(view.toleranceFrameVisible());
    EXPECT_TRUE(view.reimbursementButtonVisible());
    EXPECT_EQ(out.focus.target, ResultsFocus::Target::ToleranceOption);
    EXPECT_EQ(out.focus.toleranceOption, kToleranceQuarter);
    EXPECT_EQ(view.label(ResultsLabel::lblAPRViolAmt).caption, "0.5026 %");
}

// ---------------------------------------------------------------------------------------------
// Construction loan disclosed with its permanent financing: C 100,000.00, prepaid 1,000.00,
// subsequently paid 500.00, estimated interest 4,500.00; 120 payments of 1,000.00.

std::unique_ptr<LoanRecord> ConstructionLoan(double commitment, double prepaid) {
    auto r = SolvedLoan(99000, 0, 0, {{"1000", "120", "1", "0"}});
    r->gbConstruction = true;
    r->gbAppendixJ = false;
    r->gdCommitmentAmt = commitment;
    r->gdPrepaidFinChg = prepaid;
    r->gdSubseqFinChg = 500;
    r->gdEstConstInterest = 4500;
    return r;
}

TEST(disclosure_results, construction_branch) {
    struct Case {
        std::int16_t interestType;
        const char* instruction;
    };
    const Case cases[] = {
        {0, "Disclose when interest is due and include the amount and timing of any FC paid separately during "
            "construction."},
        {1, "Disclose the timing and amount of interest and any FC paid separately during construction."},
    };
    for (const Case& c : cases) {
        auto r = ConstructionLoan(100000, 1000);
        r->construction.optInterestType = c.interestType;
        MemoryResultsView view;
        ScriptedUser user;
        const DisclosureOutcome out = ComputeDisclosureResults(*r, view, user, {"", ""});
        SCOPED_TRACE(testing::Message() << "interest type " << c.interestType);
        EXPECT_DOUBLE_EQ(r->gdAmtFinanced, 99000);   // 100,000 - 1,000 + 0
        EXPECT_DOUBLE_EQ(r->dFnceChg, 21000);        // 120,000 - 99,000
        EXPECT_DOUBLE_EQ(r->gdTotPymts, 125000);     // 120,000 + 0 + 4,500 + 500
        EXPECT_TRUE(out.constructionChargesVisible);
        EXPECT_EQ(out.captions.lblPrepdChg, "$1,000.00");
        EXPECT_EQ(out.captions.lblSubFnceChg, "$500.00");
        EXPECT_EQ(out.captions.lblIntPymts, c.instruction);
        EXPECT_FALSE(out.middleToleranceVisible);
        EXPECT_FALSE(view.toleranceOptionVisible(kToleranceEighth));
        EXPECT_EQ(out.captions.lblIrregular, "Irregular Loan");
    }
}

TEST(disclosure_results, construction_with_negative_amount_financed_is_refused) {
    auto r = ConstructionLoan(1000, 2000);
    MemoryResultsView view;
    ScriptedUser user;
    const DisclosureOutcome out = ComputeDisclosureResults(*r, view, user, {"", ""});
    EXPECT_TRUE(out.refused);
    EXPECT_FALSE(out.aprVisible);
    EXPECT_FALSE(out.financeChargeVisible);
    EXPECT_FALSE(out.printEnabled);
    ASSERT_EQ(user.prompts().size(), 1u);
    EXPECT_EQ(user.prompts()[0].text,
              "The amount financed must be greater than 0.  Go back to prior screen(s) to make corrections.");
    EXPECT_EQ(user.prompts()[0].style, kStyleExclamation);
    EXPECT_FALSE(view.toleranceFrameVisible());
    EXPECT_FALSE(view.label(ResultsLabel::lblAPRViolation).visible);
}

// ---------------------------------------------------------------------------------------------
// Small page rules: the disclosed finance charge text, the Debug button, the focus, the fonts.

TEST(disclosure_results, disclosed_finance_charge_as_typed) {
    const std::pair<const char*, const char*> cases[] = {
        {"66.2", "$66.20"}, {"$1,066.20", "$1,066.20"}, {"  150 ", "$150.00"},
        {"about 60", "about 60"}, {"", ""},
    };
    for (const auto& [typed, shown] : cases) EXPECT_EQ(DisclosedFinanceChargeCaption(typed), shown) << typed;
}

TEST(disclosure_results, debug_button_only_for_the_calculation_text) {
    const std::pair<const char*, bool> cases[] = {
        {"", false}, {"SHOW CALC", true}, {"  show calc ", true}, {"Calc Show", true},
        {"SHOW CALCS", false}, {"SHOW  CALC", false}, {"J. Smith", false},
    };
    for (const auto& [preparedBy, shown] : cases) {
        EXPECT_EQ(CalculationListingAllowed(preparedBy), shown) << "'" << preparedBy << "'";
    }
    auto r = SolvedLoan(1000, 12, 66.20, {{"88.85", "12", "1", "0"}});
    MemoryResultsView view;
    ScriptedUser user;
    EXPECT_TRUE(ComputeDisclosureResults(*r, view, user, {"calc show", ""}).debugVisible);
}

TEST(form_set_focus, tolerance_option_else_print) {
    struct Case {
        bool frame;
        int selected;
        bool print;
        ResultsFocus::Target target;
    };
    const Case cases[] = {
        {true, kToleranceEighth, true, ResultsFocus::Target::ToleranceOption},
        {true, kToleranceNone, true, ResultsFocus::Target::None},
        {false, kToleranceQuarter, true, ResultsFocus::Target::Print},
        {false, kToleranceQuarter, false, ResultsFocus::Target::None},
    };
    for (const Case& c : cases) {
        MemoryResultsView view(c.selected);
        view.setToleranceFrameVisible(c.frame);
        const ResultsFocus focus = FormSetFocus(view, c.print);
        EXPECT_EQ(focus.target, c.target) << "frame " << c.frame << " selected " << c.selected << " print " << c.print;
        if (c.target == ResultsFocus::Target::ToleranceOption) {
            EXPECT_EQ(focus.toleranceOption, c.selected);
        }
    }
}

TEST(disclosure_results, long_amounts_take_the_narrow_font) {
    struct Case {
        const char* text;
        bool apr;
        AmountFont font;
    };
    const Case cases[] = {
        {"$999,999,999.99", false, AmountFont::Standard},      // 15 characters
        {"$99,999,999,999.99", false, AmountFont::Standard},   // 18
        {"$999,999,999,999.99", false, AmountFont::Narrow},    // 19
        {"99999999999.0000 %", true, AmountFont::Narrow},      // 18
        {"9999999999.0000 %", true, AmountFont::Narrow},       // 17
        {"999999999.0000 %", true, AmountFont::Narrow},        // 16
        {"99999999.0000 %", true, AmountFont::Standard},       // 15
    };
    for (const Case& c : cases) EXPECT_EQ(DisclosureAmountFont(c.text, c.apr), c.font) << c.text;
}

TEST(disclosure_results, grid_columns) {
    const std::vector<GridColumn> columns = SetColumnsDisclosure();
    ASSERT_EQ(columns.size(), 5u);
    const char* captions[] = {"Payment Stream", "Payment Amount", "Number of Payments", "Unit Periods", "Odd Days"};
    for (std::size_t i = 0; i < columns.size(); ++i) {
        EXPECT_EQ(columns[i].caption, captions[i]);
        EXPECT_EQ(columns[i].width, 1100);
    }
}

}  // namespace
}  // namespace tallex
