#pragma once
// The actuarial APR of Regulation Z, Appendix J (12 CFR 226, App. J(b)): the unit-period rate
// at which the present value of the payment schedule equals the amount financed, times the
// number of unit periods in a year.
//
// The rules are value functions of a schedule, a day basis and options; the record-level
// routines the pages call (PresentValue, AdjustedPresentValue, SolveAPR) read their inputs from
// the loan record and write the results and working values back, as the calculation listing
// and the report read them there.
//
// Arithmetic faults (overflow, division by zero, invalid operation) at the disclosed APR and a
// stream count above 360 raise RuntimeError. Where the secant iteration fails, the root is
// bracketed and bisected instead; a run ends without converging only when no root can be
// bracketed.

#include "engine/Currency.h"
#include "engine/LoanRecord.h"

#include <vector>

namespace tallex {

// A finite-difference secant: each pass evaluates the present value at R and R + kSecantStep.
inline constexpr double kSecantStep = 0.0001;
// The run stops when one pass moves the unit-period rate by no more than this.
inline constexpr double kConvergenceLimit = 0.0000001;
// A run still moving after this many passes is oscillating: the root is bracketed instead.
inline constexpr int kSolverPassLimit = 100;

// One payment stream as the present value reads it.
struct PaymentStream {
    Currency amount;
    double numPayments = 0;
    double unitPeriods = 0;
    double oddDays = 0;
};
using PaymentSchedule = std::vector<PaymentStream>;

// The loan's period basis: days in the unit period (U) and in the year (YR).
struct DayBasis {
    double daysInUnitPeriod = 0;
    double daysInYear = 0;
};

struct SolverOptions {
    // Annual percent the iteration starts from, and the bracket search keeps nearest to: the
    // disclosed APR. A start of 0 takes the first present value at the unit-period rate 1.
    double startApr = 0;
};

struct AprSolution {
    bool converged = false;
    double apr = 0;             // annual percent, unrounded; 0 when the run did not converge
    double unitPeriodRate = 0;  // the rate the run ended at
    int passes = 0;             // secant passes (the bracket search does not count)
};

// The values a computation works with, as the record keeps them between steps. A run starts
// from the values it is given and leaves its own behind, also when it raises; the record-level
// routines load them from the record and store them back.
struct SolverWorkingValues {
    // The last stream discounted (gdOnePlusRate, gdOddDays, dUnitPeriods, gdNumPymts,
    // gcPymtAmount, gdStreamPV).
    double onePlusRate = 0;
    double oddDays = 0;
    double unitPeriods = 0;
    double numPayments = 0;
    Currency paymentAmount{};
    double streamValue = 0;
    // The present value last summed and its unit-period rate (gdPVSum, gdPVRate).
    double presentValue = 0;
    double rate = 0;
    // dPval: the iteration keeps the first present value it computes while this is 0.
    double keptPresentValue = 0;
    // The iteration (gdUnitPdFraction, gdEstRate, gdIteratedAPR, gdIterDiff, gdPVAtEst,
    // iSolverPasses, gbSolverFailed).
    double unitPeriodFraction = 0;
    double estimate = 0;
    double iterated = 0;
    double lastChange = 0;
    double valueAtEstimate = 0;
    int passes = 0;
    bool failed = false;
};

// The first `streams` streams of the record's schedule: the typed columns, or, with
// `alternate`, the amounts and numbers of payments of the alternate schedule. A count above 360
// raises run-time error 9.
PaymentSchedule ScheduleOf(const LoanRecord& record, int streams, bool alternate);
DayBasis DayBasisOf(const LoanRecord& record);

// Present value of the schedule at a unit-period rate. The second form leaves the sum, the
// rate and the last stream's values in `work`.
double PresentValueAt(const PaymentSchedule& schedule, double unitPeriodRate, const DayBasis& basis);
double PresentValueAt(const PaymentSchedule& schedule, double unitPeriodRate, const DayBasis& basis,
                      SolverWorkingValues& work);

// The APR at which the schedule is worth `amountFinanced`. The second form runs on `work` as
// it is given (a run given `failed` already set makes one pass and then brackets the root).
AprSolution SolveApr(const PaymentSchedule& schedule, double amountFinanced, const DayBasis& basis,
                     const SolverOptions& options);
AprSolution SolveApr(const PaymentSchedule& schedule, double amountFinanced, const DayBasis& basis,
                     const SolverOptions& options, SolverWorkingValues& work);

// Present value at the unit-period rate gdPVRate of the first giPVStreams streams (amount and
// number of payments from the alternate schedule while gbUseAltSchedule is set) into gdPVSum;
// the first value computed while dPval is 0 is kept in dPval.
void PresentValue(LoanRecord& record);

// The twin used by the tolerance tests: always the typed schedule, result into gdPval_Adjusted;
// dPval is not touched.
void AdjustedPresentValue(LoanRecord& record);

// Solves for gdCalcAPR (annual percent, unrounded) and sets gdPymtsLessAdv. The caller fills
// the schedule, gdAmount, gdDisclAPR, gdDaysinUnitPd, gdDaysinYr and giGridRowCount, and
// clears gbSolverFailed before the run; a run that cannot converge sets gbSolverFailed and
// leaves gdCalcAPR as it was.
void SolveAPR(LoanRecord& record);

}  // namespace tallex
