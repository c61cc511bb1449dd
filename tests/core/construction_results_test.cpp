// The construction-only results: figures, refusals, the disclosure requirement text, the APR
// of the one payment, the tests with the irregular tolerance, and the construction form of
// reimbursement. Loans are entered through the construction pages' own rules, as a user would.
// Expected figures are the construction rules' examples (99,000.00 / 6,000.00 / 105,000.00;
// 277.78 and 100,277.78; 55,000.00 + 50,000.00) or closed-form hand calculations noted beside
// them.

#include "construction/ConstChoices.h"
#include "construction/ConstLoanTerms.h"
#include "construction/ConstPermanentTerms.h"
#include "construction/ConstPhase.h"
#include "construction/ConstReimbursement.h"
#include "construction/ConstResults.h"
#include "engine/LoanRecord.h"
#include "engine/RuntimeError.h"
#include "ui/MemoryResultsView.h"
#include "ui/ScriptedUser.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

namespace tallex {
namespace {

struct Terms {
    std::int16_t interestType = kInterestOnAdvances;
    std::int16_t accrual = kAccrualWholeMonths;
    const char* period = "18";
    const char* subsequent = "500";
    const char* estimate = "4500";
    const char* disclosedApr = "10";
    const char* financeCharge = "6000";
};

// Commitment 100,000.00, prepaid finance charge 1,000.00, rate 9 %, construction disclosed
// separately, entered page by page.
struct Loan {
    std::unique_ptr<LoanRecord> record = std::make_unique<LoanRecord>();
    ScriptedUser user;
    MemoryResultsView view;
    std::string financeChargeText;

