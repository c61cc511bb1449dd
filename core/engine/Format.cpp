#include "engine/Format.h"

#include "engine/NumberText.h"
#include "engine/RuntimeError.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <stdexcept>
#include <system_error>

namespace tallex {

namespace {

constexpr int kSignificantDigits = 15;

// A finite double taken to 15 significant digits: |value| = d1.d2...d15 x 10^exponent.
// Zero has all digits '0' and is never negative.
struct Decimal15 {
    bool negative = false;
    std::array<char, kSignificantDigits> digits{};
    int exponent = 0;

    bool IsZero() const { return digits[0] == '0'; }
    std::string_view Digits() const { return {digits.data(), digits.size()}; }
};

// Most values shown are short decimals (money, rates): when |value| is the double nearest to
// m / 10^k for a whole m of at most 15 digits, those digits are its 15-digit form, found without
// the general (and much slower) conversion.
bool ShortDecimal(double value, Decimal15& d) {
    static constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6};
    const double magnitude = std::fabs(value);
    if (magnitude == 0.0 || magnitude >= 1e14) return false;
    for (int k = 0; k < 7; ++k) {
        const double scaled = std::nearbyint(magnitude * kPowersOfTen[k]);
        if (scaled >= 1e15) return false;
        if (scaled / kPowersOfTen[k] != magnitude) continue;
        auto whole = static_cast<unsigned long long>(scaled);
        if (whole == 0) return false;
        std::array<char, kSignificantDigits> reversed{};
        int length = 0;
        for (; whole != 0; whole /= 10) reversed[static_cast<std::size_t>(length++)] = char('0' + whole % 10);
        for (int i = 0; i < kSignificantDigits; ++i)
            d.digits[static_cast<std::size_t>(i)] =
                i < length ? reversed[static_cast<std::size_t>(length - 1 - i)] : '0';
        d.exponent = length - 1 - k;
        d.negative = value < 0.0;
        return true;
    }
    return false;
}

Decimal15 ToDecimal15(double value) {
    if (std::isnan(value)) Raise(RuntimeErrorCode::InvalidCall);
    if (std::isinf(value)) Raise(RuntimeErrorCode::Overflow);
    if (Decimal15 d; ShortDecimal(value, d)) return d;

    // to_chars rounds the exact binary value correctly and, unlike printf, ignores the C
    // locale's decimal point (the desktop program runs under the user's locale).
    std::array<char, 40> buffer{};
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), std::fabs(value),
                                            std::chars_format::scientific, kSignificantDigits - 1);
    if (error != std::errc()) throw std::logic_error("number conversion buffer too small");

    // The text is "d.dddddddddddddde+XX".
    const std::string_view text(buffer.data(), static_cast<std::size_t>(end - buffer.data()));
    const std::size_t e = text.find('e');
    Decimal15 d;
    d.digits[0] = text[0];
    std::copy(text.begin() + 2, text.begin() + static_cast<std::ptrdiff_t>(e), d.digits.begin() + 1);
    std::from_chars(text.data() + e + (text[e + 1] == '+' ? 2 : 1), text.data() + text.size(), d.exponent);
    d.negative = value < 0.0 && !d.IsZero();
    if (d.IsZero()) d.exponent = 0;
    return d;
}

// Adds one to a string of decimal digits.
void Increment(std::string& digits) {
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
}

// The digits of round(|d| x 10^decimals), half away from zero, without leading zeros:
// "" when the value rounds to zero.
std::string ScaledRoundedDigits(const Decimal15& d, int decimals) {
    std::string out;
    if (d.IsZero()) return out;
    // Digits of d at index < keep have a weight of at least 10^-decimals.
    const long keep = static_cast<long>(d.exponent) + 1 + decimals;
    const long length = static_cast<long>(d.digits.size());
    if (keep < 0) return out;
    if (keep >= length) {
        out.reserve(static_cast<std::size_t>(keep));
        out.assign(d.digits.data(), d.digits.size());
        out.append(static_cast<std::size_t>(keep - length), '0');
    } else {
        out.assign(d.digits.data(), static_cast<std::size_t>(keep));
        if (d.digits[static_cast<std::size_t>(keep)] >= '5') Increment(out);
    }
    out.erase(0, std::min(out.find_first_not_of('0'), out.size()));
    return out;
}

