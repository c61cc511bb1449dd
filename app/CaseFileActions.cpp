#include "CaseFileActions.h"
#include "CaseChoices.h"

#include "FrmDisclosure.h"
#include "MainWindow.h"
#include "OutputChooser.h"
#include "frmBasicInfo.h"
#include "frmConstInterest.h"
#include "frmConstLoan.h"
#include "frmConstPhase.h"
#include "frmRecDiscl.h"
#include "frmReimbursement.h"

#include "calendar/ConstructionDateCalendar.h"
#include "calendar/PaymentDateCalendar.h"
#include "construction/ConstChoices.h"
#include "engine/Format.h"
#include "engine/NumberText.h"
#include "entry/ScheduleCellCheck.h"
#include "entry/ScheduleCellStore.h"
#include "entry/ScheduleOddDaysQuietPeriod.h"
#include "report/AtomicFile.h"
#include "shell/CommonScreen.h"
#include "shell/SchedulePage.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QFocusEvent>
#include <QLineEdit>
#include <QStandardPaths>

using namespace tallex;
using tallex::casefile::CaseFile;
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

// A money box shows "$6,000.00" once left; the case keeps the plain number.
std::string PlainAmount(const QString& shown) {
    const std::string text = shown.toStdString();
    const std::optional<double> value = NumericTextValue(text);
    return value ? ShortestNumber(*value) : text;
}

std::string Text(const Page* page, const char* box) {
    const auto* edit = Control<QLineEdit>(page, box);
    return edit ? edit->text().toStdString() : std::string();
}

// Types the text into the box and leaves it with Tab: the page's field check runs.
void TypeAndLeave(Page* page, const char* name, const std::string& text) {
    auto* box = Control<QLineEdit>(page, name);
    if (!box || box->isHidden()) return;
    box->setText(QString::fromStdString(text));
    QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(box, &leave);
}

// Clicks the option or check box unless it already is as wanted.
void Choose(Page* page, const char* name, bool checked) {
    auto* button = Control<QAbstractButton>(page, name);
    if (button && !button->isHidden() && button->isChecked() != checked) button->click();
}

