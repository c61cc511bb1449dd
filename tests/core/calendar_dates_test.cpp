// Date texts, weekdays, leap years, day-of-year numbers and the whole-month test.

#include "calendar/CalendarDate.h"
#include "calendar/DateCheck.h"
#include "calendar/DayOfYear.h"
#include "calendar/MultipleOfMonth.h"
#include "engine/LoanRecord.h"
#include "engine/RuntimeError.h"

#include <gtest/gtest.h>

#include <memory>

namespace tallex {
namespace {

CalendarDate D(int month, int day, int year) { return {year, month, day}; }

// A date field takes mm-dd-yyyy; "/" is accepted and rewritten; the year has four digits; the
// date must exist.
TEST(check_date, accepts_real_dates_and_normalises_them) {
    struct Row { const char* typed; const char* shown; int year; };
    const Row rows[] = {
        {"01-15-2026", "01-15-2026", 2026}, {"01/15/2026", "01-15-2026", 2026},
        {"1/5/2026", "01-05-2026", 2026},   {" 12-31-1999 ", "12-31-1999", 1999},
        {"02-29-2024", "02-29-2024", 2024}, {"02/29/2000", "02-29-2000", 2000},
        {"12-31-9999", "12-31-9999", 9999},
    };
    auto r = std::make_unique<LoanRecord>();
    for (const Row& row : rows) {
        r->giDateError = 1;
        EXPECT_EQ(CheckDate(*r, row.typed), row.shown) << "typed \"" << row.typed << "\"";
        EXPECT_EQ(r->giDateError, 0) << "typed \"" << row.typed << "\"";
        EXPECT_EQ(r->giWorkYear, row.year) << "typed \"" << row.typed << "\"";
    }
}

TEST(check_date, refuses_what_is_not_a_date_with_a_four_digit_year) {
    const char* rows[] = {
        "01-15-26",   "01/15/26",   "01-15-02026", "02-29-2023", "02-30-2024", "04-31-2026",
        "13-01-2026", "00-10-2026", "01-00-2026",  "01-15-20__", "01.15.2026", "2026-01-15",
        "01-15-2026x", "",          "__-__-____",  "01-15-0099", "1-15--2026", "011-5-2026",
    };
    auto r = std::make_unique<LoanRecord>();
    for (const char* typed : rows) {
        r->giDateError = 0;
        EXPECT_EQ(CheckDate(*r, typed), "__-__-____") << "typed \"" << typed << "\"";
        EXPECT_EQ(r->giDateError, 1) << "typed \"" << typed << "\"";
    }
}

TEST(check_date, a_field_without_digits_is_empty) {
    for (const char* text : {"", "__-__-____", "--", "  /  /    ", "  __-__-____  "})
        EXPECT_TRUE(IsEmptyDateText(text)) << "\"" << text << "\"";
    for (const char* text : {"0_-__-____", "01-15-2026", "x1"}) EXPECT_FALSE(IsEmptyDateText(text)) << "\"" << text << "\"";
}

// Weekdays checked against a perpetual calendar.
TEST(weekday_name, names_the_day_of_the_week) {
    struct Row { const char* date; const char* name; };
    const Row rows[] = {
        {"01-01-2000", "Saturday"}, {"07-04-1776", "Thursday"}, {"09-11-2001", "Tuesday"},
        {"02-29-2024", "Thursday"}, {"12-31-1999", "Friday"},   {"01-15-2026", "Thursday"},
        {"03-01-2100", "Monday"},   {"03-10-2023", "Friday"},   {"01-01-0100", "Friday"},
        {"12-31-9999", "Friday"},   {"01/01/1970", "Thursday"}, {"06-15-2025", "Sunday"},
        {"02-30-2024", ""},         {"__-__-____", ""},
    };
    for (const Row& row : rows) EXPECT_EQ(WeekdayName(std::string_view(row.date)), row.name) << row.date;
}

TEST(set_leap_year, follows_the_gregorian_rule) {
    struct Row { int year; int leap; };
    const Row rows[] = {{1900, 0}, {2000, 1}, {2023, 0}, {2024, 1}, {2100, 0}, {2400, 1}, {1996, 1}};
    auto r = std::make_unique<LoanRecord>();
    for (const Row& row : rows) {
        r->giWorkYear = static_cast<std::int16_t>(row.year);
        SetLeapYear(*r);
        EXPECT_EQ(r->giLeapYear, row.leap) << row.year;
    }
}

// The table's month lengths plus the leap day from March on; month 13 is the January after.
TEST(day_of_year, counts_from_the_first_of_january_of_the_working_year) {
    struct Row { int year, month, day, expected; };
    const Row rows[] = {
        {2023, 1, 15, 15},  {2023, 3, 1, 60},   {2024, 3, 1, 61},  {2024, 2, 29, 60},
        {2024, 12, 31, 366}, {2023, 12, 31, 365}, {2023, 13, 10, 375}, {2024, 13, 10, 376},
        {2023, 2, 30, 61},  {2024, 2, 30, 61},
    };
    auto r = std::make_unique<LoanRecord>();
    for (const Row& row : rows) {
        r->giWorkYear = static_cast<std::int16_t>(row.year);
        r->giWorkMonth = static_cast<std::int16_t>(row.month);
        EXPECT_EQ(DayOfYear(*r, row.day), row.expected) << row.year << "-" << row.month << "-" << row.day;
        EXPECT_EQ(r->giLeapYear, IsLeapYear(row.year) ? 1 : 0);
    }
    r->giWorkMonth = 14;
    EXPECT_THROW(DayOfYear(*r, 1), RuntimeError);
}

TEST(day_serial, counts_calendar_days) {
    EXPECT_EQ(DaySerial(D(1, 1, 1970)), 0);
    EXPECT_EQ(DaysBetween(D(1, 15, 2026), D(3, 10, 2026)), 54);
    EXPECT_EQ(DaysBetween(D(1, 1, 2020), D(12, 31, 2025)), 2191);
    EXPECT_EQ(DaysBetween(D(1, 1, 1020), D(12, 31, 4025)), 1097919);
    EXPECT_EQ(DaysBetween(D(3, 10, 2026), D(1, 15, 2026)), -54);
}

// Same day of the month, or month end to month end.
TEST(multiple_of_month, same_day_or_both_month_ends) {
    struct Row { CalendarDate from, to; bool expected; };
    const Row rows[] = {
        {D(1, 30, 2026), D(4, 30, 2026), false},  // end date on a month end, 01-30 is not
        {D(1, 31, 2026), D(4, 30, 2026), true},
        {D(2, 29, 2024), D(3, 31, 2024), true},
        {D(1, 15, 2026), D(3, 15, 2026), true},
        {D(2, 28, 2023), D(3, 31, 2023), true},   // 02-28 ends February of a common year
        {D(2, 28, 2024), D(3, 31, 2024), false},  // ... but not of a leap year
        {D(1, 31, 2026), D(3, 15, 2026), false},
        {D(1, 31, 2026), D(2, 28, 2026), true},
        {D(1, 28, 2026), D(2, 28, 2026), false},  // 02-28 is a month end, 01-28 is not
        {D(3, 31, 2026), D(6, 30, 2027), true},
    };
    for (const Row& row : rows)
        EXPECT_EQ(MultipleOfMonth(row.from, row.to), row.expected)
            << DateText(row.from) << " to " << DateText(row.to);
}

}  // namespace
}  // namespace tallex
