#include "MainWindow.h"

#include "PlaceholderPage.h"
#include "frmAPR1.h"
#include "frmBasicInfo.h"
#include "frmCalendar.h"
#include "frmConstInterest.h"
#include "frmConstLoan.h"
#include "frmConstPhase.h"
#include "frmPymt.h"
#include "frmRecCalendar.h"
#include "frmRecDiscl.h"
#include "frmSplash.h"

#include "engine/Format.h"
#include "engine/RuntimeError.h"
#include "shell/CommonScreen.h"
#include "shell/StartupSettings.h"
#include "shell/StartupTexts.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QGridLayout>
#include <QMenuBar>
#include <QStackedWidget>
#include <QTextBrowser>

#include <new>

using namespace tallex;

namespace {

// Help pages are optional: without them Contents shows nothing, as a missing help file would.
constexpr char kHelpContents[] = ":/help/index.html";

QString ComputedAprText(const LoanRecord& r) {
    return QStringLiteral("Computed APR:  ") + QString::fromStdString(Format(r.gdCalcAPR / 100, "###0.0000 %"));
}

}  // namespace

MainWindow::MainWindow(UserSeam& user, SettingsStore settings, QWidget* parent)
    : QMainWindow(parent), user_(user), settings_(std::move(settings)), record_(std::make_unique<LoanRecord>()) {
    setObjectName(QStringLiteral("MainWindow"));
    ResetLoanRecord(*record_);

    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    newLoanAction_ = file->addAction(QStringLiteral("&New Loan"), this, [this] { guarded([this] { NewLoan(); }); });
    newLoanAction_->setObjectName(QStringLiteral("mnuNewLoan"));
    QAction* exitAction = file->addAction(QStringLiteral("E&xit"), this, [this] { guarded([this] { ExitProgram(); }); });
    exitAction->setObjectName(QStringLiteral("mnuExit"));
    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    help->addAction(QStringLiteral("&Contents"), this, [this] { guarded([this] { ShowHelp(); }); })->setObjectName(QStringLiteral("mnuContents"));
    help->addAction(QStringLiteral("&About"), this, [this] { guarded([this] { ShowAbout(); }); })->setObjectName(QStringLiteral("mAbout"));

    // The pages keep their size; a maximized window shows them centred.
    auto* central = new QWidget(this);
    auto* layout = new QGridLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    stack_ = new QStackedWidget(central);
    layout->addWidget(stack_, 0, 0, Qt::AlignCenter);
    setCentralWidget(central);
    PlaceForm();
}

MainWindow::~MainWindow() {
    // Pages refer to the record and the seam; they go first.
    for (auto& [id, page] : pages_) delete page;
    pages_.clear();
    for (const QPointer<Page>& page : unloaded_) delete page.data();
    unloaded_.clear();
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
    case PageId::Results:
        return new PlaceholderPage(*this, "FrmDisclosure", QStringLiteral("Disclosure Information"), PageId::Schedule,
                                   [this] { return ComputedAprText(*record_); });
    // Results and reimbursement pages.
    case PageId::Reimbursement:
        return new PlaceholderPage(*this, "frmReimbursement", QStringLiteral("Reimbursement Information"),
                                   PageId::Results, [] { return QString(); });
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
    // The page may be the one whose handler is running now.
    loaded->deleteLater();
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

void MainWindow::NewLoan() {
    if (!tallex::NewLoan(*record_, session_, user_)) return;
    if (currentPage() != loadedPage(PageId::BasicInfo)) SwitchForm(PageId::BasicInfo);
    if (auto* basic = qobject_cast<frmBasicInfo*>(loadedPage(PageId::BasicInfo))) basic->afterNewLoan();
    for (PageId page : {PageId::LoanTerms, PageId::Schedule, PageId::Results, PageId::Reimbursement,
                        PageId::ConstructionTerms, PageId::ConstructionPhase, PageId::ConstructionInterest,
                        PageId::ConstructionResults})
        unloadPage(page);
}

void MainWindow::reportCurrentException() noexcept {
    int number = 51;
    std::string description = "Internal error";
    try {
        throw;
    } catch (const RuntimeError& e) {
        number = e.number();
        description = e.description();
    } catch (const std::bad_alloc&) {
        number = 7;
        description = "Out of memory";
    } catch (...) {
    }
    try {
        ShowErrorScreen(number, description);
    } catch (...) {
        // Nothing more can be shown.
    }
}

void MainWindow::ExitProgram() {
    if (exiting_) return;
    exiting_ = true;
    // Last opened first; the basic information page writes the settings as it goes.
    const std::vector<PageId> order(loadOrder_.rbegin(), loadOrder_.rend());
    for (PageId page : order) unloadPage(page);
    close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Closing the window is the Exit action; nothing is asked.
    if (!exiting_) guarded([this] { ExitProgram(); });
    event->accept();
}

void MainWindow::ShowHelp() {
    if (!QFile::exists(QString::fromLatin1(kHelpContents))) return;
    auto* browser = new QTextBrowser;
    browser->setAttribute(Qt::WA_DeleteOnClose);
    browser->setWindowTitle(QStringLiteral("TALLEX Help"));
    browser->setSource(QUrl(QStringLiteral("qrc") + QString::fromLatin1(kHelpContents)));
    browser->resize(640, 480);
    browser->show();
}

void MainWindow::ShowAbout() {
    const std::string text = std::string(kApplicationTitle) + kCrLf + "Version " + AppVersion() + kCrLf + kCrLf +
                             "Settings file: " + settings_.path().toStdString() + kCrLf + "(" +
                             settings_.locationDescription().toStdString() + ")";
    user_.show(text, kStyleInformation);
}

bool MainWindow::openPaymentCalendar() {
    std::optional<frmCalendar::Error> error;
    {
        frmCalendar calendar(*record_, clock_, user_, this);
        calendar.exec();
        error = calendar.pendingError();
    }
    // The window the calendar covered is the active one again.
    activateWindow();
    if (!error) return true;
    ShowErrorScreen(error->number, error->description);
    return false;
}

bool MainWindow::openConstructionCalendar() {
    std::optional<frmRecCalendar::Error> error;
    {
        frmRecCalendar calendar(*record_, clock_, user_, this);
        calendar.exec();
        error = calendar.pendingError();
    }
    activateWindow();
    if (!error) return true;
    ShowErrorScreen(error->number, error->description);
    return false;
}

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
        const std::string active = current ? current->caption().toStdString() : std::string();
        user_.show(ErrorNoticeText(number, description, active), kStyleCritical);
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
