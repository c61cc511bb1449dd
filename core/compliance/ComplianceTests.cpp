#include "compliance/ComplianceTests.h"

#include "compliance/AprTolerance.h"
#include "compliance/FinanceChargeTolerance.h"
#include "engine/CheckedMath.h"
#include "engine/Format.h"

#include <string>

namespace tallex {

namespace {

constexpr double kTenYearsIn360DayYears = 3600;
constexpr double kTenYearsIn364DayYears = 3640;
constexpr double kTenYearsIn365DayYears = 3650;

const char* const kAprDifferenceFormat = "###0.0000 %";

void ShowLabel(ResultsView& view, ResultsLabel label, const std::string& caption, LabelColour colour) {
    view.setLabelVisible(label, true);
    view.setLabelCaption(label, caption);
    view.setLabelColour(label, colour);
}

// Shows the verdict of one APR test. `violation` is the test's result, `answer` the reply to
// the caused-by question, `amount` the size of the error in percentage points.
void ShowAprVerdict(ResultsView& view, bool violation, std::int16_t answer, double amount, const char* violationCaption,
                    const char* causedCaption, const char* accurateCaption) {
    const std::string formatted = Format(amount / 100.0, kAprDifferenceFormat);
    if (violation) {
        ShowLabel(view, ResultsLabel::lblAPRViolation, violationCaption, LabelColour::DarkRed);
        ShowLabel(view, ResultsLabel::lblAPRViolAmt, formatted, LabelColour::DarkRed);
    } else if (answer == kAnswerYes) {
        ShowLabel(view, ResultsLabel::lblAPRViolation, causedCaption, LabelColour::Black);
        ShowLabel(view, ResultsLabel::lblAPRViolAmt, formatted, LabelColour::Black);
    } else if (answer == kAnswerNo) {
        ShowLabel(view, ResultsLabel::lblAPRViolation, accurateCaption, LabelColour::Black);
        ShowLabel(view, ResultsLabel::lblAPRViolAmt, "", LabelColour::Black);
    }
}

void ShowObviousErrorRule(ResultsView& view) {
    ShowLabel(view, ResultsLabel::lblFinanceError, "(The 10% obvious error rule applies)", LabelColour::DarkRed);
}

}  // namespace

TermFacts TermFactsOf(const LoanRecord& r) {
    TermFacts f;
    f.irregular = r.gbIrregular;
    f.daysInYear = r.gdDaysinYr;
    f.finalPaymentDay = r.dFinal;
    f.months = r.dMonths;
    f.frequency = r.giPymtFreq;
    f.unitPeriods = r.dUnitPeriods;
    f.oddDays = r.gdOddDays;
    f.daysInUnitPeriod = r.gdDaysinUnitPd;
    return f;
}

TermVerdict LoanTermVerdict(const TermFacts& f) {
    if (f.irregular) return {};
    if (f.daysInYear == 360 && f.finalPaymentDay > kTenYearsIn360DayYears) return {true, std::nullopt};
    if (f.daysInYear == 364 && f.finalPaymentDay > kTenYearsIn364DayYears) return {true, std::nullopt};
    if (f.daysInYear == 365 && f.finalPaymentDay > kTenYearsIn365DayYears) return {true, std::nullopt};
    if (checked::Mul(f.months, 30.0) > kTenYearsIn360DayYears && f.frequency == kFreqEqualMonthsSingle)
        return {true, std::nullopt};
    if (f.frequency == kFreqActualDaysSingle) {
        const double actualDays = checked::Add(checked::Mul(f.unitPeriods, f.daysInUnitPeriod), f.oddDays);
        return {actualDays > kTenYearsIn365DayYears, actualDays};
    }
    return {};
}

bool TermOverTenYears(LoanRecord& r) {
    const TermVerdict verdict = LoanTermVerdict(TermFactsOf(r));
    if (verdict.actualDays) r.dActDays = *verdict.actualDays;
    return verdict.overTenYears;
}

ReimbursementFacts ReimbursementFactsOf(const LoanRecord& r) {
    ReimbursementFacts f;
    f.aprUnderstated = r.gbAPRUnderViol;
    f.financeChargeUnderstated = r.gbFCUnderViol;
    f.termOverTenYears = r.gbTermOver10Yrs;
    f.irregular = r.gbIrregular;
    f.disclosedApr = r.gdDisclAPR;
    f.correctApr = r.gdCalcAPR;
    f.disclosedFinanceCharge = r.gdEstFinanceChg;
    f.correctFinanceCharge = r.dFnceChg;
    return f;
}

double ReimbursementTolerance(const ReimbursementFacts& f) {
    return !f.termOverTenYears ? 0.25 : (f.irregular ? 0.25 : 0.125);
}

bool SubjectToReimbursement(const ReimbursementFacts& f) {
    const double tolerance = ReimbursementTolerance(f);
    const bool apr = f.aprUnderstated && checked::Add(f.disclosedApr, tolerance) < f.correctApr;
    const bool financeCharge =
        f.financeChargeUnderstated && checked::Add(f.disclosedFinanceCharge, tolerance) < f.correctFinanceCharge;
    return apr || financeCharge;
}

bool FinanceChargeObviousErrorRuleApplies(const LoanRecord& r) {
    return r.gdEstFinanceChg != 0.0 && !r.gbAPRUnderViol && !r.gbAPROverViol &&
           10 * MoneyTicks(r.gdEstFinanceChg) <= MoneyTicks(r.dFnceChg);
}

bool AprObviousErrorRuleApplies(const LoanRecord& r) {
    return r.gdEstFinanceChg != 0.0 && !r.gbFCUnderViol && !r.gbFCOverViol &&
           checked::Mul(0.1, r.gdCalcAPR) >= r.gdDisclAPR;
}

void RunComplianceTests(LoanRecord& r, ResultsView& view, UserSeam& user) {
    r.giAPRUnderByFC = kNotAsked;
    r.giAPROverByFC = kNotAsked;
    r.giFCTolerance = 0;
    r.gsDebugMsgAPR.clear();
    r.gsDebugMsgFC.clear();

    for (ResultsLabel label :
         {ResultsLabel::lblAPRViolation, ResultsLabel::lblAPRViolAmt, ResultsLabel::lblFinanceViolation,
          ResultsLabel::lblFinanceViolAmt, ResultsLabel::lblFinanceError}) {
        view.setLabelVisible(label, false);
    }

    r.gdAPRDiff = checked::Sub(r.gdCalcAPR, r.gdDisclAPR);
    r.gbAPRUnderViol = false;
    r.gbAPROverViol = false;
    r.gbFCUnderViol = false;
    r.gbFCOverViol = false;

    const double fc = r.gdEstFinanceChg;
    const double t = r.gdPymtsLessAdv;
    const double p = r.gdAmount;
    r.dFinanceChgDiff = fc > 0.0 ? checked::Sub(checked::Sub(t, p), fc) : 0.0;

    SetFCTolerance(r);

    const bool disclosed = fc != 0.0;
    if (disclosed && r.gdAPRDiff > 0.0) {
        r.gbAPRUnderViol = TestAPRUnderstatement(r, user);
        ShowAprVerdict(
            view, r.gbAPRUnderViol, r.giAPRUnderByFC, r.gdAPRDiff,
            "** VIOLATION **  The APR is Understated by:", "** APR understatement caused by finance charge error:",
            "** APR is understated but considered accurate under 226.22(a)(5).");
    }
    if (disclosed && r.gdAPRDiff < 0.0) {
        r.gbAPROverViol = TestAPROverstatement(r, user);
        ShowAprVerdict(
            view, r.gbAPROverViol, r.giAPROverByFC, -r.gdAPRDiff,
            "** VIOLATION **  The APR is Overstated by:", "** APR overstatement caused by finance charge error:",
            "** APR is overstated but considered accurate under 226.22(a)(5).");
    }
    if (disclosed && r.dFinanceChgDiff > 0.0) {
        r.gbFCUnderViol = TestFCUnderstatement(r);
        if (r.gbFCUnderViol) {
            ShowLabel(view, ResultsLabel::lblFinanceViolation,
                      "** VIOLATION **  The Finance Charge is Understated by:", LabelColour::DarkRed);
            ShowLabel(view, ResultsLabel::lblFinanceViolAmt, Format(r.dFinanceChgDiff, "Currency"),
                      LabelColour::DarkRed);
        } else {
            view.setLabelVisible(ResultsLabel::lblFinanceViolation, false);
            view.setLabelVisible(ResultsLabel::lblFinanceViolAmt, false);
        }
    }
    if (disclosed && r.dFinanceChgDiff < 0.0) {
        r.gbFCOverViol = TestFCOverstatement(r);
        if (r.gbFCOverViol) {
            ShowLabel(view, ResultsLabel::lblFinanceViolation,
                      "** VIOLATION **  The Finance Charge is Overstated by:", LabelColour::DarkRed);
            ShowLabel(view, ResultsLabel::lblFinanceViolAmt, Format(-r.dFinanceChgDiff, "Currency"),
                      LabelColour::DarkRed);
        }
    }

    // The 10 % obvious error rule, once for each figure.
    if (FinanceChargeObviousErrorRuleApplies(r)) ShowObviousErrorRule(view);
    if (AprObviousErrorRuleApplies(r)) ShowObviousErrorRule(view);

    // Preselect the reimbursement tolerance; a single-payment loan counted in actual days keeps
    // whatever was selected unless it runs over ten years.
    const bool overTenYears = TermOverTenYears(r);
    if (overTenYears) {
        view.selectTolerance(kToleranceEighth);
    } else if (r.giPymtFreq != kFreqActualDaysSingle) {
        view.selectTolerance(kToleranceQuarter);
    }

    view.setToleranceFrameVisible(false);
    view.setReimbursementButtonVisible(false);
    r.gbSubjToReimb = false;
    r.gbTermOver10Yrs = false;

    r.gbTermOver10Yrs = TermOverTenYears(r);

    r.gbSubjToReimb = SubjectToReimbursement(ReimbursementFactsOf(r));

    if (r.gbSubjToReimb) {
        view.setToleranceFrameVisible(true);
        view.setReimbursementButtonVisible(true);
    }
}

}  // namespace tallex
