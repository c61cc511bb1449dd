#include "shell/CaseFileActions.h"
#include "CaseChoices.h"
#include "CaseReplay.h"

#include "pages/FrmDisclosure.h"
#include "pages/frmAPR1.h"
#include "pages/frmBasicInfo.h"
#include "pages/frmConstInterest.h"
#include "pages/frmConstLoan.h"
#include "pages/frmConstPhase.h"
#include "pages/frmPymt.h"
#include "pages/frmRecDiscl.h"
#include "pages/frmReimbursement.h"
#include "print/OutputChooser.h"
#include "shell/MainWindow.h"
#include "shell/RecentCases.h"
#include "widgets/ScheduleGrid.h"
#include "widgets/ScheduleModel.h"

#include "engine/Format.h"
#include "engine/NumberText.h"
#include "report/AtomicFile.h"
#include "schedule/ScheduleColumns.h"
#include "shell/CommonScreen.h"

#include <QAbstractButton>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QStandardPaths>
#include <QStatusBar>

#include <algorithm>
#include <vector>

using namespace tallex;
using tallex::casefile::CaseFile;
using tallex::casefile::CasePage;
using tallex::casefile::CaseStream;

namespace {

// A case file is a few kilobytes; anything much larger is not one.
constexpr qint64 kMaxCaseFileSize = 4 << 20;

template <class T>
T* Control(const Page* page, const char* name) {
    return page ? page->findChild<T*>(QString::fromLatin1(name)) : nullptr;
}

bool Checked(const Page* page, const char* name) {
    const auto* button = Control<QAbstractButton>(page, name);
    return button && button->isChecked();
}

std::string Text(const Page* page, const char* box) {
    const auto* edit = Control<QLineEdit>(page, box);
    return edit ? edit->text().toStdString() : std::string();
}

PageId PageOf(CasePage page) {
    switch (page) {
    case CasePage::BasicInformation: break;
    case CasePage::LoanTerms: return PageId::LoanTerms;
    case CasePage::ConstructionTerms: return PageId::ConstructionTerms;
    case CasePage::ConstructionPhase: return PageId::ConstructionPhase;
    case CasePage::ConstructionInterest: return PageId::ConstructionInterest;
    case CasePage::Schedule: return PageId::Schedule;
    case CasePage::Results: return PageId::Results;
    case CasePage::ConstructionResults: return PageId::ConstructionResults;
    case CasePage::Reimbursement: return PageId::Reimbursement;
    }
    return PageId::BasicInfo;
}

// The pages after the basic information page that a case goes through up to its results.
std::vector<PageId> PagesOf(const CaseFile& c) {
    if (c.kind != "construction") return {PageId::LoanTerms, PageId::Schedule};
    std::vector<PageId> pages{PageId::ConstructionTerms, PageId::ConstructionPhase, PageId::ConstructionInterest};
    if (c.construction && c.construction->disclosure != "separately") pages.push_back(PageId::Schedule);
    return pages;
}

// The control a refused key of a case names, on the page that refused it.
struct KeyControl {
    const char* key;
    const char* control;
};
constexpr KeyControl kKeyControls[] = {
    {"date", "txtAcctDate"},
    {"amount_financed", "txtAmtFinanced"},
    {"disclosed_apr", "txtDiscAPR"},
    {"disclosed_finance_charge", "txtDiscFinChg"},
    {"disclosed_finance_charge", "txtFinChg"},
    {"unit_period", "txtUnitPeriod"},
    {"construction.commitment", "txtLoanAmt"},
    {"construction.simple_rate", "txtSimpleInt"},
    {"construction.prepaid_finance_charge", "txtPrepdFinChg"},
    {"construction.subsequent_finance_charge", "txtSubFinChg"},
    {"construction.time_period", "txtTimePeriod"},
    {"construction.unit_periods", "txtUnitPeriod"},
    {"construction.odd_days", "txtOddDays"},
    {"construction.loan_date", "cmdCalendar"},
    {"construction.construction_end_date", "cmdCalendar"},
    {"construction.estimated_interest", "txtAmtInt"},
};

// The stream and grid column of a refused schedule key ("schedule[2].payments"); the timing
// columns for a date the calculator refused. Stream 0 when the key names no stream.
std::pair<int, int> ScheduleCellOf(const std::string& key) {
    if (key.rfind("construction.", 0) == 0) return {1, kColUnitPeriods};  // the construction calculator
    int stream = 0;
    std::size_t end = 0;
    if (key.rfind("schedule[", 0) == 0) {
        end = key.find(']');
        if (end != std::string::npos) stream = static_cast<int>(Val(key.substr(9, end - 9)));
    }
    if (stream < 1 || stream > kMaxStreams) return {0, 0};
    const std::string field = end + 1 < key.size() ? key.substr(end + 2) : std::string();
    if (field == "amount") return {stream, kColAmount};
    if (field == "payments") return {stream, kColNumPayments};
    if (field == "odd_days") return {stream, kColOddDays};
    return {stream, kColUnitPeriods};
}

std::optional<bool> AnswerOf(std::int16_t answer) {
    if (answer == kAnswerYes) return true;
    if (answer == kAnswerNo) return false;
    return std::nullopt;
}

}  // namespace

