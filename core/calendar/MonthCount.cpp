#include "calendar/MonthCount.h"

#include "calendar/DayOfYear.h"
#include "engine/RuntimeError.h"

#include <cmath>

namespace tallex {

namespace {

int LastDayInTable(int month, bool leap) {
    return kMonthLengthTable[static_cast<std::size_t>(month)] + (month == 2 && leap ? 1 : 0);
}

}  // namespace

MonthCountResult CountMonths(LoanRecord& record, const CalendarDate& from, const CalendarDate& to) {
    const bool leapFrom = IsLeapYear(from.year);
    const bool leapTo = IsLeapYear(to.year);
    MonthCountResult result;
    result.months = (to.year - from.year) * 12 + (to.month - from.month);

    int day = to.day;
    if (to.day >= LastDayInTable(to.month, leapTo)) day = LastDayInTable(from.month, leapFrom);
    if (from.month == 2 && (day == 29 || day == 30)) day = 28 + (leapFrom ? 1 : 0);

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
    int day = to.day;
    if (to.day >= LastDayInTable(to.month, IsLeapYear(to.year)))
        day = LastDayInTable(to.month, record.giLeapYear == 1);
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
