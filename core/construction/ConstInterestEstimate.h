#pragma once
// The estimate of construction interest of Regulation Z, Appendix D, part I(B): simple interest
// at the contract rate on one-half of the commitment when interest is payable only on advances
// (the average balance outstanding during construction), on all of it when interest is payable
// on the entire commitment, over the construction period. A required interest reserve adds the
// interest on that interest, again on one-half of it.
//
//   whole months (360/360)   I = rate x base / 360 x months x 30
//   actual days (365/365)    I = rate x base / 365 x days
//   actual days (365/360)    I = rate x base / 360 x days
//   with interest reserve    I = I + I x 0.5 x rate / days in year x (the same period)
//
// The operations run in the order written, in double precision, and the estimate is rounded to
// cents, half up. With the accrual option "other" nothing is computed: the user types it.

#include "engine/LoanRecord.h"

namespace tallex {

// The largest estimate the construction pages can show.
inline constexpr double kMaxConstInterest = 9999999;

// Reads gdCommitmentAmt, gdSimpleIntRate, gdConstMonths, gdConstDays, gdConstDaysinYr and the
// construction choices; writes gdConstIntBase, gdConstIntRate, gdEstConstInterest, and for the
// actual-day accruals gdConstDaysinYr (360 under 365/360) and gdDaysinYr (365).
// An estimate above 9,999,999 raises run-time error 6 (Overflow), as does any arithmetic
// overflow; a year of 0 days raises error 11 (Division by zero).
void EstimateConstInterest(LoanRecord& record);

// The figures the estimate reads, before the construction phase page stores them.
struct ConstInterestTerms {
    double commitment = 0;  // gdCommitmentAmt
    double simpleRate = 0;  // gdSimpleIntRate, annual percent
    double months = 0;      // gdConstMonths
    double days = 0;        // gdConstDays
    double daysInYear = 0;  // gdConstDaysinYr as the page leaves it (360 or 365)
};

// Whether EstimateConstInterest would overflow for these figures: an estimate above 9,999,999,
// which the pages cannot hold. Computes the same steps in the same order; stores nothing.
bool ConstInterestAboveLimit(const ConstructionChoices& choices, const ConstInterestTerms& terms);

}  // namespace tallex
