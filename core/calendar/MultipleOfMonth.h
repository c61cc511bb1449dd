#pragma once
// Whether a span is a whole number of months: both dates on the same day of the month, or the
// later date on a month end and the earlier one on a month end too (01-31 to 04-30 is whole,
// 01-30 to 04-30 is not). February has 29 days in a leap year.

#include "calendar/CalendarDate.h"

namespace tallex {

bool MultipleOfMonth(const CalendarDate& from, const CalendarDate& to);

}  // namespace tallex
