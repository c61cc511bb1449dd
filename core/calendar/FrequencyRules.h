#pragma once
// Turning a loan date and a payment (or advance) date into the whole unit periods and odd days
// of one payment stream, for the loan's payment frequency (12 CFR 226, App. J(b)(3)-(5)).
//
// Results land in gdCalUnitPeriods and gdCalOddDays (and gdCalDayGap, the odd days of the month
// count); some frequencies also fix gdDaysinUnitPd, gdDaysinYr, dMonths and the loan's day
// basis giDayBasis. The rule runs after the dates have been accepted and the payment date has
// been found not earlier than the loan date.

#include "calendar/CalendarDate.h"
#include "calendar/CalendarRefusal.h"
#include "engine/LoanRecord.h"

namespace tallex {

// Day basis of a loan with annual unit periods (giDayBasis).
enum AnnualDayBasis : std::int16_t {
    kDayBasisOpen = 0,        // no annual stream with an odd period yet
    kDayBasisEvenMonths = 1,  // odd periods in 30-day months, 360/360
    kDayBasisActualDays = 2,  // odd periods in actual days, 365/365
};

// Applies the rule of giPymtFreq:
//  1 monthly: whole months and the month count's odd days.
//  2 multiples of a month (dMonths per unit period): whole unit periods; left-over months count
//    30 days each. With dMonths 12 a term that does not end on the loan date's day of the month
//    is measured in whole years and actual days (365/365, giDayBasis 2); one that does but has
//    left-over months keeps 30-day months (360/360, giDayBasis 1). A stream on the other basis
//    than the one already fixed is refused (kSwitchToEvenMonths / kSwitchToActualDays).
//  3 semi-monthly: half months of 15 days; odd days under 15.
//  4 actual days: gdCalActualDays split into unit periods of gdDaysinUnitPd days.
//  5 equal months, single payment: the term must be whole months (kTermNotMultipleOfMonth);
//    one unit period of the term (at most 360 days, 360-day year), whole years beyond a year.
//  6 actual days, single payment: the annual count (CountYearsBack); a term of whole months
//    that is not whole years is refused (kEqualMonthsTerm).
//  7 and any other code: nothing is computed.
// On a refusal the loan's basis (gdDaysinUnitPd, gdDaysinYr, dMonths, giDayBasis) is left as
// it was; the working results may hold part of the computation.
// A unit period of 0 days (code 4) or 0 months (code 2) raises run-time error 11.
CalendarRefusal ApplyFrequencyRule(LoanRecord& record, const CalendarDate& loanDate, const CalendarDate& paymentDate);

// The loan's basis values that a refused rule must leave untouched.
struct LoanBasis {
    double gdDaysinUnitPd = 0;
    double gdDaysinYr = 0;
    double dMonths = 0;
    std::int16_t giDayBasis = 0;

    static LoanBasis Of(const LoanRecord& record);
    void RestoreInto(LoanRecord& record) const;
};

}  // namespace tallex
