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
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <mutex>
#include <sstream>
#include <thread>
#include <utility>
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

int DefaultJobs() { return std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, kMaxJobs); }

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
                     "Verdicts as jsonl (one JSON line per case), csv (one row per case) or xlsx (a spreadsheet) "
                     "(default: csv or xlsx when -o's name ends so, else jsonl)")
        ->check(CLI::IsMember({"jsonl", "csv", "xlsx"}));
    batch
        ->add_option("-j,--jobs", options.jobs,
                     "Cases checked at once, on as many threads; the verdicts keep the input's order (default: "
                     "every core, at most 64)")
        ->check(CLI::Range(1, kMaxJobs))
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

// One case of a batch: what the reader handed over, then its composed verdict.
struct BatchCase {
    enum class Kind { Text, Parsed, Refused };
    Kind kind = Kind::Text;
    std::string name;
    std::string text;     // Text: the case as JSON
    CaseFile caseFile;    // Parsed: a tape's row
    std::string account;  // Refused: the row's account and its error
    CaseError error;
    std::uint64_t at = 0;  // how far through the input the case ends
    ComposedVerdict verdict;
    CaseTally tally;
};

// Checks a case and composes its verdict; `run` is the checking thread's own.
void CheckCase(BatchCase& c, CaseRun& run, const VerdictSink& sink) {
    run.error.reset();
    switch (c.kind) {
    case BatchCase::Kind::Text: RunCaseText(c.text, run); break;
    case BatchCase::Kind::Parsed:
        run.account = c.caseFile.account;
        RunCaseFile(c.caseFile, run);
        break;
    case BatchCase::Kind::Refused:
        run.error = c.error;
        run.account = c.account;
        break;
    }
    c.tally = TallyOf(run);
    ComposeCase(run, c.name, sink, c.verdict);
}

// The cases of a batch, checked by `jobs` threads (the reading thread among them) and written in
// input order. The reader fills chunks of cases; a fixed window of chunks is in flight at once,
// so memory is bounded by the window, whatever the size of the input. The reading thread alone
// reads, writes the verdicts and shows the progress; it checks a chunk itself while the window
// is full, so one job checks everything on the reading thread.
class BatchWriter {
public:
    // `total`: the size of the input (bytes of a file, cases of a folder), 0 when unknown.
    BatchWriter(VerdictSink& sink, std::ostream& err, bool progress, std::uint64_t total, int jobs)
        : sink_(sink),
          err_(err),
          progress_(progress),
          total_(total),
          // Two chunks per thread and two more keep every thread busy; more would only cost memory.
          window_(2 * static_cast<std::size_t>(jobs) + 2),
          chunks_(window_) {
        StartWorkers(jobs - 1);
    }

    ~BatchWriter() { StopWorkers(); }

    BatchWriter(const BatchWriter&) = delete;
    BatchWriter& operator=(const BatchWriter&) = delete;

    // The slot of the next case: the reader fills in what its kind needs (the text, the case, the
    // refusal), then adds it.
    BatchCase& Next() {
        Chunk& chunk = chunks_[filled_ % window_];
        if (chunk.cases.size() <= chunk.count) chunk.cases.resize(chunk.count + 1);
        return chunk.cases[chunk.count];
    }

    // Adds the case filled in; `done`: how far through the input it ends, in the units of `total`.
    void Add(BatchCase::Kind kind, std::string name, std::uint64_t done) {
        Chunk& chunk = chunks_[filled_ % window_];
        BatchCase& c = Next();
        c.kind = kind;
        c.name = std::move(name);
        c.at = done;
        ++chunk.count;
        // The first chunks are short, so that the first verdicts come soon and a small batch is
        // spread over the threads too.
        const std::size_t size = filled_ < 6 ? std::size_t{1} << filled_ : kChunkCases;
        if (chunk.count >= size) Dispatch();
    }

    std::size_t Cases() const { return static_cast<std::size_t>(summary_.cases) + Pending(); }
    long Failures() const { return summary_.failures; }

    // Checks and writes every case added; the summary line; the reason when the verdicts could not
    // be written.
    std::optional<std::string> Finish() {
        Flush();
        if (progress_ && summary_.cases % 1000 != 0) ShowProgress();
        const std::optional<std::string> problem = sink_.Finish(summary_);
        if (progress_) err_ << "\n";
        err_ << "cases " << summary_.cases << ", checked " << summary_.checked << ", failures " << summary_.failures
             << "; violations: APR understated " << summary_.aprUnder << ", APR overstated " << summary_.aprOver
             << ", finance charge understated " << summary_.fcUnder << ", finance charge overstated " << summary_.fcOver
             << "; subject to reimbursement " << summary_.reimbursable << "\n";
        return problem;
    }

