#include "compliance/DisclosureResults.h"

#include "compliance/CalculationListing.h"
#include "compliance/ComplianceTests.h"
#include "compliance/IrregularTransaction.h"
#include "compliance/Reimbursement.h"
#include "compliance/ResultsPictures.h"
#include "compliance/UserMessage.h"
#include "engine/CheckedMath.h"
#include "engine/Format.h"
#include "engine/NumberText.h"
#include "engine/RuntimeError.h"
#include "schedule/ScheduleOrder.h"

#include <cmath>
#include <optional>
#include <string>

namespace tallex {

namespace {

using checked::Add;
using checked::Mul;
using checked::Sub;

const char* const kAprFormat = "###0.0000 %";

// dFinal, the day of the final payment, from the last row of the ordered schedule; that row's
// numbers stay in the stream working fields for the term test.
void SetFinalPaymentDay(LoanRecord& r) {
    const int last = r.giPymtRows;
    if (last > kMaxStreams) Raise(RuntimeErrorCode::SubscriptOutOfRange);
    const bool hasRow = last >= 1;
    r.gdNumPymts = hasRow ? Val(r.gaNumPymts[last]) : 0.0;
    r.dUnitPeriods = hasRow ? Val(r.gaUnitPeriods[last]) : 0.0;
    r.gdOddDays = hasRow ? Val(r.gaOddDays[last]) : 0.0;
    r.dFinal = FinalPaymentDay(r.gdNumPymts, r.dUnitPeriods, r.gdOddDays, r.gdDaysinUnitPd);
}

std::string InterestPaymentsText(const LoanRecord& r) {
    if (r.construction.optInterestType == 0) {
        return std::string("Disclose when interest is due and ") + "include the amount and timing of any FC paid " +
               "separately during construction.";
    }
    return std::string("Disclose the timing and amount of interest and any FC paid ") +
           "separately during construction.";
}

}  // namespace

DisclosureFigureInputs DisclosureFigureInputsOf(const LoanRecord& r) {
    DisclosureFigureInputs in;
    in.construction = r.gbConstruction;
    in.amount = r.gdAmount;
    in.paymentsLessAdvances = r.gdPymtsLessAdv;
    in.laterAdvances = r.gdPymtAbsValue;
    in.commitment = r.gdCommitmentAmt;
    in.prepaidFinanceCharge = r.gdPrepaidFinChg;
    in.subsequentFinanceCharge = r.gdSubseqFinChg;
    in.constructionInterest = r.gdEstConstInterest;
    return in;
}

double LaterAdvances(const LoanRecord& r) {
    double sum = 0;
    // Up to the first row whose amount is blank (nothing but spaces and tabs).
    for (int k = 1; k <= kMaxStreams && r.gaPymtAmt[k].find_first_not_of(" \t") != std::string::npos; ++k) {
        const double amount = Val(r.gaPymtAmt[k]);
        if (amount < 0.0) sum = Add(sum, Mul(std::fabs(amount), Val(r.gaNumPymts[k])));
    }
    return sum;
}

double AmountFinanced(const DisclosureFigureInputs& in) {
    if (in.construction) return Add(Sub(in.commitment, in.prepaidFinanceCharge), in.laterAdvances);
    return Add(in.amount, in.laterAdvances);
}

double TotalOfPayments(const DisclosureFigureInputs& in) {
    const double t = in.paymentsLessAdvances;
    const double s = in.laterAdvances;
    if (in.construction) return Add(Add(Add(t, s), in.constructionInterest), in.subsequentFinanceCharge);
    return Add(t, s);
}

double FinanceCharge(const DisclosureFigureInputs& in) { return Sub(in.paymentsLessAdvances, in.amount); }

double FinalPaymentDay(double numPayments, double unitPeriods, double oddDays, double daysInUnitPeriod) {
    return Add(Add(Mul(Sub(numPayments, 1.0), daysInUnitPeriod), Mul(unitPeriods, daysInUnitPeriod)), oddDays);
}

AmountFont DisclosureAmountFont(std::string_view formattedText, bool isApr) {
    const std::size_t narrowFrom = isApr ? 16 : 19;
    return formattedText.size() < narrowFrom ? AmountFont::Standard : AmountFont::Narrow;
}

std::string DisclosedFinanceChargeCaption(std::string_view typed) {
    const std::optional<double> value = NumericTextValue(typed);
    return value ? Format(*value, "Currency") : std::string(typed);
}

std::string FigureCaption(const DisclosureInputs& inputs, double value, std::string_view pattern) {
    if (inputs.captions || !std::isfinite(value)) return Format(value, pattern);
    return {};
}

std::string DisclosedFinanceChargeCaption(const DisclosureInputs& inputs) {
    if (inputs.captions) return DisclosedFinanceChargeCaption(inputs.disclosedFinanceChargeText);
    (void)NumericTextValue(inputs.disclosedFinanceChargeText);
    return {};
}

ResultsFocus FormSetFocus(const ResultsView& view, bool printEnabledAndVisible) {
    ResultsFocus focus;
    if (view.toleranceFrameVisible()) {
        if (view.selectedTolerance() != kToleranceNone) {
            focus.target = ResultsFocus::Target::ToleranceOption;
            focus.toleranceOption = view.selectedTolerance();
        }
    } else if (printEnabledAndVisible) {
        focus.target = ResultsFocus::Target::Print;
    }
    return focus;
}

void ClearDisclosureWorkValues(LoanRecord& r) {
    r.gdDisclAPR_Adjusted = 0;
    r.gdPval_Adjusted = 0;
    r.gdAPRDiff = 0;
    r.dFinanceChgDiff = 0;
    r.dFinal = 0;
    r.dActDays = 0;
    r.dTolerance = 0;
    r.iNPTotal = 0;
    r.dAdvances = 0;
    r.dTempAPR = 0;
    r.dUnitPeriodTot = 0;

    r.gdAdjustedAPR = 0;
    r.gdFCAdjAPR = 0;
    r.gdAdjAmount = 0;
    r.gdAdjPV = 0;
    r.gdAdjPVDiff = 0;
    r.gdProrateFactor = 0;
    r.gdAPRAdjFinal = 0;
    r.gdFCAdjAmount = 0;
    r.gdFCAdjTotal = 0;
    r.gdFCAdjustment = 0;
    r.dPymt = 0;
    r.giRateChangePymts = 0;
    r.gdLumpSumPR = 0;
    r.gdLumpSum = 0;
    ClearReimbursementPageFacts(r);
    r.gaPymtDbl.fill(0.0);

    r.gbIrregular = false;
    r.gaAltPymtAmt.fill(Currency{});
    r.gaAltNumPymts.fill(0.0);
    r.gbUseAltSchedule = false;
}

DisclosureOutcome ComputeDisclosureResults(LoanRecord& r, ResultsView& view, UserSeam& user,
                                           const DisclosureInputs& inputs) {
    DisclosureOutcome out;
    if (r.gbBackFromReimb) {
        r.gbBackFromReimb = false;
        return out;
    }
    out.recomputed = true;
    if (r.gbScheduleChanged) {
        r.gbScheduleChanged = false;
        out.rebuildGrid = true;
    }
    out.debugVisible = CalculationListingAllowed(inputs.preparedBy);
    view.setReimbursementButtonVisible(false);

    ClearDisclosureWorkValues(r);

    DisclosureCaptions& c = out.captions;
    if (r.gbConstruction) {
        out.constructionChargesVisible = true;
        c.lblPrepdChg = FigureCaption(inputs, r.gdPrepaidFinChg, "Currency");
        c.lblSubFnceChg = FigureCaption(inputs, r.gdSubseqFinChg, "Currency");
        if (inputs.captions) c.lblIntPymts = InterestPaymentsText(r);
        out.middleToleranceVisible = false;
    }
    view.setToleranceOptionVisible(kToleranceEighth, out.middleToleranceVisible);

    for (ResultsLabel label :
         {ResultsLabel::lblAPRViolation, ResultsLabel::lblAPRViolAmt, ResultsLabel::lblFinanceViolation,
          ResultsLabel::lblFinanceViolAmt, ResultsLabel::lblFinanceError}) {
        view.setLabelVisible(label, false);
    }
    view.setToleranceFrameVisible(false);
    view.setReimbursementButtonVisible(false);

    r.gdPymtAbsValue = 0;
    r.gdPymtAbsValue = LaterAdvances(r);
    const DisclosureFigureInputs figures = DisclosureFigureInputsOf(r);
    r.gdAmtFinanced = AmountFinanced(figures);
    r.gdTotPymts = TotalOfPayments(figures);
    r.dFnceChg = FinanceCharge(figures);

    c.lblAmount = FigureCaption(inputs, r.gdAmtFinanced, "Currency");
    c.lblFinanceChg = FigureCaption(inputs, r.dFnceChg, "Currency");
    c.lblTotPymts = FigureCaption(inputs, r.gdTotPymts, "Currency");
    c.lblAPR = FigureCaption(inputs, r.gdCalcAPR / 100.0, kAprFormat);
    c.lblDisclAPR = FigureCaption(inputs, r.gdDisclAPR / 100.0, kAprFormat);
    c.lblDisclFinanceChg = DisclosedFinanceChargeCaption(inputs);
    c.amountFont = DisclosureAmountFont(c.lblAmount, false);
    c.financeChargeFont = DisclosureAmountFont(c.lblFinanceChg, false);
    c.totalFont = DisclosureAmountFont(c.lblTotPymts, false);
    c.aprFont = DisclosureAmountFont(c.lblAPR, true);

    if (r.gbConstruction && r.gdAmtFinanced < 0.0) {
        // Nothing below means anything for a negative amount financed: no verdict is given and
        // the user goes back to correct the construction figures.
        out.aprVisible = false;
        out.financeChargeVisible = false;
        out.refused = true;
        ShowUserMessage(r, user,
                        "The amount financed must be greater than 0.  Go back to prior screen(s) to make "
                        "corrections.",
                        kStyleExclamation);
        return out;
    }

    if (r.gdAmtFinanced != 0.0 && r.gdTotPymts != 0.0 && r.dFnceChg >= 0.0) {
        OrderSchedule(r, inputs.enteredRows);
        if (r.gbScheduleChanged) {
            out.rebuildGrid = true;
            r.gbScheduleChanged = false;
        }
    }

    SetFinalPaymentDay(r);

    ClassifyIrregular(r);
    c.lblIrregular = r.gbIrregular ? "Irregular Loan" : "Regular Loan";
    c.lblPymtFreqA = "Payment Frequency:  ";
    c.lblPymtFreqB = r.gsPymtFreqText;
    out.paymentFrequencyVisible = true;

    r.giPVStreams = r.giPymtRows;
    RunComplianceTests(r, view, user);
    out.positiveVerdict = PositiveVerdict(r);

    r.giPVStreams = r.giPymtRows;
    out.printEnabled = true;
    out.focus = FormSetFocus(view, out.printEnabled);
    return out;
}

}  // namespace tallex
