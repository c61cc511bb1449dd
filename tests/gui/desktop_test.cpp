// The program as a desktop program: cases opened from the command line, a drop, the recent list
// and Open Case; Save and the modified marker; the offer to save on Exit; the error screen; and
// the keyboard on the schedule: where the cursor and the text stay when a cell or Continue
// is refused, access keys while a cell is edited, and a click that arrives while the payment date
// calculator is open. (The refusals, the rows, the questions, what the calculator computes, and
// how a case file reads are the core's.)

#include "TypedLoan.h"
#include "shell/CaseFileActions.h"
#include "shell/SingleInstance.h"
#include "widgets/ScheduleGrid.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QUuid>

namespace {

// What a page holds in a box, shown or not.
QString BoxOn(GuiHarness& h, PageId page, const char* box) {
    return h.window().loadedPage(page)->findChild<QLineEdit*>(QString::fromLatin1(box))->text();
}

QString Text(const QDialog& dialog, const char* name) { return dialog.findChild<QLabel*>(name)->text(); }

void Click(QDialog& dialog, const char* name) {
    QTest::mouseClick(dialog.findChild<QPushButton*>(QString::fromLatin1(name)), Qt::LeftButton);
}

// Steps: "t:TEXT" types into the current cell, "click:NAME" clicks the button when it can be
// clicked, "answer:N" queues the answer to the next question; anything else is a key ("Tab",
// "Alt+C"), and "late:" before an access key goes on before its button is clicked.
void Run(GuiHarness& h, const QStringList& steps) {
    for (const QString& step : steps) {
        const QString arg = step.section(QLatin1Char(':'), 1);
        if (step.startsWith(QStringLiteral("t:"))) {
            h.typeCell(arg);
        } else if (step.startsWith(QStringLiteral("click:"))) {
            h.click(arg.toLatin1().constData());
        } else if (step.startsWith(QStringLiteral("answer:"))) {
            h.answerNext(static_cast<short>(arg.toInt()));
        } else {
            const bool late = step.startsWith(QStringLiteral("late:"));
            const QKeyCombination key = QKeySequence::fromString(late ? arg : step)[0];
            h.press(key.key(), key.keyboardModifiers());
            // A button pressed by its access key clicks 100 ms later.
            if (!late && (key.keyboardModifiers() & Qt::AltModifier)) QTest::qWait(200);
        }
    }
}

}  // namespace

class DesktopTest : public QObject {
    Q_OBJECT
private slots:
    void cases_opened_saved_and_listed_after_a_restart();
    void error_in_a_page_handler_ends_on_the_error_screen();
    void keys_in_the_schedule_grid_data();
    void keys_in_the_schedule_grid();
    void second_copy_asks_and_hands_its_case_to_the_first();
};

