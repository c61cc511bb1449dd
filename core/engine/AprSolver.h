#pragma once
// The actuarial APR of Regulation Z, Appendix J (12 CFR 226, App. J(b)): the unit-period rate
// at which the present value of the payment schedule equals the amount financed, times the
// number of unit periods in a year.
//
// Arithmetic faults (overflow, division by zero, invalid operation) at the disclosed APR and a
// stream count above 360 raise RuntimeError. Where the secant iteration fails, the root is
// bracketed and bisected instead; a run ends with gbSolverFailed set only when no root can be
// bracketed.

#include "engine/LoanRecord.h"

namespace tallex {

// A finite-difference secant: each pass evaluates the present value at R and R + kSecantStep.
inline constexpr double kSecantStep = 0.0001;
// The run stops when one pass moves the unit-period rate by no more than this.
inline constexpr double kConvergenceLimit = 0.0000001;
// A run still moving after this many passes is oscillating: the root is bracketed instead.
inline constexpr int kSolverPassLimit = 100;

// Present value at the unit-period rate gdPVRate of the first giPVStreams streams (amount and
// number of payments from the alternate schedule while gbUseAltSchedule is set) into gdPVSum;
// the first value computed while dPval is 0 is kept in dPval.
void PresentValue(LoanRecord& record);

// The twin used by the tolerance tests: always the typed schedule, result into gdPval_Adjusted;
// dPval is not touched.
void AdjustedPresentValue(LoanRecord& record);

// Solves for gdCalcAPR (annual percent, unrounded) and sets gdPymtsLessAdv. The caller fills
// the schedule, gdAmount, gdDisclAPR, gdDaysinUnitPd, gdDaysinYr and giGridRowCount, and
// clears gbSolverFailed before the run.
void SolveAPR(LoanRecord& record);

}  // namespace tallex
