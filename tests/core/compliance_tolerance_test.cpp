// Tolerance and violation tests: classification, the finance-charge tolerance of 12 CFR
// 226.18(d), the APR tests of 226.22(a) with the caused-by question, the 10 % obvious error rule,
// the ten-year term and subjection to reimbursement. Expected values come from the rules
// (boundaries, texts) and from the closed-form annuity value computed here, not by the engine.

#include "compliance/AprTolerance.h"
#include "compliance/ComplianceTests.h"
#include "compliance/FinanceChargeTolerance.h"
#include "compliance/IrregularTransaction.h"
#include "compliance/ResultsPictures.h"
#include "engine/AprSolver.h"
#include "engine/RuntimeError.h"
#include "report/ReportText.h"
#include "ui/MemoryResultsView.h"
#include "ui/ScriptedUser.h"

#include "TestLoans.h"

#include <gtest/gtest.h>
#include <algorithm>

#include <cmath>
#include <memory>
#include <optional>
#include <string>
#include <tuple>

namespace tallex {
namespace {

using test::MonthlyScheduleOf;

// Value of n monthly payments, the first one month out, at an annual percentage (30/360).
double AnnuityValue(double payment, int n, double apr) {
    const long double i = apr / 1200.0L;
    return static_cast<double>(payment * (1 - std::pow(1 + i, -n)) / i);
}

// $1,000.00 in 12 payments of $88.85 (T 1,066.20), finance charge disclosed correctly.
std::unique_ptr<LoanRecord> AprCase(double calculated, double disclosed, bool irregular = false) {
    auto r = MonthlyScheduleOf("88.85 12 1 0");
    r->gdAmount = r->gdAmtFinanced = 1000;
    r->gdPymtsLessAdv = r->gdTotPymts = 1066.20;
    r->dFnceChg = 1066.20 - 1000;
    r->gdEstFinanceChg = 66.20;
    r->gdCalcAPR = calculated;
    r->gdDisclAPR = disclosed;
    r->gbIrregular = irregular;
    return r;
}

// Secured: $100,000.00 in 12 payments of $8,885.00 (correct APR 12.0026 %), solved by the engine
// so that dPval is the value at the disclosed APR; `error` is the finance-charge understatement.
std::unique_ptr<LoanRecord> SecuredCase(double disclosedApr, double error, bool before093095 = false) {
    auto r = test::SolvedMonthlyLoan(100000, disclosedApr, "8885 12 1 0");
    r->gdAmtFinanced = 100000;
    r->dFnceChg = r->gdPymtsLessAdv - r->gdAmount;
    r->gdTotPymts = r->gdPymtsLessAdv;
    r->gdEstFinanceChg = r->dFnceChg - error;
    r->gbSecuredByRealEstate = true;
    r->gbDatePre_093095 = before093095;
    return r;
}

struct Run {
    explicit Run(int initialTolerance) : view(initialTolerance) {}
    MemoryResultsView view;
    ScriptedUser user;
    const LabelState& label(ResultsLabel l) const { return view.label(l); }
};

std::unique_ptr<Run> RunTests(LoanRecord& r, short answer = 0, int initialTolerance = kToleranceQuarter) {
    auto run = std::make_unique<Run>(initialTolerance);
    if (answer != 0) run->user.queue(answer);
    RunComplianceTests(r, run->view, run->user);
    return run;
}

constexpr auto APRNote = ResultsLabel::lblAPRViolation;
constexpr auto APRAmount = ResultsLabel::lblAPRViolAmt;
const std::string kQuestion = "\r\n\r\nWas the APR error caused by the finance charge error?\r\n\r\n";
const std::string kUnderQuestion =
    "The program has determined that the APR for this loan is understated and the finance "
    "charge is also understated,  but within the tolerance allowed by 226.18(d)(1)." +
    kQuestion;
const std::string kOverQuestion =
    "The program has determined that the APR for this loan is overstated and the finance "
    "charge is also overstated." +
    kQuestion;
const char* const kUnder = "** VIOLATION **  The APR is Understated by:";
const char* const kNotUnder =
    "*** APR Understatement Violation:   APR is understated but finance charge is not understated.";
const char* const kNotOver =
    "*** APR Overstatement Violation:   APR is overstated but finance charge is not overstated.";
const char* const kBeyondTolerance =
    "*** APR Understatement Violation:  Disclosed finance charge is understated by more than the tolerance amount.";
const char* const kOver = "** VIOLATION **  The APR is Overstated by:";

TEST(irregular_transaction, first_rule_that_decides) {
    const std::pair<const char*, bool> cases[] = {
        {"88.85 12 1 0", false},                       // one row
        {"-500 1 3 0 | 88.85 12 1 0", true},           // an advance
        {"-500 1 0 0 | 88.85 12 1 0", true},           // an advance at consummation, regular in form
        {"100 1 1 0 | 90 35 2 0", false},              // irregular first payment
        {"90 35 1 0 | 100 1 36 0", false},             // irregular final payment
        {"100 12 1 0 | 90 24 13 0", true},             // two runs of payments
        {"100 1 1 5 | 90 35 2 0", true},               // odd days differ
        {"100 1 1 0 | 90 35 3 0", true},               // a gap
        {"100 1 1 0 | 90 34 2 0 | 80 1 36 0", false},  // both irregular, three-row form
        {"100 2 1 0 | 90 34 3 0 | 80 1 37 0", true},
        {"100 1 1 0 | 90 34 2 0 | 80 2 36 0", true},
        {"100 1 1 0 | 90 1 2 0 | 90 1 3 0 | 80 1 4 0", true},  // four rows
    };
    for (const auto& [rows, irregular] : cases) {
        auto r = MonthlyScheduleOf(rows);
        ClassifyIrregular(*r);
        EXPECT_EQ(r->gbIrregular, irregular) << rows;
    }
    auto r = MonthlyScheduleOf("88.85 12 1 0");
    r->gbConstruction = true;
    ClassifyIrregular(*r);
    EXPECT_TRUE(r->gbIrregular) << "construction";
}

TEST(fc_tolerance, dollars_by_security_and_amount_financed) {
    struct {
        bool secured, before;
        double amountFinanced;
        int tolerance;
    } const cases[] = {
        {false, false, 1000.00, 5}, {false, false, 1000.01, 10}, {true, true, 1000, 200}, {true, false, 50000, 100}};
    for (const auto& c : cases) {
        LoanRecord r;
        r.gbSecuredByRealEstate = c.secured;
        r.gbDatePre_093095 = c.before;
        r.gdAmtFinanced = c.amountFinanced;
        SetFCTolerance(r);
        EXPECT_EQ(r.giFCTolerance, c.tolerance) << c.secured << c.before << " " << c.amountFinanced;
    }
}

// Exactly 1/8 (regular) or 1/4 (irregular) is accurate; anything more a violation when not secured.
TEST(apr_tolerance, understatement_and_overstatement_at_the_boundary) {
    struct {
        double calculated, disclosed;
        bool irregular;
        const char* caption;
        const char* reason;
    } const cases[] = {
        {10.125, 10, false, "", ""},
        {10.1250001, 10, false, kUnder,
         "*** APR Understatement Violation:   APR is understated by more than 1/8% for Regular, Non-real estate loan."},
        {10.25, 10, true, "", ""},
        {10.2500001, 10, true, kUnder,
         "*** APR Understatement Violation:   APR is understated by more than 1/4% for Irregular, Non-real estate "
         "loan."},
        {10, 10.125, false, "", ""},
        {10, 10.1250001, false, kOver, "*** APR Overstatement Violation"},
        {10, 10.25, true, "", ""},
        {10, 10.2500001, true, kOver, "*** APR Overstatement Violation"},
    };
    for (const auto& c : cases) {
        auto r = AprCase(c.calculated, c.disclosed, c.irregular);
        auto run = RunTests(*r);
        SCOPED_TRACE(testing::Message() << c.calculated << " vs " << c.disclosed << " irregular " << c.irregular);
        EXPECT_EQ(std::tie(r->gsDebugMsgAPR, run->label(APRNote).visible), std::tuple(c.reason, *c.caption != '\0'));
        EXPECT_EQ(r->gbAPRUnderViol || r->gbAPROverViol, *c.reason != '\0');
        if (*c.caption) {
            EXPECT_EQ(
                std::tie(run->label(APRNote).caption, run->label(APRAmount).caption, run->label(APRAmount).colour),
                std::tuple(c.caption, c.irregular ? "0.2500 %" : "0.1250 %", LabelColour::DarkRed));
        }
    }
}

// Secured loans, in the order the rules decide. `gain` is the schedule's value at the disclosed
// APR less the amount financed, `adjusted` the same at the disclosed APR moved half a unit.
TEST(apr_tolerance, secured_loans_in_rule_order) {
    const double gain = AnnuityValue(8885, 12, 11.8) - 1e5, adjGain = AnnuityValue(8885, 12, 11.805) - 1e5;
    const double lack = 1e5 - AnnuityValue(8885, 12, 12.3), adjLack = 1e5 - AnnuityValue(8885, 12, 12.295);
    const char* const accurateUnder = "** APR is understated but considered accurate under 226.22(a)(5).";
    const char* const accurateOver = "** APR is overstated but considered accurate under 226.22(a)(5).";
    struct {
        double disclosed, error;
        short answer;
        std::int16_t causedBy;
        const char* reason;
        const char* note;
    } const cases[] = {
        {11.8, 0, 0, kNotAsked, kNotUnder, kUnder},
        {11.8, 200.01, 0, kNotAsked, kBeyondTolerance, kUnder},
        {11.8, 200, kAnswerYesButton, kAnswerYes, "", "** APR understatement caused by finance charge error:"},
        {11.8, gain + 0.5, kAnswerNoButton, kAnswerNo, "", accurateUnder},
        {11.8, (gain + adjGain) / 2, kAnswerNoButton, kAnswerNo, "", accurateUnder},
        {11.8, adjGain - 0.5, kAnswerNoButton, kAnswerNo,
         "*** APR Understatement Violation:  ADJUSTED present value of payments minus the amount financed is greater "
         "than the finance charge understatement.",
         kUnder},
        {12.3, 0, 0, kNotAsked, kNotOver, kOver},
        {12.3, -50, kAnswerYesButton, kAnswerYes, "", "** APR overstatement caused by finance charge error:"},
        {12.3, -(lack + 0.5), kAnswerNoButton, kAnswerNo, "", accurateOver},
        {12.3, -(lack + adjLack) / 2, kAnswerNoButton, kAnswerNo, "", accurateOver},
        {12.3, -(adjLack - 0.5), kAnswerNoButton, kAnswerNo,
         "*** APR Overstatement Violation:   Amount financed minus ADJUSTED present value of payments is greater than "
         "the finance charge overstatement.",
         kOver},
    };
    ASSERT_LT(gain + 0.5, 200);  // the "No" cases stay within the $200 tolerance
    for (const auto& c : cases) {
        auto r = SecuredCase(c.disclosed, c.error, true);
        auto run = RunTests(*r, c.answer);
        const bool under = c.disclosed < 12, violation = *c.reason != '\0';
        SCOPED_TRACE(testing::Message() << "disclosed " << c.disclosed << " error " << c.error << " gain " << gain
                                        << "/" << adjGain << " lack " << lack << "/" << adjLack);
        EXPECT_EQ(under ? r->gbAPRUnderViol : r->gbAPROverViol, violation);
        EXPECT_EQ(under ? r->giAPRUnderByFC : r->giAPROverByFC, c.causedBy);
        EXPECT_EQ(r->gsDebugMsgAPR, c.reason);
        ASSERT_EQ(run->user.prompts().size(), c.answer ? 1u : 0u);
        if (c.answer) {
            EXPECT_EQ(std::tie(run->user.prompts()[0].text, run->user.prompts()[0].style),
                      std::tuple(under ? kUnderQuestion : kOverQuestion, kStyleYesNoQuestion));
        }
        EXPECT_EQ(run->label(APRNote).caption, c.note);
        const bool accurate = c.answer == kAnswerNoButton && !violation;
        EXPECT_EQ(run->label(APRAmount).caption, accurate ? "" : under ? "0.2026 %" : "0.2974 %");
        EXPECT_EQ(run->label(APRNote).colour, violation ? LabelColour::DarkRed : LabelColour::Black);
    }
}

// Understated by 0.3, finance charge understated within tolerance, answered Yes: a black note.
TEST(apr_tolerance, yes_turns_a_violation_into_a_note) {
    auto r = SecuredCase(11.7026, 50);
    auto run = RunTests(*r, kAnswerYesButton);
    EXPECT_EQ(std::tie(run->label(APRNote).caption, run->label(APRAmount).caption, run->label(APRAmount).colour),
              std::tuple("** APR understatement caused by finance charge error:", "0.3000 %", LabelColour::Black));
    EXPECT_FALSE(r->gbAPRUnderViol || r->gbSubjToReimb);
    EXPECT_EQ(r->gsMsgText, kUnderQuestion);
    EXPECT_EQ(RunTests(*r, kAnswerNoButton)->user.prompts().size(), 1u) << "asked again on the next run";
}

TEST(adjusted_apr, half_a_unit_of_the_last_decimal) {
    struct {
        double disclosed, up, down;
    } const cases[] = {{8.125, 8.1255, 8.1245}, {8.1, 8.105, 8.095}, {8, 8.005, 7.995}, {8.1234, 8.12345, 8.12335}};
    for (const auto& c : cases) {
        auto r = MonthlyScheduleOf("88.85 12 1 0");
        r->gdDisclAPR = c.disclosed;
        for (auto [direction, expected] :
             {std::pair{AdjustDirection::Understatement, c.up}, {AdjustDirection::Overstatement, c.down}}) {
            AdjustDisclosedAPR(*r, direction);
            EXPECT_NEAR(r->gdDisclAPR_Adjusted, expected, 1e-12) << c.disclosed;
            EXPECT_NEAR(r->gdPval_Adjusted, AnnuityValue(88.85, 12, expected), 1e-9) << c.disclosed;
        }
    }
    auto r = MonthlyScheduleOf("88.85 12 1 0");
    r->gdDaysinYr = 0;
    try {
        AdjustDisclosedAPR(*r, AdjustDirection::Understatement);
        ADD_FAILURE() << "no run-time error for a year of 0 days";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), 11);
    }
}

