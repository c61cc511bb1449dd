// Date texts, weekdays, day-of-year numbers and the whole-month test.
// Weekdays and day counts were checked against a perpetual calendar.

#include "calendar/CalendarDate.h"
#include "calendar/DateCheck.h"
#include "calendar/DayOfYear.h"
#include "calendar/MultipleOfMonth.h"
#include "engine/RuntimeError.h"

#include <gtest/gtest.h>

#include <memory>

namespace tallex {
namespace {

CalendarDate D(int month, int day, int year) { return {year, month, day}; }

TEST(check_date, accepts_real_dates_with_four_digit_years_and_rewrites_slashes) {
    struct Row {
        const char* typed;
        const char* shown;
        int year;
    };
    const Row valid[] = {{"01-15-2026", "01-15-2026", 2026}, {"01/15/2026", "01-15-2026", 2026},
                         {"1/5/2026", "01-05-2026", 2026},   {" 12-31-1999 ", "12-31-1999", 1999},
                         {"02-29-2024", "02-29-2024", 2024}, {"12-31-9999", "12-31-9999", 9999}};
    const char* invalid[] = {"01-15-26",    "01/15/26",   "01-15-02026", "02-29-2023", "02-30-2024", "04-31-2026",
                             "13-01-2026",  "00-10-2026", "01-00-2026",  "01-15-20__", "01.15.2026", "2026-01-15",
                             "01-15-2026x", "",           "01-15-0099",  "1-15--2026", "011-5-2026"};
    auto r = std::make_unique<LoanRecord>();
    for (const Row& row : valid) {
        r->giDateError = 1;
        EXPECT_EQ(CheckDate(*r, row.typed), row.shown) << "typed \"" << row.typed << "\"";
        EXPECT_EQ(r->giDateError, 0) << "typed \"" << row.typed << "\"";
        EXPECT_EQ(r->giWorkYear, row.year) << "typed \"" << row.typed << "\"";
    }
    for (const char* typed : invalid) {
        r->giDateError = 0;
        EXPECT_EQ(CheckDate(*r, typed), "__-__-____") << "typed \"" << typed << "\"";
        EXPECT_EQ(r->giDateError, 1) << "typed \"" << typed << "\"";
    }
    for (const char* text : {"", "__-__-____", "--", "  /  /    "}) EXPECT_TRUE(IsEmptyDateText(text)) << text;
    EXPECT_FALSE(IsEmptyDateText("0_-__-____"));
}

TEST(weekday_name, names_the_day_of_the_week) {
    struct Row {
        const char* date;
        const char* name;
    };
    const Row rows[] = {{"01-01-2000", "Saturday"}, {"07-04-1776", "Thursday"}, {"02-29-2024", "Thursday"},
                        {"12-31-1999", "Friday"},   {"03-01-2100", "Monday"},   {"01-01-0100", "Friday"},
                        {"12-31-9999", "Friday"},   {"01/01/1970", "Thursday"}, {"06-15-2025", "Sunday"},
                        {"09-11-2001", "Tuesday"},  {"03-10-2023", "Friday"},   {"02-30-2024", ""}};
    for (const Row& row : rows) EXPECT_EQ(WeekdayName(std::string_view(row.date)), row.name) << row.date;
    EXPECT_EQ(DaysBetween(D(1, 1, 2020), D(12, 31, 2025)), 2191);
    EXPECT_EQ(DaysBetween(D(3, 10, 2026), D(1, 15, 2026)), -54);
}

// The table's month lengths plus the leap day from March on; month 13 is the January after.
TEST(day_of_year, counts_from_the_first_of_january_of_the_working_year) {
    struct Row {
        int year, month, day, expected, leap;
    };
    const Row rows[] = {{2023, 1, 15, 15, 0},   {2023, 3, 1, 60, 0},    {2024, 3, 1, 61, 1},
                        {2024, 12, 31, 366, 1}, {2023, 13, 10, 375, 0}, {2024, 13, 10, 376, 1},
                        {2023, 2, 30, 61, 0},   {1900, 3, 1, 60, 0},    {2000, 3, 1, 61, 1}};
    auto r = std::make_unique<LoanRecord>();
    for (const Row& row : rows) {
        r->giWorkYear = static_cast<std::int16_t>(row.year);
        r->giWorkMonth = static_cast<std::int16_t>(row.month);
        EXPECT_EQ(DayOfYear(*r, row.day), row.expected) << row.year << "-" << row.month << "-" << row.day;
        EXPECT_EQ(r->giLeapYear, row.leap) << row.year;
    }
    r->giWorkMonth = 14;
    EXPECT_THROW(DayOfYear(*r, 1), RuntimeError);
}

TEST(multiple_of_month, same_day_or_both_month_ends) {
    struct Row {
        CalendarDate from, to;
        bool expected;
    };
    const Row rows[] = {
        {D(1, 30, 2026), D(4, 30, 2026), false}, {D(1, 31, 2026), D(4, 30, 2026), true},
        {D(2, 29, 2024), D(3, 31, 2024), true},  {D(1, 15, 2026), D(3, 15, 2026), true},
        {D(2, 28, 2023), D(3, 31, 2023), true},  {D(2, 28, 2024), D(3, 31, 2024), false},
        {D(1, 31, 2026), D(3, 15, 2026), false}, {D(1, 28, 2026), D(2, 28, 2026), false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(MultipleOfMonth(row.from, row.to), row.expected) << DateText(row.from) << " to " << DateText(row.to);
}

}  // namespace
}  // namespace tallex