    // Checks and writes every case added so far.
    void Flush() {
        if (chunks_[filled_ % window_].count > 0) Dispatch();
        while (written_ < filled_) Advance();
    }

private:
    // Large enough that handing a chunk over costs nothing beside checking it.
    static constexpr std::size_t kChunkCases = 64;

    struct Chunk {
        std::vector<BatchCase> cases;  // kept from one use of the chunk to the next
        std::size_t count = 0;
        bool done = false;
        std::exception_ptr failure;  // what stopped a case other than a refusal
    };

    std::size_t Pending() const {
        std::size_t n = chunks_[filled_ % window_].count;
        for (std::size_t i = written_; i < filled_; ++i) n += chunks_[i % window_].count;
        return n;
    }

    // The chunk being filled goes to the checkers; once the window is full, the oldest chunk is
    // written first.
    void Dispatch() {
        {
            const std::lock_guard lock(mutex_);
            chunks_[filled_ % window_].done = false;
            ++filled_;
        }
        work_.notify_one();
        while (filled_ - written_ >= window_) Advance();
    }

    // Writes the oldest chunk if it is checked; else checks a chunk no thread has taken, or waits.
    void Advance() {
        std::unique_lock lock(mutex_);
        for (;;) {
            Chunk& oldest = chunks_[written_ % window_];
            if (oldest.done) {
                lock.unlock();
                Write(oldest);
                ++written_;
                return;
            }
            if (taken_ < filled_) {
                Chunk& chunk = chunks_[taken_++ % window_];
                lock.unlock();
                Check(chunk, run_);
                lock.lock();
                chunk.done = true;
                continue;
            }
            checked_.wait(lock);
        }
    }

    void Work() {
        CaseRun run;  // each thread checks on its own record
        std::unique_lock lock(mutex_);
        for (;;) {
            work_.wait(lock, [this] { return stop_ || taken_ < filled_; });
            if (stop_) return;
            Chunk& chunk = chunks_[taken_++ % window_];
            lock.unlock();
            Check(chunk, run);
            lock.lock();
            chunk.done = true;
            checked_.notify_one();
        }
    }

    // Out of line: inlined into RunBatchCommand, GCC 12 falsely warns that a case's error may be
    // used uninitialized.
    [[gnu::noinline]] void Check(Chunk& chunk, CaseRun& run) {
        chunk.failure = nullptr;
        try {
            for (std::size_t i = 0; i < chunk.count; ++i) CheckCase(chunk.cases[i], run, sink_);
        } catch (...) {
            chunk.failure = std::current_exception();
        }
    }

    void Write(Chunk& chunk) {
        const std::size_t count = std::exchange(chunk.count, 0);
        if (chunk.failure) std::rethrow_exception(chunk.failure);
        for (std::size_t i = 0; i < count; ++i) {
            const BatchCase& c = chunk.cases[i];
            CountCase(c.tally, summary_);
            sink_.Write(c.verdict);
            done_ = c.at;
            if (progress_ && summary_.cases % 1000 == 0) ShowProgress();
        }
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
    // A thread that cannot start ends the batch; the ones already running are stopped first,
    // since no destructor runs for a constructor that throws.
    void StartWorkers(int count) {
        try {
            for (int i = 0; i < count; ++i) workers_.emplace_back([this] { Work(); });
        } catch (...) {
            StopWorkers();
            throw;
        }
    }

    void StopWorkers() {
        {
            const std::lock_guard lock(mutex_);
            stop_ = true;
        }
        work_.notify_all();
        for (std::thread& t : workers_) t.join();
    }

    CaseRun run_;  // the reading thread's own
    // Chunk i is chunks_[i % window_]; filled_ >= taken_ >= written_, and filled_ - written_ <= window_.
    const std::size_t window_;
    std::vector<Chunk> chunks_;
    std::size_t filled_ = 0, taken_ = 0, written_ = 0;
    bool stop_ = false;
    std::mutex mutex_;
    std::condition_variable work_, checked_;
    std::vector<std::thread> workers_;
};

// What a batch writes when --format is not given: a verdict file named v.csv or v.xlsx is meant to
// open in a spreadsheet, so JSON lines written under that name would be a broken file.
std::string FormatOfOutput(const std::string& output) {
    const std::string ending = std::filesystem::path(output).extension().string();
    if (ending == ".csv" || ending == ".xlsx") return ending.substr(1);
    return "jsonl";
}

// What a batch reads: chosen by --input-format, else by the input's name.
enum class InputKind { JsonLines, Folder, CaseFile, Tape };

}  // namespace

