#include "engine/AprSolver.h"

#include "engine/CheckedMath.h"
#include "engine/NumberText.h"
#include "engine/RuntimeError.h"

#include <cmath>
#include <limits>
#include <vector>

namespace tallex {

namespace {

using checked::Add;
using checked::Div;
using checked::Mul;
using checked::Pow;
using checked::Sub;

// One stream's numbers, read once per run from the text columns (the texts cannot change
// while the solver runs, so reading them once gives the same values as reading every pass).
struct StreamTerms {
    Currency amount;
    double numPayments = 0;
    double unitPeriods = 0;
    double oddDays = 0;
};

void RequireStreamCount(int streams) {
    if (streams > kMaxStreams) Raise(RuntimeErrorCode::SubscriptOutOfRange);
}

std::vector<StreamTerms> ReadStreams(const LoanRecord& r, bool allowAlternate) {
    const int count = r.giPVStreams;
    RequireStreamCount(count);
    std::vector<StreamTerms> streams;
    if (count < 1) return streams;
    streams.reserve(static_cast<std::size_t>(count));
    const bool alternate = allowAlternate && r.gbUseAltSchedule;
    for (int k = 1; k <= count; ++k) {
        StreamTerms s;
        s.oddDays = Val(r.gaOddDays[k]);
        s.unitPeriods = Val(r.gaUnitPeriods[k]);
        s.numPayments = alternate ? r.gaAltNumPymts[k] : Val(r.gaNumPymts[k]);
        s.amount = alternate ? r.gaAltPymtAmt[k] : Currency::FromDouble(Val(r.gaPymtAmt[k]));
        streams.push_back(s);
    }
    return streams;
}

// Steps 1 and 2 of the present value: discount every stream at gdPVRate, leaving the working
// fields of the last stream in the record.
void SumPresentValues(LoanRecord& r, const std::vector<StreamTerms>& streams) {
    const double i = r.gdPVRate;
    const double u = r.gdDaysinUnitPd;
    r.gdPVSum = 0;
    // Streams often repeat a number of payments; the power is taken once per distinct value.
    double lastCount = std::numeric_limits<double>::quiet_NaN();
    double lastB = 0;
    for (const StreamTerms& s : streams) {
        r.gdOnePlusRate = Add(1.0, i);
        r.gdOddDays = s.oddDays;
        const double oddFactor = Add(1.0, Div(Mul(r.gdOddDays, i), u));
        r.dUnitPeriods = s.unitPeriods;
        const double a = Pow(r.gdOnePlusRate, r.dUnitPeriods);
        r.gdNumPymts = s.numPayments;
        if (r.gdNumPymts != lastCount) {
            lastB = Pow(r.gdOnePlusRate, r.gdNumPymts);
            lastCount = r.gdNumPymts;
        }
        const double b = lastB;
        const double d = Div(Div(1.0, a), oddFactor);
        const double v = Div(1.0, b);
        const double annuity = Sub(1.0, v);
        r.gcPymtAmount = s.amount;
        // Evaluated in this order: (amount x annuity / i) x (D x (1 + i)).
        r.gdStreamPV = Mul(Div(Mul(r.gcPymtAmount.ToDouble(), annuity), i), Mul(d, Add(1.0, i)));
        r.gdPVSum = Add(r.gdPVSum, r.gdStreamPV);
    }
}

void PresentValueOf(LoanRecord& r, const std::vector<StreamTerms>& streams) {
    SumPresentValues(r, streams);
    if (r.dPval == 0.0) r.dPval = r.gdPVSum;
}

// One secant pass around gdEstRate. Returns true when the run has converged; sets
// gbSolverFailed when it cannot go on.
bool SolverPass(LoanRecord& r, const std::vector<StreamTerms>& streams) {
    r.gdPVRate = r.gdEstRate == 0.0 ? 1.0 : r.gdEstRate;
    PresentValueOf(r, streams);
    const double pv1 = r.gdPVSum;
    r.gdPVAtEst = pv1;
    r.gdPVRate = Add(r.gdEstRate, kSecantStep);
    PresentValueOf(r, streams);
    const double pv2 = r.gdPVSum;
    const double slope = Sub(pv2, pv1);
    if (slope == 0.0) {
        // A flat present value (every amount 0, say) has no root to move towards.
        r.gbSolverFailed = true;
        return false;
    }
    r.gdIteratedAPR = Add(r.gdEstRate, Div(Mul(kSecantStep, Sub(r.gdAmount, pv1)), slope));
    r.gdIterDiff = std::fabs(Sub(r.gdIteratedAPR, r.gdEstRate));
    if (r.gdIterDiff <= kConvergenceLimit) return true;
    // A rate of -100 % or less per unit period has no meaning: the run has diverged.
    if (r.gdIteratedAPR <= -1.0) r.gbSolverFailed = true;
    return false;
}

}  // namespace

void PresentValue(LoanRecord& record) { PresentValueOf(record, ReadStreams(record, true)); }

void AdjustedPresentValue(LoanRecord& record) {
    SumPresentValues(record, ReadStreams(record, false));
    record.gdPval_Adjusted = record.gdPVSum;
}

void SolveAPR(LoanRecord& r) {
    r.gdPymtsLessAdv = 0;
    r.iSolverPasses = 0;
    r.giPVStreams = (r.gbConstruction && r.gbConstOptDisc) ? 1 : r.giGridRowCount;
    const std::vector<StreamTerms> streams = ReadStreams(r, true);
    // T is always the typed schedule, whatever the alternate-schedule flag says.
    for (int k = 1; k <= r.giPVStreams; ++k) {
        r.gcPymtAmount = Currency::FromDouble(Val(r.gaPymtAmt[k]));
        r.gdNumPymts = Val(r.gaNumPymts[k]);
        r.gdPymtsLessAdv = Add(r.gdPymtsLessAdv, Mul(r.gcPymtAmount.ToDouble(), r.gdNumPymts));
    }
    r.gdUnitPdFraction = Div(r.gdDaysinUnitPd, r.gdDaysinYr);
    r.gdEstRate = Div(Mul(r.gdDisclAPR, r.gdUnitPdFraction), 100.0);

    for (;;) {
        if (r.iSolverPasses == kSolverPassLimit) {
            r.gbSolverFailed = true;
            return;
        }
        ++r.iSolverPasses;
        try {
            if (SolverPass(r, streams)) break;
        } catch (const RuntimeError&) {
            // The first pass works at the disclosed APR: a fault there belongs to the inputs.
            // Later passes work at rates the iteration chose itself; a fault there means the
            // iteration has run away from any root, which is a failure to converge.
            if (r.iSolverPasses == 1) throw;
            r.gbSolverFailed = true;
            return;
        }
        if (r.gbSolverFailed) return;
        r.gdEstRate = r.gdIteratedAPR;
    }
    r.gdCalcAPR = Mul(Div(100.0, r.gdUnitPdFraction), r.gdIteratedAPR);
}

}  // namespace tallex
