#pragma once
// The keys of a case and what each value must be, shared by every reader of cases (the JSON
// case file and the CSV loan tape): a reader finds a key and its value in its own format and
// hands them over; the value is read, checked and stored here, so that each rule and its message
// is written once and a case reads the same whichever way it arrives.

#include "CaseFile.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tallex::casefile::keys {

// A refused value, thrown by the setters and the checks below; the reader that called them
// returns it as the case's error.
struct Fault {
    CaseError error;
};
[[noreturn]] void Fail(const std::string& key, const std::string& message);

// One value as a reader found it. Each read refuses a value of the wrong type with the key's
// message ("must be a string", "must be true or false", ...).
class Value {
public:
    // Amounts, rates and counts, kept as text (a JSON number as its shortest exact text).
    virtual std::string Text(const std::string& key) const = 0;
    // Names, dates and choices.
    virtual std::string String(const std::string& key) const = 0;
    virtual bool Bool(const std::string& key) const = 0;
    // The value as a whole number; nothing when it is not one or is beyond `long long`.
    virtual std::optional<long long> Whole() const = 0;

protected:
    ~Value() = default;
};

// A key holding one value: its name within its object and the function storing it in `Target`
// (`key` is the key's full name as errors give it, for example "schedule[2].amount").
template <class Target>
struct Key {
    std::string_view name;
    void (*set)(Target& target, const Value& value, const std::string& key);
};

template <class Target>
const Key<Target>* FindKey(std::span<const Key<Target>> keys, std::string_view name) {
    for (const Key<Target>& k : keys)
        if (k.name == name) return &k;
    return nullptr;
}

// A stream as its keys arrive: whether unit periods or odd days were given matters once its
// dates are known.
struct StreamEntries {
    CaseStream stream;
    bool timing = false;
};

// The top-level keys holding one value each. Not among them: `frequency` (its choices depend on
// the loan type, so it is set by SetFrequency once every other key is in), `schedule`,
// `construction`, `answers` and `reimbursement`.
std::span<const Key<CaseFile>> CaseKeys();
std::span<const Key<StreamEntries>> StreamKeys();
std::span<const Key<CaseConstruction>> ConstructionKeys();
// The keys of `answers` and `reimbursement` (named without their object).
std::span<const Key<CaseFile>> AnswerKeys();
std::span<const Key<CaseFile>> ReimbursementKeys();

// The key of stream n (from 1): "schedule[n]".
std::string StreamKey(std::size_t n);
// A key name as an error names it: as written when it can be read so, else in JSON quotes with
// escapes (an empty name, or one holding control characters, would not show in an error line).
std::string KeyName(std::string_view name);

// The name among `known` nearest an unknown `name`, letter case aside: within a third of the
// name's length (at least 2 edits); "" when none is near. For "did you mean" in a refusal.
std::string NearestName(std::string_view name, std::span<const std::string> known);

// The checks that need every key of their object, in the order a reader makes them once the
// keys are in: the frequency (none given: the loan type's default), each stream, the
// construction terms, then the case as a whole.
void SetFrequency(CaseFile& c, const Value* frequency);
CaseStream FinishStream(StreamEntries entries, const std::string& key);
void FinishConstruction(const CaseConstruction& construction, const std::string& key);
void FinishCase(const CaseFile& c);

}  // namespace tallex::casefile::keys
