#pragma once
// The day-of-year numbering that the month and year counts measure odd days with. It works on
// the record's working fields giWorkYear / giWorkMonth / giLeapYear, because the counts step
// through dates that need not exist (the 30th of February, the 13th month).

#include "engine/LoanRecord.h"

#include <array>

namespace tallex {

// Days of months 1..12 with February always 28; the leap day is added by the rules.
inline constexpr std::array<int, 13> kMonthLengthTable{0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// giLeapYear = 1 when giWorkYear is a Gregorian leap year, else 0.
void SetLeapYear(LoanRecord& record);

// Day number of (giWorkYear, giWorkMonth, day) counted from 1 January of giWorkYear: the
// table's days of the months before giWorkMonth, plus day, plus the leap day from March on.
// giWorkMonth may be 13, the January after the year. Sets giLeapYear first.
// A giWorkMonth outside 1..13 is a broken invariant (run-time error 9).
int DayOfYear(LoanRecord& record, int day);

}  // namespace tallex
