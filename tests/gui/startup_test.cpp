// Start-up and the settings file, the switch of loan kind, the second copy, and the real
// message box of each style.

#include "GuiHarness.h"
#include "shell/QtUserSeam.h"
#include "shell/SingleInstance.h"

#include "shell/StartupTexts.h"

#include <QElapsedTimer>
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
    void settings_are_written_on_exit_and_read_on_the_next_start();
    void switching_loan_kind_after_continuing_asks();
    void second_copy_asks_and_raises_the_first();
    void starts_within_half_a_second();
    void message_box_of_each_style_data();
    void message_box_of_each_style();
};

void StartupTest::settings_are_written_on_exit_and_read_on_the_next_start() {
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

// Something entered: a switch of loan kind asks (its text is the core's); Cancel keeps the
// loan, OK discards it (not the preparer) and the pages start afresh, with no second question.
void StartupTest::switching_loan_kind_after_continuing_asks() {
    GuiHarness h;
    h.type("txtUserName", QStringLiteral("Pat Examiner"));
    h.type("txtBorrower", QStringLiteral("Lee Borrower"));
    QVERIFY(h.click("CmdContinue"));
    h.type("txtAmtFinanced", QStringLiteral("1000"));
    QVERIFY(h.click("CmdBack"));
    h.answerNext(tallex::kAnswerCancel);
    QVERIFY(h.choose("optType_1"));
    QCOMPARE(h.user().prompts().size(), std::size_t(1));
    QCOMPARE(h.user().prompts()[0].style, 49);
    QVERIFY(h.control<QRadioButton>("optType_0")->isChecked());
    QVERIFY(h.window().isLoaded(PageId::LoanTerms));

    h.answerNext(tallex::kAnswerOk);
    QVERIFY(h.choose("optType_1"));
    QCOMPARE(h.prompts().size(), 2);
    QVERIFY(h.control<QRadioButton>("optType_1")->isChecked());
    QVERIFY(!h.window().isLoaded(PageId::LoanTerms));
    QCOMPARE(h.text("txtBorrower"), QString());
    QCOMPARE(h.text("txtUserName"), QStringLiteral("Pat Examiner"));
    QCOMPARE(h.record().gdAmount, 0.0);
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
    QCOMPARE(user.prompts()[0].style, 20);
    QVERIFY(raised.wait(3000));

    user.queue(tallex::kAnswerYesButton);
    SingleInstance third(key);
    QVERIFY(ContinueAfterInstanceCheck(third, user));
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
