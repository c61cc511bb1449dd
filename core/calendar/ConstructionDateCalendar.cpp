#include "calendar/ConstructionDateCalendar.h"

#include "calendar/CalendarSessionSupport.h"
#include "calendar/ConstructionSpanRules.h"
#include "calendar/DateChangeNote.h"

namespace tallex {

namespace {
constexpr std::string_view kEnterValidLoanDate = "Enter valid loan date in mm-dd-yyyy format.";
constexpr std::string_view kEnterValidEndDate = "Enter valid construction period end date in mm-dd-yyyy format.";
constexpr std::string_view kEnterValidAmortDate = "Enter valid amortization payment date in mm-dd-yyyy format.";
constexpr std::string_view kEnterAllDates = "Enter all 3 dates before pressing OK.";
constexpr std::string_view kNotAscending = "Dates must be entered in ascending order.";
}  // namespace

ConstructionDateCalendar::ConstructionDateCalendar(LoanRecord& record, const Clock& clock)
    : record_(record), clock_(clock) {
    record_.gbCalendarCancel = false;
}

std::string& ConstructionDateCalendar::text(Field field) {
    switch (field) {
    case Field::kLoanDate: return display_.mskLoanDate;
    case Field::kConstrEndDate: return display_.mskConstrEndDate;
    case Field::kAmortPymtDate: break;
    }
    return display_.mskAmortPymtDate;
}

std::string& ConstructionDateCalendar::weekday(Field field) {
    switch (field) {
    case Field::kLoanDate: return display_.lblLoanWeekDay;
    case Field::kConstrEndDate: return display_.lblConstrEndWeekDay;
    case Field::kAmortPymtDate: break;
    }
    return display_.lblAmortPymtWeekDay;
}

ConstructionDateCalendar::Outcome ConstructionDateCalendar::activate() {
    record_.gbCalFilledSchedule = true;
    display_ = Display{};
    for (bool& flag : accepted_) flag = false;

    if (const auto loan = ParseDateText(record_.gsLoanDate)) {
        display_.mskLoanDate = DateText(*loan);
        display_.lblLoanWeekDay = WeekdayName(*loan);
    }
    if (record_.gbConstruction)
        if (const auto end = ParseDateText(record_.gsEndDate)) {
            display_.mskConstrEndDate = DateText(*end);
            display_.lblConstrEndWeekDay = WeekdayName(*end);
        }

    if (IsEmptyDateText(display_.mskLoanDate)) return {Control::mskLoanDate, false};
    accepted_[Index(Field::kLoanDate)] = true;
    return {Control::mskConstrEndDate, false};
}

ConstructionDateCalendar::Outcome ConstructionDateCalendar::leaveField(Field field, std::string_view typed,
                                                                       UserSeam& user) {
    if (closed_ || record_.gbErrorShown) return {};
    if (record_.gbCalendarCancel) return cancel();

    accepted_[Index(field)] = false;
    Outcome outcome;
    const LeftDateField left = ReadLeftDateField(record_, typed);
    text(field) = left.shown;
    if (!left.empty) {
        if (left.date) {
            accepted_[Index(field)] = true;
            weekday(field) = WeekdayName(*left.date);
        } else {
            std::string_view message = kEnterValidLoanDate;
            Control focus = Control::mskLoanDate;
            if (field == Field::kConstrEndDate) {
                message = kEnterValidEndDate;
                focus = Control::mskConstrEndDate;
            } else if (field == Field::kAmortPymtDate) {
                message = kEnterValidAmortDate;
                focus = Control::mskAmortPymtDate;
            }
            ShowCalendarMessage(record_, user, message, kStyleExclamation);
            text(field) = std::string(kEmptyDateMask);
            weekday(field).clear();
            outcome.focus = focus;
        }
    }

    const auto loan = ParseDateText(display_.mskLoanDate);
    const auto amort = ParseDateText(display_.mskAmortPymtDate);
    if (loan && amort && accepted_[Index(Field::kLoanDate)] && accepted_[Index(Field::kAmortPymtDate)])
        display_.lblActualDays = ActualDaysLabel(*loan, *amort);
    return outcome;
}

ConstructionDateCalendar::Outcome ConstructionDateCalendar::ok(UserSeam& user) {
    if (closed_) return {};
    const auto loan = ParseDateText(display_.mskLoanDate);
    const auto end = ParseDateText(display_.mskConstrEndDate);
    const auto amort = ParseDateText(display_.mskAmortPymtDate);
    if (!loan || !end || !amort) {
        ShowCalendarMessage(record_, user, kEnterAllDates, kStyleExclamation);
        if (!loan) return {Control::mskLoanDate, false};
        if (!end) return {Control::mskConstrEndDate, false};
        return {Control::mskAmortPymtDate, false};
    }
    if (DaysBetween(*loan, *end) <= 0 || DaysBetween(*end, *amort) < 0) {
        ShowCalendarMessage(record_, user, kNotAscending, kStyleExclamation);
        return {Control::mskLoanDate, false};
    }

    const CalendarRefusal refusal = ApplyConstructionSpanRule(record_, *loan, *end, *amort);
    if (refusal == CalendarRefusal::kSwitchToEvenMonths || refusal == CalendarRefusal::kSwitchToActualDays) {
        ShowCalendarMessage(record_, user, RefusalMessage(refusal), kStyleExclamation);
        display_.mskAmortPymtDate = std::string(kEmptyDateMask);
        display_.lblAmortPymtWeekDay.clear();
        accepted_[Index(Field::kAmortPymtDate)] = false;
        return {Control::mskAmortPymtDate, false};
    }
    if (refusal != CalendarRefusal::kNone) {
        ShowCalendarMessage(record_, user, RefusalMessage(refusal), kStyleExclamation);
        return {Control::cmdFedCalCancel, false};
    }

    record_.gbCalendarOK = true;
    record_.gbCalendarCancel = false;
    const std::string note = DateChangeNote(record_, *loan, *end);
    if (!note.empty()) ShowCalendarMessage(record_, user, note, kStyleInformation);
    record_.gsLoanDate = DateText(*loan);
    record_.gsEndDate = DateText(*end);
    record_.gsAmortPymtDate = DateText(*amort);
    return close();
}

ConstructionDateCalendar::Outcome ConstructionDateCalendar::cancel() {
    if (closed_) return {};
    record_.gdCalUnitPeriods = 0;
    record_.gdCalOddDays = 0;
    record_.gbCalendarCancel = true;
    record_.gbCalendarOK = false;
    return close();
}

ConstructionDateCalendar::Outcome ConstructionDateCalendar::close() {
    record_.gsCalendarStamp = CalendarStamp(clock_);
    closed_ = true;
    return {Control::kUnchanged, true};
}

}  // namespace tallex
