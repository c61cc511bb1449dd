#include "shell/MainWindow.h"

#include "dialogs/HelpWindow.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmCalendar.h"
#include "dialogs/frmError.h"
#include "dialogs/frmRecCalendar.h"
#include "dialogs/frmSplash.h"
#include "pages/FrmDisclosure.h"
#include "pages/ReportPage.h"
#include "pages/frmAPR1.h"
#include "pages/frmBasicInfo.h"
#include "pages/frmConstInterest.h"
#include "pages/frmConstLoan.h"
#include "pages/frmConstPhase.h"
#include "pages/frmPymt.h"
#include "pages/frmRecDiscl.h"
#include "pages/frmReimbursement.h"
#include "review/TapeReviewWindow.h"
#include "shell/CaseFileActions.h"

#include "engine/Format.h"
#include "shell/CommonScreen.h"
#include "shell/StartupSettings.h"
#include "shell/StartupTexts.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateTime>
#include <QGridLayout>
#include <QMenuBar>
#include <QStackedWidget>

#include <algorithm>

using namespace tallex;

MainWindow::MainWindow(UserSeam& user, SettingsStore settings, QWidget* parent)
    : QMainWindow(parent), user_(user), settings_(std::move(settings)), record_(std::make_unique<LoanRecord>()) {
    setObjectName(QStringLiteral("MainWindow"));
    ResetLoanRecord(*record_);

    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    newLoanAction_ = file->addAction(QStringLiteral("&New Loan"), this, [this] { guard([this] { NewLoan(); }); });
    newLoanAction_->setObjectName(QStringLiteral("mnuNewLoan"));
    file->addAction(QStringLiteral("&Open Case..."), this, [this] { guard([this] { caseFiles_->openCase(); }); })
        ->setObjectName(QStringLiteral("mnuOpenCase"));
    file->addAction(QStringLiteral("Save Case &As..."), this, [this] { guard([this] { caseFiles_->saveCaseAs(); }); })
        ->setObjectName(QStringLiteral("mnuSaveCaseAs"));
    file->addAction(QStringLiteral("Review Loan &Tape..."), this,
                    [this] { guard([this] { TapeReviewWindow::Open(*this); }); })
        ->setObjectName(QStringLiteral("mnuReviewTape"));
    file->addSeparator();
    printAction_ = file->addAction(QStringLiteral("&Print..."), this, [this] { guard([this] { printReport(); }); });
    printAction_->setObjectName(QStringLiteral("mnuPrint"));
    saveReportAction_ =
        file->addAction(QStringLiteral("Save &Report..."), this, [this] { guard([this] { saveReport(); }); });
    saveReportAction_->setObjectName(QStringLiteral("mnuSaveReport"));
    setPrintEnabled(false);
    file->addSeparator();
    QAction* exitAction = file->addAction(QStringLiteral("E&xit"), this, [this] { guard([this] { ExitProgram(); }); });
    exitAction->setObjectName(QStringLiteral("mnuExit"));
    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    help->addAction(QStringLiteral("&Contents"), this, [this] { guard([this] { ShowHelp(); }); })
        ->setObjectName(QStringLiteral("mnuContents"));
    help->addAction(QStringLiteral("&About"), this, [this] { guard([this] { ShowAbout(); }); })
        ->setObjectName(QStringLiteral("mAbout"));

    // The pages keep their size; a maximized window shows them centred.
    auto* central = new QWidget(this);
    auto* layout = new QGridLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    stack_ = new QStackedWidget(central);
    layout->addWidget(stack_, 0, 0, Qt::AlignCenter);
    setCentralWidget(central);
    caseFiles_ = std::make_unique<CaseFileActions>(*this);
    PlaceForm();
}

MainWindow::~MainWindow() {
    // Pages refer to the record and the seam; they go first.
    for (auto& [id, page] : pages_) delete page;
    pages_.clear();
    for (const QPointer<Page>& page : unloaded_) delete page.data();
    unloaded_.clear();
    // The help window belongs to no page, nor to this window.
    delete help_.data();
}

void MainWindow::PlaceForm() {
    const int menuHeight = menuBar()->sizeHint().height();
    stack_->setFixedSize(Page::kWidth, Page::kHeight - menuHeight);
    if (isMaximized()) {
        setMinimumSize(Page::kWidth, Page::kHeight);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    } else {
        setFixedSize(Page::kWidth, Page::kHeight);
    }
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) PlaceForm();
}

void MainWindow::start() {
    const bool intro = ShowStartupIntro(settings_.load());
    show();
    SwitchForm(intro ? PageId::Splash : PageId::BasicInfo);
}