// Correct finance charge $66.20, tolerance $5, compared in cents.
TEST(fc_tolerance, understatement_and_overstatement_at_the_boundary) {
    const char* const under =
        "*** Finance Charge Understatement Violation:  Disclosed finance charge plus the tolerance amount is less than "
        "the correct finance charge.";
    const char* const over =
        "*** Finance Charge Overstatement Violation:  Disclosed finance charge minus the tolerance amount is greater "
        "than than the correct finance charge.";
    struct {
        double disclosed;
        bool secured;
        const char* reason;
        const char* caption;
    } const cases[] = {
        {61.20, false, "", ""}, {61.19, false, under, "** VIOLATION **  The Finance Charge is Understated by:"},
        {71.20, false, "", ""}, {71.21, false, over, "** VIOLATION **  The Finance Charge is Overstated by:"},
        {500.00, true, "", ""},  // secured: an overstatement is never a violation
    };
    for (const auto& c : cases) {
        auto r = AprCase(12, 12);
        r->gdEstFinanceChg = c.disclosed;
        r->gbSecuredByRealEstate = r->gbDatePre_093095 = c.secured;
        auto run = RunTests(*r);
        const LabelState& amount = run->label(ResultsLabel::lblFinanceViolAmt);
        EXPECT_EQ(std::tie(r->gsDebugMsgFC, run->label(ResultsLabel::lblFinanceViolation).caption, amount.visible),
                  std::tuple(c.reason, c.caption, *c.caption != '\0'))
            << c.disclosed;
        EXPECT_EQ(std::tuple(r->gbFCUnderViol, r->gbFCOverViol), std::tuple(c.reason == under, c.reason == over));
        EXPECT_EQ(amount.caption, *c.caption ? "$5.01" : "") << c.disclosed;
    }
    // T - P - FC of 0.05 runs no overstatement test, even where no finance charge was worked out
    // (a construction-only loan whose subsequently paid charge reaches the commitment keeps it 0).
    auto notWorkedOut = AprCase(12, 12);
    notWorkedOut->gdEstFinanceChg = 66.15;
    notWorkedOut->dFnceChg = 0;
    RunTests(*notWorkedOut);
    EXPECT_FALSE(notWorkedOut->gbFCOverViol || notWorkedOut->gbFCUnderViol);
}