CaseFileActions::CaseFileActions(MainWindow& window) : window_(window) {}

QString CaseFileActions::startFolder() const {
    if (!file_.isEmpty()) return QFileInfo(file_).absolutePath();
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

CaseFileActions::Snapshot CaseFileActions::currentCase() const {
    Snapshot snapshot;
    const Page* basic = window_.loadedPage(PageId::BasicInfo);
    const bool construction = Checked(basic, "optType_1") || window_.record().gbConstruction;
    CaseFile c;
    if (const auto* info = qobject_cast<const frmBasicInfo*>(basic)) {
        const ReportIdentity id = info->identity();
        c.preparer = id.preparer;
        c.date = id.date;
        c.borrower = id.borrower;
        c.account = id.account;
        c.lender = id.lender;
        c.creditor = id.creditor;
    }
    // A construction loan: its own pages say what they hold.
    bool constructionOnly = false;
    if (construction) {
        c.kind = "construction";
        c.construction.emplace();
        if (const auto* terms = qobject_cast<const frmConstLoan*>(window_.loadedPage(PageId::ConstructionTerms)))
            terms->writeCase(c);
        if (const auto* phase = qobject_cast<const frmConstPhase*>(window_.loadedPage(PageId::ConstructionPhase)))
            phase->writeCase(c);
        if (const auto* interest =
                qobject_cast<const frmConstInterest*>(window_.loadedPage(PageId::ConstructionInterest)))
            interest->writeCase(c);
        constructionOnly = c.construction->disclosure == "separately";
    } else if (const Page* terms = window_.loadedPage(PageId::LoanTerms)) {
        c.amountFinanced = PlainNumberText(Text(terms, "txtAmtFinanced"));
        c.disclosedApr = Text(terms, "txtDiscAPR");
        c.disclosedFinanceCharge = PlainNumberText(Text(terms, "txtDiscFinChg"));
        const bool single = Checked(terms, "optLoanType_1");
        c.loanType = single ? "single" : "installment";
        for (int i = 0; i < (single ? 2 : 4); ++i) {
            if (Checked(terms, QStringLiteral("optPymtFreq_%1").arg(i).toLatin1().constData()))
                c.frequency = tallex::casefile::FrequencyKey(single, i);
        }
        if (const auto* unit = Control<QLineEdit>(terms, "txtUnitPeriod"); unit && !unit->isHidden())
            c.unitPeriod = unit->text().toStdString();
        // The record's flags follow the two check boxes.
        c.securedByRealEstate = window_.record().gbSecuredByRealEstate;
        c.loanDateBefore1995 = window_.record().gbDatePre_093095;
    }
    const LoanRecord& r = window_.record();
    // The one payment of a construction phase disclosed separately is the pages' own, not typed.
    if (window_.isLoaded(PageId::Schedule) && !constructionOnly) {
        int rows = std::min<int>(r.giGridRowCount, kMaxStreams);
        const auto empty = [&r](int k) {
            return r.gaPymtAmt[k].empty() && r.gaNumPymts[k].empty() && r.gaUnitPeriods[k].empty() &&
                   r.gaOddDays[k].empty();
        };
        while (rows > 0 && empty(rows)) --rows;
        for (int k = 1; k <= rows; ++k)
            c.schedule.push_back(
                CaseStream{r.gaPymtAmt[k], r.gaNumPymts[k], r.gaUnitPeriods[k], r.gaOddDays[k], {}, {}});
    }
    const ResultsView* results = nullptr;
    if (constructionOnly) {
        if (const auto* page = qobject_cast<const frmRecDiscl*>(window_.loadedPage(PageId::ConstructionResults)))
            results = &page->resultsView();
    } else {
        results = qobject_cast<const FrmDisclosure*>(window_.loadedPage(PageId::Results));
    }
    if (results) {
        c.aprUnderstatementCausedByFc = AnswerOf(r.giAPRUnderByFC);
        c.aprOverstatementCausedByFc = AnswerOf(r.giAPROverByFC);
        if (results->toleranceFrameVisible() && results->selectedTolerance() != kToleranceNone)
            c.tolerance = tallex::casefile::kToleranceKeys[static_cast<std::size_t>(results->selectedTolerance())];
    }
    if (const auto* reimbursement = qobject_cast<const frmReimbursement*>(window_.loadedPage(PageId::Reimbursement)))
        c.priorPayments = reimbursement->acceptedPriorPayments();
    snapshot.caseFile = std::move(c);
    return snapshot;
}

bool CaseFileActions::saveCase() {
    if (file_.isEmpty()) return saveCaseAs();
    if (!currentCase().caseFile || !saveTo(file_)) return false;
    caseChanged(file_);
    return true;
}

bool CaseFileActions::saveCaseAs() {
    const Snapshot snapshot = currentCase();
    if (!snapshot.caseFile) {
        window_.user().show(snapshot.refusal, kStyleExclamation);
        return false;
    }
    QString name = window_.outputChooser().saveFileName(&window_, QStringLiteral("Save Case As"), startFolder(),
                                                        QString::fromLatin1(kCaseFileSaveFilter));
    if (name.isEmpty()) return false;
    if (QFileInfo(name).suffix().isEmpty()) name += QStringLiteral(".") + QString::fromLatin1(kCaseFileSuffix);
    if (!saveTo(name)) return false;
    caseChanged(name);
    return true;
}

void CaseFileActions::caseChanged(const QString& savedIn) {
    if (!savedIn.isEmpty()) {
        window_.statusBar()->showMessage(QStringLiteral("Case has been saved in %1.").arg(savedIn));
        RecentCases(window_.settings()).add(savedIn);
    }
    window_.caseFileChanged();
}

bool CaseFileActions::saveTo(const QString& path) {
    const Snapshot snapshot = currentCase();
    if (!snapshot.caseFile) return false;
    const std::string json = tallex::casefile::CaseToJson(*snapshot.caseFile);
    if (const auto failure = WriteFileAtomically(QFile::encodeName(path).toStdString(), json)) {
        window_.user().show(
            "Unable to save case file.  Error # " + std::to_string(failure->number) + " - " + failure->description,
            kStyleCritical);
        return false;
    }
    file_ = path;
    savedJson_ = json;
    return true;
}

bool CaseFileActions::isModified() const {
    // After the error screen the loan is gone: there is nothing left to save.
    if (window_.record().gbErrorShown) return false;
    if (file_.isEmpty()) return !window_.session().gbBasicInfoFresh;
    const Snapshot snapshot = currentCase();
    return snapshot.caseFile && tallex::casefile::CaseToJson(*snapshot.caseFile) != savedJson_;
}

std::string CaseFileActions::UnsavedEntriesQuestion(const QString& file) {
    if (file.isEmpty()) return "The loan has not been saved in a case file." + std::string(kCrLf) + kCrLf + "Save it?";
    return "The case has changed since it was saved in " + file.toStdString() + "." + kCrLf + kCrLf +
           "Save the changes?";
}

CaseFileActions::Offer CaseFileActions::offerToSaveChanges() {
    if (!isModified()) return Offer::NothingToSave;
    switch (window_.user().show(UnsavedEntriesQuestion(file_), kStyleSaveDiscardCancel)) {
    case kAnswerYesButton: return saveCase() ? Offer::Saved : Offer::Cancelled;
    case kAnswerNoButton: return Offer::Discarded;
    default: return Offer::Cancelled;
    }
}

void CaseFileActions::forgetCase() {
    file_.clear();
    savedJson_.clear();
    caseChanged({});
}

void CaseFileActions::openCase() {
    const QString name = window_.outputChooser().openFileName(&window_, QStringLiteral("Open Case"), startFolder(),
                                                              QString::fromLatin1(kCaseFileOpenFilter));
    if (!name.isEmpty()) openCaseFile(name);
}

bool CaseFileActions::openCaseFile(const QString& path) {
    UserSeam& user = window_.user();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxCaseFileSize) {
        user.show("Unable to open case file " + path.toStdString() + ".", kStyleExclamation);
        return false;
    }
    const QByteArray bytes = file.readAll();
    CaseFile c;
    if (const auto error = tallex::casefile::ParseCase(
            std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), c)) {
        user.show("The case file " + path.toStdString() + " cannot be read: " + error->key + ": " + error->message,
                  kStyleExclamation);
        return false;
    }
    // The loan shown now goes, as with New Loan; the user may keep it instead.
    window_.NewLoan();
    if (!window_.session().gbBasicInfoFresh) return false;
    replayCase(c);
    file_ = path;
    const Snapshot snapshot = currentCase();
    savedJson_ = snapshot.caseFile ? tallex::casefile::CaseToJson(*snapshot.caseFile) : std::string();
    RecentCases(window_.settings()).add(path);
    caseChanged({});
    return true;
}

