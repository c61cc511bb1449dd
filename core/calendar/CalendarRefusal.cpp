#include "calendar/CalendarRefusal.h"

namespace tallex {

std::string_view RefusalMessage(CalendarRefusal refusal) {
    switch (refusal) {
    case CalendarRefusal::kNone: return "";
    case CalendarRefusal::kSwitchToEvenMonths: return "Switch from actual days to even months not allowed.";
    case CalendarRefusal::kSwitchToActualDays: return "Switch from even months to actual days not allowed.";
    case CalendarRefusal::kTermNotMultipleOfMonth:
        return "Loan term is not a multiple of a month.  Do not use this payment frequency.";
    case CalendarRefusal::kEqualMonthsTerm: return "Loan term with equal months may not use this payment frequency.";
    case CalendarRefusal::kConstructionNotMultipleOfMonth:
        return "Construction phase must be a multiple of a month.  You may want to change your interest "
               "accrual option to actual days.";
    case CalendarRefusal::kHalfTermNotEqualMonths:
        return "1/2 construction term + permanent phase must be equal months.  Change the dates or click "
               "Cancel and choose actual days.";
    case CalendarRefusal::kHalfTermConstructionNotMonths:
        return "Construction phase must be a multiple of a month.  Change the dates or click Cancel and "
               "choose actual days.";
    case CalendarRefusal::kHalfTermEqualMonths:
        return "1/2 construction term + permanent phase cannot be equal months.  Change the dates or click "
               "Cancel and choose whole months.";
    }
    return "";
}

}  // namespace tallex
