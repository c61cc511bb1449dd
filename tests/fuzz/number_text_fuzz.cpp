// Reading numbers out of typed texts (Val, IsNumericText, NumericTextValue, NumericTextCheck)
// and writing them back (ShortestNumber, Format): the input is the text itself.
//
// Invariants:
//  - only run-time error 6 (a number beyond the double range) leaves Val and NumericTextValue,
//    and only 5 (NaN) or 6 (infinity) leaves the formats; every value read is finite;
//  - blanks, tabs and line feeds do not count wherever they stand;
//  - a plain decimal reads exactly as the C library reads it;
//  - the reading stops at the first character that cannot continue the number;
//  - the three numeric answers agree: IsNumericText, NumericTextValue, NumericTextCheck (and
//    "2" exactly when a decimal point is typed into a whole-number entry);
//  - "$", "(...)" and a trailing "-" decorate a plain number without changing its size;
//  - a number written by ShortestNumber reads back to 15 significant digits, and the schedule's
//    "$#,##0.00" reads back within half a cent.

#include "FuzzSupport.h"

#include "engine/Format.h"
#include "engine/NumberText.h"

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
};

template <class F>
Reading Read(F f) {
    try {
        return {f(), 0};
    } catch (const RuntimeError& e) {
        return {std::nullopt, e.number()};
    }
}

std::string Show(const Reading& r) {
    if (r.value) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.17g", *r.value);
        return buf;
    }
    return "error " + std::to_string(r.error);
}

bool IsValBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }

// [+-]? digits with at most one point, at least one digit, nothing else.
bool IsPlainDecimal(const std::string& t) {
    std::size_t i = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    bool digit = false, point = false;
    for (; i < t.size(); ++i) {
        if (t[i] >= '0' && t[i] <= '9')
            digit = true;
        else if (t[i] == '.' && !point)
            point = true;
        else
            return false;
    }
    return digit;
}

void CheckVal(const std::string& text) {
    const Reading val = Read([&] { return Val(text); });
    FUZZ_CHECK(val.value || val.error == 6, "Val(\"" << Printable(text) << "\") = " << Show(val));
    if (val.value) FUZZ_CHECK(std::isfinite(*val.value), "Val(\"" << Printable(text) << "\") = " << Show(val));

    std::string squeezed;
    for (char c : text)
        if (!IsValBlank(c)) squeezed += c;
    const Reading withoutBlanks = Read([&] { return Val(squeezed); });
    FUZZ_CHECK(val == withoutBlanks, "blanks count: Val(\"" << Printable(text) << "\") = " << Show(val) << " but Val(\""
                                                            << Printable(squeezed) << "\") = " << Show(withoutBlanks));

    if (IsPlainDecimal(squeezed) && squeezed.size() < 400) {
        const double expected = std::strtod(squeezed.c_str(), nullptr);
        if (std::isfinite(expected))
            FUZZ_CHECK(val.value && *val.value == expected, "Val(\"" << Printable(text) << "\") = " << Show(val)
                                                                     << ", strtod gives " << Show({expected, 0}));
        // The reading stops at a character that cannot continue a number.
        for (const char* stop : {"x", "$", ",", "%", "..", "-1", "e", "E+"}) {
            const Reading cut = Read([&] { return Val(squeezed + stop); });
            FUZZ_CHECK(cut == withoutBlanks, "Val(\"" << Printable(squeezed + stop) << "\") = " << Show(cut) << ", not "
                                                      << Show(withoutBlanks));
        }
    }
    // A minus sign in front negates a number that starts with a digit or a point.
    if (!squeezed.empty() && (std::isdigit(static_cast<unsigned char>(squeezed[0])) || squeezed[0] == '.')) {
        const Reading negated = Read([&] { return Val("-" + text); });
        const Reading expected = val.value ? Reading{-*val.value, 0} : val;
        FUZZ_CHECK(negated == expected,
                   "Val(\"-" << Printable(text) << "\") = " << Show(negated) << ", expected " << Show(expected));
    }
}

