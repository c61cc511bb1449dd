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
#include "shell/RecentCases.h"
#include "shell/WindowTitle.h"
#include "widgets/AccessibleNames.h"

#include "engine/Format.h"
#include "engine/NumberText.h"
#include "shell/CommonScreen.h"
#include "shell/StartupSettings.h"
#include "shell/StartupTexts.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateTime>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QKeySequence>
#include <QMenuBar>
#include <QMimeData>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <utility>

using namespace tallex;

namespace {

// The pages, one shown at a time: at least the size they were made for, and at least what the
// shown page needs in the desktop's font (a fixed minimum would hide the second).
class PageStack final : public QStackedWidget {
public:
    using QStackedWidget::QStackedWidget;
    void setLeast(const QSize& least) {
        least_ = least;
        updateGeometry();
    }
    QSize minimumSizeHint() const override { return QStackedWidget::minimumSizeHint().expandedTo(least_); }

private:
    QSize least_;
};

}  // namespace

MainWindow::MainWindow(UserSeam& user, SettingsStore settings, QWidget* parent)
    : QMainWindow(parent), user_(user), settings_(std::move(settings)), record_(std::make_unique<LoanRecord>()) {
    setObjectName(QStringLiteral("MainWindow"));
    ResetLoanRecord(*record_);

    buildMenus();

    // The pages fill the window and lay out in proportion when it grows.
    stack_ = new PageStack(this);
    setCentralWidget(stack_);
    statusBar()->setObjectName(QStringLiteral("statusBar"));
    setAcceptDrops(true);
    qApp->installEventFilter(this);
    caseFiles_ = std::make_unique<CaseFileActions>(*this);
    PlaceForm();
    rebuildRecentCases();
    caseFileChanged();
}

namespace {

// The desktop's key for a standard action; the usual one where the platform names none.
QList<QKeySequence> StandardKeys(QKeySequence::StandardKey key, const char* usual) {
    QList<QKeySequence> keys = QKeySequence::keyBindings(key);
    if (keys.isEmpty()) keys << QKeySequence(QString::fromLatin1(usual));
    return keys;
}

}  // namespace

void MainWindow::buildMenus() {
    const auto add = [this](QMenu* menu, const QString& text, const char* name, QKeySequence::StandardKey key,
                            const char* usual, auto handler) {
        QAction* action = menu->addAction(text, this, [this, handler] { guard(handler); });
        action->setObjectName(QString::fromLatin1(name));
        if (usual) action->setShortcuts(StandardKeys(key, usual));
        return action;
    };
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    newLoanAction_ =
        add(file, QStringLiteral("&New Loan"), "mnuNewLoan", QKeySequence::New, "Ctrl+N", [this] { NewLoan(); });
    add(file, QStringLiteral("&Open Case..."), "mnuOpenCase", QKeySequence::Open, "Ctrl+O",
        [this] { caseFiles_->openCase(); });
    recentMenu_ = file->addMenu(QStringLiteral("Recent &Cases"));
    recentMenu_->setObjectName(QStringLiteral("mnuRecentCases"));
    connect(recentMenu_, &QMenu::aboutToShow, this, [this] { rebuildRecentCases(); });
    add(file, QStringLiteral("&Save Case"), "mnuSaveCase", QKeySequence::Save, "Ctrl+S",
        [this] { caseFiles_->saveCase(); });
    add(file, QStringLiteral("Save Case &As..."), "mnuSaveCaseAs", QKeySequence::SaveAs, "Ctrl+Shift+S",
        [this] { caseFiles_->saveCaseAs(); });
    add(file, QStringLiteral("Review Loan &Tape..."), "mnuReviewTape", QKeySequence::UnknownKey, nullptr,
        [this] { TapeReviewWindow::Open(*this); });
    file->addSeparator();
    printAction_ =
        add(file, QStringLiteral("&Print..."), "mnuPrint", QKeySequence::Print, "Ctrl+P", [this] { printReport(); });
    saveReportAction_ = add(file, QStringLiteral("Save &Report..."), "mnuSaveReport", QKeySequence::UnknownKey, nullptr,
                            [this] { saveReport(); });
    setPrintEnabled(false);
    file->addSeparator();
    add(file, QStringLiteral("E&xit"), "mnuExit", QKeySequence::Quit, "Ctrl+Q", [this] { ExitProgram(); });
    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    add(help, QStringLiteral("&Contents"), "mnuContents", QKeySequence::HelpContents, "F1", [this] { ShowHelp(); });
    add(help, QStringLiteral("&About"), "mAbout", QKeySequence::UnknownKey, nullptr, [this] { ShowAbout(); });
}

void MainWindow::rebuildRecentCases() {
    recentMenu_->clear();
    const QStringList files = RecentCases(settings_).files();
    for (int i = 0; i < files.size(); ++i) {
        const QString path = files[i];
        // "&1 review.tallex", the full path as the tip.
        QAction* action = recentMenu_->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(path).fileName()),
                                                 this, [this, path] { openCaseWhenReady(path); });
        action->setData(path);
        action->setToolTip(path);
        action->setStatusTip(path);
    }
    recentMenu_->setEnabled(!files.isEmpty());
}

void MainWindow::caseFileChanged() {
    setWindowTitle(CaseWindowTitle(caseFiles_->fileName()));
    setWindowModified(caseFiles_->isModified());
    rebuildRecentCases();
}

