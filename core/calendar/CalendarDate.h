#pragma once
// Calendar dates as the date fields hold them: the text "mm-dd-yyyy", read month, day, year, on
// the Gregorian calendar. The day counts here are exact calendar arithmetic; the counting rules
// of Appendix J (whole months, odd days) build on them elsewhere in this folder.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tallex {

struct CalendarDate {
    int year = 0;
    int month = 0;  // 1..12
    int day = 0;    // 1..31

    friend bool operator==(const CalendarDate&, const CalendarDate&) = default;
};

// What an empty date field shows.
inline constexpr std::string_view kEmptyDateMask = "__-__-____";

// Years a date field accepts: four digits and inside the range every date text of the program
// can be printed in.
inline constexpr int kFirstDateYear = 100;
inline constexpr int kLastDateYear = 9999;

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);
bool IsLastDayOfMonth(const CalendarDate& date);

// Days from 1 January 1970 to the date (negative before it).
std::int64_t DaySerial(const CalendarDate& date);

// Calendar days from `from` to `to`; negative when `to` is earlier.
std::int64_t DaysBetween(const CalendarDate& from, const CalendarDate& to);

// True when the text holds no digit: blanks, mask place-holders "_" and separators only.
// Such a field counts as empty, not as a wrong date.
bool IsEmptyDateText(std::string_view text);

// Reads "m-d-yyyy" or "m/d/yyyy" (month and day of one or two digits, surrounding blanks
// ignored). The year must have exactly four digits and lie in kFirstDateYear..kLastDateYear,
// and the date must exist. Anything else is nullopt.
std::optional<CalendarDate> ParseDateText(std::string_view text);

// "mm-dd-yyyy".
std::string DateText(const CalendarDate& date);

// "Sunday" .. "Saturday".
std::string WeekdayName(const CalendarDate& date);
// The weekday of a date text; "" when the text is not a date.
std::string WeekdayName(std::string_view dateText);

}  // namespace tallex
