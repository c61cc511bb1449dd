// The tolerance and violation tests: classification, finance-charge tolerance, the APR tests of
// 12 CFR 226.22(a) with the caused-by question, the finance-charge tests of 226.18(d), the 10 %
// obvious error rule, the ten-year term and subjection to reimbursement.
//
// Expected values come from the rules themselves (boundaries, texts) and from the closed-form
// present value of an annuity computed here independently of the engine.

#include "compliance/AprTolerance.h"
#include "compliance/ComplianceTests.h"
#include "compliance/FinanceChargeTolerance.h"
#include "compliance/IrregularTransaction.h"
#include "engine/AprSolver.h"
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

std::unique_ptr<LoanRecord> Schedule(const std::vector<Row>& rows) {
    auto r = std::make_unique<LoanRecord>();
    int k = 0;
    for (const Row& row : rows) {
        ++k;
        r->gaPymtAmt[k] = row.amount;
        r->gaNumPymts[k] = row.count;
        r->gaUnitPeriods[k] = row.unitPeriods;
        r->gaOddDays[k] = row.oddDays;
    }
    r->giPymtRows = r->giPVStreams = r->giGridRowCount = static_cast<std::int16_t>(k);
    r->gdDaysinUnitPd = 30;
    r->gdDaysinYr = 360;
    r->giPymtFreq = kFreqMonthly;
    return r;
}

// Present value of n monthly payments of `payment`, the first one unit period after the loan
// date, at an annual percentage on a 30/360 basis: payment x (1 - (1 + i)^-n) / i.
double AnnuityValue(double payment, int n, double annualPercent) {
    const long double i = static_cast<long double>(annualPercent) / 1200.0L;
    return static_cast<double>(payment * (1.0L - std::pow(1.0L + i, -n)) / i);
}

// A loan whose correct APR is the only thing the test cares about: P 1,000.00, T 1,066.20,
// the finance charge disclosed correctly.
std::unique_ptr<LoanRecord> AprCase(double calculated, double disclosed, bool irregular) {
    auto r = Schedule({{"88.85", "12", "1", "0"}});
    r->gdAmount = r->gdAmtFinanced = 1000;
    r->gdPymtsLessAdv = r->gdTotPymts = 1066.20;
    r->dFnceChg = 1066.20 - 1000;
    r->gdEstFinanceChg = 66.20;
    r->gdCalcAPR = calculated;
    r->gdDisclAPR = disclosed;
    r->gbIrregular = irregular;
    return r;
}

// P 100,000.00 in 12 payments of 8,885.00 (correct APR 12.0026 %), solved by the engine so that
// dPval holds the present value at the disclosed APR.
std::unique_ptr<LoanRecord> SecuredCase(double disclosedApr, double financeChargeError, bool before093095) {
    auto r = Schedule({{"8885", "12", "1", "0"}});
    r->gdAmount = 100000;
    r->gdDisclAPR = disclosedApr;
    SolveAPR(*r);
    r->gdAmtFinanced = 100000;
    r->dFnceChg = r->gdPymtsLessAdv - r->gdAmount;
    r->gdTotPymts = r->gdPymtsLessAdv;
    r->gdEstFinanceChg = r->dFnceChg - financeChargeError;
    r->gbSecuredByRealEstate = true;
    r->gbDatePre_093095 = before093095;
    return r;
}

const char* const kUnderstatedQuestion =
    "The program has determined that the APR for this loan is understated and the finance charge is also "
    "understated,  but within the tolerance allowed by 226.18(d)(1).\r\n\r\n"
    "Was the APR error caused by the finance charge error?\r\n\r\n";
const char* const kOverstatedQuestion =
    "The program has determined that the APR for this loan is overstated and the finance charge is also "
    "overstated.\r\n\r\nWas the APR error caused by the finance charge error?\r\n\r\n";

// ---------------------------------------------------------------------------------------------
// Classification: the rules in order, each case deciding at a different rule.

