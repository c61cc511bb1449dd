#pragma once
// Measuring a term in whole months or whole years and odd days, as Appendix J counts them
// (12 CFR 226, App. J(b)(3)-(4)): whole periods are counted back from the later date and the
// odd days are left at the front, between the earlier date and the counted-back date.

#include "calendar/CalendarDate.h"
#include "engine/LoanRecord.h"

namespace tallex {

struct MonthCountResult {
    int months = 0;            // whole months
    int countedMonth = 0;      // month of the counted-back date, in the earlier date's year (13 = January after)
    int countedDay = 0;        // its day; it may be a day the month lacks (the 30th of February)
    int fromDayOfYear = 0;     // day of year of the earlier date
    int countedDayOfYear = 0;  // day of year of the counted-back date, in the earlier date's year

    // The odd days: from the earlier date to the counted-back date.
    int oddDays() const { return countedDayOfYear - fromDayOfYear; }
};

// The month count from `from` to `to`:
//  - months = difference in months between the two dates;
//  - the end day d is `to`'s day, or, when `to` is the last day of its month, the last day of
//    `from`'s month (month end to month end is a whole month);
//  - in February d = 29 or 30 becomes the month's last day;
//  - when d is before `from`'s day one month less is whole, counted back to d in the next month.
// Sets gdCalUnitPeriods = months and the working fields giWorkYear / giWorkMonth / giLeapYear;
// the caller takes gdCalDayGap = oddDays(). Month-end to month-end spans: 01-31 to 02-28 is
// 1 month and 0 days; 01-15 to 02-28 is 1 month and 16 days.
MonthCountResult CountMonths(LoanRecord& record, const CalendarDate& from, const CalendarDate& to);

// Days from `from` to the date `wholeYears` years before `to` (a `to` on a month end counts back
// to the month end). That date lies in `from`'s year or the next one. Sets gdCalDayGap to the
// result. A counted-back date outside those two years, or before `from`, is a broken invariant
// of the caller's year count (run-time error 5).
int YearsBackDayGap(LoanRecord& record, const CalendarDate& from, const CalendarDate& to, int wholeYears);

// The annual count, entered with gdCalUnitPeriods holding the month count of from..to and
// gdCalDayGap its odd days:
//  - a whole number of years: that many unit periods of 365 days, no odd days;
//  - a term under a year: one unit period of the term's actual days (365-day year);
//  - otherwise whole years of 365 days and the odd days from YearsBackDayGap.
// Writes gdCalUnitPeriods, gdCalOddDays, gdDaysinUnitPd, gdCalDayGap and, except for the
// whole-years case, gdDaysinYr = 365.
void CountYearsBack(LoanRecord& record, const CalendarDate& from, const CalendarDate& to);

}  // namespace tallex
