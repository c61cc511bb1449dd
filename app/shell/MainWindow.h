#pragma once
// The program's one window. Its content changes like the pages of a wizard: each page is
// created on first use, hidden when the user moves on (keeping its entries) and destroyed by New
// Loan; switching pages keeps the window's position, size and state because the window stays.
// The window owns the loan record and the program-wide flags; the user seam is handed in, so
// tests can answer every message from a script.

#include "dialogs/HelpWindow.h"
#include "dialogs/ModalRunner.h"
#include "pages/PageHost.h"
#include "print/OutputChooser.h"
#include "shell/SettingsStore.h"

#include "engine/LoanRecord.h"
#include "shell/Session.h"
#include "ui/Clock.h"

#include <QMainWindow>
#include <QPointer>

#include <map>
#include <memory>
#include <vector>

class CaseFileActions;
class Page;
class QAction;
class QDragEnterEvent;
class QDropEvent;
class QMenu;
class QStackedWidget;

class MainWindow : public QMainWindow, public PageHost {
    Q_OBJECT
public:
    MainWindow(tallex::UserSeam& user, SettingsStore settings, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Shows the window on its first page: the splash unless the settings file says
    // "Startup Intro=No", then the basic information page. A case file named on the command
    // line opens once the splash is left (at once without a splash).
    void start(const QString& caseFile = {});
    // Opens a case handed in from outside (the command line of a second copy, a file dropped
    // on the window, File > Recent Cases); on the splash it waits for Continue.
    void openCaseWhenReady(const QString& path);
    // The case file was saved, opened or forgotten: the title and File > Recent Cases follow.
    void caseFileChanged();

    // PageHost
    tallex::LoanRecord& record() override { return *record_; }
    tallex::UserSeam& user() override { return user_; }
    const tallex::Clock& clock() override { return clock_; }
    tallex::SessionFlags& session() override { return session_; }
    void SwitchForm(PageId page) override;
    void unloadPage(PageId page) override;
    bool isLoaded(PageId page) const override;
    void reloadPage(PageId page) override;
    void NewLoan() override;
    void ExitProgram() override;
    void ShowHelp() override;
    void ShowAbout() override;
    void setNewLoanEnabled(bool enabled) override;
    void setPrintEnabled(bool enabled) override;
    ModalRunner& modalRunner() override { return *modalRunner_; }
    OutputChooser& outputChooser() override { return *outputChooser_; }
    bool openPaymentCalendar(Page& caller) override;
    bool openConstructionCalendar(Page& caller) override;
    void ClearConstInterestAmount() override;
    void ShowErrorScreen(int number, const std::string& description) override;

    // The page now shown, and a page if it is loaded (for the tests and the screenshots).
    Page* currentPage() const;
    Page* loadedPage(PageId page) const override;
    const SettingsStore& settings() const { return settings_; }
    CaseFileActions& caseFiles() { return *caseFiles_; }
    HelpWindow* helpWindow() const { return help_.data(); }
    // Tests and the screenshot tool answer the dialogs from a script (set before start()).
    void setModalRunner(ModalRunner& runner) { modalRunner_ = &runner; }
    void setOutputChooser(OutputChooser& chooser) { outputChooser_ = &chooser; }

public slots:
    // Another copy of the program asked this one to come to the front.
    void bringToFront();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // One of the two date calculators, modally (openPaymentCalendar, openConstructionCalendar).
    template <class Calendar>
    bool runCalendar(Page& caller);
    Page* ensurePage(PageId page);
    Page* createPage(PageId page);
    void RecoverFromError();
    void saveRememberedEntries();
    void PlaceForm();
    // The window's size and position, from the settings file and back.
    void restorePlacement();
    void savePlacement();
    void buildMenus();
    void rebuildRecentCases();
    // The modified marker follows the entries, checked once the user's key or click is done.
    void scheduleModifiedCheck();
    void printReport();
    void saveReport();

    tallex::UserSeam& user_;
    SettingsStore settings_;
    tallex::SystemClock clock_;
    std::unique_ptr<tallex::LoanRecord> record_;
    tallex::SessionFlags session_;
    QStackedWidget* stack_ = nullptr;
    QAction* newLoanAction_ = nullptr;
    QAction* printAction_ = nullptr;
    QAction* saveReportAction_ = nullptr;
    QMenu* recentMenu_ = nullptr;
    QString pendingCase_;
    bool modifiedCheckPending_ = false;
    ExecModalRunner execRunner_;
    DesktopOutputChooser desktopChooser_;
    ModalRunner* modalRunner_ = &execRunner_;
    OutputChooser* outputChooser_ = &desktopChooser_;
    std::unique_ptr<CaseFileActions> caseFiles_;
    QPointer<HelpWindow> help_;
    std::map<PageId, Page*> pages_;
    std::vector<PageId> loadOrder_;
    // Unloaded pages whose deletion waits for the event loop.
    std::vector<QPointer<Page>> unloaded_;
    bool exiting_ = false;
    bool recovering_ = false;
    bool calendarOpen_ = false;
};
