// The shell: the error screen (and the way back to a clean loan, or out), the About box, the
// help and the calculation listing; start-up, the settings file, the second copy and the real
// message box of each style; and the files when the disk fails or a case file is damaged: APR.INI
// and the case file written onto a full disk (or into a read-only folder) leave the earlier file
// whole, with nothing half-written beside it, and a damaged or wrongly typed case file is refused
// and nothing is discarded. (The report on a full disk, and how a damaged APR.INI reads, are the
// command line's and the core's.)

#include "../cli/file_faults_disk.h"

#include "GuiHarness.h"
#include "TypedLoan.h"
#include "dialogs/HelpWindow.h"
#include "dialogs/frmError.h"
#include "shell/CaseFileActions.h"
#include "shell/QtUserSeam.h"
#include "shell/SettingsStore.h"
#include "shell/SingleInstance.h"

#include "shell/StartupTexts.h"

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QUuid>

#include <stdexcept>

using tallex::faults::SmallDisk;

class ShellTest : public QObject {
    Q_OBJECT
private slots:
    void error_in_a_page_handler_ends_on_the_error_screen_data();
    void error_in_a_page_handler_ends_on_the_error_screen();
    void error_screen_print_support_and_exit();
    void about_help_and_the_listing();
    void settings_are_written_on_exit_and_read_on_the_next_start();
    void second_copy_asks_and_raises_the_first();
    void starts_within_half_a_second();
    void message_box_of_each_style_data();
    void message_box_of_each_style();
    void exit_on_a_full_disk_keeps_the_earlier_settings_file();
    void case_file_on_a_full_disk_keeps_the_earlier_one();
    void damaged_case_file_is_refused_data();
    void damaged_case_file_is_refused();
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

QString Path(const SmallDisk& disk, const char* name) { return QString::fromStdString(disk.path(name)); }

QStringList Files(const SmallDisk& disk) {
    QStringList names;
    for (const std::string& name : disk.files()) names << QString::fromStdString(name);
    return names;
}

}  // namespace

// The core's run-time error, and any other exception (here thrown from inside the listing the
// Debug button opens, as error 51): the error screen shows it, and New Loan leads to an empty
// basic information page that remembers the preparer.
void ShellTest::error_in_a_page_handler_ends_on_the_error_screen_data() {
    QTest::addColumn<bool>("runTimeError");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QStringList>("error");
    QTest::newRow("run-time error") << true << QStringList{"frmError"}
                                    << QStringList{"6", "Overflow", "Payment Stream"};
    QTest::newRow("any exception") << false << QStringList{"frmDebug1", "frmError"}
                                   << QStringList{"51", "Internal error", "Disclosure Information"};
}

