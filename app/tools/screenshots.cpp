// Takes a picture of every page and dialog of the program, offscreen, into the folder given:
// frmSplash.png, frmBasicInfo.png, frmAPR1.png, frmPymt.png, frmCalendar.png, and the construction
// chain: frmConstLoan.png, frmConstPhase.png, frmConstInterest.png, frmRecDiscl.png, frmRecCalendar.png;
// the results: FrmDisclosure.png, frmDebug1.png, frmReimbursement.png; the shell's dialogs:
// frmAbout.png, frmError.png, HelpWindow.png; and two of the desktop's conditions: the schedule
// in a window of 1200 x 900 (frmPymt-1200x900.png) and the results on a dark palette
// (FrmDisclosure-dark.png).

#include "ScriptedDialogs.h"
#include "dialogs/HelpWindow.h"
#include "dialogs/frmCalendar.h"
#include "dialogs/frmError.h"
#include "dialogs/frmRecCalendar.h"
#include "pages/Page.h"
#include "pages/frmPymt.h"
#include "shell/MainWindow.h"
#include "shell/SettingsStore.h"
#include "widgets/ScheduleGrid.h"

#include "ui/ScriptedUser.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
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
    ok &= ConstructionPages(window, user, folder);
    // Messages met on the way, so that a picture that shows the wrong page can be explained.
    for (const tallex::Prompt& prompt : user.prompts()) std::fprintf(stderr, "message: %s\n", prompt.text.c_str());
    return ok ? 0 : 1;
}
