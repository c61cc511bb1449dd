#include "calendar/MonthCount.h"

#include "calendar/DayOfYear.h"
#include "engine/RuntimeError.h"

#include <cmath>

namespace tallex {

MonthCountResult CountMonths(LoanRecord& record, const CalendarDate& from, const CalendarDate& to) {
    MonthCountResult result;
    result.months = (to.year - from.year) * 12 + (to.month - from.month);

    int day = to.day;
    if (IsLastDayOfMonth(to)) day = DaysInMonth(from.year, from.month);
    if (from.month == 2 && (day == 29 || day == 30)) day = DaysInMonth(from.year, 2);

    result.countedMonth = from.month;
    if (day < from.day) {
        result.countedMonth = from.month + 1;
        result.months -= 1;
    }
    result.countedDay = day;
    record.gdCalUnitPeriods = result.months;

    record.giWorkYear = static_cast<std::int16_t>(from.year);
    record.giWorkMonth = static_cast<std::int16_t>(from.month);
    result.fromDayOfYear = DayOfYear(record, from.day);
    record.giWorkYear = static_cast<std::int16_t>(from.year);
    record.giWorkMonth = static_cast<std::int16_t>(result.countedMonth);
    result.countedDayOfYear = DayOfYear(record, day);
    return result;
}

int YearsBackDayGap(LoanRecord& record, const CalendarDate& from, const CalendarDate& to, int wholeYears) {
    const int countedYear = to.year - wholeYears;
    record.giWorkYear = static_cast<std::int16_t>(countedYear);
    SetLeapYear(record);
    // An end date on a month end counts back to the month end of the counted year.
    const int day = IsLastDayOfMonth(to) ? DaysInMonth(countedYear, to.month) : to.day;
    record.giWorkMonth = static_cast<std::int16_t>(to.month);
    const int countedDayOfYear = DayOfYear(record, day);

    record.giWorkYear = static_cast<std::int16_t>(from.year);
    record.giWorkMonth = static_cast<std::int16_t>(from.month);
    const int fromDayOfYear = DayOfYear(record, from.day);

    int gap = 0;
    if (countedYear == from.year)
        gap = countedDayOfYear - fromDayOfYear;
    else if (countedYear == from.year + 1)
        gap = countedDayOfYear + 365 - fromDayOfYear + (IsLeapYear(from.year) ? 1 : 0);
    else
        Raise(RuntimeErrorCode::InvalidCall);
    if (gap < 0) Raise(RuntimeErrorCode::InvalidCall);
    record.gdCalDayGap = gap;
    return gap;
}

void CountYearsBack(LoanRecord& record, const CalendarDate& from, const CalendarDate& to) {
    const double months = record.gdCalUnitPeriods;
    const double wholeYears = std::floor(months / 12);
    record.gdDaysinUnitPd = months / 12;
    record.gdCalUnitPeriods = wholeYears;
    if (record.gdCalDayGap == 0 && months / 12 == wholeYears) {
        record.gdCalOddDays = 0;
        record.gdDaysinUnitPd = 365;
        return;
    }
    const int gap = YearsBackDayGap(record, from, to, static_cast<int>(wholeYears));
    if (wholeYears == 0) {
        record.gdCalUnitPeriods = 1;
        record.gdDaysinUnitPd = gap;
        record.gdCalOddDays = 0;
    } else {
        record.gdCalOddDays = gap;
        record.gdDaysinUnitPd = 365;
    }
    record.gdDaysinYr = 365;
}

}  // namespace tallex
