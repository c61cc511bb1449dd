// The shell's dialogs: the error screen (and the way back to a clean loan), the About box's
// system information tool, the help pages and the calculation listing.

#include "GuiHarness.h"
#include "TypedLoan.h"
#include "dialogs/HelpWindow.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmError.h"

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

#include <stdexcept>

class ShellDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void run_time_error_in_a_page_handler_ends_on_the_error_screen();
    void any_exception_in_a_page_handler_ends_on_the_error_screen();
    void error_screen_exit_support_and_print();
    void system_info_without_and_with_a_tool_on_the_path();
    void help_opens_at_the_contents_and_every_page_exists();
    void calculation_listing_for_show_calc_only();
};

namespace {

QString Text(const QDialog& dialog, const char* name) {
    const auto* label = dialog.findChild<QLabel*>(QString::fromLatin1(name));
    return label ? label->text() : QStringLiteral("<missing %1>").arg(QString::fromLatin1(name));
}

void Click(QDialog& dialog, const char* name) {
    if (auto* button = dialog.findChild<QPushButton*>(QString::fromLatin1(name)))
        QTest::mouseClick(button, Qt::LeftButton);
}

// 9999 % a year is 8.3325 a month: 9.3325 to the power 9999 is beyond a double, run-time error
// 6 in the present value, raised inside the schedule page's Continue.
void TypeOverflowingLoan(GuiHarness& h) {
    h.type("txtUserName", QStringLiteral("Pat Examiner"));
    h.type("txtBorrower", QStringLiteral("Lee Borrower"));
    h.type("txtAccountNbr", QStringLiteral("4417-0093"));
    QVERIFY(h.click("CmdContinue"));
    h.type("txtAmtFinanced", QStringLiteral("1000"));
    h.type("txtDiscAPR", QStringLiteral("9999"));
    QVERIFY(h.click("CmdContinue"));
    h.typeCell(QStringLiteral("100"));
    h.tab();
    h.typeCell(QStringLiteral("12"));
    h.tab();
    h.typeCell(QStringLiteral("9999"));
}

void ExpectFreshBasicInformation(GuiHarness& h) {
    QCOMPARE(h.pageName(), QStringLiteral("frmBasicInfo"));
    for (PageId page : {PageId::LoanTerms, PageId::Schedule, PageId::Results, PageId::Reimbursement})
        QVERIFY(!h.window().isLoaded(page));
    QCOMPARE(h.record().gdAmount, 0.0);
    QCOMPARE(h.record().giPymtRows, std::int16_t(0));
    QVERIFY(!h.record().gbErrorShown);  // cleared again by the basic information page
    QVERIFY(h.window().session().gbBasicInfoFresh);
    QVERIFY(!h.control<QPushButton>("cmdNewAPR")->isEnabled());
    QCOMPARE(h.control<QLineEdit>("txtBorrower")->text(), QString());
    QCOMPARE(h.control<QLineEdit>("txtAccountNbr")->text(), QString());
    QCOMPARE(h.control<QLineEdit>("txtUserName")->text(), QStringLiteral("Pat Examiner"));  // remembered
}

}  // namespace

void ShellDialogsTest::run_time_error_in_a_page_handler_ends_on_the_error_screen() {
    GuiHarness h;
    TypeOverflowingLoan(h);
    QStringList seen;
    bool errorShownMeanwhile = false;
    h.dialogs().onNext(QStringLiteral("frmError"), [&](QDialog& screen) {
        QCOMPARE(screen.windowTitle(), QStringLiteral("TALLEX Program Error"));
        seen = {Text(screen, "lblErrNum"), Text(screen, "lblErrMsg"), Text(screen, "lblFormCaption"),
                Text(screen, "lblVersion")};
        QCOMPARE(Text(screen, "Label7"),
                 QStringLiteral("A program error has occurred.  Data integity may be compromised."));
        QVERIFY(
            QRegularExpression(QStringLiteral("^\\d{1,2}/\\d{1,2}/\\d{4}$")).match(Text(screen, "lblDate")).hasMatch());
        QVERIFY(QRegularExpression(QStringLiteral("^\\d{1,2}:\\d\\d:\\d\\d [AP]M$"))
                    .match(Text(screen, "lblTime"))
                    .hasMatch());
        // The loan is gone while the screen is up.
        errorShownMeanwhile = h.record().gbErrorShown && !h.window().isLoaded(PageId::Schedule);
        Click(screen, "cmdNewLoan");
    });
    QVERIFY(h.click("cmdContinue"));
    QCOMPARE(h.dialogs().shown(), QStringList{"frmError"});
    QCOMPARE(seen, (QStringList{"6", "Overflow", "Payment Stream", "6.2.0 - April 2007"}));
    QVERIFY(errorShownMeanwhile);
    QCOMPARE(h.window().session().giLastError, 6);
    QVERIFY2(h.prompts().isEmpty(), PromptsText(h.prompts()));
    ExpectFreshBasicInformation(h);
}

