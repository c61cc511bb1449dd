#include "engine/RuntimeError.h"

namespace tallex {

std::string RuntimeErrorDescription(int number) {
    switch (number) {
    case 5: return "Invalid procedure call or argument";
    case 6: return "Overflow";
    case 9: return "Subscript out of range";
    case 11: return "Division by zero";
    default: return "";
    }
}

RuntimeError::RuntimeError(RuntimeErrorCode code)
    : RuntimeError(static_cast<int>(code), RuntimeErrorDescription(static_cast<int>(code))) {}

RuntimeError::RuntimeError(int number, std::string description)
    : std::runtime_error(description), number_(number), description_(std::move(description)) {}

void Raise(RuntimeErrorCode code) { throw RuntimeError(code); }

}  // namespace tallex
