// Reading numbers out of typed texts (Val, IsNumericText, NumericTextValue, NumericTextCheck)
// and writing them back (ShortestNumber, Format): the input is the text itself.
//
// Invariants:
//  - only run-time error 6 (a number beyond the double range) leaves Val and NumericTextValue,
//    and only 5 (NaN) or 6 (infinity) leaves the formats; every value read is finite;
//  - blanks, tabs and line feeds do not count wherever they stand in Val;
//  - a plain decimal reads exactly as the C library reads it;
//  - the three numeric answers agree: IsNumericText, NumericTextValue, NumericTextCheck (and
//    "2" exactly when a decimal point is typed into a whole-number entry);
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

void CheckReading(const std::string& text) {
    const Reading val = Read([&] { return Val(text); });
    FUZZ_CHECK(val.value ? std::isfinite(*val.value) : val.error == 6, Printable(text) << ": " << val);
    std::string squeezed = text;
    std::erase_if(squeezed, [](char c) { return c == ' ' || c == '\t' || c == '\n'; });
    FUZZ_CHECK(Read([&] { return Val(squeezed); }) == val, Printable(text) << ": " << val);
    // [+-]? digits with at most one point: as strtod reads it.
    const std::size_t sign = !squeezed.empty() && (squeezed[0] == '+' || squeezed[0] == '-');
    const auto digits = std::count_if(squeezed.begin(), squeezed.end(), [](char c) { return c >= '0' && c <= '9'; });
    const auto points = std::count(squeezed.begin(), squeezed.end(), '.');
    if (digits > 0 && points <= 1 && sign + digits + points == squeezed.size() && squeezed.size() < 400) {
        const double expected = std::strtod(squeezed.c_str(), nullptr);
        FUZZ_CHECK(!std::isfinite(expected) || val.value == expected, Printable(text) << ": " << val);
    }

    const bool numeric = IsNumericText(text);
    const Reading value = Read([&] { return NumericTextValue(text).value_or(NAN); });
    FUZZ_CHECK(value.value ? (numeric ? std::isfinite(*value.value) : std::isnan(*value.value)) : value.error == 6,
               Printable(text) << ": " << value);
    const short plainCheck = NumericTextCheck(text, false);
    FUZZ_CHECK(plainCheck == short{numeric ? kNumericOk : kNotNumeric}, Printable(text) << ": " << plainCheck);
    const short point = text.find('.') != std::string::npos ? short{kHasDecimalPoint} : plainCheck;
    FUZZ_CHECK(NumericTextCheck(text, true) == point, Printable(text));
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
        CheckReading(text);
        if (const Reading read = Read([&] { return Val(text); }); read.value) CheckWriting(*read.value);
        tallex::fuzz::FuzzInput bytes(data, size);
        CheckWriting(bytes.AnyDouble());
    });
    return 0;
}
