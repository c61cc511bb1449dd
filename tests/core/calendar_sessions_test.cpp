// The two date calculator sessions: what the dialogs show, the refusals at OK with their focus
// and clearing, what OK and Cancel leave in the record, and the date-change note.

#include "calendar/CalendarRefusal.h"
#include "calendar/FrequencyRules.h"
#include "calendar/PaymentDateCalendar.h"
#include "construction/ConstructionDateCalendar.h"
#include "ui/ScriptedUser.h"

#include "TestLoans.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <tuple>

namespace tallex {
namespace {

// A clock that stands still at 123456 ms, the stamp a calendar leaves on the record.
const test::FakeClock kClock = [] {
    test::FakeClock c;
    c.at += std::chrono::milliseconds(123456);
    return c;
}();

using Pay = PaymentDateCalendar;
using test::ExpectPrompts;
using Con = ConstructionDateCalendar;

std::unique_ptr<LoanRecord> Loan(bool regular, std::int16_t code = kFreqMonthly, double unit = 30) {
    auto r = std::make_unique<LoanRecord>();
    r->gbAppendixJ = regular;
    r->gbConstruction = !regular;
    r->giPymtFreq = code;
    r->gdDaysinUnitPd = unit;
    r->gdDaysinYr = 360;
    return r;
}

void Enter(Pay& c, const char* loan, const char* end) {
    ScriptedUser quiet;
    c.leaveField(Pay::Field::kLoanDate, loan, quiet);
    c.leaveField(Pay::Field::kEndDate, end, quiet);
}

void Enter(Con& c, const char* loan, const char* end, const char* amort) {
    ScriptedUser quiet;
    c.leaveField(Con::Field::kLoanDate, loan, quiet);
    c.leaveField(Con::Field::kConstrEndDate, end, quiet);
    c.leaveField(Con::Field::kAmortPymtDate, amort, quiet);
}

TEST(calendar_activation, focus_follows_the_remembered_loan_date) {
    auto r = Loan(true);
    r->gsEndDate = "03-10-2023";
    Pay fresh(*r, kClock);
    EXPECT_EQ(fresh.activate().focus, Pay::Control::mskStartDate);
    EXPECT_EQ(std::tie(fresh.display().lblDate2, fresh.display().lblDateDiff, r->gbCalFilledSchedule),
              std::tuple("Payment/Advance Date:", "", true));

    r->gsLoanDate = "01-15-2023";
    Pay again(*r, kClock);
    EXPECT_EQ(again.activate().focus, Pay::Control::mskEndDate);
    // A payment date always starts empty.
    EXPECT_EQ(
        std::tuple(again.display().lblLoanWeekDay, again.display().mskEndDate, again.accepted(Pay::Field::kLoanDate)),
        std::tuple("Sunday", "__-__-____", true));
    r->gsLoanDate.clear();  // a later visit with no loan date shows no weekday
    again.activate();
    EXPECT_EQ(again.display().lblLoanWeekDay, "");

    auto c = Loan(false);
    c->gsLoanDate = "01-15-2023";
    c->gsEndDate = "10-15-2023";
    Pay construction(*c, kClock);
    construction.activate();
    const auto& d = construction.display();
    EXPECT_EQ(std::tie(d.lblDate2, d.mskEndDate, d.lblPymtWeekDay),
              std::tuple("Construction Period End Date:", "10-15-2023", "Sunday"));
    Con three(*c, kClock);
    EXPECT_EQ(three.activate().focus, Con::Control::mskConstrEndDate);
    EXPECT_EQ(std::tie(three.display().mskConstrEndDate, three.display().mskAmortPymtDate),
              std::tuple("10-15-2023", "__-__-____"));
    // Nor the weekday of a payment date typed on an earlier visit.
    ScriptedUser quiet;
    again.leaveField(Pay::Field::kEndDate, "03-10-2023", quiet);
    ASSERT_FALSE(again.display().lblPymtWeekDay.empty());
    again.activate();
    EXPECT_EQ(again.display().lblPymtWeekDay, "");
}

TEST(calendar_leave_field, a_date_that_does_not_exist_empties_the_field) {
    struct Row {
        bool regular;
        int field;
        const char* message;
    };
    const Row rows[] = {
        {true, 0, "Enter valid loan date in mm-dd-yyyy format."},
        {true, 1, "Enter valid payment/advance date in mm-dd-yyyy format."},
        {false, 1, "Enter valid construction period end date in mm-dd-yyyy format."},
    };
    for (const Row& row : rows) {
        auto r = Loan(row.regular);
        Pay c(*r, kClock);
        c.activate();
        const auto field = row.field == 0 ? Pay::Field::kLoanDate : Pay::Field::kEndDate;
        ScriptedUser user;
        c.leaveField(field, "02-28-2023", user);
        EXPECT_EQ(c.leaveField(field, "02-30-2024", user).focus,
                  row.field == 0 ? Pay::Control::mskStartDate : Pay::Control::mskEndDate);
        ExpectPrompts(user, {row.message}, kStyleExclamation);
        EXPECT_EQ(row.field == 0 ? c.display().mskStartDate : c.display().mskEndDate, "__-__-____");
        EXPECT_EQ(row.field == 0 ? c.display().lblLoanWeekDay : c.display().lblPymtWeekDay, "");
        EXPECT_FALSE(c.accepted(field));
    }
    auto r = Loan(false);
    Con c(*r, kClock);
    ScriptedUser user;
    EXPECT_EQ(c.leaveField(Con::Field::kLoanDate, "13-01-2023", user).focus, Con::Control::mskLoanDate);
    EXPECT_EQ(c.leaveField(Con::Field::kConstrEndDate, "13-01-2023", user).focus, Con::Control::mskConstrEndDate);
    EXPECT_EQ(c.leaveField(Con::Field::kAmortPymtDate, "13-01-2023", user).focus, Con::Control::mskAmortPymtDate);
    ExpectPrompts(user,
                  {rows[0].message, rows[2].message, "Enter valid amortization payment date in mm-dd-yyyy format."},
                  kStyleExclamation);
}

TEST(calendar_leave_field, dates_are_rewritten_and_measured) {
    auto r = Loan(true);
    Pay c(*r, kClock);
    c.activate();
    ScriptedUser user;
    c.leaveField(Pay::Field::kLoanDate, "01/01/2020", user);
    c.leaveField(Pay::Field::kEndDate, "12/31/2025", user);
    c.leaveField(Pay::Field::kEndDate, "12-31-2025", user);
    EXPECT_EQ(std::tie(c.display().mskStartDate, c.display().lblPymtWeekDay, c.display().lblActualDays),
              std::tuple("01-01-2020", "Wednesday", "2,191"));
    EXPECT_EQ(r->gdCalActualDays, 2191);
    c.leaveField(Pay::Field::kEndDate, "__-__-____", user);  // an empty field is not checked
    ExpectPrompts(user, {}, kStyleExclamation);

    auto w = Loan(false);  // construction in whole months: the months, while the label shows days
    Pay months(*w, kClock);
    Enter(months, "01-15-2023", "10-15-2023");
    EXPECT_EQ(std::tuple(w->gdCalActualDays, months.display().lblActualDays, months.MultipleOfMonth()),
              std::tuple(9, "273", true));

    Con three(*w, kClock);
    Enter(three, "01-15-2023", "10-15-2023", "10-15-2024");
    EXPECT_EQ(three.display().lblActualDays, "639");  // loan date to amortization payment
}

TEST(calendar_leave_field, skipped_after_the_error_screen_and_cancelling_after_cancel) {
    auto r = Loan(true);
    Pay c(*r, kClock);
    ScriptedUser user;
    r->gbErrorShown = true;
    c.leaveField(Pay::Field::kLoanDate, "99-99-9999", user);
    ExpectPrompts(user, {}, kStyleExclamation);
    r->gbErrorShown = false;
    r->gbCalendarCancel = true;
    r->gdCalUnitPeriods = 3;
    EXPECT_TRUE(c.leaveField(Pay::Field::kLoanDate, "01-15-2023", user).close);
    EXPECT_EQ(r->gdCalUnitPeriods, 0);
}

const char* const kLaterThanLoan = "Payment/advance date must be the same as or later than loan date.";

// The calendar's own refusals and the rules' (their texts are the rules'), with where each
// leaves the focus and whether it empties the payment date.
TEST(payment_calendar_ok, refusals_focus_and_clearing) {
    using enum CalendarRefusal;
    using C = Pay::Control;
    struct Row {
        bool regular;
        std::int16_t code;
        const char *loan, *end;
        std::string message;
        C focus;
        bool endCleared;
    };
    const std::string both = "Enter both dates before pressing OK.";
    const auto rule = [](CalendarRefusal refusal) { return std::string(RefusalMessage(refusal)); };
    const Row rows[] = {
        {true, 1, "", "", both, C::mskStartDate, false},
        {true, 1, "01-15-2023", "", both, C::mskEndDate, false},
        {true, 1, "01-15-2023", "01-14-2023", kLaterThanLoan, C::mskEndDate, true},
        {true, 2, "03-15-2020", "05-20-2023", rule(kSwitchToActualDays), C::mskEndDate, true},
        {true, 5, "01-15-2023", "07-20-2023", rule(kTermNotMultipleOfMonth), C::cmdFedCalCancel, false},
        {true, 6, "01-15-2023", "07-15-2024", rule(kEqualMonthsTerm), C::cmdFedCalCancel, false},
        {false, 1, "01-15-2023", "10-20-2023", rule(kConstructionNotMultipleOfMonth), C::mskEndDate, false},
    };
    for (const Row& row : rows) {
        auto r = Loan(row.regular, row.code);
        r->dMonths = row.code == kFreqMultiplesOfMonth ? 12 : 0;  // yearly, on even months so far
        r->giDayBasis = row.code == kFreqMultiplesOfMonth ? kDayBasisEvenMonths : 0;
        Pay c(*r, kClock);
        c.activate();
        Enter(c, row.loan, row.end);
        ScriptedUser user;
        const Pay::Outcome outcome = c.ok(user);
        EXPECT_EQ(std::tuple(outcome.focus, outcome.close), std::tuple(row.focus, false)) << row.message;
        ExpectPrompts(user, {row.message}, kStyleExclamation);
        if (row.endCleared) {
            EXPECT_EQ(c.display().mskEndDate + c.display().lblPymtWeekDay, "__-__-____") << row.message;
        }
        // Cancel after a refused OK hands back nothing.
        EXPECT_TRUE(c.cancel().close);
        EXPECT_EQ(std::tie(r->gdCalUnitPeriods, r->gdCalOddDays, r->gbCalendarCancel, r->gbCalendarOK, r->gsLoanDate),
                  std::tuple(0, 0, true, false, ""));
    }
}

TEST(payment_calendar_ok, measures_the_dates_shown_not_a_value_left_from_before) {
    auto r = Loan(false);
    r->construction.optIntAccrl = 1;
    r->gsLoanDate = "03-15-2023";
    r->gsEndDate = "01-15-2023";
    r->gdCalActualDays = 5;
    Pay c(*r, kClock);
    c.activate();
    ScriptedUser user;
    EXPECT_EQ(c.ok(user).focus, Pay::Control::mskEndDate);
    ExpectPrompts(user, {kLaterThanLoan}, kStyleExclamation);
}

TEST(payment_calendar_ok, results_are_handed_back_and_the_dates_remembered) {
    ScriptedUser user;
    // A payment on the loan date itself is allowed: no time between them.
    for (const auto& [end, periods, oddDays] : {std::tuple("03-10-2023", 1, 26), std::tuple("01-15-2023", 0, 0)}) {
        auto r = Loan(true);
        Pay c(*r, kClock);
        Enter(c, "01-15-2023", end);
        EXPECT_TRUE(c.ok(user).close) << end;
        EXPECT_EQ(std::tie(r->gdCalUnitPeriods, r->gdCalOddDays, r->gbCalendarOK, r->gbCalendarCancel),
                  std::tuple(periods, oddDays, true, false))
            << end;
        EXPECT_EQ(std::tie(r->gsLoanDate, r->gsEndDate, r->gsCalendarStamp), std::tuple("01-15-2023", end, "123456"));
    }

    auto p = Loan(false);
    p->construction.optIntAccrl = 1;  // 365/365, disclosed separately: a single payment in actual days
    Pay d(*p, kClock);
    Enter(d, "01-01-2023", "07-20-2023");
    EXPECT_TRUE(d.ok(user).close);
    EXPECT_EQ(std::tie(p->gdCalActualDays, p->gdCalUnitPeriods, p->gdDaysinUnitPd), std::tuple(200, 1, 200));
    ExpectPrompts(user, {}, kStyleExclamation);
}

const std::string kNoteRest =
    "that may have already been used in other time period calculations.\r\n\r\n"
    "Making the change here will NOT cause re-calculation of those values.\r\n\r\n"
    "You may want to check to see if those values are still valid and make changes if necessary.";

TEST(date_change_note, shown_when_measured_streams_may_be_stale) {
    struct Row {
        bool regular;
        std::int16_t gridRow;
        const char *rowOneUnits, *storedEnd, *loan, *end, *first;
    };
    const Row rows[] = {
        {true, 2, "3", "10-15-2023", "02-01-2023", "05-01-2023", "Note that you have just changed a date (Loan Date) "},
        {true, 1, "3", "10-15-2023", "02-01-2023", "05-01-2023", nullptr},  // one grid row: nothing measured before
        {true, 2, "", "10-15-2023", "02-01-2023", "05-01-2023", nullptr},
        {true, 2, "3", "10-15-2023", "01-15-2023", "05-01-2023", nullptr},
        {false, 3, "4", "10-15-2023", "02-15-2023", "11-15-2023",
         "Note that you have just changed dates (Loan Date and Construction Period End Date) "},
        {false, 3, "4", "10-15-2023", "02-15-2023", "10-15-2023",
         "Note that you have just changed a date (Loan Date) "},
        {false, 3, "4", "10-15-2023", "01-15-2023", "11-15-2023",
         "Note that you have just changed a date (Construction Period End Date) "},
        {false, 3, "4", "10-15-2023", "01-15-2023", "10-15-2023", nullptr},
        {false, 3, "4", "", "02-15-2023", "11-15-2023", nullptr},  // no end date kept: nothing to compare
    };
    for (const Row& row : rows) {
        auto r = Loan(row.regular);
        r->construction.optDiscType = 1;
        r->gsLoanDate = "01-15-2023";
        r->gsEndDate = row.storedEnd;
        r->giGridRow = row.gridRow;
        r->gaUnitPeriods[1] = row.rowOneUnits;
        Pay c(*r, kClock);
        c.activate();
        Enter(c, row.loan, row.end);
        ScriptedUser user;
        EXPECT_TRUE(c.ok(user).close) << row.loan << " " << row.end;
        ExpectPrompts(user, row.first ? std::vector{row.first + kNoteRest} : std::vector<std::string>{},
                      kStyleInformation);
        EXPECT_EQ(r->gsLoanDate, row.loan);
    }
}

TEST(construction_calendar_ok, refusals_then_half_the_construction_term) {
    auto r = Loan(false, kFreqMonthly, 30);
    Con c(*r, kClock);
    struct Step {
        const char *loan, *end, *amort, *message;
        Con::Control focus;
    };
    const Step steps[] = {
        {"01-15-2023", "10-15-2023", "", "Enter all 3 dates before pressing OK.", Con::Control::mskAmortPymtDate},
        {"01-15-2023", "01-15-2023", "03-15-2023", "Dates must be entered in ascending order.",
         Con::Control::mskLoanDate},
        {"01-15-2023", "10-15-2023", "10-14-2023", "Dates must be entered in ascending order.",
         Con::Control::mskLoanDate},
    };
    for (const Step& step : steps) {
        Enter(c, step.loan, step.end, step.amort);
        ScriptedUser user;
        EXPECT_EQ(c.ok(user).focus, step.focus) << step.message;
        ExpectPrompts(user, {step.message}, kStyleExclamation);
    }
    Enter(c, "01-15-2023", "10-15-2023", "10-15-2023");  // amortization on the construction end: accepted
    ScriptedUser user;
    EXPECT_TRUE(c.ok(user).close);
    EXPECT_EQ(std::tie(r->gdCalUnitPeriods, r->gdCalOddDays, r->dActDays, r->gbCalendarOK),
              std::tuple(4, 15, 273, true));
    EXPECT_EQ(std::tie(r->gsEndDate, r->gsAmortPymtDate, r->gsCalendarStamp),
              std::tuple("10-15-2023", "10-15-2023", "123456"));
}

TEST(construction_calendar_ok, rule_refusals_and_cancel) {
    auto r = Loan(false, kFreqMultiplesOfMonth, 360);
    r->dMonths = 12;
    r->giDayBasis = kDayBasisEvenMonths;
    Con c(*r, kClock);
    Enter(c, "01-15-2023", "07-20-2023", "01-15-2025");
    ScriptedUser user;
    EXPECT_EQ(c.ok(user).focus, Con::Control::mskAmortPymtDate);
    EXPECT_EQ(c.display().mskAmortPymtDate, "__-__-____");

    r->giPymtFreq = kFreqEqualMonthsSingle;
    Enter(c, "01-15-2023", "10-15-2023", "10-15-2024");
    EXPECT_EQ(c.ok(user).focus, Con::Control::cmdFedCalCancel);
    ExpectPrompts(user,
                  {std::string(RefusalMessage(CalendarRefusal::kSwitchToActualDays)),
                   std::string(RefusalMessage(CalendarRefusal::kHalfTermNotEqualMonths))},
                  kStyleExclamation);
    EXPECT_TRUE(c.cancel().close);
    EXPECT_EQ(std::tie(r->gdCalUnitPeriods, r->gdCalOddDays, r->gbCalendarCancel), std::tuple(0, 0, true));
}

}  // namespace
}  // namespace tallex
