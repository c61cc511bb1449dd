#pragma once
// File > Review Loan Tape...: every case of a loan tape (CSV), a JSON-lines file or a case file,
// checked in the background as `tallex-cli batch` checks it, listed with the command line's
// verdict columns under the summary counts. The list is sorted by any column, filtered (all,
// violations, refused, subject to reimbursement) and searched by account. A case opens in the
// pages by the replay of Open Case, to answer its questions, compute reimbursement and print its
// report; the review is a window of its own that stays as it was meanwhile. The list is exported
// by the command line's writers (CSV, spreadsheet), and the reports of the selected cases print
// into one document, each report from a new page.

#include "review/TapeChecker.h"
#include "review/TapeReviewModel.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QWidget>

class MainWindow;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableView;

class TapeReviewWindow : public QWidget {
    Q_OBJECT
public:
    explicit TapeReviewWindow(MainWindow& window);
    ~TapeReviewWindow() override;

    // The menu entry: the review comes to the front when it is open; else the user chooses a
    // tape and it is reviewed. Returns the review window, if any.
    static TapeReviewWindow* Open(MainWindow& window);

    // Checks every case of the tape and lists it, in place of what was listed.
    void review(const QString& path);
    // A check or an export is running.
    bool busy() const { return checker_.busy(); }

    TapeReviewModel& model() { return model_; }
    TapeReviewFilter& filter() { return filter_; }
    QTableView& table() { return *table_; }

    void openInPages(const QModelIndex& index);
    void exportList();
    void printReports();
    void chooseTape();

private:
    void batchArrived(const std::shared_ptr<ReviewBatch>& batch);
    void jobFinished(const QString& problem, bool cancelled);
    void showSummary();
    void showBusy(bool busy, const QString& what);
    // The name of a case in the list, for a message.
    std::string caseName(int sourceRow) const;
    // False (and the user told) when the tape changed on disk since it was checked.
    bool tapeUnchanged();

    MainWindow& window_;
    TapeChecker checker_;
    TapeReviewModel model_;
    TapeReviewFilter filter_;
    QString tape_;
    QString exportName_;  // the file being exported to, empty while checking
    QDateTime tapeModified_;
    qint64 tapeSize_ = 0;
    QElapsedTimer checking_;
    QLabel* title_ = nullptr;
    QLabel* summary_ = nullptr;
    QLabel* shown_ = nullptr;
    QComboBox* show_ = nullptr;
    QLineEdit* account_ = nullptr;
    QTableView* table_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* status_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* openTape_ = nullptr;
    QPushButton* openCase_ = nullptr;
    QPushButton* export_ = nullptr;
    QPushButton* print_ = nullptr;
    bool columnsSized_ = false;
};
