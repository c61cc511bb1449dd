#pragma once
// What the two date calculator sessions share: how a date field is read when the user leaves
// it, how a message reaches the user, and the close stamp.

#include "calendar/CalendarDate.h"
#include "engine/LoanRecord.h"
#include "ui/Clock.h"
#include "ui/UserSeam.h"

#include <optional>
#include <string>
#include <string_view>

namespace tallex {

// A date field after the user left it.
struct LeftDateField {
    bool empty = false;                 // nothing typed: not checked, no message
    std::optional<CalendarDate> date;   // set when the text is a date
    std::string shown;                  // what the field shows now: the date as "mm-dd-yyyy" or the empty mask
};

// Reads the text through CheckDate (giDateError, giWorkYear) unless it is empty.
LeftDateField ReadLeftDateField(LoanRecord& record, std::string_view text);

// Shows a message through the user seam, keeping the message scratch of the record
// (gsMsgText, giMsgStyle, giMsgResult) as every page does.
short ShowCalendarMessage(LoanRecord& record, UserSeam& user, std::string_view text, short style);

// gsCalendarStamp at close: the clock's reading in milliseconds. The page that opened the
// calendar only compares it with later readings.
std::string CalendarStamp(const Clock& clock);

// Days between two dates as the calculators' "Actual Days Between" label shows them.
std::string ActualDaysLabel(const CalendarDate& from, const CalendarDate& to);

}  // namespace tallex
