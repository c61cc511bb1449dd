#include "calendar/DateCalculatorSession.h"

#include "calendar/DateCheck.h"
#include "engine/Format.h"

#include <chrono>

namespace tallex {

LeftDateField ReadLeftDateField(LoanRecord& record, std::string_view text) {
    LeftDateField field;
    if (IsEmptyDateText(text)) {
        field.empty = true;
        field.shown = std::string(kEmptyDateMask);
        return field;
    }
    field.shown = CheckDate(record, text);
    if (record.giDateError == 0) field.date = ParseDateText(field.shown);
    return field;
}

short ShowCalendarMessage(LoanRecord& record, UserSeam& user, std::string_view text, short style) {
    record.gsMsgText = std::string(text);
    record.giMsgStyle = style;
    record.giMsgResult = user.show(record.gsMsgText, style);
    return record.giMsgResult;
}

std::string CalendarStamp(const Clock& clock) {
    const auto since = clock.now().time_since_epoch();
    return std::to_string(std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

std::string ActualDaysLabel(const CalendarDate& from, const CalendarDate& to) {
    return Format(static_cast<double>(DaysBetween(from, to)), "###,###,##0");
}

}  // namespace tallex