    explicit Loan(const Terms& t) : financeChargeText(t.financeCharge) {
        LoanRecord& r = *record;
        r.gbConstruction = true;
        r.construction.optInterestType = t.interestType;
        r.construction.optIntAccrl = t.accrual;
        Require(ConstLoanTermsContinue(r, user, {"100000", "9", "1000", t.subsequent}));
        Require(ConstPhaseContinue(r, user, {t.period, t.accrual == kAccrualWholeMonths ? "" : "1",
                                             t.accrual == kAccrualWholeMonths ? "" : "0"}));
        ConstInterestActivate(r);
        Require(ConstInterestContinue(r, user, {t.estimate, t.disclosedApr, t.financeCharge, "", {}}).check);
    }
    static void Require(const ConstContinueResult& step) { ASSERT_TRUE(step.passed) << step.message; }
    ConstResultsOutcome activate() {
        return ConstResultsActivate(*record, view, user, {"", financeChargeText});
    }
};

TEST(construction_results, figures_of_the_example_loan) {
    Loan loan{Terms{}};
    const ConstResultsOutcome out = loan.activate();
    ASSERT_FALSE(out.refused);
    EXPECT_TRUE(out.resultsShown);
    EXPECT_TRUE(out.financeChargeShown);
    EXPECT_EQ(out.captions.lblAmount, "$99,000.00");
    EXPECT_EQ(out.captions.lblFinanceChg, "$6,000.00");
    EXPECT_EQ(out.captions.lblTotPymts, "$105,000.00");
    EXPECT_EQ(out.captions.lblPrepdChg, "$1,000.00");
    EXPECT_EQ(out.captions.lblDisclAPR, "10.0000 %");
    EXPECT_EQ(out.captions.lblDisclFinanceChg, "$6,000.00");
    const LoanRecord& r = *loan.record;
    EXPECT_EQ(r.gdPymtsLessAdv, 55000);
    EXPECT_EQ(r.giPVStreams, 1);
    // One payment one 360-day unit period and 180 days after the loan date.
    EXPECT_EQ(r.dFinal, 540);
    EXPECT_TRUE(r.gbIrregular);
    EXPECT_TRUE(out.printEnabled);
    EXPECT_FALSE(loan.view.toleranceOptionVisible(kToleranceEighth));  // .125 % is never offered here
}

TEST(construction_results, apr_of_the_single_payment) {
    // 49,000 = 55,000 / ((1 + i) (1 + 180/360 i)): i = 0.0795246 per 360-day unit period.
    Loan loan{Terms{}};
    const ConstResultsOutcome out = loan.activate();
    EXPECT_NEAR(loan.record->gdCalcAPR, 7.952460, 0.0001);
    EXPECT_EQ(out.captions.lblAPR, "7.9525 %");
}

TEST(construction_results, understated_apr_is_tested_with_the_irregular_tolerance) {
    struct Row { const char* disclosed; bool violation; };
    // 7.9525 - 7.70 = 0.2525 is beyond 1/4 point; 7.9525 - 7.71 = 0.2425 is within it.
    const Row rows[] = {{"7.70", true}, {"7.71", false}};
    for (const Row& row : rows) {
        Terms t;
        t.disclosedApr = row.disclosed;
        Loan loan{t};
        loan.activate();
        SCOPED_TRACE(std::string("disclosed ") + row.disclosed);
        EXPECT_EQ(loan.record->gbAPRUnderViol, row.violation);
        EXPECT_EQ(loan.record->gbSubjToReimb, row.violation);
        EXPECT_EQ(loan.view.toleranceFrameVisible(), row.violation);
    }
}

TEST(construction_results, disclosure_requirement_on_advances) {
    struct Row { const char* subsequent; const char* line4; const char* line5; const char* line6; const char* fee; };
    const Row rows[] = {
        {"500", "and interest due monthly", "One inspection fee due at", "maturity in the amount of", "$500.00"},
        {"", "and interest due monthly", "", "", ""},
    };
    for (const Row& row : rows) {
        Terms t;
        t.subsequent = row.subsequent;
        Loan loan{t};
        const ConstDisclosureText d = loan.activate().disclosure;
        SCOPED_TRACE(std::string("subsequently paid \"") + row.subsequent + "\"");
        EXPECT_EQ(d.lines[0], "The disclosure must state when interest is due and include the amount");
        EXPECT_EQ(d.lines[1], "and timing of any finance charge paid separately after consummation, e.g.,");
        EXPECT_EQ(d.lines[2], "One payment of principal of");
        EXPECT_EQ(d.lblPymtAmt, "$100,000.00");
        EXPECT_EQ(d.lines[3], row.line4);
        EXPECT_EQ(d.lines[4], row.line5);
        EXPECT_EQ(d.lines[5], row.line6);
        EXPECT_EQ(d.lblSubFnceChg, row.fee);
    }
}

TEST(construction_results, disclosure_requirement_within_a_month_is_due_at_maturity) {
    Terms t;
    t.period = "1";
    Loan loan{t};
    EXPECT_EQ(loan.activate().disclosure.lines[3], "and interest due at maturity");
}

TEST(construction_results, disclosure_requirement_on_the_entire_commitment_monthly) {
    Terms t;
    t.interestType = kInterestOnCommitment;
    Loan loan{t};
    const ConstDisclosureText d = loan.activate().disclosure;
    EXPECT_EQ(d.lines[0], "The disclosure must include the timing and amount of interest and");
    EXPECT_EQ(d.lines[1], "any finance charge paid separately after consummation, e.g.,");
    EXPECT_EQ(d.lines[2], " 17 monthly payments of ");
    // Int((500 + 4,500) / 18 x 100 + 0.5) / 100
    EXPECT_EQ(d.lblPymtAmt, "$277.78");
    EXPECT_EQ(d.lines[3], "");
    EXPECT_EQ(d.lines[4], "and a final payment of ");
    // 27.78 + 250.00 + 105,000.00 - 500 - 4,500
    EXPECT_EQ(d.lblFinalPymtAmt, "$100,277.78");
    EXPECT_EQ(d.lines[5], "");
    EXPECT_DOUBLE_EQ(loan.record->gdConstDisclPymt, 277.78);
    EXPECT_DOUBLE_EQ(loan.record->gdConstDisclFinalPymt, 100277.78);
}

TEST(construction_results, disclosure_requirement_on_the_entire_commitment_counted_in_days) {
    Terms t;
    t.interestType = kInterestOnCommitment;
    t.accrual = kAccrualActual365_365;
    t.period = "200";
    Loan loan{t};
    const ConstDisclosureText d = loan.activate().disclosure;
    EXPECT_EQ(d.lines[2], "The final payment is ");
    EXPECT_EQ(d.lblPymtAmt, "$105,000.00");  // 55,000.00 + 50,000.00
    EXPECT_EQ(d.lines[3] + d.lines[4] + d.lines[5], "");
    EXPECT_EQ(loan.record->dFinal, 200);
}

TEST(construction_results, refusals) {
    struct Row { const char* name; double commitment, prepaid, subsequent; const char* row1; std::string message; };
    const Row rows[] = {
        {"prepaid charge above the commitment", 1000, 2000, 0, "500",
         "(The sum of loan commitment amount plus subsequently paid finance charge must be greater than prepaid "
         "finance charge.  Go back to prior screen(s) to make corrections."},
        {"payment below half the commitment", 100000, 1000, 0, "40000",
         "Total payments must not be less than amount financed.  Go back to prior screen(s) to make corrections."},
    };
    for (const Row& row : rows) {
        Loan loan{Terms{}};
        LoanRecord& r = *loan.record;
        r.gdCommitmentAmt = row.commitment;
        r.gdPrepaidFinChg = row.prepaid;
        r.gdSubseqFinChg = row.subsequent;
        r.gdEstConstInterest = 4500;
        r.gaPymtAmt[1] = row.row1;
        r.gdCalcAPR = 12.5;
        const ConstResultsOutcome out = loan.activate();
        SCOPED_TRACE(row.name);
        EXPECT_TRUE(out.refused);
        EXPECT_FALSE(out.resultsShown);
        EXPECT_FALSE(out.printEnabled);
        EXPECT_EQ(out.captions.lblPrepdChg, "");
        EXPECT_EQ(out.captions.lblFinanceChg, "");
        EXPECT_EQ(out.captions.lblAPR, "");  // no APR of an earlier run is shown
        ASSERT_EQ(loan.user.prompts().size(), 1u);
        EXPECT_EQ(loan.user.prompts()[0].text, row.message);
        EXPECT_EQ(loan.user.prompts()[0].style, 48);
        EXPECT_FALSE(loan.view.reimbursementButtonVisible());
        EXPECT_EQ(r.gdCalcAPR, 12.5);  // the solver did not run
    }
}

TEST(construction_results, no_finance_charge_means_no_earlier_one_either) {
    // Commitment 10,000, prepaid 9,000, subsequently paid 2,000: accepted by the loan terms, but
    // commitment - prepaid - subsequently paid is not above 0, so no finance charge is computed;
    // the amount of the APR equation (5,000 - 9,000) is negative and no APR exists.
    Loan loan{Terms{}};
    LoanRecord& r = *loan.record;
    r.gdCommitmentAmt = 10000;
    r.gdPrepaidFinChg = 9000;
    r.gdSubseqFinChg = 2000;
    r.gdEstConstInterest = 0;
    r.gdAmount = -4000;
    r.gaPymtAmt[1] = "7000";
    r.dFnceChg = 777;
    const ConstResultsOutcome out = loan.activate();
    EXPECT_FALSE(out.refused);
    EXPECT_FALSE(out.financeChargeShown);
    EXPECT_EQ(r.dFnceChg, 0);
    EXPECT_TRUE(out.solverFailed);
    EXPECT_FALSE(out.printEnabled);
    ASSERT_EQ(loan.user.prompts().size(), 1u);
    EXPECT_EQ(loan.user.prompts()[0].text,
              "The APR could not be computed for this loan.  Go back to prior screen(s) to make corrections.");
}

TEST(construction_results, a_nil_charge_gives_an_apr_of_zero_without_the_solver) {
    // One payment of half the commitment and nothing else: T + 0.5 C - C + P + E = 0.
    Terms t;
    t.subsequent = "";
    t.estimate = "0";
    Loan loan{t};
    LoanRecord& r = *loan.record;
    r.gdPrepaidFinChg = 0;
    r.gaPymtAmt[1] = "50000";
    r.iSolverPasses = -1;
    const ConstResultsOutcome out = loan.activate();
    EXPECT_EQ(r.gdCalcAPR, 0.0000001);
    EXPECT_EQ(out.captions.lblAPR, "0.0000 %");
    EXPECT_EQ(r.iSolverPasses, -1);
}

TEST(construction_results, only_for_a_construction_only_loan) {
    Loan loan{Terms{}};
    loan.record->gbConstOptDisc = false;
    try {
        loan.activate();
        ADD_FAILURE() << "a loan with permanent financing was accepted";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), 5);
    }
}

