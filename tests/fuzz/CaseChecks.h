#pragma once
// What the case-file and loan-tape targets check alike: a refusal names a key on one line and
// says what is wrong; a case read in is written by CaseToJson into a file that reads back to the
// same case (the writer's output is the reader's input).

#include "FuzzSupport.h"

#include "CaseFile.h"

namespace tallex::fuzz {

inline void CheckCaseError(const casefile::CaseError& error) {
    FUZZ_CHECK(!error.key.empty() && !error.message.empty(), Printable(error.key) << ": " << Printable(error.message));
    FUZZ_CHECK(error.key.find_first_of("\r\n") == std::string::npos, Printable(error.key));
}

inline void CheckCaseRoundTrip(const casefile::CaseFile& c) {
    const std::string written = casefile::CaseToJson(c);
    casefile::CaseFile again;
    const auto reread = casefile::ParseCase(written, again);
    FUZZ_CHECK(!reread, Printable(reread->key) << ": " << Printable(reread->message) << " in " << Printable(written));
    FUZZ_CHECK(casefile::CaseToJson(again) == written, Printable(written));
}

}  // namespace tallex::fuzz