TEST(irregular_transaction, first_rule_that_decides) {
    struct Case {
        const char* name;
        std::vector<Row> rows;
        bool construction;
        bool irregular;
    };
    const std::vector<Case> cases = {
        {"one row", {{"88.85", "12", "1", "0"}}, false, false},
        {"construction loan", {{"88.85", "12", "1", "0"}}, true, true},
        {"later advance", {{"-500", "1", "3", "0"}, {"88.85", "12", "1", "0"}}, false, true},
        {"1 then 35 right after", {{"100", "1", "1", "0"}, {"90", "35", "2", "0"}}, false, false},
        {"35 then 1 right after", {{"90", "35", "1", "0"}, {"100", "1", "36", "0"}}, false, false},
        {"12 then 24", {{"100", "12", "1", "0"}, {"90", "24", "13", "0"}}, false, true},
        {"odd days differ", {{"100", "1", "1", "5"}, {"90", "35", "2", "0"}}, false, true},
        {"gap between rows", {{"100", "1", "1", "0"}, {"90", "35", "3", "0"}}, false, true},
        {"1, 34, 1", {{"100", "1", "1", "0"}, {"90", "34", "2", "0"}, {"80", "1", "36", "0"}}, false, false},
        {"2, 34, 1", {{"100", "2", "1", "0"}, {"90", "34", "3", "0"}, {"80", "1", "37", "0"}}, false, true},
        {"1, 34, 2", {{"100", "1", "1", "0"}, {"90", "34", "2", "0"}, {"80", "2", "36", "0"}}, false, true},
        {"four rows",
         {{"100", "1", "1", "0"}, {"90", "1", "2", "0"}, {"90", "1", "3", "0"}, {"80", "1", "4", "0"}},
         false,
         true},
    };
    for (const Case& c : cases) {
        auto r = Schedule(c.rows);
        r->gbConstruction = c.construction;
        r->gbIrregular = !c.irregular;
        ClassifyIrregular(*r);
        EXPECT_EQ(r->gbIrregular, c.irregular) << c.name;
    }
}

// ---------------------------------------------------------------------------------------------
// Finance-charge tolerance: 226.18(d)(1) and (d)(2).

TEST(fc_tolerance, dollars_by_security_and_amount_financed) {
    struct Case {
        bool secured, before093095;
        double amountFinanced;
        int tolerance;
    };
    const Case cases[] = {
        {false, false, 1000.00, 5}, {false, false, 1000.01, 10}, {false, false, 250, 5},
        {true, true, 1000.00, 200}, {true, false, 50000, 100},
    };
    for (const Case& c : cases) {
        LoanRecord r;
        r.gbSecuredByRealEstate = c.secured;
        r.gbDatePre_093095 = c.before093095;
        r.gdAmtFinanced = c.amountFinanced;
        SetFCTolerance(r);
        EXPECT_EQ(r.giFCTolerance, c.tolerance)
            << "secured " << c.secured << " pre-09/30/95 " << c.before093095 << " amount financed " << c.amountFinanced;
    }
}

// ---------------------------------------------------------------------------------------------
// APR tolerance at its boundaries: a difference of exactly 1/8 (regular) or 1/4 (irregular) is
// accurate, anything above is a violation on a loan not secured by real estate.