// The splash shows first: its Continue, pressed by Enter, leads to the case named on the command
// line. A file dropped on the window replaces the loan, as New Loan would (asking first), and names
// the window. Ctrl+S writes the case to its own file and the title loses its modified marker.
// Changed again, Ctrl+Q asks, and Cancel keeps the program and the entries. Both cases are listed
// in Recent Cases after a restart (in the settings file), and chosen
// from there a case opens; a damaged one chosen by Open Case does not.
void DesktopTest::cases_opened_saved_and_listed_after_a_restart() {
    QTemporaryDir folder;
    const QString first = folder.filePath(QStringLiteral("first.tallex"));
    const QString second = folder.filePath(QStringLiteral("second.json"));
    QVERIFY(QFile::copy(QFINDTESTDATA("../../examples/regular-monthly.json"), first));
    QVERIFY(QFile::copy(QFINDTESTDATA("../../examples/irregular-with-advance.json"), second));
    GuiHarness h(QString(), first);
    QCOMPARE(h.pageName(), QStringLiteral("frmSplash"));
    h.press(Qt::Key_Return);
    QCOMPARE(h.pageName(), QStringLiteral("frmPymt"));
    QCOMPARE(BoxOn(h, PageId::BasicInfo, "txtBorrower"), QStringLiteral("John Q. Borrower"));

    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(second)});
    const QPointF centre = QRectF(h.window().rect()).center();
    QDragEnterEvent enter(centre.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&h.window(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    h.answerNext(tallex::kAnswerYesButton);
    QApplication::sendEvent(&h.window(), &drop);
    h.settle();
    QCOMPARE(h.prompts().size(), 1);
    QCOMPARE(BoxOn(h, PageId::BasicInfo, "txtBorrower"), QStringLiteral("Ada Builder"));
    QCOMPARE(h.window().windowTitle(), QStringLiteral("second.json[*] \u2014 TALLEX"));

    QVERIFY(!h.window().isWindowModified());
    h.window().SwitchForm(PageId::BasicInfo);
    h.type("txtBorrower", QStringLiteral("Ann Changed"));
    h.tab();
    QVERIFY(h.window().isWindowModified());
    h.forgetPrompts();
    h.press(Qt::Key_S, Qt::ControlModifier);
    QVERIFY2(h.prompts().isEmpty(), PromptsText(h.prompts()));
    QVERIFY(ReadAll(second).contains("\"borrower\": \"Ann Changed\""));
    QVERIFY(!h.window().isWindowModified());

    h.type("txtBorrower", QStringLiteral("Lee Borrower"));
    h.tab();
    h.answerNext(tallex::kAnswerCancel);
    h.press(Qt::Key_Q, Qt::ControlModifier);
    QCOMPARE(h.prompts().size(), 1);
    QVERIFY(h.window().isVisible());
    QCOMPARE(h.text("txtBorrower"), QStringLiteral("Lee Borrower"));

    h.answerNext(tallex::kAnswerNoButton);  // the entries discarded
    h.window().ExitProgram();
    QVERIFY2(!h.window().isVisible(), PromptsText(h.prompts()));
    h.restart();
    h.press(Qt::Key_Return);  // past the splash
    QStringList recent;
    const QList<QAction*> actions = h.window().findChild<QMenu*>(QStringLiteral("mnuRecentCases"))->actions();
    for (QAction* action : actions) recent << action->data().toString();
    QCOMPARE(recent, (QStringList{second, first}));
    actions.value(1)->trigger();
    h.settle();
    QCOMPARE(BoxOn(h, PageId::BasicInfo, "txtBorrower"), QStringLiteral("John Q. Borrower"));
    // A damaged case file chosen by Open Case is refused, and nothing is discarded.
    const QString damaged = folder.filePath(QStringLiteral("damaged.json"));
    QVERIFY(WriteAll(damaged, R"({"kind": "regular", "schedule": 5})"));
    h.forgetPrompts();
    h.outputs().queueFileName(damaged);
    h.trigger("mnuOpenCase");
    QVERIFY2(h.prompts().size() == 1, PromptsText(h.prompts()));
    QCOMPARE(h.window().caseFiles().fileName(), first);
    // An amount past the range of a double is painted as typed; its check refuses it later.
    QAbstractItemModel* model = h.grid()->model();
    QVERIFY(model->setData(model->index(0, 1), QStringLiteral("1E999")));
    QCOMPARE(model->index(0, 1).data().toString(), QStringLiteral("1E999"));
}

// The core's run-time error, raised inside the schedule page's Continue, ends on the error
// screen, with the loan already gone. Its Print prints; New Loan leads to an empty basic
// information page that remembers the preparer.
void DesktopTest::error_in_a_page_handler_ends_on_the_error_screen() {
    QTemporaryDir folder;
    const QString pdf = folder.filePath(QStringLiteral("error.pdf"));
    GuiHarness h;
    QStringList seen;
    bool loanGone = false;
    h.dialogs().onNext(QStringLiteral("frmError"), [&](QDialog& screen) {
        seen = {Text(screen, "lblErrNum"), Text(screen, "lblFormCaption")};
        loanGone = h.record().gbErrorShown && !h.window().isLoaded(PageId::Schedule);
        h.outputs().setDefaultPrinterPdf(pdf);
        Click(screen, "cmdPrint");
        Click(screen, "cmdNewLoan");
    });
    // 9999 % a year is 8.3325 a month: 9.3325 to the power 9999 is beyond a double, run-time
    // error 6 in the present value.
    TypedLoan loan = ThirtySixPaymentsOf330(QStringLiteral("9999"), QStringLiteral("1880"));
    loan.amountFinanced = QStringLiteral("1000");
    loan.schedule = QStringList{"100", "12", "9999"};
    QVERIFY(!TypeLoan(h, loan));
    QCOMPARE(seen, (QStringList{"6", "Payment Stream"}));
    QVERIFY(loanGone);
    QVERIFY2(h.prompts().isEmpty(), PromptsText(h.prompts()));
    QVERIFY(!PdfText(pdf).isEmpty());
    QCOMPARE(h.pageName(), QStringLiteral("frmBasicInfo"));
    QVERIFY(!h.record().gbErrorShown);  // cleared again by the basic information page
    QCOMPARE(h.text("txtBorrower"), QString());
    QCOMPARE(h.text("txtUserName"), QStringLiteral("Jane Examiner"));
}

// A refused cell, and Continue or an access key pressed while a cell is edited: the refusal is
// said, the cursor and the text stay in the cell, no APR is computed and no calendar opens
// unasked. An access key belongs to the buttons: it presses the button whose key it is, or does
// nothing; the cell never takes the letter.
void DesktopTest::keys_in_the_schedule_grid_data() {
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("page");
    QTest::addColumn<int>("messages");
    QTest::addColumn<int>("column");  // of the cell still edited in the first row, and its text
    QTest::addColumn<QString>("text");
    const QStringList row{"t:100", "Tab", "t:12", "Tab"};
    QTest::newRow("letters in an amount, Continue")
        << QStringList{"t:abc", "click:cmdContinue"} << "frmPymt" << 1 << 1 << "abc";
    // The advance is taken; Continue asks for its number of payments.
    QTest::newRow("Continue's key after an advance") << QStringList{"t:-1000", "Alt+C"} << "frmPymt" << 1 << 2 << "";
    QTest::newRow("a letter of no button") << QStringList{"t:-1000", "Alt+Q"} << "frmPymt" << 0 << 1 << "-1000";
    // The Calendar button clicked before the click of an access key comes: that click comes while
    // the calendar is open. New Loan (its save question answered Discard) then unloads the
    // schedule page under the calendar, and the Calendar button asks for a second calendar.
    // Neither may reach a page that is gone, and no second calendar opens.
    QTest::newRow("New Loan's late click")
        << row + QStringList{"answer:7", "late:Alt+N", "click:cmdFedCal"} << "frmBasicInfo" << 1 << -1 << "";
    // Back comes first here: the page left opens none.
    QTest::newRow("Calendar's late click after Back")
        << row + QStringList{"late:Alt+R", "click:cmdBack", "Alt+F12"} << "frmAPR1" << 0 << -1 << "";
    QTest::newRow("Calendar's late click")
        << row + QStringList{"late:Alt+R", "click:cmdFedCal"} << "frmPymt" << 0 << -1 << "";
}

void DesktopTest::keys_in_the_schedule_grid() {
    QFETCH(QStringList, steps);
    QFETCH(QString, page);
    QFETCH(int, messages);
    QFETCH(int, column);
    QFETCH(QString, text);
    // Every calendar that opens is counted, and cancelled once a late click has come.
    QSet<QDialog*> calendars;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&calendars] {
        auto* calendar = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!calendar || calendars.contains(calendar)) return;
        calendars.insert(calendar);
        QTimer::singleShot(400, calendar, [calendar = QPointer<QDialog>(calendar)] {
            if (calendar) calendar->reject();
        });
    });
    watch.start(10);
    GuiHarness h;
    QVERIFY(h.click("CmdContinue"));
    h.type("txtAmtFinanced", QStringLiteral("1000"));
    h.type("txtDiscAPR", QStringLiteral("12"));
    h.press(Qt::Key_Return);  // Continue, as the page's main button
    QVERIFY2(h.pageName() == QStringLiteral("frmPymt"), PromptsText(h.prompts()));
    Run(h, steps);
    QVERIFY2(h.prompts().size() == messages, PromptsText(h.prompts()));
    QCOMPARE(h.pageName(), page);
    if (column >= 0) {
        QCOMPARE(h.grid()->currentIndex(), h.grid()->model()->index(0, column));
        QVERIFY(h.grid()->editorWidget() && QApplication::focusWidget() == h.grid()->editorWidget());
        QCOMPARE(h.cell(0, column), text);
    }
    QCOMPARE(h.record().gdCalcAPR, 0.0);
    QCOMPARE(calendars.size(), steps.contains(QStringLiteral("click:cmdFedCal")) ? 1 : 0);
}

// A second copy asks the start-up question (style 20); No raises the first copy and hands it the
// case file named, as an absolute path; Yes starts the second copy after all.
void DesktopTest::second_copy_asks_and_hands_its_case_to_the_first() {
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

QTEST_MAIN(DesktopTest)
#include "desktop_test.moc"
