// The per-frequency rules of the payment date calculator and the construction-phase rules.
// Expected values are worked by hand from the month count, the annual count and each rule.

#include "calendar/FrequencyRules.h"
#include "construction/ConstructionPhaseRules.h"
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
struct Result {
    double periods, oddDays, unit, year;
};

std::unique_ptr<LoanRecord> Loan(std::int16_t code, const Basis& b) {
    auto r = std::make_unique<LoanRecord>();
    r->gbAppendixJ = true;
    r->giPymtFreq = code;
    r->gdDaysinUnitPd = b.unit;
    r->gdDaysinYr = b.year;
    r->dMonths = b.months;
    r->giDayBasis = b.dayBasis;
    return r;
}

std::string Describe(std::int16_t code, const CalendarDate& from, const CalendarDate& to) {
    return "code " + std::to_string(code) + ", " + DateText(from) + " to " + DateText(to);
}

TEST(frequency_rules, unit_periods_and_odd_days) {
    const Basis monthly{30, 360, 0, 0}, semi{15, 360, 0, 0}, quarterly{90, 360, 3, 0}, annual{360, 360, 12, 0},
        single{30, 360, 1, 0}, days{100, 365, 0, 0}, onActualDays{365, 365, 12, kDayBasisActualDays};
    struct Row {
        std::int16_t code;
        Basis in;
        CalendarDate from, to;
        Result out;
        std::int16_t dayBasis;
    };
    const Row rows[] = {
        {kFreqMonthly, monthly, D(1, 15, 2023), D(3, 10, 2023), {1, 26, 30, 360}, 0},
        {kFreqMonthly, monthly, D(5, 5, 2023), D(5, 5, 2023), {0, 0, 30, 360}, 0},
        {kFreqMonthly, monthly, D(1, 31, 2023), D(3, 30, 2023), {1, 30, 30, 360}, 0},
        {kFreqSemiMonthly, semi, D(5, 5, 2023), D(5, 5, 2023), {0, 0, 15, 360}, 0},
        {kFreqSemiMonthly, semi, D(1, 15, 2023), D(3, 10, 2023), {3, 11, 15, 360}, 0},  // 26 days: 1 half month + 11
        {kFreqSemiMonthly, semi, D(1, 1, 2023), D(1, 31, 2023), {2, 0, 15, 360}, 0},
        {kFreqMultiplesOfMonth, quarterly, D(1, 15, 2023), D(8, 20, 2023), {2, 35, 90, 360}, 0},
        // Annual unit periods (equal months of 12).
        {kFreqMultiplesOfMonth, annual, D(3, 15, 2020), D(3, 15, 2023), {3, 0, 360, 360}, 0},
        {kFreqMultiplesOfMonth, annual, D(3, 15, 2020), D(5, 15, 2023), {3, 60, 360, 360}, kDayBasisEvenMonths},
        {kFreqMultiplesOfMonth, annual, D(3, 15, 2020), D(5, 20, 2023), {3, 66, 365, 365}, kDayBasisActualDays},
        {kFreqMultiplesOfMonth, annual, D(3, 15, 2023), D(5, 20, 2023), {0, 66, 365, 365}, kDayBasisActualDays},
        {kFreqMultiplesOfMonth, onActualDays, D(3, 15, 2020), D(3, 15, 2022), {2, 0, 365, 365}, kDayBasisActualDays},
        // Equal months, single payment: 18 months, 6 months, ...
        {kFreqEqualMonthsSingle, single, D(1, 15, 2023), D(7, 15, 2024), {1, 180, 360, 360}, 0},
        {kFreqEqualMonthsSingle, single, D(1, 15, 2023), D(7, 15, 2023), {1, 0, 180, 360}, 0},
        {kFreqEqualMonthsSingle, single, D(1, 15, 2023), D(12, 15, 2023), {1, 0, 330, 360}, 0},
        {kFreqEqualMonthsSingle, single, D(1, 15, 2023), D(7, 15, 2025), {2, 180, 360, 360}, 0},
        // Actual days, single payment: 200 days, 6 months of 181 days, 2 years, a year and 45 days.
        {kFreqActualDaysSingle, days, D(1, 1, 2023), D(7, 20, 2023), {1, 0, 200, 365}, 0},
        {kFreqActualDaysSingle, days, D(1, 1, 2023), D(7, 1, 2023), {1, 0, 181, 365}, 0},
        {kFreqActualDaysSingle, days, D(1, 1, 2023), D(1, 1, 2025), {2, 0, 365, 365}, 0},
        {kFreqActualDaysSingle, days, D(1, 1, 2023), D(2, 15, 2024), {1, 45, 365, 365}, 0},
    };
    for (const Row& row : rows) {
        auto r = Loan(row.code, row.in);
        const std::string what = Describe(row.code, row.from, row.to);
        EXPECT_EQ(ApplyFrequencyRule(*r, row.from, row.to), CalendarRefusal::kNone) << what;
        EXPECT_EQ(r->gdCalUnitPeriods, row.out.periods) << what;
        EXPECT_EQ(r->gdCalOddDays, row.out.oddDays) << what;
        EXPECT_EQ(r->gdDaysinUnitPd, row.out.unit) << what;
        EXPECT_EQ(r->gdDaysinYr, row.out.year) << what;
        EXPECT_EQ(r->giDayBasis, row.dayBasis) << what;
    }
    auto r = Loan(kFreqEqualMonthsSingle, single);
    ApplyFrequencyRule(*r, D(1, 15, 2023), D(7, 15, 2024));
    EXPECT_EQ(r->dMonths, 18);
}