// An exception that is not the core's run-time error, thrown while a page's handler runs (here
// from inside the listing the Debug button opens), ends the same way, as error 51.
void ShellDialogsTest::any_exception_in_a_page_handler_ends_on_the_error_screen() {
    GuiHarness h;
    TypedLoan loan = ThirtySixPaymentsOf330(QStringLiteral("10"), QStringLiteral("1880"));
    loan.preparer = QStringLiteral("SHOW CALC");
    QVERIFY2(TypeLoan(h, loan), PromptsText(h.prompts()));
    h.dialogs().onNext(QStringLiteral("frmDebug1"), [](QDialog&) { throw std::logic_error("injected"); });
    QStringList seen;
    h.dialogs().onNext(QStringLiteral("frmError"), [&](QDialog& screen) {
        seen = {Text(screen, "lblErrNum"), Text(screen, "lblErrMsg"), Text(screen, "lblFormCaption")};
        Click(screen, "cmdNewLoan");
    });
    QVERIFY(h.click("cmdDebug"));
    QCOMPARE(h.dialogs().shown(), (QStringList{"frmDebug1", "frmError"}));
    QCOMPARE(seen, (QStringList{"51", "Internal error", "Disclosure Information"}));
    QCOMPARE(h.pageName(), QStringLiteral("frmBasicInfo"));
    QVERIFY(!h.window().isLoaded(PageId::Results));
    QCOMPARE(h.control<QLineEdit>("txtBorrower")->text(), QString());
}

void ShellDialogsTest::error_screen_exit_support_and_print() {
    QTemporaryDir folder;
    const QString pdf = folder.filePath(QStringLiteral("error.pdf"));
    GuiHarness h;
    TypeOverflowingLoan(h);
    QStringList printed;
    h.dialogs().onNext(QStringLiteral("frmError"), [&](QDialog& screen) {
        // Without a printer the failure is reported and the screen stays.
        Click(screen, "cmdPrint");
        QVERIFY(screen.isVisible());
        h.outputs().setDefaultPrinterPdf(pdf);
        Click(screen, "cmdPrint");
        printed = static_cast<frmError&>(screen).printedLines();
        Click(screen, "cmdSupport");
        QVERIFY(screen.isVisible());
        Click(screen, "cmdExit");
    });
    QVERIFY(h.click("cmdContinue"));
    QCOMPARE(h.dialogs().shown(), (QStringList{"frmError", "frmAbout"}));
    QCOMPARE(
        h.prompts(),
        QStringList{QStringLiteral("The following error occurred while trying to print:\r\nNo printer is installed.")});
    QCOMPARE(h.user().prompts()[0].style, short(16));
    QCOMPARE(printed.size(), 7);
    QVERIFY(printed[0].startsWith(QStringLiteral("APR Program Error - ")));
    QCOMPARE(
        printed.mid(1, 6),
        (QStringList{"", "", "   Error Message:          Overflow", "   Error #:                6",
                     "   Active Form:            Payment Stream", "   APR Version:            6.2.0 - April 2007"}));
    QVERIFY(QFileInfo(pdf).size() > 0);
    if (!QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) {
        QProcess text;
        text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        QVERIFY(text.waitForFinished(10000));
        const QString output = QString::fromUtf8(text.readAllStandardOutput());
        QVERIFY2(output.contains(QStringLiteral("Active Form:            Payment Stream")), qPrintable(output));
    }
    // Exit ends the program: every page is closed and the window with them.
    QVERIFY(!h.window().isLoaded(PageId::BasicInfo));
    QVERIFY(!h.window().isVisible());
}

