// The per-frequency rules of the payment date calculator and the construction-phase rules.
// Expected values are worked by hand from the month count, the annual count and each rule.

#include "calendar/ConstructionPhaseRules.h"
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
    r->gbAppendixJ = true;
    r->giPymtFreq = frequency;
    r->gdDaysinUnitPd = daysInUnit;
    r->gdDaysinYr = daysInYear;
    r->dMonths = months;
    return r;
}

struct Expect { double periods, oddDays, daysInUnit, daysInYear; };

void ExpectResult(const LoanRecord& r, const Expect& e, const std::string& what) {
    EXPECT_EQ(r.gdCalUnitPeriods, e.periods) << what;
    EXPECT_EQ(r.gdCalOddDays, e.oddDays) << what;
    EXPECT_EQ(r.gdDaysinUnitPd, e.daysInUnit) << what;
    EXPECT_EQ(r.gdDaysinYr, e.daysInYear) << what;
}

std::string Span(const CalendarDate& a, const CalendarDate& b) { return DateText(a) + " to " + DateText(b); }

TEST(monthly_and_semi_monthly, whole_months_and_half_months) {
    struct Row { std::int16_t code; double unit; CalendarDate from, to; Expect e; };
    const Row rows[] = {
        {kFreqMonthly, 30, D(1, 15, 2023), D(3, 10, 2023), {1, 26, 30, 360}},
        {kFreqMonthly, 30, D(5, 5, 2023), D(5, 5, 2023), {0, 0, 30, 360}},
        {kFreqMonthly, 30, D(1, 31, 2023), D(3, 30, 2023), {1, 30, 30, 360}},
        {kFreqSemiMonthly, 15, D(5, 5, 2023), D(5, 5, 2023), {0, 0, 15, 360}},
        {kFreqSemiMonthly, 15, D(1, 15, 2023), D(3, 10, 2023), {3, 11, 15, 360}},  // 26 odd days: one half month and 11
        {kFreqSemiMonthly, 15, D(1, 1, 2023), D(1, 31, 2023), {2, 0, 15, 360}},    // 30 odd days: two half months
        {kFreqSemiMonthly, 15, D(1, 1, 2023), D(4, 15, 2023), {6, 14, 15, 360}},  // 14 odd days stay odd
    };
    for (const Row& row : rows) {
        auto r = Loan(row.code, row.unit, 360);
        EXPECT_EQ(ApplyFrequencyRule(*r, row.from, row.to), CalendarRefusal::kNone);
        ExpectResult(*r, row.e, "code " + std::to_string(row.code) + " " + Span(row.from, row.to));
    }
}

TEST(actual_days_installment, actual_days_in_unit_periods) {
    struct Row { double actualDays, unit; double periods, oddDays; };
    const Row rows[] = {{100, 30, 3, 10}, {100, 7, 14, 2}, {91, 91, 1, 0}, {0, 14, 0, 0}, {800, 14, 57, 2}};
    for (const Row& row : rows) {
        auto r = Loan(kFreqActualDaysInstallment, row.unit, 365);
        r->gdCalActualDays = row.actualDays;
        EXPECT_EQ(ApplyFrequencyRule(*r, D(1, 1, 2023), D(1, 1, 2023)), CalendarRefusal::kNone);
        EXPECT_EQ(r->gdCalUnitPeriods, row.periods) << row.actualDays << " days, U " << row.unit;
        EXPECT_EQ(r->gdCalOddDays, row.oddDays) << row.actualDays << " days, U " << row.unit;
    }
    auto r = Loan(kFreqActualDaysInstallment, 0, 365);
    r->gdCalActualDays = 10;
    try {
        ApplyFrequencyRule(*r, D(1, 1, 2023), D(1, 11, 2023));
        ADD_FAILURE() << "a unit period of 0 days was divided by";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), 11);
    }
}

TEST(multiples_of_month, left_over_months_count_thirty_days) {
    auto r = Loan(kFreqMultiplesOfMonth, 90, 360, 3);
    EXPECT_EQ(ApplyFrequencyRule(*r, D(1, 15, 2023), D(8, 20, 2023)), CalendarRefusal::kNone);
    ExpectResult(*r, {2, 35, 90, 360}, "quarterly, 7 months and 5 days");
    EXPECT_EQ(r->giDayBasis, kDayBasisOpen);
}