void ShellTest::error_in_a_page_handler_ends_on_the_error_screen() {
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

void ShellTest::error_screen_print_support_and_exit() {
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

// The About box's system information with no tool on the path, the help's contents (every
// link leads to a page, every page is linked), and the calculation listing, offered to a
// preparer named "show calc" (in any case and spacing).
void ShellTest::about_help_and_the_listing() {
    GuiHarness h;
    TypedLoan loan = ThirtySixPaymentsOf330(QStringLiteral("10"), QStringLiteral("1880"));
    loan.preparer = QStringLiteral(" calc show ");
    QVERIFY2(TypeLoan(h, loan), PromptsText(h.prompts()));
    QString amountRow;
    bool fixedPitch = false;
    h.dialogs().onNext(QStringLiteral("frmDebug1"), [&](QDialog& listing) {
        amountRow = Text(listing, "Label1_0");
        fixedPitch = QFontInfo(listing.findChild<QLabel*>(QStringLiteral("Label1_0"))->font()).fixedPitch();
    });
    QVERIFY(h.click("cmdDebug"));
    QVERIFY(fixedPitch);
    // The listing's rows (their text is the core's) are filled from this loan.
    QVERIFY2(amountRow.endsWith(QStringLiteral("10000")), qPrintable(amountRow));

    QTemporaryDir bin;
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(bin.path()));
    h.dialogs().onNext(QStringLiteral("frmAbout"), [](QDialog& about) { Click(about, "cmdSysInfo"); });
    h.window().ShowAbout();
    qputenv("PATH", oldPath);
    QCOMPARE(h.prompts(), QStringList{QStringLiteral("System Information Is Unavailable At This Time")});

    h.trigger("mnuContents");
    HelpWindow* help = h.window().helpWindow();
    QVERIFY(help && help->isVisible());
    QCOMPARE(help->browser()->source(), QUrl(QStringLiteral("qrc:/help/index.html")));
    QStringList linked;
    const QString contents = QString::fromUtf8(ReadAll(QStringLiteral(":/help/index.html")));
    for (const QRegularExpressionMatch& link :
         QRegularExpression(QStringLiteral("href=\"([^\"]+)\"")).globalMatch(contents)) {
        QVERIFY2(QFile::exists(QStringLiteral(":/help/") + link.captured(1)), qPrintable(link.captured(1)));
        linked << link.captured(1);
    }
    QStringList pages = QDir(QStringLiteral(":/help")).entryList({QStringLiteral("*.html")});
    pages.removeOne(QStringLiteral("index.html"));
    linked.sort();
    QCOMPARE(linked, pages);
}

void ShellTest::settings_are_written_on_exit_and_read_on_the_next_start() {
    GuiHarness h(QStringLiteral("; kept\n[Options]\nStartup Intro=No\n"));
    h.type("txtUserName", QStringLiteral("Pat Examiner"));
    h.type("txtLender", QStringLiteral("First Bank"));
    h.type("txtCreditor", QStringLiteral("Old Creditor"));
    QVERIFY(h.choose("optType_1"));
    QVERIFY(h.prompts().isEmpty());  // nothing entered yet: no question
    h.window().showMaximized();
    h.settle();
    QVERIFY(h.click("CmdExit"));
    QVERIFY(h.prompts().isEmpty());  // Exit asks nothing
    QVERIFY(!h.window().isVisible());
    // The window's placement follows in a section of its own.
    QVERIFY2(h.settingsText().startsWith(QStringLiteral(
                 "; kept\n[Options]\nStartup Intro=No\n\n[TALLEX]\nUserName=Pat Examiner\n"
                 "LenderName=First Bank\nOriginalCreditorName=Old Creditor\nFormMaximized=TRUE\nType=Construction\n\n"
                 "[Window]\n")),
             qPrintable(h.settingsText()));
    h.restart();
    QCOMPARE(h.text("txtUserName"), QStringLiteral("Pat Examiner"));
    QCOMPARE(h.text("txtCreditor"), QStringLiteral("Old Creditor"));
    QVERIFY(h.control<QRadioButton>("optType_1")->isChecked());
    QVERIFY(h.window().isMaximized());
}

void ShellTest::second_copy_asks_and_raises_the_first() {
    const QString key = QStringLiteral("tallex-test-") + QUuid::createUuid().toString(QUuid::Id128);
    SingleInstance first(key);
    QVERIFY(first.tryBecomePrimary());
    QSignalSpy raised(&first, &SingleInstance::raiseRequested);

    tallex::ScriptedUser user;
    user.queue(tallex::kAnswerNoButton);
    SingleInstance second(key);
    QVERIFY(!ContinueAfterInstanceCheck(second, user));
    QCOMPARE(user.prompts().size(), std::size_t(1));
    QCOMPARE(user.prompts()[0].style, 20);
    QVERIFY(raised.wait(3000));

    user.queue(tallex::kAnswerYesButton);
    SingleInstance third(key);
    QVERIFY(ContinueAfterInstanceCheck(third, user));
}

void ShellTest::starts_within_half_a_second() {
    QElapsedTimer clock;
    clock.start();
    GuiHarness h;
    const qint64 elapsed = clock.elapsed();
    QCOMPARE(h.pageName(), QStringLiteral("frmBasicInfo"));
    QVERIFY2(elapsed < 500, qPrintable(QStringLiteral("first page after %1 ms").arg(elapsed)));
    qInfo("first page shown after %lld ms", static_cast<long long>(elapsed));
}

void ShellTest::message_box_of_each_style_data() {
    QTest::addColumn<short>("style");
    QTest::addColumn<int>("icon");
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("pressed");
    QTest::addColumn<short>("answer");
    using B = QMessageBox;
    QTest::newRow("16 critical") << short(16) << int(B::Critical) << int(B::Ok) << int(B::Ok) << short(1);
    QTest::newRow("20 yes/no critical") << short(20) << int(B::Critical) << int(B::Yes | B::No) << int(B::No)
                                        << short(7);
    // Unsaved entries: Discard is No.
    QTest::newRow("35 save/discard/cancel")
        << short(35) << int(B::Question) << int(B::Save | B::Discard | B::Cancel) << int(B::Discard) << short(7);
    QTest::newRow("36 yes/no question") << short(36) << int(B::Question) << int(B::Yes | B::No) << int(B::Yes)
                                        << short(6);
    QTest::newRow("48 refusal") << short(48) << int(B::Warning) << int(B::Ok) << int(B::Ok) << short(1);
    QTest::newRow("49 ok/cancel") << short(49) << int(B::Warning) << int(B::Ok | B::Cancel) << int(B::Cancel)
                                  << short(2);
    QTest::newRow("64 information") << short(64) << int(B::Information) << int(B::Ok) << int(B::Ok) << short(1);
}

// The real message box: title, icon and buttons of the style, and the answer of the button
// pressed (pressed here by a timer, as the box is modal).
void ShellTest::message_box_of_each_style() {
    QFETCH(short, style);
    QFETCH(int, icon);
    QFETCH(int, buttons);
    QFETCH(int, pressed);
    QFETCH(short, answer);
    QString title, text;
    int shownIcon = -1, shownButtons = -1;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        title = box->windowTitle();
        text = box->text();
        shownIcon = box->icon();
        shownButtons = int(box->standardButtons());
        box->button(QMessageBox::StandardButton(pressed))->click();
    });
    QTimer::singleShot(5000, [] {
        if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
    });
    QtUserSeam seam;
    QCOMPARE(seam.show("First line.\r\nSecond line.", style), answer);
    QCOMPARE(title, QStringLiteral("TALLEX"));
    QCOMPARE(text, QStringLiteral("First line.\nSecond line."));
    QCOMPARE(shownIcon, icon);
    QCOMPARE(shownButtons, buttons);
}

