#include "construction/ConstText.h"

#include "engine/Format.h"
#include "engine/NumberText.h"

#include <cctype>

namespace tallex {

std::string CaptionWords(std::string_view caption) {
    std::string words(caption.empty() ? caption : caption.substr(0, caption.size() - 1));
    for (char& c : words) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return words;
}

double FixedAmount(std::string_view text) {
    const std::optional<double> value = NumericTextValue(text);
    if (!value) return Val(text);
    return Val(Format(*value, "Fixed"));
}

double FieldNumber(std::string_view text) { return NumericTextValue(text).value_or(Val(text)); }

void ShowConstRefusal(LoanRecord& record, UserSeam& user, const std::string& text) {
    record.gsMsgText = text;
    record.giMsgStyle = kStyleExclamation;
    record.giMsgResult = user.show(text, kStyleExclamation);
}

}  // namespace tallex