void Press(Page* page, const char* name) {
    if (auto* button = Control<QAbstractButton>(page, name)) button->click();
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
        if (const auto* interest = qobject_cast<const frmConstInterest*>(window_.loadedPage(PageId::ConstructionInterest)))
            interest->writeCase(c);
        constructionOnly = c.construction->disclosure == "separately";
    } else if (const Page* terms = window_.loadedPage(PageId::LoanTerms)) {
        c.amountFinanced = PlainAmount(QString::fromStdString(Text(terms, "txtAmtFinanced")));
        c.disclosedApr = Text(terms, "txtDiscAPR");
        c.disclosedFinanceCharge = PlainAmount(QString::fromStdString(Text(terms, "txtDiscFinChg")));
        const bool single = Checked(terms, "optLoanType_1");
        c.loanType = single ? "single" : "installment";
        for (int i = 0; i < (single ? 2 : 4); ++i) {
            if (Checked(terms, QStringLiteral("optPymtFreq_%1").arg(i).toLatin1().constData()))
                c.frequency = tallex::casefile::FrequencyKey(single, i);
        }
        if (const auto* unit = Control<QLineEdit>(terms, "txtUnitPeriod"); unit && !unit->isHidden())
            c.unitPeriod = unit->text().toStdString();
        c.securedByRealEstate = Checked(terms, "chkSecuredByRealEstate");
        c.loanDateBefore1995 = *c.securedByRealEstate && Checked(terms, "chkDatePre_093095");
    }
    const LoanRecord& r = window_.record();
    // The one payment of a construction phase disclosed separately is the pages' own, not typed.
    if (window_.isLoaded(PageId::Schedule) && !constructionOnly) {
        int rows = std::min<int>(r.giGridRowCount, kMaxStreams);
        const auto empty = [&r](int k) {
            return r.gaPymtAmt[k].empty() && r.gaNumPymts[k].empty() && r.gaUnitPeriods[k].empty() && r.gaOddDays[k].empty();
        };
        while (rows > 0 && empty(rows)) --rows;
        for (int k = 1; k <= rows; ++k)
            c.schedule.push_back(CaseStream{r.gaPymtAmt[k], r.gaNumPymts[k], r.gaUnitPeriods[k], r.gaOddDays[k], {}, {}});
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

void CaseFileActions::saveCaseAs() {
    const Snapshot snapshot = currentCase();
    if (!snapshot.caseFile) {
        window_.user().show(snapshot.refusal, kStyleExclamation);
        return;
    }
    const QString name = window_.outputChooser().saveFileName(&window_, QStringLiteral("Save Case As"), startFolder(),
                                                               QString::fromLatin1(kCaseFileFilter));
    if (name.isEmpty()) return;
    if (saveTo(name)) window_.user().show("Case has been saved in " + name.toStdString() + ".", kStyleInformation);
}

bool CaseFileActions::saveTo(const QString& path) {
    const Snapshot snapshot = currentCase();
    if (!snapshot.caseFile) return false;
    const std::string json = tallex::casefile::CaseToJson(*snapshot.caseFile);
    if (const auto failure = WriteFileAtomically(QFile::encodeName(path).toStdString(), json)) {
        window_.user().show("Unable to save case file.  Error # " + std::to_string(failure->number) + " - " +
                                failure->description,
                            kStyleCritical);
        return false;
    }
    file_ = path;
    savedJson_ = json;
    return true;
}

bool CaseFileActions::offerToSaveChanges() {
    if (file_.isEmpty()) return true;
    const Snapshot snapshot = currentCase();
    if (!snapshot.caseFile || tallex::casefile::CaseToJson(*snapshot.caseFile) == savedJson_) return true;
    const std::string question = "The case has changed since it was saved in " + file_.toStdString() + "." + kCrLf +
                                 kCrLf + "Save the changes?";
    if (window_.user().show(question, kStyleYesNoQuestion) != kAnswerYesButton) return true;
    return saveTo(file_);
}

void CaseFileActions::forgetCase() {
    file_.clear();
    savedJson_.clear();
}

void CaseFileActions::openCase() {
    const QString name = window_.outputChooser().openFileName(&window_, QStringLiteral("Open Case"), startFolder(),
                                                               QString::fromLatin1(kCaseFileFilter));
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
    if (const auto error = tallex::casefile::ParseCase(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), c)) {
        user.show("The case file " + path.toStdString() + " cannot be read: " + error->key + ": " + error->message,
                  kStyleExclamation);
        return false;
    }
    // The loan shown now goes, as with New Loan; the user may keep it instead.
    window_.NewLoan();
    if (!window_.session().gbBasicInfoFresh) return false;
    enterCase(c);
    file_ = path;
    const Snapshot snapshot = currentCase();
    savedJson_ = snapshot.caseFile ? tallex::casefile::CaseToJson(*snapshot.caseFile) : std::string();
    return true;
}

void CaseFileActions::enterCase(const CaseFile& c) {
    if (!enterBasicInformation(c)) return;
    if (c.kind == "construction") {
        // A construction phase disclosed separately stops on its interest page, before the results.
        if (!enterConstruction(c) || c.construction->disclosure == "separately") return;
    } else if (!enterLoanTerms(c)) {
        return;
    }
    enterSchedule(c);
}

bool CaseFileActions::enterConstruction(const CaseFile& c) {
    if (!c.construction) return false;
    if (auto* terms = qobject_cast<frmConstLoan*>(window_.currentPage())) terms->enterCase(c);
    if (auto* phase = qobject_cast<frmConstPhase*>(window_.currentPage())) phase->enterCase(c);
    auto* interest = qobject_cast<frmConstInterest*>(window_.currentPage());
    if (!interest) return false;
    interest->enterCase(c);
    return window_.currentPage() == window_.loadedPage(c.construction->disclosure == "separately"
                                                           ? PageId::ConstructionInterest
                                                           : PageId::Schedule);
}