Page* MainWindow::createPage(PageId page) {
    switch (page) {
    case PageId::Splash: return new frmSplash(*this);
    case PageId::BasicInfo: {
        const RememberedEntries remembered = ReadRememberedEntries(settings_.load());
        if (remembered.formMaximized && !isMaximized()) {
            setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
            showMaximized();
        }
        return new frmBasicInfo(*this, remembered);
    }
    case PageId::LoanTerms: return new frmAPR1(*this);
    case PageId::Schedule: return new frmPymt(*this);
    case PageId::Results: return new FrmDisclosure(*this);
    case PageId::Reimbursement: return new frmReimbursement(*this);
    // Construction chain.
    case PageId::ConstructionTerms: return new frmConstLoan(*this);
    case PageId::ConstructionPhase: return new frmConstPhase(*this);
    case PageId::ConstructionInterest: return new frmConstInterest(*this);
    case PageId::ConstructionResults: return new frmRecDiscl(*this);
    }
    return nullptr;
}

Page* MainWindow::ensurePage(PageId page) {
    if (Page* loaded = loadedPage(page)) return loaded;
    Page* created = createPage(page);
    pages_[page] = created;
    loadOrder_.push_back(page);
    stack_->addWidget(created);
    return created;
}

Page* MainWindow::loadedPage(PageId page) const {
    const auto it = pages_.find(page);
    return it == pages_.end() ? nullptr : it->second;
}

bool MainWindow::isLoaded(PageId page) const { return loadedPage(page) != nullptr; }

Page* MainWindow::currentPage() const { return qobject_cast<Page*>(stack_->currentWidget()); }

void MainWindow::SwitchForm(PageId page) {
    Page* target = ensurePage(page);
    Page* current = currentPage();
    if (current && current != target) current->deactivate();
    stack_->setCurrentWidget(target);
    setWindowTitle(target->caption());
    newLoanAction_->setEnabled(target->newLoanAllowed());
    setPrintEnabled(false);
    target->activate();
}

void MainWindow::unloadPage(PageId page) {
    Page* loaded = loadedPage(page);
    if (!loaded) return;
    if (page == PageId::BasicInfo) saveRememberedEntries();
    loaded->deactivate();
    pages_.erase(page);
    loadOrder_.erase(std::remove(loadOrder_.begin(), loadOrder_.end(), page), loadOrder_.end());
    stack_->removeWidget(loaded);
    loaded->hide();
    // The page may be the one whose handler is running now; while a calendar is open, its own
    // event loop would delete it under that handler, so the deletion waits for the calendar.
    if (!calendarOpen_) loaded->deleteLater();
    unloaded_.erase(std::remove(unloaded_.begin(), unloaded_.end(), nullptr), unloaded_.end());
    unloaded_.emplace_back(loaded);
}

void MainWindow::reloadPage(PageId page) {
    unloadPage(page);
    // Loading is what starts the page afresh (the schedule page empties the schedule).
    ensurePage(page);
}

void MainWindow::saveRememberedEntries() {
    auto* basic = qobject_cast<frmBasicInfo*>(loadedPage(PageId::BasicInfo));
    if (!basic) return;
    RememberedEntries entries = basic->rememberedEntries();
    entries.formMaximized = isMaximized();
    // Keys of the file that are not ours ([Options], comments) stay as the user left them.
    IniFile ini = settings_.load();
    WriteRememberedEntries(ini, entries);
    settings_.save(ini);  // a failed write is not reported
}

void MainWindow::setNewLoanEnabled(bool enabled) { newLoanAction_->setEnabled(enabled); }

void MainWindow::setPrintEnabled(bool enabled) {
    printAction_->setEnabled(enabled);
    saveReportAction_->setEnabled(enabled);
}

void MainWindow::printReport() {
    if (auto* page = dynamic_cast<ReportPage*>(currentPage()); page && page->reportAllowed()) page->printReport();
}

void MainWindow::saveReport() {
    if (auto* page = dynamic_cast<ReportPage*>(currentPage()); page && page->reportAllowed()) page->saveReport();
}

void MainWindow::NewLoan() {
    if (!caseFiles_->offerToSaveChanges()) return;
    if (!tallex::NewLoan(*record_, session_, user_)) return;
    caseFiles_->forgetCase();
    if (currentPage() != loadedPage(PageId::BasicInfo)) SwitchForm(PageId::BasicInfo);
    if (auto* basic = qobject_cast<frmBasicInfo*>(loadedPage(PageId::BasicInfo))) basic->afterNewLoan();
    for (PageId page :
         {PageId::LoanTerms, PageId::Schedule, PageId::Results, PageId::Reimbursement, PageId::ConstructionTerms,
          PageId::ConstructionPhase, PageId::ConstructionInterest, PageId::ConstructionResults})
        unloadPage(page);
}

