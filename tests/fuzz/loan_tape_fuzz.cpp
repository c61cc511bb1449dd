// The loan tape reader behind `tallex-cli batch` for CSV: any bytes as a tape.
//
// Invariants:
//  - nothing leaves the reader but its rows and errors;
//  - a refused tape or row names a key and says what is wrong: both non-empty UTF-8 text (they
//    are written into JSON, CSV and spreadsheets), the key on one line;
//  - the reading ends and goes forward: at most one row per line of the tape, row numbers
//    rising, each row starting on a later line than the one before, the bytes read rising and
//    never beyond the tape, which is read whole once the last row is out;
//  - a row is a case or an error; its identity is its account when it has one, else "row N",
//    and UTF-8 text;
//  - a row read into a case holds what a case file holds: CaseToJson writes a file that reads
//    back to the same case.

#include "FuzzSupport.h"

#include "CaseFile.h"
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
    FUZZ_CHECK(!error.key.empty() && !error.message.empty(),
               "error \"" << Printable(error.key) << "\": \"" << Printable(error.message) << "\"");
    FUZZ_CHECK(IsUtf8(error.key) && IsUtf8(error.message),
               "an error that is not UTF-8: " << Printable(error.key) << ": " << Printable(error.message));
    FUZZ_CHECK(error.key.find_first_of("\r\n") == std::string::npos,
               "a line break in the key " << Printable(error.key));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    tallex::fuzz::RunGuarded([&] {
        std::istringstream in(text);
        LoanTapeReader reader(in);
        if (const auto error = reader.ReadHeader()) {
            CheckError(*error);
            return;
        }
        // Every line ending in CR, LF or CR LF, and the last one without: a bound on the rows.
        const long lines =
            static_cast<long>(std::count(text.begin(), text.end(), '\n') + std::count(text.begin(), text.end(), '\r')) +
            1;
        long lastNumber = 0, lastLine = 1;
        std::uint64_t lastBytes = 0;
        TapeRow row;
        while (reader.Next(row)) {
            FUZZ_CHECK(row.number > lastNumber && row.line > lastLine && row.line <= lines,
                       "row " << row.number << " on line " << row.line << " after row " << lastNumber << " on line "
                              << lastLine << " (" << lines << " lines)");
            const std::uint64_t bytes = reader.BytesRead();
            FUZZ_CHECK(bytes > lastBytes && bytes <= size, "bytes read " << bytes << " after " << lastBytes);
            lastNumber = row.number;
            lastLine = row.line;
            lastBytes = bytes;

            const std::string rowName = "row " + std::to_string(row.number);
            FUZZ_CHECK(IsUtf8(row.identity), "an identity that is not UTF-8: " << Printable(row.identity));
            if (row.error) {
                CheckError(*row.error);
                FUZZ_CHECK(!row.identity.empty(), "no identity for " << rowName);
                continue;
            }
            FUZZ_CHECK(row.identity == (row.caseFile.account.empty() ? rowName : row.caseFile.account),
                       "identity " << Printable(row.identity) << " of " << rowName << ", account "
                                   << Printable(row.caseFile.account));
            const std::string written = CaseToJson(row.caseFile);
            CaseFile again;
            const auto reread = ParseCase(written, again);
            FUZZ_CHECK(!reread, "a row's case written as a file is refused (" << Printable(reread->key) << ": "
                                                                              << Printable(reread->message) << "):\n"
                                                                              << Printable(written));
            FUZZ_CHECK(CaseToJson(again) == written, "a row's case changed on the way through its file:\n"
                                                         << Printable(written));
        }
        FUZZ_CHECK(!reader.ReadFailed(), "a string stream failed");
        FUZZ_CHECK(reader.BytesRead() == size, "read " << reader.BytesRead() << " bytes of " << size);
    });
    return 0;
}
