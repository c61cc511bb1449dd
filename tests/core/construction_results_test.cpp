// The construction-only results: figures, refusals, the disclosure requirement text, the APR of
// the one payment, the tests with the irregular tolerance, and reimbursement. Loans are entered
// through the construction pages' own rules. Expected figures are the construction rules'
// examples (99,000.00 / 6,000.00 / 105,000.00; 277.78 and 100,277.78; 55,000.00 + 50,000.00) or
// closed-form hand calculations noted beside them.

#include "construction/ConstChoices.h"
#include "construction/ConstLoanTerms.h"
#include "construction/ConstPermanentTerms.h"
#include "construction/ConstPhase.h"
#include "construction/ConstReimbursement.h"
#include "construction/ConstResults.h"
#include "engine/LoanRecord.h"
#include "engine/RuntimeError.h"
#include "report/ReportText.h"
#include "ui/MemoryResultsView.h"
#include "ui/ScriptedUser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace tallex {
namespace {

struct Terms {
    std::int16_t interest = kInterestOnAdvances, accrual = kAccrualWholeMonths;
    const char *period = "18", *subsequent = "500", *apr = "10", *charge = "6000";
};

// Commitment 100,000.00 at 9 %, prepaid 1,000.00, estimate typed as 4,500.00, construction
// disclosed separately, entered page by page.
struct Loan {
    std::unique_ptr<LoanRecord> r = std::make_unique<LoanRecord>();
    ScriptedUser user;
    MemoryResultsView view;
    std::string charge;
    explicit Loan(const Terms& t = {}) : charge(t.charge) {
        r->gbConstruction = true;
        r->construction.optInterestType = t.interest;
        r->construction.optIntAccrl = t.accrual;
        const bool months = t.accrual == kAccrualWholeMonths;
        EXPECT_TRUE(ConstLoanTermsContinue(*r, user, {"100000", "9", "1000", t.subsequent}).passed);
        EXPECT_TRUE(ConstPhaseContinue(*r, user, {t.period, months ? "" : "1", months ? "" : "0"}).passed);
        ConstInterestActivate(*r);
        EXPECT_TRUE(ConstInterestContinue(*r, user, {"4500", t.apr, t.charge, "", {}}).check.passed);
    }
    ConstResultsOutcome activate() { return ConstResultsActivate(*r, view, user, {"", charge}); }
};

TEST(construction_results, figures_and_apr_of_the_example_loan) {
    Loan loan;
    const ConstResultsOutcome out = loan.activate();
    ASSERT_TRUE(out.resultsShown && out.financeChargeShown && out.printEnabled);
    // 49,000 = 55,000 / ((1 + i) (1 + 180/360 i)) with i per 360-day unit period: i = 0.0795246.
    const DisclosureCaptions& c = out.captions;
    EXPECT_EQ(c.lblAmount + " " + c.lblFinanceChg + " " + c.lblTotPymts + " " + c.lblPrepdChg + " " +
                  c.lblDisclFinanceChg + " " + c.lblAPR,
              "$99,000.00 $6,000.00 $105,000.00 $1,000.00 $6,000.00 7.9525 %");
    // One unit period of 360 days and 180 odd days; the report lists the unit periods.
    EXPECT_EQ(std::tuple(loan.r->dFinal, loan.r->dUnitPeriods), std::tuple(540, 1));
    EXPECT_TRUE(loan.r->gbIrregular);
    EXPECT_FALSE(loan.view.toleranceOptionVisible(kToleranceEighth));  // .125 % is never offered here
    EXPECT_EQ(std::tie(out.captions.amountFont, out.captions.financeChargeFont, out.captions.totalFont),
              std::tuple(AmountFont::Standard, AmountFont::Standard, AmountFont::Standard));

    // One payment of 49,000.00 and no later charge: T - C/2 + P + S is exactly 0, so the finance
    // charge, 50,000 + 49,000 + 1,000 - 100,000, is worked out and shown.
    Loan even;
    even.r->gdSubseqFinChg = 0;
    even.r->gaPymtAmt[1] = "49000";
    const ConstResultsOutcome nil = even.activate();
    EXPECT_EQ(std::tuple(nil.financeChargeShown, nil.captions.lblFinanceChg), std::tuple(true, "$0.00"));

    // A commitment of 2,000,000,000,000.00 lends 1,000,000,000,000.00 less the prepaid charge; one
    // payment of 1,100,000,000,000.00: figures of 19 characters or more take the narrow font.
    Loan huge;
    huge.r->gdCommitmentAmt = 2e12;
    huge.r->gdAmount = 1e12 - 1000;
    huge.r->gaPymtAmt[1] = "1100000000000";
    const ConstResultsOutcome big = huge.activate();
    ASSERT_TRUE(big.resultsShown);
    EXPECT_EQ(big.captions.lblAmount + " " + big.captions.lblFinanceChg + " " + big.captions.lblTotPymts,
              "$1,999,999,999,000.00 $100,000,001,000.00 $2,100,000,000,000.00");
    EXPECT_EQ(std::tie(big.captions.amountFont, big.captions.financeChargeFont, big.captions.totalFont),
              std::tuple(AmountFont::Narrow, AmountFont::Narrow, AmountFont::Narrow));
}

TEST(construction_results, understated_apr_is_tested_with_the_irregular_tolerance) {
    // 7.9525 - 7.70 = 0.2525 is beyond 1/4 point; 7.9525 - 7.71 = 0.2425 is within it.
    for (const char* disclosed : {"7.70", "7.71"}) {
        Terms t;
        t.apr = disclosed;
        Loan loan(t);
        const ConstResultsOutcome out = loan.activate();
        const bool violation = std::string(disclosed) == "7.70";
        EXPECT_EQ(loan.r->gbAPRUnderViol, violation) << disclosed;
        EXPECT_EQ(loan.view.toleranceFrameVisible(), violation) << disclosed;
        EXPECT_EQ(out.focus.target, violation ? ResultsFocus::Target::ToleranceOption : ResultsFocus::Target::Print);
    }
}

TEST(construction_results, disclosure_requirement_text) {
    const std::string advances =
        "The disclosure must state when interest is due and include the amount|"
        "and timing of any finance charge paid separately after consummation, e.g.,|";
    const std::string commitment =
        "The disclosure must include the timing and amount of interest and|"
        "any finance charge paid separately after consummation, e.g.,|";
    // The six lines, then the payment, the final payment and the fee, joined by "|".
    const std::pair<Terms, std::string> rows[] = {
        {{0, 0, "18", "500"},
         advances + "One payment of principal of|and interest due monthly|One inspection fee due at|"
                    "maturity in the amount of|$100,000.00||$500.00"},
        {{0, 0, "18", ""}, advances + "One payment of principal of|and interest due monthly|||$100,000.00||"},
        {{0, 0, "1", ""}, advances + "One payment of principal of|and interest due at maturity|||$100,000.00||"},
        // Int((500 + 4,500) / 18 x 100 + 0.5) / 100; 27.78 + 250.00 + 105,000.00 - 500 - 4,500
        {{1, 0, "18", "500"}, commitment + " 17 monthly payments of ||and a final payment of ||$277.78|$100,277.78|"},
        // Counted in days (no months): row 1 of 55,000.00 + one-half of the commitment
        {{1, 1, "200", "500"}, commitment + "The final payment is ||||$105,000.00||"},
        // A phase of a single month likewise.
        {{1, 0, "1", "500"}, commitment + "The final payment is ||||$105,000.00||"},
    };
    for (const auto& [terms, expected] : rows) {
        Loan loan(terms);
        const ConstDisclosureText d = loan.activate().disclosure;
        std::string text;
        for (const std::string& line : d.lines) text += line + "|";
        EXPECT_EQ(text + d.lblPymtAmt + "|" + d.lblFinalPymtAmt + "|" + d.lblSubFnceChg, expected)
            << "period " << terms.period << ", subsequently paid \"" << terms.subsequent << "\"";
    }
}

// The report's construction payment of a phase disclosed with its permanent financing, interest
// on the entire commitment: 4,500.00 interest + 500.00 fee = 5,000.00, in one payment for a phase
// of a month or less (or counted in days), else 5,000 / 18 = 277.78 a month. The advice opens
// with a blank line of its own after the output's closing one.
TEST(construction_report, payment_of_a_phase_disclosed_with_its_permanent_financing) {
    const std::pair<double, const char*> rows[] = {
        {0, "One payment of $5,000.00"}, {1, "One payment of $5,000.00"}, {18, "18 monthly payments of $277.78"}};
    for (const auto& [months, line] : rows) {
        LoanRecord r;
        r.gbConstruction = true;
        r.construction.optDiscType = kDiscWithPermanent;
        r.construction.optInterestType = kInterestOnCommitment;
        r.gdEstConstInterest = 4500;
        r.gdSubseqFinChg = 500;
        r.gdConstMonths = months;
        const std::vector<std::string> report = WriteReport(r, {}, "");
        const std::string p(6, ' ');
        const std::vector<std::string> advice = {
            "",
            "",
            p + "The disclosure must include the timing and amount of interest and",
            p + "any finance charge paid during construction, e.g.,",
            "",
            p + line,
            ""};
        EXPECT_NE(std::search(report.begin(), report.end(), advice.begin(), advice.end()), report.end())
            << months << " months: no \"" << line << "\" block";
    }
}

TEST(construction_results, refusals_show_no_figures) {
    const char* const kTotal =
        "Total payments must not be less than amount financed.  Go back to prior screen(s) to make corrections.";
    struct Row {
        double commitment, prepaid, subsequent;
        const char* row1;
        const char* message;
    };
    const Row rows[] = {
        {1000, 2000, 0, "500",
         "(The sum of loan commitment amount plus subsequently paid finance charge must be greater "
         "than prepaid finance charge.  Go back to prior screen(s) to make corrections."},
        {100000, 1000, 0, "40000", kTotal},
        // 50,000 + 40,000 + 4,500 is short of 100,000, but with the 9,000 subsequently paid the
        // finance charge (50,000 + 40,000 + 1,000 - 100,000) is worked out before the refusal.
        {100000, 1000, 9000, "40000", kTotal},
        // 1,500 plus 500 only equals the 2,000 prepaid: not greater, so refused.
        {1500, 2000, 500, "500",
         "(The sum of loan commitment amount plus subsequently paid finance charge must be greater "
         "than prepaid finance charge.  Go back to prior screen(s) to make corrections."},
    };
    for (const Row& row : rows) {
        Loan loan;
        loan.r->gdCommitmentAmt = row.commitment;
        loan.r->gdPrepaidFinChg = row.prepaid;
        loan.r->gdSubseqFinChg = row.subsequent;
        loan.r->gaPymtAmt[1] = row.row1;
        loan.r->gdCalcAPR = 12.5;
        const ConstResultsOutcome out = loan.activate();
        EXPECT_TRUE(out.refused && !out.resultsShown && !out.printEnabled) << row.message;
        EXPECT_EQ(out.captions.lblPrepdChg + out.captions.lblFinanceChg + out.captions.lblAPR, "");
        ASSERT_EQ(loan.user.prompts().size(), 1u);
        EXPECT_EQ(std::tie(loan.user.prompts()[0].text, loan.user.prompts()[0].style), std::tuple(row.message, 48));
        EXPECT_EQ(loan.r->gdCalcAPR, 12.5);  // the solver did not run
    }
}

TEST(construction_results, apr_without_a_solution_or_without_a_charge) {
    // Commitment 10,000, prepaid 9,000, subsequently paid 1,000: C - P - S + A is 0, not above
    // it, so no finance charge is computed (and none of an earlier loan stands), and the amount
    // lent, 5,000 - 9,000, has no APR.
    Loan bad;
    bad.r->gdCommitmentAmt = 10000;
    bad.r->gdPrepaidFinChg = 9000;
    bad.r->gdSubseqFinChg = 1000;
    bad.r->gdEstConstInterest = 0;
    bad.r->gdAmount = -4000;
    bad.r->gaPymtAmt[1] = "7000";
    bad.r->dFnceChg = 777;
    const ConstResultsOutcome out = bad.activate();
    EXPECT_TRUE(out.solverFailed && !out.financeChargeShown && !out.printEnabled);
    EXPECT_EQ(bad.r->dFnceChg, 0);
    EXPECT_EQ(bad.user.prompts().at(0).text,
              "The APR could not be computed for this loan.  Go back to prior screen(s) to make corrections.");

    // One payment of one-half of the commitment and nothing else: T + 0.5 C - C + P + E = 0.
    Loan nil;
    nil.r->gdPrepaidFinChg = nil.r->gdSubseqFinChg = nil.r->gdEstConstInterest = 0;
    nil.r->gaPymtAmt[1] = "50000";
    EXPECT_EQ(nil.activate().captions.lblAPR, "0.0000 %");
    EXPECT_EQ(nil.r->gdCalcAPR, 0.0000001);

    Loan permanent;
    permanent.r->gbConstOptDisc = false;
    EXPECT_THROW(permanent.activate(), RuntimeError);
}

TEST(construction_reimbursement, methods_on_the_one_payment) {
    Terms t;
    t.apr = "7.5";
    Loan apr(t);
    apr.activate();
    ASSERT_TRUE(apr.r->gbSubjToReimb);
    StartConstReimbursement(*apr.r, apr.view.selectedTolerance());
    EXPECT_EQ(std::tie(apr.r->gdAdjustedAPR, apr.r->iNPTotal, apr.r->giPymtFreq),
              std::tuple(7.75, 1, kFreqConstructionOnly));
    // At 7.75 % the 49,000 lent grows to 49,000 x 1.0775 x (1 + 0.5 x 0.0775) = 54,843.4031 by
    // the payment date: the payment of 55,000 is 156.5969 too high.
    EXPECT_NEAR(apr.r->gdAPRAdjFinal, -156.5969, 0.0005);
    EXPECT_EQ(apr.r->gaPymtAmt[1] + "|" + apr.r->gaNumPymts[1], "55000|1");  // the row as typed

    t.apr = "10";
    t.charge = "5000";  // 1,000 below the correct 6,000: beyond the $10 tolerance
    Loan fc(t);
    fc.activate();
    ASSERT_TRUE(fc.r->gbFCUnderViol);
    StartConstReimbursement(*fc.r, kToleranceZero);
    EXPECT_EQ(fc.r->gdFCAdjustment, -1000);  // with no tolerance, the understatement itself
}

}  // namespace
}  // namespace tallex
