#pragma once
// The one error type of the core: an arithmetic fault or a broken invariant, carrying the
// run-time error number and description that the error screen and the command line show.
// Bad user input is never reported this way; the rules return their message instead.

#include <exception>
#include <stdexcept>
#include <string>

namespace tallex {

enum class RuntimeErrorCode : int {
    InvalidCall = 5,          // "Invalid procedure call or argument"
    Overflow = 6,             // "Overflow"
    SubscriptOutOfRange = 9,  // "Subscript out of range"
    DivisionByZero = 11,      // "Division by zero"
    // Never raised by the core; how the error screen shows what ended an action otherwise.
    OutOfMemory = 7,     // "Out of memory"
    InternalError = 51,  // "Internal error"
};

class RuntimeError : public std::runtime_error {
public:
    explicit RuntimeError(RuntimeErrorCode code);
    RuntimeError(int number, std::string description);

    int number() const noexcept { return number_; }
    const std::string& description() const noexcept { return description_; }

private:
    int number_;
    std::string description_;
};

// The description the run-time gives for each error number ("" when unknown).
std::string RuntimeErrorDescription(int number);

[[noreturn]] void Raise(RuntimeErrorCode code);

// The error the error screen shows for an exception that ended an action: a RuntimeError as it
// is, running out of memory as error 7, anything else (or nothing) as error 51.
RuntimeError RuntimeErrorOf(const std::exception_ptr& error);

}  // namespace tallex
