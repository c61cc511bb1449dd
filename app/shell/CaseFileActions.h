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
// on the way are shown too. The results page asks its questions again. New Loan and Exit offer
// to save a loan whose entries are not saved: changes to a case since it was saved or opened,
// and a loan never saved once it holds entries. Saving is confirmed in the status bar; every
// case opened or saved goes to the top of File > Recent Cases.

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
    // Save Case: to the file the case came from, or as a new file when it has none. False when
    // nothing was saved (cancelled, refused or failed).
    bool saveCase();
    bool saveCaseAs();
    // Opens the case in `path` without asking for a file name; false when it could not be read.
    bool openCaseFile(const QString& path);
    // Opens a case that has no case file of its own (a row of a loan tape under review) as Open
    // Case does, by the same replay; false when the user kept the loan shown.
    bool showCase(const tallex::casefile::CaseFile& c);

    // Whether the loan holds entries that are not saved: a case changed since it was saved or
    // opened; a loan without a case file once its basic information was accepted.
    bool isModified() const;

    // Before New Loan and Exit: a loan with unsaved entries is offered for saving (Save, Discard,
    // Cancel). Cancelled when the user cancelled or the saving did not happen: the action stops.
    enum class Offer { NothingToSave, Saved, Discarded, Cancelled };
    Offer offerToSaveChanges();
    // The question of that offer, for a loan saved in `file` (empty: never saved).
    static std::string UnsavedEntriesQuestion(const QString& file);
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
    // Saved, opened or forgotten: the window's title and recent files follow.
    void caseChanged(const QString& savedIn);
    void replayCase(const tallex::casefile::CaseFile& c);
    void focusRefused(PageId page, const std::string& key);
    QString startFolder() const;

    MainWindow& window_;
    QString file_;
    std::string savedJson_;
};

// Cases are saved with their own extension (JSON inside); plain .json files open as well.
inline constexpr char kCaseFileSuffix[] = "tallex";
inline constexpr char kCaseFileSaveFilter[] = "TALLEX cases (*.tallex);;JSON case files (*.json);;All Files (*)";
inline constexpr char kCaseFileOpenFilter[] = "Case files (*.tallex *.json);;All Files (*)";
