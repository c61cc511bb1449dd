// Start-up, the settings file, the basic information page, New Loan, Exit, the second copy,
// and an unexpected run-time error ending on a fresh basic information page.

#include "GuiHarness.h"
#include "shell/CaseFileActions.h"
#include "shell/QtUserSeam.h"
#include "shell/SingleInstance.h"

#include "shell/StartupTexts.h"

#include <QAction>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QUuid>

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void first_page_by_startup_intro_data();
    void first_page_by_startup_intro();
    void settings_are_read_at_start();
    void settings_are_written_on_exit_and_read_on_the_next_start();
    void new_loan_asks_and_empties();
    void switching_loan_kind_after_continuing_asks();
    void basic_information_refusals();
    void second_copy_asks_and_raises_the_first();
    void run_time_error_ends_on_a_fresh_loan();
    void starts_within_half_a_second();
    void message_box_of_each_style_data();
    void message_box_of_each_style();
};

void StartupTest::first_page_by_startup_intro_data() {
    QTest::addColumn<QString>("settings");
    QTest::addColumn<QString>("page");
    QTest::newRow("no settings file") << ""
                                      << "frmSplash";
    QTest::newRow("intro off") << "[Options]\nStartup Intro=No\n"
                               << "frmBasicInfo";
    QTest::newRow("lower-case no still shows it") << "[Options]\nStartup Intro=no\n"
                                                  << "frmSplash";
}

void StartupTest::first_page_by_startup_intro() {
    QFETCH(QString, settings);
    QFETCH(QString, page);
    GuiHarness h(settings);
    QCOMPARE(h.pageName(), page);
    if (page != QStringLiteral("frmSplash")) return;
    QCOMPARE(h.page()->caption(), QStringLiteral(" TALLEX  6.2 (May 2008)"));
    QCOMPARE(h.control<QLabel>("lblAPY")->text(), QStringLiteral("TALLEX 6.2"));
    QCOMPARE(h.control<QLabel>("lblDisclaimer")->text(), QString::fromStdString(tallex::DisclaimerText()));
    QVERIFY(h.control<QPushButton>("cmdOK")->hasFocus());
    QVERIFY(!h.window().findChild<QAction*>(QStringLiteral("mnuNewLoan"))->isEnabled());
    QVERIFY(h.click("cmdOK"));
    QCOMPARE(h.pageName(), QStringLiteral("frmBasicInfo"));
    QVERIFY(!h.window().isLoaded(PageId::Splash));
}

void StartupTest::settings_are_read_at_start() {
    GuiHarness h(
        QStringLiteral("[Options]\nStartup Intro=No\n[TALLEX]\nUserName=Pat Examiner\nLenderName=First Bank\n"
                       "OriginalCreditorName=Old Creditor\nFormMaximized=true\nType=construction\n"));
    QCOMPARE(h.control<QLineEdit>("txtUserName")->text(), QStringLiteral("Pat Examiner"));
    QCOMPARE(h.control<QLineEdit>("txtLender")->text(), QStringLiteral("First Bank"));
    QCOMPARE(h.control<QLineEdit>("txtCreditor")->text(), QStringLiteral("Old Creditor"));
    QVERIFY(h.control<QRadioButton>("optType_1")->isChecked());
    QVERIFY(h.window().isMaximized());
    QCOMPARE(h.control<QLineEdit>("txtAcctDate")->text(), QDate::currentDate().toString(QStringLiteral("MM-dd-yyyy")));
    // The first empty box has the focus.
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("txtBorrower"));
}

void StartupTest::settings_are_written_on_exit_and_read_on_the_next_start() {
    GuiHarness h(QStringLiteral("; kept\n[Options]\nStartup Intro=No\n"));
    h.type("txtUserName", QStringLiteral("Pat Examiner"));
    h.type("txtLender", QStringLiteral("First Bank"));
    h.type("txtCreditor", QStringLiteral("Old Creditor"));
    QTest::mouseClick(h.control<QRadioButton>("optType_1"), Qt::LeftButton, Qt::NoModifier, QPoint(8, 8));
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
    QCOMPARE(h.control<QLineEdit>("txtUserName")->text(), QStringLiteral("Pat Examiner"));
    QCOMPARE(h.control<QLineEdit>("txtCreditor")->text(), QStringLiteral("Old Creditor"));
    QVERIFY(h.control<QRadioButton>("optType_1")->isChecked());
    QVERIFY(h.window().isMaximized());
}

