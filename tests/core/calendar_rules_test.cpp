// The calendar's rules, worked by hand from the counting rules: date texts, weekdays, day-of-year
// numbers and the whole-month test (weekdays and day counts checked against a perpetual
// calendar); the month count and the annual count (whole periods counted back from the later
// date, odd days left at the front); the per-frequency rules of the payment date calculator and
// the construction-phase rules; the construction date calculator's measure, half the
// construction term plus the permanent phase.

#include "calendar/CalendarDate.h"
#include "calendar/DateCheck.h"
#include "calendar/DayOfYear.h"
#include "calendar/FrequencyRules.h"
#include "calendar/MonthCount.h"
#include "calendar/MultipleOfMonth.h"
#include "construction/ConstructionPhaseRules.h"
#include "construction/ConstructionSpanRules.h"
#include "engine/RuntimeError.h"

#include "TestLoans.h"

#include <gtest/gtest.h>

#include <memory>
#include <tuple>
#include <utility>

namespace tallex {
namespace {

CalendarDate D(int month, int day, int year) { return {year, month, day}; }

struct Basis {
    double unit, year, months;
    std::int16_t dayBasis;
    auto Tie() const { return std::tie(unit, year, months, dayBasis); }
};
// Unit periods, odd days, days in the unit period and in the year.
using Result = std::tuple<double, double, double, double>;

Result Timing(const LoanRecord& r) { return {r.gdCalUnitPeriods, r.gdCalOddDays, r.gdDaysinUnitPd, r.gdDaysinYr}; }
auto BasisOf(const LoanRecord& r) { return std::tie(r.gdDaysinUnitPd, r.gdDaysinYr, r.dMonths, r.giDayBasis); }

TEST(check_date, accepts_real_dates_with_four_digit_years_and_rewrites_slashes) {
    struct Row {
        const char *typed, *shown;
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
        const std::string shown = CheckDate(*r, row.typed);
        EXPECT_EQ(std::tuple(shown, r->giDateError, r->giWorkYear), std::tuple(row.shown, 0, row.year)) << row.typed;
    }
    for (const char* typed : invalid) {
        r->giDateError = 0;
        const std::string shown = CheckDate(*r, typed);
        EXPECT_EQ(std::tuple(shown, r->giDateError), std::tuple("__-__-____", 1)) << "typed \"" << typed << "\"";
    }
    for (const char* text : {"", "__-__-____", "--", "  /  /    "}) EXPECT_TRUE(IsEmptyDateText(text)) << text;
    EXPECT_FALSE(IsEmptyDateText("0_-__-____"));
}

TEST(weekday_name, names_the_day_of_the_week) {
    struct Row {
        const char *date, *name;
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
    };
    auto r = std::make_unique<LoanRecord>();
    for (const Row& row : rows) {
        const MonthCountResult count = CountMonths(*r, row.from, row.to);
        EXPECT_EQ(std::tuple(count.months, count.oddDays(), r->gdCalUnitPeriods),
                  std::tuple(row.months, row.oddDays, double(row.months)))
            << DateText(row.from) << " to " << DateText(row.to);
    }
}

TEST(count_years_back, whole_years_and_actual_odd_days) {
    struct Row {
        CalendarDate from, to;
        Result out;
    };
    const double kUnchanged = -1;
    const Row rows[] = {
        {D(3, 15, 2022), D(3, 15, 2024), {2, 0, 365, kUnchanged}},
        {D(1, 1, 2023), D(7, 20, 2023), {1, 0, 200, 365}},    // under a year: one period of its days
        {D(3, 15, 2020), D(3, 10, 2021), {1, 0, 360, 365}},   // across the 2020 leap day
        {D(1, 31, 2021), D(2, 28, 2022), {1, 28, 365, 365}},  // month end counts back to 02-28-2021
        {D(12, 25, 2021), D(1, 4, 2024), {2, 10, 365, 365}},
        {D(12, 25, 2024), D(1, 4, 2027), {2, 10, 365, 365}},  // 12-25-2024 is day 360 of a leap year
        {D(2, 28, 2024), D(2, 28, 2025), {1, 1, 365, 365}},   // back to 02-29-2024, a day later
    };
    auto r = std::make_unique<LoanRecord>();
    for (const Row& row : rows) {
        r->gdDaysinYr = kUnchanged;
        r->gdCalDayGap = CountMonths(*r, row.from, row.to).oddDays();
        CountYearsBack(*r, row.from, row.to);
        const std::string span = DateText(row.from) + " to " + DateText(row.to);
        EXPECT_EQ(Timing(*r), row.out) << span;
    }
}

std::unique_ptr<LoanRecord> Loan(std::int16_t code, const Basis& b, bool construction = false) {
    auto r = std::make_unique<LoanRecord>();
    r->gbAppendixJ = !construction;
    r->gbConstruction = construction;
    r->giPymtFreq = code;
    r->gdDaysinUnitPd = b.unit;
    r->gdDaysinYr = b.year;
    r->dMonths = b.months;
    r->giDayBasis = b.dayBasis;
    return r;
}

struct Dates {
    CalendarDate loan, end, amort;
};

// A refusal leaves the loan's basis (days in unit period and year, months, day basis) as it was;
// otherwise the rule leaves its timing and day basis.
void ExpectOutcome(const LoanRecord& r, CalendarRefusal got, CalendarRefusal refusal, const Basis& in,
                   const Result& out, std::int16_t dayBasis, const std::string& what) {
    EXPECT_EQ(got, refusal) << what;
    if (refusal != CalendarRefusal::kNone) {
        EXPECT_EQ(BasisOf(r), in.Tie()) << what;
    } else {
        EXPECT_EQ(std::tuple_cat(Timing(r), std::tuple(r.giDayBasis)), std::tuple_cat(out, std::tuple(dayBasis)))
            << what;
    }
}

std::string Describe(std::int16_t code, const CalendarDate& from, const CalendarDate& to) {
    return "code " + std::to_string(code) + ", " + DateText(from) + " to " + DateText(to);
}

std::string Describe(std::int16_t code, const Dates& d) {
    return Describe(code, d.loan, d.end) + " / " + DateText(d.amort);
}

TEST(frequency_rules, unit_periods_and_odd_days_or_a_refusal) {
    using enum CalendarRefusal;
    const Basis monthly{30, 360, 0, 0}, semi{15, 360, 0, 0}, quarterly{90, 360, 3, 0}, annual{360, 360, 12, 0},
        single{30, 360, 1, 0}, days{100, 365, 0, 0}, onActualDays{365, 365, 12, kDayBasisActualDays},
        even{360, 360, 12, kDayBasisEvenMonths}, actual{365, 365, 12, kDayBasisActualDays};
    struct Row {
        std::int16_t code;
        Basis in;
        CalendarDate from, to;
        Result out;
        std::int16_t dayBasis;
        CalendarRefusal refusal = kNone;
    };
    const Row rows[] = {
        {kFreqMonthly, monthly, D(1, 15, 2023), D(3, 10, 2023), {1, 26, 30, 360}, 0},
        {kFreqSemiMonthly, semi, D(1, 15, 2023), D(3, 10, 2023), {3, 11, 15, 360}, 0},  // 26 days: 1 half month + 11
        {kFreqSemiMonthly, semi, D(1, 1, 2023), D(1, 31, 2023), {2, 0, 15, 360}, 0},
        {kFreqMultiplesOfMonth, quarterly, D(1, 15, 2023), D(8, 20, 2023), {2, 35, 90, 360}, 0},
        // Actual days (as the calculator measured them): 100 days are 14 weeks and 2 days.
        {kFreqActualDaysInstallment, {7, 365, 0, 0}, D(1, 1, 2023), D(4, 11, 2023), {14, 2, 7, 365}, 0},
        {kFreqActualDaysInstallment, {91, 365, 0, 0}, D(1, 1, 2023), D(4, 2, 2023), {1, 0, 91, 365}, 0},
        // Annual unit periods (equal months of 12).
        {kFreqMultiplesOfMonth, annual, D(3, 15, 2020), D(3, 15, 2023), {3, 0, 360, 360}, 0},
        {kFreqMultiplesOfMonth, annual, D(3, 15, 2020), D(5, 15, 2023), {3, 60, 360, 360}, kDayBasisEvenMonths},
        {kFreqMultiplesOfMonth, annual, D(3, 15, 2020), D(5, 20, 2023), {3, 66, 365, 365}, kDayBasisActualDays},
        {kFreqMultiplesOfMonth, onActualDays, D(3, 15, 2020), D(3, 15, 2022), {2, 0, 365, 365}, kDayBasisActualDays},
        // Equal months, single payment: 18, 11 and 30 months.
        {kFreqEqualMonthsSingle, single, D(1, 15, 2023), D(7, 15, 2024), {1, 180, 360, 360}, 0},
        {kFreqEqualMonthsSingle, single, D(1, 15, 2023), D(12, 15, 2023), {1, 0, 330, 360}, 0},
        {kFreqEqualMonthsSingle, single, D(1, 15, 2023), D(7, 15, 2025), {2, 180, 360, 360}, 0},
        // Actual days, single payment: 200 days, 2 years, a year and 45 days.
        {kFreqActualDaysSingle, days, D(1, 1, 2023), D(7, 20, 2023), {1, 0, 200, 365}, 0},
        {kFreqActualDaysSingle, days, D(1, 1, 2023), D(1, 1, 2025), {2, 0, 365, 365}, 0},
        {kFreqActualDaysSingle, days, D(1, 1, 2023), D(2, 15, 2024), {1, 45, 365, 365}, 0},
        // Other codes compute nothing.
        {0, monthly, D(1, 15, 2023), D(3, 10, 2023), {0, 0, 30, 360}, 0},
        {7, monthly, D(1, 15, 2023), D(3, 10, 2023), {0, 0, 30, 360}, 0},
        {8, monthly, D(1, 15, 2023), D(3, 10, 2023), {0, 0, 30, 360}, 0},
        // Refusals.
        {kFreqMultiplesOfMonth, even, D(3, 15, 2020), D(5, 20, 2023), {}, 0, kSwitchToActualDays},
        {kFreqMultiplesOfMonth, actual, D(3, 15, 2020), D(5, 15, 2023), {}, 0, kSwitchToEvenMonths},
        {kFreqEqualMonthsSingle, {60, 360, 2, 0}, D(1, 15, 2023), D(7, 20, 2023), {}, 0, kTermNotMultipleOfMonth},
        {kFreqActualDaysSingle, days, D(1, 15, 2023), D(7, 15, 2024), {}, 0, kEqualMonthsTerm},
    };
    for (const Row& row : rows) {
        auto r = Loan(row.code, row.in);
        r->gdCalActualDays = DaysBetween(row.from, row.to);
        ExpectOutcome(*r, ApplyFrequencyRule(*r, row.from, row.to), row.refusal, row.in, row.out, row.dayBasis,
                      Describe(row.code, row.from, row.to));
    }
    auto r = Loan(kFreqEqualMonthsSingle, single);
    ApplyFrequencyRule(*r, D(1, 15, 2023), D(7, 15, 2024));
    EXPECT_EQ(r->dMonths, 18);
}

TEST(frequency_rules, actual_days_over_a_unit_period_of_none_is_a_division_by_zero) {
    auto r = Loan(kFreqActualDaysInstallment, {0, 365, 0, 0});
    r->gdCalActualDays = 10;
    EXPECT_EQ(test::ErrorNumberOf([&] { ApplyFrequencyRule(*r, D(1, 1, 2023), D(1, 11, 2023)); }), 11);
}

TEST(calendar_refusal, message_of_each_refusal) {
    using enum CalendarRefusal;
    const std::pair<CalendarRefusal, const char*> rows[] = {
        {kNone, ""},
        {kSwitchToEvenMonths, "Switch from actual days to even months not allowed."},
        {kSwitchToActualDays, "Switch from even months to actual days not allowed."},
        {kTermNotMultipleOfMonth, "Loan term is not a multiple of a month.  Do not use this payment frequency."},
        {kEqualMonthsTerm, "Loan term with equal months may not use this payment frequency."},
        {kConstructionNotMultipleOfMonth,
         "Construction phase must be a multiple of a month.  You may want to change your interest accrual option to "
         "actual days."},
        {kHalfTermNotEqualMonths,
         "1/2 construction term + permanent phase must be equal months.  Change the dates or click Cancel and "
         "choose actual days."},
        {kHalfTermConstructionNotMonths,
         "Construction phase must be a multiple of a month.  Change the dates or click Cancel and choose actual "
         "days."},
        {kHalfTermEqualMonths,
         "1/2 construction term + permanent phase cannot be equal months.  Change the dates or click Cancel and "
         "choose whole months."},
    };
    for (const auto& [refusal, message] : rows) EXPECT_EQ(RefusalMessage(refusal), message);
}

// The first annual stream with an odd period fixes the day basis for the later ones.
TEST(frequency_rules, the_first_odd_annual_period_fixes_the_day_basis) {
    auto r = Loan(kFreqMultiplesOfMonth, {360, 360, 12, 0});
    EXPECT_EQ(ApplyFrequencyRule(*r, D(3, 15, 2020), D(3, 15, 2023)), CalendarRefusal::kNone);
    EXPECT_EQ(r->giDayBasis, kDayBasisOpen);
    EXPECT_EQ(ApplyFrequencyRule(*r, D(3, 15, 2020), D(5, 15, 2023)), CalendarRefusal::kNone);
    EXPECT_EQ(ApplyFrequencyRule(*r, D(3, 15, 2020), D(5, 20, 2023)), CalendarRefusal::kSwitchToActualDays);
}

// optIntAccrl 0 360/360, 1 365/365, 2 365/360, 3 other; optOther 0 months, 1 days;
// optDiscType 0 disclosed separately, 1 with the permanent phase.
TEST(construction_phase, which_choices_accrue_in_whole_months_or_actual_days) {
    struct Row {
        std::int16_t accrual, other, disclosure;
        bool wholeMonths, separateActualDays;
    };
    const Row rows[] = {{0, 0, 0, true, false},  {0, 1, 1, true, false},  {1, 0, 0, false, true},
                        {2, 0, 0, false, true},  {1, 0, 1, false, false}, {3, 0, 0, true, false},
                        {3, 0, 1, false, false}, {3, 1, 0, false, true},  {3, 1, 1, false, false}};
    for (const Row& row : rows) {
        const ConstructionChoices c{0, row.accrual, row.other, false, row.disclosure};
        EXPECT_EQ(ConstructionAccruesInWholeMonths(c), row.wholeMonths) << row.accrual << row.other << row.disclosure;
        EXPECT_EQ(SeparateConstructionInActualDays(c), row.separateActualDays)
            << row.accrual << row.other << row.disclosure;
    }
}

TEST(construction_phase, whole_months_or_the_single_payment_in_actual_days) {
    auto r = std::make_unique<LoanRecord>();
    r->gbConstruction = true;
    EXPECT_EQ(CheckConstructionWholeMonths(*r, D(1, 15, 2023), D(10, 15, 2023)), CalendarRefusal::kNone);
    EXPECT_EQ(CheckConstructionWholeMonths(*r, D(1, 15, 2023), D(10, 20, 2023)),
              CalendarRefusal::kConstructionNotMultipleOfMonth);

    r->construction.optIntAccrl = 2;
    EXPECT_EQ(CheckConstructionWholeMonths(*r, D(1, 15, 2023), D(10, 20, 2023)), CalendarRefusal::kNone);
    EXPECT_EQ(ApplyConstructionPhaseRule(*r, D(1, 1, 2023), D(7, 20, 2023)), CalendarRefusal::kNone);
    EXPECT_EQ(Timing(*r), Result(1, 0, 200, 365));
    EXPECT_EQ(ApplyConstructionPhaseRule(*r, D(1, 15, 2023), D(7, 15, 2024)), CalendarRefusal::kEqualMonthsTerm);

    r->construction.optDiscType = 1;
    r->gdCalUnitPeriods = 9;
    EXPECT_EQ(ApplyConstructionPhaseRule(*r, D(1, 1, 2023), D(7, 20, 2023)), CalendarRefusal::kNone);
    EXPECT_EQ(r->gdCalUnitPeriods, 9);
    // Whole years are months in twelves: no equal-months refusal.
    r->construction.optDiscType = 0;
    EXPECT_EQ(ApplyConstructionPhaseRule(*r, D(1, 15, 2023), D(1, 15, 2025)), CalendarRefusal::kNone);
}

TEST(round_up_half, halves_round_up) {
    struct Row {
        double days, half;
    };
    const Row rows[] = {{45, 23}, {270, 135}, {0, 0}, {1, 1}, {2, 1}, {181, 91}};
    for (const Row& row : rows) EXPECT_EQ(RoundUpHalf(row.days), row.half) << row.days;
}

TEST(construction_span, unit_periods_and_odd_days_or_a_refusal) {
    using enum CalendarRefusal;
    const Basis monthly{30, 360, 0, 0}, semi{15, 360, 0, 0}, weekly{7, 365, 0, 0}, single{30, 360, 1, 0},
        days{100, 365, 0, 0}, quarterly{90, 360, 3, 0}, annual{360, 360, 12, 0},
        onActualDays{365, 365, 12, kDayBasisActualDays}, even{360, 360, 12, kDayBasisEvenMonths};
    const std::int16_t kEven = kDayBasisEvenMonths, kActual = kDayBasisActualDays;
    struct Row {
        std::int16_t code;
        Basis in;
        Dates d;
        Result out;
        std::int16_t dayBasis;
        CalendarRefusal refusal = kNone;
    };
    const Row rows[] = {
        // 9 months: H = 135 days, 4 whole periods and 15 days carried into the permanent phase.
        {kFreqMonthly, monthly, {D(1, 15, 2023), D(10, 15, 2023), D(10, 15, 2023)}, {4, 15, 30, 360}, 0},
        // Permanent 1 month and 16 days (month end counts back to 10-31): 15 + 16 fills a period.
        {kFreqMonthly, monthly, {D(1, 15, 2023), D(10, 15, 2023), D(11, 30, 2023)}, {6, 1, 30, 360}, 0},
        // 9 months 10 days = 18 half months and 10 days: H = 140 days; 2 permanent months = 4.
        {kFreqSemiMonthly, semi, {D(1, 15, 2023), D(10, 25, 2023), D(12, 25, 2023)}, {13, 5, 15, 360}, 0},
        // 2 months 19 days = 5 half months and 4 days: H = 40 days.
        {kFreqSemiMonthly, semi, {D(1, 1, 2023), D(3, 20, 2023), D(3, 20, 2023)}, {2, 10, 15, 360}, 0},
        // 45 construction days: the half rounds up to 23; then 14 permanent days, 5 periods and 2 days.
        {kFreqActualDaysInstallment, weekly, {D(1, 1, 2023), D(2, 15, 2023), D(3, 1, 2023)}, {5, 2, 7, 365}, 0},
        // 6 construction months halved + 12 permanent months = 15 equal months.
        {kFreqEqualMonthsSingle, single, {D(1, 15, 2023), D(7, 15, 2023), D(7, 15, 2024)}, {1, 90, 360, 360}, 0},
        // 3 + 20 months = 23 equal months: a year and 11 months.
        {kFreqEqualMonthsSingle, single, {D(1, 15, 2023), D(7, 15, 2023), D(3, 15, 2025)}, {1, 330, 360, 360}, 0},
        // 3 + 2 months: under a year, one period of its 150 days.
        {kFreqEqualMonthsSingle, single, {D(1, 15, 2023), D(7, 15, 2023), D(9, 15, 2023)}, {1, 0, 150, 360}, 0},
        // 181 construction days: 91 days, one period of its days.
        {kFreqActualDaysSingle, days, {D(1, 1, 2023), D(7, 1, 2023), D(7, 1, 2023)}, {1, 0, 91, 365}, 0},
        // 2 permanent years (back to 08-15-2023: 45 days) + 91 days.
        {kFreqActualDaysSingle, days, {D(1, 1, 2023), D(7, 1, 2023), D(8, 15, 2025)}, {2, 136, 365, 365}, 0},
        // 3 + 9 months, but 91 + 275 actual days are a year and a day.
        {kFreqActualDaysSingle, days, {D(1, 1, 2023), D(7, 1, 2023), D(4, 1, 2024)}, {1, 1, 365, 365}, 0},
        // 3 construction quarters halved = 135 days: 1 quarter and 45 days; 2 permanent quarters.
        {kFreqMultiplesOfMonth, quarterly, {D(1, 15, 2023), D(10, 15, 2023), D(4, 15, 2024)}, {3, 45, 90, 360}, 0},
        // The same with no unit period yet: the rule sets 3 x 30 days in 360 itself.
        {kFreqMultiplesOfMonth, {0, 0, 3, 0}, {D(1, 15, 2023), D(10, 15, 2023), D(4, 15, 2024)}, {3, 45, 90, 360}, 0},
        // Annual: 90 days + 18 permanent months = 1 year and 270 days of 30-day months.
        {kFreqMultiplesOfMonth, annual, {D(1, 15, 2023), D(7, 15, 2023), D(1, 15, 2025)}, {1, 270, 360, 360}, kEven},
        // Annual off the day: 186 days halved = 93, permanent 1 year back to 01-15-2024 and 179 days.
        {kFreqMultiplesOfMonth, annual, {D(1, 15, 2023), D(7, 20, 2023), D(1, 15, 2025)}, {1, 272, 365, 365}, kActual},
        // 12 construction months halved + 6 permanent months are one whole year, on either basis:
        // counting its 360 days of 30-day months in 365-day units would lose the year.
        {kFreqMultiplesOfMonth,
         onActualDays,
         {D(1, 15, 2023), D(1, 15, 2024), D(7, 15, 2024)},
         {1, 0, 365, 365},
         kActual},
        {kFreqConstructionOnly, monthly, {D(1, 1, 2023), D(2, 1, 2023), D(3, 1, 2023)}, {0, 0, 30, 360}, 0},
        // Refusals. 4.5 + 12 months.
        {kFreqEqualMonthsSingle,
         single,
         {D(1, 15, 2023), D(10, 15, 2023), D(10, 15, 2024)},
         {},
         0,
         kHalfTermNotEqualMonths},
        // (6 months 20 days) / 2 + 1 month 20 days = 5 months, but the construction phase has odd days.
        {kFreqEqualMonthsSingle,
         single,
         {D(1, 1, 2023), D(7, 21, 2023), D(9, 10, 2023)},
         {},
         0,
         kHalfTermConstructionNotMonths},
        // 3 + 12 months: equal months, not whole years.
        {kFreqActualDaysSingle, days, {D(1, 1, 2023), D(7, 1, 2023), D(7, 1, 2024)}, {}, 0, kHalfTermEqualMonths},
        {kFreqMultiplesOfMonth, even, {D(1, 15, 2023), D(7, 20, 2023), D(1, 15, 2025)}, {}, 0, kSwitchToActualDays},
        {kFreqMultiplesOfMonth,
         onActualDays,
         {D(1, 15, 2023), D(7, 15, 2023), D(1, 15, 2025)},
         {},
         0,
         kSwitchToEvenMonths},
    };
    for (const Row& row : rows) {
        auto r = Loan(row.code, row.in, true);
        ExpectOutcome(*r, ApplyConstructionSpanRule(*r, row.d.loan, row.d.end, row.d.amort), row.refusal, row.in,
                      row.out, row.dayBasis, Describe(row.code, row.d));
        EXPECT_EQ(r->dActDays, static_cast<double>(DaysBetween(row.d.loan, row.d.end))) << Describe(row.code, row.d);
    }
}

TEST(construction_span, dates_must_ascend) {
    auto r = Loan(kFreqConstructionOnly, {30, 360, 0, 0}, true);
    EXPECT_THROW(ApplyConstructionSpanRule(*r, D(1, 1, 2023), D(1, 1, 2023), D(3, 1, 2023)), RuntimeError);
    EXPECT_THROW(ApplyConstructionSpanRule(*r, D(1, 1, 2023), D(2, 1, 2023), D(1, 31, 2023)), RuntimeError);
    const DoubleMonthCount n = CountBothPhases(*r, D(1, 15, 2023), D(10, 15, 2023), D(11, 30, 2023));
    EXPECT_EQ(std::tuple(r->gdCalPermMonths, n.permanentDays, n.constructionMonths), std::tuple(1, 16, 9));
}

}  // namespace
}  // namespace tallex
