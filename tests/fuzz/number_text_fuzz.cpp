// Reading numbers out of typed texts (Val, IsNumericText, NumericTextValue, NumericTextCheck)
// and writing them back (ShortestNumber, Format): the input is the text itself.
//
// Invariants:
//  - only run-time error 6 (a number beyond the double range) leaves Val and NumericTextValue,
//    and only 5 (NaN) or 6 (infinity) leaves the formats; every value read is finite;
//  - blanks, tabs and line feeds do not count wherever they stand;
//  - a plain decimal reads exactly as the C library reads it, and the reading stops at the first
//    character that cannot continue the number;
//  - the three numeric answers agree: IsNumericText, NumericTextValue, NumericTextCheck (and
//    "2" exactly when a decimal point is typed into a whole-number entry);
//  - "$", "(...)" and a trailing "-" decorate a plain number without changing its size;
//  - a number written by ShortestNumber reads back to 15 significant digits, and the schedule's
//    "$#,##0.00" reads back within half a cent.

#include "FuzzSupport.h"

#include "engine/Format.h"
#include "engine/NumberText.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>

using namespace tallex;
using tallex::fuzz::Printable;

namespace {

// The value, or the number of the run-time error raised.
struct Reading {
    std::optional<double> value;
    int error = 0;
    friend bool operator==(const Reading&, const Reading&) = default;
    friend std::ostream& operator<<(std::ostream& out, const Reading& r) {
        return r.value ? out << *r.value : out << "error " << r.error;
    }
};

template <class F>
Reading Read(F f) {
    try {
        return {f(), 0};
    } catch (const RuntimeError& e) {
        return {std::nullopt, e.number()};
    }
}

Reading ValOf(const std::string& text) {
    return Read([&] { return Val(text); });
}
Reading NumericValueOf(const std::string& text) {
    return Read([&] { return NumericTextValue(text).value_or(NAN); });
}

// [+-]? digits with at most one point, at least one digit, nothing else.
bool IsPlainDecimal(const std::string& t) {
    const std::size_t sign = !t.empty() && (t[0] == '+' || t[0] == '-');
    const std::size_t digits = std::count_if(t.begin(), t.end(), [](char c) { return c >= '0' && c <= '9'; });
    return digits > 0 && digits + sign + (t.find('.') != std::string::npos) == t.size() &&
           std::count(t.begin(), t.end(), '.') <= 1;
}

void CheckVal(const std::string& text) {
    const Reading val = ValOf(text);
    FUZZ_CHECK(val.value ? std::isfinite(*val.value) : val.error == 6, Printable(text) << ": " << val);
    std::string squeezed;
    for (char c : text)
        if (c != ' ' && c != '\t' && c != '\n') squeezed += c;
    const Reading withoutBlanks = ValOf(squeezed);
    FUZZ_CHECK(val == withoutBlanks, Printable(text) << ": " << val << ", without blanks " << withoutBlanks);
    if (IsPlainDecimal(squeezed) && squeezed.size() < 400) {
        const double expected = std::strtod(squeezed.c_str(), nullptr);
        if (std::isfinite(expected)) FUZZ_CHECK(val.value == expected, Printable(text) << ": " << val);
        for (const char* stop : {"x", "$", ",", "%", "..", "-1", "e", "E+"})
            FUZZ_CHECK(ValOf(squeezed + stop) == withoutBlanks, Printable(squeezed + stop));
    }
    // A minus sign in front negates a number that starts with a digit or a point.
    if (!squeezed.empty() && (std::isdigit(static_cast<unsigned char>(squeezed[0])) || squeezed[0] == '.')) {
        const Reading expected = val.value ? Reading{-*val.value, 0} : val;
        FUZZ_CHECK(ValOf("-" + text) == expected, Printable(text) << ": " << ValOf("-" + text));
    }
}

void CheckNumericText(const std::string& text) {
    const bool numeric = IsNumericText(text);
    const Reading value = NumericValueOf(text);
    FUZZ_CHECK(value.value || value.error == 6, Printable(text) << ": " << value);
    if (value.value)
        FUZZ_CHECK(numeric ? std::isfinite(*value.value) : std::isnan(*value.value), Printable(text) << ": " << value);
    const short plainCheck = NumericTextCheck(text, false);
    FUZZ_CHECK(plainCheck == short{numeric ? kNumericOk : kNotNumeric}, Printable(text) << ": " << plainCheck);
    FUZZ_CHECK(
        NumericTextCheck(text, true) == (text.find('.') != std::string::npos ? short{kHasDecimalPoint} : plainCheck),
        Printable(text));
    // Surrounding white space does not change a number's value.
    if (numeric && value.value) {
        std::size_t b = 0, e = text.size();
        while (b < e && std::isspace(static_cast<unsigned char>(text[b]))) ++b;
        while (e > b && std::isspace(static_cast<unsigned char>(text[e - 1]))) --e;
        FUZZ_CHECK(NumericValueOf(text.substr(b, e - b)) == value, Printable(text) << ": " << value);
    }
    // Decorations of a plain unsigned number.
    if (!IsPlainDecimal(text) || text[0] == '+' || text[0] == '-' || text.size() >= 400) return;
    const Reading plain = ValOf(text);
    if (!plain.value) return;
    const double v = *plain.value;
    for (const auto& [decorated, expected] : {std::pair{"$" + text, v}, std::pair{"(" + text + ")", -v},
                                              std::pair{text + "-", -v}, std::pair{" -$" + text + " ", -v}})
        FUZZ_CHECK(NumericTextValue(decorated) == expected, Printable(decorated) << " is not " << expected);
}

void CheckWriting(double v) {
    const Reading shortest = Read([&] { return Val(ShortestNumber(v)); });
    const Reading shown = Read([&] { return NumericTextValue(Format(v, "$#,##0.00")).value_or(NAN); });
    if (!std::isfinite(v)) {
        const int error = std::isnan(v) ? 5 : 6;
        FUZZ_CHECK(shortest.error == error && shown.error == error, v << ": " << shortest << ", " << shown);
        return;
    }
    // Fifteen digits round the largest doubles (from 1.797693134862315E+308) beyond the range.
    if (shortest.error == 6 && std::fabs(v) >= 1.797693134862315e308) return;
    FUZZ_CHECK(shortest.value && std::fabs(*shortest.value - v) <= std::max(std::fabs(v) * 1e-14, 1e-300),
               v << " written \"" << ShortestNumber(v) << "\"");
    FUZZ_CHECK(shown.value && std::fabs(*shown.value - v) <= 0.005 + std::fabs(v) * 1e-14,
               v << " written \"" << Format(v, "$#,##0.00") << "\"");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    tallex::fuzz::RunGuarded([&] {
        CheckVal(text);
        CheckNumericText(text);
        if (const Reading read = ValOf(text); read.value) CheckWriting(*read.value);
        tallex::fuzz::FuzzInput bytes(data, size);
        CheckWriting(bytes.AnyDouble());
    });
    return 0;
}
