#include "compliance/ResultsPictures.h"

#include "compliance/AprTolerance.h"
#include "compliance/ComplianceTests.h"
#include "engine/Currency.h"
#include "engine/Format.h"
#include "engine/NumberText.h"

#include <algorithm>
#include <cmath>

namespace tallex {

namespace {

const char* const kAprFormat = "###0.0000 %";

// A payment's time as the schedule states it: whole unit periods, and the odd days beyond them.
std::string TimeText(double unitPeriods, double oddDays) {
    std::string text = NumberToText(unitPeriods, false);
    if (oddDays != 0.0) text += " + " + NumberToText(oddDays, false) + " days";
    return text;
}

std::string Money(double value) { return Format(value, "Currency"); }
std::string Apr(double value) { return Format(value / 100.0, kAprFormat); }

std::string OutcomeText(ToleranceOutcome outcome) {
    switch (outcome) {
    case ToleranceOutcome::NotTested: return "Not tested: no finance charge was disclosed";
    case ToleranceOutcome::Accurate: return "Accurate";
    case ToleranceOutcome::Violation: return "Violation";
    }
    return {};
}

ToleranceOutcome OutcomeOf(const LoanRecord& r, bool violation) {
    if (r.gdEstFinanceChg == 0.0) return ToleranceOutcome::NotTested;
    return violation ? ToleranceOutcome::Violation : ToleranceOutcome::Accurate;
}

}  // namespace

Timeline TimelinePoints(const LoanRecord& r) {
    Timeline timeline;
    const double u = r.gdDaysinUnitPd;
    timeline.daysInUnitPeriod = u;
    timeline.advanceAtLoanDate = r.gdAmount;
    timeline.advanceText = Money(std::fabs(r.gdAmount));
    timeline.totalOfPaymentsText = Money(r.gdTotPymts);
    if (!(u > 0.0)) return timeline;
    const int rows = std::clamp<int>(r.giPVStreams, 0, kMaxStreams);
    const TimelineStream* earliestPayment = nullptr;
    std::vector<double> oddDaysOf;
    for (int k = 1; k <= rows; ++k) {
        TimelineStream s;
        s.row = k;
        s.amount = Currency::FromDouble(Val(r.gaPymtAmt[k])).ToDouble();
        const double n = Val(r.gaNumPymts[k]);
        s.payments = n < 1.0 ? 0 : static_cast<int>(std::min(std::floor(n), 1.0e6));
        const double t = Val(r.gaUnitPeriods[k]);
        const double oddDays = Val(r.gaOddDays[k]);
        s.first = t + oddDays / u;
        s.last = s.first + std::max(0.0, n - 1.0);
        // A time no axis can show (beyond a double) leaves the picture empty rather than wrong;
        // checked before its text is composed, which would overflow.
        if (!std::isfinite(s.first) || !std::isfinite(s.last)) return Timeline{};
        s.amountText = Money(std::fabs(s.amount));
        s.firstText = TimeText(t, oddDays);
        s.lastText = TimeText(t + std::max(0.0, n - 1.0), oddDays);
        timeline.span = std::max(timeline.span, s.last);
        timeline.streams.push_back(s);
        oddDaysOf.push_back(oddDays);
    }
    for (std::size_t i = 0; i < timeline.streams.size(); ++i) {
        const TimelineStream& s = timeline.streams[i];
        if (s.amount > 0.0 && s.payments > 0 && (!earliestPayment || s.first < earliestPayment->first)) {
            earliestPayment = &s;
            timeline.oddDays = oddDaysOf[i];
        }
    }
    timeline.oddPeriods = timeline.oddDays / u;
    return timeline;
}

double TimelineFraction(const Timeline& timeline, double unitPeriods) {
    return timeline.span > 0.0 ? unitPeriods / timeline.span : 0.0;
}

ToleranceScales ToleranceScalesOf(const LoanRecord& r) {
    ToleranceScales scales;
    const bool reimbursement = r.gbSubjToReimb;
    const double reimbursementTolerance = ReimbursementTolerance(ReimbursementFactsOf(r));

    ToleranceScale& apr = scales.apr;
    const double aprTolerance = AprToleranceOf(r.gbIrregular);
    apr.disclosed = r.gdDisclAPR;
    apr.computed = r.gdCalcAPR;
    apr.low = r.gdDisclAPR - aprTolerance;
    apr.high = r.gdDisclAPR + aprTolerance;
    apr.outcome = OutcomeOf(r, r.gbAPRUnderViol || r.gbAPROverViol);
    apr.disclosedText = Apr(apr.disclosed);
    apr.computedText = Apr(apr.computed);
    apr.toleranceText = "\u00b1" + Apr(aprTolerance);
    if (reimbursement) {
        apr.reimbursementLimit = r.gdDisclAPR + reimbursementTolerance;
        apr.reimbursementText = Apr(*apr.reimbursementLimit);
    }
    apr.outcomeText = OutcomeText(apr.outcome);

    ToleranceScale& fc = scales.financeCharge;
    fc.disclosed = r.gdEstFinanceChg;
    fc.computed = r.dFnceChg;
    fc.low = r.gdEstFinanceChg - r.giFCTolerance;
    fc.high = r.gdEstFinanceChg + r.giFCTolerance;
    // An overstated finance charge is never a violation on a loan secured by real estate.
    fc.lowOpen = r.gbSecuredByRealEstate;
    fc.outcome = OutcomeOf(r, r.gbFCUnderViol || r.gbFCOverViol);
    fc.disclosedText = Money(fc.disclosed);
    fc.computedText = Money(fc.computed);
    fc.toleranceText = (fc.lowOpen ? "+" : "\u00b1") + Money(r.giFCTolerance);
    if (reimbursement) {
        fc.reimbursementLimit = r.gdEstFinanceChg + reimbursementTolerance;
        fc.reimbursementText = Money(*fc.reimbursementLimit);
    }
    fc.outcomeText = OutcomeText(fc.outcome);
    return scales;
}

std::string PositiveVerdict(const LoanRecord& r) {
    const bool tested = r.gdEstFinanceChg != 0.0;
    const bool violation = r.gbAPRUnderViol || r.gbAPROverViol || r.gbFCUnderViol || r.gbFCOverViol;
    // An answered question shows its note (caused by the finance charge error, or accurate under
    // the real-estate rule).
    const bool note = r.giAPRUnderByFC != kNotAsked || r.giAPROverByFC != kNotAsked ||
                      FinanceChargeObviousErrorRuleApplies(r) || AprObviousErrorRuleApplies(r);
    return tested && !violation && !note ? kPositiveVerdictText : "";
}

}  // namespace tallex
