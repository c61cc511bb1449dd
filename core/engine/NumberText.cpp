#include "engine/NumberText.h"

#include "engine/RuntimeError.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>

namespace tallex {

namespace {
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsValBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }

// The common plain decimal ("1234.57", "12"): up to 15 digits without an exponent. Its digits
// as an integer and the power of ten are both exact doubles, so one division gives the
// correctly rounded value, the same as the general conversion. Anything else returns false.
// Inlined where it is asked first: most texts read are plain decimals, many a case.
[[gnu::always_inline]] inline bool PlainDecimal(std::string_view text, double& value) {
    static constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                              1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const char* p = text.data();
    const char* const end = p + text.size();
    bool negative = false;
    if (p != end && (*p == '-' || *p == '+')) negative = *p++ == '-';
    // 15 digits and a point at most: anything longer is no plain decimal, and 16 digits cannot
    // overflow the sum below.
    if (end - p > 16) return false;
    std::uint64_t digits = 0;
    const char* point = nullptr;
    for (const char* c = p; c != end; ++c) {
        const unsigned digit = static_cast<unsigned>(static_cast<unsigned char>(*c)) - '0';
        if (digit <= 9) {
            digits = digits * 10 + digit;
        } else if (*c == '.' && !point) {
            point = c;
        } else {
            return false;
        }
    }
    const long count = (end - p) - (point ? 1 : 0);
    if (count == 0 || count > 15) return false;
    value = static_cast<double>(digits) / kPowersOfTen[point ? end - point - 1 : 0];
    if (negative) value = -value;
    return true;
}

// The form an entry box shows a number in ("$87,937.09", "-$1,234.56", "1,000"): an optional
// "-", an optional "$", a digit, then digits and "," separators, and an optional point with
// digits; at most 15 digits. Such a text is numeric, and its value is Val of it without "$" and
// ",", a plain decimal: read here in one pass, as the boxes are read again and again.
bool ShownDecimal(std::string_view text, double& value) {
    static constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                              1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const char* p = text.data();
    const char* const end = p + text.size();
    const bool negative = p != end && *p == '-';
    if (negative) ++p;
    if (p != end && *p == '$') ++p;
    if (p == end || !IsDigit(*p)) return false;
    std::uint64_t digits = 0;
    int count = 0;
    int decimals = 0;
    bool point = false;
    for (; p != end; ++p) {
        if (IsDigit(*p)) {
            if (++count > 15) return false;
            digits = digits * 10 + static_cast<unsigned>(*p - '0');
            if (point) ++decimals;
        } else if (*p == '.' && !point) {
            point = true;
        } else if (*p != ',' || point) {
            return false;
        }
    }
    value = static_cast<double>(digits) / kPowersOfTen[decimals];
    if (negative) value = -value;
    return true;
}

// Val of a text that is no plain decimal. Kept out of Val, so that the plain decimals most
// texts are read without setting up for this.
[[gnu::noinline]] double GeneralVal(std::string_view text) {
    // Collect the leading number with the ignorable characters removed, then convert it once.
    std::string number;
    number.reserve(text.size());
    bool negative = false;
    bool seenDigit = false;
    bool seenPoint = false;
    bool inExponent = false;
    bool exponentDigits = false;
    bool started = false;
    std::size_t mantissaEnd = 0;  // length of `number` before any exponent
    for (char c : text) {
        if (IsValBlank(c)) continue;
        if (!inExponent) {
            if (!started && (c == '+' || c == '-')) {
                negative = c == '-';
            } else if (IsDigit(c)) {
                number += c;
                seenDigit = true;
            } else if (c == '.' && !seenPoint) {
                number += c;
                seenPoint = true;
            } else if ((c == 'e' || c == 'E' || c == 'd' || c == 'D') && seenDigit) {
                mantissaEnd = number.size();
                number += 'e';
                inExponent = true;
            } else {
                break;
            }
            started = true;
        } else {
            const bool signSlot = number.size() == mantissaEnd + 1;
            if (signSlot && (c == '+' || c == '-')) {
                number += c;
            } else if (IsDigit(c)) {
                number += c;
                exponentDigits = true;
            } else {
                break;
            }
        }
    }
    if (!seenDigit) return 0.0;
    if (inExponent && !exponentDigits) number.resize(mantissaEnd);
    double value = 0.0;
    const auto [ptr, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (ec == std::errc::result_out_of_range) {
        // Too large overflows; too small is zero.
        const bool tiny = number.find("e-") != std::string::npos;
        if (!tiny) Raise(RuntimeErrorCode::Overflow);
        value = 0.0;
    }
    (void)ptr;
    return negative ? -value : value;
}

// IsNumericText of a text of neither common form, kept out of it as GeneralVal is.
[[gnu::noinline]] bool GeneralIsNumericText(std::string_view text) {
    std::size_t b = 0, e = text.size();
    while (b < e && std::isspace(static_cast<unsigned char>(text[b]))) ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(text[e - 1]))) --e;
    std::string_view s = text.substr(b, e - b);
    if (s.empty()) return false;

