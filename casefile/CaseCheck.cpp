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

void CountCase(const CaseRun& run, BatchSummary& summary) {
    ++summary.cases;
    if (run.error) {
        ++summary.failures;
        return;
    }
    ++summary.checked;
    const LoanRecord& r = *run.outcome.record;
    summary.aprUnder += r.gbAPRUnderViol;
    summary.aprOver += r.gbAPROverViol;
    summary.fcUnder += r.gbFCUnderViol;
    summary.fcOver += r.gbFCOverViol;
    summary.reimbursable += r.gbSubjToReimb;
}

void RecordCase(const CaseRun& run, const std::string& name, BatchSummary& summary, VerdictSink& sink) {
    CountCase(run, summary);
    if (run.error)
        sink.Refused(name, run.account, run.error->key, OneLine(run.error->message));
    else
        sink.Verdict(run.outcome, name);
}

}  // namespace tallex::cli
