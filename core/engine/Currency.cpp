#include "engine/Currency.h"

#include "engine/RuntimeError.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string_view>

namespace tallex {

namespace {
constexpr double kTicksLimit = 9223372036854775808.0;  // 2^63: the first value that no longer fits

double EvenOf(double lower) { return std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0; }

// The shortest decimal form of a finite value, in fixed notation (written into `buf`), and the
// count of its decimals.
struct ShortestDecimal {
    std::string_view text;
    std::size_t decimals = 0;
};
ShortestDecimal ShortestFixed(double value, std::array<char, 400>& buf) {
    const auto [end, ec] = std::to_chars(buf.data(), buf.data() + buf.size(), value, std::chars_format::fixed);
    if (ec != std::errc()) return {};
    const std::string_view text(buf.data(), static_cast<std::size_t>(end - buf.data()));
    const std::size_t point = text.find('.');
    return {text, point == std::string_view::npos ? 0 : text.size() - point - 1};
}

// A value whose shortest decimal form ends in a 5 at the fifth decimal ("0.00015") is a tie,
// even when the nearest double lies a hair below or above it and the product with 10000
// therefore is not exactly one half.
bool IsDecimalTieAtFifthPlace(double value) {
    std::array<char, 400> buf;
    const ShortestDecimal d = ShortestFixed(value, buf);
    return d.decimals == 5 && d.text.back() == '5';
}

// The ticks of the shortest decimal that reads back as `value`, when it has at most four decimals.
std::optional<double> ShortestTicks(double value) {
    std::array<char, 400> buf;
    const ShortestDecimal d = ShortestFixed(value, buf);
    if (d.text.empty() || d.decimals > 4) return std::nullopt;
    std::uint64_t ticks = 0;  // below 2^64: the value is below 2^63 ticks, give or take a decimal
    for (const char c : d.text)
        if (c >= '0' && c <= '9') ticks = ticks * 10 + static_cast<std::uint64_t>(c - '0');
    for (std::size_t i = d.decimals; i < 4; ++i) ticks *= 10;
    const double magnitude = static_cast<double>(ticks);
    return value < 0 ? -magnitude : magnitude;
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
    // From 2^51 ticks (about $225 billion) on, the product is rounded and a double may stand for
    // two neighbouring ticks: the amount it was read from is its shortest decimal form, taken
    // when that has four decimals at most (a typed 846,622,721,583.07 is not ...583.0699).
    if (std::fabs(scaled) >= 0x1p51) {
        if (const std::optional<double> ticks = ShortestTicks(value)) rounded = *ticks;
    }
    if (std::fabs(rounded) >= kTicksLimit) Raise(RuntimeErrorCode::Overflow);
    return Currency(static_cast<std::int64_t>(rounded));
}

}  // namespace tallex
