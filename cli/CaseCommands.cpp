#include "CaseCommands.h"

#include "BatchOutput.h"

#include "CaseCheck.h"
#include "CaseFile.h"
#include "CaseReplay.h"
#include "LoanTape.h"
#include "Verdict.h"

#include "engine/RuntimeError.h"
#include "report/AtomicFile.h"
#include "report/ReportText.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cerrno>
#include <cstdint>
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

// The whole of a stream; false with the problem when it cannot be read.
bool ReadStream(std::istream& in, std::string& text, std::string& problem) {
    std::ostringstream s;
    s << in.rdbuf();
    if (in.bad()) {
        problem = "cannot be read";
        return false;
    }
    text = s.str();
    return true;
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
    return ReadStream(in, text, problem);
}

// A case file named on the command line, or standard input for "-".
bool ReadCaseInput(const std::string& path, std::istream& in, std::string& text, std::string& problem) {
    if (path != "-") return ReadWholeFile(path, text, problem);
    return ReadStream(in, text, problem);
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
    AddCaseInput(check, options, "Case file (JSON); - reads standard input");
    check->footer(
        "Exit codes: 0 no violation, 1 a violation (APR or finance charge beyond its tolerance), "
        "2 bad input or an unreadable file.");
    report = app.add_subcommand("report", "Write the APR Disclosure Documentation of one case");
    AddCaseInput(report, options, "Case file (JSON); - reads standard input");
    report->add_option("-o,--output", options.output,
                       "Report file, written whole or not at all (default: standard output)");
    report->footer("Exit codes: 0 the report was written, 2 bad input or an unreadable or unwritable file.");
    batch = app.add_subcommand("batch",
                               "Check every case of a .jsonl file, a folder of .json files, a .json case "
                               "file or a .csv loan tape");
    AddCaseInput(batch, options,
                 "Cases, by the name's ending: .jsonl one JSON case per line, .json one case file, .csv a loan tape, "
                 "a folder of *.json; any other name is read as JSON lines; - reads standard input");
    batch
        ->add_option("--input-format", options.inputFormat,
                     "Read the input as jsonl, csv or json whatever its name (default: by the name's ending; "
                     "jsonl for standard input)")
        ->check(CLI::IsMember({"jsonl", "csv", "json"}));
    batch->add_option("-o,--output", options.output,
                      "Verdict file, written whole or not at all (default, or -: standard output; not for xlsx)");
    batch
        ->add_option("--format", options.format,
                     "Verdicts as jsonl (one JSON line per case), csv (one row per case) or xlsx (a spreadsheet)")
        ->check(CLI::IsMember({"jsonl", "csv", "xlsx"}))
        ->capture_default_str();
    batch->footer(
        "The summary line goes to standard error, with a progress bar when that is a terminal.\n"
        "Exit codes: 0 every case was checked, 1 a case was refused (its error is among the verdicts), "
        "2 the batch cannot run (unreadable input or output, no cases at all).");
}

int RunCheckCommand(const CaseCommandOptions& options, std::ostream& out, std::ostream& err, std::istream& in) {
    std::string text, problem;
    if (!ReadCaseInput(options.input, in, text, problem)) return Fail(err, options.input, {"(file)", problem});
    CaseRun run;
    RunCaseText(text, run);
    if (run.error) return Fail(err, options.input, *run.error);
    // Pretty-printed with the keys in the order of a batch line.
    const std::string name = std::filesystem::path(options.input).filename().string();
    out << nlohmann::ordered_json::parse(VerdictJson(run.outcome, name)).dump(2) << "\n";
    return HasViolation(*run.outcome.record) ? 1 : 0;
}

int RunReportCommand(const CaseCommandOptions& options, std::ostream& out, std::ostream& err, std::istream& in) {
    std::string text, problem;
    if (!ReadCaseInput(options.input, in, text, problem)) return Fail(err, options.input, {"(file)", problem});
    CaseRun run;
    RunCaseText(text, run);
    if (run.error) return Fail(err, options.input, *run.error);
    const std::string report = JoinReportLines(WriteReport(*run.outcome.record, run.outcome.identity, TALLEX_VERSION));
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
    // `total`: the size of the input (bytes of a file, cases of a folder), 0 when unknown.
    BatchWriter(VerdictSink& sink, std::ostream& err, bool progress, std::uint64_t total)
        : sink_(sink), err_(err), progress_(progress), total_(total) {}

    // How far through the input the next case ends, in the units of `total`.
    void At(std::uint64_t done) { done_ = done; }

    void Case(const std::string& name, const std::string& text) {
        CaseRun& run = run_;  // one record for the whole batch: a case renews it
        run.error.reset();
        RunCaseText(text, run);
        Record(name);
    }

    void Case(const std::string& name, const CaseFile& c) {
        run_.error.reset();
        run_.account = c.account;
        RunCaseFile(c, run_);
        Record(name);
    }

    void Refused(const std::string& name, const std::string& account, const CaseError& error) {
        run_.error = error;
        run_.account = account;
        Record(name);
    }

    long Cases() const { return summary_.cases; }
    long Failures() const { return summary_.failures; }

    // The summary line; the reason when the verdicts could not be written.
    std::optional<std::string> Finish() {
        if (progress_ && summary_.cases % 1000 != 0) ShowProgress();
        const std::optional<std::string> problem = sink_.Finish(summary_);
        if (progress_) err_ << "\n";
        err_ << "cases " << summary_.cases << ", checked " << summary_.checked << ", failures " << summary_.failures
             << "; violations: APR understated " << summary_.aprUnder << ", APR overstated " << summary_.aprOver
             << ", finance charge understated " << summary_.fcUnder << ", finance charge overstated " << summary_.fcOver
             << "; subject to reimbursement " << summary_.reimbursable << "\n";
        return problem;
    }

private:
    void Record(const std::string& name) {
        RecordCase(run_, name, summary_, sink_);
        if (progress_ && summary_.cases % 1000 == 0) ShowProgress();
    }

    void ShowProgress() {
        const int width = 40;
        const std::uint64_t done = total_ > 0 ? std::min(done_, total_) : 0;
        const int filled = total_ > 0 ? static_cast<int>(width * done / total_) : 0;
        err_ << "\r[" << std::string(static_cast<std::size_t>(filled), '#')
             << std::string(static_cast<std::size_t>(width - filled), total_ > 0 ? ' ' : '?') << "] ";
        if (total_ > 0) err_ << (100 * done / total_) << "% ";
        err_ << summary_.cases << " cases" << std::flush;
    }

    VerdictSink& sink_;
    std::ostream& err_;
    bool progress_;
    std::uint64_t total_;
    std::uint64_t done_ = 0;
    BatchSummary summary_;
    CaseRun run_;
};