TEST(apr_tolerance, understatement_at_the_boundary) {
    struct Case {
        double calculated;
        bool irregular;
        bool violation;
        const char* reason;
        const char* amount;
    };
    const Case cases[] = {
        {10.125, false, false, "", ""},
        {10.1250001, false, true,
         "*** APR Understatement Violation:   APR is understated by more than 1/8% for Regular, Non-real estate loan.",
         "0.1250 %"},
        {10.25, true, false, "", ""},
        {10.2500001, true, true,
         "*** APR Understatement Violation:   APR is understated by more than 1/4% for Irregular, Non-real estate "
         "loan.",
         "0.2500 %"},
    };
    for (const Case& c : cases) {
        auto r = AprCase(c.calculated, 10, c.irregular);
        MemoryResultsView view;
        ScriptedUser user;
        RunComplianceTests(*r, view, user);
        SCOPED_TRACE(testing::Message() << "calculated " << c.calculated << " disclosed 10 irregular " << c.irregular);
        EXPECT_EQ(r->gbAPRUnderViol, c.violation);
        EXPECT_EQ(r->gsDebugMsgAPR, c.reason);
        const LabelState& note = view.label(ResultsLabel::lblAPRViolation);
        EXPECT_EQ(note.visible, c.violation);
        if (c.violation) {
            EXPECT_EQ(note.caption, "** VIOLATION **  The APR is Understated by:");
            EXPECT_EQ(note.colour, LabelColour::DarkRed);
            EXPECT_EQ(view.label(ResultsLabel::lblAPRViolAmt).caption, c.amount);
            EXPECT_EQ(view.label(ResultsLabel::lblAPRViolAmt).colour, LabelColour::DarkRed);
        }
        EXPECT_TRUE(user.prompts().empty());
    }
}