void MainWindow::ExitProgram() {
    if (exiting_) return;
    // Exit itself asks nothing; a loan kept in a case file is offered for saving first.
    if (!caseFiles_->offerToSaveChanges()) return;
    exiting_ = true;
    // Last opened first; the basic information page writes the settings as it goes.
    const std::vector<PageId> order(loadOrder_.rbegin(), loadOrder_.rend());
    for (PageId page : order) unloadPage(page);
    close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Closing the window is the Exit action; nothing is asked.
    if (!exiting_) guard([this] { ExitProgram(); });
    // A case that could not be saved keeps the window open.
    if (exiting_)
        event->accept();
    else
        event->ignore();
}

void MainWindow::ShowHelp() {
    // One help window, owned by no page, that stays open while the user works.
    if (!help_) help_ = new HelpWindow;
    help_->showContents();
}

void MainWindow::ShowAbout() {
    const AboutDetails details{SupportAddress(settings_.load()), QCoreApplication::applicationDirPath(),
                               settings_.path(), settings_.locationDescription()};
    frmAbout about(details, user_, this);
    modalRunner_->run(about);
}

template <class Calendar>
bool MainWindow::runCalendar(Page& asking) {
    // A button pressed by its access key clicks 100 ms later: that click may come while a
    // calendar is open, asking for a second one or unloading (New Loan, Exit) the page that
    // opened the first, or after its page was replaced. The second is not opened, a page no
    // longer shown opens none, and a page that is gone is told so.
    if (calendarOpen_ || &asking != currentPage()) return false;
    const QPointer<Page> caller = &asking;
    std::optional<DateCalculatorDialog::Error> error;
    {
        struct Open {
            bool& flag;
            explicit Open(bool& f) : flag(f) { flag = true; }
            ~Open() { flag = false; }
        } open(calendarOpen_);
        Calendar calendar(*record_, clock_, user_, this);
        calendar.exec();
        error = calendar.pendingError();
    }
    // Pages unloaded while it was open are deleted once the handler that opened it has returned.
    for (const QPointer<Page>& page : unloaded_)
        if (page) page->deleteLater();
    // The window the calendar covered is the active one again.
    activateWindow();
    if (error) {
        ShowErrorScreen(error->number, error->description);
        return false;
    }
    const bool stillLoaded =
        std::any_of(pages_.begin(), pages_.end(), [&](const auto& entry) { return entry.second == caller; });
    return caller && stillLoaded;
}

bool MainWindow::openPaymentCalendar(Page& caller) { return runCalendar<frmCalendar>(caller); }

bool MainWindow::openConstructionCalendar(Page& caller) { return runCalendar<frmRecCalendar>(caller); }

void MainWindow::ClearConstInterestAmount() {
    if (auto* interest = qobject_cast<frmConstInterest*>(loadedPage(PageId::ConstructionInterest)))
        interest->ClearConstInterestAmount();
}

void MainWindow::ShowErrorScreen(int number, const std::string& description) {
    if (recovering_) return;
    try {
        record_->gbErrorShown = true;
        session_.giLastError = number;
        Page* current = currentPage();
        const ErrorDetails details{number, description, current ? current->caption() : QStringLiteral("None"),
                                   QDateTime::currentDateTime()};
        // The loan is discarded: every working page closes, and no case file belongs to it now.
        const std::vector<PageId> order(loadOrder_.rbegin(), loadOrder_.rend());
        for (PageId page : order) unloadPage(page);
        caseFiles_->forgetCase();
        int choice = frmError::kChoiceNewLoan;
        {
            frmError screen(
                details, *outputChooser_, user_, [this] { ShowAbout(); }, this);
            choice = frmError::ChoiceOf(modalRunner_->run(screen));
        }
        if (choice == frmError::kChoiceExit) {
            ExitProgram();
            return;
        }
        RecoverFromError();
    } catch (...) {
        recovering_ = false;
        const std::string question = "The following program error has occurred in the error handling routine:  #" +
                                     std::to_string(number) + " - " + description +
                                     "  Do you want to exit from the program?";
        if (user_.show(question, kStyleYesNoQuestion) == kAnswerYesButton) ExitProgram();
    }
}

void MainWindow::RecoverFromError() {
    recovering_ = true;
    // The working pages are closed: the loan they showed is gone.
    const std::vector<PageId> order(loadOrder_.rbegin(), loadOrder_.rend());
    for (PageId page : order) unloadPage(page);
    ResetLoanRecord(*record_);
    session_.gbBasicInfoFresh = true;
    SwitchForm(PageId::BasicInfo);
    setNewLoanEnabled(false);
    recovering_ = false;
}

void MainWindow::bringToFront() {
    if (isMinimized()) showNormal();
    raise();
    activateWindow();
}
