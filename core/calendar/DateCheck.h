#pragma once
// The check a date field runs when the user leaves it, with the working fields of the record
// that the calendar rules share.

#include "engine/LoanRecord.h"

#include <string>
#include <string_view>

namespace tallex {

// Checks one date text (see ParseDateText for what is read). A valid date sets giDateError to 0
// and giWorkYear to its year and returns the text the field then shows: "mm-dd-yyyy", any "/"
// rewritten as "-". Anything else sets giDateError to 1 and returns kEmptyDateMask.
std::string CheckDate(LoanRecord& record, std::string_view text);

}  // namespace tallex
