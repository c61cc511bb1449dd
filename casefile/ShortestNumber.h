#pragma once
// The shortest text that reads back as the same double, exactly as std::to_chars(first, last,
// value) writes it (fixed or scientific, whichever is shorter, fixed on a tie), with a quicker
// path for the short decimals most verdict figures are (money in cents, whole counts).

#include <charconv>
#include <cmath>
#include <system_error>

namespace tallex::cli {

inline std::to_chars_result ShortestChars(char* first, char* last, double value) {
    static constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6};
    const double magnitude = std::fabs(value);
    // When |value| is the double nearest to m / 10^k for a whole m of at most 15 digits, no
    // other decimal of at most 15 significant digits reads back as it: the digits of m, without
    // trailing zeros, are the shortest.
    if (magnitude > 0.0 && magnitude < 1e14 && last - first >= 32) {
        for (int k = 0; k < 7; ++k) {
            const double scaled = std::nearbyint(magnitude * kPowersOfTen[k]);
            if (scaled >= 1e15) break;
            if (scaled == 0.0 || scaled / kPowersOfTen[k] != magnitude) continue;
            auto whole = static_cast<unsigned long long>(scaled);
            char digits[16] = {};
            int length = 0;
            for (; whole != 0; whole /= 10) digits[length++] = static_cast<char>('0' + whole % 10);
            // digits[] holds m backwards; drop its trailing zeros (the leading ones here).
            int low = 0;
            while (digits[low] == '0') ++low;
            const int n = length - low;                                        // significant digits
            const int exponent = length - 1 - k;                               // value = d.ddd x 10^exponent
            const auto digit = [&](int i) { return digits[length - 1 - i]; };  // i-th from the left
            const int fixedLength = exponent >= 0 ? (n > exponent + 1 ? n + 1 : exponent + 1) : 1 - exponent + n;
            const int absExponent = exponent < 0 ? -exponent : exponent;
            const int scientificLength = n + (n > 1 ? 1 : 0) + 2 + (absExponent >= 100 ? 3 : 2);
            char* out = first;
            if (value < 0) *out++ = '-';
            if (fixedLength <= scientificLength) {
                if (exponent >= 0) {
                    for (int i = 0; i <= exponent; ++i) *out++ = i < n ? digit(i) : '0';
                    if (n > exponent + 1) {
                        *out++ = '.';
                        for (int i = exponent + 1; i < n; ++i) *out++ = digit(i);
                    }
                } else {
                    *out++ = '0';
                    *out++ = '.';
                    for (int i = 0; i < -exponent - 1; ++i) *out++ = '0';
                    for (int i = 0; i < n; ++i) *out++ = digit(i);
                }
            } else {
                *out++ = digit(0);
                if (n > 1) {
                    *out++ = '.';
                    for (int i = 1; i < n; ++i) *out++ = digit(i);
                }
                *out++ = 'e';
                *out++ = exponent < 0 ? '-' : '+';
                if (absExponent >= 100) *out++ = static_cast<char>('0' + absExponent / 100);
                *out++ = static_cast<char>('0' + absExponent / 10 % 10);
                *out++ = static_cast<char>('0' + absExponent % 10);
            }
            return {out, std::errc()};
        }
    }
    return std::to_chars(first, last, value);
}

}  // namespace tallex::cli
