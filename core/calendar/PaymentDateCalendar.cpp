#include "calendar/PaymentDateCalendar.h"

#include "calendar/FrequencyRules.h"
#include "calendar/MonthCount.h"
#include "calendar/MultipleOfMonth.h"
#include "construction/ConstructionPhaseRules.h"

namespace tallex {

namespace {
constexpr std::string_view kEnterValidPaymentDate = "Enter valid payment/advance date in mm-dd-yyyy format.";
constexpr std::string_view kEnterBothDates = "Enter both dates before pressing OK.";
constexpr std::string_view kPaymentBeforeLoan = "Payment/advance date must be the same as or later than loan date.";
}  // namespace

std::string_view PaymentDateCalendar::invalidDateMessage(Field field) const {
    if (field == Field::kLoanDate) return kEnterValidLoanDate;
    return record_.gbAppendixJ ? kEnterValidPaymentDate : kEnterValidEndDate;
}

PaymentDateCalendar::Outcome PaymentDateCalendar::activate() {
    record_.gbCalFilledSchedule = true;
    display_.lblDate2 = std::string(record_.gbAppendixJ ? kPaymentDateLabel : kConstructionEndLabel);
    display_.lblDateDiff.clear();
    display_.lblLoanWeekDay.clear();
    display_.lblPymtWeekDay.clear();
    display_.mskStartDate = std::string(kEmptyDateMask);
    display_.mskEndDate = std::string(kEmptyDateMask);
    accepted_ = {};

    if (const auto loan = ParseDateText(record_.gsLoanDate)) display_.mskStartDate = DateText(*loan);
    // A regular loan's payment date always starts empty: each stream has its own.
    if (record_.gbConstruction)
        if (const auto end = ParseDateText(record_.gsEndDate)) display_.mskEndDate = DateText(*end);
    if (!record_.gsLoanDate.empty()) display_.lblLoanWeekDay = WeekdayName(record_.gsLoanDate);
    if (!IsEmptyDateText(display_.mskEndDate)) display_.lblPymtWeekDay = WeekdayName(display_.mskEndDate);

    return focusAfterActivation();
}

void PaymentDateCalendar::computeActualDays(const CalendarDate& loan, const CalendarDate& end) {
    if (record_.gbConstruction && ConstructionAccruesInWholeMonths(record_.construction))
        record_.gdCalActualDays = CountMonths(record_, loan, end).months;
    else
        record_.gdCalActualDays = static_cast<double>(DaysBetween(loan, end));
}

void PaymentDateCalendar::dateAccepted(Field field, const CalendarDate& date) {
    const Field other = field == Field::kLoanDate ? Field::kEndDate : Field::kLoanDate;
    if (const auto otherDate = ParseDateText(text(other))) {
        if (field == Field::kLoanDate)
            computeActualDays(date, *otherDate);
        else
            computeActualDays(*otherDate, date);
    }
}

PaymentDateCalendar::Outcome PaymentDateCalendar::ok(UserSeam& user) {
    if (closed_) return {};
    const auto loan = ParseDateText(display_.mskStartDate);
    const auto end = ParseDateText(display_.mskEndDate);
    if (!loan || !end) return refuseFirstMissing(user, kEnterBothDates);

    // Measured again from the dates shown, so that no value left from an earlier opening decides.
    computeActualDays(*loan, *end);
    if (record_.gdCalActualDays < 0) {
        Outcome outcome = refuseAndClear(user, kPaymentBeforeLoan, Field::kEndDate);
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
            return refuseAndClear(user, RefusalMessage(refusal), Field::kEndDate);
        if (refusal != CalendarRefusal::kNone) return refuse(user, RefusalMessage(refusal), Control::cmdFedCalCancel);
    }
    if (record_.gbConstruction) {
        const CalendarRefusal refusal = ApplyConstructionPhaseRule(record_, *loan, *end);
        if (refusal != CalendarRefusal::kNone) return refuse(user, RefusalMessage(refusal), Control::cmdFedCalCancel);
    }

    acceptDates(user, *loan, *end);
    return close();
}

bool PaymentDateCalendar::MultipleOfMonth() const {
    const auto loan = ParseDateText(display_.mskStartDate);
    const auto end = ParseDateText(display_.mskEndDate);
    return loan && end && tallex::MultipleOfMonth(*loan, *end);
}

}  // namespace tallex
