#include "calendar/DayOfYear.h"

#include "calendar/CalendarDate.h"
#include "engine/RuntimeError.h"

namespace tallex {

void SetLeapYear(LoanRecord& record) { record.giLeapYear = IsLeapYear(record.giWorkYear) ? 1 : 0; }

int DayOfYear(LoanRecord& record, int day) {
    SetLeapYear(record);
    const int month = record.giWorkMonth;
    if (month < 1 || month > 13) Raise(RuntimeErrorCode::SubscriptOutOfRange);
    int number = day;
    for (int m = 1; m < month; ++m) number += kMonthLengthTable[static_cast<std::size_t>(m)];
    if (month >= 3 && record.giLeapYear == 1) number += 1;
    return number;
}

}  // namespace tallex