void ShellTest::exit_on_a_full_disk_keeps_the_earlier_settings_file() {
    SmallDisk disk;
    if (!disk.canFail()) QSKIP("neither a mount nor a read-only folder stops a write here");
    const QByteArray earlier = "[Options]\nStartup Intro=No\n[TALLEX]\nUserName=Jane Examiner\n";
    {
        QFile file(Path(disk, "APR.INI"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(earlier);
    }
    tallex::ScriptedUser user;
    MainWindow window(user, SettingsStore(Path(disk, "APR.INI"), SettingsStore::Location::Explicit));
    window.start();
    QApplication::processEvents();
    auto* name = window.findChild<QLineEdit*>(QStringLiteral("txtUserName"));
    QCOMPARE(name->text(), QStringLiteral("Jane Examiner"));
    name->setText(QStringLiteral("Pat Examiner, whose name does not fit on a full disk"));

    disk.fill();
    window.findChild<QAction*>(QStringLiteral("mnuExit"))->trigger();
    QApplication::processEvents();
    // The program ends as Exit says, asking nothing; the settings stay as they were.
    QVERIFY(!window.isVisible());
    QCOMPARE(user.prompts().size(), std::size_t{0});
    QCOMPARE(ReadAll(Path(disk, "APR.INI")), earlier);
    QCOMPARE(Files(disk), QStringList{"APR.INI"});
}

void ShellTest::case_file_on_a_full_disk_keeps_the_earlier_one() {
    SmallDisk disk;
    if (!disk.canFail()) QSKIP("neither a mount nor a read-only folder stops a write here");
    const QString path = Path(disk, "review.json");
    GuiHarness h;
    QVERIFY2(TypeLoan(h, ThirtySixPaymentsOf330(QStringLiteral("10"), QStringLiteral("1880"))),
             PromptsText(h.prompts()));
    h.outputs().queueFileName(path);
    h.trigger("mnuSaveCaseAs");
    const QByteArray earlier = ReadAll(path);
    QVERIFY(earlier.contains("\"amount_financed\": \"10000\""));

    disk.fill();
    h.outputs().queueFileName(path);
    h.trigger("mnuSaveCaseAs");
    QCOMPARE(h.prompts(), QStringList{QStringLiteral("Unable to save case file.  Error # %1 - %2")
                                          .arg(disk.expectedErrorNumber())
                                          .arg(QString::fromStdString(disk.expectedErrorDescription()))});
    QCOMPARE(h.user().prompts()[0].style, short(16));
    QCOMPARE(ReadAll(path), earlier);
    QCOMPARE(Files(disk), QStringList{"review.json"});
}

void ShellTest::damaged_case_file_is_refused_data() {
    QTest::addColumn<int>("keep");  // bytes of the good file kept; -1: the text below instead
    QTest::addColumn<QByteArray>("damage");
    QTest::addColumn<QString>("reason");  // how the message goes on
    const QString malformed = QStringLiteral("(file): malformed JSON: ");
    QTest::newRow("empty") << 0 << QByteArray() << malformed;
    QTest::newRow("cut after the first key") << 20 << QByteArray() << malformed;
    QTest::newRow("cut in the middle") << 200 << QByteArray() << malformed;
    QTest::newRow("cut before the last brace") << -2 << QByteArray() << malformed;
    QTest::newRow("a NUL byte") << -1 << QByteArray("{\"kind\":\"regu\0lar\"}", 19) << malformed;
    QTest::newRow("not UTF-8") << -1 << QByteArray("{\"kind\":\"\xff\xfe\"}") << malformed;
    QTest::newRow("not JSON") << -1 << QByteArray("APR.INI") << malformed;
    QTest::newRow("wrong type") << -1 << QByteArray(R"({"kind": "regular", "schedule": 5})")
                                << QStringLiteral("schedule: ");
}

void ShellTest::damaged_case_file_is_refused() {
    QFETCH(int, keep);
    QFETCH(QByteArray, damage);
    QFETCH(QString, reason);
    const QByteArray good = ReadAll(QFINDTESTDATA("../../examples/regular-monthly.json"));
    QVERIFY(good.size() > 200);
    QByteArray text = damage;
    if (keep >= 0) text = good.left(keep);
    if (keep == -2) text = good.left(good.lastIndexOf('}'));
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("damaged.json"));
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    GuiHarness h;
    h.type("txtBorrower", QStringLiteral("Kept Borrower"));
    h.outputs().queueFileName(path);
    h.trigger("mnuOpenCase");
    QCOMPARE(h.prompts().size(), 1);
    const QString expected = "The case file " + path + " cannot be read: " + reason;
    QVERIFY2(h.prompts()[0].startsWith(expected), qPrintable(h.prompts()[0]));
    // Nothing was discarded.
    QCOMPARE(h.pageName(), QStringLiteral("frmBasicInfo"));
    QCOMPARE(h.text("txtBorrower"), QStringLiteral("Kept Borrower"));
    QVERIFY(h.window().caseFiles().fileName().isEmpty());
}

QTEST_MAIN(ShellTest)
#include "shell_test.moc"