TEST(frequency_rules, actual_days_in_unit_periods) {
    struct Row {
        double actualDays, unit, periods, oddDays;
    };
    const Row rows[] = {{100, 30, 3, 10}, {100, 7, 14, 2}, {91, 91, 1, 0}, {0, 14, 0, 0}, {800, 14, 57, 2}};
    for (const Row& row : rows) {
        auto r = Loan(kFreqActualDaysInstallment, {row.unit, 365, 0, 0});
        r->gdCalActualDays = row.actualDays;
        ApplyFrequencyRule(*r, D(1, 1, 2023), D(1, 1, 2023));
        EXPECT_EQ(r->gdCalUnitPeriods, row.periods) << row.actualDays << " days, U " << row.unit;
        EXPECT_EQ(r->gdCalOddDays, row.oddDays) << row.actualDays << " days, U " << row.unit;
    }
    auto r = Loan(kFreqActualDaysInstallment, {0, 365, 0, 0});
    r->gdCalActualDays = 10;
    try {
        ApplyFrequencyRule(*r, D(1, 1, 2023), D(1, 11, 2023));
        ADD_FAILURE() << "a unit period of 0 days was divided by";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), 11);
    }
}

// A refusal leaves the loan's basis (days in unit period and year, months, day basis) as it was.
TEST(frequency_rules, refusals) {
    struct Row {
        std::int16_t code;
        Basis in;
        CalendarDate from, to;
        CalendarRefusal refusal;
        const char* message;
    };
    const Row rows[] = {
        {kFreqMultiplesOfMonth,
         {360, 360, 12, kDayBasisEvenMonths},
         D(3, 15, 2020),
         D(5, 20, 2023),
         CalendarRefusal::kSwitchToActualDays,
         "Switch from even months to actual days not allowed."},
        {kFreqMultiplesOfMonth,
         {365, 365, 12, kDayBasisActualDays},
         D(3, 15, 2020),
         D(5, 15, 2023),
         CalendarRefusal::kSwitchToEvenMonths,
         "Switch from actual days to even months not allowed."},
        {kFreqEqualMonthsSingle,
         {60, 360, 2, 0},
         D(1, 15, 2023),
         D(7, 20, 2023),
         CalendarRefusal::kTermNotMultipleOfMonth,
         "Loan term is not a multiple of a month.  Do not use this payment frequency."},
        {kFreqActualDaysSingle,
         {100, 365, 0, 0},
         D(1, 15, 2023),
         D(7, 15, 2024),
         CalendarRefusal::kEqualMonthsTerm,
         "Loan term with equal months may not use this payment frequency."},
    };
    for (const Row& row : rows) {
        auto r = Loan(row.code, row.in);
        const CalendarRefusal refusal = ApplyFrequencyRule(*r, row.from, row.to);
        EXPECT_EQ(refusal, row.refusal) << row.message;
        EXPECT_EQ(RefusalMessage(refusal), row.message);
        EXPECT_EQ(r->gdDaysinUnitPd, row.in.unit) << row.message;
        EXPECT_EQ(r->gdDaysinYr, row.in.year) << row.message;
        EXPECT_EQ(r->dMonths, row.in.months) << row.message;
        EXPECT_EQ(r->giDayBasis, row.in.dayBasis) << row.message;
    }
}