// Each finance-charge boundary exactly at and a cent beyond it, with T and P
// whose binary difference is off by noise (172173.92 - 39666.95 - 132406.97 is 100.0000000000291,
// 1086.48 - 977.82 is 108.65999999999997): exactly the tolerance is within it, and a disclosed
// finance charge of exactly a tenth of the correct one falls under the 10 % rule.
TEST(tolerance_boundaries, money_is_compared_to_the_cent_not_to_binary_noise) {
    enum Rule { AprStepFive, AprNotUnder, AprNotOver, FcOver, FcUnder, TenPercent };
    struct {
        Rule rule;
        double t, p, fc;
        bool secured, before093095;
        bool decided;
    } const cases[] = {
        // APR understated 0.3 point on a secured loan: a finance charge understated by more than
        // $100 ($200 before 09/30/95) decides the violation; within it the user is asked.
        {AprStepFive, 172173.92, 39666.95, 132406.97, true, false, false},
        {AprStepFive, 172173.92, 39666.95, 132406.96, true, false, true},
        {AprStepFive, 15980.11, 633.63, 15146.48, true, true, false},
        {AprStepFive, 15980.11, 633.63, 15146.47, true, true, true},
        // A finance charge disclosed exactly right, T - P - FC a hair above or below 0: an
        // understated APR is not caused by an understated finance charge, nor an overstated one
        // by an overstated finance charge.
        {AprNotUnder, 160695.35, 99528.64, 61166.71, true, false, true},
        {AprNotUnder, 160695.35, 99528.64, 61166.70, true, false, false},
        {AprNotOver, 319131.94, 210056.89, 109075.05, true, false, true},
        {AprNotOver, 319131.94, 210056.89, 109075.06, true, false, false},
        // Overstated finance charge, $5 (amount financed up to $1,000) and $10.
        {FcOver, 1086.48, 977.82, 113.66, false, false, false},
        {FcOver, 1086.48, 977.82, 113.67, false, false, true},
        {FcOver, 82127.87, 62439.66, 19698.21, false, false, false},
        {FcOver, 82127.87, 62439.66, 19698.22, false, false, true},
        // Understated finance charge, $5, $100 and $200.
        {FcUnder, 1153.38, 684.10, 464.28, false, false, false},
        {FcUnder, 1153.38, 684.10, 464.27, false, false, true},
        {FcUnder, 172173.92, 39666.95, 132406.97, true, false, false},
        {FcUnder, 172173.92, 39666.95, 132406.96, true, false, true},
        {FcUnder, 15980.11, 633.63, 15146.48, true, true, false},
        {FcUnder, 15980.11, 633.63, 15146.47, true, true, true},
        // 2,335.71 is exactly a tenth of 110,856.06 - 87,498.96.
        {TenPercent, 110856.06, 87498.96, 2335.71, false, false, true},
        {TenPercent, 110856.06, 87498.96, 2335.72, false, false, false},
    };
    for (const auto& c : cases) {
        auto r = MonthlyScheduleOf("100 12 1 0");
        r->gdAmount = r->gdAmtFinanced = c.p;
        r->gdPymtsLessAdv = r->gdTotPymts = c.t;
        r->dFnceChg = c.t - c.p;  // as the results page computes it
        r->gdEstFinanceChg = c.fc;
        r->gbSecuredByRealEstate = c.secured;
        r->gbDatePre_093095 = c.before093095;
        r->gdDisclAPR = 12;
        r->gdCalcAPR = c.rule == AprStepFive || c.rule == AprNotUnder ? 12.3 : c.rule == AprNotOver ? 11.7 : 12;
        auto run = RunTests(*r);
        SCOPED_TRACE(testing::Message() << "rule " << c.rule << ": T " << c.t << " P " << c.p << " FC " << c.fc);
        switch (c.rule) {
        case AprStepFive:
            EXPECT_EQ(r->gsDebugMsgAPR == kBeyondTolerance, c.decided) << r->gsDebugMsgAPR;
            EXPECT_EQ(run->user.prompts().size(), c.decided ? 0u : 1u) << "asked whether the FC error caused it";
            break;
        case AprNotUnder: EXPECT_EQ(r->gsDebugMsgAPR == kNotUnder, c.decided) << r->gsDebugMsgAPR; break;
        case AprNotOver: EXPECT_EQ(r->gsDebugMsgAPR == kNotOver, c.decided) << r->gsDebugMsgAPR; break;
        case FcOver: EXPECT_EQ(r->gbFCOverViol, c.decided); break;
        case FcUnder: EXPECT_EQ(r->gbFCUnderViol, c.decided); break;
        case TenPercent: EXPECT_EQ(run->label(ResultsLabel::lblFinanceError).visible, c.decided); break;
        }
    }
}

