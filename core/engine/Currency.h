#pragma once
// Fixed-point money: a signed 64-bit count of ten-thousandths of a dollar.

#include <cstdint>

namespace tallex {

class Currency {
public:
    constexpr Currency() = default;

    // Rounds half to even at the fourth decimal; a value outside the 64-bit range raises
    // run-time error 6 (Overflow).
    static Currency FromDouble(double value);
    static constexpr Currency FromTicks(std::int64_t ticks) { return Currency(ticks); }

    constexpr std::int64_t ticks() const { return ticks_; }
    // Exact division by 10000 (to the nearest double).
    constexpr double ToDouble() const { return static_cast<double>(ticks_) / 10000.0; }

    friend constexpr bool operator==(Currency a, Currency b) = default;

private:
    constexpr explicit Currency(std::int64_t ticks) : ticks_(ticks) {}
    std::int64_t ticks_ = 0;
};

}  // namespace tallex
