#pragma once
// File > Open Case... and Save Case As...: a review kept in the case-file format of the command
// line (casefile/CaseFile.h, the same reader and writer), so that it can be reopened, or checked
// with `tallex-cli check`, and gives the same figures.
//
// Saving writes what the pages hold: the identifying texts, the loan terms (a construction
// loan's from its construction pages), the payment schedule, the answers to the results page's
// questions, the reimbursement tolerance and the accepted number of prior payments. The file is
// written atomically (a temporary file in the same folder, then renamed). Opening discards the
// loan shown, as New Loan does (asking first), then enters the case page after page through the
// pages' rules, by the same replay as the command line (casefile/CaseReplay.h), shows it in the
// pages, and stops on the payment schedule page (a construction phase disclosed separately: on
// its construction interest page), or on the first page that refuses an entry, with its message
// and the focus on the entry refused: the user continues from there. Information messages met
// on the way are shown too. The results page asks its questions again. Once a case has been
// saved or opened, New Loan and Exit offer to save changes made to it since.

#include "CaseFile.h"
#include "pages/PageHost.h"

#include <QString>

#include <optional>
#include <string>

class MainWindow;

class CaseFileActions {
public:
    explicit CaseFileActions(MainWindow& window);

    void openCase();
    void saveCaseAs();
    // Opens the case in `path` without asking for a file name; false when it could not be read.
    bool openCaseFile(const QString& path);
    // Opens a case that has no case file of its own (a row of a loan tape under review) as Open
    // Case does, by the same replay; false when the user kept the loan shown.
    bool showCase(const tallex::casefile::CaseFile& c);

    // Before New Loan and Exit: when the loan was saved to or opened from a case file and has
    // changed since, asks whether to save it there. False when the user wanted it saved and the
    // saving failed: the action should not go on.
    bool offerToSaveChanges();
    // The loan is gone (New Loan, the error screen): no case file belongs to it any more.
    void forgetCase();

    // The case as the pages hold it now; a message instead for a loan that cannot be kept.
    struct Snapshot {
        std::optional<tallex::casefile::CaseFile> caseFile;
        std::string refusal;
    };
    Snapshot currentCase() const;
    const QString& fileName() const { return file_; }

private:
    bool saveTo(const QString& path);
    void replayCase(const tallex::casefile::CaseFile& c);
    void focusRefused(PageId page, const std::string& key);
    QString startFolder() const;

    MainWindow& window_;
    QString file_;
    std::string savedJson_;
};

inline constexpr char kCaseFileFilter[] = "Case files (*.json);;All Files (*)";