bool CaseFileActions::showCase(const CaseFile& c) {
    // New Loan also forgets the case file of the loan shown: this case has none.
    window_.NewLoan();
    if (!window_.session().gbBasicInfoFresh) return false;
    replayCase(c);
    return true;
}

void CaseFileActions::replayCase(const CaseFile& c) {
    // The pages of the case are loaded first, as each is when the user reaches it: loading sets
    // the record up for the page (the schedule page labels its streams and empties them).
    const std::vector<PageId> pages = PagesOf(c);
    for (PageId page : pages) window_.reloadPage(page);
    const casefile::CaseProgress progress = casefile::ReplayToResults(c, window_.record(), window_.clock());
    const PageId reached = PageOf(progress.page);
    // A page after the one the case stopped on was never reached.
    const auto stop = std::find(pages.begin(), pages.end(), reached);
    for (auto later = stop == pages.end() ? pages.begin() : stop + 1; later != pages.end(); ++later)
        window_.unloadPage(*later);

    const casefile::CaseFile& shown = progress.entries;
    if (auto* basic = qobject_cast<frmBasicInfo*>(window_.loadedPage(PageId::BasicInfo))) basic->showCase(shown);
    if (auto* terms = qobject_cast<frmAPR1*>(window_.loadedPage(PageId::LoanTerms)))
        terms->showCase(shown, progress.loanTerms);
    if (auto* terms = qobject_cast<frmConstLoan*>(window_.loadedPage(PageId::ConstructionTerms)))
        terms->showCase(shown);
    if (auto* phase = qobject_cast<frmConstPhase*>(window_.loadedPage(PageId::ConstructionPhase)))
        phase->showCase(shown);
    if (auto* interest = qobject_cast<frmConstInterest*>(window_.loadedPage(PageId::ConstructionInterest)))
        interest->showCase(shown, progress.initialEstimate, progress.initialEstimateShown);
    // The schedule page shows the record's streams when it opens.
    if (reached != PageId::BasicInfo) window_.session().gbBasicInfoFresh = false;
    if (window_.currentPage() != window_.loadedPage(reached)) window_.SwitchForm(reached);

    UserSeam& user = window_.user();
    for (const std::string& note : progress.notes) user.show(note, kStyleInformation);
    if (progress.refusal) {
        user.show(progress.refusal->message, progress.refusalStyle);
        focusRefused(reached, progress.refusal->key);
    }
}

void CaseFileActions::focusRefused(PageId page, const std::string& key) {
    Page* shown = window_.loadedPage(page);
    if (auto* schedule = qobject_cast<frmPymt*>(shown)) {
        const auto [stream, column] = ScheduleCellOf(key);
        if (stream < 1) return;
        // A stream refused in its first cell has no row yet: it gets one, as the user's had.
        ScheduleModel& model = *schedule->model();
        while (model.rowCount() < stream)
            model.appendRow(
                QString::fromStdString(window_.record().gaPymtCol0[static_cast<std::size_t>(model.rowCount() + 1)]));
        schedule->grid()->placeCursor(stream - 1, column);
        return;
    }
    for (const KeyControl& entry : kKeyControls) {
        if (key != entry.key) continue;
        auto* control = Control<QWidget>(shown, entry.control);
        if (control && control->isVisibleTo(shown) && control->isEnabled()) {
            control->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}
