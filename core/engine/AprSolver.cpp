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

// Steps 1 and 2 of the present value: discount every stream at work.rate, leaving the working
// values of the last stream in `w`.
void SumPresentValues(const PaymentSchedule& streams, double daysInUnitPeriod, SolverWorkingValues& w) {
    const double i = w.rate;
    const double u = daysInUnitPeriod;
    w.presentValue = 0;
    // Streams often repeat a number of payments; the power is taken once per distinct value.
    double lastCount = std::numeric_limits<double>::quiet_NaN();
    double lastB = 0;
    for (const PaymentStream& s : streams) {
        w.onePlusRate = Add(1.0, i);
        w.oddDays = s.oddDays;
        const double oddFactor = Add(1.0, Div(Mul(w.oddDays, i), u));
        w.unitPeriods = s.unitPeriods;
        const double a = Pow(w.onePlusRate, w.unitPeriods);
        w.numPayments = s.numPayments;
        if (w.numPayments != lastCount) {
            lastB = Pow(w.onePlusRate, w.numPayments);
            lastCount = w.numPayments;
        }
        const double b = lastB;
        const double d = Div(Div(1.0, a), oddFactor);
        const double v = Div(1.0, b);
        const double annuity = Sub(1.0, v);
        w.paymentAmount = s.amount;
        // Evaluated in this order: (amount x annuity / i) x (D x (1 + i)).
        w.streamValue = Mul(Div(Mul(w.paymentAmount.ToDouble(), annuity), i), Mul(d, Add(1.0, i)));
        w.presentValue = Add(w.presentValue, w.streamValue);
    }
}

void PresentValueOf(const PaymentSchedule& streams, double daysInUnitPeriod, SolverWorkingValues& w) {
    SumPresentValues(streams, daysInUnitPeriod, w);
    if (w.keptPresentValue == 0.0) w.keptPresentValue = w.presentValue;
}

// What one run solves.
struct Problem {
    const PaymentSchedule& streams;
    double amount;
    double daysInUnitPeriod;
    double startApr;
};

// One secant pass around the estimate. Returns true when the run has converged; sets `failed`
// when it cannot go on.
bool SolverPass(const Problem& p, SolverWorkingValues& w) {
    w.rate = w.estimate == 0.0 ? 1.0 : w.estimate;
    PresentValueOf(p.streams, p.daysInUnitPeriod, w);
    const double pv1 = w.presentValue;
    w.valueAtEstimate = pv1;
    w.rate = Add(w.estimate, kSecantStep);
    PresentValueOf(p.streams, p.daysInUnitPeriod, w);
    const double pv2 = w.presentValue;
    const double slope = Sub(pv2, pv1);
    if (slope == 0.0) {
        // The secant cannot move on a flat present value (every amount 0, say).
        w.failed = true;
        return false;
    }
    w.iterated = Add(w.estimate, Div(Mul(kSecantStep, Sub(p.amount, pv1)), slope));
    w.lastChange = std::fabs(Sub(w.iterated, w.estimate));
    if (w.lastChange <= kConvergenceLimit) return true;
    // A rate of -100 % or less per unit period has no meaning: the run has diverged.
    if (w.iterated <= -1.0) w.failed = true;
    return false;
}

