// The loan tape reader behind `tallex-cli batch` for CSV: any bytes as a tape.
//
// Invariants:
//  - nothing leaves the reader but its rows and errors;
//  - a refused tape or row names a key on one line and says what is wrong, in UTF-8 text (it is
//    written into JSON, CSV and spreadsheets);
//  - the reading ends and goes forward: at most one row per line of the tape, row numbers
//    rising, each row starting on a later line than the one before, the bytes read rising and
//    never beyond the tape, which is read whole once the last row is out;
//  - a row's identity is UTF-8 text: its account when it has one, else "row N";
//  - a row read into a case is written into a case file that reads back to the same case.

#include "CaseChecks.h"
#include "FuzzSupport.h"

#include "LoanTape.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <sstream>
#include <string>

using namespace tallex::casefile;
using tallex::fuzz::Printable;

namespace {

bool IsUtf8(const std::string& text) {
    try {
        (void)nlohmann::json(text).dump();
        return true;
    } catch (const nlohmann::json::type_error&) {
        return false;
    }
}

void CheckError(const CaseError& error) {
    tallex::fuzz::CheckCaseError(error);
    FUZZ_CHECK(IsUtf8(error.key) && IsUtf8(error.message), Printable(error.key) << ": " << Printable(error.message));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    tallex::fuzz::RunGuarded([&] {
        std::istringstream in(text);
        LoanTapeReader reader(in);
        if (const auto error = reader.ReadHeader()) return CheckError(*error);
        // Every line ending in CR, LF or CR LF, and the last one without: a bound on the rows.
        const long lines =
            static_cast<long>(std::count(text.begin(), text.end(), '\n') + std::count(text.begin(), text.end(), '\r')) +
            1;
        long lastNumber = 0, lastLine = 1;
        std::uint64_t lastBytes = 0;
        TapeRow row;
        while (reader.Next(row)) {
            const std::uint64_t bytes = reader.BytesRead();
            FUZZ_CHECK(row.number > lastNumber && row.line > lastLine && row.line <= lines && bytes > lastBytes &&
                           bytes <= size,
                       "row " << row.number << " on line " << row.line << " after " << bytes << " bytes");
            lastNumber = row.number;
            lastLine = row.line;
            lastBytes = bytes;
            FUZZ_CHECK(IsUtf8(row.identity) && !row.identity.empty(), Printable(row.identity));
            if (row.error) {
                CheckError(*row.error);
                continue;
            }
            const std::string account = row.caseFile.account;
            FUZZ_CHECK(row.identity == (account.empty() ? "row " + std::to_string(row.number) : account),
                       Printable(row.identity));
            tallex::fuzz::CheckCaseRoundTrip(row.caseFile);
        }
        FUZZ_CHECK(!reader.ReadFailed() && reader.BytesRead() == size, reader.BytesRead() << " bytes of " << size);
    });
    return 0;
}
