#include "CaseCommands.h"

#include "BatchOutput.h"

#include "CaseFile.h"
#include "CaseReplay.h"
#include "Verdict.h"

#include "engine/RuntimeError.h"
#include "report/AtomicFile.h"
#include "report/ReportText.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <vector>

namespace tallex::cli {

using namespace tallex::casefile;

namespace {

// Messages may hold line breaks; an error line must stay one line.
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

bool ReadWholeFile(const std::string& path, std::string& text, std::string& problem) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        problem = "is a folder, not a case file";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        problem = std::string("cannot be read: ") + std::strerror(errno);
        return false;
    }
    std::ostringstream s;
    s << in.rdbuf();
    if (in.bad()) {
        problem = "cannot be read";
        return false;
    }
    text = s.str();
    return true;
}

// The result of one case: its outcome, or the fault that stopped it.
struct CaseRun {
    CaseOutcome outcome;
    std::optional<CaseError> error;
    std::string account;  // as far as the case could be read
};

void RunCaseText(const std::string& text, CaseRun& run) {
    CaseFile c;
    run.error = ParseCase(text, c);
    run.account = c.account;
    if (run.error) return;
    try {
        run.error = RunCase(c, run.outcome);
    } catch (const RuntimeError& e) {
        run.error = CaseError{"(calculation)", "Run-time error " + std::to_string(e.number()) + ": " + e.description()};
    }
}

int Fail(std::ostream& err, const std::string& name, const CaseError& error) {
    err << "tallex-cli: " << name << ": " << error.key << ": " << OneLine(error.message) << "\n";
    return 2;
}

void AddCaseInput(CLI::App* cmd, CaseCommandOptions& options, const char* what) {
    cmd->add_option("input", options.input, what)->required();
}

}  // namespace

void AddCaseCommands(CLI::App& app, CaseCommandOptions& options, CLI::App*& check, CLI::App*& report,
                     CLI::App*& batch) {
    check = app.add_subcommand("check", "Check one case and print its verdict as JSON");
    AddCaseInput(check, options, "Case file (JSON)");
    report = app.add_subcommand("report", "Write the APR Disclosure Documentation of one case");
    AddCaseInput(report, options, "Case file (JSON)");
    report->add_option("-o,--output", options.output, "Report file (written whole or not at all)");
    batch = app.add_subcommand("batch", "Check every case of a .jsonl file or a folder of .json files");
    AddCaseInput(batch, options, "Cases: one JSON case per line, or a folder of *.json");
    batch->add_option("-o,--output", options.output,
                      "Verdict file, written whole or not at all; - or none: standard output (not for xlsx)");
    batch->add_option("--format", options.format,
                      "Verdicts as jsonl (one JSON line per case), csv (one row per case) or xlsx (a spreadsheet)")
        ->check(CLI::IsMember({"jsonl", "csv", "xlsx"}))
        ->capture_default_str();
}

int RunCheckCommand(const CaseCommandOptions& options, std::ostream& out, std::ostream& err) {
    std::string text, problem;
    if (!ReadWholeFile(options.input, text, problem)) return Fail(err, options.input, {"(file)", problem});
    CaseRun run;
    RunCaseText(text, run);
    if (run.error) return Fail(err, options.input, *run.error);
    // Pretty-printed with the keys in the order of a batch line.
    const std::string name = std::filesystem::path(options.input).filename().string();
    out << nlohmann::ordered_json::parse(VerdictJson(run.outcome, name)).dump(2) << "\n";
    return 0;
}

int RunReportCommand(const CaseCommandOptions& options, std::ostream& out, std::ostream& err) {
    std::string text, problem;
    if (!ReadWholeFile(options.input, text, problem)) return Fail(err, options.input, {"(file)", problem});
    CaseRun run;
    RunCaseText(text, run);
    if (run.error) return Fail(err, options.input, *run.error);
    const std::string report =
        JoinReportLines(WriteReport(*run.outcome.record, run.outcome.identity, TALLEX_VERSION));
    if (options.output.empty()) {
        out << report;
        return 0;
    }
    if (const auto failure = WriteFileAtomically(options.output, report)) {
        err << "tallex-cli: " << options.output << ": Unable to print report to file.  Error # " << failure->number
            << " - " << failure->description << "\n";
        return 2;
    }
    return 0;
}

namespace {

class BatchWriter {
public:
    BatchWriter(VerdictSink& sink, std::ostream& err, bool progress, long total)
        : sink_(sink), err_(err), progress_(progress), total_(total) {}

    void Case(const std::string& name, const std::string& text) {
        CaseRun& run = run_;  // one record for the whole batch: a case renews it
        run.error.reset();
        RunCaseText(text, run);
        ++summary_.cases;
        if (run.error) {
            ++summary_.failures;
            sink_.Refused(name, run.account, run.error->key, OneLine(run.error->message));
        } else {
            ++summary_.checked;
            const LoanRecord& r = *run.outcome.record;
            summary_.aprUnder += r.gbAPRUnderViol;
            summary_.aprOver += r.gbAPROverViol;
            summary_.fcUnder += r.gbFCUnderViol;
            summary_.fcOver += r.gbFCOverViol;
            summary_.reimbursable += r.gbSubjToReimb;
            sink_.Verdict(run.outcome, name);
        }
        if (progress_ && (summary_.cases % 1000 == 0 || summary_.cases == total_)) ShowProgress();
    }

