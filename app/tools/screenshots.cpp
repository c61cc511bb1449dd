// Takes a picture of every page and dialog of the program, offscreen, into the folder given:
// frmSplash.png, frmBasicInfo.png, frmAPR1.png, frmPymt.png, frmCalendar.png, and the construction
// chain: frmConstLoan.png, frmConstPhase.png, frmConstInterest.png, frmRecDiscl.png, frmRecCalendar.png;
// the results: FrmDisclosure.png, frmDebug1.png, frmReimbursement.png, the timeline of a loan with an
// advance (FrmDisclosure-timeline.png) and the tolerance scales of an accurate one
// (FrmDisclosure-accurate.png); the shell's dialogs: frmAbout.png, frmError.png, HelpWindow.png;
// the loan-tape review, filtered to its violations: frmTapeReview.png; and two of the desktop's conditions: the
// schedule in a window of 1200 x 900 (frmPymt-1200x900.png) and the results on a dark palette (FrmDisclosure-dark.png).

#include "ScriptedDialogs.h"
#include "dialogs/HelpWindow.h"
#include "dialogs/frmCalendar.h"
#include "dialogs/frmError.h"
#include "dialogs/frmRecCalendar.h"
#include "pages/Page.h"
#include "pages/frmPymt.h"
#include "review/TapeReviewWindow.h"
#include "shell/MainWindow.h"
#include "shell/SettingsStore.h"
#include "widgets/ScheduleGrid.h"

#include "ui/ScriptedUser.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdio>

