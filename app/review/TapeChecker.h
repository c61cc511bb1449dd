#pragma once
// The cases of a loan tape (CSV), a JSON-lines file or one case file, checked away from the
// window: a thread of its own reads the file and runs every case through the same step as
// `tallex-cli batch` (casefile/CaseCheck.h), on a record of its own, and hands the verdicts to
// the window in batches. The same walk through the file writes the command line's CSV table or
// spreadsheet for Export, and a case is found again by where it stands in the file, for Open in
// Pages and the reports.

#include "review/VerdictRows.h"

#include "BatchOutput.h"
#include "CaseCheck.h"
#include "CaseFile.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QThread;

// How a file is read, by its name's ending as the command line's batch decides it: .csv a loan
// tape, .json one case file, anything else JSON lines.
enum class TapeKind { Tape, JsonLines, CaseFile };
TapeKind TapeKindOf(const QString& path);

// One case as the walk meets it: its name in the verdicts ("row 3", "line 3" or the file name),
// its run and where it stands in the file.
using CaseVisit = std::function<void(const std::string& name, const tallex::cli::CaseRun& run, CaseLocation where)>;

struct TapeWalk {
    std::string path;
    TapeKind kind = TapeKind::Tape;
    std::uint64_t headerSize = 0;  // a tape's header line (with its byte-order mark), once read
    std::uint64_t bytesRead = 0;   // how far through the file the walk is
};

// Walks every case of the file in order until `cancel` is set; the reason when the file cannot
// be read (an unreadable file, a tape whose header is refused), as "<key>: <message>" or a
// plain sentence.
std::optional<std::string> WalkCases(TapeWalk& walk, const std::atomic<bool>& cancel, const CaseVisit& visit);

// The case at `where` read again; the reason instead when it cannot be read into a case (a row
// the tape's reader refused).
std::optional<std::string> ReadCaseAt(const TapeWalk& walk, CaseLocation where, tallex::casefile::CaseFile& out);

// One batch of verdicts for the review's model, with the counts so far.
struct ReviewBatch {
    VerdictRows rows;
    tallex::cli::BatchSummary summary;
};

class TapeChecker : public QObject {
    Q_OBJECT
public:
    explicit TapeChecker(QObject* parent = nullptr);
    ~TapeChecker() override;  // stops a job and waits for its thread

    // Checks every case of `path`: batches arrive through rowsChecked, then finished.
    void check(const QString& path);
    // Writes the verdicts of every case of the tape checked last to `output`, as `tallex-cli
    // batch --format csv` or `--format xlsx -o` would (by the name's ending: .xlsx a spreadsheet,
    // else CSV), whole or not at all.
    void exportTo(const QString& output);
    void cancel() { cancel_ = true; }
    bool busy() const { return thread_ != nullptr; }
    // The file checked last, as read.
    const TapeWalk& walk() const { return walk_; }

signals:
    void rowsChecked(std::shared_ptr<ReviewBatch> batch);
    // Per mille of the file read.
    void progressed(int permille);
    // `problem` empty when the job completed or was cancelled.
    void finished(const QString& problem, bool cancelled);

private:
    // Stops the job running (its thread waited for) and starts `job` on a thread of its own.
    void start(std::function<std::optional<std::string>()> job);
    void stop();
    void post(std::function<void()> toWindow);
    int permille(std::uint64_t bytes) const;

    TapeWalk walk_;
    std::uint64_t fileSize_ = 0;
    std::atomic<bool> cancel_{false};
    QThread* thread_ = nullptr;
    int job_ = 0;
};
