#pragma once
// The time from the loan date to the first amortization payment of a construction loan whose
// construction and permanent phases are disclosed together (12 CFR 226, App. D(b)(2)): half
// the construction term plus the permanent phase, in whole unit periods and odd days.

#include "calendar/CalendarDate.h"
#include "calendar/CalendarRefusal.h"
#include "engine/LoanRecord.h"

namespace tallex {

// Half a term in days, rounded to a whole day with halves up: 45 -> 23, 270 -> 135.
double RoundUpHalf(double days);

// The two month counts: the permanent phase (construction end to amortization payment) and the
// construction phase (loan date to construction end).
struct DoubleMonthCount {
    int constructionMonths = 0;  // Mc
    int constructionDays = 0;    // Dc
    int permanentMonths = 0;     // Mp
    int permanentDays = 0;       // Dp
};

// Counts the permanent phase first, then the construction phase; leaves gdCalPermMonths = Mp,
// gdCalUnitPeriods = Mc and gdCalDayGap = Dc.
DoubleMonthCount CountBothPhases(LoanRecord& record, const CalendarDate& loanDate, const CalendarDate& constructionEnd,
                                 const CalendarDate& amortizationDate);

// Measures loan date to first amortization payment for giPymtFreq, with U = gdDaysinUnitPd as
// the calling screen set it. The three dates must be in order (construction end after the loan
// date, amortization payment not before the construction end). Sets dActDays to the
// construction term in days.
//  1 monthly: H = half of (U x Mc + Dc); its whole unit periods, plus Mp, plus the unit
//    periods that H's remainder and Dp fill; the rest are the odd days.
//  3 semi-monthly: as monthly in half months (15 odd days make a half month; Mp doubled).
//  4 actual days: half the construction days plus the permanent days, in unit periods of U.
//  5 equal months: half the construction months plus the permanent phase must be whole months
//    (kHalfTermNotEqualMonths) and the construction phase too (kHalfTermConstructionNotMonths);
//    then the single-payment equal-months rule over that many months (dMonths).
//  6 actual days: whole years of the permanent phase and actual days beyond them, plus half
//    the construction days; a span above a year of whole months but not whole years is refused
//    (kHalfTermEqualMonths). A span under a year is one unit period of its days.
//  2 multiples of a month (dMonths = m, U = m x 30, 360-day year): as monthly in unit periods
//    of m months. With m = 12 odd days that are not whole 30-day months are measured in actual
//    days instead, and the loan's day basis applies as for regular annual streams
//    (kSwitchToEvenMonths / kSwitchToActualDays).
//  any other code: nothing is computed.
// On a refusal the loan's basis values (gdDaysinUnitPd, gdDaysinYr, dMonths, giDayBasis) are
// left as they were. A unit period of 0 days or 0 months raises run-time error 11.
CalendarRefusal ApplyConstructionSpanRule(LoanRecord& record, const CalendarDate& loanDate,
                                          const CalendarDate& constructionEnd, const CalendarDate& amortizationDate);

}  // namespace tallex
