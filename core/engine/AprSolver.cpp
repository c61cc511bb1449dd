#include "engine/AprSolver.h"

#include "engine/CheckedMath.h"
#include "engine/NumberText.h"
#include "engine/RuntimeError.h"

#include <cmath>
#include <limits>
#include <optional>
#include <utility>
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
        // The secant cannot move on a flat present value (every amount 0, say).
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

// The present value at `rate` less the amount financed; nullopt when the rate is beyond what
// the arithmetic can evaluate (an overflow, or a factor reaching 0). Leaves dPval alone.
std::optional<double> Shortfall(LoanRecord& r, const std::vector<StreamTerms>& streams, double rate) {
    r.gdPVRate = rate;
    try {
        SumPresentValues(r, streams);
        return Sub(r.gdPVSum, r.gdAmount);
    } catch (const RuntimeError&) {
        return std::nullopt;
    }
}

// The rates the search for a bracket samples, in increasing order: eight steps to each doubling,
// from 1e-9 up to 1e12 per unit period (far beyond any loan), and mirrored below 0 down
// towards -100 % per unit period, which no rate can reach. 0 itself is left out: the annuity
// factor divides by the rate.
std::vector<double> BracketGrid() {
    constexpr double kSmallest = 1e-9;
    constexpr double kLargest = 1e12;
    constexpr double kNearestMinusOne = 0x1p-52;  // 1 + rate still above 0 in a double
    const double step = std::pow(2.0, 0.125);
    std::vector<double> grid;
    for (double gap = kNearestMinusOne; gap < 0.5; gap *= step) grid.push_back(gap - 1.0);
    std::vector<double> positive;
    for (double rate = kSmallest; rate <= kLargest; rate *= step) positive.push_back(rate);
    for (auto it = positive.rbegin(); it != positive.rend(); ++it) {
        if (*it <= 0.5) grid.push_back(-*it);
    }
    grid.insert(grid.end(), positive.begin(), positive.end());
    return grid;
}

// Where the secant iteration fails (it runs away from a root that lies far from the disclosed
// APR, or oscillates), the root of the same equation, present value = amount financed, is
// sought by bisection. The rates the program can represent are those of the grid above at which
// the present value evaluates without an arithmetic fault; a sign change of the shortfall
// between two neighbouring such rates brackets a root. Of several brackets the one nearest the
// disclosed APR is taken. No sign change means no root there (a flat present value, payments
// that can never be worth the amount, or two roots within one step of the grid): the run then
// stays failed. Returns true and sets the working values as a converged run leaves them when a
// root was found.
bool BracketRoot(LoanRecord& r, const std::vector<StreamTerms>& streams) {
    const std::vector<double> grid = BracketGrid();
    std::vector<std::optional<double>> values;
    values.reserve(grid.size());
    for (double rate : grid) values.push_back(Shortfall(r, streams, rate));

    const double start = r.gdDisclAPR * r.gdUnitPdFraction / 100.0;
    std::optional<std::pair<std::size_t, std::size_t>> best;
    double bestDistance = 0;
    std::size_t last = grid.size();  // the last evaluable rate whose shortfall is not 0
    for (std::size_t k = 0; k < grid.size(); ++k) {
        if (!values[k]) {
            last = grid.size();  // a fault breaks the range: no bracket across it
            continue;
        }
        if (*values[k] == 0.0) continue;
        if (last != grid.size() && (*values[last] < 0.0) != (*values[k] < 0.0)) {
            const double distance = start < grid[last] ? grid[last] - start : start > grid[k] ? start - grid[k] : 0.0;
            if (!best || distance < bestDistance) {
                best = std::pair{last, k};
                bestDistance = distance;
            }
        }
        last = k;
    }
    if (!best) return false;

    double lo = grid[best->first], hi = grid[best->second];
    double fLo = *values[best->first], fHi = *values[best->second];
    // Halve until the two ends are neighbouring doubles or a rate gives the amount exactly.
    for (int n = 0; n < 2200; ++n) {
        double mid = lo + (hi - lo) / 2;
        if (mid == 0.0) mid = hi / 2;  // never the rate 0 (only when the bracket is symmetric about it)
        if (mid <= lo || mid >= hi) break;
        const std::optional<double> f = Shortfall(r, streams, mid);
        if (!f) return false;  // cannot happen between two evaluable rates; stay failed if it does
        if (*f == 0.0) {
            lo = hi = mid;
            fLo = fHi = 0;
            break;
        }
        if ((*f < 0.0) == (fLo < 0.0)) {
            lo = mid;
            fLo = *f;
        } else {
            hi = mid;
            fHi = *f;
        }
    }
    const double root = std::fabs(fLo) <= std::fabs(fHi) ? lo : hi;
    r.gdIterDiff = hi - lo;
    r.gdEstRate = root;
    r.gdIteratedAPR = root;
    r.gdPVRate = root;
    SumPresentValues(r, streams);
    r.gdPVAtEst = r.gdPVSum;
    return true;
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
            break;
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
        }
        if (r.gbSolverFailed) break;
        r.gdEstRate = r.gdIteratedAPR;
    }
    // A pass at the rate 0 measures the present value at 1 instead, so its "convergence" says
    // nothing about the rate 0 (1 at 1200 % for .50 would pass for an APR of 0): look for the
    // root instead.
    if (!r.gbSolverFailed && r.gdEstRate == 0.0) r.gbSolverFailed = true;
    if (r.gbSolverFailed) {
        if (!BracketRoot(r, streams)) return;
        r.gbSolverFailed = false;
    }
    r.gdCalcAPR = Mul(Div(100.0, r.gdUnitPdFraction), r.gdIteratedAPR);
}

}  // namespace tallex
