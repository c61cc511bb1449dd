// The shell: the error screen (its printout, Support and the About box, and the way back to a
// clean loan or out), and the case file when the disk fails (the earlier file stays whole, with nothing half-written
// beside it) or a case file is damaged or wrongly typed (refused, and nothing is discarded). (The report on a full
// disk, and how a damaged APR.INI or case file reads, are the command line's and the core's.)

#include "../cli/file_faults_disk.h"

#include "TypedLoan.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmError.h"
#include "shell/CaseFileActions.h"
#include "shell/SingleInstance.h"

#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>

#include <stdexcept>

class ShellTest : public QObject {
    Q_OBJECT
private slots:
    void error_in_a_page_handler_ends_on_the_error_screen_data();
    void error_in_a_page_handler_ends_on_the_error_screen();
    void case_file_damaged_or_on_a_full_disk();
    void second_copy_asks_and_hands_its_case_to_the_first();
};

namespace {

QString Text(const QDialog& dialog, const char* name) { return dialog.findChild<QLabel*>(name)->text(); }

void Click(QDialog& dialog, const char* name) {
    QTest::mouseClick(dialog.findChild<QPushButton*>(QString::fromLatin1(name)), Qt::LeftButton);
}

}  // namespace

// The core's run-time error, and any other exception (here thrown from inside the listing the
// Debug button opens, as error 51), end on the error screen, with the loan already gone. Its
// Print without a printer says so and stays; Support opens the About box, whose system
// information is unavailable with no tool on the path; New Loan leads to an empty basic
// information page that remembers the preparer; Exit ends the program.
void ShellTest::error_in_a_page_handler_ends_on_the_error_screen_data() {
    QTest::addColumn<bool>("runTimeError");
    QTest::addColumn<QString>("leave");
    QTest::addColumn<QStringList>("error");
    const QStringList overflow{"6", "Overflow", "Payment Stream"};
    QTest::newRow("run-time error, New Loan") << true << "cmdNewLoan" << overflow;
    QTest::newRow("any exception, New Loan")
        << false << "cmdNewLoan" << QStringList{"51", "Internal error", "Disclosure Information"};
    QTest::newRow("run-time error, Support and Exit") << true << "cmdExit" << overflow;
}

void ShellTest::error_in_a_page_handler_ends_on_the_error_screen() {
    QFETCH(bool, runTimeError);
    QFETCH(QString, leave);
    QFETCH(QStringList, error);
    const bool exits = leave == QStringLiteral("cmdExit");
    QTemporaryDir folder;
    GuiHarness h;
    TypedLoan loan = ThirtySixPaymentsOf330(QStringLiteral("10"), QStringLiteral("1880"));
    loan.preparer = QStringLiteral("SHOW CALC");
    QStringList seen, printed;
    bool loanGone = false;
    h.dialogs().onNext(QStringLiteral("frmError"), [&](QDialog& screen) {
        seen = {Text(screen, "lblErrNum"), Text(screen, "lblErrMsg"), Text(screen, "lblFormCaption")};
        loanGone = h.record().gbErrorShown && !h.window().isLoaded(PageId::Schedule);
        Click(screen, "cmdPrint");  // no printer
        QVERIFY(screen.isVisible());
        h.outputs().setDefaultPrinterPdf(folder.filePath(QStringLiteral("error.pdf")));
        Click(screen, "cmdPrint");
        printed = static_cast<frmError&>(screen).printedLines();
        if (exits) {
            const QByteArray path = qgetenv("PATH");
            qputenv("PATH", QFile::encodeName(folder.path()));
            h.dialogs().onNext(QStringLiteral("frmAbout"), [](QDialog& about) { Click(about, "cmdSysInfo"); });
            Click(screen, "cmdSupport");
            qputenv("PATH", path);
        }
        Click(screen, leave.toLatin1().constData());
    });
    // 9999 % a year is 8.3325 a month: 9.3325 to the power 9999 is beyond a double, run-time
    // error 6 in the present value, raised inside the schedule page's Continue.
    if (runTimeError) {
        loan.amountFinanced = QStringLiteral("1000");
        loan.disclosedApr = QStringLiteral("9999");
        loan.schedule = QStringList{"100", "12", "9999"};
        QVERIFY(!TypeLoan(h, loan));
    } else {
        QVERIFY2(TypeLoan(h, loan), PromptsText(h.prompts()));
        h.dialogs().onNext(QStringLiteral("frmDebug1"), [](QDialog&) { throw std::logic_error("injected"); });
        QVERIFY(h.click("cmdDebug"));
    }
    QCOMPARE(seen, error);
    QVERIFY(loanGone);
    QCOMPARE(h.prompts().size(), exits ? 2 : 1);
    QVERIFY(h.prompts()[0].endsWith(QStringLiteral("No printer is installed.")));
    if (exits) QCOMPARE(h.prompts()[1], QString::fromLatin1(kSystemInfoUnavailable));
    QVERIFY(printed.contains(QStringLiteral("   Active Form:            ") + error[2]));
    QCOMPARE(h.window().isVisible(), !exits);
    if (exits) return;
    QCOMPARE(h.pageName(), QStringLiteral("frmBasicInfo"));
    for (PageId page : {PageId::LoanTerms, PageId::Schedule, PageId::Results}) QVERIFY(!h.window().isLoaded(page));
    QCOMPARE(h.record().gdAmount, 0.0);
    QVERIFY(!h.record().gbErrorShown);  // cleared again by the basic information page
    QCOMPARE(h.text("txtBorrower"), QString());
    QCOMPARE(h.text("txtUserName"), QStringLiteral("SHOW CALC"));
}