void StartupTest::new_loan_asks_and_empties() {
    GuiHarness h;
    h.type("txtUserName", QStringLiteral("Pat Examiner"));
    h.type("txtAccountNbr", QStringLiteral("77"));
    h.type("txtBorrower", QStringLiteral("Lee Borrower"));
    QVERIFY(!h.control<QPushButton>("cmdNewAPR")->isEnabled());
    QVERIFY(h.click("CmdContinue"));
    h.type("txtAmtFinanced", QStringLiteral("1000"));
    QCOMPARE(h.record().gsLoanType, std::string("APR (Appendix J)"));

    // Entries never saved: Save, Discard or Cancel.
    h.answerNext(tallex::kAnswerCancel);
    QVERIFY(h.click("cmdNewAPR"));
    QCOMPARE(h.prompts(), QStringList{QString::fromStdString(CaseFileActions::UnsavedEntriesQuestion({}))});
    QCOMPARE(h.pageName(), QStringLiteral("frmAPR1"));
    QCOMPARE(h.control<QLineEdit>("txtAmtFinanced")->text(), QStringLiteral("$1,000.00"));

    h.answerNext(tallex::kAnswerNoButton);  // Discard
    h.window().findChild<QAction*>(QStringLiteral("mnuNewLoan"))->trigger();
    h.settle();
    QCOMPARE(h.prompts().size(), 2);
    QCOMPARE(h.pageName(), QStringLiteral("frmBasicInfo"));
    QCOMPARE(h.control<QLineEdit>("txtBorrower")->text(), QString());
    QCOMPARE(h.control<QLineEdit>("txtAccountNbr")->text(), QString());
    QCOMPARE(h.control<QLineEdit>("txtUserName")->text(), QStringLiteral("Pat Examiner"));
    QVERIFY(!h.window().isLoaded(PageId::LoanTerms));
    QCOMPARE(h.record().gsLoanType, std::string());
    QCOMPARE(h.record().giAPRUnderByFC, 99);
    QVERIFY(!h.control<QPushButton>("cmdNewAPR")->isEnabled());
    QVERIFY(!h.window().findChild<QAction*>(QStringLiteral("mnuNewLoan"))->isEnabled());
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("txtLender"));

    QVERIFY(h.click("CmdContinue"));  // the loan terms page starts empty
    QCOMPARE(h.control<QLineEdit>("txtAmtFinanced")->text(), QString());
}

void StartupTest::switching_loan_kind_after_continuing_asks() {
    GuiHarness h;
    h.type("txtUserName", QStringLiteral("Pat Examiner"));
    h.type("txtBorrower", QStringLiteral("Lee Borrower"));
    QVERIFY(h.click("CmdContinue"));
    h.type("txtAmtFinanced", QStringLiteral("1000"));
    QVERIFY(h.click("CmdBack"));
    QVERIFY(h.control<QPushButton>("cmdNewAPR")->isEnabled());
    auto* construction = h.control<QRadioButton>("optType_1");
    const QString question = QStringLiteral(
        "Switching from regular APR to construction loan will cause the deletion of any data you have entered.");

    h.answerNext(tallex::kAnswerCancel);
    QTest::mouseClick(construction, Qt::LeftButton, Qt::NoModifier, QPoint(8, 8));
    h.settle();
    QCOMPARE(h.prompts(), QStringList{question});
    QCOMPARE(h.user().prompts()[0].style, 49);
    QVERIFY(h.control<QRadioButton>("optType_0")->isChecked());
    QVERIFY(h.window().isLoaded(PageId::LoanTerms));

    h.answerNext(tallex::kAnswerOk);
    QTest::mouseClick(construction, Qt::LeftButton, Qt::NoModifier, QPoint(8, 8));
    h.settle();
    QCOMPARE(h.prompts().size(), 2);  // no second question from New Loan
    QVERIFY(construction->isChecked());
    QVERIFY(!h.window().isLoaded(PageId::LoanTerms));
    QCOMPARE(h.control<QLineEdit>("txtBorrower")->text(), QString());
    QCOMPARE(h.control<QLineEdit>("txtUserName")->text(), QStringLiteral("Pat Examiner"));
    QCOMPARE(h.record().gdAmount, 0.0);
}

