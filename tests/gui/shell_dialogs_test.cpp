// The shell's dialogs: the error screen (and the way back to a clean loan, or out), the About
// box's system information tool, the help pages and the calculation listing.

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
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

#include <stdexcept>

class ShellDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void error_in_a_page_handler_ends_on_the_error_screen_data();
    void error_in_a_page_handler_ends_on_the_error_screen();
    void error_screen_print_support_and_exit();
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
    QVERIFY(h.click("CmdContinue"));
    h.type("txtAmtFinanced", QStringLiteral("1000"));
    h.type("txtDiscAPR", QStringLiteral("9999"));
    QVERIFY(h.click("CmdContinue"));
    for (const char* cell : {"100", "12", "9999"}) {
        h.typeCell(QString::fromLatin1(cell));
        h.tab();
    }
}

}  // namespace

// The core's run-time error, and any other exception (here thrown from inside the listing the
// Debug button opens, as error 51): the error screen shows it, and New Loan leads to an empty
// basic information page that remembers the preparer.
void ShellDialogsTest::error_in_a_page_handler_ends_on_the_error_screen_data() {
    QTest::addColumn<bool>("runTimeError");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QStringList>("error");
    QTest::newRow("run-time error") << true << QStringList{"frmError"}
                                    << QStringList{"6", "Overflow", "Payment Stream"};
    QTest::newRow("any exception") << false << QStringList{"frmDebug1", "frmError"}
                                   << QStringList{"51", "Internal error", "Disclosure Information"};
}

void ShellDialogsTest::error_in_a_page_handler_ends_on_the_error_screen() {
    QFETCH(bool, runTimeError);
    QFETCH(QStringList, shown);
    QFETCH(QStringList, error);
    GuiHarness h;
    if (runTimeError) {
        TypeOverflowingLoan(h);
    } else {
        TypedLoan loan = ThirtySixPaymentsOf330(QStringLiteral("10"), QStringLiteral("1880"));
        loan.preparer = QStringLiteral("SHOW CALC");
        QVERIFY2(TypeLoan(h, loan), PromptsText(h.prompts()));
        h.dialogs().onNext(QStringLiteral("frmDebug1"), [](QDialog&) { throw std::logic_error("injected"); });
    }
    QStringList seen;
    bool loanGone = false;
    h.dialogs().onNext(QStringLiteral("frmError"), [&](QDialog& screen) {
        seen = {Text(screen, "lblErrNum"), Text(screen, "lblErrMsg"), Text(screen, "lblFormCaption")};
        loanGone = h.record().gbErrorShown && !h.window().isLoaded(PageId::Schedule);
        Click(screen, "cmdNewLoan");
    });
    QVERIFY(h.click(runTimeError ? "cmdContinue" : "cmdDebug"));
    QCOMPARE(h.dialogs().shown(), shown);
    QCOMPARE(seen, error);
    QVERIFY(loanGone);
    QVERIFY2(h.prompts().isEmpty(), PromptsText(h.prompts()));
    QCOMPARE(h.pageName(), QStringLiteral("frmBasicInfo"));
    for (PageId page : {PageId::LoanTerms, PageId::Schedule, PageId::Results}) QVERIFY(!h.window().isLoaded(page));
    QCOMPARE(h.record().gdAmount, 0.0);
    QVERIFY(!h.record().gbErrorShown);  // cleared again by the basic information page
    QCOMPARE(h.text("txtBorrower"), QString());
    QCOMPARE(h.text("txtUserName"), runTimeError ? QStringLiteral("Pat Examiner") : QStringLiteral("SHOW CALC"));
}

void ShellDialogsTest::error_screen_print_support_and_exit() {
    QTemporaryDir folder;
    const QString pdf = folder.filePath(QStringLiteral("error.pdf"));
    GuiHarness h;
    TypeOverflowingLoan(h);
    QStringList printed;
    h.dialogs().onNext(QStringLiteral("frmError"), [&](QDialog& screen) {
        QCOMPARE(screen.windowTitle(), QStringLiteral("TALLEX Program Error"));
        QCOMPARE(Text(screen, "Label7"),
                 QStringLiteral("A program error has occurred.  Data integity may be compromised."));
        QVERIFY(
            QRegularExpression(QStringLiteral("^\\d{1,2}/\\d{1,2}/\\d{4}$")).match(Text(screen, "lblDate")).hasMatch());
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
    QVERIFY(printed.value(0).startsWith(QStringLiteral("APR Program Error - ")));
    QVERIFY(printed.contains(QStringLiteral("   Active Form:            Payment Stream")));
    if (HavePdfTools()) QVERIFY(PdfText(pdf).contains(QStringLiteral("Active Form:            Payment Stream")));
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

    // A tool on the path is started, and nothing is said.
    const QString marker = bin.filePath(QStringLiteral("started"));
    QFile tool(bin.filePath(frmAbout::SystemInfoTools().first()));
    QVERIFY(tool.open(QIODevice::WriteOnly));
    tool.write(("#!/bin/sh\necho started > '" + marker + "'\n").toUtf8());
    tool.close();
    tool.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    h.forgetPrompts();
    pressSysInfo();
    qputenv("PATH", oldPath);
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker), 5000);
    QVERIFY2(h.prompts().isEmpty(), PromptsText(h.prompts()));
}

void ShellDialogsTest::help_opens_at_the_contents_and_every_page_exists() {
    GuiHarness h;
    h.trigger("mnuContents");
    HelpWindow* help = h.window().helpWindow();
    QVERIFY(help && help->isVisible());
    QCOMPARE(help->browser()->source(), QUrl(QStringLiteral("qrc:/help/index.html")));
    // Every link leads to a page, and every page is linked from the contents.
    QStringList linked;
    for (const QRegularExpressionMatch& link :
         QRegularExpression(QStringLiteral("href=\"([^\"]+)\""))
             .globalMatch(QString::fromUtf8(ReadAll(QStringLiteral(":/help/index.html"))))) {
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

// The listing is offered only to a preparer named "show calc" (in any case and spacing).
void ShellDialogsTest::calculation_listing_for_show_calc_only() {
    GuiHarness h;
    TypedLoan loan = ThirtySixPaymentsOf330(QStringLiteral("10"), QStringLiteral("1880"));
    loan.preparer = QStringLiteral(" calc show ");
    QVERIFY2(TypeLoan(h, loan), PromptsText(h.prompts()));
    QString amountRow;
    bool fixedPitch = false;
    h.dialogs().onNext(QStringLiteral("frmDebug1"), [&](QDialog& listing) {
        amountRow = Text(listing, "Label1_0");
        fixedPitch = QFontInfo(listing.findChild<QLabel*>(QStringLiteral("Label1_0"))->font()).fixedPitch();
        listing.findChild<QAction*>(QStringLiteral("mClose"))->trigger();
    });
    QVERIFY(h.click("cmdDebug"));
    QCOMPARE(h.dialogs().shown(), QStringList{"frmDebug1"});
    QVERIFY(fixedPitch);
    // The listing's rows (their text is the core's) are filled from this loan.
    QVERIFY2(amountRow.endsWith(QStringLiteral("10000")), qPrintable(amountRow));

    GuiHarness other;
    QVERIFY(TypeLoan(other, ThirtySixPaymentsOf330(QStringLiteral("10"), QStringLiteral("1880"))));
    QVERIFY(other.control<QPushButton>("cmdDebug")->isHidden());
}

QTEST_MAIN(ShellDialogsTest)
#include "shell_dialogs_test.moc"
