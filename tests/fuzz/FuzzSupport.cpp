#include "FuzzSupport.h"

#include <cstdio>
#include <cstdlib>

namespace tallex::fuzz {

void Violation(const char* invariant, const std::string& detail, const char* file, int line) {
    std::fprintf(stderr, "\n*** invariant broken at %s:%d\n    %s\n    %s\n", file, line, invariant, detail.c_str());
    std::fflush(stderr);
    std::abort();
}

std::string Printable(std::string_view text) {
    static const char* const kHex = "0123456789abcdef";
    std::string out;
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0x20 && u < 0x7f && c != '\\') {
            out += c;
        } else {
            out += "\\x";
            out += kHex[u >> 4];
            out += kHex[u & 15];
        }
    }
    return out;
}

bool IsKnownRuntimeError(const RuntimeError& error) {
    switch (error.number()) {
    case 5:
    case 6:
    case 9:
    case 11: return !error.description().empty() && error.description() == RuntimeErrorDescription(error.number());
    default: return false;
    }
}

}  // namespace tallex::fuzz
