// The construction phase page's rules: layout by choice, field checks with their messages, and
// the derivations of Continue. Expected values are the construction rules' own examples table
// (months -> unit period, unit periods, odd days) and the accrual-code table.

#include "construction/ConstChoices.h"
#include "construction/ConstPhase.h"
#include "engine/LoanRecord.h"
#include "ui/ScriptedUser.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace tallex {
namespace {

ConstructionChoices Choices(std::int16_t disc, std::int16_t accrual, std::int16_t other = 0, bool reserve = false) {
    ConstructionChoices c;
    c.optDiscType = disc;
    c.optIntAccrl = accrual;
    c.optOther = other;
    c.chkIntReserve = reserve;
    return c;
}

struct Page {
    std::unique_ptr<LoanRecord> record = std::make_unique<LoanRecord>();
    ScriptedUser user;
    explicit Page(const ConstructionChoices& c) { record->construction = c; }
    ConstContinueResult cont(const std::string& period, const std::string& unitPeriods = "",
                             const std::string& oddDays = "") {
        return ConstPhaseContinue(*record, user, {period, unitPeriods, oddDays});
    }
};

TEST(construction_phase_continue, whole_months_single_payment_examples) {
    struct Row { double months, unitDays, unitPeriods, oddDays; };
    const Row rows[] = {{6, 180, 1, 0}, {11, 330, 1, 0}, {12, 360, 1, 0}, {18, 360, 1, 180}, {30, 360, 2, 180}};
    for (const Row& row : rows) {
        Page page(Choices(kDiscConstructionOnly, kAccrualWholeMonths));
        const ConstContinueResult out = page.cont(std::to_string(static_cast<int>(row.months)));
        const LoanRecord& r = *page.record;
        SCOPED_TRACE("months " + std::to_string(row.months));
        EXPECT_TRUE(out.passed) << out.message;
        EXPECT_EQ(r.gdDaysinUnitPd, row.unitDays);
        EXPECT_EQ(r.gdCalUnitPeriods, row.unitPeriods);
        EXPECT_EQ(r.gdCalOddDays, row.oddDays);
        EXPECT_EQ(r.giPymtFreq, kFreqEqualMonthsSingle);
        EXPECT_EQ(r.dMonths, row.months);
        EXPECT_EQ(r.gdConstMonths, row.months);
        EXPECT_EQ(r.gdDaysinYr, 360);
        EXPECT_EQ(r.gdConstDaysinYr, 360);
    }
}

TEST(construction_phase_continue, accrual_codes) {
    struct Row { ConstructionChoices c; const char* period; int code; };
    const Row rows[] = {
        {Choices(kDiscConstructionOnly, kAccrualWholeMonths), "12", 1},
        {Choices(kDiscConstructionOnly, kAccrualWholeMonths, 0, true), "12", 2},
        {Choices(kDiscWithPermanent, kAccrualActual365_365), "200", 3},
        {Choices(kDiscWithPermanent, kAccrualActual365_365, 0, true), "200", 4},
        {Choices(kDiscConstructionOnly, kAccrualActual365_360), "200", 5},
        {Choices(kDiscConstructionOnly, kAccrualActual365_360, 0, true), "200", 6},
        {Choices(kDiscConstructionOnly, kAccrualOther, kOtherWholeMonths), "12", 7},
        {Choices(kDiscConstructionOnly, kAccrualOther, kOtherActualDays), "200", 7},
        {Choices(kDiscWithPermanent, kAccrualOther), "", 7},
        // An interest reserve ticked before choosing "other" does not count: the box is hidden.
        {Choices(kDiscConstructionOnly, kAccrualOther, kOtherWholeMonths, true), "12", 7},
    };
    for (const Row& row : rows) {
        Page page(row.c);
        const ConstContinueResult out = page.cont(row.period, "1", "0");
        SCOPED_TRACE("expected code " + std::to_string(row.code));
        EXPECT_TRUE(out.passed) << out.message;
        EXPECT_EQ(page.record->giAccrualMethod, row.code);
    }
}

TEST(construction_phase_continue, day_counts) {
    struct Row {
        const char* name;
        ConstructionChoices c;
        const char *period, *unitPeriods, *oddDays;
        double constDays, unitDays, calUnitPeriods, calOddDays;
        int freq;
    };
    const Row rows[] = {
        {"construction-only, 200 days", Choices(kDiscConstructionOnly, kAccrualActual365_365), "200", "1", "0",
         200, 200, 1, 0, kFreqActualDaysSingle},
        {"construction-only, 2 years of 365 days and 30 days", Choices(kDiscConstructionOnly, kAccrualActual365_360),
         "365", "2", "30", 760, 365, 2, 30, kFreqActualDaysSingle},
        {"with permanent financing, 400 days", Choices(kDiscWithPermanent, kAccrualActual365_365), "400", "", "",
         400, 400, 0, 0, 0},
    };
    for (const Row& row : rows) {
        Page page(row.c);
        const ConstContinueResult out = page.cont(row.period, row.unitPeriods, row.oddDays);
        const LoanRecord& r = *page.record;
        SCOPED_TRACE(row.name);
        EXPECT_TRUE(out.passed) << out.message;
        EXPECT_EQ(r.gdConstDays, row.constDays);
        EXPECT_EQ(r.gdDaysinUnitPd, row.unitDays);
        EXPECT_EQ(r.gdConstDaysinYr, 365);
        EXPECT_EQ(r.gdCalUnitPeriods, row.calUnitPeriods);
        EXPECT_EQ(r.gdCalOddDays, row.calOddDays);
        EXPECT_EQ(r.giPymtFreq, row.freq);
        EXPECT_EQ(r.gdDaysinYr, row.freq == 0 ? 0 : 365);
    }
}

TEST(construction_phase_continue, refusals) {
    struct Row {
        ConstructionChoices c;
        const char *period, *unitPeriods, *oddDays;
        std::string message;
        int focus;
    };
    const Row rows[] = {
        {Choices(kDiscConstructionOnly, kAccrualActual365_365), "400", "1", "0",
         "Enter a number from 1 to 365 for the # of days.", kPhaseTimePeriod},
        {Choices(kDiscConstructionOnly, kAccrualActual365_365), "", "", "",
         "Enter a number from 1 to 365 for the # of days.", kPhaseTimePeriod},
        {Choices(kDiscConstructionOnly, kAccrualWholeMonths), "0", "", "",
         "Enter a number greater than 0 for the # of months.", kPhaseTimePeriod},
        {Choices(kDiscWithPermanent, kAccrualActual365_360), "", "", "",
         "Enter a number greater than 0 for the # of days.", kPhaseTimePeriod},
        {Choices(kDiscConstructionOnly, kAccrualOther, kOtherActualDays), "365", "0", "0",
         "Enter a number greater than 0 for the # of unit periods.", kPhaseUnitPeriods},
        {Choices(kDiscConstructionOnly, kAccrualActual365_365), "365", "1", "",
         "Enter a number between 0 and 365 for # of odd days.", kPhaseOddDays},
        {Choices(kDiscConstructionOnly, kAccrualActual365_365), "365", "1", "366",
         "Enter a number between 0 and 365 for # of odd days.", kPhaseOddDays},
    };
    for (const Row& row : rows) {
        Page page(row.c);
        page.record->dMonths = 7;
        page.record->gdConstTimePeriod = 99;
        const ConstContinueResult out = page.cont(row.period, row.unitPeriods, row.oddDays);
        SCOPED_TRACE(std::string("period \"") + row.period + "\", unit periods \"" + row.unitPeriods +
                     "\", odd days \"" + row.oddDays + "\"");
        EXPECT_FALSE(out.passed);
        EXPECT_EQ(out.message, row.message);
        EXPECT_EQ(out.focusField, row.focus);
        ASSERT_EQ(page.user.prompts().size(), 1u);
        EXPECT_EQ(page.user.prompts()[0].text, row.message);
        EXPECT_EQ(page.user.prompts()[0].style, 48);
        EXPECT_EQ(page.record->gdConstTimePeriod, 99);  // nothing stored
        EXPECT_EQ(page.record->dMonths, 0);             // cleared before the checks
    }
}

TEST(construction_phase_continue, permanent_financing_with_other_asks_for_no_period) {
    // "Other" in days chosen on a construction-only loan, then the disclosure changed: the
    // period field is hidden and must not be asked for.
    Page page(Choices(kDiscWithPermanent, kAccrualOther, kOtherActualDays));
    const ConstContinueResult out = page.cont("", "", "");
    EXPECT_TRUE(out.passed) << out.message;
    EXPECT_EQ(page.record->giAccrualMethod, 7);
    EXPECT_EQ(page.record->gdConstMonths, 0);
    EXPECT_EQ(page.record->gdConstDays, 0);
}

TEST(construction_phase_field_check, zero_odd_days_pass_an_empty_field_does_not) {
    Page page(Choices(kDiscConstructionOnly, kAccrualActual365_365));
    EXPECT_TRUE(ConstFieldCheck(*page.record, kPhaseOddDays, "0"));
    EXPECT_TRUE(ConstFieldCheck(*page.record, kPhaseOddDays, "365"));
    EXPECT_FALSE(ConstFieldCheck(*page.record, kPhaseOddDays, ""));
    EXPECT_FALSE(ConstFieldCheck(*page.record, kPhaseTimePeriod, "366"));
    EXPECT_EQ(page.record->giNumCheck, 1);
    EXPECT_TRUE(ConstFieldCheck(*page.record, kPhaseTimePeriod, "365"));
    EXPECT_EQ(page.record->giNumCheck, 0);
    // Whole months have no upper limit, and hidden fields are not checked.
    page.record->construction = Choices(kDiscConstructionOnly, kAccrualWholeMonths);
    EXPECT_TRUE(ConstFieldCheck(*page.record, kPhaseTimePeriod, "400"));
    EXPECT_TRUE(ConstFieldCheck(*page.record, kPhaseOddDays, ""));
}

TEST(construction_phase_unit_periods, follow_the_time_period) {
    struct Row { const char* period; bool enabled; const char *unitPeriods, *oddDays; };
    const Row rows[] = {{"365", true, "", ""}, {" 365 ", true, "", ""}, {"364", false, "1", "0"},
                        {"400", false, "1", "0"}, {"", false, "", ""}};
    for (const Row& row : rows) {
        const ConstUnitPeriodFields f = ConstUnitPeriodsFollow(row.period);
        SCOPED_TRACE(std::string("period \"") + row.period + "\"");
        EXPECT_EQ(f.enabled, row.enabled);
        EXPECT_EQ(f.unitPeriods, row.unitPeriods);
        EXPECT_EQ(f.oddDays, row.oddDays);
    }
}

TEST(construction_phase_layout, by_accrual_and_disclosure) {
    struct Row {
        const char* name;
        ConstructionChoices c;
        bool reserve, other, period, calendar;
        const char* label;
        int help;
        bool unitPeriods;
    };
    const Row rows[] = {
        {"360/360", Choices(kDiscWithPermanent, kAccrualWholeMonths), true, false, true, true, "# of Months:", 49, false},
        {"365/365 construction-only", Choices(kDiscConstructionOnly, kAccrualActual365_365), true, false, true, true,
         "# of Days:", 52, true},
        {"365/360 with permanent", Choices(kDiscWithPermanent, kAccrualActual365_360), true, false, true, true,
         "# of Days:", 52, false},
        {"other in months", Choices(kDiscConstructionOnly, kAccrualOther, kOtherWholeMonths), false, true, true, true,
         "# of Months:", 49, false},
        {"other in days", Choices(kDiscConstructionOnly, kAccrualOther, kOtherActualDays), false, true, true, true,
         "# of Days:", 52, true},
        {"other with permanent", Choices(kDiscWithPermanent, kAccrualOther), false, false, false, false, "", 0, false},
    };
    for (const Row& row : rows) {
        const ConstPhaseLayout l = ConstPhaseLayoutFor(row.c);
        SCOPED_TRACE(row.name);
        EXPECT_EQ(l.reserveShown, row.reserve);
        EXPECT_EQ(l.otherShown, row.other);
        EXPECT_EQ(l.timePeriodShown, row.period);
        EXPECT_EQ(l.calendarShown, row.calendar);
        EXPECT_EQ(l.timePeriodLabel, row.label);
        EXPECT_EQ(l.timePeriodHelp, row.help);
        EXPECT_EQ(l.unitPeriodsShown, row.unitPeriods);
    }
}

TEST(construction_phase_keys, refusal_messages) {
    EXPECT_EQ(ConstPhaseKeyMessage(kPhaseTimePeriod, "# of Months:"), "For # of months, enter numbers only.");
    EXPECT_EQ(ConstPhaseKeyMessage(kPhaseTimePeriod, "# of Days:"), "For # of days, enter numbers only.");
    EXPECT_EQ(ConstPhaseKeyMessage(kPhaseUnitPeriods, ""), "For # of unit periods, enter numbers only.");
    EXPECT_EQ(ConstPhaseKeyMessage(kPhaseOddDays, ""), "For # of odd days, enter numbers only.");
}

}  // namespace
}  // namespace tallex
