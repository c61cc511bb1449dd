#include "review/TapeChecker.h"

#include "LoanTape.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

using namespace tallex::cli;
using tallex::casefile::CaseFile;
using tallex::casefile::LoanTapeReader;
using tallex::casefile::TapeRow;

namespace {

// Batches reach the window at most this often, so that it keeps time for the user.
constexpr qint64 kBatchMilliseconds = 100;

std::string Unreadable() { return std::string("cannot be read: ") + std::strerror(errno); }

std::uint8_t FlagsOf(const CaseRun& run) {
    if (run.error) return VerdictRows::Refused;
    std::uint8_t flags = 0;
    if (HasViolation(*run.outcome.record)) flags |= VerdictRows::Violation;
    if (run.outcome.record->gbSubjToReimb) flags |= VerdictRows::Reimbursable;
    return flags;
}

}  // namespace

TapeKind TapeKindOf(const QString& path) {
    const QString suffix = QFileInfo(path).suffix();
    if (suffix == QLatin1String("csv")) return TapeKind::Tape;
    if (suffix == QLatin1String("json")) return TapeKind::CaseFile;
    return TapeKind::JsonLines;
}

std::optional<std::string> WalkCases(TapeWalk& walk, const std::atomic<bool>& cancel, const CaseVisit& visit) {
    walk.bytesRead = 0;
    std::error_code ec;
    if (std::filesystem::is_directory(walk.path, ec)) return "is a folder, not a loan tape";
    std::ifstream in(walk.path, std::ios::binary);
    if (!in) return Unreadable();
    CaseRun run;  // one record for the whole walk: a case renews it
    if (walk.kind == TapeKind::Tape) {
        LoanTapeReader tape(in);
        if (const auto problem = tape.ReadHeader()) return problem->key + ": " + OneLine(problem->message);
        walk.headerSize = walk.bytesRead = tape.BytesRead();
        TapeRow row;
        while (!cancel && tape.Next(row)) {
            const CaseLocation where{walk.bytesRead, static_cast<std::uint32_t>(tape.BytesRead() - walk.bytesRead)};
            walk.bytesRead = tape.BytesRead();
            // Named and run as the command line's batch names and runs a row.
            const std::string name = "row " + std::to_string(row.number);
            if (row.error) {
                run.error = row.error;
                run.account = row.identity == name ? std::string() : row.identity;
            } else {
                run.error.reset();
                run.account = row.caseFile.account;
                RunCaseFile(row.caseFile, run);
            }
            visit(name, run, where);
        }
        if (tape.ReadFailed()) return "cannot be read after " + std::to_string(walk.bytesRead) + " bytes";
        return std::nullopt;
    }
    if (walk.kind == TapeKind::CaseFile) {
        std::ostringstream text;
        text << in.rdbuf();
        if (in.bad()) return Unreadable();
        walk.bytesRead = text.str().size();
        run.error.reset();
        RunCaseText(text.str(), run);
        visit(std::filesystem::path(walk.path).filename().string(), run,
              {0, static_cast<std::uint32_t>(walk.bytesRead)});
        return std::nullopt;
    }
    std::string line;
    long number = 0;
    while (!cancel && std::getline(in, line)) {
        ++number;
        const CaseLocation where{walk.bytesRead, static_cast<std::uint32_t>(line.size())};
        walk.bytesRead += line.size() + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.find_first_not_of(" \t") == std::string::npos) continue;  // blank lines separate nothing
        run.error.reset();
        RunCaseText(line, run);
        visit("line " + std::to_string(number), run, where);
    }
    if (in.bad()) return Unreadable();
    return std::nullopt;
}

std::optional<std::string> ReadCaseAt(const TapeWalk& walk, CaseLocation where, CaseFile& out) {
    std::ifstream in(walk.path, std::ios::binary);
    if (!in) return Unreadable();
    const auto read = [&in](std::uint64_t offset, std::uint64_t size, std::string& text) {
        text.resize(size);
        in.seekg(static_cast<std::streamoff>(offset));
        return static_cast<bool>(in.read(text.data(), static_cast<std::streamsize>(size)));
    };
    std::string text;
    if (!read(where.offset, where.size, text)) return Unreadable();
    if (walk.kind != TapeKind::Tape) {
        if (const auto error = tallex::casefile::ParseCase(text, out)) return error->key + ": " + error->message;
        return std::nullopt;
    }
    // The row under the tape's header reads as the whole tape read it.
    std::string header;
    if (!read(0, walk.headerSize, header)) return Unreadable();
    std::istringstream row(header + text);
    LoanTapeReader tape(row);
    TapeRow taken;
    if (const auto problem = tape.ReadHeader()) return problem->key + ": " + problem->message;
    if (!tape.Next(taken)) return "the row is gone from the tape";
    if (taken.error) return taken.error->key + ": " + taken.error->message;
    out = std::move(taken.caseFile);
    return std::nullopt;
}