void MainWindow::scheduleModifiedCheck() {
    if (modifiedCheckPending_) return;
    modifiedCheckPending_ = true;
    QTimer::singleShot(0, this, [this] {
        modifiedCheckPending_ = false;
        guard([this] { setWindowModified(caseFiles_->isModified()); });
    });
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyRelease:
    case QEvent::MouseButtonRelease:
        if (auto* widget = qobject_cast<QWidget*>(watched); widget && widget->window() == this) scheduleModifiedCheck();
        break;
    default: break;
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile()) {
            event->acceptProposedAction();
            return;
        }
}

void MainWindow::dropEvent(QDropEvent* event) {
    for (const QUrl& url : event->mimeData()->urls()) {
        if (!url.isLocalFile()) continue;
        event->acceptProposedAction();
        const QString path = url.toLocalFile();
        // After the drop is over: opening may ask questions.
        QTimer::singleShot(0, this, [this, path] { openCaseWhenReady(path); });
        return;
    }
}

void MainWindow::openCaseWhenReady(const QString& path) {
    if (currentPage() && currentPage() == loadedPage(PageId::Splash)) {
        pendingCase_ = path;
        return;
    }
    guard([this, path] { caseFiles_->openCaseFile(path); });
}

MainWindow::~MainWindow() {
    qApp->removeEventFilter(this);
    // Pages refer to the record and the seam; they go first.
    for (auto& [id, page] : pages_) delete page;
    pages_.clear();
    for (const QPointer<Page>& page : unloaded_) delete page.data();
    unloaded_.clear();
    // The help window belongs to no page, nor to this window.
    delete help_.data();
}

void MainWindow::PlaceForm() {
    // The window, menu and status bar included, is never smaller than the pages were made for,
    // nor than a page needs in the desktop's font; above that it grows and shrinks freely. It
    // opens with the pages' own room.
    const int menuHeight = menuBar()->sizeHint().height();
    const int statusHeight = statusBar()->sizeHint().height();
    static_cast<PageStack*>(stack_)->setLeast(QSize(Page::kWidth, Page::kHeight - menuHeight - statusHeight));
    resize(Page::kWidth, Page::kHeight + statusHeight);
}

void MainWindow::restorePlacement() {
    const IniFile ini = settings_.load();
    const auto number = [&ini](const char* key) { return Val(ini.Read("Window", key, "")); };
    const int width = static_cast<int>(number("Width"));
    const int height = static_cast<int>(number("Height"));
    if (width < Page::kWidth || height < Page::kHeight) return;
    resize(width, height);
    move(static_cast<int>(number("Left")), static_cast<int>(number("Top")));
}

void MainWindow::savePlacement() {
    // A maximized window remembers the size it goes back to.
    const QRect normal = isMaximized() || isFullScreen() ? normalGeometry() : QRect(pos(), size());
    IniFile ini = settings_.load();
    const IniFile before = ini;
    ini.Write("Window", "Left", std::to_string(normal.x()));
    ini.Write("Window", "Top", std::to_string(normal.y()));
    ini.Write("Window", "Width", std::to_string(normal.width()));
    ini.Write("Window", "Height", std::to_string(normal.height()));
    if (ini.Text() != before.Text()) settings_.save(ini);  // a failed write is not reported
}

void MainWindow::start(const QString& caseFile) {
    const bool intro = ShowStartupIntro(settings_.load());
    restorePlacement();
    show();
    SwitchForm(intro ? PageId::Splash : PageId::BasicInfo);
    if (!caseFile.isEmpty()) openCaseWhenReady(caseFile);
}

Page* MainWindow::createPage(PageId page) {
    switch (page) {
    case PageId::Splash: return new frmSplash(*this);
    case PageId::BasicInfo: {
        const RememberedEntries remembered = ReadRememberedEntries(settings_.load());
        if (remembered.formMaximized && !isMaximized()) showMaximized();
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
    DescribeControls(created);
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
    newLoanAction_->setEnabled(target->newLoanAllowed());
    setPrintEnabled(false);
    target->activate();
    setWindowModified(caseFiles_->isModified());
    // A case named on the command line waits for the splash to be left.
    if (page != PageId::Splash && !pendingCase_.isEmpty())
        QTimer::singleShot(0, this, [this] {
            const QString path = std::exchange(pendingCase_, QString());
            if (!path.isEmpty()) guard([this, path] { caseFiles_->openCaseFile(path); });
        });
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
    const CaseFileActions::Offer offer = caseFiles_->offerToSaveChanges();
    if (offer == CaseFileActions::Offer::Cancelled) return;
    // Having saved or discarded the entries, the user is not asked again to discard them.
    if (offer != CaseFileActions::Offer::NothingToSave) session_.gbBasicInfoFresh = true;
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
    // Entries not saved are offered for saving first; Cancel keeps the program open.
    if (caseFiles_->offerToSaveChanges() == CaseFileActions::Offer::Cancelled) return;
    exiting_ = true;
    // Last opened first; the basic information page writes the settings as it goes.
    const std::vector<PageId> order(loadOrder_.rbegin(), loadOrder_.rend());
    for (PageId page : order) unloadPage(page);
    savePlacement();
    close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Closing the window is the Exit action.
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
        DescribeControls(&calendar);
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
                                   QDateTime::currentDateTime(), QFileInfo(settings_.path()).absolutePath()};
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