// What a batch reads: chosen by --input-format, else by the input's name.
enum class InputKind { JsonLines, Folder, CaseFile, Tape };

}  // namespace

int RunBatchCommand(const CaseCommandOptions& options, std::istream& in, std::ostream& out, std::ostream& err,
                    bool progress) {
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
            if (code == 2 || !file) {
                fs::remove(temp, ec);
                if (code != 2) {
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
        if (writer.Cases() == 0) {
            err << "tallex-cli: " << options.input << ": holds no cases\n";
            return finish(2);
        }
        if (const auto problem = writer.Finish()) {
            err << "tallex-cli: " << (toFile ? options.output : std::string("-")) << ": " << *problem << "\n";
            return finish(2);
        }
        return finish(writer.Failures() > 0 ? 1 : 0);
    };

    const bool standardInput = options.input == "-";
    InputKind kind = InputKind::JsonLines;
    const std::string extension = fs::path(options.input).extension().string();
    if (options.inputFormat == "csv" || (options.inputFormat.empty() && extension == ".csv"))
        kind = InputKind::Tape;
    else if (options.inputFormat == "json" || (options.inputFormat.empty() && extension == ".json"))
        kind = InputKind::CaseFile;
    else if (options.inputFormat.empty() && !standardInput && fs::is_directory(options.input, ec))
        kind = InputKind::Folder;

    if (kind == InputKind::Folder) {
        std::vector<fs::path> cases;
        for (const auto& entry : fs::directory_iterator(options.input, ec))
            if (entry.path().extension() == ".json") cases.push_back(entry.path());
        if (ec) {
            err << "tallex-cli: " << options.input << ": cannot be read: " << ec.message() << "\n";
            return finish(2);
        }
        std::sort(cases.begin(), cases.end());
        BatchWriter writer(*sink, err, progress, cases.size());
        for (const fs::path& path : cases) {
            std::string text, problem;
            if (!ReadWholeFile(path.string(), text, problem)) text = "\x01";  // reported as malformed
            writer.At(writer.Cases() + 1);
            writer.Case(path.filename().string(), text);
        }
        return finishBatch(writer);
    }
    std::ifstream file_in;
    std::istream* source = &in;
    std::uint64_t size = 0;
    if (!standardInput) {
        if (fs::is_directory(options.input, ec)) {
            err << "tallex-cli: " << options.input << ": is a folder, not a "
                << (kind == InputKind::Tape ? "loan tape" : "case file") << "\n";
            return finish(2);
        }
        file_in.open(options.input, std::ios::binary);
        if (!file_in) {
            err << "tallex-cli: " << options.input << ": cannot be read: " << std::strerror(errno) << "\n";
            return finish(2);
        }
        if (fs::is_regular_file(options.input, ec)) size = fs::file_size(options.input, ec);
        if (ec) size = 0;
        source = &file_in;
    }
    BatchWriter writer(*sink, err, progress, size);
    if (kind == InputKind::CaseFile) {
        std::ostringstream s;
        s << source->rdbuf();
        writer.At(size);
        writer.Case(standardInput ? std::string("-") : fs::path(options.input).filename().string(), s.str());
        return finishBatch(writer);
    }
    if (kind == InputKind::Tape) {
        LoanTapeReader tape(*source);
        if (const auto problem = tape.ReadHeader()) {
            err << "tallex-cli: " << options.input << ": " << problem->key << ": " << OneLine(problem->message) << "\n";
            return finish(2);
        }
        TapeRow row;
        while (tape.Next(row)) {
            writer.At(tape.BytesRead());
            const std::string name = "row " + std::to_string(row.number);
            if (row.error)
                writer.Refused(name, row.identity == name ? std::string() : row.identity, *row.error);
            else
                writer.Case(name, row.caseFile);
        }
        if (tape.ReadFailed()) {
            err << "tallex-cli: " << options.input << ": cannot be read after row " << writer.Cases() << "\n";
            return finish(2);
        }
        return finishBatch(writer);
    }
    std::string line;
    long number = 0;
    std::uint64_t bytes = 0;
    while (std::getline(*source, line)) {
        ++number;
        bytes += line.size() + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.find_first_not_of(" \t") == std::string::npos) continue;  // blank lines separate nothing
        writer.At(bytes);
        writer.Case("line " + std::to_string(number), line);
    }
    return finishBatch(writer);
}

}  // namespace tallex::cli