bool CaseFileActions::enterBasicInformation(const CaseFile& c) {
    Page* page = window_.currentPage();
    const bool construction = c.kind == "construction";
    Choose(page, construction ? "optType_1" : "optType_0", true);
    TypeAndLeave(page, "txtUserName", c.preparer);
    if (!c.date.empty()) TypeAndLeave(page, "txtAcctDate", c.date);
    TypeAndLeave(page, "txtAccountNbr", c.account);
    TypeAndLeave(page, "txtBorrower", c.borrower);
    TypeAndLeave(page, "txtLender", c.lender);
    if (!c.creditor.empty()) TypeAndLeave(page, "txtCreditor", c.creditor);
    Press(page, "CmdContinue");
    return window_.currentPage() == window_.loadedPage(construction ? PageId::ConstructionTerms : PageId::LoanTerms);
}

bool CaseFileActions::enterLoanTerms(const CaseFile& c) {
    Page* page = window_.currentPage();
    const bool single = c.loanType == "single";
    Choose(page, single ? "optLoanType_1" : "optLoanType_0", true);
    const int frequency = tallex::casefile::FrequencyIndex(c);
    Choose(page, QStringLiteral("optPymtFreq_%1").arg(frequency).toLatin1().constData(), true);
    TypeAndLeave(page, "txtAmtFinanced", c.amountFinanced);
    TypeAndLeave(page, "txtDiscAPR", c.disclosedApr);
    TypeAndLeave(page, "txtDiscFinChg", c.disclosedFinanceCharge);
    TypeAndLeave(page, "txtUnitPeriod", c.unitPeriod);
    const bool secured = c.securedByRealEstate.value_or(false);
    Choose(page, "chkSecuredByRealEstate", secured);
    if (secured) Choose(page, "chkDatePre_093095", c.loanDateBefore1995);
    Press(page, "CmdContinue");
    return window_.currentPage() == window_.loadedPage(PageId::Schedule);
}

void CaseFileActions::enterSchedule(const CaseFile& c) {
    LoanRecord& r = window_.record();
    UserSeam& user = window_.user();
    const int rows = std::min(static_cast<int>(c.schedule.size()), kMaxStreams);
    bool refused = false;
    for (int k = 1; k <= rows && !refused; ++k) {
        const CaseStream& s = c.schedule[static_cast<std::size_t>(k - 1)];
        ScheduleOddDaysQuietPeriod quiet(window_.clock());
        // A cell is checked as when the user leaves it; a refusal ends the entry with its message.
        const auto cell = [&](int column, const std::string& text) {
            if (refused || text.empty()) return;
            const ScheduleCellResult result = ScheduleCellCheck(r, user, quiet, k, column, text);
            if (result.cancel) {
                refused = true;
                return;
            }
            ScheduleCellStore(r, std::to_string(k), column, result.cellValue);
        };
        cell(1, s.amount);
        cell(2, s.payments);
        if (s.hasDates() && !refused) {
            // The payment date calculator, with the two dates of the stream.
            r.giGridRow = static_cast<std::int16_t>(k);
            PaymentDateCalendar calendar(r, window_.clock());
            calendar.activate();
            calendar.leaveField(PaymentDateCalendar::Field::kLoanDate, s.loanDate, user);
            calendar.leaveField(PaymentDateCalendar::Field::kEndDate, s.firstPaymentDate, user);
            if (calendar.ok(user).close) TakeCalendarResult(r, k, 3);
            else refused = true;
        } else if (k == 1 && c.construction && !c.construction->amortizationDate.empty() && s.unitPeriods.empty() &&
                   s.oddDays.empty() && !refused) {
            // The construction date calculator: half the construction term and the permanent phase.
            r.giGridRow = static_cast<std::int16_t>(k);
            ConstructionDateCalendar calendar(r, window_.clock());
            calendar.activate();
            calendar.leaveField(ConstructionDateCalendar::Field::kLoanDate, c.construction->loanDate, user);
            calendar.leaveField(ConstructionDateCalendar::Field::kConstrEndDate, c.construction->constructionEndDate, user);
            calendar.leaveField(ConstructionDateCalendar::Field::kAmortPymtDate, c.construction->amortizationDate, user);
            if (calendar.ok(user).close) TakeCalendarResult(r, k, 3);
            else refused = true;
        } else {
            cell(3, s.unitPeriods);
            cell(4, s.oddDays);
        }
    }
    r.gbScheduleChanged = true;
    // The page shows the streams entered, as it does when the user comes back to it.
    window_.SwitchForm(PageId::Schedule);
}
