// The case-file reader and the case run behind `tallex-cli check`, `report` and `batch`: any
// bytes as a case file.
//
// Invariants:
//  - nothing but the core's run-time error leaves ParseCase and RunCase;
//  - a case that cannot be read or run names a key on one line and says what is wrong, and the
//    batch's error line is one line of valid JSON;
//  - a case that was read is written back into a file that reads again to the same case;
//  - a case that ran gives a verdict that is one line of valid JSON, and a report whose lines
//    hold no line breaks of their own when the typed texts hold none;
//  - the verdict and the error line fill a CSV row whose every field reads back as written and
//    none of whose text cells a spreadsheet would run as a formula.

#include "CaseChecks.h"
#include "FuzzSupport.h"

#include "BatchOutput.h"
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

void CheckJsonLine(const std::string& line) {
    FUZZ_CHECK(line.find_first_of("\r\n") == std::string::npos && nlohmann::json::accept(line), Printable(line));
}

// Each cell as a CSV field: quoted (its quotes doubled) or plain without a comma, quote or line
// break; a text cell that starts like a formula shows an apostrophe first.
void CheckCsvRow(const std::vector<VerdictCell>& row) {
    FUZZ_CHECK(row.size() == VerdictColumns().size(), row.size() << " cells");
    for (const VerdictCell& cell : row) {
        std::string field, text;
        AppendCsvField(field, cell);
        if (!field.empty() && field.front() == '"') {
            FUZZ_CHECK(field.size() >= 2 && field.back() == '"', Printable(field));
            for (std::size_t i = 1; i + 1 < field.size(); ++i) {
                text += field[i];
                if (field[i] == '"') FUZZ_CHECK(field[++i] == '"', Printable(field));
            }
        } else {
            FUZZ_CHECK(field.find_first_of(",\"\r\n") == std::string::npos, Printable(field));
            text = field;
        }
        if (cell.kind != VerdictCell::Kind::Text) continue;
        FUZZ_CHECK(text.empty() || std::string_view("=+-@\t\r\n").find(text.front()) == std::string_view::npos,
                   Printable(field));
        FUZZ_CHECK(text == (RunsAsFormula(cell.text) ? "'" : "") + cell.text, Printable(field));
    }
}

void CheckError(const CaseError& error) {
    tallex::fuzz::CheckCaseError(error);
    CheckJsonLine(ErrorJson("line 1", error.key, error.message));
    std::vector<VerdictCell> row;
    ErrorRow("line 1", error.key, error.message, "", row);
    CheckCsvRow(row);
}

bool HasLineBreak(const std::string& text) { return text.find_first_of("\r\n") != std::string::npos; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    tallex::fuzz::RunGuarded([&] {
        CaseFile c;
        CaseOutcome outcome;
        auto error = ParseCase(text, c);
        if (!error) tallex::fuzz::CheckCaseRoundTrip(c);
        if (!error) error = RunCase(c, outcome);
        if (error) return CheckError(*error);
        CheckJsonLine(VerdictJson(outcome));
        CheckJsonLine(VerdictJson(outcome, "line 1"));
        std::vector<VerdictCell> row;
        VerdictRow(outcome, "line 1", row);
        CheckCsvRow(row);
        const ReportIdentity& id = outcome.identity;
        const std::vector<std::string> lines = WriteReport(*outcome.record, id, "6.2.0");
        FUZZ_CHECK(!lines.empty(), "an empty report");
        if (HasLineBreak(id.preparer + id.date + id.borrower + id.account + id.lender + id.creditor)) return;
        for (const std::string& line : lines) FUZZ_CHECK(!HasLineBreak(line), Printable(line));
    });
    return 0;
}
