#pragma once
// What the fuzz targets share: typed values read out of the fuzzer's bytes; the invariant check
// that stops a run with the broken invariant printed (libFuzzer keeps the input as a crash, the
// corpus replay fails); the rule that nothing but a run-time error the core knows may leave a
// run; a clock the target moves, a user answering from the bytes, and the invariants of the
// results page.

#include "engine/LoanRecord.h"
#include "engine/RuntimeError.h"
#include "ui/Clock.h"
#include "ui/MemoryResultsView.h"
#include "ui/ScriptedUser.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <sstream>
#include <string>
#include <string_view>

namespace tallex::fuzz {

// Reads values from the front of the input; once it is used up every read gives zeros, so a
// short input is still a whole (if dull) case.
class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool empty() const { return size_ == 0; }
    std::uint8_t Byte() { return size_ == 0 ? 0 : (--size_, *data_++); }
    bool Bool() { return (Byte() & 1) != 0; }
    // A number in lo..hi (inclusive).
    int IntIn(int lo, int hi) {
        const std::uint32_t span = static_cast<std::uint32_t>(hi - lo) + 1;
        std::uint32_t raw = 0;
        for (std::uint32_t reach = 1; reach < span && reach < (1u << 24); reach <<= 8) raw = (raw << 8) | Byte();
        return lo + static_cast<int>(raw % span);
    }
    // Any double, NaN and infinities included: eight bytes as they come.
    double AnyDouble() {
        std::uint64_t bits = 0;
        for (int i = 0; i < 8; ++i) bits = (bits << 8) | Byte();
        double value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    // Mostly the values a loan holds, sometimes the extremes: a pick from `usual` or any double.
    double Double(std::initializer_list<double> usual) {
        const std::uint8_t choice = Byte();
        if (choice < 200) return usual.begin()[choice % usual.size()];
        if (choice < 230) return static_cast<double>(IntIn(-100000, 100000)) / 100.0;
        return AnyDouble();
    }
    // A text of up to maxLength bytes (its length comes first).
    std::string Text(std::size_t maxLength) {
        const std::size_t length = Byte() % (maxLength + 1);
        std::string text;
        while (text.size() < length && size_ > 0) text += static_cast<char>(Byte());
        return text;
    }
    // One of the given texts, or (one time in four) a free text.
    std::string TextLike(std::initializer_list<std::string_view> usual, std::size_t maxLength = 16) {
        const std::uint8_t choice = Byte();
        if (choice >= 192) return Text(maxLength);
        return std::string(usual.begin()[choice % usual.size()]);
    }
    // Everything that is left, as text.
    std::string Rest() {
        std::string text(reinterpret_cast<const char*>(data_), size_);
        data_ += size_;
        size_ = 0;
        return text;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
};

[[noreturn]] void Violation(const char* invariant, const std::string& detail, const char* file, int line);

// A printable line of a text that may hold any byte.
std::string Printable(std::string_view text);

// The run-time errors the core raises: 5, 6, 9 and 11, each with its own description.
bool IsKnownRuntimeError(const RuntimeError& error);

// Time moves on only when the target moves it.
class SteppingClock final : public Clock {
public:
    std::chrono::steady_clock::time_point now() const override { return now_; }
    void advance(int milliseconds) { now_ += std::chrono::milliseconds(milliseconds); }

private:
    std::chrono::steady_clock::time_point now_{};
};

// Answers each yes/no question from the input, OK to every message.
void AnswerFrom(ScriptedUser& user, FuzzInput& in);

// The record, the results page's labels and the prompts shown from `firstPrompt` on, after
// ComputeDisclosureResults ran to its end (not refused).
void CheckComplianceOutcome(const LoanRecord& r, const MemoryResultsView& view, const ScriptedUser& user,
                            std::size_t firstPrompt);

}  // namespace tallex::fuzz

#define FUZZ_CHECK(condition, detail)                                                     \
    do {                                                                                  \
        if (!(condition)) {                                                               \
            std::ostringstream fuzzDetail_;                                               \
            fuzzDetail_ << detail;                                                        \
            ::tallex::fuzz::Violation(#condition, fuzzDetail_.str(), __FILE__, __LINE__); \
        }                                                                                 \
    } while (0)

namespace tallex::fuzz {

// Runs one input: a RuntimeError the core knows is an accepted end of the run, anything else
// that escapes is a finding.
template <class Body>
void RunGuarded(Body&& body) {
    try {
        body();
    } catch (const RuntimeError& error) {
        FUZZ_CHECK(IsKnownRuntimeError(error), error.number() << " \"" << error.description() << "\"");
    } catch (const std::exception& error) {
        FUZZ_CHECK(false && "only tallex::RuntimeError may escape", error.what());
    } catch (...) {
        FUZZ_CHECK(false && "only tallex::RuntimeError may escape", "an exception of an unknown type");
    }
}

}  // namespace tallex::fuzz