TEST(construction_reimbursement, apr_method_on_the_one_payment) {
    Terms t;
    t.disclosedApr = "7.5";
    Loan loan{t};
    loan.activate();
    LoanRecord& r = *loan.record;
    ASSERT_TRUE(r.gbSubjToReimb);
    StartConstReimbursement(r, loan.view.selectedTolerance());
    EXPECT_EQ(r.dTolerance, 0.25);
    EXPECT_EQ(r.gdAdjustedAPR, 7.75);
    EXPECT_EQ(r.iNPTotal, 1);
    EXPECT_EQ(r.dTempAPR, 7.5);
    EXPECT_EQ(r.giPymtFreq, kFreqConstructionOnly);
    // At 7.75 % the 49,000 lent is worth 49,000 x 1.0775 x (1 + 0.5 x 0.0775) = 54,843.4031 on
    // the payment date: the payment of 55,000 is 156.5969 too high.
    EXPECT_NEAR(r.gdAPRAdjFinal, -156.5969, 0.0005);
    EXPECT_EQ(r.gaPymtAmt[1], "55000");
    EXPECT_EQ(r.gaNumPymts[1], "1");
    EXPECT_EQ(r.giPVStreams, 1);
}

TEST(construction_reimbursement, finance_charge_method_when_the_charge_was_understated) {
    Terms t;
    t.financeCharge = "5000";  // 1,000 below the correct 6,000: beyond the $10 tolerance
    Loan loan{t};
    loan.activate();
    LoanRecord& r = *loan.record;
    ASSERT_TRUE(r.gbFCUnderViol);
    StartConstReimbursement(r, kToleranceZero);
    // With no tolerance the adjustment is the understatement itself.
    EXPECT_EQ(r.gdFCAdjustment, -1000);
    EXPECT_EQ(r.gaPymtAmt[1], "55000");
    EXPECT_EQ(r.giPymtFreq, kFreqConstructionOnly);
}

}  // namespace
}  // namespace tallex