TEST(compliance_tests, disclosed_finance_charge_of_zero_switches_every_test_off) {
    auto r = SecuredCase(6, 0);  // APR understated by 6 points
    RunTests(*r);
    ASSERT_TRUE(r->gbAPRUnderViol) << "the run before the disclosed finance charge was cleared";
    r->gdEstFinanceChg = 0;
    auto run = RunTests(*r);
    EXPECT_TRUE(run->user.prompts().empty());
    EXPECT_EQ(r->dFinanceChgDiff, 0.0);
    EXPECT_FALSE(r->gbAPRUnderViol || r->gbAPROverViol || r->gbFCUnderViol || r->gbFCOverViol || r->gbSubjToReimb);
    for (int l = 0; l < 5; ++l) EXPECT_FALSE(run->label(static_cast<ResultsLabel>(l)).visible) << l;
    EXPECT_EQ(r->giAPRUnderByFC, kNotAsked);
}

TEST(obvious_error_rule, a_tenth_of_the_correct_figure) {
    struct {
        double disclosedFC, calculated, disclosedApr;
        bool shown;
    } const cases[] = {{6.62, 12, 12, true}, {6.63, 12, 12, false}, {66.20, 12, 1.2, true}, {66.20, 12, 1.21, false}};
    for (const auto& c : cases) {
        auto r = AprCase(c.calculated, c.disclosedApr);
        r->gdEstFinanceChg = c.disclosedFC;
        const LabelState label = RunTests(*r)->label(ResultsLabel::lblFinanceError);
        EXPECT_EQ(label.visible, c.shown) << c.disclosedFC << " " << c.disclosedApr;
        if (c.shown) {
            EXPECT_EQ(label.caption, "(The 10% obvious error rule applies)");
            EXPECT_EQ(label.colour, LabelColour::DarkRed);
        }
        const std::vector<std::string> report = WriteReport(*r, {}, "");
        EXPECT_EQ(std::count(report.begin(), report.end(), "      (The 10 % obvious error rule applies)"),
                  c.shown ? 1 : 0)
            << "the report's line, " << c.disclosedFC << " " << c.disclosedApr;
    }
}