// An annual stream with an odd period fixes the loan's day basis; a later stream on the other
// basis is refused, and the refusal leaves the basis as it was.
TEST(annual_day_basis, the_first_odd_period_fixes_the_basis) {
    auto r = Loan(kFreqMultiplesOfMonth, 360, 360, 12);
    const CalendarDate loan = D(3, 15, 2020);

    EXPECT_EQ(ApplyFrequencyRule(*r, loan, D(3, 15, 2023)), CalendarRefusal::kNone);
    ExpectResult(*r, {3, 0, 360, 360}, "exactly 3 years");
    EXPECT_EQ(r->giDayBasis, kDayBasisOpen);

    EXPECT_EQ(ApplyFrequencyRule(*r, loan, D(5, 15, 2023)), CalendarRefusal::kNone);
    ExpectResult(*r, {3, 60, 360, 360}, "3 years and 2 months");
    EXPECT_EQ(r->giDayBasis, kDayBasisEvenMonths);

    const CalendarRefusal refusal = ApplyFrequencyRule(*r, loan, D(5, 20, 2023));
    EXPECT_EQ(refusal, CalendarRefusal::kSwitchToActualDays);
    EXPECT_EQ(RefusalMessage(refusal), "Switch from even months to actual days not allowed.");
    EXPECT_EQ(r->giDayBasis, kDayBasisEvenMonths);
    EXPECT_EQ(r->gdDaysinUnitPd, 360);
    EXPECT_EQ(r->gdDaysinYr, 360);
}

TEST(annual_day_basis, actual_days_then_even_months_is_refused) {
    auto r = Loan(kFreqMultiplesOfMonth, 360, 360, 12);
    const CalendarDate loan = D(3, 15, 2020);

    // 03-15-2020 + 66 days = 05-20-2020, then 3 whole years.
    EXPECT_EQ(ApplyFrequencyRule(*r, loan, D(5, 20, 2023)), CalendarRefusal::kNone);
    ExpectResult(*r, {3, 66, 365, 365}, "3 years and 66 days");
    EXPECT_EQ(r->giDayBasis, kDayBasisActualDays);

    EXPECT_EQ(ApplyFrequencyRule(*r, loan, D(3, 15, 2022)), CalendarRefusal::kNone);
    ExpectResult(*r, {2, 0, 365, 365}, "exactly 2 years on the actual-days basis");

    const CalendarRefusal refusal = ApplyFrequencyRule(*r, loan, D(5, 15, 2023));
    EXPECT_EQ(refusal, CalendarRefusal::kSwitchToEvenMonths);
    EXPECT_EQ(RefusalMessage(refusal), "Switch from actual days to even months not allowed.");
    EXPECT_EQ(r->giDayBasis, kDayBasisActualDays);
    EXPECT_EQ(r->gdDaysinUnitPd, 365);
}

TEST(annual_day_basis, under_a_year_off_the_day_is_all_odd_days) {
    auto r = Loan(kFreqMultiplesOfMonth, 360, 360, 12);
    EXPECT_EQ(ApplyFrequencyRule(*r, D(3, 15, 2023), D(5, 20, 2023)), CalendarRefusal::kNone);
    ExpectResult(*r, {0, 66, 365, 365}, "2 months and 5 days");
    EXPECT_EQ(r->giDayBasis, kDayBasisActualDays);
}

TEST(equal_months_single_payment, one_period_of_the_term_at_most_a_year) {
    struct Row { CalendarDate to; double months; Expect e; };
    const Row rows[] = {
        {D(7, 15, 2024), 18, {1, 180, 360, 360}},
        {D(7, 15, 2023), 6, {1, 0, 180, 360}},
        {D(1, 15, 2024), 12, {1, 0, 360, 360}},
        {D(12, 15, 2023), 11, {1, 0, 330, 360}},
        {D(7, 15, 2025), 30, {2, 180, 360, 360}},
    };
    for (const Row& row : rows) {
        auto r = Loan(kFreqEqualMonthsSingle, 30, 360, 1);
        EXPECT_EQ(ApplyFrequencyRule(*r, D(1, 15, 2023), row.to), CalendarRefusal::kNone);
        ExpectResult(*r, row.e, std::to_string(row.months) + " months");
        EXPECT_EQ(r->dMonths, row.months);
    }
}

TEST(equal_months_single_payment, a_term_with_odd_days_is_refused) {
    auto r = Loan(kFreqEqualMonthsSingle, 60, 360, 2);
    const CalendarRefusal refusal = ApplyFrequencyRule(*r, D(1, 15, 2023), D(7, 20, 2023));
    EXPECT_EQ(refusal, CalendarRefusal::kTermNotMultipleOfMonth);
    EXPECT_EQ(RefusalMessage(refusal), "Loan term is not a multiple of a month.  Do not use this payment frequency.");
    EXPECT_EQ(r->dMonths, 2);
    EXPECT_EQ(r->gdDaysinUnitPd, 60);
}

TEST(actual_days_single_payment, the_annual_count) {
    struct Row { CalendarDate to; Expect e; };
    const Row rows[] = {
        {D(7, 20, 2023), {1, 0, 200, 365}},  // 200 days
        {D(7, 1, 2023), {1, 0, 181, 365}},   // 6 whole months are 181 actual days
        {D(1, 1, 2025), {2, 0, 365, 365}},
        {D(2, 15, 2024), {1, 45, 365, 365}},
    };
    for (const Row& row : rows) {
        auto r = Loan(kFreqActualDaysSingle, 100, 365);
        EXPECT_EQ(ApplyFrequencyRule(*r, D(1, 1, 2023), row.to), CalendarRefusal::kNone);
        ExpectResult(*r, row.e, Span(D(1, 1, 2023), row.to));
    }
}

