#include "calendar/PaymentDateCalendar.h"

#include "calendar/CalendarSessionSupport.h"
#include "calendar/ConstructionPhaseRules.h"
#include "calendar/DateChangeNote.h"
#include "calendar/FrequencyRules.h"
#include "calendar/MonthCount.h"
#include "calendar/MultipleOfMonth.h"

namespace tallex {

namespace {
constexpr std::string_view kEnterValidLoanDate = "Enter valid loan date in mm-dd-yyyy format.";
constexpr std::string_view kEnterValidPaymentDate = "Enter valid payment/advance date in mm-dd-yyyy format.";
constexpr std::string_view kEnterValidEndDate = "Enter valid construction period end date in mm-dd-yyyy format.";
constexpr std::string_view kEnterBothDates = "Enter both dates before pressing OK.";
constexpr std::string_view kPaymentBeforeLoan = "Payment/advance date must be the same as or later than loan date.";
}  // namespace

PaymentDateCalendar::PaymentDateCalendar(LoanRecord& record, const Clock& clock) : record_(record), clock_(clock) {
    record_.gbCalendarCancel = false;
}

std::string& PaymentDateCalendar::text(Field field) {
    return field == Field::kLoanDate ? display_.mskStartDate : display_.mskEndDate;
}

std::string& PaymentDateCalendar::weekday(Field field) {
    return field == Field::kLoanDate ? display_.lblLoanWeekDay : display_.lblPymtWeekDay;
}

PaymentDateCalendar::Outcome PaymentDateCalendar::activate() {
    record_.gbCalFilledSchedule = true;
    display_.lblDate2 = std::string(record_.gbAppendixJ ? kPaymentDateLabel : kConstructionEndLabel);
    display_.lblDateDiff.clear();
    display_.lblLoanWeekDay.clear();
    display_.lblPymtWeekDay.clear();
    display_.mskStartDate = std::string(kEmptyDateMask);
    display_.mskEndDate = std::string(kEmptyDateMask);
    loanAccepted_ = endAccepted_ = false;

    if (const auto loan = ParseDateText(record_.gsLoanDate)) display_.mskStartDate = DateText(*loan);
    // A regular loan's payment date always starts empty: each stream has its own.
    if (record_.gbConstruction)
        if (const auto end = ParseDateText(record_.gsEndDate)) display_.mskEndDate = DateText(*end);
    if (!record_.gsLoanDate.empty()) display_.lblLoanWeekDay = WeekdayName(record_.gsLoanDate);
    if (!IsEmptyDateText(display_.mskEndDate)) display_.lblPymtWeekDay = WeekdayName(display_.mskEndDate);

    if (IsEmptyDateText(display_.mskStartDate)) return {Control::mskStartDate, false};
    loanAccepted_ = true;
    return {Control::mskEndDate, false};
}

void PaymentDateCalendar::computeActualDays(const CalendarDate& loan, const CalendarDate& end) {
    if (record_.gbConstruction && ConstructionAccruesInWholeMonths(record_.construction))
        record_.gdCalActualDays = CountMonths(record_, loan, end).months;
    else
        record_.gdCalActualDays = static_cast<double>(DaysBetween(loan, end));
}

PaymentDateCalendar::Outcome PaymentDateCalendar::leaveField(Field field, std::string_view typed, UserSeam& user) {
    if (closed_ || record_.gbErrorShown) return {};
    if (record_.gbCalendarCancel) return cancel();

    bool& thisAccepted = field == Field::kLoanDate ? loanAccepted_ : endAccepted_;
    thisAccepted = false;
    Outcome outcome;
    const LeftDateField left = ReadLeftDateField(record_, typed);
    text(field) = left.shown;
    if (!left.empty) {
        if (left.date) {
            thisAccepted = true;
            weekday(field) = WeekdayName(*left.date);
            const Field other = field == Field::kLoanDate ? Field::kEndDate : Field::kLoanDate;
            if (const auto otherDate = ParseDateText(text(other))) {
                const CalendarDate& loan = field == Field::kLoanDate ? *left.date : *otherDate;
                const CalendarDate& end = field == Field::kLoanDate ? *otherDate : *left.date;
                computeActualDays(loan, end);
            }
        } else {
            std::string_view message = kEnterValidLoanDate;
            if (field == Field::kEndDate) message = record_.gbAppendixJ ? kEnterValidPaymentDate : kEnterValidEndDate;
            ShowCalendarMessage(record_, user, message, kStyleExclamation);
            text(field) = std::string(kEmptyDateMask);
            weekday(field).clear();
            outcome.focus = field == Field::kLoanDate ? Control::mskStartDate : Control::mskEndDate;
        }
    }

    const auto loan = ParseDateText(display_.mskStartDate);
    const auto end = ParseDateText(display_.mskEndDate);
    if (loan && end && loanAccepted_ && endAccepted_) display_.lblActualDays = ActualDaysLabel(*loan, *end);
    return outcome;
}

PaymentDateCalendar::Outcome PaymentDateCalendar::refuse(UserSeam& user, std::string_view message, Control focus) {
    ShowCalendarMessage(record_, user, message, kStyleExclamation);
    return {focus, false};
}

PaymentDateCalendar::Outcome PaymentDateCalendar::refuseAndClearEndDate(UserSeam& user, std::string_view message) {
    ShowCalendarMessage(record_, user, message, kStyleExclamation);
    display_.mskEndDate = std::string(kEmptyDateMask);
    display_.lblPymtWeekDay.clear();
    endAccepted_ = false;
    return {Control::mskEndDate, false};
}

PaymentDateCalendar::Outcome PaymentDateCalendar::ok(UserSeam& user) {
    if (closed_) return {};
    const auto loan = ParseDateText(display_.mskStartDate);
    const auto end = ParseDateText(display_.mskEndDate);
    if (!loan || !end) return refuse(user, kEnterBothDates, loan ? Control::mskEndDate : Control::mskStartDate);

    // Measured again from the dates shown, so that no value left from an earlier opening decides.
    computeActualDays(*loan, *end);
    if (record_.gdCalActualDays < 0) {
        Outcome outcome = refuseAndClearEndDate(user, kPaymentBeforeLoan);
        display_.lblActualDays.clear();
        return outcome;
    }

    if (record_.gbConstruction) {
        const CalendarRefusal refusal = CheckConstructionWholeMonths(record_, *loan, *end);
        if (refusal != CalendarRefusal::kNone) return refuse(user, RefusalMessage(refusal), Control::mskEndDate);
    }
    if (record_.gbAppendixJ) {
        const CalendarRefusal refusal = ApplyFrequencyRule(record_, *loan, *end);
        if (refusal == CalendarRefusal::kSwitchToEvenMonths || refusal == CalendarRefusal::kSwitchToActualDays)
            return refuseAndClearEndDate(user, RefusalMessage(refusal));
        if (refusal != CalendarRefusal::kNone) return refuse(user, RefusalMessage(refusal), Control::cmdFedCalCancel);
    }
    if (record_.gbConstruction) {
        const CalendarRefusal refusal = ApplyConstructionPhaseRule(record_, *loan, *end);
        if (refusal != CalendarRefusal::kNone) return refuse(user, RefusalMessage(refusal), Control::cmdFedCalCancel);
    }

    record_.gbCalendarOK = true;
    record_.gbCalendarCancel = false;
    const std::string note = DateChangeNote(record_, *loan, *end);
    if (!note.empty()) ShowCalendarMessage(record_, user, note, kStyleInformation);
    record_.gsLoanDate = DateText(*loan);
    record_.gsEndDate = DateText(*end);
    return close();
}

PaymentDateCalendar::Outcome PaymentDateCalendar::cancel() {
    if (closed_) return {};
    record_.gdCalUnitPeriods = 0;
    record_.gdCalOddDays = 0;
    record_.gbCalendarCancel = true;
    record_.gbCalendarOK = false;
    return close();
}

PaymentDateCalendar::Outcome PaymentDateCalendar::close() {
    record_.gsCalendarStamp = CalendarStamp(clock_);
    closed_ = true;
    return {Control::kUnchanged, true};
}

bool PaymentDateCalendar::MultipleOfMonth() const {
    const auto loan = ParseDateText(display_.mskStartDate);
    const auto end = ParseDateText(display_.mskEndDate);
    return loan && end && tallex::MultipleOfMonth(*loan, *end);
}

}  // namespace tallex
