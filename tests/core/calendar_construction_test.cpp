// The construction date calculator's measure: half the construction term plus the permanent
// phase. Expected values are worked by hand from the double month count and each rule.

#include "calendar/ConstructionSpanRules.h"
#include "calendar/FrequencyRules.h"
#include "engine/LoanRecord.h"
#include "engine/RuntimeError.h"

#include <gtest/gtest.h>

#include <memory>

namespace tallex {
namespace {

CalendarDate D(int month, int day, int year) { return {year, month, day}; }

std::unique_ptr<LoanRecord> Loan(std::int16_t frequency, double daysInUnit, double daysInYear, double months = 0) {
    auto r = std::make_unique<LoanRecord>();
    r->gbConstruction = true;
    r->giPymtFreq = frequency;
    r->gdDaysinUnitPd = daysInUnit;
    r->gdDaysinYr = daysInYear;
    r->dMonths = months;
    return r;
}

struct Dates { CalendarDate loan, end, amort; };
struct Expect { double periods, oddDays, daysInUnit, daysInYear; };

std::string Describe(const Dates& d) {
    return DateText(d.loan) + " / " + DateText(d.end) + " / " + DateText(d.amort);
}

void ExpectResult(const LoanRecord& r, const Expect& e, const std::string& what) {
    EXPECT_EQ(r.gdCalUnitPeriods, e.periods) << what;
    EXPECT_EQ(r.gdCalOddDays, e.oddDays) << what;
    EXPECT_EQ(r.gdDaysinUnitPd, e.daysInUnit) << what;
    EXPECT_EQ(r.gdDaysinYr, e.daysInYear) << what;
}

TEST(round_up_half, halves_round_up) {
    struct Row { double days, half; };
    const Row rows[] = {{45, 23}, {270, 135}, {0, 0}, {1, 1}, {2, 1}, {181, 91}, {185, 93}};
    for (const Row& row : rows) EXPECT_EQ(RoundUpHalf(row.days), row.half) << row.days;
}

TEST(double_month_count, permanent_then_construction) {
    auto r = Loan(kFreqMonthly, 30, 360);
    const DoubleMonthCount n = CountBothPhases(*r, D(1, 15, 2023), D(10, 15, 2023), D(11, 30, 2023));
    EXPECT_EQ(n.constructionMonths, 9);
    EXPECT_EQ(n.constructionDays, 0);
    EXPECT_EQ(n.permanentMonths, 1);
    EXPECT_EQ(n.permanentDays, 16);  // month end: counted back to 10-31
    EXPECT_EQ(r->gdCalPermMonths, 1);
    EXPECT_EQ(r->gdCalUnitPeriods, 9);
}

TEST(construction_span, monthly_semi_monthly_and_actual_days) {
    struct Row { std::int16_t code; double unit; Dates d; Expect e; };
    const Row rows[] = {
        // 9 months: H = 135 days, 4 whole periods and 15 days carried into the permanent phase.
        {kFreqMonthly, 30, {D(1, 15, 2023), D(10, 15, 2023), D(10, 15, 2023)}, {4, 15, 30, 360}},
        {kFreqMonthly, 30, {D(1, 15, 2023), D(10, 15, 2023), D(11, 15, 2023)}, {5, 15, 30, 360}},
        // Permanent 1 month and 16 days: 15 + 16 = 31 fills one more period.
        {kFreqMonthly, 30, {D(1, 15, 2023), D(10, 15, 2023), D(11, 30, 2023)}, {6, 1, 30, 360}},
        // 9 months 10 days = 18 half months and 10 days: H = 140 days.
        {kFreqSemiMonthly, 15, {D(1, 15, 2023), D(10, 25, 2023), D(12, 25, 2023)}, {13, 5, 15, 360}},
        // 2 months 19 days = 5 half months and 4 days: H = 40 days.
        {kFreqSemiMonthly, 15, {D(1, 1, 2023), D(3, 20, 2023), D(3, 20, 2023)}, {2, 10, 15, 360}},
        // 45 construction days: half rounds up to 23.
        {kFreqActualDaysInstallment, 7, {D(1, 1, 2023), D(2, 15, 2023), D(2, 15, 2023)}, {3, 2, 7, 365}},
        {kFreqActualDaysInstallment, 7, {D(1, 1, 2023), D(2, 15, 2023), D(3, 1, 2023)}, {5, 2, 7, 365}},
    };
    for (const Row& row : rows) {
        auto r = Loan(row.code, row.unit, row.code == kFreqActualDaysInstallment ? 365 : 360);
        EXPECT_EQ(ApplyConstructionSpanRule(*r, row.d.loan, row.d.end, row.d.amort), CalendarRefusal::kNone);
        ExpectResult(*r, row.e, "code " + std::to_string(row.code) + " " + Describe(row.d));
    }
}

TEST(construction_span, the_construction_term_in_days_is_kept) {
    auto r = Loan(kFreqMonthly, 30, 360);
    ApplyConstructionSpanRule(*r, D(1, 1, 2023), D(2, 15, 2023), D(3, 1, 2023));
    EXPECT_EQ(r->dActDays, 45);
}

TEST(construction_span, equal_months) {
    auto r = Loan(kFreqEqualMonthsSingle, 30, 360, 1);
    // 6 construction months halved + 12 permanent months = 15 months.
    EXPECT_EQ(ApplyConstructionSpanRule(*r, D(1, 15, 2023), D(7, 15, 2023), D(7, 15, 2024)), CalendarRefusal::kNone);
    ExpectResult(*r, {1, 90, 360, 360}, "15 months");
    EXPECT_EQ(r->dMonths, 15);

    r = Loan(kFreqEqualMonthsSingle, 30, 360, 1);
    // 4.5 + 12 months.
    CalendarRefusal refusal = ApplyConstructionSpanRule(*r, D(1, 15, 2023), D(10, 15, 2023), D(10, 15, 2024));
    EXPECT_EQ(refusal, CalendarRefusal::kHalfTermNotEqualMonths);
    EXPECT_EQ(RefusalMessage(refusal), "1/2 construction term + permanent phase must be equal months.  Change the "
                                       "dates or click Cancel and choose actual days.");
    EXPECT_EQ(r->dMonths, 1);

    // (6 months 20 days) / 2 + 1 month 20 days = 5 months, but the construction phase has odd days.
    refusal = ApplyConstructionSpanRule(*r, D(1, 1, 2023), D(7, 21, 2023), D(9, 10, 2023));
    EXPECT_EQ(refusal, CalendarRefusal::kHalfTermConstructionNotMonths);
    EXPECT_EQ(RefusalMessage(refusal), "Construction phase must be a multiple of a month.  Change the dates or "
                                       "click Cancel and choose actual days.");
}

TEST(construction_span, actual_days_single_payment) {
    struct Row { Dates d; Expect e; };
    const Row rows[] = {
        // 181 construction days: 91 days, one period of its days.
        {{D(1, 1, 2023), D(7, 1, 2023), D(7, 1, 2023)}, {1, 0, 91, 365}},
        // 2 permanent years, then 45 + 91 days.
        {{D(1, 1, 2023), D(7, 1, 2023), D(8, 15, 2025)}, {2, 136, 365, 365}},
        // 3 + 9 months are whole years in months, but 91 + 275 days are a year and a day.
        {{D(1, 1, 2023), D(7, 1, 2023), D(4, 1, 2024)}, {1, 1, 365, 365}},
    };
    for (const Row& row : rows) {
        auto r = Loan(kFreqActualDaysSingle, 100, 365);
        EXPECT_EQ(ApplyConstructionSpanRule(*r, row.d.loan, row.d.end, row.d.amort), CalendarRefusal::kNone);
        ExpectResult(*r, row.e, Describe(row.d));
    }

    auto r = Loan(kFreqActualDaysSingle, 100, 365);
    // 3 + 12 months: equal months, not whole years.
    const CalendarRefusal refusal = ApplyConstructionSpanRule(*r, D(1, 1, 2023), D(7, 1, 2023), D(7, 1, 2024));
    EXPECT_EQ(refusal, CalendarRefusal::kHalfTermEqualMonths);
    EXPECT_EQ(RefusalMessage(refusal), "1/2 construction term + permanent phase cannot be equal months.  Change the "
                                       "dates or click Cancel and choose whole months.");
    EXPECT_EQ(r->gdDaysinUnitPd, 100);
}

TEST(construction_span, multiples_of_a_month) {
    auto r = Loan(kFreqMultiplesOfMonth, 90, 360, 3);
    // Quarterly: 3 construction quarters halved = 135 days, 1 quarter and 45 days; 2 permanent quarters.
    EXPECT_EQ(ApplyConstructionSpanRule(*r, D(1, 15, 2023), D(10, 15, 2023), D(4, 15, 2024)), CalendarRefusal::kNone);
    ExpectResult(*r, {3, 45, 90, 360}, "quarterly");
    EXPECT_EQ(r->giDayBasis, kDayBasisOpen);
}

TEST(construction_span, annual_periods_and_the_day_basis) {
    // 6 months halved = 90 days, + 18 permanent months = 1 year and 270 days of 30-day months.
    const Dates evenMonths{D(1, 15, 2023), D(7, 15, 2023), D(1, 15, 2025)};
    // 6 months 5 days (186 days) halved = 93 days; permanent 17 months 26 days: 1 year back to
    // 01-15-2024 leaves 179 days; 93 + 179 = 272 actual odd days.
    const Dates actualDays{D(1, 15, 2023), D(7, 20, 2023), D(1, 15, 2025)};

    auto r = Loan(kFreqMultiplesOfMonth, 360, 360, 12);
    EXPECT_EQ(ApplyConstructionSpanRule(*r, evenMonths.loan, evenMonths.end, evenMonths.amort), CalendarRefusal::kNone);
    ExpectResult(*r, {1, 270, 360, 360}, Describe(evenMonths));
    EXPECT_EQ(r->giDayBasis, kDayBasisEvenMonths);
    EXPECT_EQ(ApplyConstructionSpanRule(*r, actualDays.loan, actualDays.end, actualDays.amort),
              CalendarRefusal::kSwitchToActualDays);
    EXPECT_EQ(r->giDayBasis, kDayBasisEvenMonths);
    EXPECT_EQ(r->gdDaysinUnitPd, 360);

    r = Loan(kFreqMultiplesOfMonth, 360, 360, 12);
    EXPECT_EQ(ApplyConstructionSpanRule(*r, actualDays.loan, actualDays.end, actualDays.amort), CalendarRefusal::kNone);
    ExpectResult(*r, {1, 272, 365, 365}, Describe(actualDays));
    EXPECT_EQ(r->giDayBasis, kDayBasisActualDays);
    EXPECT_EQ(ApplyConstructionSpanRule(*r, evenMonths.loan, evenMonths.end, evenMonths.amort),
              CalendarRefusal::kSwitchToEvenMonths);
    EXPECT_EQ(r->giDayBasis, kDayBasisActualDays);
    EXPECT_EQ(r->gdDaysinUnitPd, 365);
}

// 12 construction months halved + 6 permanent months are exactly one year. On the actual-days
// basis the year must still count: counting the 360 days of 30-day months in 365-day units
// would leave 0 periods and 0 odd days.
TEST(construction_span, whole_years_on_the_actual_days_basis_keep_their_years) {
    auto r = Loan(kFreqMultiplesOfMonth, 365, 365, 12);
    r->giDayBasis = kDayBasisActualDays;
    EXPECT_EQ(ApplyConstructionSpanRule(*r, D(1, 15, 2023), D(1, 15, 2024), D(7, 15, 2024)), CalendarRefusal::kNone);
    ExpectResult(*r, {1, 0, 365, 365}, "one whole year");
}

TEST(construction_span, other_codes_compute_nothing_and_dates_must_ascend) {
    auto r = Loan(kFreqConstructionOnly, 30, 360);
    r->gdCalUnitPeriods = 4;
    EXPECT_EQ(ApplyConstructionSpanRule(*r, D(1, 1, 2023), D(2, 1, 2023), D(3, 1, 2023)), CalendarRefusal::kNone);
    EXPECT_EQ(r->gdCalUnitPeriods, 4);
    EXPECT_THROW(ApplyConstructionSpanRule(*r, D(1, 1, 2023), D(1, 1, 2023), D(3, 1, 2023)), RuntimeError);
    EXPECT_THROW(ApplyConstructionSpanRule(*r, D(1, 1, 2023), D(2, 1, 2023), D(1, 31, 2023)), RuntimeError);
}

}  // namespace
}  // namespace tallex