void CheckNumericText(const std::string& text) {
    const bool numeric = IsNumericText(text);
    const Reading value = Read([&] { return NumericTextValue(text).value_or(NAN); });
    FUZZ_CHECK(value.value || value.error == 6, "NumericTextValue(\"" << Printable(text) << "\") = " << Show(value));
    if (value.value) {
        FUZZ_CHECK(numeric == !std::isnan(*value.value),
                   "IsNumericText(\"" << Printable(text) << "\") = " << numeric << ", value " << Show(value));
        if (numeric)
            FUZZ_CHECK(std::isfinite(*value.value),
                       "NumericTextValue(\"" << Printable(text) << "\") = " << Show(value));
    }
    const short plainCheck = NumericTextCheck(text, false);
    const short integerCheck = NumericTextCheck(text, true);
    const bool point = text.find('.') != std::string::npos;
    FUZZ_CHECK(plainCheck == short{numeric ? kNumericOk : kNotNumeric},
               "NumericTextCheck(\"" << Printable(text) << "\", false) = " << plainCheck << ", numeric " << numeric);
    FUZZ_CHECK(integerCheck == (point ? short{kHasDecimalPoint} : plainCheck),
               "NumericTextCheck(\"" << Printable(text) << "\", true) = " << integerCheck);

    // Surrounding white space does not change a number's value.
    if (numeric && value.value) {
        std::size_t b = 0, e = text.size();
        while (b < e && std::isspace(static_cast<unsigned char>(text[b]))) ++b;
        while (e > b && std::isspace(static_cast<unsigned char>(text[e - 1]))) --e;
        const std::string trimmed = text.substr(b, e - b);
        const Reading inner = Read([&] { return NumericTextValue(trimmed).value_or(NAN); });
        FUZZ_CHECK(inner == value, "NumericTextValue(\"" << Printable(text) << "\") = " << Show(value) << " but of \""
                                                         << Printable(trimmed) << "\" " << Show(inner));
    }
    // Decorations of a plain unsigned number.
    if (IsPlainDecimal(text) && text[0] != '+' && text[0] != '-' && text.size() < 400) {
        const Reading plain = Read([&] { return Val(text); });
        if (!plain.value) return;
        const double v = *plain.value;
        for (const auto& [decorated, expected] : {std::pair{"$" + text, v}, std::pair{"(" + text + ")", -v},
                                                  std::pair{text + "-", -v}, std::pair{" -$" + text + " ", -v}}) {
            const std::optional<double> got = NumericTextValue(decorated);
            FUZZ_CHECK(got && *got == expected, "NumericTextValue(\"" << Printable(decorated) << "\") = "
                                                                      << (got ? Show({*got, 0}) : "not a number")
                                                                      << ", expected " << Show({expected, 0}));
        }
    }
}

void CheckWriting(double v) {
    const Reading shortest = Read([&] { return Val(ShortestNumber(v)); });
    const Reading money = Read([&] { return NumericTextValue(Format(v, "$#,##0.00")).value_or(NAN); });
    if (std::isnan(v)) {
        FUZZ_CHECK(shortest.error == 5 && money.error == 5, "NaN written: " << Show(shortest) << ", " << Show(money));
        return;
    }
    if (std::isinf(v)) {
        FUZZ_CHECK(shortest.error == 6 && money.error == 6,
                   "infinity written: " << Show(shortest) << ", " << Show(money));
        return;
    }
    const std::string text = ShortestNumber(v);
    // Fifteen digits round the largest doubles (from 1.797693134862315E+308) beyond the range.
    if (shortest.error == 6 && std::fabs(v) >= 1.797693134862315e308) return;
    FUZZ_CHECK(shortest.value && std::fabs(*shortest.value - v) <= std::max(std::fabs(v) * 1e-14, 1e-300),
               "ShortestNumber(" << Show({v, 0}) << ") = \"" << text << "\" reads " << Show(shortest));
    FUZZ_CHECK(
        money.value && std::fabs(*money.value - v) <= 0.005 + std::fabs(v) * 1e-14,
        "Format(" << Show({v, 0}) << ", \"$#,##0.00\") = \"" << Format(v, "$#,##0.00") << "\" reads " << Show(money));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    tallex::fuzz::RunGuarded([&] {
        CheckVal(text);
        CheckNumericText(text);
        const Reading read = Read([&] { return Val(text); });
        if (read.value) CheckWriting(*read.value);
        tallex::fuzz::FuzzInput bytes(data, size);
        CheckWriting(bytes.AnyDouble());
    });
    return 0;
}