TEST(actual_days_single_payment, whole_months_that_are_not_whole_years_are_refused) {
    auto r = Loan(kFreqActualDaysSingle, 100, 365);
    const CalendarRefusal refusal = ApplyFrequencyRule(*r, D(1, 15, 2023), D(7, 15, 2024));
    EXPECT_EQ(refusal, CalendarRefusal::kEqualMonthsTerm);
    EXPECT_EQ(RefusalMessage(refusal), "Loan term with equal months may not use this payment frequency.");
    EXPECT_EQ(r->gdDaysinUnitPd, 100);
}

TEST(other_frequencies, compute_nothing) {
    for (std::int16_t code : {std::int16_t{0}, std::int16_t{7}, std::int16_t{8}}) {
        auto r = Loan(code, 30, 360);
        r->gdCalUnitPeriods = 5;
        r->gdCalOddDays = 6;
        EXPECT_EQ(ApplyFrequencyRule(*r, D(1, 15, 2023), D(3, 10, 2023)), CalendarRefusal::kNone);
        EXPECT_EQ(r->gdCalUnitPeriods, 5) << "code " << code;
        EXPECT_EQ(r->gdCalOddDays, 6) << "code " << code;
    }
}

// Options: optIntAccrl 0 360/360, 1 365/365, 2 365/360, 3 other; optOther 0 months, 1 days;
// optDiscType 0 separately, 1 with the permanent phase.
TEST(construction_phase, which_choices_accrue_in_whole_months) {
    struct Row { std::int16_t accrual, other, disclosure; bool wholeMonths, separateActualDays; };
    const Row rows[] = {
        {0, 0, 0, true, false},  {0, 1, 1, true, false},  {1, 0, 0, false, true}, {2, 0, 0, false, true},
        {1, 0, 1, false, false}, {3, 0, 0, true, false},  {3, 0, 1, false, false}, {3, 1, 0, false, true},
        {3, 1, 1, false, false},
    };
    for (const Row& row : rows) {
        ConstructionChoices c;
        c.optIntAccrl = row.accrual;
        c.optOther = row.other;
        c.optDiscType = row.disclosure;
        const std::string what = "accrual " + std::to_string(row.accrual) + ", other " + std::to_string(row.other) +
                                 ", disclosure " + std::to_string(row.disclosure);
        EXPECT_EQ(ConstructionAccruesInWholeMonths(c), row.wholeMonths) << what;
        EXPECT_EQ(SeparateConstructionInActualDays(c), row.separateActualDays) << what;
    }
}

TEST(construction_phase, whole_month_accrual_needs_whole_months) {
    auto r = std::make_unique<LoanRecord>();
    r->gbConstruction = true;
    r->construction.optIntAccrl = 0;
    EXPECT_EQ(CheckConstructionWholeMonths(*r, D(1, 15, 2023), D(10, 15, 2023)), CalendarRefusal::kNone);
    const CalendarRefusal refusal = CheckConstructionWholeMonths(*r, D(1, 15, 2023), D(10, 20, 2023));
    EXPECT_EQ(refusal, CalendarRefusal::kConstructionNotMultipleOfMonth);
    EXPECT_EQ(RefusalMessage(refusal),
              "Construction phase must be a multiple of a month.  You may want to change your interest accrual "
              "option to actual days.");
    r->construction.optIntAccrl = 1;
    EXPECT_EQ(CheckConstructionWholeMonths(*r, D(1, 15, 2023), D(10, 20, 2023)), CalendarRefusal::kNone);
}

TEST(construction_phase, separate_phase_in_actual_days_is_a_single_payment) {
    auto r = std::make_unique<LoanRecord>();
    r->gbConstruction = true;
    r->construction.optIntAccrl = 2;
    r->construction.optDiscType = 0;
    r->gdDaysinUnitPd = 7;
    r->gdDaysinYr = 360;
    EXPECT_EQ(ApplyConstructionPhaseRule(*r, D(1, 1, 2023), D(7, 20, 2023)), CalendarRefusal::kNone);
    ExpectResult(*r, {1, 0, 200, 365}, "200 days");

    EXPECT_EQ(ApplyConstructionPhaseRule(*r, D(1, 15, 2023), D(7, 15, 2024)), CalendarRefusal::kEqualMonthsTerm);

    r->construction.optDiscType = 1;
    r->gdCalUnitPeriods = 9;
    EXPECT_EQ(ApplyConstructionPhaseRule(*r, D(1, 1, 2023), D(7, 20, 2023)), CalendarRefusal::kNone);
    EXPECT_EQ(r->gdCalUnitPeriods, 9);
}

}  // namespace
}  // namespace tallex
