// The month count and the annual count: whole periods counted back from the later date, odd
// days left at the front. Expected values are worked by hand from the counting rules.

#include "calendar/MonthCount.h"
#include "engine/LoanRecord.h"

#include <gtest/gtest.h>

#include <memory>

namespace tallex {
namespace {

CalendarDate D(int month, int day, int year) { return {year, month, day}; }

TEST(count_months, whole_months_back_from_the_end_date) {
    struct Row { CalendarDate from, to; int months, oddDays, countedMonth; };
    const Row rows[] = {
        {D(1, 15, 2023), D(3, 10, 2023), 1, 26, 2},
        {D(1, 15, 2023), D(2, 28, 2023), 1, 16, 1},   // month end: counted back to 01-31
        {D(1, 31, 2023), D(2, 28, 2023), 1, 0, 1},
        {D(1, 31, 2023), D(3, 30, 2023), 1, 30, 2},   // counted date 02-30 is day 61
        {D(2, 10, 2023), D(4, 29, 2023), 2, 18, 2},   // day 29 in February becomes 28
        {D(11, 15, 2023), D(1, 10, 2024), 1, 25, 12},
        {D(12, 20, 2023), D(2, 10, 2024), 1, 21, 13}, // counted date 01-10 of the next year
        {D(6, 15, 2023), D(6, 15, 2023), 0, 0, 6},
        {D(2, 29, 2024), D(3, 31, 2024), 1, 0, 2},
        {D(2, 28, 2024), D(3, 31, 2024), 1, 1, 2},    // 02-28 is not February's end in 2024
        {D(2, 10, 2024), D(4, 29, 2024), 2, 19, 2},
        {D(3, 15, 2020), D(5, 20, 2023), 38, 5, 3},
    };
    auto r = std::make_unique<LoanRecord>();
    for (const Row& row : rows) {
        const MonthCountResult count = CountMonths(*r, row.from, row.to);
        const std::string span = DateText(row.from) + " to " + DateText(row.to);
        EXPECT_EQ(count.months, row.months) << span;
        EXPECT_EQ(count.oddDays(), row.oddDays) << span;
        EXPECT_EQ(count.countedMonth, row.countedMonth) << span;
        EXPECT_EQ(r->gdCalUnitPeriods, row.months) << span;
    }
}

// Annual count entered with the month count's months and odd days, as every caller does.
void RunAnnualCount(LoanRecord& r, const CalendarDate& from, const CalendarDate& to) {
    const MonthCountResult count = CountMonths(r, from, to);
    r.gdCalDayGap = count.oddDays();
    CountYearsBack(r, from, to);
}

TEST(count_years_back, whole_years_and_actual_odd_days) {
    struct Row { CalendarDate from, to; double periods, oddDays, daysInUnit, daysInYear; };
    const double kUnchanged = -1;  // the days in the year are left as they were
    const Row rows[] = {
        {D(3, 15, 2022), D(3, 15, 2024), 2, 0, 365, kUnchanged},
        {D(1, 1, 2023), D(7, 20, 2023), 1, 0, 200, 365},    // under a year: one period of its days
        {D(3, 15, 2020), D(3, 10, 2021), 1, 0, 360, 365},   // across the 2020 leap day
        {D(1, 31, 2021), D(2, 28, 2022), 1, 28, 365, 365},  // month end counts back to 02-28-2021
        {D(12, 25, 2021), D(1, 4, 2024), 2, 10, 365, 365},
        {D(12, 25, 2023), D(1, 4, 2026), 2, 10, 365, 365},
        {D(12, 25, 2024), D(1, 4, 2027), 2, 10, 365, 365},  // 12-25-2024 is day 360 of a leap year
        {D(3, 31, 2020), D(3, 30, 2021), 1, 0, 364, 365},
        {D(2, 28, 2024), D(2, 28, 2025), 1, 1, 365, 365},   // back to 02-29-2024, a day later
    };
    auto r = std::make_unique<LoanRecord>();
    for (const Row& row : rows) {
        r->gdDaysinYr = kUnchanged;
        RunAnnualCount(*r, row.from, row.to);
        const std::string span = DateText(row.from) + " to " + DateText(row.to);
        EXPECT_EQ(r->gdCalUnitPeriods, row.periods) << span;
        EXPECT_EQ(r->gdCalOddDays, row.oddDays) << span;
        EXPECT_EQ(r->gdDaysinUnitPd, row.daysInUnit) << span;
        EXPECT_EQ(r->gdDaysinYr, row.daysInYear) << span;
    }
}

TEST(years_back_day_gap, days_to_the_date_whole_years_before_the_end) {
    auto r = std::make_unique<LoanRecord>();
    EXPECT_EQ(YearsBackDayGap(*r, D(7, 1, 2023), D(8, 15, 2025), 2), 45);
    EXPECT_EQ(r->gdCalDayGap, 45);
    EXPECT_EQ(YearsBackDayGap(*r, D(7, 20, 2023), D(1, 15, 2025), 1), 179);
    EXPECT_EQ(YearsBackDayGap(*r, D(7, 1, 2023), D(4, 1, 2024), 0), 275);
}

}  // namespace
}  // namespace tallex
