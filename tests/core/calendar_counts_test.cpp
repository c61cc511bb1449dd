// The month count and the annual count: whole periods counted back from the later date, odd
// days left at the front. Expected values are worked by hand from the counting rules.

#include "calendar/MonthCount.h"

#include <gtest/gtest.h>

#include <memory>

namespace tallex {
namespace {

CalendarDate D(int month, int day, int year) { return {year, month, day}; }

TEST(count_months, whole_months_back_from_the_end_date) {
    struct Row {
        CalendarDate from, to;
        int months, oddDays;
    };
    const Row rows[] = {
        {D(1, 15, 2023), D(3, 10, 2023), 1, 26},
        {D(1, 15, 2023), D(2, 28, 2023), 1, 16},  // month end: counted back to 01-31
        {D(1, 31, 2023), D(2, 28, 2023), 1, 0},
        {D(1, 31, 2023), D(3, 30, 2023), 1, 30},   // counted date 02-30 is day 61
        {D(2, 10, 2023), D(4, 29, 2023), 2, 18},   // day 29 in February becomes 28
        {D(11, 15, 2023), D(1, 10, 2024), 1, 25},  // counted month 12
        {D(12, 20, 2023), D(2, 10, 2024), 1, 21},  // counted month 13, the next January
        {D(6, 15, 2023), D(6, 15, 2023), 0, 0},
        {D(2, 28, 2024), D(3, 31, 2024), 1, 1},
        {D(2, 10, 2024), D(4, 29, 2024), 2, 19},
        {D(3, 15, 2020), D(5, 20, 2023), 38, 5},
    };
    auto r = std::make_unique<LoanRecord>();
    for (const Row& row : rows) {
        const MonthCountResult count = CountMonths(*r, row.from, row.to);
        const std::string span = DateText(row.from) + " to " + DateText(row.to);
        EXPECT_EQ(count.months, row.months) << span;
        EXPECT_EQ(count.oddDays(), row.oddDays) << span;
        EXPECT_EQ(r->gdCalUnitPeriods, row.months) << span;
    }
}

TEST(count_years_back, whole_years_and_actual_odd_days) {
    struct Row {
        CalendarDate from, to;
        double periods, oddDays, daysInUnit, daysInYear;
    };
    const double kUnchanged = -1;
    const Row rows[] = {
        {D(3, 15, 2022), D(3, 15, 2024), 2, 0, 365, kUnchanged},
        {D(1, 1, 2023), D(7, 20, 2023), 1, 0, 200, 365},    // under a year: one period of its days
        {D(3, 15, 2020), D(3, 10, 2021), 1, 0, 360, 365},   // across the 2020 leap day
        {D(1, 31, 2021), D(2, 28, 2022), 1, 28, 365, 365},  // month end counts back to 02-28-2021
        {D(12, 25, 2021), D(1, 4, 2024), 2, 10, 365, 365},
        {D(12, 25, 2024), D(1, 4, 2027), 2, 10, 365, 365},  // 12-25-2024 is day 360 of a leap year
        {D(2, 28, 2024), D(2, 28, 2025), 1, 1, 365, 365},   // back to 02-29-2024, a day later
    };
    auto r = std::make_unique<LoanRecord>();
    for (const Row& row : rows) {
        r->gdDaysinYr = kUnchanged;
        r->gdCalDayGap = CountMonths(*r, row.from, row.to).oddDays();
        CountYearsBack(*r, row.from, row.to);
        const std::string span = DateText(row.from) + " to " + DateText(row.to);
        EXPECT_EQ(r->gdCalUnitPeriods, row.periods) << span;
        EXPECT_EQ(r->gdCalOddDays, row.oddDays) << span;
        EXPECT_EQ(r->gdDaysinUnitPd, row.daysInUnit) << span;
        EXPECT_EQ(r->gdDaysinYr, row.daysInYear) << span;
    }
}

}  // namespace
}  // namespace tallex