struct DigitPattern {
    std::string prefix;  // literals before the placeholders
    std::string suffix;  // literals after them
    int minIntegerDigits = 0;
    bool grouping = false;
    bool hasPoint = false;
    int decimals = 0;
    int minDecimals = 0;
    bool percent = false;
};

[[noreturn]] void Unsupported(std::string_view pattern) {
    throw std::invalid_argument("unsupported number format \"" + std::string(pattern) + "\"");
}

bool IsPlaceholder(char c) { return c == '0' || c == '#'; }

DigitPattern ParseDigitPattern(std::string_view pattern) {
    DigitPattern p;
    enum class Part { Prefix, Integer, Fraction, Suffix } part = Part::Prefix;
    int integerPlaceholders = 0;
    int firstIntegerZero = -1;  // placeholder index of the first '0' before the point
    int placeholdersTotal = 0;
    int percentSigns = 0;

    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (c == '$' || c == ' ' || c == '%') {
            if (c == '%') ++percentSigns;
            if (part == Part::Integer || part == Part::Fraction) part = Part::Suffix;
            (part == Part::Prefix ? p.prefix : p.suffix) += c;
            continue;
        }
        if (part == Part::Suffix) Unsupported(pattern);  // literal between placeholders
        if (IsPlaceholder(c)) {
            ++placeholdersTotal;
            if (part == Part::Prefix) part = Part::Integer;
            if (part == Part::Integer) {
                if (c == '0' && firstIntegerZero < 0) firstIntegerZero = integerPlaceholders;
                ++integerPlaceholders;
            } else {
                ++p.decimals;
                if (c == '0') p.minDecimals = p.decimals;
            }
        } else if (c == '.') {
            if (part == Part::Fraction) Unsupported(pattern);
            part = Part::Fraction;
            p.hasPoint = true;
        } else if (c == ',') {
            // A comma not followed by an integer placeholder would scale by thousands.
            if (part != Part::Integer || i + 1 >= pattern.size() || !IsPlaceholder(pattern[i + 1]))
                Unsupported(pattern);
            p.grouping = true;
        } else {
            Unsupported(pattern);
        }
    }
    if (placeholdersTotal == 0 || percentSigns > 1) Unsupported(pattern);
    p.percent = percentSigns == 1;
    p.minIntegerDigits = firstIntegerZero < 0 ? 0 : integerPlaceholders - firstIntegerZero;
    return p;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        const auto lower = [](char ch) { return ch >= 'A' && ch <= 'Z' ? char(ch - 'A' + 'a') : ch; };
        return lower(x) == lower(y);
    });
}

std::string_view ResolveNamedFormat(std::string_view pattern) {
    if (EqualsIgnoringCase(pattern, "Currency")) return "$#,##0.00";
    if (EqualsIgnoringCase(pattern, "Fixed")) return "0.00";
    return pattern;
}

// The patterns are a handful of constants, so each thread keeps the last few it has parsed.
const DigitPattern& CachedDigitPattern(std::string_view pattern) {
    struct Entry {
        std::string pattern;
        DigitPattern parsed;
    };
    static thread_local std::array<Entry, 16> cache;
    static thread_local std::size_t used = 0;
    static thread_local std::size_t next = 0;
    for (std::size_t i = 0; i < used; ++i)
        if (cache[i].pattern == pattern) return cache[i].parsed;
    DigitPattern parsed = ParseDigitPattern(ResolveNamedFormat(pattern));
    Entry& slot = cache[next];
    next = (next + 1) % cache.size();
    if (used < cache.size()) ++used;
    slot.pattern.assign(pattern);
    slot.parsed = std::move(parsed);
    return slot.parsed;
}

}  // namespace