    // The summary line; the reason when the verdicts could not be written.
    std::optional<std::string> Finish() {
        const std::optional<std::string> problem = sink_.Finish(summary_);
        if (progress_) err_ << "\n";
        err_ << "cases " << summary_.cases << ", checked " << summary_.checked << ", failures " << summary_.failures
             << "; violations: APR understated " << summary_.aprUnder << ", APR overstated " << summary_.aprOver
             << ", finance charge understated " << summary_.fcUnder << ", finance charge overstated "
             << summary_.fcOver << "; subject to reimbursement " << summary_.reimbursable << "\n";
        return problem;
    }

private:
    void ShowProgress() {
        const int width = 40;
        const long done = summary_.cases;
        const int filled = total_ > 0 ? static_cast<int>(width * std::min(done, total_) / total_) : width;
        err_ << "\r[" << std::string(static_cast<std::size_t>(filled), '#')
             << std::string(static_cast<std::size_t>(width - filled), ' ') << "] " << done;
        if (total_ > 0) err_ << "/" << total_;
        err_ << std::flush;
    }

    VerdictSink& sink_;
    std::ostream& err_;
    bool progress_;
    long total_;
    BatchSummary summary_;
    CaseRun run_;
};

}  // namespace

int RunBatchCommand(const CaseCommandOptions& options, std::ostream& out, std::ostream& err, bool progress) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const bool toFile = !options.output.empty() && options.output != "-";
    const bool xlsx = options.format == "xlsx";
    if (xlsx && !toFile) {
        err << "tallex-cli: --format xlsx writes a spreadsheet file: give it with -o FILE.xlsx\n";
        return 2;
    }
    std::ofstream file;
    std::ostream* stream = &out;
    // Verdicts go to a temporary beside the output and are renamed into place at the end, so a
    // batch that is stopped never leaves a partial verdict file under the chosen name.
    std::string temp;
    if (toFile) {
        temp = options.output + ".partial";
        file.open(temp, std::ios::binary | std::ios::trunc);
        if (!file) {
            err << "tallex-cli: " << options.output << ": cannot be written: " << std::strerror(errno) << "\n";
            return 2;
        }
        if (xlsx) file.close();  // the workbook is written there when the batch finishes
        stream = &file;
    }
    std::unique_ptr<VerdictSink> sink;
    if (xlsx) {
        const fs::path folder = fs::path(options.output).parent_path();
        sink = MakeXlsxSink(temp, folder.empty() ? "." : folder.string());
    } else if (options.format == "csv") {
        sink = MakeCsvSink(*stream);
    } else {
        sink = MakeJsonLinesSink(*stream);
    }
    auto finish = [&](int code) {
        sink.reset();  // a workbook left open is closed now, before its file is judged
        if (toFile) {
            if (file.is_open()) file.close();
            if (code != 0 || !file) {
                fs::remove(temp, ec);
                if (code == 0) {
                    err << "tallex-cli: " << options.output << ": cannot be written\n";
                    code = 2;
                }
            } else if (fs::rename(temp, options.output, ec); ec) {
                err << "tallex-cli: " << options.output << ": cannot be written: " << ec.message() << "\n";
                fs::remove(temp, ec);
                code = 2;
            }
        }
        return code;
    };
    auto finishBatch = [&](BatchWriter& writer) {
        if (const auto problem = writer.Finish()) {
            err << "tallex-cli: " << (toFile ? options.output : std::string("-")) << ": " << *problem << "\n";
            return finish(2);
        }
        return finish(0);
    };

    if (fs::is_directory(options.input, ec)) {
        std::vector<fs::path> cases;
        for (const auto& entry : fs::directory_iterator(options.input, ec))
            if (entry.path().extension() == ".json") cases.push_back(entry.path());
        if (ec) {
            err << "tallex-cli: " << options.input << ": cannot be read: " << ec.message() << "\n";
            return finish(2);
        }
        std::sort(cases.begin(), cases.end());
        BatchWriter writer(*sink, err, progress, static_cast<long>(cases.size()));
        for (const fs::path& path : cases) {
            std::string text, problem;
            if (!ReadWholeFile(path.string(), text, problem)) text = "\x01";  // reported as malformed
            writer.Case(path.filename().string(), text);
        }
        return finishBatch(writer);
    }
    std::ifstream in(options.input, std::ios::binary);
    if (!in) {
        err << "tallex-cli: " << options.input << ": cannot be read: " << std::strerror(errno) << "\n";
        return finish(2);
    }
    BatchWriter writer(*sink, err, progress, 0);
    std::string line;
    long number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.find_first_not_of(" \t") == std::string::npos) continue;  // blank lines separate nothing
        writer.Case("line " + std::to_string(number), line);
    }
    return finishBatch(writer);
}

}  // namespace tallex::cli