int RunBatchCommand(const CaseCommandOptions& options, std::istream& in, std::ostream& out, std::ostream& err,
                    bool progress) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const bool toFile = !options.output.empty() && options.output != "-";
    const std::string format = options.format.empty() ? FormatOfOutput(options.output) : options.format;
    const bool xlsx = format == "xlsx";
    if (xlsx && !toFile) {
        err << "tallex-cli: --format xlsx writes a spreadsheet file: give it with -o FILE.xlsx\n";
        return 2;
    }
    // Verdicts go to a temporary beside the output and are renamed into place at the end, so a
    // batch that is stopped never leaves a partial verdict file under the chosen name. However the
    // batch ends, a temporary not renamed is removed; declared before the file and the sink, so
    // that it goes after they are closed (a workbook is written when its sink closes).
    struct Temporary {
        std::string path;
        ~Temporary() {
            std::error_code ignored;
            if (!path.empty()) std::filesystem::remove(path, ignored);
        }
    } temporary;
    std::string& temp = temporary.path;
    std::ofstream file;
    std::ostream* stream = &out;
    if (toFile) {
        temp = options.output + ".partial";
        file.open(temp, std::ios::binary | std::ios::trunc);
        if (!file) {
            err << "tallex-cli: " << options.output << ": cannot be written: " << std::strerror(errno) << "\n";
            temp.clear();  // not ours to remove
            return 2;
        }
        if (xlsx) file.close();  // the workbook is written there when the batch finishes
        stream = &file;
    }
    std::unique_ptr<VerdictSink> sink;
    if (xlsx) {
        const fs::path folder = fs::path(options.output).parent_path();
        sink = MakeXlsxSink(temp, folder.empty() ? "." : folder.string());
    } else if (format == "csv") {
        sink = MakeCsvSink(*stream);
    } else {
        sink = MakeJsonLinesSink(*stream);
    }
    auto finish = [&](int code) {
        sink.reset();  // a workbook left open is closed now, before its file is judged
        if (toFile) {
            if (file.is_open()) file.close();
            // The temporary itself goes with `temporary`, unless it was renamed into place.
            if (code == 2 || !file) {
                if (code != 2) {
                    err << "tallex-cli: " << options.output << ": cannot be written\n";
                    code = 2;
                }
            } else if (fs::rename(temp, options.output, ec); ec) {
                err << "tallex-cli: " << options.output << ": cannot be written: " << ec.message() << "\n";
                code = 2;
            } else {
                temp.clear();
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

    const int jobs = std::max(1, options.jobs);
    if (kind == InputKind::Folder) {
        std::vector<fs::path> cases;
        for (const auto& entry : fs::directory_iterator(options.input, ec))
            if (entry.path().extension() == ".json") cases.push_back(entry.path());
        if (ec) {
            err << "tallex-cli: " << options.input << ": cannot be read: " << ec.message() << "\n";
            return finish(2);
        }
        std::sort(cases.begin(), cases.end());
        BatchWriter writer(*sink, err, progress, cases.size(), jobs);
        std::uint64_t n = 0;
        for (const fs::path& path : cases) {
            std::string problem;
            if (!ReadWholeFile(path.string(), writer.Next().text, problem))
                writer.Next().text = "\x01";  // reported as malformed
            writer.Add(BatchCase::Kind::Text, path.filename().string(), ++n);
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
    BatchWriter writer(*sink, err, progress, size, jobs);
    if (kind == InputKind::CaseFile) {
        std::ostringstream s;
        s << source->rdbuf();
        writer.Next().text = s.str();
        writer.Add(BatchCase::Kind::Text,
                   standardInput ? std::string("-") : fs::path(options.input).filename().string(), size);
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
            std::string name = "row " + std::to_string(row.number);
            BatchCase& c = writer.Next();
            if (row.error) {
                c.account = row.identity == name ? std::string() : row.identity;
                c.error = *row.error;
                writer.Add(BatchCase::Kind::Refused, std::move(name), tape.BytesRead());
            } else {
                std::swap(c.caseFile, row.caseFile);
                writer.Add(BatchCase::Kind::Parsed, std::move(name), tape.BytesRead());
            }
        }
        if (tape.ReadFailed()) {
            writer.Flush();  // the rows before are answered
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
        std::swap(writer.Next().text, line);
        writer.Add(BatchCase::Kind::Text, "line " + std::to_string(number), bytes);
    }
    return finishBatch(writer);
}

}  // namespace tallex::cli
