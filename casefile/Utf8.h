// UTF-8 as JSON and spreadsheets require it: a file name or a tape's cell may hold any bytes.
#pragma once

#include <cstddef>

namespace tallex {

// The length of the well-formed UTF-8 sequence that starts `s` (of `available` bytes), or 0 when
// none does: a stray continuation byte, an overlong form, a surrogate, a code point past U+10FFFF,
// or a sequence cut short.
inline std::size_t Utf8SequenceLength(const unsigned char* s, std::size_t available) {
    const unsigned char c = s[0];
    std::size_t length = 0;
    if (c < 0x80)
        length = 1;
    else if (c >= 0xC2 && c <= 0xDF)
        length = 2;
    else if (c >= 0xE0 && c <= 0xEF)
        length = 3;
    else if (c >= 0xF0 && c <= 0xF4)
        length = 4;
    if (length == 0 || length > available) return 0;
    for (std::size_t k = 1; k < length; ++k)
        if ((s[k] & 0xC0) != 0x80) return 0;
    if (length == 3) {
        const unsigned code = (c & 0x0Fu) << 12 | (s[1] & 0x3Fu) << 6 | (s[2] & 0x3Fu);
        if (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF)) return 0;
    }
    if (length == 4) {
        const unsigned code = (c & 0x07u) << 18 | (s[1] & 0x3Fu) << 12 | (s[2] & 0x3Fu) << 6;
        if (code < 0x10000 || code > 0x10FFFF) return 0;
    }
    return length;
}

// U+FFFD REPLACEMENT CHARACTER, which takes the place of each byte that starts no sequence.
inline constexpr char kReplacementCharacter[] = "\xEF\xBF\xBD";

}  // namespace tallex
