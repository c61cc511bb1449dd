#include "engine/Currency.h"

#include "engine/RuntimeError.h"

#include <charconv>
#include <cmath>
#include <string_view>

namespace tallex {

namespace {
constexpr double kTicksLimit = 9223372036854775808.0;  // 2^63: the first value that no longer fits

double EvenOf(double lower) { return std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0; }

// A value whose shortest decimal form ends in a 5 at the fifth decimal ("0.00015") is a tie,
// even when the nearest double lies a hair below or above it and the product with 10000
// therefore is not exactly one half.
bool IsDecimalTieAtFifthPlace(double value) {
    char buf[400];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
    if (ec != std::errc()) return false;
    const std::string_view text(buf, static_cast<std::size_t>(end - buf));
    const std::size_t point = text.find('.');
    return point != std::string_view::npos && text.size() - point - 1 == 5 && text.back() == '5';
}
}  // namespace

Currency Currency::FromDouble(double value) {
    const double scaled = value * 10000.0;
    if (!std::isfinite(scaled) || std::fabs(scaled) >= kTicksLimit) Raise(RuntimeErrorCode::Overflow);
    const double lower = std::floor(scaled);
    const double fraction = scaled - lower;
    double rounded;
    if (fraction == 0.5 || (std::fabs(fraction - 0.5) < 1e-6 && IsDecimalTieAtFifthPlace(value)))
        rounded = EvenOf(lower);
    else
        rounded = fraction < 0.5 ? lower : lower + 1.0;
    if (std::fabs(rounded) >= kTicksLimit) Raise(RuntimeErrorCode::Overflow);
    return Currency(static_cast<std::int64_t>(rounded));
}

}  // namespace tallex
