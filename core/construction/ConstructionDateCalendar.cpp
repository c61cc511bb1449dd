#include "construction/ConstructionDateCalendar.h"

#include "construction/ConstructionSpanRules.h"

namespace tallex {

namespace {
constexpr std::string_view kEnterValidAmortDate = "Enter valid amortization payment date in mm-dd-yyyy format.";
constexpr std::string_view kEnterAllDates = "Enter all 3 dates before pressing OK.";
constexpr std::string_view kNotAscending = "Dates must be entered in ascending order.";
}  // namespace

std::string_view ConstructionDateCalendar::invalidDateMessage(Field field) const {
    switch (field) {
    case Field::kLoanDate: return kEnterValidLoanDate;
    case Field::kConstrEndDate: return kEnterValidEndDate;
    case Field::kAmortPymtDate: break;
    }
    return kEnterValidAmortDate;
}

ConstructionDateCalendar::Outcome ConstructionDateCalendar::activate() {
    record_.gbCalFilledSchedule = true;
    display_ = Display{};
    accepted_ = {};

    if (const auto loan = ParseDateText(record_.gsLoanDate)) {
        display_.mskLoanDate = DateText(*loan);
        display_.lblLoanWeekDay = WeekdayName(*loan);
    }
    if (record_.gbConstruction)
        if (const auto end = ParseDateText(record_.gsEndDate)) {
            display_.mskConstrEndDate = DateText(*end);
            display_.lblConstrEndWeekDay = WeekdayName(*end);
        }

    return focusAfterActivation();
}

ConstructionDateCalendar::Outcome ConstructionDateCalendar::ok(UserSeam& user) {
    if (closed_) return {};
    const auto loan = ParseDateText(display_.mskLoanDate);
    const auto end = ParseDateText(display_.mskConstrEndDate);
    const auto amort = ParseDateText(display_.mskAmortPymtDate);
    if (!loan || !end || !amort) return refuseFirstMissing(user, kEnterAllDates);
    if (DaysBetween(*loan, *end) <= 0 || DaysBetween(*end, *amort) < 0)
        return refuse(user, kNotAscending, Control::mskLoanDate);

    const CalendarRefusal refusal = ApplyConstructionSpanRule(record_, *loan, *end, *amort);
    if (refusal == CalendarRefusal::kSwitchToEvenMonths || refusal == CalendarRefusal::kSwitchToActualDays)
        return refuseAndClear(user, RefusalMessage(refusal), Field::kAmortPymtDate);
    if (refusal != CalendarRefusal::kNone) return refuse(user, RefusalMessage(refusal), Control::cmdFedCalCancel);

    acceptDates(user, *loan, *end);
    record_.gsAmortPymtDate = DateText(*amort);
    return close();
}

}  // namespace tallex
