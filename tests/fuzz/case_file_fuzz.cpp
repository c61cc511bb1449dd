// The case-file reader and the case run behind `tallex-cli check`, `report` and `batch`: any
// bytes as a case file.
//
// Invariants:
//  - nothing but the core's run-time error leaves ParseCase and RunCase;
//  - a case that cannot be read or run names a key and says what is wrong (a closed list is
//    impractical here: the key names and typed texts are quoted, so the check is structural:
//    both non-empty, the key without line breaks), and the batch's error line is one line of
//    valid JSON;
//  - a case that was read is written back by CaseToJson into a file that reads again to the same
//    case (the writer's output is the reader's input);
//  - a case that ran gives a verdict that is one line of valid JSON, and a report whose lines
//    hold no line breaks of their own when the typed texts hold none;
//  - the verdict and the error line fill a CSV row whose every field reads back as written and
//    none of whose text cells a spreadsheet would run as a formula.

#include "FuzzSupport.h"

#include "BatchOutput.h"
#include "CaseFile.h"
#include "CaseReplay.h"
#include "Verdict.h"

#include "report/ReportText.h"

#include <nlohmann/json.hpp>

#include <string>
#include <string_view>
#include <vector>

using namespace tallex;
using namespace tallex::casefile;
using namespace tallex::cli;
using tallex::fuzz::Printable;

namespace {

void CheckJsonLine(const std::string& line, const char* what) {
    FUZZ_CHECK(line.find('\n') == std::string::npos && line.find('\r') == std::string::npos,
               what << " spans lines: " << Printable(line));
    FUZZ_CHECK(nlohmann::json::accept(line), what << " is not JSON: " << Printable(line));
}

// Each cell as a CSV field: quoted (with its quotes doubled) or plain without a comma, quote or
// line break; a text cell that starts like a formula shows the apostrophe first.
void CheckCsvRow(const std::vector<VerdictCell>& row, const char* what) {
    FUZZ_CHECK(row.size() == VerdictColumns().size(), what << ": " << row.size() << " cells");
    for (const VerdictCell& cell : row) {
        std::string field;
        AppendCsvField(field, cell);
        std::string text = field;
        if (!field.empty() && field.front() == '"') {
            FUZZ_CHECK(field.size() >= 2 && field.back() == '"',
                       what << ": a field without its closing quote: " << Printable(field));
            text.clear();
            for (std::size_t i = 1; i + 1 < field.size(); ++i) {
                text += field[i];
                if (field[i] == '"') {
                    FUZZ_CHECK(field[i + 1] == '"', what << ": a lone quote in " << Printable(field));
                    ++i;
                }
            }
        } else {
            FUZZ_CHECK(field.find_first_of(",\"\r\n") == std::string::npos, what << ": unquoted " << Printable(field));
        }
        if (cell.kind != VerdictCell::Kind::Text) continue;
        FUZZ_CHECK(text.empty() || std::string_view("=+-@\t\r\n").find(text.front()) == std::string_view::npos,
                   what << ": a spreadsheet would run " << Printable(field));
        if (RunsAsFormula(cell.text))
            FUZZ_CHECK(text == "'" + cell.text,
                       what << ": " << Printable(cell.text) << " written " << Printable(field));
        else
            FUZZ_CHECK(text == cell.text, what << ": " << Printable(cell.text) << " written " << Printable(field));
    }
}

void CheckError(const CaseError& error) {
    FUZZ_CHECK(!error.key.empty() && !error.message.empty(),
               "error \"" << Printable(error.key) << "\": \"" << Printable(error.message) << "\"");
    // The command line prints the key as it is (and the message on one line): a line break in
    // the key would split the error line.
    FUZZ_CHECK(error.key.find_first_of("\r\n") == std::string::npos,
               "a line break in the key " << Printable(error.key));
    CheckJsonLine(ErrorJson("line 1", error.key, error.message), "the error line");
    std::vector<VerdictCell> row;
    ErrorRow("line 1", error.key, error.message, "", row);
    CheckCsvRow(row, "the error row");
}

bool HasLineBreak(const std::string& text) { return text.find_first_of("\r\n") != std::string::npos; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    tallex::fuzz::RunGuarded([&] {
        CaseFile c;
        if (const auto error = ParseCase(text, c)) {
            CheckError(*error);
            return;
        }
        // Written back and read again: the same case.
        const std::string written = CaseToJson(c);
        CaseFile again;
        const auto reread = ParseCase(written, again);
        FUZZ_CHECK(!reread, "CaseToJson wrote what ParseCase refuses (" << Printable(reread->key) << ": "
                                                                        << Printable(reread->message) << "):\n"
                                                                        << Printable(written));
        FUZZ_CHECK(CaseToJson(again) == written, "the case changed on the way through its file:\n"
                                                     << Printable(written));

        CaseOutcome outcome;
        if (const auto error = RunCase(c, outcome)) {
            CheckError(*error);
            return;
        }
        CheckJsonLine(VerdictJson(outcome), "the verdict");
        CheckJsonLine(VerdictJson(outcome, "line 1"), "the batch verdict");
        std::vector<VerdictCell> row;
        VerdictRow(outcome, "line 1", row);
        CheckCsvRow(row, "the verdict row");
        const std::vector<std::string> lines = WriteReport(*outcome.record, outcome.identity, "6.2.0");
        FUZZ_CHECK(!lines.empty(), "an empty report");
        const ReportIdentity& id = outcome.identity;
        const bool typedBreaks = HasLineBreak(id.preparer) || HasLineBreak(id.date) || HasLineBreak(id.borrower) ||
                                 HasLineBreak(id.account) || HasLineBreak(id.lender) || HasLineBreak(id.creditor);
        if (!typedBreaks)
            for (const std::string& line : lines)
                FUZZ_CHECK(!HasLineBreak(line), "a report line holds a line break: " << Printable(line));
    });
    return 0;
}
