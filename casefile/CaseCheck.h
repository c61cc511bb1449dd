#pragma once
// One case of a batch, checked: read, run to its end through the pages' rules, counted in the
// summary and handed to the verdicts' output. `tallex-cli batch` and the desktop program's
// loan-tape review check every case through these, so both give the same verdicts and counts.

#include "BatchOutput.h"
#include "CaseFile.h"

#include <optional>
#include <string>

namespace tallex::cli {

// The result of one case: its outcome, or the fault that stopped it.
struct CaseRun {
    CaseOutcome outcome;
    std::optional<CaseError> error;
    std::string account;  // as far as the case could be read
};

// Runs the case to its end; a run-time error of the core stops the case as its error. The
// outcome is renewed (its record's storage kept), the account left as it is.
void RunCaseFile(const casefile::CaseFile& c, CaseRun& run);
// Reads a case from its JSON text, then runs it as above.
void RunCaseText(const std::string& text, CaseRun& run);

// Messages may hold line breaks; an error line must stay one line.
std::string OneLine(std::string text);

// What the summary line counts of one case; kept apart from the run, so that a case checked on
// one thread is counted on another.
struct CaseTally {
    bool refused = false;
    bool aprUnder = false, aprOver = false, fcUnder = false, fcOver = false, reimbursable = false;
};
CaseTally TallyOf(const CaseRun& run);
void CountCase(const CaseTally& tally, BatchSummary& summary);
inline void CountCase(const CaseRun& run, BatchSummary& summary) { CountCase(TallyOf(run), summary); }

// The case's verdict, or its refusal, as the sink writes it.
void ComposeCase(const CaseRun& run, const std::string& name, const VerdictSink& sink, ComposedVerdict& out);
// Counts the case and writes its verdict, or its refusal, to the sink.
void RecordCase(const CaseRun& run, const std::string& name, BatchSummary& summary, VerdictSink& sink);

}  // namespace tallex::cli