// The term, the tolerance it preselects (the view starts on option 0) and dActDays.
TEST(term_over_ten_years, boundaries_and_preselection) {
    struct {
        double year, final;
        std::int16_t freq;
        double months, unitDays, unitPeriods, odd;
        bool irregular, over;
        int selected;
    } const cases[] = {
        {360, 3600, kFreqMonthly, 0, 30, 0, 0, false, false, kToleranceQuarter},
        {360, 3601, kFreqMonthly, 0, 30, 0, 0, false, true, kToleranceEighth},
        {364, 3640, kFreqActualDaysInstallment, 0, 14, 0, 0, false, false, kToleranceQuarter},
        {364, 3641, kFreqActualDaysInstallment, 0, 14, 0, 0, false, true, kToleranceEighth},
        {365, 3650, kFreqActualDaysInstallment, 0, 10, 0, 0, false, false, kToleranceQuarter},
        {365, 3651, kFreqActualDaysInstallment, 0, 10, 0, 0, false, true, kToleranceEighth},
        {360, 0, kFreqEqualMonthsSingle, 120, 360, 0, 0, false, false, kToleranceQuarter},
        {360, 0, kFreqEqualMonthsSingle, 121, 360, 0, 0, false, true, kToleranceEighth},
        {365, 0, kFreqActualDaysSingle, 0, 3640, 1, 10, false, false, kToleranceZero},  // selection kept
        {365, 0, kFreqActualDaysSingle, 0, 3640, 1, 11, false, true, kToleranceEighth},
        {360, 3601, kFreqMonthly, 0, 30, 0, 0, true, false, kToleranceQuarter},  // irregular: never over
    };
    for (const auto& c : cases) {
        auto r = AprCase(12, 12, c.irregular);
        r->gdDaysinYr = c.year;
        r->dFinal = c.final;
        r->giPymtFreq = c.freq;
        r->dMonths = c.months;
        r->gdDaysinUnitPd = c.unitDays;
        r->dUnitPeriods = c.unitPeriods;
        r->gdOddDays = c.odd;
        auto run = RunTests(*r, 0, kToleranceZero);
        SCOPED_TRACE(testing::Message() << "year " << c.year << " final " << c.final << " code " << c.freq);
        EXPECT_EQ(r->gbTermOver10Yrs, c.over);
        EXPECT_EQ(run->view.selectedTolerance(), c.selected);
        if (c.freq == kFreqActualDaysSingle) {
            EXPECT_EQ(r->dActDays, c.unitPeriods * c.unitDays + c.odd);
        }
    }
}

