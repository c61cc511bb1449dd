#include "calendar/CalendarDate.h"

#include <array>
#include <cctype>
#include <cstdio>

namespace tallex {

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
    static constexpr std::array<int, 13> kDays{0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month == 2 && IsLeapYear(year)) return 29;
    return kDays.at(static_cast<std::size_t>(month));
}

bool IsLastDayOfMonth(const CalendarDate& date) { return date.day == DaysInMonth(date.year, date.month); }

std::int64_t DaySerial(const CalendarDate& date) {
    // Civil-from-days inverse over 400-year eras (March-based years put the leap day last).
    const std::int64_t y = date.year - (date.month <= 2 ? 1 : 0);
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yearOfEra = y - era * 400;
    const std::int64_t monthFromMarch = (date.month + 9) % 12;
    const std::int64_t dayOfYear = (153 * monthFromMarch + 2) / 5 + date.day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

std::int64_t DaysBetween(const CalendarDate& from, const CalendarDate& to) { return DaySerial(to) - DaySerial(from); }

bool IsEmptyDateText(std::string_view text) {
    for (char c : text)
        if (std::isdigit(static_cast<unsigned char>(c))) return false;
    return true;
}

namespace {

// Reads one run of digits of length minDigits..maxDigits starting at pos.
std::optional<int> ReadDigits(std::string_view text, std::size_t& pos, std::size_t minDigits, std::size_t maxDigits) {
    std::size_t start = pos;
    int value = 0;
    while (pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos])) && pos - start < maxDigits) {
        value = value * 10 + (text[pos] - '0');
        ++pos;
    }
    const std::size_t count = pos - start;
    if (count < minDigits) return std::nullopt;
    return value;
}

bool IsSeparator(char c) { return c == '-' || c == '/'; }

std::string_view Trim(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
    return text;
}

}  // namespace

std::optional<CalendarDate> ParseDateText(std::string_view text) {
    text = Trim(text);
    std::size_t pos = 0;
    const auto month = ReadDigits(text, pos, 1, 2);
    if (!month || pos >= text.size() || !IsSeparator(text[pos++])) return std::nullopt;
    const auto day = ReadDigits(text, pos, 1, 2);
    if (!day || pos >= text.size() || !IsSeparator(text[pos++])) return std::nullopt;
    // Exactly four digits: a fifth one is left unread and refuses the text below.
    const auto year = ReadDigits(text, pos, 4, 4);
    if (!year || pos != text.size()) return std::nullopt;
    if (*year < kFirstDateYear || *year > kLastDateYear) return std::nullopt;
    if (*month < 1 || *month > 12) return std::nullopt;
    if (*day < 1 || *day > DaysInMonth(*year, *month)) return std::nullopt;
    return CalendarDate{*year, *month, *day};
}

std::string DateText(const CalendarDate& date) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02d-%02d-%04d", date.month, date.day, date.year);
    return buffer;
}

std::string WeekdayName(const CalendarDate& date) {
    static constexpr std::array<const char*, 7> kNames{"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                       "Thursday", "Friday", "Saturday"};
    // 1 January 1970 was a Thursday.
    const std::int64_t serial = DaySerial(date);
    const std::int64_t weekday = ((serial % 7) + 7 + 4) % 7;
    return kNames[static_cast<std::size_t>(weekday)];
}

std::string WeekdayName(std::string_view dateText) {
    const auto date = ParseDateText(dateText);
    return date ? WeekdayName(*date) : std::string();
}

}  // namespace tallex
