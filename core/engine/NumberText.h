#pragma once
// Reading numbers out of the texts the user typed.

#include <optional>
#include <string_view>

namespace tallex {

// The leading-number reading used for every cell and field: blanks, tabs and line feeds are
// ignored wherever they stand; the longest leading run of an optional sign, digits, one
// decimal point and an optional exponent (E or D) is read; anything else reads 0.
// Val("12abc") = 12, Val("") = 0, Val(" 1 2.5") = 12.5. A number beyond the double range
// raises run-time error 6 (Overflow).
double Val(std::string_view text);

// Result of NumericTextCheck, kept in the record as giNumCheck.
enum NumericCheckResult : short {
    kNumericOk = 0,
    kNotNumeric = 1,
    kHasDecimalPoint = 2,  // only when an integer was asked for
};

// True when the text is a number by the lenient numeric test of the entry fields: surrounding
// blanks, a sign (leading or trailing, or parentheses), a "$" sign, "," thousands separators
// among the integer digits, one decimal point and an exponent are accepted; an empty text or
// one without digits is not a number.
bool IsNumericText(std::string_view text);

// The value of a text that passes IsNumericText ("$1,234.56" -> 1234.56, "(5)" -> -5,
// "12-" -> -12); nullopt for any other text. Used where a typed text is shown formatted when
// it is a number and unchanged when it is not.
std::optional<double> NumericTextValue(std::string_view text);

// 0 acceptable, 1 not a number, 2 holds a "." while integerEntry is set (2 replaces 1).
short NumericTextCheck(std::string_view text, bool integerEntry);

}  // namespace tallex