// Reimbursement tolerance: 1/4 point under ten years, 1/8 over (regular), always 1/4 irregular;
// every finance-charge understatement violation is subject, overstatements never are.
TEST(reimbursement_subject, tolerance_follows_the_term) {
    struct {
        double calculated, disclosedApr, disclosedFC, final;
        bool irregular, subject;
    } const cases[] = {
        {12.25, 12, 66.20, 3600, false, false}, {12.2500001, 12, 66.20, 3600, false, true},
        {12.2, 12, 66.20, 3601, false, true},   {12.125, 12, 66.20, 3601, false, false},
        {12.3, 12, 66.20, 3601, true, true},    {9, 12, 66.20, 3600, false, false},
        {12, 12, 61.19, 3600, false, true},     {12, 12, 71.21, 3600, false, false},
    };
    for (const auto& c : cases) {
        auto r = AprCase(c.calculated, c.disclosedApr, c.irregular);
        r->dFinal = c.final;
        r->gdEstFinanceChg = c.disclosedFC;
        auto run = RunTests(*r);
        SCOPED_TRACE(testing::Message() << c.calculated << " vs " << c.disclosedApr << ", FC " << c.disclosedFC);
        EXPECT_EQ(
            std::tuple(r->gbSubjToReimb, run->view.toleranceFrameVisible(), run->view.reimbursementButtonVisible()),
            std::tuple(c.subject, c.subject, c.subject));
    }
}