namespace {

bool Save(QWidget& widget, const QDir& folder, const QString& name) {
    QApplication::processEvents();
    const QString path = folder.filePath(name + QStringLiteral(".png"));
    if (!widget.grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

// A dark desktop theme: light text on dark grey.
QPalette DarkPalette() {
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(45, 45, 48));
    dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
    dark.setColor(QPalette::Base, QColor(30, 30, 32));
    dark.setColor(QPalette::AlternateBase, QColor(50, 50, 54));
    dark.setColor(QPalette::Text, QColor(230, 230, 230));
    dark.setColor(QPalette::Button, QColor(60, 60, 64));
    dark.setColor(QPalette::ButtonText, QColor(230, 230, 230));
    dark.setColor(QPalette::Highlight, QColor(61, 174, 233));
    dark.setColor(QPalette::HighlightedText, QColor(20, 20, 20));
    return dark;
}

// Controls are looked up on the page shown: several pages have a Continue button.
void Type(MainWindow& window, const char* name, const QString& text) {
    auto* box = window.currentPage()->findChild<QLineEdit*>(QString::fromLatin1(name));
    if (!box) return;
    box->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    box->selectAll();
    QTest::keyClicks(box, text);
}

void Click(MainWindow& window, const char* name) {
    if (auto* button = window.currentPage()->findChild<QPushButton*>(QString::fromLatin1(name))) button->click();
    QApplication::processEvents();
}

// The construction chain of a construction-only loan on the entire commitment, with its
// results; the construction interest page of the same loan with permanent financing; the
// construction date calculator.
bool ConstructionPages(MainWindow& window, tallex::ScriptedUser& user, const QDir& folder) {
    // The window is active again after the calendar, so that leaving a box formats it.
    window.activateWindow();
    (void)QTest::qWaitForWindowActive(&window);
    user.queue(tallex::kAnswerNoButton);  // the entries are discarded, not saved
    window.NewLoan();
    if (auto* option = window.currentPage()->findChild<QRadioButton*>(QStringLiteral("optType_1"))) option->click();
    Click(window, "CmdContinue");
    Type(window, "txtLoanAmt", QStringLiteral("100000"));
    Type(window, "txtSimpleInt", QStringLiteral("10"));
    Type(window, "txtPrepdFinChg", QStringLiteral("1000"));
    Type(window, "txtSubFinChg", QStringLiteral("500"));
    if (auto* option = window.currentPage()->findChild<QRadioButton*>(QStringLiteral("optInterestType_1")))
        option->click();
    Type(window, "txtLoanAmt", QStringLiteral("100000"));
    bool ok = Save(window, folder, QStringLiteral("frmConstLoan"));
    Click(window, "cmdContinue");
    Type(window, "txtTimePeriod", QStringLiteral("18"));
    ok &= Save(window, folder, QStringLiteral("frmConstPhase"));
    Click(window, "cmdContinue");
    Type(window, "txtAmtInt", QStringLiteral("4500"));
    Type(window, "txtDiscAPR", QStringLiteral("7.5"));
    Type(window, "txtFinChg", QStringLiteral("6000"));
    Click(window, "cmdContinue");
    ok &= Save(window, folder, QStringLiteral("frmRecDiscl"));

    // Back to the terms: with permanent financing the interest page asks for the permanent phase.
    Click(window, "cmdBack");
    Click(window, "cmdBack");
    Click(window, "cmdBack");
    if (auto* option = window.currentPage()->findChild<QRadioButton*>(QStringLiteral("optDiscType_1"))) option->click();
    Click(window, "cmdContinue");
    Click(window, "cmdContinue");
    if (auto* option = window.currentPage()->findChild<QRadioButton*>(QStringLiteral("optLoanType_1"))) option->click();
    Type(window, "txtUnitPeriod", QStringLiteral("12"));
    ok &= Save(window, folder, QStringLiteral("frmConstInterest"));

    tallex::LoanRecord& record = window.record();
    record.gsLoanDate = "01-15-2026";
    record.gsEndDate = "08-03-2026";
    frmRecCalendar calendar(record, window.clock(), user, &window);
    calendar.show();
    QApplication::processEvents();
    if (auto* amortization = calendar.findChild<QLineEdit*>(QStringLiteral("mskAmortPymtDate"))) {
        amortization->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(amortization, QStringLiteral("09032026"));
        if (auto* ok = calendar.findChild<QPushButton*>(QStringLiteral("cmdFedCalOK")))
            ok->setFocus(Qt::TabFocusReason);
    }
    ok &= Save(calendar, folder, QStringLiteral("frmRecCalendar"));
    calendar.hide();
    return ok;
}

// Types a loan from the basic information page to its results: the loan terms, then the schedule
// cell by cell.
void TypeLoanToResults(MainWindow& window, tallex::ScriptedUser& user, const QString& account, const QStringList& terms,
                       const QStringList& cells) {
    window.activateWindow();
    (void)QTest::qWaitForWindowActive(&window);
    user.queue(tallex::kAnswerNoButton);  // the entries are discarded, not saved
    window.NewLoan();
    Type(window, "txtUserName", QStringLiteral("Pat Examiner"));
    Type(window, "txtAccountNbr", account);
    Type(window, "txtBorrower", QStringLiteral("Lee Borrower"));
    Click(window, "CmdContinue");
    Type(window, "txtAmtFinanced", terms[0]);
    Type(window, "txtDiscAPR", terms[1]);
    Type(window, "txtDiscFinChg", terms[2]);
    Type(window, "txtAmtFinanced", terms[0]);
    Click(window, "CmdContinue");
    if (auto* schedule = qobject_cast<frmPymt*>(window.loadedPage(PageId::Schedule))) {
        auto* grid = schedule->grid();
        for (int i = 0; i < cells.size(); ++i) {
            if (auto* editor = grid->editorWidget()) QTest::keyClicks(editor, cells[i]);
            // A Tab past the last cell would open an empty stream.
            if (i + 1 < cells.size()) grid->moveByKey(ScheduleGrid::Move::Tab);
        }
    }
    Click(window, "cmdContinue");
}

bool ShowPicture(MainWindow& window, const QDir& folder, int tab, const QString& name) {
    auto* pictures = window.currentPage()->findChild<QTabWidget*>(QStringLiteral("tabPictures"));
    if (!pictures) {
        std::fprintf(stderr, "no pictures on %s\n", qPrintable(window.currentPage()->objectName()));
        return false;
    }
    pictures->setCurrentIndex(tab);
    const bool ok = Save(window, folder, name);
    pictures->setCurrentIndex(0);
    return ok;
}

// The results pictures: the timeline of a three-stream loan with an advance and odd days, and
// the tolerance scales and positive verdict of a loan disclosed accurately.
bool PicturePages(MainWindow& window, tallex::ScriptedUser& user, const QDir& folder) {
    TypeLoanToResults(window, user, QStringLiteral("100-2002"),
                      {QStringLiteral("5000"), QStringLiteral("12.29"), QStringLiteral("1205")},
                      {QStringLiteral("-1000"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("12"),
                       QStringLiteral("200"), QStringLiteral("35"), QStringLiteral("1"), QStringLiteral("12"),
                       QStringLiteral("205"), QStringLiteral("1"), QStringLiteral("36"), QStringLiteral("12")});
    bool ok = ShowPicture(window, folder, 1, QStringLiteral("FrmDisclosure-timeline"));
    TypeLoanToResults(window, user, QStringLiteral("4417-0093"),
                      {QStringLiteral("10000"), QStringLiteral("11.55"), QStringLiteral("1880")},
                      {QStringLiteral("330"), QStringLiteral("36"), QStringLiteral("1"), QStringLiteral("0")});
    ok &= ShowPicture(window, folder, 2, QStringLiteral("FrmDisclosure-accurate"));
    return ok;
}

// A loan whose APR and finance charge are both understated beyond tolerance, through its
// results (with the calculation listing) to reimbursement with its lump sums; then the About
// box, the help window and the error screen.
bool ResultsPages(MainWindow& window, tallex::ScriptedUser& user, ScriptedModalRunner& dialogs, const QDir& folder) {
    window.activateWindow();
    (void)QTest::qWaitForWindowActive(&window);
    user.queue(tallex::kAnswerNoButton);  // the entries are discarded, not saved
    window.NewLoan();
    Type(window, "txtUserName", QStringLiteral("SHOW CALC"));
    Type(window, "txtAccountNbr", QStringLiteral("200-3002"));
    Type(window, "txtBorrower", QStringLiteral("Carl Charge"));
    Click(window, "CmdContinue");
    Type(window, "txtAmtFinanced", QStringLiteral("10000"));
    Type(window, "txtDiscAPR", QStringLiteral("10"));
    Type(window, "txtDiscFinChg", QStringLiteral("1500"));
    Type(window, "txtAmtFinanced", QStringLiteral("10000"));
    Click(window, "CmdContinue");
    if (auto* schedule = qobject_cast<frmPymt*>(window.loadedPage(PageId::Schedule))) {
        auto* grid = schedule->grid();
        for (const char* text : {"330", "36"}) {
            if (auto* editor = grid->editorWidget()) QTest::keyClicks(editor, QString::fromLatin1(text));
            grid->moveByKey(ScheduleGrid::Move::Tab);
        }
    }
    Click(window, "cmdContinue");
    bool ok = Save(window, folder, QStringLiteral("FrmDisclosure"));
    // The same page on a dark desktop theme.
    const QPalette light = QApplication::palette();
    QApplication::setPalette(DarkPalette());
    ok &= Save(window, folder, QStringLiteral("FrmDisclosure-dark"));
    QApplication::setPalette(light);
    dialogs.onNext(QStringLiteral("frmDebug1"),
                   [&](QDialog& listing) { ok &= Save(listing, folder, QStringLiteral("frmDebug1")); });
    Click(window, "cmdDebug");
    Click(window, "cmdContinue");
    Type(window, "txtPriorPymts", QStringLiteral("12"));
    Click(window, "cmdShowAdjustment");
    ok &= Save(window, folder, QStringLiteral("frmReimbursement"));

    dialogs.onNext(QStringLiteral("frmAbout"),
                   [&](QDialog& about) { ok &= Save(about, folder, QStringLiteral("frmAbout")); });
    window.ShowAbout();
    window.ShowHelp();
    if (HelpWindow* help = window.helpWindow()) {
        ok &= Save(*help, folder, QStringLiteral("HelpWindow"));
        help->hide();
    }
    frmError error({6, "Overflow", QStringLiteral("Payment Stream"), QDateTime::currentDateTime(),
                    QFileInfo(window.settings().path()).absolutePath()},
                   window.outputChooser(), user, {}, &window);
    error.show();
    ok &= Save(error, folder, QStringLiteral("frmError"));
    error.hide();
    return ok;
}

// A small portfolio: six loans of different frequencies, each disclosed as it should be, with its
// APR and finance charge understated, with its APR overstated and with its finance charge
// overstated; one row the tape's reader refuses. The review filtered to the violations.
bool TapeReview(MainWindow& window, const QDir& folder) {
    QTemporaryDir temp;
    const QString path = temp.filePath(QStringLiteral("portfolio-2026-q1.csv"));
    QFile tape(path);
    if (!tape.open(QIODevice::WriteOnly)) return false;
    tape.write(
        "account,borrower,amount_financed,disclosed_apr,disclosed_finance_charge,loan_type,frequency,unit_period,"
        "schedule.1.amount,schedule.1.payments,answers.apr_understatement_caused_by_fc,"
        "answers.apr_overstatement_caused_by_fc\n");
    struct Loan {
        const char *borrower, *amount, *apr, *financeCharge, *frequency, *unit, *payment, *payments;
    };
    const Loan loans[] = {
        {"Lee Borrower", "1000.00", "12.00", "66.20", "monthly", "", "88.85", "12"},
        {"Quarterly Farms LLC", "4000.00", "10.00", "462.96", "multiples_of_month", "3", "557.87", "8"},
        {"Mary Semi", "2000.00", "9.01", "95.20", "semi_monthly", "", "87.30", "24"},
        {"Biweekly Payroll Co.", "1500.00", "11.01", "87.04", "actual_days", "14", "61.04", "26"},
        {"Ada Builder", "5000.00", "9.50", "1301.12", "monthly", "", "104.98", "60"},
        {"Carl Charge", "10000.00", "10.00", "1880.00", "monthly", "", "330.00", "36"},
    };
    int account = 4100;
    for (int variant = 0; variant < 4; ++variant)
        for (const Loan& loan : loans) {
            QString apr = QString::fromLatin1(loan.apr), charge = QString::fromLatin1(loan.financeCharge);
            if (variant == 1) {
                apr = QString::number(apr.toDouble() - 0.75, 'f', 2);
                charge = QString::number(charge.toDouble() - 25, 'f', 2);
            } else if (variant == 2) {
                apr = QString::number(apr.toDouble() + 0.5, 'f', 2);
            } else if (variant == 3) {
                charge = QString::number(charge.toDouble() + 40, 'f', 2);
            }
            tape.write(QStringLiteral("300-%1,%2,%3,%4,%5,installment,%6,%7,%8,%9,false,false\n")
                           .arg(++account)
                           .arg(QString::fromLatin1(loan.borrower), QString::fromLatin1(loan.amount), apr, charge,
                                QString::fromLatin1(loan.frequency), QString::fromLatin1(loan.unit),
                                QString::fromLatin1(loan.payment), QString::fromLatin1(loan.payments))
                           .toUtf8());
        }
    tape.write("300-4199,Wendy Weekly,1000.00,12.00,30.00,installment,weekly,,20.00,52,false,false\n");
    tape.close();

    auto* review = new TapeReviewWindow(window);
    review->show();
    review->review(path);
    QElapsedTimer waited;
    waited.start();
    while (review->busy() && waited.elapsed() < 30000) QTest::qWait(20);
    if (auto* show = review->findChild<QComboBox*>(QStringLiteral("cboShow"))) show->setCurrentIndex(1);
    review->table().selectRow(1);
    const bool ok = Save(*review, folder, QStringLiteral("frmTapeReview"));
    review->hide();
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    QElapsedTimer sinceStart;
    sinceStart.start();
    QApplication application(argc, argv);
    const QDir folder(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots"));
    QTemporaryDir settings;
    tallex::ScriptedUser user;
    MainWindow window(user,
                      SettingsStore(settings.filePath(QStringLiteral("APR.INI")), SettingsStore::Location::Explicit));
    // The dialogs are pictured, not waited on.
    ScriptedModalRunner dialogs;
    window.setModalRunner(dialogs);
    window.start();
    bool ok = Save(window, folder, QStringLiteral("frmSplash"));
    // How long the program takes to its first page, drawn (the start-up budget is 500 ms).
    std::printf("first page drawn %lld ms after start\n", static_cast<long long>(sinceStart.elapsed()));

    Click(window, "cmdOK");
    Type(window, "txtUserName", QStringLiteral("Pat Examiner"));
    Type(window, "txtAccountNbr", QStringLiteral("4417-0093"));
    Type(window, "txtBorrower", QStringLiteral("Lee Borrower"));
    Type(window, "txtLender", QStringLiteral("First Community Bank"));
    Type(window, "txtCreditor", QStringLiteral(""));
    ok &= Save(window, folder, QStringLiteral("frmBasicInfo"));

    Click(window, "CmdContinue");
    Type(window, "txtAmtFinanced", QStringLiteral("5000"));
    Type(window, "txtDiscAPR", QStringLiteral("9.5"));
    Type(window, "txtDiscFinChg", QStringLiteral("1301.12"));
    Type(window, "txtAmtFinanced", QStringLiteral("5000"));
    ok &= Save(window, folder, QStringLiteral("frmAPR1"));

    Click(window, "CmdContinue");
    auto* schedule = qobject_cast<frmPymt*>(window.loadedPage(PageId::Schedule));
    if (schedule) {
        auto* grid = schedule->grid();
        // Sixty monthly payments and a final balloon, as typed cell by cell ("" leaves a default).
        const char* typed[] = {"104.98", "60", "", "", "500", "1"};
        for (const char* text : typed) {
            if (auto* editor = grid->editorWidget(); editor && *text)
                QTest::keyClicks(editor, QString::fromLatin1(text));
            grid->moveByKey(ScheduleGrid::Move::Tab);
        }
    }
    ok &= Save(window, folder, QStringLiteral("frmPymt"));
    // A larger window gives the grid the room.
    const QSize normal = window.size();
    window.resize(1200, 900);
    ok &= Save(window, folder, QStringLiteral("frmPymt-1200x900"));
    window.resize(normal);

    tallex::LoanRecord& record = window.record();
    record.gsLoanDate = "01-15-2026";
    frmCalendar calendar(record, window.clock(), user, &window);
    calendar.show();
    QApplication::processEvents();
    if (auto* end = calendar.findChild<QLineEdit*>(QStringLiteral("mskEndDate"))) {
        end->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(end, QStringLiteral("02152026"));
        if (auto* cancel = calendar.findChild<QPushButton*>(QStringLiteral("cmdFedCalOK")))
            cancel->setFocus(Qt::TabFocusReason);
    }
    ok &= Save(calendar, folder, QStringLiteral("frmCalendar"));
    calendar.hide();
    ok &= ResultsPages(window, user, dialogs, folder);
    ok &= PicturePages(window, user, folder);
    ok &= ConstructionPages(window, user, folder);
    ok &= TapeReview(window, folder);
    // Messages met on the way, so that a picture that shows the wrong page can be explained.
    for (const tallex::Prompt& prompt : user.prompts()) std::fprintf(stderr, "message: %s\n", prompt.text.c_str());
    return ok ? 0 : 1;
}