void StartupTest::basic_information_refusals() {
    GuiHarness h;
    h.type("txtAcctDate", QStringLiteral("02-30-2026"));
    h.tab();
    QCOMPARE(h.prompts(), QStringList{"Invalid date.  Type a valid date in mm-dd-yyyy format."});
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("txtAcctDate"));
    h.type("txtAcctDate", QStringLiteral("3/5/2026"));
    h.tab();
    QCOMPARE(h.prompts().size(), 1);
    QCOMPARE(h.control<QLineEdit>("txtAcctDate")->text(), QStringLiteral("03-05-2026"));
    h.type("txtLender", QStringLiteral("First Bank"));
    h.tab();
    QCOMPARE(h.control<QLineEdit>("txtCreditor")->text(), QStringLiteral("First Bank"));
    h.type("txtCreditor", QStringLiteral("Old Creditor"));
    h.type("txtLender", QStringLiteral("Second Bank"));
    h.tab();
    QCOMPARE(h.control<QLineEdit>("txtCreditor")->text(), QStringLiteral("Old Creditor"));
}

void StartupTest::second_copy_asks_and_raises_the_first() {
    const QString key = QStringLiteral("tallex-test-") + QUuid::createUuid().toString(QUuid::Id128);
    SingleInstance first(key);
    QVERIFY(first.tryBecomePrimary());
    QSignalSpy raised(&first, &SingleInstance::raiseRequested);

    tallex::ScriptedUser user;
    user.queue(tallex::kAnswerNoButton);
    SingleInstance second(key);
    QVERIFY(!ContinueAfterInstanceCheck(second, user));
    QCOMPARE(user.prompts().size(), std::size_t(1));
    QCOMPARE(QString::fromStdString(user.prompts()[0].text),
             QStringLiteral("A previous instance of the APR program is already running.\r\n\r\n"
                            "Do you really want to start a new instance of the APR program?"));
    QCOMPARE(user.prompts()[0].style, 20);
    QVERIFY(raised.wait(3000));

    user.queue(tallex::kAnswerYesButton);
    SingleInstance third(key);
    QVERIFY(ContinueAfterInstanceCheck(third, user));
}

// 9999 % a year is 8.3325 a month: 9.3325 raised to 9999 unit periods is beyond the range of a
// double, a run-time error 6 in the present value at the disclosed APR.
void StartupTest::run_time_error_ends_on_a_fresh_loan() {
    GuiHarness h;
    h.type("txtUserName", QStringLiteral("Pat Examiner"));
    QVERIFY(h.click("CmdContinue"));
    h.type("txtAmtFinanced", QStringLiteral("1000"));
    h.type("txtDiscAPR", QStringLiteral("9999"));
    QVERIFY(h.click("CmdContinue"));
    h.typeCell(QStringLiteral("100"));
    h.tab();
    h.typeCell(QStringLiteral("12"));
    h.tab();
    h.typeCell(QStringLiteral("9999"));
    QVERIFY(h.click("cmdContinue"));

    // The error screen (closed here without a choice, which is New Loan).
    QCOMPARE(h.dialogs().shown(), QStringList{QStringLiteral("frmError")});
    QVERIFY2(h.prompts().isEmpty(), PromptsText(h.prompts()));
    QCOMPARE(h.pageName(), QStringLiteral("frmBasicInfo"));
    QVERIFY(!h.window().isLoaded(PageId::Schedule));
    QVERIFY(!h.window().isLoaded(PageId::LoanTerms));
    QCOMPARE(h.record().gdAmount, 0.0);
    QVERIFY(!h.record().gbErrorShown);  // cleared again by the basic information page
    QVERIFY(!h.control<QPushButton>("cmdNewAPR")->isEnabled());
    QCOMPARE(h.control<QLineEdit>("txtUserName")->text(), QStringLiteral("Pat Examiner"));
}

void StartupTest::starts_within_half_a_second() {
    QElapsedTimer clock;
    clock.start();
    GuiHarness h;
    const qint64 elapsed = clock.elapsed();
    QCOMPARE(h.pageName(), QStringLiteral("frmBasicInfo"));
    QVERIFY2(elapsed < 500, qPrintable(QStringLiteral("first page after %1 ms").arg(elapsed)));
    qInfo("first page shown after %lld ms", static_cast<long long>(elapsed));
}

void StartupTest::message_box_of_each_style_data() {
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
void StartupTest::message_box_of_each_style() {
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

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