// The timeline's times in unit periods, worked out by hand from the rows: the first payment at t +
// odd days / U, the last n - 1 periods later; the odd days are those of the earliest payment
// stream, not of an advance.
TEST(results_pictures, timeline_times_from_unit_periods_and_odd_days) {
    struct Row {
        const char* rows;
        double daysInUnitPeriod;
        std::vector<std::pair<double, double>> firstLast;
        double span, oddDays;
    } const cases[] = {
        {"-1000 1 2 10 | 200 35 1 15 | 205 1 36 15",
         30,
         {{2 + 1 / 3.0, 2 + 1 / 3.0}, {1.5, 35.5}, {36.5, 36.5}},
         36.5,
         15},
        {"50 24 1 0 | 75 4 25 7", 15, {{1, 24}, {25 + 7 / 15.0, 28 + 7 / 15.0}}, 28 + 7 / 15.0, 0},
        {"100 1 1 30 | 90 5 2 0", 30, {{2, 2}, {2, 6}}, 6, 30},  // paid at once: the first row in order
        {"88.85 12 1 0", 0, {}, 1, 0},                           // no unit period, no axis
        // A row of no payments is no payment: the odd days are those of the later row.
        {"100 0 1 10 | 90 5 2 0", 30, {{1 + 10 / 30.0, 1 + 10 / 30.0}, {2, 6}}, 6, 0},
    };
    for (const Row& c : cases) {
        auto r = MonthlyScheduleOf(c.rows);
        r->gdDaysinUnitPd = c.daysInUnitPeriod;
        r->gdAmount = 1000;
        const Timeline t = TimelinePoints(*r);
        ASSERT_EQ(t.streams.size(), c.firstLast.size()) << c.rows;
        EXPECT_EQ(t.advanceAtLoanDate, 1000) << c.rows;  // shown without a time axis too
        for (std::size_t k = 0; k < c.firstLast.size(); ++k) {
            EXPECT_NEAR(t.streams[k].first, c.firstLast[k].first, 1e-12) << c.rows << " stream " << k + 1;
            EXPECT_NEAR(t.streams[k].last, c.firstLast[k].second, 1e-12) << c.rows << " stream " << k + 1;
        }
        EXPECT_NEAR(t.span, c.span, 1e-12) << c.rows;
        EXPECT_EQ(t.oddDays, c.oddDays) << c.rows;
        EXPECT_NEAR(TimelineFraction(t, c.span / 2), 0.5, 1e-12) << c.rows;
    }
    // The times as the schedule states them: whole unit periods, then the odd days.
    auto stated = MonthlyScheduleOf("200 35 1 15");
    stated->gdDaysinUnitPd = 30;
    const TimelineStream s = TimelinePoints(*stated).streams.at(0);
    EXPECT_EQ(std::tie(s.firstText, s.lastText), std::tuple("1 + 15 days", "35 + 15 days"));
    // A last payment beyond a double leaves the whole picture empty, the advance at the loan date
    // too, and composes no text that would overflow.
    for (const char* rows : {"100 1.7e308 1 2e307", "100 1e308 1e308 0"}) {
        auto far = MonthlyScheduleOf(rows);
        far->gdDaysinUnitPd = 1;
        far->gdAmount = 1000;
        const Timeline none = TimelinePoints(*far);
        EXPECT_TRUE(none.streams.empty() && none.advanceAtLoanDate == 0 && none.advanceText.empty()) << rows;
    }
}