TEST(apr_tolerance, overstatement_at_the_boundary) {
    struct Case {
        double disclosed;
        bool irregular;
        bool violation;
        const char* amount;
    };
    const Case cases[] = {
        {10.125, false, false, ""},
        {10.1250001, false, true, "0.1250 %"},
        {10.25, true, false, ""},
        {10.2500001, true, true, "0.2500 %"},
    };
    for (const Case& c : cases) {
        auto r = AprCase(10, c.disclosed, c.irregular);
        MemoryResultsView view;
        ScriptedUser user;
        RunComplianceTests(*r, view, user);
        SCOPED_TRACE(testing::Message() << "calculated 10 disclosed " << c.disclosed << " irregular " << c.irregular);
        EXPECT_EQ(r->gbAPROverViol, c.violation);
        EXPECT_EQ(r->gsDebugMsgAPR, c.violation ? "*** APR Overstatement Violation" : "");
        EXPECT_EQ(view.label(ResultsLabel::lblAPRViolation).visible, c.violation);
        if (c.violation) {
            EXPECT_EQ(view.label(ResultsLabel::lblAPRViolation).caption, "** VIOLATION **  The APR is Overstated by:");
            EXPECT_EQ(view.label(ResultsLabel::lblAPRViolAmt).caption, c.amount);
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Secured loans, APR understated (12.0026 % correct): the finance-charge tests, the question and
// the present values at the disclosed and the adjusted disclosed APR, in the order they decide.

TEST(apr_tolerance, secured_understatement_in_rule_order) {
    // Present values at the disclosed 11.8 % and at 11.805 %, less the amount financed.
    const double pvGain = AnnuityValue(8885, 12, 11.8) - 100000;
    const double adjustedGain = AnnuityValue(8885, 12, 11.805) - 100000;
    ASSERT_LT(pvGain + 0.5, 200);  // the "No" cases stay within the $200 tolerance
    struct Case {
        const char* name;
        double error;  // dFinanceChgDiff: how much the finance charge is understated
        bool before093095;
        short answer;  // 0 when no question is expected
        bool violation;
        std::int16_t causedBy;
        const char* reason;
        const char* note;
        const char* amount;
    };
    const Case cases[] = {
        {"finance charge correct", 0, false, 0, true, kNotAsked,
         "*** APR Understatement Violation:   APR is understated but finance charge is not understated.",
         "** VIOLATION **  The APR is Understated by:", "0.2026 %"},
        {"finance charge error over $100", 100.01, false, 0, true, kNotAsked,
         "*** APR Understatement Violation:  Disclosed finance charge is understated by more than the tolerance "
         "amount.",
         "** VIOLATION **  The APR is Understated by:", "0.2026 %"},
        {"caused by the finance charge: Yes", 100, false, kAnswerYesButton, false, kAnswerYes, "",
         "** APR understatement caused by finance charge error:", "0.2026 %"},
        {"No, error covers the present-value gain", pvGain + 0.5, true, kAnswerNoButton, false, kAnswerNo, "",
         "** APR is understated but considered accurate under 226.22(a)(5).", ""},
        {"No, error between the adjusted and the plain gain", (pvGain + adjustedGain) / 2, true, kAnswerNoButton,
         false, kAnswerNo, "", "** APR is understated but considered accurate under 226.22(a)(5).", ""},
        {"No, error below the adjusted gain", adjustedGain - 0.5, true, kAnswerNoButton, true, kAnswerNo,
         "*** APR Understatement Violation:  ADJUSTED present value of payments minus the amount financed is greater "
         "than the finance charge understatement.",
         "** VIOLATION **  The APR is Understated by:", "0.2026 %"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.name << ": error " << c.error << ", gain " << pvGain << ", adjusted gain "
                                        << adjustedGain);
        auto r = SecuredCase(11.8, c.error, c.before093095);
        MemoryResultsView view;
        ScriptedUser user;
        if (c.answer != 0) user.queue(c.answer);
        RunComplianceTests(*r, view, user);
        EXPECT_EQ(r->gbAPRUnderViol, c.violation);
        EXPECT_EQ(r->giAPRUnderByFC, c.causedBy);
        EXPECT_EQ(r->gsDebugMsgAPR, c.reason);
        ASSERT_EQ(user.prompts().size(), c.answer != 0 ? 1u : 0u);
        if (c.answer != 0) {
            EXPECT_EQ(user.prompts()[0].text, kUnderstatedQuestion);
            EXPECT_EQ(user.prompts()[0].style, kStyleYesNoQuestion);
        }
        const LabelState& note = view.label(ResultsLabel::lblAPRViolation);
        const LabelState& amount = view.label(ResultsLabel::lblAPRViolAmt);
        EXPECT_TRUE(note.visible);
        EXPECT_EQ(note.caption, c.note);
        EXPECT_EQ(note.colour, c.violation ? LabelColour::DarkRed : LabelColour::Black);
        EXPECT_TRUE(amount.visible);
        EXPECT_EQ(amount.caption, c.amount);
        EXPECT_EQ(amount.colour, c.violation ? LabelColour::DarkRed : LabelColour::Black);
    }
}

// The same for an overstated APR (12.3 % disclosed, finance charge overstated too).
TEST(apr_tolerance, secured_overstatement_in_rule_order) {
    const double pvShortfall = 100000 - AnnuityValue(8885, 12, 12.3);
    const double adjustedShortfall = 100000 - AnnuityValue(8885, 12, 12.295);
    struct Case {
        const char* name;
        double error;  // dFinanceChgDiff: negative when the finance charge is overstated
        bool secured;
        short answer;
        bool violation;
        std::int16_t causedBy;
        const char* reason;
        const char* note;
        const char* amount;
    };
    const Case cases[] = {
        {"not secured", -1, false, 0, true, kNotAsked, "*** APR Overstatement Violation",
         "** VIOLATION **  The APR is Overstated by:", "0.2974 %"},
        {"finance charge correct", 0, true, 0, true, kNotAsked,
         "*** APR Overstatement Violation:   APR is overstated but finance charge is not overstated.",
         "** VIOLATION **  The APR is Overstated by:", "0.2974 %"},
        {"caused by the finance charge: Yes", -50, true, kAnswerYesButton, false, kAnswerYes, "",
         "** APR overstatement caused by finance charge error:", "0.2974 %"},
        {"No, error covers the shortfall", -(pvShortfall + 0.5), true, kAnswerNoButton, false, kAnswerNo, "",
         "** APR is overstated but considered accurate under 226.22(a)(5).", ""},
        {"No, error between the two shortfalls", -(pvShortfall + adjustedShortfall) / 2, true, kAnswerNoButton, false,
         kAnswerNo, "", "** APR is overstated but considered accurate under 226.22(a)(5).", ""},
        {"No, error below the adjusted shortfall", -(adjustedShortfall - 0.5), true, kAnswerNoButton, true, kAnswerNo,
         "*** APR Overstatement Violation:   Amount financed minus ADJUSTED present value of payments is greater than "
         "the finance charge overstatement.",
         "** VIOLATION **  The APR is Overstated by:", "0.2974 %"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.name << ": error " << c.error << ", shortfall " << pvShortfall
                                        << ", adjusted shortfall " << adjustedShortfall);
        auto r = SecuredCase(12.3, c.error, true);
        r->gbSecuredByRealEstate = c.secured;
        MemoryResultsView view;
        ScriptedUser user;
        if (c.answer != 0) user.queue(c.answer);
        RunComplianceTests(*r, view, user);
        EXPECT_EQ(r->gbAPROverViol, c.violation);
        EXPECT_EQ(r->giAPROverByFC, c.causedBy);
        EXPECT_EQ(r->giAPRUnderByFC, kNotAsked);
        EXPECT_EQ(r->gsDebugMsgAPR, c.reason);
        ASSERT_EQ(user.prompts().size(), c.answer != 0 ? 1u : 0u);
        if (c.answer != 0) {
            EXPECT_EQ(user.prompts()[0].text, kOverstatedQuestion);
            EXPECT_EQ(user.prompts()[0].style, kStyleYesNoQuestion);
        }
        EXPECT_EQ(view.label(ResultsLabel::lblAPRViolation).caption, c.note);
        EXPECT_EQ(view.label(ResultsLabel::lblAPRViolAmt).caption, c.amount);
        EXPECT_EQ(view.label(ResultsLabel::lblAPRViolation).colour,
                  c.violation ? LabelColour::DarkRed : LabelColour::Black);
    }
}

// An understatement of 0.3 on a secured loan, finance charge understated within tolerance,
// answered Yes: a black note with the amount, and nothing to reimburse.
TEST(apr_tolerance, yes_turns_a_violation_into_a_note) {
    auto r = SecuredCase(11.7026, 50, false);
    MemoryResultsView view;
    ScriptedUser user;
    user.queue(kAnswerYesButton);
    RunComplianceTests(*r, view, user);
    EXPECT_FALSE(r->gbAPRUnderViol);
    EXPECT_EQ(view.label(ResultsLabel::lblAPRViolation).caption, "** APR understatement caused by finance charge error:");
    EXPECT_EQ(view.label(ResultsLabel::lblAPRViolation).colour, LabelColour::Black);
    EXPECT_EQ(view.label(ResultsLabel::lblAPRViolAmt).caption, "0.3000 %");
    EXPECT_FALSE(r->gbSubjToReimb);
    EXPECT_FALSE(view.toleranceFrameVisible());
}

// ---------------------------------------------------------------------------------------------
// Adjusted disclosed APR: half a unit of the last decimal shown.

TEST(adjusted_apr, half_a_unit_of_the_last_decimal) {
    struct Case {
        double disclosed, up, down;
    };
    const Case cases[] = {
        {8.125, 8.1255, 8.1245}, {8.1, 8.105, 8.095}, {8, 8.005, 7.995},
        {8.25, 8.255, 8.245},    {8.1234, 8.12345, 8.12335},
    };
    for (const Case& c : cases) {
        auto r = Schedule({{"88.85", "12", "1", "0"}});
        r->gdDisclAPR = c.disclosed;
        AdjustDisclosedAPR(*r, AdjustDirection::Understatement);
        EXPECT_NEAR(r->gdDisclAPR_Adjusted, c.up, 1e-12) << "disclosed " << c.disclosed;
        EXPECT_NEAR(r->gdPval_Adjusted, AnnuityValue(88.85, 12, c.up), 1e-9) << "disclosed " << c.disclosed;
        AdjustDisclosedAPR(*r, AdjustDirection::Overstatement);
        EXPECT_NEAR(r->gdDisclAPR_Adjusted, c.down, 1e-12) << "disclosed " << c.disclosed;
        EXPECT_NEAR(r->gdPval_Adjusted, AnnuityValue(88.85, 12, c.down), 1e-9) << "disclosed " << c.disclosed;
    }
}

TEST(adjusted_apr, year_of_zero_days_is_a_division_by_zero) {
    auto r = Schedule({{"88.85", "12", "1", "0"}});
    r->gdDisclAPR = 12;
    r->gdDaysinYr = 0;
    try {
        AdjustDisclosedAPR(*r, AdjustDirection::Understatement);
        FAIL() << "no run-time error";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), 11);
    }
}

// ---------------------------------------------------------------------------------------------
// Finance-charge tests, compared in cents; correct finance charge $66.20 on $1,000.00 ($5).

TEST(fc_tolerance, understatement_and_overstatement_at_the_boundary) {
    struct Case {
        double disclosed;
        bool secured, before093095;
        bool under, over;
        const char* caption;
        const char* amount;
    };
    const Case cases[] = {
        {61.20, false, false, false, false, "", ""},
        {61.19, false, false, true, false, "** VIOLATION **  The Finance Charge is Understated by:", "$5.01"},
        {71.20, false, false, false, false, "", ""},
        {71.21, false, false, false, true, "** VIOLATION **  The Finance Charge is Overstated by:", "$5.01"},
        {500.00, true, true, false, false, "", ""},  // secured: an overstatement is never a violation
    };
    for (const Case& c : cases) {
        auto r = AprCase(12, 12, false);
        r->gdEstFinanceChg = c.disclosed;
        r->gbSecuredByRealEstate = c.secured;
        r->gbDatePre_093095 = c.before093095;
        MemoryResultsView view;
        ScriptedUser user;
        RunComplianceTests(*r, view, user);
        SCOPED_TRACE(testing::Message() << "disclosed finance charge " << c.disclosed << " secured " << c.secured);
        EXPECT_EQ(r->gbFCUnderViol, c.under);
        EXPECT_EQ(r->gbFCOverViol, c.over);
        const bool shown = c.under || c.over;
        EXPECT_EQ(view.label(ResultsLabel::lblFinanceViolation).visible, shown);
        EXPECT_EQ(view.label(ResultsLabel::lblFinanceViolAmt).visible, shown);
        if (shown) {
            EXPECT_EQ(view.label(ResultsLabel::lblFinanceViolation).caption, c.caption);
            EXPECT_EQ(view.label(ResultsLabel::lblFinanceViolAmt).caption, c.amount);
            EXPECT_EQ(view.label(ResultsLabel::lblFinanceViolAmt).colour, LabelColour::DarkRed);
        }
        EXPECT_EQ(r->gsDebugMsgFC,
                  c.under ? "*** Finance Charge Understatement Violation:  Disclosed finance charge plus the tolerance "
                            "amount is less than the correct finance charge."
                  : c.over ? "*** Finance Charge Overstatement Violation:  Disclosed finance charge minus the "
                             "tolerance amount is greater than than the correct finance charge."
                           : "");
    }
}

// ---------------------------------------------------------------------------------------------
// A disclosed finance charge of 0 switches every APR and finance-charge test off.

TEST(compliance_tests, disclosed_finance_charge_of_zero_switches_every_test_off) {
    auto r = SecuredCase(6, 0, false);  // APR understated by 6 points
    r->gdEstFinanceChg = 0;
    MemoryResultsView view;
    view.setLabelVisible(ResultsLabel::lblFinanceError, true);  // left over from a previous run
    ScriptedUser user;
    RunComplianceTests(*r, view, user);
    EXPECT_TRUE(user.prompts().empty());
    EXPECT_EQ(r->dFinanceChgDiff, 0.0);
    EXPECT_FALSE(r->gbAPRUnderViol || r->gbAPROverViol || r->gbFCUnderViol || r->gbFCOverViol);
    for (ResultsLabel label : {ResultsLabel::lblAPRViolation, ResultsLabel::lblAPRViolAmt,
                               ResultsLabel::lblFinanceViolation, ResultsLabel::lblFinanceViolAmt,
                               ResultsLabel::lblFinanceError}) {
        EXPECT_FALSE(view.label(label).visible) << static_cast<int>(label);
    }
    EXPECT_EQ(r->giAPRUnderByFC, kNotAsked);
    EXPECT_FALSE(r->gbSubjToReimb);
    EXPECT_EQ(r->giFCTolerance, 100);
}

// ---------------------------------------------------------------------------------------------
// 10 % obvious error rule: disclosed figure at most a tenth of the correct one.

TEST(obvious_error_rule, a_tenth_of_the_correct_figure) {
    struct Case {
        const char* name;
        double disclosedFinanceCharge, calculatedApr, disclosedApr;
        bool shown;
    };
    const Case cases[] = {
        {"finance charge a tenth", 6.62, 12, 12, true},
        {"finance charge above a tenth", 6.63, 12, 12, false},
        {"APR a tenth", 66.20, 12, 1.2, true},
        {"APR above a tenth", 66.20, 12, 1.21, false},
    };
    for (const Case& c : cases) {
        auto r = AprCase(c.calculatedApr, c.disclosedApr, false);
        r->gdEstFinanceChg = c.disclosedFinanceCharge;
        MemoryResultsView view;
        ScriptedUser user;
        RunComplianceTests(*r, view, user);
        const LabelState& label = view.label(ResultsLabel::lblFinanceError);
        EXPECT_EQ(label.visible, c.shown) << c.name;
        if (c.shown) {
            EXPECT_EQ(label.caption, "(The 10% obvious error rule applies)") << c.name;
            EXPECT_EQ(label.colour, LabelColour::DarkRed) << c.name;
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Ten-year term, the tolerance it preselects and the reimbursement tolerance it implies.

TEST(term_over_ten_years, boundaries_and_preselection) {
    struct Case {
        const char* name;
        double daysInYear, final;
        std::int16_t frequency;
        double months, unitDays, unitPeriods, oddDays;
        bool irregular;
        bool over;
        int selected;  // optTolerance after the run; the view starts with option 0
    };
    const Case cases[] = {
        {"3600 days at 360", 360, 3600, kFreqMonthly, 0, 30, 0, 0, false, false, kToleranceQuarter},
        {"3601 days at 360", 360, 3601, kFreqMonthly, 0, 30, 0, 0, false, true, kToleranceEighth},
        {"3640 days at 364", 364, 3640, kFreqActualDaysInstallment, 0, 14, 0, 0, false, false, kToleranceQuarter},
        {"3641 days at 364", 364, 3641, kFreqActualDaysInstallment, 0, 14, 0, 0, false, true, kToleranceEighth},
        {"3650 days at 365", 365, 3650, kFreqActualDaysInstallment, 0, 10, 0, 0, false, false, kToleranceQuarter},
        {"3651 days at 365", 365, 3651, kFreqActualDaysInstallment, 0, 10, 0, 0, false, true, kToleranceEighth},
        {"120 equal months", 360, 0, kFreqEqualMonthsSingle, 120, 360, 0, 0, false, false, kToleranceQuarter},
        {"121 equal months", 360, 0, kFreqEqualMonthsSingle, 121, 360, 0, 0, false, true, kToleranceEighth},
        {"3650 actual days", 365, 0, kFreqActualDaysSingle, 0, 3640, 1, 10, false, false, kToleranceZero},
        {"3651 actual days", 365, 0, kFreqActualDaysSingle, 0, 3640, 1, 11, false, true, kToleranceEighth},
        {"irregular, 3601 days", 360, 3601, kFreqMonthly, 0, 30, 0, 0, true, false, kToleranceQuarter},
    };
    for (const Case& c : cases) {
        auto r = AprCase(12, 12, c.irregular);
        r->gdDaysinYr = c.daysInYear;
        r->dFinal = c.final;
        r->giPymtFreq = c.frequency;
        r->dMonths = c.months;
        r->gdDaysinUnitPd = c.unitDays;
        r->dUnitPeriods = c.unitPeriods;
        r->gdOddDays = c.oddDays;
        MemoryResultsView view(kToleranceZero);
        ScriptedUser user;
        RunComplianceTests(*r, view, user);
        EXPECT_EQ(r->gbTermOver10Yrs, c.over) << c.name;
        EXPECT_EQ(view.selectedTolerance(), c.selected) << c.name;
        if (c.frequency == kFreqActualDaysSingle) {
            EXPECT_EQ(r->dActDays, c.unitPeriods * c.unitDays + c.oddDays) << c.name;
        }
    }
}

TEST(reimbursement_subject, tolerance_follows_the_term) {
    struct Case {
        const char* name;
        double calculated, disclosed;
        double final;
        bool irregular;
        bool subject;
    };
    // Regular loans: 1/4 point under ten years, 1/8 over; irregular loans always 1/4.
    const Case cases[] = {
        {"0.25 understated, short term", 12.25, 12, 3600, false, false},
        {"0.2500001 understated, short term", 12.2500001, 12, 3600, false, true},
        {"0.2 understated, over ten years", 12.2, 12, 3601, false, true},
        {"0.125 understated, over ten years", 12.125, 12, 3601, false, false},
        {"0.3 understated, irregular", 12.3, 12, 3601, true, true},
        {"overstated by 3 points", 9, 12, 3600, false, false},
    };
    for (const Case& c : cases) {
        auto r = AprCase(c.calculated, c.disclosed, c.irregular);
        r->dFinal = c.final;
        MemoryResultsView view;
        ScriptedUser user;
        RunComplianceTests(*r, view, user);
        EXPECT_EQ(r->gbSubjToReimb, c.subject) << c.name;
        EXPECT_EQ(view.toleranceFrameVisible(), c.subject) << c.name;
        EXPECT_EQ(view.reimbursementButtonVisible(), c.subject) << c.name;
    }
}

// Every finance-charge understatement violation is more than the $5 tolerance, so it always
// makes the loan subject to reimbursement; an overstatement never does.
TEST(reimbursement_subject, finance_charge_understatement_always_subject) {
    for (double disclosed : {61.19, 71.21}) {
        auto r = AprCase(12, 12, false);
        r->gdEstFinanceChg = disclosed;
        MemoryResultsView view;
        ScriptedUser user;
        RunComplianceTests(*r, view, user);
        EXPECT_EQ(r->gbSubjToReimb, disclosed < 66.20) << "disclosed finance charge " << disclosed;
    }
}

// The questions are asked again on every run: the answers start at 99.
TEST(compliance_tests, answers_reset_on_every_run) {
    auto r = SecuredCase(11.8, 50, false);
    MemoryResultsView view;
    ScriptedUser user;
    user.queue(kAnswerYesButton);
    user.queue(kAnswerNoButton);
    RunComplianceTests(*r, view, user);
    EXPECT_EQ(r->giAPRUnderByFC, kAnswerYes);
    RunComplianceTests(*r, view, user);
    EXPECT_EQ(r->giAPRUnderByFC, kAnswerNo);
    EXPECT_EQ(user.prompts().size(), 2u);
    EXPECT_EQ(r->gsMsgText, kUnderstatedQuestion);
    EXPECT_EQ(r->giMsgResult, kAnswerNoButton);
}

}  // namespace
}  // namespace tallex
