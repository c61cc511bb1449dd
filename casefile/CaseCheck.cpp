#include "CaseCheck.h"

#include "engine/RuntimeError.h"

namespace tallex::cli {

using namespace tallex::casefile;

void RunCaseFile(const CaseFile& c, CaseRun& run) {
    try {
        run.error = RunCase(c, run.outcome);
    } catch (const RuntimeError& e) {
        run.error = CaseError{"(calculation)", "Run-time error " + std::to_string(e.number()) + ": " + e.description()};
    }
}

void RunCaseText(const std::string& text, CaseRun& run) {
    CaseFile c;
    run.error = ParseCase(text, c);
    run.account = c.account;
    if (run.error) return;
    RunCaseFile(c, run);
}

std::string OneLine(std::string text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            if (!out.empty() && out.back() != ' ') out += ' ';
            continue;
        }
        out += c;
    }
    while (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

CaseTally TallyOf(const CaseRun& run) {
    if (run.error) return {.refused = true};
    const LoanRecord& r = *run.outcome.record;
    return {.aprUnder = r.gbAPRUnderViol,
            .aprOver = r.gbAPROverViol,
            .fcUnder = r.gbFCUnderViol,
            .fcOver = r.gbFCOverViol,
            .reimbursable = r.gbSubjToReimb};
}

void CountCase(const CaseTally& tally, BatchSummary& summary) {
    ++summary.cases;
    if (tally.refused) {
        ++summary.failures;
        return;
    }
    ++summary.checked;
    summary.aprUnder += tally.aprUnder;
    summary.aprOver += tally.aprOver;
    summary.fcUnder += tally.fcUnder;
    summary.fcOver += tally.fcOver;
    summary.reimbursable += tally.reimbursable;
}

void ComposeCase(const CaseRun& run, const std::string& name, const VerdictSink& sink, ComposedVerdict& out) {
    if (run.error)
        sink.ComposeRefused(name, run.account, run.error->key, OneLine(run.error->message), out);
    else
        sink.Compose(run.outcome, name, out);
}

void RecordCase(const CaseRun& run, const std::string& name, BatchSummary& summary, VerdictSink& sink) {
    CountCase(run, summary);
    ComposedVerdict verdict;
    ComposeCase(run, name, sink, verdict);
    sink.Write(verdict);
}

}  // namespace tallex::cli