// The first annual stream with an odd period fixes the day basis for the later ones.
TEST(frequency_rules, the_first_odd_annual_period_fixes_the_day_basis) {
    auto r = Loan(kFreqMultiplesOfMonth, {360, 360, 12, 0});
    EXPECT_EQ(ApplyFrequencyRule(*r, D(3, 15, 2020), D(3, 15, 2023)), CalendarRefusal::kNone);
    EXPECT_EQ(r->giDayBasis, kDayBasisOpen);
    EXPECT_EQ(ApplyFrequencyRule(*r, D(3, 15, 2020), D(5, 15, 2023)), CalendarRefusal::kNone);
    EXPECT_EQ(ApplyFrequencyRule(*r, D(3, 15, 2020), D(5, 20, 2023)), CalendarRefusal::kSwitchToActualDays);
}

TEST(frequency_rules, other_codes_compute_nothing) {
    for (std::int16_t code : {0, 7, 8}) {
        auto r = Loan(code, {30, 360, 0, 0});
        r->gdCalUnitPeriods = 5;
        EXPECT_EQ(ApplyFrequencyRule(*r, D(1, 15, 2023), D(3, 10, 2023)), CalendarRefusal::kNone);
        EXPECT_EQ(r->gdCalUnitPeriods, 5) << "code " << code;
    }
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
    const CalendarRefusal refusal = CheckConstructionWholeMonths(*r, D(1, 15, 2023), D(10, 20, 2023));
    EXPECT_EQ(RefusalMessage(refusal),
              "Construction phase must be a multiple of a month.  You may want to change "
              "your interest accrual option to actual days.");

    r->construction.optIntAccrl = 2;
    EXPECT_EQ(CheckConstructionWholeMonths(*r, D(1, 15, 2023), D(10, 20, 2023)), CalendarRefusal::kNone);
    EXPECT_EQ(ApplyConstructionPhaseRule(*r, D(1, 1, 2023), D(7, 20, 2023)), CalendarRefusal::kNone);
    EXPECT_EQ(r->gdCalUnitPeriods, 1);
    EXPECT_EQ(r->gdDaysinUnitPd, 200);
    EXPECT_EQ(r->gdCalOddDays, 0);
    EXPECT_EQ(r->gdDaysinYr, 365);
    EXPECT_EQ(ApplyConstructionPhaseRule(*r, D(1, 15, 2023), D(7, 15, 2024)), CalendarRefusal::kEqualMonthsTerm);

    r->construction.optDiscType = 1;
    r->gdCalUnitPeriods = 9;
    EXPECT_EQ(ApplyConstructionPhaseRule(*r, D(1, 1, 2023), D(7, 20, 2023)), CalendarRefusal::kNone);
    EXPECT_EQ(r->gdCalUnitPeriods, 9);
}

}  // namespace
}  // namespace tallex
