#include "engine/RuntimeError.h"

#include <new>

namespace tallex {

std::string RuntimeErrorDescription(int number) {
    switch (number) {
    case 5: return "Invalid procedure call or argument";
    case 6: return "Overflow";
    case 9: return "Subscript out of range";
    case 11: return "Division by zero";
    case 7: return "Out of memory";
    case 51: return "Internal error";
    default: return "";
    }
}

RuntimeError::RuntimeError(RuntimeErrorCode code)
    : RuntimeError(static_cast<int>(code), RuntimeErrorDescription(static_cast<int>(code))) {}

RuntimeError::RuntimeError(int number, std::string description)
    : std::runtime_error(description), number_(number), description_(std::move(description)) {}

void Raise(RuntimeErrorCode code) { throw RuntimeError(code); }

RuntimeError RuntimeErrorOf(const std::exception_ptr& error) {
    try {
        if (error) std::rethrow_exception(error);
    } catch (const RuntimeError& e) {
        return e;
    } catch (const std::bad_alloc&) {
        return RuntimeError(RuntimeErrorCode::OutOfMemory);
    } catch (...) {}
    return RuntimeError(RuntimeErrorCode::InternalError);
}

}  // namespace tallex
