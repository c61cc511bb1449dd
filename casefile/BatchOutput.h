#pragma once
// Where the verdicts of a batch go: JSON lines, a CSV table or a spreadsheet. Each format takes
// the cases in input order, one at a time, and keeps nothing of a case once it is written.

#include "Verdict.h"

#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tallex::cli {

using casefile::CaseError;

// The counts of the summary line.
struct BatchSummary {
    long cases = 0, checked = 0, failures = 0;
    long aprUnder = 0, aprOver = 0, fcUnder = 0, fcOver = 0, reimbursable = 0;
};

// One case's verdict as its format writes it: composed on whichever thread checked the case,
// written later in input order.
struct ComposedVerdict {
    bool refused = false;
    bool highlight = false;          // a verdict with a violation
    std::string text;                // JSON lines and CSV: the line with its end
    std::vector<VerdictCell> cells;  // a spreadsheet: the row (refused: case, account, key, message)
};

class VerdictSink {
public:
    virtual ~VerdictSink() = default;
    // Any number of threads may compose at once: composing reads nothing the sink changes.
    virtual void Compose(const CaseOutcome& outcome, const std::string& caseName, ComposedVerdict& out) const = 0;
    // `message` is on one line already.
    virtual void ComposeRefused(const std::string& caseName, const std::string& account, const std::string& key,
                                const std::string& message, ComposedVerdict& out) const = 0;
    // One thread writes, in input order.
    virtual void Write(const ComposedVerdict& verdict) = 0;
    // Completes the output; the reason when it could not be written.
    virtual std::optional<std::string> Finish(const BatchSummary& summary) = 0;
};

std::unique_ptr<VerdictSink> MakeJsonLinesSink(std::ostream& out);
std::unique_ptr<VerdictSink> MakeCsvSink(std::ostream& out);
// The workbook is written to `path` when the batch finishes; its working files go to `tempFolder`.
std::unique_ptr<VerdictSink> MakeXlsxSink(const std::string& path, const std::string& tempFolder);

// A text cell as a spreadsheet must take it: a text that a spreadsheet would run as a formula
// (one starting with =, +, - or @, or with a tab or a line break) gets a leading apostrophe.
bool RunsAsFormula(std::string_view text);

// One CSV field (RFC 4180): quoted when it holds a comma, a quote or a line break; text
// neutralised as above, numbers and booleans as in the JSON.
void AppendCsvField(std::string& out, const VerdictCell& cell);

}  // namespace tallex::cli