    // Parentheses mean a negative number; they exclude any other sign.
    bool parenthesised = false;
    if (s.front() == '(') {
        if (s.back() != ')') return false;
        s = s.substr(1, s.size() - 2);
        parenthesised = true;
    }
    bool signSeen = false;
    bool currencySeen = false;
    auto takePrefix = [&](std::string_view& v) {
        for (;;) {
            while (!v.empty() && v.front() == ' ') v.remove_prefix(1);
            if (v.empty()) return;
            if ((v.front() == '+' || v.front() == '-') && !signSeen && !parenthesised) {
                signSeen = true;
            } else if (v.front() == '$' && !currencySeen) {
                currencySeen = true;
            } else {
                return;
            }
            v.remove_prefix(1);
        }
    };
    takePrefix(s);
    // A trailing sign or currency sign is accepted too.
    for (;;) {
        while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
        if (s.empty()) break;
        if ((s.back() == '+' || s.back() == '-') && !signSeen && !parenthesised) {
            signSeen = true;
        } else if (s.back() == '$' && !currencySeen) {
            currencySeen = true;
        } else {
            break;
        }
        s.remove_suffix(1);
    }

    std::size_t i = 0;
    bool digits = false;
    while (i < s.size() && (IsDigit(s[i]) || (s[i] == ',' && digits))) {
        digits = digits || IsDigit(s[i]);
        ++i;
    }
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && IsDigit(s[i])) {
            digits = true;
            ++i;
        }
    }
    if (!digits) return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        bool exponentDigits = false;
        while (i < s.size() && IsDigit(s[i])) {
            exponentDigits = true;
            ++i;
        }
        if (!exponentDigits) return false;
    }
    return i == s.size();
}

// NumericTextValue of a text of neither common form, kept out of it as GeneralVal is.
[[gnu::noinline]] std::optional<double> GeneralNumericTextValue(std::string_view text) {
    if (!GeneralIsNumericText(text)) return std::nullopt;
    // Take the decorations off; what is left is a signed number for Val.
    // White space goes by the same rule IsNumericText trimmed it with (a carriage return too).
    std::string plain;
    plain.reserve(text.size());
    for (char c : text) {
        // Digits and points are never white space, whatever the locale: asked first.
        if (IsDigit(c) || c == '.' || (c != '$' && c != ',' && !std::isspace(static_cast<unsigned char>(c))))
            plain += c;
    }
    bool negative = false;
    if (!plain.empty() && plain.front() == '(') {
        negative = true;
        plain = plain.substr(1, plain.size() - 2);
    }
    if (!plain.empty() && (plain.back() == '-' || plain.back() == '+')) {
        negative = plain.back() == '-';
        plain.pop_back();
    }
    const double value = Val(plain);
    return negative ? -value : value;
}

}  // namespace

double Val(std::string_view text) {
    if (double value; PlainDecimal(text, value)) return value;
    return GeneralVal(text);
}

bool IsNumericText(std::string_view text) {
    // A plain decimal, or one as a box shows it, is the common case and always numeric.
    if (double value; PlainDecimal(text, value) || ShownDecimal(text, value)) return true;
    return GeneralIsNumericText(text);
}

std::optional<double> NumericTextValue(std::string_view text) {
    // A plain decimal has no decorations: its value is the one Val gives the text as it stands;
    // one as a box shows it is read without building the undecorated text.
    if (double value; PlainDecimal(text, value) || ShownDecimal(text, value)) return value;
    return GeneralNumericTextValue(text);
}

short NumericTextCheck(std::string_view text, bool integerEntry) {
    short result = kNumericOk;
    if (!IsNumericText(text)) result = kNotNumeric;
    if (integerEntry && text.find('.') != std::string_view::npos) result = kHasDecimalPoint;
    return result;
}

}  // namespace tallex
