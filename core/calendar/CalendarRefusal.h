#pragma once
// The reasons a calendar refuses a pair (or trio) of dates at OK, and the message each shows.

#include <string_view>

namespace tallex {

enum class CalendarRefusal {
    kNone,
    // Annual unit periods: the loan's day basis is fixed by its first annual stream with an
    // odd period; a later stream on the other basis is refused.
    kSwitchToEvenMonths,
    kSwitchToActualDays,
    // Equal months, single payment: the term has odd days.
    kTermNotMultipleOfMonth,
    // Actual days, single payment: the term is whole months but not whole years.
    kEqualMonthsTerm,
    // Construction phase accruing in whole months is not a whole number of months.
    kConstructionNotMultipleOfMonth,
    // Construction date calculator, equal months: half the construction term plus the
    // permanent phase is not whole months, or the construction phase is not.
    kHalfTermNotEqualMonths,
    kHalfTermConstructionNotMonths,
    // Construction date calculator, actual days: the span is whole months but not whole years.
    kHalfTermEqualMonths,
};

// The message text, exactly as shown; "" for kNone.
std::string_view RefusalMessage(CalendarRefusal refusal);

}  // namespace tallex
