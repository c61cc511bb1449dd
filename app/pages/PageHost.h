#pragma once
// What a page may ask of the window that holds it: the one loan record, the user, the clock,
// the program-wide flags, and the shared actions of every page (moving to another page, New
// Loan, Exit, Help, About, the calendar, the error screen).

#include "engine/LoanRecord.h"
#include "shell/Session.h"
#include "ui/Clock.h"
#include "ui/UserSeam.h"

#include <string>
#include <utility>

class ModalRunner;
class OutputChooser;
class Page;

enum class PageId {
    Splash,
    BasicInfo,
    LoanTerms,
    Schedule,
    Results,               // FrmDisclosure
    Reimbursement,         // frmReimbursement
    ConstructionTerms,     // frmConstLoan
    ConstructionPhase,     // frmConstPhase
    ConstructionInterest,  // frmConstInterest
    ConstructionResults,   // frmRecDiscl
};

class PageHost {
public:
    virtual ~PageHost() = default;

    virtual tallex::LoanRecord& record() = 0;
    virtual tallex::UserSeam& user() = 0;
    virtual const tallex::Clock& clock() = 0;
    virtual tallex::SessionFlags& session() = 0;

    // Shows the page (creating it on first use) in place of the current one, keeping the
    // window's position, size and state, and activates it.
    virtual void SwitchForm(PageId page) = 0;
    // Destroys the page if it exists; it is created afresh when next shown.
    virtual void unloadPage(PageId page) = 0;
    virtual bool isLoaded(PageId page) const = 0;
    // The page if it is loaded, else null (a page reads what another page holds, as typed).
    virtual Page* loadedPage(PageId page) const = 0;
    // Destroys the page if it exists and creates it again, hidden: it starts afresh.
    virtual void reloadPage(PageId page) = 0;

    // Offers unsaved entries for saving (Save, Discard, Cancel), else asks unless nothing was
    // entered; then empties the record and every page but the basic information page, which it
    // shows with borrower and account number emptied.
    virtual void NewLoan() = 0;
    // Offers unsaved entries for saving (Cancel keeps the program), then closes every page (the
    // basic information page writes the settings file) and ends the program.
    virtual void ExitProgram() = 0;
    // The help pages at their contents, when the program has them.
    virtual void ShowHelp() = 0;
    virtual void ShowAbout() = 0;
    // The New Loan menu entry follows the page's New Loan button.
    virtual void setNewLoanEnabled(bool enabled) = 0;
    // The Print and Save Report menu entries follow the page's Print button (a page that offers
    // the report is a ReportPage; switching pages disables them until the page enables them).
    virtual void setPrintEnabled(bool enabled) = 0;
    // How the program's own modal dialogs are run, and where reports and cases go: the system's
    // dialogs on the desktop, a script in the tests.
    virtual ModalRunner& modalRunner() = 0;
    virtual OutputChooser& outputChooser() = 0;

    // Shows the payment date calculator modally; returns when it has closed, its results in the
    // record (gbCalendarOK tells whether it closed with OK). False when `caller` must do nothing
    // more: an error inside it ended on the error screen, or the page was unloaded while it was
    // open, or a calendar was open already, or `caller` is not the page shown (none is opened
    // then). A page unloaded meanwhile is deleted only after `caller`'s handler has returned.
    virtual bool openPaymentCalendar(Page& caller) = 0;
    // The construction date calculator (three dates), on the same terms.
    virtual bool openConstructionCalendar(Page& caller) = 0;
    // An input of the construction interest estimate changed: the construction interest page,
    // when it is loaded, empties its estimate so that its next activation shows the new one.
    virtual void ClearConstInterestAmount() = 0;

    // An unexpected run-time error in a page's handler: the error is shown, the loan discarded
    // and the user is back on an empty basic information page.
    virtual void ShowErrorScreen(int number, const std::string& description) = 0;

    // Runs a handler of a page, a menu or the window: an exception that ends it goes to the error
    // screen with the number the core gives it, so that none reaches the event loop. False when
    // the handler did not complete.
    template <class Handler>
    bool guard(Handler&& handler) noexcept {
        try {
            std::forward<Handler>(handler)();
            return true;
        } catch (...) {
            reportCurrentException();
            return false;
        }
    }

private:
    void reportCurrentException() noexcept;
};
