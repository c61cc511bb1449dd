// The construction date calculator's measure: half the construction term plus the permanent
// phase. Expected values are worked by hand from the double month count and each rule.

#include "calendar/FrequencyRules.h"
#include "construction/ConstructionSpanRules.h"
#include "engine/RuntimeError.h"

#include <gtest/gtest.h>

#include <memory>

namespace tallex {
namespace {

CalendarDate D(int month, int day, int year) { return {year, month, day}; }

struct Basis {
    double unit, year, months;
    std::int16_t dayBasis;
};
struct Dates {
    CalendarDate loan, end, amort;
};
struct Result {
    double periods, oddDays, unit, year;
};

std::unique_ptr<LoanRecord> Loan(std::int16_t code, const Basis& b) {
    auto r = std::make_unique<LoanRecord>();
    r->gbConstruction = true;
    r->giPymtFreq = code;
    r->gdDaysinUnitPd = b.unit;
    r->gdDaysinYr = b.year;
    r->dMonths = b.months;
    r->giDayBasis = b.dayBasis;
    return r;
}

std::string Describe(std::int16_t code, const Dates& d) {
    return "code " + std::to_string(code) + ", " + DateText(d.loan) + " / " + DateText(d.end) + " / " +
           DateText(d.amort);
}

TEST(round_up_half, halves_round_up) {
    struct Row {
        double days, half;
    };
    const Row rows[] = {{45, 23}, {270, 135}, {0, 0}, {1, 1}, {2, 1}, {181, 91}};
    for (const Row& row : rows) EXPECT_EQ(RoundUpHalf(row.days), row.half) << row.days;
}

TEST(construction_span, unit_periods_and_odd_days) {
    const Basis monthly{30, 360, 0, 0}, semi{15, 360, 0, 0}, weekly{7, 365, 0, 0}, single{30, 360, 1, 0},
        days{100, 365, 0, 0}, quarterly{90, 360, 3, 0}, annual{360, 360, 12, 0},
        onActualDays{365, 365, 12, kDayBasisActualDays};
    struct Row {
        std::int16_t code;
        Basis in;
        Dates d;
        Result out;
        std::int16_t dayBasis;
    };
    const Row rows[] = {
        // 9 months: H = 135 days, 4 whole periods and 15 days carried into the permanent phase.
        {kFreqMonthly, monthly, {D(1, 15, 2023), D(10, 15, 2023), D(10, 15, 2023)}, {4, 15, 30, 360}, 0},
        {kFreqMonthly, monthly, {D(1, 15, 2023), D(10, 15, 2023), D(11, 15, 2023)}, {5, 15, 30, 360}, 0},
        // Permanent 1 month and 16 days (month end counts back to 10-31): 15 + 16 fills a period.
        {kFreqMonthly, monthly, {D(1, 15, 2023), D(10, 15, 2023), D(11, 30, 2023)}, {6, 1, 30, 360}, 0},
        // 9 months 10 days = 18 half months and 10 days: H = 140 days; 2 permanent months = 4.
        {kFreqSemiMonthly, semi, {D(1, 15, 2023), D(10, 25, 2023), D(12, 25, 2023)}, {13, 5, 15, 360}, 0},
        // 2 months 19 days = 5 half months and 4 days: H = 40 days.
        {kFreqSemiMonthly, semi, {D(1, 1, 2023), D(3, 20, 2023), D(3, 20, 2023)}, {2, 10, 15, 360}, 0},
        // 45 construction days: the half rounds up to 23; then 14 permanent days.
        {kFreqActualDaysInstallment, weekly, {D(1, 1, 2023), D(2, 15, 2023), D(2, 15, 2023)}, {3, 2, 7, 365}, 0},
        {kFreqActualDaysInstallment, weekly, {D(1, 1, 2023), D(2, 15, 2023), D(3, 1, 2023)}, {5, 2, 7, 365}, 0},
        // 6 construction months halved + 12 permanent months = 15 equal months.
        {kFreqEqualMonthsSingle, single, {D(1, 15, 2023), D(7, 15, 2023), D(7, 15, 2024)}, {1, 90, 360, 360}, 0},
        // 181 construction days: 91 days, one period of its days.
        {kFreqActualDaysSingle, days, {D(1, 1, 2023), D(7, 1, 2023), D(7, 1, 2023)}, {1, 0, 91, 365}, 0},
        // 2 permanent years (back to 08-15-2023: 45 days) + 91 days.
        {kFreqActualDaysSingle, days, {D(1, 1, 2023), D(7, 1, 2023), D(8, 15, 2025)}, {2, 136, 365, 365}, 0},
        // 3 + 9 months, but 91 + 275 actual days are a year and a day.
        {kFreqActualDaysSingle, days, {D(1, 1, 2023), D(7, 1, 2023), D(4, 1, 2024)}, {1, 1, 365, 365}, 0},
        // 3 construction quarters halved = 135 days: 1 quarter and 45 days; 2 permanent quarters.
        {kFreqMultiplesOfMonth, quarterly, {D(1, 15, 2023), D(10, 15, 2023), D(4, 15, 2024)}, {3, 45, 90, 360}, 0},
        // Annual: 90 days + 18 permanent months = 1 year and 270 days of 30-day months.
        {kFreqMultiplesOfMonth,
         annual,
         {D(1, 15, 2023), D(7, 15, 2023), D(1, 15, 2025)},
         {1, 270, 360, 360},
         kDayBasisEvenMonths},
        // Annual off the day: 186 days halved = 93, permanent 1 year back to 01-15-2024 and 179 days.
        {kFreqMultiplesOfMonth,
         annual,
         {D(1, 15, 2023), D(7, 20, 2023), D(1, 15, 2025)},
         {1, 272, 365, 365},
         kDayBasisActualDays},
        // 12 construction months halved + 6 permanent months are one whole year, on either basis:
        // counting its 360 days of 30-day months in 365-day units would lose the year.
        {kFreqMultiplesOfMonth,
         onActualDays,
         {D(1, 15, 2023), D(1, 15, 2024), D(7, 15, 2024)},
         {1, 0, 365, 365},
         kDayBasisActualDays},
    };
    for (const Row& row : rows) {
        auto r = Loan(row.code, row.in);
        const std::string what = Describe(row.code, row.d);
        EXPECT_EQ(ApplyConstructionSpanRule(*r, row.d.loan, row.d.end, row.d.amort), CalendarRefusal::kNone) << what;
        EXPECT_EQ(r->gdCalUnitPeriods, row.out.periods) << what;
        EXPECT_EQ(r->gdCalOddDays, row.out.oddDays) << what;
        EXPECT_EQ(r->gdDaysinUnitPd, row.out.unit) << what;
        EXPECT_EQ(r->gdDaysinYr, row.out.year) << what;
        EXPECT_EQ(r->giDayBasis, row.dayBasis) << what;
        EXPECT_EQ(r->dActDays, static_cast<double>(DaysBetween(row.d.loan, row.d.end))) << what;
    }
}

TEST(construction_span, refusals_leave_the_basis) {
    struct Row {
        std::int16_t code;
        Basis in;
        Dates d;
        CalendarRefusal refusal;
        const char* message;
    };
    const Row rows[] = {
        // 4.5 + 12 months.
        {kFreqEqualMonthsSingle,
         {30, 360, 1, 0},
         {D(1, 15, 2023), D(10, 15, 2023), D(10, 15, 2024)},
         CalendarRefusal::kHalfTermNotEqualMonths,
         "1/2 construction term + permanent phase must be equal months.  Change the dates or click Cancel and "
         "choose actual days."},
        // (6 months 20 days) / 2 + 1 month 20 days = 5 months, but the construction phase has odd days.
        {kFreqEqualMonthsSingle,
         {30, 360, 1, 0},
         {D(1, 1, 2023), D(7, 21, 2023), D(9, 10, 2023)},
         CalendarRefusal::kHalfTermConstructionNotMonths,
         "Construction phase must be a multiple of a month.  Change the dates or click Cancel and choose actual "
         "days."},
        // 3 + 12 months: equal months, not whole years.
        {kFreqActualDaysSingle,
         {100, 365, 0, 0},
         {D(1, 1, 2023), D(7, 1, 2023), D(7, 1, 2024)},
         CalendarRefusal::kHalfTermEqualMonths,
         "1/2 construction term + permanent phase cannot be equal months.  Change the dates or click Cancel and "
         "choose whole months."},
        {kFreqMultiplesOfMonth,
         {360, 360, 12, kDayBasisEvenMonths},
         {D(1, 15, 2023), D(7, 20, 2023), D(1, 15, 2025)},
         CalendarRefusal::kSwitchToActualDays,
         "Switch from even months to actual days not allowed."},
        {kFreqMultiplesOfMonth,
         {365, 365, 12, kDayBasisActualDays},
         {D(1, 15, 2023), D(7, 15, 2023), D(1, 15, 2025)},
         CalendarRefusal::kSwitchToEvenMonths,
         "Switch from actual days to even months not allowed."},
    };
    for (const Row& row : rows) {
        auto r = Loan(row.code, row.in);
        const CalendarRefusal refusal = ApplyConstructionSpanRule(*r, row.d.loan, row.d.end, row.d.amort);
        EXPECT_EQ(refusal, row.refusal) << Describe(row.code, row.d);
        EXPECT_EQ(RefusalMessage(refusal), row.message);
        EXPECT_EQ(r->gdDaysinUnitPd, row.in.unit) << row.message;
        EXPECT_EQ(r->gdDaysinYr, row.in.year) << row.message;
        EXPECT_EQ(r->dMonths, row.in.months) << row.message;
        EXPECT_EQ(r->giDayBasis, row.in.dayBasis) << row.message;
    }
}

TEST(construction_span, other_codes_compute_nothing_and_dates_must_ascend) {
    auto r = Loan(kFreqConstructionOnly, {30, 360, 0, 0});
    r->gdCalUnitPeriods = 4;
    EXPECT_EQ(ApplyConstructionSpanRule(*r, D(1, 1, 2023), D(2, 1, 2023), D(3, 1, 2023)), CalendarRefusal::kNone);
    EXPECT_EQ(r->gdCalUnitPeriods, 4);
    EXPECT_THROW(ApplyConstructionSpanRule(*r, D(1, 1, 2023), D(1, 1, 2023), D(3, 1, 2023)), RuntimeError);
    EXPECT_THROW(ApplyConstructionSpanRule(*r, D(1, 1, 2023), D(2, 1, 2023), D(1, 31, 2023)), RuntimeError);
    const DoubleMonthCount n = CountBothPhases(*r, D(1, 15, 2023), D(10, 15, 2023), D(11, 30, 2023));
    EXPECT_EQ(r->gdCalPermMonths, 1);
    EXPECT_EQ(n.permanentDays, 16);
    EXPECT_EQ(n.constructionMonths, 9);
}

}  // namespace
}  // namespace tallex
