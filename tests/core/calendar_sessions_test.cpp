// The two date calculator sessions: what the dialogs show, the refusals at OK with their focus
// and clearing, what OK and Cancel leave in the record, and the date-change note.

#include "calendar/ConstructionDateCalendar.h"
#include "calendar/FrequencyRules.h"
#include "calendar/PaymentDateCalendar.h"
#include "engine/LoanRecord.h"
#include "ui/ScriptedUser.h"

#include <gtest/gtest.h>

#include <memory>

namespace tallex {
namespace {

class FixedClock final : public Clock {
public:
    std::chrono::steady_clock::time_point now() const override {
        return std::chrono::steady_clock::time_point(std::chrono::milliseconds(123456));
    }
};

using Pay = PaymentDateCalendar;
using Con = ConstructionDateCalendar;

std::unique_ptr<LoanRecord> RegularLoan(std::int16_t frequency, double daysInUnit, double daysInYear) {
    auto r = std::make_unique<LoanRecord>();
    r->gbAppendixJ = true;
    r->giPymtFreq = frequency;
    r->gdDaysinUnitPd = daysInUnit;
    r->gdDaysinYr = daysInYear;
    return r;
}

std::unique_ptr<LoanRecord> ConstructionLoan() {
    auto r = std::make_unique<LoanRecord>();
    r->gbConstruction = true;
    return r;
}

void ExpectOnlyPrompt(const ScriptedUser& user, const std::string& text, short style) {
    ASSERT_EQ(user.prompts().size(), 1u) << "expected the prompt \"" << text << "\"";
    EXPECT_EQ(user.prompts()[0].text, text);
    EXPECT_EQ(user.prompts()[0].style, style);
}

const FixedClock kClock;

TEST(payment_calendar_activation, focus_follows_the_remembered_loan_date) {
    auto r = RegularLoan(kFreqMonthly, 30, 360);
    r->gsEndDate = "03-10-2023";
    Pay empty(*r, kClock);
    EXPECT_EQ(empty.activate().focus, Pay::Control::mskStartDate);
    EXPECT_EQ(empty.display().mskStartDate, "__-__-____");
    EXPECT_EQ(empty.display().lblDate2, "Payment/Advance Date:");
    EXPECT_EQ(empty.display().lblDateDiff, "");
    EXPECT_TRUE(r->gbCalFilledSchedule);

    r->gsLoanDate = "01-15-2023";
    Pay remembered(*r, kClock);
    EXPECT_EQ(remembered.activate().focus, Pay::Control::mskEndDate);
    EXPECT_EQ(remembered.display().mskStartDate, "01-15-2023");
    EXPECT_EQ(remembered.display().lblLoanWeekDay, "Sunday");
    EXPECT_EQ(remembered.display().mskEndDate, "__-__-____");  // a payment date always starts empty
    EXPECT_TRUE(remembered.accepted(Pay::Field::kLoanDate));

    auto c = ConstructionLoan();
    c->gsLoanDate = "01-15-2023";
    c->gsEndDate = "10-15-2023";
    Pay construction(*c, kClock);
    construction.activate();
    EXPECT_EQ(construction.display().lblDate2, "Construction Period End Date:");
    EXPECT_EQ(construction.display().mskEndDate, "10-15-2023");
    EXPECT_EQ(construction.display().lblPymtWeekDay, "Sunday");
}

TEST(payment_calendar_leave_field, a_wrong_date_is_refused_with_the_fields_message) {
    struct Row { bool regular; Pay::Field field; const char* message; Pay::Control focus; };
    const Row rows[] = {
        {true, Pay::Field::kLoanDate, "Enter valid loan date in mm-dd-yyyy format.", Pay::Control::mskStartDate},
        {true, Pay::Field::kEndDate, "Enter valid payment/advance date in mm-dd-yyyy format.", Pay::Control::mskEndDate},
        {false, Pay::Field::kEndDate, "Enter valid construction period end date in mm-dd-yyyy format.",
         Pay::Control::mskEndDate},
    };
    for (const Row& row : rows) {
        auto r = row.regular ? RegularLoan(kFreqMonthly, 30, 360) : ConstructionLoan();
        Pay calendar(*r, kClock);
        calendar.activate();
        ScriptedUser user;
        calendar.leaveField(row.field, "02-28-2023", user);
        const Pay::Outcome outcome = calendar.leaveField(row.field, "02-30-2024", user);
        EXPECT_EQ(outcome.focus, row.focus) << row.message;
        ExpectOnlyPrompt(user, row.message, kStyleExclamation);
        const Pay::Display& d = calendar.display();
        EXPECT_EQ(row.field == Pay::Field::kLoanDate ? d.mskStartDate : d.mskEndDate, "__-__-____");
        EXPECT_EQ(row.field == Pay::Field::kLoanDate ? d.lblLoanWeekDay : d.lblPymtWeekDay, "");
        EXPECT_FALSE(calendar.accepted(row.field));
    }
}

TEST(payment_calendar_leave_field, dates_are_rewritten_and_the_days_between_shown) {
    auto r = RegularLoan(kFreqMonthly, 30, 360);
    Pay calendar(*r, kClock);
    calendar.activate();
    ScriptedUser user;
    EXPECT_EQ(calendar.leaveField(Pay::Field::kLoanDate, "01/01/2020", user).focus, Pay::Control::kUnchanged);
    EXPECT_EQ(calendar.display().mskStartDate, "01-01-2020");
    EXPECT_EQ(calendar.display().lblLoanWeekDay, "Wednesday");
    calendar.leaveField(Pay::Field::kEndDate, "12/31/2025", user);
    EXPECT_EQ(calendar.display().lblPymtWeekDay, "Wednesday");
    EXPECT_EQ(calendar.display().lblActualDays, "2,191");
    EXPECT_EQ(r->gdCalActualDays, 2191);
    EXPECT_TRUE(user.prompts().empty());

    // Leaving an empty field checks nothing.
    calendar.leaveField(Pay::Field::kEndDate, "__-__-____", user);
    EXPECT_TRUE(user.prompts().empty());
    EXPECT_FALSE(calendar.accepted(Pay::Field::kEndDate));
}

TEST(payment_calendar_leave_field, construction_in_whole_months_counts_months) {
    auto r = ConstructionLoan();
    r->construction.optIntAccrl = 0;
    Pay calendar(*r, kClock);
    calendar.activate();
    ScriptedUser user;
    calendar.leaveField(Pay::Field::kLoanDate, "01-15-2023", user);
    calendar.leaveField(Pay::Field::kEndDate, "10-15-2023", user);
    EXPECT_EQ(r->gdCalActualDays, 9);
    EXPECT_EQ(calendar.display().lblActualDays, "273");  // the label always shows days
    EXPECT_TRUE(calendar.MultipleOfMonth());
}

TEST(payment_calendar_leave_field, skipped_after_the_error_screen_and_cancelling_after_cancel) {
    auto r = RegularLoan(kFreqMonthly, 30, 360);
    Pay calendar(*r, kClock);
    calendar.activate();
    ScriptedUser user;
    r->gbErrorShown = true;
    calendar.leaveField(Pay::Field::kLoanDate, "99-99-9999", user);
    EXPECT_TRUE(user.prompts().empty());
    EXPECT_EQ(calendar.display().mskStartDate, "__-__-____");

    r->gbErrorShown = false;
    r->gbCalendarCancel = true;
    r->gdCalUnitPeriods = 3;
    EXPECT_TRUE(calendar.leaveField(Pay::Field::kLoanDate, "01-15-2023", user).close);
    EXPECT_EQ(r->gdCalUnitPeriods, 0);
    EXPECT_FALSE(r->gbCalendarOK);
}

// Fills both dates the way a user does: typing, then leaving the field.
void Enter(Pay& calendar, const char* loan, const char* end) {
    ScriptedUser quiet;
    calendar.leaveField(Pay::Field::kLoanDate, loan, quiet);
    calendar.leaveField(Pay::Field::kEndDate, end, quiet);
}

TEST(payment_calendar_ok, refusals_and_where_the_focus_goes) {
    auto r = RegularLoan(kFreqMonthly, 30, 360);
    {
        Pay calendar(*r, kClock);
        calendar.activate();
        ScriptedUser user;
        EXPECT_EQ(calendar.ok(user).focus, Pay::Control::mskStartDate);
        ExpectOnlyPrompt(user, "Enter both dates before pressing OK.", kStyleExclamation);
        Enter(calendar, "01-15-2023", "");
        user.clear();
        EXPECT_EQ(calendar.ok(user).focus, Pay::Control::mskEndDate);
        ExpectOnlyPrompt(user, "Enter both dates before pressing OK.", kStyleExclamation);
    }
    {
        Pay calendar(*r, kClock);
        calendar.activate();
        Enter(calendar, "01-15-2023", "01-14-2023");  // refused on OK, not on leaving the field
        EXPECT_EQ(calendar.display().lblActualDays, "-1");
        ScriptedUser user;
        const Pay::Outcome outcome = calendar.ok(user);
        EXPECT_EQ(outcome.focus, Pay::Control::mskEndDate);
        EXPECT_FALSE(outcome.close);
        ExpectOnlyPrompt(user, "Payment/advance date must be the same as or later than loan date.", kStyleExclamation);
        EXPECT_EQ(calendar.display().mskEndDate, "__-__-____");
        EXPECT_EQ(calendar.display().lblPymtWeekDay, "");
        EXPECT_EQ(calendar.display().lblActualDays, "");
    }
}

TEST(payment_calendar_ok, a_monthly_stream_is_handed_back) {
    auto r = RegularLoan(kFreqMonthly, 30, 360);
    Pay calendar(*r, kClock);
    calendar.activate();
    Enter(calendar, "01-15-2023", "03-10-2023");
    ScriptedUser user;
    const Pay::Outcome outcome = calendar.ok(user);
    EXPECT_TRUE(outcome.close);
    EXPECT_TRUE(calendar.closed());
    EXPECT_TRUE(user.prompts().empty());
    EXPECT_EQ(r->gdCalUnitPeriods, 1);
    EXPECT_EQ(r->gdCalOddDays, 26);
    EXPECT_TRUE(r->gbCalendarOK);
    EXPECT_FALSE(r->gbCalendarCancel);
    EXPECT_EQ(r->gsLoanDate, "01-15-2023");
    EXPECT_EQ(r->gsEndDate, "03-10-2023");
    EXPECT_EQ(r->gsCalendarStamp, "123456");
}

TEST(payment_calendar_ok, a_basis_switch_clears_the_payment_date) {
    auto r = RegularLoan(kFreqMultiplesOfMonth, 360, 360);
    r->dMonths = 12;
    r->giDayBasis = kDayBasisEvenMonths;
    Pay calendar(*r, kClock);
    calendar.activate();
    Enter(calendar, "03-15-2020", "05-20-2023");
    ScriptedUser user;
    EXPECT_EQ(calendar.ok(user).focus, Pay::Control::mskEndDate);
    ExpectOnlyPrompt(user, "Switch from even months to actual days not allowed.", kStyleExclamation);
    EXPECT_EQ(calendar.display().mskEndDate, "__-__-____");
    EXPECT_EQ(calendar.display().lblPymtWeekDay, "");
    EXPECT_FALSE(r->gbCalendarOK);
}

TEST(payment_calendar_ok, single_payment_refusals_point_at_cancel_and_cancel_zeroes) {
    struct Row { std::int16_t code; const char* message; };
    const Row rows[] = {
        {kFreqEqualMonthsSingle, "Loan term is not a multiple of a month.  Do not use this payment frequency."},
        {kFreqActualDaysSingle, "Loan term with equal months may not use this payment frequency."},
    };
    for (const Row& row : rows) {
        auto r = RegularLoan(row.code, 30, 360);
        Pay calendar(*r, kClock);
        calendar.activate();
        Enter(calendar, "01-15-2023", row.code == kFreqEqualMonthsSingle ? "07-20-2023" : "07-15-2024");
        ScriptedUser user;
        EXPECT_EQ(calendar.ok(user).focus, Pay::Control::cmdFedCalCancel) << row.message;
        ExpectOnlyPrompt(user, row.message, kStyleExclamation);
        EXPECT_TRUE(calendar.cancel().close);
        EXPECT_EQ(r->gdCalUnitPeriods, 0);
        EXPECT_EQ(r->gdCalOddDays, 0);
        EXPECT_TRUE(r->gbCalendarCancel);
        EXPECT_FALSE(r->gbCalendarOK);
        EXPECT_EQ(r->gsLoanDate, "");  // nothing remembered from a cancelled calendar
    }
}

TEST(payment_calendar_ok, construction_phase_rules) {
    auto r = ConstructionLoan();
    r->construction.optIntAccrl = 0;
    {
        Pay calendar(*r, kClock);
        calendar.activate();
        Enter(calendar, "01-15-2023", "10-20-2023");
        ScriptedUser user;
        EXPECT_EQ(calendar.ok(user).focus, Pay::Control::mskEndDate);
        ExpectOnlyPrompt(user,
                         "Construction phase must be a multiple of a month.  You may want to change your interest "
                         "accrual option to actual days.",
                         kStyleExclamation);
    }
    r->construction.optIntAccrl = 1;  // 365/365, disclosed separately
    Pay calendar(*r, kClock);
    calendar.activate();
    Enter(calendar, "01-01-2023", "07-20-2023");
    ScriptedUser user;
    EXPECT_TRUE(calendar.ok(user).close);
    EXPECT_EQ(r->gdCalActualDays, 200);
    EXPECT_EQ(r->gdCalUnitPeriods, 1);
    EXPECT_EQ(r->gdDaysinUnitPd, 200);
    EXPECT_EQ(r->gdCalOddDays, 0);
    EXPECT_EQ(r->gdDaysinYr, 365);
}

const char* const kNoteRest =
    "that may have already been used in other time period calculations.\r\n\r\n"
    "Making the change here will NOT cause re-calculation of those values.\r\n\r\n"
    "You may want to check to see if those values are still valid and make changes if necessary.";

TEST(date_change_note, regular_loan_date_changed_with_streams_measured) {
    struct Row { std::int16_t gridRow; const char* rowOneUnits; const char* newLoan; bool note; };
    const Row rows[] = {
        {2, "3", "02-01-2023", true},
        {1, "3", "02-01-2023", false},  // one row: nothing measured before
        {2, "", "02-01-2023", false},
        {2, "3", "01-15-2023", false},  // unchanged
    };
    for (const Row& row : rows) {
        auto r = RegularLoan(kFreqMonthly, 30, 360);
        r->gsLoanDate = "01-15-2023";
        r->giGridRow = row.gridRow;
        r->gaUnitPeriods[1] = row.rowOneUnits;
        Pay calendar(*r, kClock);
        calendar.activate();
        Enter(calendar, row.newLoan, "05-01-2023");
        ScriptedUser user;
        EXPECT_TRUE(calendar.ok(user).close);
        if (row.note)
            ExpectOnlyPrompt(user, std::string("Note that you have just changed a date (Loan Date) ") + kNoteRest,
                             kStyleInformation);
        else
            EXPECT_TRUE(user.prompts().empty()) << "grid row " << row.gridRow << ", loan " << row.newLoan;
        EXPECT_EQ(r->gsLoanDate, row.newLoan);
    }
}

TEST(date_change_note, construction_names_the_dates_changed) {
    struct Row { const char* loan; const char* end; const char* first; };
    const Row rows[] = {
        {"02-15-2023", "11-15-2023",
         "Note that you have just changed dates (Loan Date and Construction Period End Date) "},
        {"02-15-2023", "10-15-2023", "Note that you have just changed a date (Loan Date) "},
        {"01-15-2023", "11-15-2023", "Note that you have just changed a date (Construction Period End Date) "},
        {"01-15-2023", "10-15-2023", nullptr},
    };
    for (const Row& row : rows) {
        auto r = ConstructionLoan();
        r->construction.optIntAccrl = 0;
        r->construction.optDiscType = 1;
        r->gsLoanDate = "01-15-2023";
        r->gsEndDate = "10-15-2023";
        r->giGridRow = 3;
        r->gaUnitPeriods[1] = "4";
        Pay calendar(*r, kClock);
        calendar.activate();
        Enter(calendar, row.loan, row.end);
        ScriptedUser user;
        EXPECT_TRUE(calendar.ok(user).close) << row.loan << " " << row.end;
        if (row.first)
            ExpectOnlyPrompt(user, std::string(row.first) + kNoteRest, kStyleInformation);
        else
            EXPECT_TRUE(user.prompts().empty());
        EXPECT_EQ(r->gsEndDate, row.end);
    }
}

// The construction date calculator.

void Enter(Con& calendar, const char* loan, const char* end, const char* amort) {
    ScriptedUser quiet;
    calendar.leaveField(Con::Field::kLoanDate, loan, quiet);
    calendar.leaveField(Con::Field::kConstrEndDate, end, quiet);
    calendar.leaveField(Con::Field::kAmortPymtDate, amort, quiet);
}

TEST(construction_calendar, activation_and_field_messages) {
    auto r = ConstructionLoan();
    r->gsLoanDate = "01-15-2023";
    r->gsEndDate = "10-15-2023";
    r->gsAmortPymtDate = "11-15-2023";
    Con calendar(*r, kClock);
    EXPECT_EQ(calendar.activate().focus, Con::Control::mskConstrEndDate);
    EXPECT_EQ(calendar.display().mskLoanDate, "01-15-2023");
    EXPECT_EQ(calendar.display().mskConstrEndDate, "10-15-2023");
    EXPECT_EQ(calendar.display().mskAmortPymtDate, "__-__-____");
    EXPECT_TRUE(calendar.accepted(Con::Field::kLoanDate));

    struct Row { Con::Field field; const char* message; Con::Control focus; };
    const Row rows[] = {
        {Con::Field::kLoanDate, "Enter valid loan date in mm-dd-yyyy format.", Con::Control::mskLoanDate},
        {Con::Field::kConstrEndDate, "Enter valid construction period end date in mm-dd-yyyy format.",
         Con::Control::mskConstrEndDate},
        {Con::Field::kAmortPymtDate, "Enter valid amortization payment date in mm-dd-yyyy format.",
         Con::Control::mskAmortPymtDate},
    };
    for (const Row& row : rows) {
        ScriptedUser user;
        EXPECT_EQ(calendar.leaveField(row.field, "13-01-2023", user).focus, row.focus);
        ExpectOnlyPrompt(user, row.message, kStyleExclamation);
    }
}

TEST(construction_calendar, ok_refuses_missing_and_unordered_dates) {
    auto r = ConstructionLoan();
    r->giPymtFreq = kFreqMonthly;
    r->gdDaysinUnitPd = 30;
    Con calendar(*r, kClock);
    calendar.activate();
    Enter(calendar, "01-15-2023", "10-15-2023", "");
    ScriptedUser user;
    EXPECT_EQ(calendar.ok(user).focus, Con::Control::mskAmortPymtDate);
    ExpectOnlyPrompt(user, "Enter all 3 dates before pressing OK.", kStyleExclamation);

    Enter(calendar, "01-15-2023", "01-15-2023", "03-15-2023");
    user.clear();
    EXPECT_EQ(calendar.ok(user).focus, Con::Control::mskLoanDate);
    ExpectOnlyPrompt(user, "Dates must be entered in ascending order.", kStyleExclamation);

    Enter(calendar, "01-15-2023", "10-15-2023", "10-14-2023");
    user.clear();
    EXPECT_EQ(calendar.ok(user).focus, Con::Control::mskLoanDate);
    ExpectOnlyPrompt(user, "Dates must be entered in ascending order.", kStyleExclamation);
}

TEST(construction_calendar, ok_hands_back_half_the_construction_term) {
    auto r = ConstructionLoan();
    r->giPymtFreq = kFreqMonthly;
    r->gdDaysinUnitPd = 30;
    r->gdDaysinYr = 360;
    Con calendar(*r, kClock);
    calendar.activate();
    Enter(calendar, "01-15-2023", "10-15-2023", "10-15-2023");  // amortization on the construction end: p = 0
    EXPECT_EQ(calendar.display().lblActualDays, "273");
    ScriptedUser user;
    EXPECT_TRUE(calendar.ok(user).close);
    EXPECT_EQ(r->gdCalUnitPeriods, 4);
    EXPECT_EQ(r->gdCalOddDays, 15);
    EXPECT_EQ(r->dActDays, 273);
    EXPECT_TRUE(r->gbCalendarOK);
    EXPECT_EQ(r->gsLoanDate, "01-15-2023");
    EXPECT_EQ(r->gsEndDate, "10-15-2023");
    EXPECT_EQ(r->gsAmortPymtDate, "10-15-2023");
    EXPECT_EQ(r->gsCalendarStamp, "123456");
}

TEST(construction_calendar, rule_refusals_and_cancel) {
    auto r = ConstructionLoan();
    r->giPymtFreq = kFreqMultiplesOfMonth;
    r->dMonths = 12;
    r->giDayBasis = kDayBasisEvenMonths;
    Con calendar(*r, kClock);
    calendar.activate();
    Enter(calendar, "01-15-2023", "07-20-2023", "01-15-2025");
    ScriptedUser user;
    EXPECT_EQ(calendar.ok(user).focus, Con::Control::mskAmortPymtDate);
    ExpectOnlyPrompt(user, "Switch from even months to actual days not allowed.", kStyleExclamation);
    EXPECT_EQ(calendar.display().mskAmortPymtDate, "__-__-____");

    r->giPymtFreq = kFreqEqualMonthsSingle;
    Enter(calendar, "01-15-2023", "10-15-2023", "10-15-2024");
    user.clear();
    EXPECT_EQ(calendar.ok(user).focus, Con::Control::cmdFedCalCancel);
    ExpectOnlyPrompt(user,
                     "1/2 construction term + permanent phase must be equal months.  Change the dates or click "
                     "Cancel and choose actual days.",
                     kStyleExclamation);

    EXPECT_TRUE(calendar.cancel().close);
    EXPECT_EQ(r->gdCalUnitPeriods, 0);
    EXPECT_EQ(r->gdCalOddDays, 0);
    EXPECT_TRUE(r->gbCalendarCancel);
    EXPECT_FALSE(r->gbCalendarOK);
}

}  // namespace
}  // namespace tallex