TapeChecker::TapeChecker(QObject* parent) : QObject(parent) {}

TapeChecker::~TapeChecker() { stop(); }

int TapeChecker::permille(std::uint64_t bytes) const {
    return fileSize_ > 0 ? static_cast<int>(1000 * std::min(bytes, fileSize_) / fileSize_) : 0;
}

void TapeChecker::post(std::function<void()> toWindow) {
    // What a job posts after a later job started is dropped: the window has moved on.
    QMetaObject::invokeMethod(
        this,
        [this, job = job_, toWindow = std::move(toWindow)] {
            if (job == job_) toWindow();
        },
        Qt::QueuedConnection);
}

void TapeChecker::stop() {
    if (!thread_) return;
    cancel_ = true;
    thread_->wait();
    delete thread_;
    thread_ = nullptr;
}

void TapeChecker::start(std::function<std::optional<std::string>()> job) {
    stop();
    ++job_;
    cancel_ = false;
    fileSize_ =
        static_cast<std::uint64_t>(std::max<qint64>(0, QFileInfo(QFile::decodeName(walk_.path.c_str())).size()));
    thread_ = QThread::create([this, job = std::move(job)] {
        const std::optional<std::string> problem = job();
        const bool cancelled = cancel_;
        post([this, problem, cancelled] {
            stop();
            emit finished(problem ? QString::fromStdString(*problem) : QString(), cancelled);
        });
    });
    // The window's own work comes first.
    thread_->start(QThread::LowPriority);
}

void TapeChecker::check(const QString& path) {
    stop();
    walk_ = TapeWalk{QFile::encodeName(path).toStdString(), TapeKindOf(path), 0, 0};
    start([this, walk = walk_]() mutable {
        auto batch = std::make_shared<ReviewBatch>();
        BatchSummary summary;
        std::vector<VerdictCell> cells;
        QElapsedTimer sinceBatch;
        sinceBatch.start();
        const auto send = [&] {
            batch->summary = summary;
            post([this, batch, header = walk.headerSize, done = permille(walk.bytesRead)] {
                walk_.headerSize = header;
                emit rowsChecked(batch);
                emit progressed(done);
            });
            batch = std::make_shared<ReviewBatch>();
            sinceBatch.restart();
        };
        auto problem = WalkCases(walk, cancel_, [&](const std::string& name, const CaseRun& run, CaseLocation where) {
            CountCase(run, summary);
            if (run.error)
                ErrorRow(name, run.error->key, OneLine(run.error->message), run.account, cells);
            else
                VerdictRow(run.outcome, name, cells);
            batch->rows.append(cells, FlagsOf(run), where);
            if (sinceBatch.elapsed() >= kBatchMilliseconds) send();
        });
        send();
        return problem;
    });
}

void TapeChecker::exportTo(const QString& output) {
    const std::string path = QFile::encodeName(output).toStdString();
    const bool xlsx = QFileInfo(output).suffix().compare(QLatin1String("xlsx"), Qt::CaseInsensitive) == 0;
    start([this, path, xlsx, walk = walk_]() mutable -> std::optional<std::string> {
        namespace fs = std::filesystem;
        // Written beside the output and renamed into place at the end, as the batch writes.
        const std::string temp = path + ".partial";
        std::error_code ec;
        std::ofstream file;
        std::unique_ptr<VerdictSink> sink;
        if (xlsx) {
            const fs::path folder = fs::path(path).parent_path();
            sink = MakeXlsxSink(temp, folder.empty() ? "." : folder.string());
        } else {
            file.open(temp, std::ios::binary | std::ios::trunc);
            if (!file) return "cannot be written: " + std::string(std::strerror(errno));
            sink = MakeCsvSink(file);
        }
        BatchSummary summary;
        QElapsedTimer sinceProgress;
        sinceProgress.start();
        std::optional<std::string> problem =
            WalkCases(walk, cancel_, [&](const std::string& name, const CaseRun& run, CaseLocation) {
                RecordCase(run, name, summary, *sink);
                if (sinceProgress.elapsed() >= kBatchMilliseconds) {
                    post([this, done = permille(walk.bytesRead)] { emit progressed(done); });
                    sinceProgress.restart();
                }
            });
        if (!problem && !cancel_) problem = sink->Finish(summary);
        sink.reset();  // a workbook is closed now, before its file is judged
        if (file.is_open()) file.close();
        if (!problem && !cancel_ && !xlsx && !file) problem = "cannot be written";
        if (problem || cancel_) {
            fs::remove(temp, ec);
            return problem;
        }
        if (fs::rename(temp, path, ec); ec) {
            fs::remove(temp, ec);
            return "cannot be written: " + ec.message();
        }
        return std::nullopt;
    });
}