// A damaged case file is refused with a message, and nothing is discarded; a case saved onto a
// full disk (or into a read-only folder) leaves the earlier file whole, with nothing
// half-written beside it, and says so with the run-time's message.
void ShellTest::case_file_damaged_or_on_a_full_disk() {
    QTemporaryDir folder;
    const QString damaged = folder.filePath(QStringLiteral("damaged.json"));
    GuiHarness h;
    h.type("txtBorrower", QStringLiteral("Kept Borrower"));
    QVERIFY(WriteAll(damaged, R"({"kind": "regular", "schedule": 5})"));
    h.outputs().queueFileName(damaged);
    h.trigger("mnuOpenCase");
    QCOMPARE(h.prompts().size(), 1);
    QVERIFY2(h.prompts()[0].startsWith("The case file " + damaged + " cannot be read: "), qPrintable(h.prompts()[0]));
    QCOMPARE(h.text("txtBorrower"), QStringLiteral("Kept Borrower"));
    QVERIFY(h.window().caseFiles().fileName().isEmpty());

    tallex::faults::SmallDisk disk;
    if (!disk.canFail()) QSKIP("neither a mount nor a read-only folder stops a write here");
    const QString path = QString::fromStdString(disk.path("review.json"));
    QVERIFY(TypeLoan(h, ThirtySixPaymentsOf330(QStringLiteral("10"), QStringLiteral("1880"))));
    h.outputs().queueFileName(path);
    h.trigger("mnuSaveCaseAs");
    const QByteArray earlier = ReadAll(path);
    QVERIFY(earlier.contains("\"amount_financed\": \"10000\""));
    disk.fill();
    h.forgetPrompts();
    h.outputs().queueFileName(path);
    h.trigger("mnuSaveCaseAs");
    QCOMPARE(h.prompts(), QStringList{QStringLiteral("Unable to save case file.  Error # %1 - %2")
                                          .arg(disk.expectedErrorNumber())
                                          .arg(QString::fromStdString(disk.expectedErrorDescription()))});
    QCOMPARE(ReadAll(path), earlier);
    QCOMPARE(disk.files(), std::vector<std::string>{"review.json"});
}

// A second copy asks the start-up question (style 20); No raises the first copy and hands it the
// case file named, as an absolute path; Yes starts the second copy after all.
void ShellTest::second_copy_asks_and_hands_its_case_to_the_first() {
    const QString key = QStringLiteral("tallex-test-") + QUuid::createUuid().toString(QUuid::Id128);
    SingleInstance first(key);
    QVERIFY(first.tryBecomePrimary());
    QSignalSpy raised(&first, &SingleInstance::raiseRequested);
    QSignalSpy opened(&first, &SingleInstance::openRequested);
    tallex::ScriptedUser user;
    user.queue(tallex::kAnswerNoButton);
    SingleInstance second(key);
    QVERIFY(!ContinueAfterInstanceCheck(second, user, QStringLiteral("review.tallex")));
    QCOMPARE(user.prompts().size(), std::size_t(1));
    QCOMPARE(user.prompts()[0].style, 20);
    QVERIFY(raised.wait(3000) || raised.size() == 1);
    QTRY_COMPARE(opened.size(), 1);
    QCOMPARE(opened[0][0].toString(), QDir::current().absoluteFilePath(QStringLiteral("review.tallex")));
    user.queue(tallex::kAnswerYesButton);
    SingleInstance third(key);
    QVERIFY(ContinueAfterInstanceCheck(third, user));
}

QTEST_MAIN(ShellTest)
#include "shell_test.moc"
