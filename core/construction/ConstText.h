#pragma once
// Reading the construction pages' fields and telling the user what was refused.

#include "engine/LoanRecord.h"
#include "ui/UserSeam.h"

#include <string>
#include <string_view>

namespace tallex {

// The words a message quotes from a field's caption: the caption without its last character
// (the colon), in lower case. "# of Days:" -> "# of days".
std::string CaptionWords(std::string_view caption);

// The amount a money field holds, taken to cents as the "Fixed" format does: "$1,234.567" ->
// 1234.57. The currency sign and thousands separators are ignored; a text that is not a number
// reads by its leading number (0 when it has none).
double FixedAmount(std::string_view text);

// The number a field holds, currency sign and thousands separators ignored: "1,000." -> 1000.
double FieldNumber(std::string_view text);

// A refusal: style 48 through the UserSeam, prompt and answer kept in the message scratch.
void ShowConstRefusal(LoanRecord& record, UserSeam& user, const std::string& text);

// The outcome of a page's Continue: passed, or the refusal shown and the field that takes the
// focus (its tag).
struct ConstContinueResult {
    bool passed = true;
    std::string message;
    int focusField = -1;  // -1 when the focus does not move
};

}  // namespace tallex
