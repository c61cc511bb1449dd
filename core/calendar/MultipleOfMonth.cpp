#include "calendar/MultipleOfMonth.h"

namespace tallex {

bool MultipleOfMonth(const CalendarDate& from, const CalendarDate& to) {
    if (IsLastDayOfMonth(to)) return IsLastDayOfMonth(from);
    return from.day == to.day;
}

}  // namespace tallex
