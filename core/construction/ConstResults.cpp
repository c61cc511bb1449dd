#include "construction/ConstResults.h"

#include "compliance/CalculationListing.h"
#include "compliance/ComplianceTests.h"
#include "compliance/ResultsPictures.h"
#include "construction/ConstChoices.h"
#include "construction/ConstText.h"
#include "engine/AprSolver.h"
#include "engine/CheckedMath.h"
#include "engine/Currency.h"
#include "engine/Format.h"
#include "engine/NumberText.h"
#include "engine/RuntimeError.h"

#include <cmath>

namespace tallex {

namespace {

using checked::Add;
using checked::Div;
using checked::Mul;
using checked::Sub;

constexpr const char* kAprFormat = "###0.0000 %";
// An APR that cannot be solved for because the finance charge is nil: shown as 0.0000 %.
constexpr double kNilChargeApr = 0.0000001;

// Int(x x 100 + 0.5) / 100: to cents, half up.
double ToCentsHalfUp(double x) { return Div(std::floor(Add(Mul(x, 100.0), 0.5)), 100.0); }

std::string Money(double x) { return Format(x, "Currency"); }

}  // namespace

ConstDisclosureText ConstDisclosureRequirement(LoanRecord& r) {
    ConstDisclosureText d;
    const double months = r.dMonths;
    const double s = r.gdSubseqFinChg;
    const double e = r.gdEstConstInterest;
    if (OnAdvances(r.construction)) {
        d.lines[0] = "The disclosure must state when interest is due and include the amount";
        d.lines[1] = "and timing of any finance charge paid separately after consummation, e.g.,";
        d.lines[2] = "One payment of principal of";
        d.lblPymtAmt = Money(r.gdCommitmentAmt);
        d.lines[3] = months <= 1 ? "and interest due at maturity" : "and interest due monthly";
        if (s > 0) {
            d.lines[4] = "One inspection fee due at";
            d.lines[5] = "maturity in the amount of";
            d.lblSubFnceChg = Money(s);
        }
        return d;
    }
    d.lines[0] = "The disclosure must include the timing and amount of interest and";
    d.lines[1] = "any finance charge paid separately after consummation, e.g.,";
    if (months <= 1) {
        d.lines[2] = "The final payment is ";
        const double row1 = Currency::FromDouble(Val(r.gaPymtAmt[1])).ToDouble();
        r.gdConstDisclPymt = Currency::FromDouble(Add(row1, r.gdConstIntBase)).ToDouble();
        d.lblPymtAmt = Money(r.gdConstDisclPymt);
        return d;
    }
    // Interest and the subsequently paid charge spread over the months, the rest at the end.
    d.lines[2] = NumberToText(Sub(months, 1.0), true) + " monthly payments of ";
    r.gdConstDisclPymt = ToCentsHalfUp(Div(Add(s, e), months));
    d.lblPymtAmt = Money(r.gdConstDisclPymt);
    d.lines[4] = "and a final payment of ";
    r.gdConstDisclFinalPymt =
        Sub(Sub(Add(Add(ToCentsHalfUp(Div(s, months)), ToCentsHalfUp(Div(e, months))), r.gdTotPymts), s), e);
    d.lblFinalPymtAmt = Money(r.gdConstDisclFinalPymt);
    return d;
}

ConstResultsOutcome ConstResultsActivate(LoanRecord& r, ResultsView& view, UserSeam& user,
                                         const DisclosureInputs& inputs) {
    if (!r.gbConstruction || !r.gbConstOptDisc) Raise(RuntimeErrorCode::InvalidCall);
    ConstResultsOutcome out;
    out.debugVisible = CalculationListingAllowed(inputs.preparedBy);

    ClearDisclosureWorkValues(r);
    r.dFnceChg = 0;
    r.gdConstDisclPymt = 0;
    r.gdConstDisclFinalPymt = 0;

    view.setToleranceOptionVisible(kToleranceEighth, false);
    for (ResultsLabel label :
         {ResultsLabel::lblAPRViolation, ResultsLabel::lblAPRViolAmt, ResultsLabel::lblFinanceViolation,
          ResultsLabel::lblFinanceViolAmt, ResultsLabel::lblFinanceError}) {
        view.setLabelVisible(label, false);
    }
    view.setToleranceFrameVisible(false);
    view.setReimbursementButtonVisible(false);

    const double c = r.gdCommitmentAmt;
    const double p = r.gdPrepaidFinChg;
    const double s = r.gdSubseqFinChg;
    const double e = r.gdEstConstInterest;
    const double a = r.gdPymtAbsValue;
    const double halfC = Mul(0.5, c);

    DisclosureCaptions& cap = out.captions;
    const auto money = [&inputs](double x) { return FigureCaption(inputs, x, "Currency"); };
    cap.lblDisclAPR = FigureCaption(inputs, r.gdDisclAPR / 100.0, kAprFormat);
    cap.lblDisclFinanceChg = DisclosedFinanceChargeCaption(inputs);
    r.gdAmtFinanced = Add(Sub(c, p), a);
    cap.lblAmount = money(r.gdAmtFinanced);
    cap.lblPrepdChg = money(p);
    r.giPVStreams = 1;

    r.gcPymtAmount = Currency::FromDouble(Val(r.gaPymtAmt[1]));
    r.gdNumPymts = Val(r.gaNumPymts[1]);
    r.gdPymtsLessAdv = 0;
    r.gdPymtsLessAdv = Mul(r.gcPymtAmount.ToDouble(), r.gdNumPymts);
    const double t = r.gdPymtsLessAdv;

    if (Add(Add(Add(halfC, t), e), s) >= c && Add(Add(Sub(t, halfC), p), s) >= 0 && Add(Sub(Sub(c, p), s), a) > 0) {
        r.dFnceChg = Sub(Add(Add(halfC, t), p), c);
        cap.lblFinanceChg = money(r.dFnceChg);
        out.financeChargeShown = true;
    }
    r.gdTotPymts = Add(Add(t, a), halfC);
    cap.lblTotPymts = money(r.gdTotPymts);

    auto refuse = [&](const std::string& message) {
        out.refused = true;
        out.financeChargeShown = false;
        cap.lblFinanceChg.clear();
        cap.lblPrepdChg.clear();
        r.gsMsgText = message;
        r.giMsgStyle = kStyleExclamation;
        r.giMsgResult = user.show(message, kStyleExclamation);
        return out;
    };
    // Compared in money, so that equal amounts cancel exactly.
    if (Currency::FromDouble(c).ticks() - Currency::FromDouble(p).ticks() + Currency::FromDouble(s).ticks() <= 0)
        return refuse(
            "(The sum of loan commitment amount plus subsequently paid finance charge must be greater than "
            "prepaid finance charge.  Go back to prior screen(s) to make corrections.");
    if (Add(Add(halfC, t), e) < c)
        return refuse(
            "Total payments must not be less than amount financed.  Go back to prior screen(s) to make "
            "corrections.");

    out.resultsShown = true;
    out.printEnabled = true;
    // The day of the one payment, from the schedule row the solver will discount.
    r.dUnitPeriods = Val(r.gaUnitPeriods[1]);
    r.gdOddDays = Val(r.gaOddDays[1]);
    r.dFinal = FinalPaymentDay(r.gdNumPymts, r.dUnitPeriods, r.gdOddDays, r.gdDaysinUnitPd);

    out.disclosure = ConstDisclosureRequirement(r);

    if (Add(Add(Sub(Add(t, halfC), c), p), e) == 0) {
        r.gdCalcAPR = kNilChargeApr;
    } else {
        r.gbSolverFailed = false;
        SolveAPR(r);
        if (r.gbSolverFailed) {
            // No APR, no verdict: the figures above stand, the tests do not run.
            out.solverFailed = true;
            out.printEnabled = false;
            r.gsMsgText = kConstSolverFailedMessage;
            r.giMsgStyle = kStyleExclamation;
            r.giMsgResult = user.show(kConstSolverFailedMessage, kStyleExclamation);
            out.focus = FormSetFocus(view, out.printEnabled);
            return out;
        }
    }
    cap.lblAPR = FigureCaption(inputs, r.gdCalcAPR / 100.0, kAprFormat);
    cap.amountFont = DisclosureAmountFont(cap.lblAmount, false);
    cap.financeChargeFont = DisclosureAmountFont(cap.lblFinanceChg, false);
    cap.totalFont = DisclosureAmountFont(cap.lblTotPymts, false);
    cap.aprFont = DisclosureAmountFont(cap.lblAPR, true);

    // Construction loans are irregular transactions; the tests see the one stream.
    r.gbIrregular = true;
    r.giPVStreams = 1;
    r.dUnitPeriods = Val(r.gaUnitPeriods[1]);
    r.gdOddDays = Val(r.gaOddDays[1]);
    RunComplianceTests(r, view, user);
    out.positiveVerdict = PositiveVerdict(r);

    out.focus = FormSetFocus(view, out.printEnabled);
    return out;
}

}  // namespace tallex
