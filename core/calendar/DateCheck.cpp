#include "calendar/DateCheck.h"

#include "calendar/CalendarDate.h"

namespace tallex {

std::string CheckDate(LoanRecord& record, std::string_view text) {
    const auto date = ParseDateText(text);
    if (!date) {
        record.giDateError = 1;
        return std::string(kEmptyDateMask);
    }
    record.giDateError = 0;
    record.giWorkYear = static_cast<std::int16_t>(date->year);
    return DateText(*date);
}

}  // namespace tallex
