#include "construction/ConstInterestEstimate.h"

#include "construction/ConstChoices.h"
#include "engine/CheckedMath.h"
#include "engine/RuntimeError.h"

#include <cmath>

namespace tallex {

namespace {

using checked::Add;
using checked::Div;
using checked::Mul;

// Interest for a period, in the order rate x base / days in year x period.
double SimpleInterest(double rate, double base, double daysInYear, double periodDays) {
    return Mul(Div(Mul(rate, base), daysInYear), periodDays);
}

// The estimate on the fields it reads and writes: the record's, or those of entries a page has
// not stored yet (ConstInterestAboveLimit). Writes in the order the steps run.
template <class Fields>
void Estimate(const ConstructionChoices& c, Fields& r) {
    r.gdConstIntBase = OnAdvances(c) ? Div(r.gdCommitmentAmt, 2.0) : r.gdCommitmentAmt;
    if (c.optIntAccrl == kAccrualActual365_360) r.gdConstDaysinYr = 360;
    if (c.optIntAccrl == kAccrualOther) return;
    r.gdConstIntRate = Div(r.gdSimpleIntRate, 100.0);

    double interest = 0;
    if (c.optIntAccrl == kAccrualWholeMonths) {
        // Written as months x 30 at the end of the chain, not as a period computed first.
        interest = Mul(Mul(Div(Mul(r.gdConstIntRate, r.gdConstIntBase), r.gdConstDaysinYr), r.gdConstMonths), 30.0);
        if (c.chkIntReserve) {
            const double onInterest =
                Mul(Mul(Div(Mul(Mul(interest, 0.5), r.gdConstIntRate), r.gdConstDaysinYr), r.gdConstMonths), 30.0);
            interest = Add(interest, onInterest);
        }
    } else {
        interest = SimpleInterest(r.gdConstIntRate, r.gdConstIntBase, r.gdConstDaysinYr, r.gdConstDays);
        if (c.chkIntReserve) {
            const double onInterest =
                Mul(Div(Mul(Mul(interest, 0.5), r.gdConstIntRate), r.gdConstDaysinYr), r.gdConstDays);
            interest = Add(interest, onInterest);
        }
        r.gdDaysinYr = 365;
    }
    // Rounded to cents, half up (towards positive infinity at the half cent).
    const double estimate = Div(std::floor(Add(Mul(interest, 100.0), 0.5)), 100.0);
    // The pages hold the estimate in single precision: beyond 9,999,999 it no longer fits.
    if (std::fabs(estimate) > 1e30 || static_cast<float>(estimate) > static_cast<float>(kMaxConstInterest))
        Raise(RuntimeErrorCode::Overflow);
    r.gdEstConstInterest = estimate;
}

}  // namespace

void EstimateConstInterest(LoanRecord& r) { Estimate(r.construction, r); }

bool ConstInterestAboveLimit(const ConstructionChoices& choices, const ConstInterestTerms& terms) {
    struct {
        double gdCommitmentAmt, gdSimpleIntRate, gdConstMonths, gdConstDays, gdConstDaysinYr;
        double gdConstIntBase = 0, gdConstIntRate = 0, gdEstConstInterest = 0, gdDaysinYr = 0;
    } fields{terms.commitment, terms.simpleRate, terms.months, terms.days, terms.daysInYear};
    try {
        Estimate(choices, fields);
    } catch (const RuntimeError& e) {
        if (e.number() != static_cast<int>(RuntimeErrorCode::Overflow)) throw;
        return true;
    }
    return false;
}

}  // namespace tallex