void ShellDialogsTest::system_info_without_and_with_a_tool_on_the_path() {
    QTemporaryDir bin;
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(bin.path()));
    GuiHarness h;
    const auto pressSysInfo = [&] {
        h.dialogs().onNext(QStringLiteral("frmAbout"), [](QDialog& about) { Click(about, "cmdSysInfo"); });
        h.window().ShowAbout();
    };
    pressSysInfo();
    QCOMPARE(h.prompts(), QStringList{QStringLiteral("System Information Is Unavailable At This Time")});
    QCOMPARE(h.user().prompts()[0].style, short(0));

    // A tool on the path is started, and nothing is said.
    const QString marker = bin.filePath(QStringLiteral("started"));
    QFile tool(bin.filePath(frmAbout::SystemInfoTools().first()));
    QVERIFY(tool.open(QIODevice::WriteOnly));
    tool.write(("#!/bin/sh\necho started > '" + marker + "'\n").toUtf8());
    tool.close();
    tool.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(frmAbout::FindSystemInfoTool(), tool.fileName());
    h.forgetPrompts();
    pressSysInfo();
    qputenv("PATH", oldPath);
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker), 5000);
    QVERIFY2(h.prompts().isEmpty(), PromptsText(h.prompts()));
}

void ShellDialogsTest::help_opens_at_the_contents_and_every_page_exists() {
    GuiHarness h;
    h.window().findChild<QAction*>(QStringLiteral("mnuContents"))->trigger();
    HelpWindow* help = h.window().helpWindow();
    QVERIFY(help);
    QVERIFY(help->isVisible());
    QCOMPARE(help->browser()->source(), QUrl(QStringLiteral("qrc:/help/index.html")));
    QCOMPARE(help->browser()->documentTitle(), QStringLiteral("TALLEX Help"));
    QFile contents(QStringLiteral(":/help/index.html"));
    QVERIFY(contents.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(contents.readAll());
    // Every link leads to a page, and every page is linked from the contents.
    QStringList linked;
    for (const QRegularExpressionMatch& link :
         QRegularExpression(QStringLiteral("href=\"([^\"]+)\"")).globalMatch(html)) {
        QVERIFY2(QFile::exists(QStringLiteral(":/help/") + link.captured(1)), qPrintable(link.captured(1)));
        linked << link.captured(1);
    }
    QStringList pages = QDir(QStringLiteral(":/help")).entryList({QStringLiteral("*.html")});
    pages.removeOne(QStringLiteral("index.html"));
    linked.sort();
    QCOMPARE(linked, pages);
    // Contents again reuses the one window.
    h.window().ShowHelp();
    QCOMPARE(h.window().helpWindow(), help);
}

void ShellDialogsTest::calculation_listing_for_show_calc_only() {
    GuiHarness h;
    TypedLoan loan = ThirtySixPaymentsOf330(QStringLiteral("10"), QStringLiteral("1880"));
    loan.preparer = QStringLiteral(" calc show ");
    QVERIFY2(TypeLoan(h, loan), PromptsText(h.prompts()));
    QStringList rows;
    bool fixedPitch = false;
    h.dialogs().onNext(QStringLiteral("frmDebug1"), [&](QDialog& listing) {
        rows << Text(listing, "lblHeadr1") << Text(listing, "lblHeadr2") << Text(listing, "Label1_0")
             << Text(listing, "lblToleranceAmt") << Text(listing, "lblSubjToReimb");
        fixedPitch = QFontInfo(listing.findChild<QLabel*>(QStringLiteral("Label1_0"))->font()).fixedPitch();
        listing.findChild<QAction*>(QStringLiteral("mClose"))->trigger();
    });
    QVERIFY(h.click("cmdDebug"));
    QCOMPARE(h.dialogs().shown(), QStringList{"frmDebug1"});
    QVERIFY(fixedPitch);
    // The listing's rows (their text is the core's) are filled from this loan.
    QVERIFY2(rows[2].startsWith(QStringLiteral(" Amt Financd:")) && rows[2].endsWith(QStringLiteral("10000")),
             qPrintable(rows[2]));
    for (const QString& row : rows) QVERIFY(!row.isEmpty());

    GuiHarness other;
    QVERIFY(TypeLoan(other, ThirtySixPaymentsOf330(QStringLiteral("10"), QStringLiteral("1880"))));
    QVERIFY(other.control<QPushButton>("cmdDebug")->isHidden());
}

QTEST_MAIN(ShellDialogsTest)
#include "shell_dialogs_test.moc"