std::string Format(double value, std::string_view pattern) {
    const DigitPattern& p = CachedDigitPattern(pattern);
    Decimal15 d = ToDecimal15(value);
    if (p.percent && !d.IsZero()) d.exponent += 2;

    const std::string scaled = ScaledRoundedDigits(d, p.decimals);
    const std::size_t decimals = static_cast<std::size_t>(p.decimals);
    const std::size_t integerLength = scaled.size() > decimals ? scaled.size() - decimals : 0;
    const std::size_t minIntegerDigits = static_cast<std::size_t>(p.minIntegerDigits);
    const std::size_t padding = integerLength < minIntegerDigits ? minIntegerDigits - integerLength : 0;
    const std::size_t integerWidth = padding + integerLength;

    std::string out;
    out.reserve(1 + p.prefix.size() + integerWidth + integerWidth / 3 + 1 + decimals + p.suffix.size());
    if (d.negative && !scaled.empty()) out += '-';
    out += p.prefix;
    for (std::size_t i = 0; i < integerWidth; ++i) {
        if (p.grouping && i > 0 && (integerWidth - i) % 3 == 0) out += ',';
        out += i < padding ? '0' : scaled[i - padding];
    }
    if (p.hasPoint) out += '.';
    // The fraction is always `decimals` digits before its trailing zeros are dropped.
    const std::size_t fractionStart = out.size();
    if (scaled.size() > decimals) {
        out.append(scaled, integerLength, decimals);
    } else {
        out.append(decimals - scaled.size(), '0');
        out += scaled;
    }
    const std::size_t minDecimals = static_cast<std::size_t>(p.minDecimals);
    while (out.size() > fractionStart + minDecimals && out.back() == '0') out.pop_back();
    out += p.suffix;
    return out;
}

double FixedRoundTrip(double value) {
    // value nearest to M/100 with |M| < 10^15: M/100 has at most 15 significant digits, so it is
    // the decimal the 15-digit step finds, two decimals show it exactly, and the text reads back
    // as the nearest double to M/100, which is value. value * 100 is within M x 2^-52 of M, so
    // nearbyint finds M. Zero is left to the text, which drops the sign of -0; a NaN or an
    // infinity fails the test and raises its error there.
    const double cents = std::nearbyint(value * 100.0);
    if (value != 0.0 && std::fabs(cents) < 1e15 && cents / 100.0 == value) return value;
    return Val(Format(value, "Fixed"));
}

std::string NumberToText(double value, bool leadingBlank) {
    const Decimal15 d = ToDecimal15(value);
    if (d.IsZero()) return leadingBlank ? " 0" : "0";

    std::string digits(d.Digits());
    digits.erase(digits.find_last_not_of('0') + 1);
    const std::size_t length = digits.size();

    std::string out;
    if (d.negative)
        out += '-';
    else if (leadingBlank)
        out += ' ';

    if (d.exponent >= kSignificantDigits || d.exponent < -4) {
        out += digits[0];
        if (length > 1) {
            out += '.';
            out.append(digits, 1);
        }
        out += d.exponent < 0 ? "E-" : "E+";
        const std::string exponent = std::to_string(std::abs(d.exponent));
        if (exponent.size() < 2) out += '0';
        out += exponent;
    } else if (d.exponent >= 0) {
        const std::size_t integerLength = static_cast<std::size_t>(d.exponent) + 1;
        out.append(digits, 0, std::min(integerLength, length));
        if (length > integerLength) {
            out += '.';
            out.append(digits, integerLength);
        } else {
            out.append(integerLength - length, '0');
        }
    } else {
        if (!leadingBlank) out += '0';
        out += '.';
        out.append(static_cast<std::size_t>(-d.exponent - 1), '0');
        out += digits;
    }
    return out;
}

std::string ShortestNumber(double value) { return NumberToText(value, false); }

std::string PlainNumberText(std::string_view shown) {
    const std::optional<double> value = NumericTextValue(shown);
    return value ? ShortestNumber(*value) : std::string(shown);
}

std::string FormatShortDate(int year, int month, int day) {
    static constexpr std::array<int, 12> kDaysInMonth{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    const bool valid = year >= 100 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
                       day <= kDaysInMonth[static_cast<std::size_t>(month - 1)] + (leap && month == 2 ? 1 : 0);
    if (!valid) {
        throw std::invalid_argument("not a calendar date: " + std::to_string(year) + "-" + std::to_string(month) + "-" +
                                    std::to_string(day));
    }
    return std::to_string(month) + "/" + std::to_string(day) + "/" + std::to_string(year);
}

}  // namespace tallex
