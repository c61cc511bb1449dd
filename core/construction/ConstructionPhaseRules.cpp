#include "construction/ConstructionPhaseRules.h"

#include "calendar/MonthCount.h"
#include "calendar/MultipleOfMonth.h"

namespace tallex {

namespace {
constexpr std::int16_t kAccrualWholeMonths = 0;
constexpr std::int16_t kAccrualActual365 = 1;
constexpr std::int16_t kAccrualActual360 = 2;
constexpr std::int16_t kAccrualOther = 3;
constexpr std::int16_t kTermInMonths = 0;
constexpr std::int16_t kTermInDays = 1;
constexpr std::int16_t kDisclosedSeparately = 0;
}  // namespace

bool ConstructionAccruesInWholeMonths(const ConstructionChoices& choices) {
    if (choices.optIntAccrl == kAccrualWholeMonths) return true;
    return choices.optIntAccrl == kAccrualOther && choices.optOther == kTermInMonths &&
           choices.optDiscType == kDisclosedSeparately;
}

bool SeparateConstructionInActualDays(const ConstructionChoices& choices) {
    if (choices.optDiscType != kDisclosedSeparately) return false;
    return choices.optIntAccrl == kAccrualActual365 || choices.optIntAccrl == kAccrualActual360 ||
           (choices.optIntAccrl == kAccrualOther && choices.optOther == kTermInDays);
}

CalendarRefusal CheckConstructionWholeMonths(const LoanRecord& record, const CalendarDate& loanDate,
                                             const CalendarDate& endDate) {
    if (ConstructionAccruesInWholeMonths(record.construction) && !MultipleOfMonth(loanDate, endDate))
        return CalendarRefusal::kConstructionNotMultipleOfMonth;
    return CalendarRefusal::kNone;
}

CalendarRefusal ApplyConstructionPhaseRule(LoanRecord& record, const CalendarDate& loanDate,
                                           const CalendarDate& endDate) {
    if (!SeparateConstructionInActualDays(record.construction)) return CalendarRefusal::kNone;
    const MonthCountResult count = CountMonths(record, loanDate, endDate);
    record.gdCalDayGap = count.oddDays();
    if (record.gdCalDayGap <= 0 && count.months >= 12 && count.months % 12 != 0)
        return CalendarRefusal::kEqualMonthsTerm;
    // The annual count only ever changes the basis on success, so nothing needs restoring.
    CountYearsBack(record, loanDate, endDate);
    return CalendarRefusal::kNone;
}

}  // namespace tallex
