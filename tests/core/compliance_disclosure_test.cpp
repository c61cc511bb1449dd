// Disclosure figures of a loan that went through the payment schedule, the chronological order
// of the schedule, the construction branch and what the results page is told to show. Figures
// are worked by hand from the schedules (T = sum of amount x number, S = later advances, amount
// financed P + S, finance charge T - P, total of payments T + S).

#include "compliance/CalculationListing.h"
#include "compliance/DisclosureResults.h"
#include "compliance/ResultGrids.h"
#include "engine/AprSolver.h"
#include "schedule/ScheduleOrder.h"
#include "ui/MemoryResultsView.h"
#include "ui/ScriptedUser.h"

#include "TestLoans.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <tuple>

namespace tallex {
namespace {

// "amount count unitPeriods oddDays | ..." typed into the schedule.
std::unique_ptr<LoanRecord> Typed(const std::string& rows) {
    auto r = test::ScheduleOf(rows);
    for (int k = 1; k <= r->giPymtRows; ++k) r->gaPymtDbl[k] = k;
    return r;
}

std::string Rows(const LoanRecord& r) {
    std::string text;
    for (int k = 1; k <= r.giPymtRows; ++k) {
        text += (k > 1 ? " | " : "") + r.gaPymtAmt[k] + " " + r.gaNumPymts[k] + " " + r.gaUnitPeriods[k] + " " +
                r.gaOddDays[k];
    }
    return text;
}

// A monthly loan of P with the disclosed APR and finance charge, solved by the engine.
std::unique_ptr<LoanRecord> Solved(double p, double apr, double fc, const std::string& rows) {
    auto r = test::SolvedMonthlyLoan(p, apr, rows);
    for (int k = 1; k <= r->giPymtRows; ++k) r->gaPymtDbl[k] = k;
    r->gdEstFinanceChg = fc;
    r->gsPymtFreqText = "Monthly (Installment Loan)";
    return r;
}

struct Activation {
    MemoryResultsView view;
    ScriptedUser user;
    DisclosureOutcome out;
};

std::unique_ptr<Activation> Activate(LoanRecord& r, DisclosureInputs inputs = {}) {
    auto a = std::make_unique<Activation>();
    a->out = ComputeDisclosureResults(r, a->view, a->user, inputs);
    return a;
}

TEST(disclosure_results, figures_of_a_regular_loan) {
    auto r = Solved(1000, 12, 66.20, "88.85 12 1 0");
    auto a = Activate(*r, {"", "66.2"});
    const DisclosureCaptions& c = a->out.captions;
    EXPECT_EQ(std::tie(c.lblAmount, c.lblFinanceChg, c.lblTotPymts, c.lblAPR, c.lblDisclAPR, c.lblDisclFinanceChg),
              std::tuple("$1,000.00", "$66.20", "$1,066.20", "12.0026 %", "12.0000 %", "$66.20"));
    EXPECT_EQ(std::tuple(c.lblIrregular, c.lblPymtFreqA + c.lblPymtFreqB, c.lblIntPymts),
              std::tuple("Regular Loan", "Payment Frequency:  Monthly (Installment Loan)", ""));
    EXPECT_DOUBLE_EQ(r->dFinal, 360);  // (12 - 1) x 30 + 1 x 30 + 0
    EXPECT_TRUE(a->out.recomputed && a->out.printEnabled && a->out.paymentFrequencyVisible &&
                a->out.middleToleranceVisible);
    EXPECT_FALSE(a->out.rebuildGrid || a->out.debugVisible || a->out.constructionChargesVisible || a->out.refused ||
                 a->view.toleranceFrameVisible());
    EXPECT_EQ(a->out.focus.target, ResultsFocus::Target::Print);
    EXPECT_TRUE(a->user.prompts().empty());

    // $1 repaid with $100,000 a month later: 99,999 a month, 119,998,800 % a year, too long for
    // the standard font.
    auto dear = Solved(1, 119998800, 99999, "100000 1 1 0");
    const auto big = Activate(*dear);
    EXPECT_EQ(std::tie(big->out.captions.lblAPR, big->out.captions.aprFont),
              std::tuple("119998800.0000 %", AmountFont::Narrow));
}

// A later advance of $500.00: S = 500, T = 70 x 24 - 500 = 1,180.00.
TEST(disclosure_results, later_advance_counts_in_amount_financed_and_total_of_payments) {
    auto r = Solved(1000, 15, 0, "70 24 1 0 | -500 1 3 0");
    auto a = Activate(*r);
    EXPECT_EQ(std::tie(r->gdPymtAbsValue, r->dFnceChg), std::tuple(500, 180));
    EXPECT_EQ(std::tie(a->out.captions.lblAmount, a->out.captions.lblTotPymts, a->out.captions.lblIrregular),
              std::tuple("$1,500.00", "$1,680.00", "Irregular Loan"));
}

TEST(schedule_order, out_of_order_schedule_is_ordered_and_flagged_for_rebuild) {
    auto r = Solved(3000, 10, 360, "90 24 13 0 | 100 12 1 0");
    const double apr = r->gdCalcAPR;
    auto a = Activate(*r);
    EXPECT_EQ(std::tie(a->out.rebuildGrid, r->gbScheduleChanged), std::tuple(true, false));
    EXPECT_EQ(Rows(*r), "100 12 1 0 | 90 24 13 0");
    EXPECT_DOUBLE_EQ(r->dFinal, 1080);  // (24 - 1) x 30 + 13 x 30
    EXPECT_DOUBLE_EQ(r->gdCalcAPR, apr);
    EXPECT_EQ(DisclosureGridRows(*r),
              (std::vector<GridRow>{{"1", "$100.00", "12", "1", "0"}, {"2", "$90.00", "24", "13", "0"}}));
    std::vector<std::string> captions;
    for (const GridColumn& column : SetColumnsDisclosure()) captions.push_back(column.caption);
    EXPECT_EQ(captions, (std::vector<std::string>{"Payment Stream", "Payment Amount", "Number of Payments",
                                                  "Unit Periods", "Odd Days"}));

    // However small the loan: ten cents repaid in two payments.
    auto cents = Solved(0.09, 90, 0.01, "0.05 1 2 0 | 0.05 1 1 0");
    Activate(*cents);
    EXPECT_EQ(std::tuple(Rows(*cents), cents->gdTotPymts), std::tuple("0.05 1 1 0 | 0.05 1 2 0", 0.1));

    // As many streams as the grid holds: the last one sets the term.
    std::string full = "10 1 1 0";
    for (int k = 2; k <= kMaxStreams; ++k) full += " | 10 1 " + std::to_string(k) + " 0";
    auto longest = Solved(3000, 1, 600, full);
    Activate(*longest);
    EXPECT_EQ(std::tuple(longest->gdNumPymts, longest->dUnitPeriods), std::tuple(1.0, double(kMaxStreams)));

    auto unchanged = Solved(1000, 12, 66.20, "88.85 12 1 0");
    unchanged->gbScheduleChanged = true;  // set by the schedule page
    EXPECT_EQ(std::tuple(Activate(*unchanged)->out.rebuildGrid, unchanged->gbScheduleChanged), std::tuple(true, false));
}

TEST(schedule_order, passes_until_chronological) {
    const std::pair<const char*, const char*> cases[] = {
        {"90 24 13 0 | 100 12 1 0", "100 12 1 0 | 90 24 13 0"},  // later unit periods first
        {"90 1 1 12 | 100 1 1 5", "100 1 1 5 | 90 1 1 12"},      // more odd days first
        {"100 12 0 0 | -300 2 0 0", "-300 2 0 0 | 100 12 0 0"},  // advance at consummation first
        {"100 12 5 0 | 0 0 0 0", "100 12 5 0 | 0 0 0 0"},        // an all-zero row is not moved up
        {"3 1 3 0 | 2 1 2 0 | 1 1 1 0", "1 1 1 0 | 2 1 2 0 | 3 1 3 0"},
        {"100 12 1 0 | 90 24 13 0", "100 12 1 0 | 90 24 13 0"},
    };
    for (const auto& [typed, ordered] : cases) {
        auto r = Typed(typed);
        OrderSchedule(*r);
        EXPECT_EQ(Rows(*r), ordered);
        EXPECT_EQ(r->gbScheduleChanged, std::string(typed) != ordered) << typed;
        if (r->gbScheduleChanged) {
            EXPECT_NE(r->gaPymtDbl[1], 1.0) << typed << ": numeric column moves too";
        }
    }
}

TEST(disclosure_results, back_from_reimbursement_changes_nothing) {
    auto r = Solved(100000, 11.8, 6570, "8885 12 1 0");
    r->gbSecuredByRealEstate = true;
    r->gbBackFromReimb = true;
    r->gdAmtFinanced = 123.45;
    r->giAPRUnderByFC = kAnswerYes;
    auto a = Activate(*r);
    EXPECT_EQ(std::tuple(a->out.recomputed, r->gbBackFromReimb, r->gdAmtFinanced, r->giAPRUnderByFC),
              std::tuple(false, false, 123.45, kAnswerYes));
    EXPECT_TRUE(a->user.prompts().empty());
}

TEST(disclosure_results, activation_clears_earlier_work_values_but_not_dpval) {
    auto r = Solved(1000, 12, 66.20, "88.85 12 1 0");
    const double pvAtDisclosed = r->dPval;
    r->gdProrateFactor = 0.98;
    r->gaPymtDbl[1] = 87;
    r->gbUseAltSchedule = true;
    r->dTolerance = 0.25;
    r->dTempAPR = 11.5;              // left by a reimbursement, listed by the calculation listing
    r->gdDisclAPR_Adjusted = 11.75;  // left by an earlier tolerance test, listed too
    Activate(*r);
    EXPECT_EQ(r->gdProrateFactor + r->gaPymtDbl[1] + r->dTolerance + r->dTempAPR + r->gdDisclAPR_Adjusted, 0.0);
    EXPECT_EQ(std::tie(r->gbUseAltSchedule, r->dPval), std::tuple(false, pvAtDisclosed));
}

// A caller that shows no page (the command line) asks for no figure captions: the verdict labels
// and the record come out as on the page, and the captions stay empty.
TEST(disclosure_results, captionless_run_gives_the_page_s_verdict) {
    const std::pair<double, double> loans[] = {{11.5, 66.20}, {12, 60}, {12, 66.20}};  // APR, FC off, both right
    for (const auto& [apr, fc] : loans) {
        auto page = Solved(1000, apr, fc, "88.85 12 1 0");
        auto bare = Solved(1000, apr, fc, "88.85 12 1 0");
        auto shown = Activate(*page, {"", "66.2"});
        auto quiet = Activate(*bare, {"", "66.2", false});
        for (ResultsLabel label :
             {ResultsLabel::lblAPRViolation, ResultsLabel::lblAPRViolAmt, ResultsLabel::lblFinanceViolation,
              ResultsLabel::lblFinanceViolAmt, ResultsLabel::lblFinanceError}) {
            const LabelState &q = quiet->view.label(label), &s = shown->view.label(label);
            EXPECT_EQ(std::tie(q.visible, q.caption, q.colour), std::tie(s.visible, s.caption, s.colour)) << apr << fc;
        }
        EXPECT_EQ(std::tie(bare->gbSubjToReimb, bare->gdAPRDiff, bare->dFinanceChgDiff),
                  std::tie(page->gbSubjToReimb, page->gdAPRDiff, page->dFinanceChgDiff));
        const DisclosureCaptions& c = quiet->out.captions;
        EXPECT_EQ(c.lblAmount + c.lblFinanceChg + c.lblTotPymts + c.lblAPR + c.lblDisclAPR + c.lblDisclFinanceChg, "");
    }
}

// Construction with permanent financing: C 100,000.00, prepaid 1,000.00, subsequently paid
// 500.00, estimated interest 4,500.00; 120 payments of 1,000.00.
std::unique_ptr<LoanRecord> Construction(double commitment, double prepaid, std::int16_t interestType = 0) {
    auto r = Solved(99000, 0, 0, "1000 120 1 0");
    r->gbConstruction = true;
    r->gdCommitmentAmt = commitment;
    r->gdPrepaidFinChg = prepaid;
    r->gdSubseqFinChg = 500;
    r->gdEstConstInterest = 4500;
    r->construction.optInterestType = interestType;
    return r;
}

TEST(disclosure_results, construction_branch) {
    const std::pair<std::int16_t, const char*> cases[] = {
        {0,
         "Disclose when interest is due and include the amount and timing of any FC paid separately during "
         "construction."},
        {1, "Disclose the timing and amount of interest and any FC paid separately during construction."},
    };
    for (const auto& [interestType, instruction] : cases) {
        auto r = Construction(100000, 1000, interestType);
        auto a = Activate(*r);
        // 100,000 - 1,000 + 0; 120,000 - 99,000; 120,000 + 0 + 4,500 + 500.
        EXPECT_EQ(std::tie(r->gdAmtFinanced, r->dFnceChg, r->gdTotPymts), std::tuple(99000, 21000, 125000));
        const DisclosureCaptions& c = a->out.captions;
        EXPECT_EQ(std::tuple(c.lblPrepdChg + " " + c.lblSubFnceChg, c.lblIntPymts, c.lblIrregular),
                  std::tuple("$1,000.00 $500.00", instruction, "Irregular Loan"));
        EXPECT_TRUE(a->out.constructionChargesVisible);
        EXPECT_FALSE(a->out.middleToleranceVisible || a->view.toleranceOptionVisible(kToleranceEighth));
        EXPECT_TRUE(a->view.toleranceOptionVisible(kToleranceZero) &&
                    a->view.toleranceOptionVisible(kToleranceQuarter));
    }
}

TEST(disclosure_results, construction_with_negative_amount_financed_is_refused) {
    // A cent above nothing (the commitment less the prepaid finance charge) is still a loan.
    auto cent = Construction(1000.01, 1000);
    EXPECT_FALSE(Activate(*cent)->out.refused);
    auto r = Construction(1000, 2000);
    r->dFinal = 3600;  // an earlier activation's, which the calculation listing shows
    r->gdAPRDiff = 0.5;
    r->dActDays = 365;
    r->gbIrregular = true;
    auto a = Activate(*r);
    EXPECT_TRUE(a->out.refused);
    EXPECT_EQ(std::tuple(r->dFinal, r->gdAPRDiff, r->dActDays), std::tuple(0.0, 0.0, 0.0));
    EXPECT_EQ(CalculationListing(*r).lblIrregular, "Regular loan");
    EXPECT_FALSE(a->out.aprVisible || a->out.financeChargeVisible || a->out.printEnabled);
    ASSERT_EQ(a->user.prompts().size(), 1u);
    EXPECT_EQ(std::tie(a->user.prompts()[0].text, a->user.prompts()[0].style),
              std::tuple("The amount financed must be greater than 0.  Go back to prior screen(s) to make corrections.",
                         kStyleExclamation));
    EXPECT_FALSE(a->view.toleranceFrameVisible());
}

TEST(disclosure_results, page_rules) {
    for (const auto& [typed, shown] : {std::pair{"66.2", "$66.20"},
                                       {"$1,066.20", "$1,066.20"},
                                       {" 150 ", "$150.00"},
                                       {"about 60", "about 60"},
                                       {"", ""}}) {
        EXPECT_EQ(DisclosedFinanceChargeCaption(typed), shown) << typed;
    }
    for (const auto& [preparedBy, allowed] : {std::pair{"", false},
                                              {"  show calc ", true},
                                              {"Calc Show", true},
                                              {"SHOW CALCS", false},
                                              {"SHOW  CALC", false}}) {
        EXPECT_EQ(CalculationListingAllowed(preparedBy), allowed) << "'" << preparedBy << "'";
    }
    EXPECT_EQ(DisclosureAmountFont("$99,999,999,999.99", false), AmountFont::Standard);  // 18 characters
    EXPECT_EQ(DisclosureAmountFont("$999,999,999,999.99", false), AmountFont::Narrow);   // 19
    EXPECT_EQ(DisclosureAmountFont("99999999.0000 %", true), AmountFont::Standard);      // 15
    EXPECT_EQ(DisclosureAmountFont("999999999.0000 %", true), AmountFont::Narrow);       // 16
}

// The page has three tolerance options; naming a fourth is the control array's subscript error.
TEST(results_view, tolerance_option_outside_the_three_is_out_of_range) {
    MemoryResultsView view;
    for (int index : {kToleranceZero - 1, kToleranceQuarter + 1}) {
        EXPECT_THROW(view.setToleranceOptionVisible(index, false), RuntimeError) << index;
        EXPECT_THROW(view.selectTolerance(index), RuntimeError) << index;
        EXPECT_THROW((void)view.toleranceOptionVisible(index), RuntimeError) << index;
    }
}

TEST(form_set_focus, tolerance_option_else_print) {
    struct {
        bool frame;
        int selected;
        bool print;
        ResultsFocus::Target target;
    } const cases[] = {
        {true, kToleranceEighth, true, ResultsFocus::Target::ToleranceOption},
        {true, kToleranceNone, true, ResultsFocus::Target::None},
        {false, kToleranceQuarter, true, ResultsFocus::Target::Print},
        {false, kToleranceQuarter, false, ResultsFocus::Target::None},
    };
    for (const auto& c : cases) {
        MemoryResultsView view(c.selected);
        view.setToleranceFrameVisible(c.frame);
        const ResultsFocus focus = FormSetFocus(view, c.print);
        EXPECT_EQ(std::tie(focus.target, focus.toleranceOption),
                  std::tuple(c.target, c.target == ResultsFocus::Target::ToleranceOption ? c.selected : kToleranceNone))
            << c.frame << " " << c.selected << " " << c.print;
    }
}

}  // namespace
}  // namespace tallex