// The APR scale's band is the disclosed APR +/- 1/8 (1/4 irregular) point, the finance charge's
// the disclosed charge +/- its dollars; the positive verdict stands exactly when the tests ran and
// left every note hidden.
TEST(results_pictures, tolerance_scales_and_positive_verdict_follow_the_tests) {
    struct Row {
        const char* name;
        std::unique_ptr<LoanRecord> record;
        short answer;
        double aprBand;
        ToleranceOutcome apr, financeCharge;
        std::optional<double> reimbursementLimit;
        bool positive;
    };
    auto noFinanceCharge = AprCase(14, 12);
    noFinanceCharge->gdEstFinanceChg = 0;
    auto financeChargeUnder = AprCase(12, 12);
    financeChargeUnder->gdEstFinanceChg = 60;  // $6.20 under a $5.00 tolerance
    using O = ToleranceOutcome;
    Row rows[] = {
        {"accurate", AprCase(12.1, 12), 0, 0.125, O::Accurate, O::Accurate, std::nullopt, true},
        {"understated", AprCase(12.2, 12), 0, 0.125, O::Violation, O::Accurate, std::nullopt, false},
        {"reimbursed", AprCase(12.3, 12), 0, 0.125, O::Violation, O::Accurate, 12.25, false},
        {"irregular", AprCase(12.2, 12, true), 0, 0.25, O::Accurate, O::Accurate, std::nullopt, true},
        {"finance charge", std::move(financeChargeUnder), 0, 0.125, O::Accurate, O::Violation, 12.25, false},
        {"not tested", std::move(noFinanceCharge), 0, 0.125, O::NotTested, O::NotTested, std::nullopt, false},
        {"note", SecuredCase(11.7026, 50), kAnswerYesButton, 0.125, O::Accurate, O::Accurate, std::nullopt, false},
    };
    for (Row& c : rows) {
        LoanRecord& r = *c.record;
        auto run = RunTests(r, c.answer);
        const ToleranceScales scales = ToleranceScalesOf(r);
        SCOPED_TRACE(c.name);
        EXPECT_NEAR(scales.apr.low, r.gdDisclAPR - c.aprBand, 1e-9);
        EXPECT_NEAR(scales.apr.high, r.gdDisclAPR + c.aprBand, 1e-9);
        const double dollars = r.gbSecuredByRealEstate ? 100 : 5;
        EXPECT_EQ(std::tie(scales.apr.computed, scales.apr.outcome, scales.apr.reimbursementLimit),
                  std::tie(r.gdCalcAPR, c.apr, c.reimbursementLimit));
        EXPECT_EQ(std::tie(scales.financeCharge.outcome, scales.financeCharge.low, scales.financeCharge.high,
                           scales.financeCharge.lowOpen),
                  std::tuple(c.financeCharge, r.gdEstFinanceChg - dollars, r.gdEstFinanceChg + dollars,
                             r.gbSecuredByRealEstate));
        bool noteShown = false;
        for (int l = 0; l < 5; ++l) noteShown |= run->label(static_cast<ResultsLabel>(l)).visible;
        EXPECT_EQ(PositiveVerdict(r), c.positive ? kPositiveVerdictText : "");
        EXPECT_EQ(c.positive, !noteShown && r.gdEstFinanceChg != 0) << "the page's notes disagree";
    }
    // The APR scale's texts are percentages, as the page shows the APR.
    const ToleranceScale reimbursed = ToleranceScalesOf(*rows[2].record).apr;
    EXPECT_EQ(std::tie(reimbursed.disclosedText, reimbursed.computedText, reimbursed.toleranceText,
                       reimbursed.reimbursementText),
              std::tuple("12.0000 %", "12.3000 %", "\u00b10.1250 %", "12.2500 %"));
    EXPECT_STREQ(kPositiveVerdictText, "The disclosed APR and finance charge are accurate within tolerance.");
    // Before any test ran the page shows blank scales: the computed figure on the disclosed one.
    const ToleranceScales blank;
    EXPECT_EQ(std::tie(blank.apr.computed, blank.financeCharge.computed), std::tuple(0, 0));
}

}  // namespace
}  // namespace tallex