// The present value at `rate` less the amount financed; nullopt when the rate is beyond what
// the arithmetic can evaluate (an overflow, or a factor reaching 0). Leaves the kept value alone.
std::optional<double> Shortfall(const Problem& p, SolverWorkingValues& w, double rate) {
    w.rate = rate;
    try {
        SumPresentValues(p.streams, p.daysInUnitPeriod, w);
        return Sub(w.presentValue, p.amount);
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
bool BracketRoot(const Problem& p, SolverWorkingValues& w) {
    const std::vector<double> grid = BracketGrid();
    std::vector<std::optional<double>> values;
    values.reserve(grid.size());
    for (double rate : grid) values.push_back(Shortfall(p, w, rate));

    const double start = p.startApr * w.unitPeriodFraction / 100.0;
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
        const std::optional<double> f = Shortfall(p, w, mid);
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
    w.lastChange = hi - lo;
    w.estimate = root;
    w.iterated = root;
    w.rate = root;
    SumPresentValues(p.streams, p.daysInUnitPeriod, w);
    w.valueAtEstimate = w.presentValue;
    return true;
}

// The record's working values for the length of one record-level computation: loaded when it
// starts and stored back when it ends, also when it raises, as the record's own fields were
// written before.
class RecordWorkingValues {
public:
    explicit RecordWorkingValues(LoanRecord& record) : record_(record) {
        values.onePlusRate = record.gdOnePlusRate;
        values.oddDays = record.gdOddDays;
        values.unitPeriods = record.dUnitPeriods;
        values.numPayments = record.gdNumPymts;
        values.paymentAmount = record.gcPymtAmount;
        values.streamValue = record.gdStreamPV;
        values.presentValue = record.gdPVSum;
        values.rate = record.gdPVRate;
        values.keptPresentValue = record.dPval;
        values.unitPeriodFraction = record.gdUnitPdFraction;
        values.estimate = record.gdEstRate;
        values.iterated = record.gdIteratedAPR;
        values.lastChange = record.gdIterDiff;
        values.valueAtEstimate = record.gdPVAtEst;
        values.passes = record.iSolverPasses;
        values.failed = record.gbSolverFailed;
    }
    ~RecordWorkingValues() {
        record_.gdOnePlusRate = values.onePlusRate;
        record_.gdOddDays = values.oddDays;
        record_.dUnitPeriods = values.unitPeriods;
        record_.gdNumPymts = values.numPayments;
        record_.gcPymtAmount = values.paymentAmount;
        record_.gdStreamPV = values.streamValue;
        record_.gdPVSum = values.presentValue;
        record_.gdPVRate = values.rate;
        record_.dPval = values.keptPresentValue;
        record_.gdUnitPdFraction = values.unitPeriodFraction;
        record_.gdEstRate = values.estimate;
        record_.gdIteratedAPR = values.iterated;
        record_.gdIterDiff = values.lastChange;
        record_.gdPVAtEst = values.valueAtEstimate;
        record_.iSolverPasses = values.passes;
        record_.gbSolverFailed = values.failed;
    }
    RecordWorkingValues(const RecordWorkingValues&) = delete;
    RecordWorkingValues& operator=(const RecordWorkingValues&) = delete;

    SolverWorkingValues values;

private:
    LoanRecord& record_;
};

}  // namespace

PaymentSchedule ScheduleOf(const LoanRecord& r, int count, bool alternate) {
    if (count > kMaxStreams) Raise(RuntimeErrorCode::SubscriptOutOfRange);
    PaymentSchedule streams;
    if (count < 1) return streams;
    // The texts cannot change while a computation runs, so reading them once gives the same
    // values as reading them on every pass.
    streams.reserve(static_cast<std::size_t>(count));
    for (int k = 1; k <= count; ++k) {
        PaymentStream s;
        s.oddDays = Val(r.gaOddDays[k]);
        s.unitPeriods = Val(r.gaUnitPeriods[k]);
        s.numPayments = alternate ? r.gaAltNumPymts[k] : Val(r.gaNumPymts[k]);
        s.amount = alternate ? r.gaAltPymtAmt[k] : Currency::FromDouble(Val(r.gaPymtAmt[k]));
        streams.push_back(s);
    }
    return streams;
}

DayBasis DayBasisOf(const LoanRecord& r) { return {r.gdDaysinUnitPd, r.gdDaysinYr}; }

double PresentValueAt(const PaymentSchedule& schedule, double unitPeriodRate, const DayBasis& basis,
                      SolverWorkingValues& work) {
    work.rate = unitPeriodRate;
    SumPresentValues(schedule, basis.daysInUnitPeriod, work);
    return work.presentValue;
}

double PresentValueAt(const PaymentSchedule& schedule, double unitPeriodRate, const DayBasis& basis) {
    SolverWorkingValues work;
    return PresentValueAt(schedule, unitPeriodRate, basis, work);
}

AprSolution SolveApr(const PaymentSchedule& schedule, double amountFinanced, const DayBasis& basis,
                     const SolverOptions& options, SolverWorkingValues& w) {
    const Problem p{schedule, amountFinanced, basis.daysInUnitPeriod, options.startApr};
    w.passes = 0;
    w.unitPeriodFraction = Div(basis.daysInUnitPeriod, basis.daysInYear);
    w.estimate = Div(Mul(options.startApr, w.unitPeriodFraction), 100.0);

    for (;;) {
        if (w.passes == kSolverPassLimit) {
            w.failed = true;
            break;
        }
        ++w.passes;
        try {
            if (SolverPass(p, w)) break;
        } catch (const RuntimeError&) {
            // The first pass works at the disclosed APR: a fault there belongs to the inputs.
            // Later passes work at rates the iteration chose itself; a fault there means the
            // iteration has run away from any root, which is a failure to converge.
            if (w.passes == 1) throw;
            w.failed = true;
        }
        if (w.failed) break;
        w.estimate = w.iterated;
    }
    // A pass at the rate 0 measures the present value at 1 instead, so its "convergence" says
    // nothing about the rate 0 (1 at 1200 % for .50 would pass for an APR of 0): look for the
    // root instead.
    if (!w.failed && w.estimate == 0.0) w.failed = true;
    AprSolution solution;
    solution.passes = w.passes;
    if (w.failed) {
        if (!BracketRoot(p, w)) return solution;
        w.failed = false;
    }
    solution.apr = Mul(Div(100.0, w.unitPeriodFraction), w.iterated);
    solution.unitPeriodRate = w.iterated;
    solution.converged = true;
    return solution;
}

AprSolution SolveApr(const PaymentSchedule& schedule, double amountFinanced, const DayBasis& basis,
                     const SolverOptions& options) {
    SolverWorkingValues work;
    return SolveApr(schedule, amountFinanced, basis, options, work);
}

void PresentValue(LoanRecord& record) {
    const PaymentSchedule streams = ScheduleOf(record, record.giPVStreams, record.gbUseAltSchedule);
    RecordWorkingValues work(record);
    PresentValueOf(streams, record.gdDaysinUnitPd, work.values);
}

void AdjustedPresentValue(LoanRecord& record) {
    const PaymentSchedule streams = ScheduleOf(record, record.giPVStreams, false);
    RecordWorkingValues work(record);
    record.gdPval_Adjusted = PresentValueAt(streams, record.gdPVRate, DayBasisOf(record), work.values);
}

void SolveAPR(LoanRecord& r) {
    r.gdPymtsLessAdv = 0;
    r.iSolverPasses = 0;
    r.giPVStreams = (r.gbConstruction && r.gbConstOptDisc) ? 1 : r.giGridRowCount;
    const PaymentSchedule streams = ScheduleOf(r, r.giPVStreams, r.gbUseAltSchedule);
    // T is always the typed schedule, whatever the alternate-schedule flag says.
    for (int k = 1; k <= r.giPVStreams; ++k) {
        r.gcPymtAmount = Currency::FromDouble(Val(r.gaPymtAmt[k]));
        r.gdNumPymts = Val(r.gaNumPymts[k]);
        r.gdPymtsLessAdv = Add(r.gdPymtsLessAdv, Mul(r.gcPymtAmount.ToDouble(), r.gdNumPymts));
    }
    RecordWorkingValues work(r);
    const AprSolution solution = SolveApr(streams, r.gdAmount, DayBasisOf(r), SolverOptions{r.gdDisclAPR}, work.values);
    if (solution.converged) r.gdCalcAPR = solution.apr;
}

}  // namespace tallex
