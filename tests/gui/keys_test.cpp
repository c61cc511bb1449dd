// The keyboard and the mouse on the schedule: where the cursor and the text stay when a cell or
// Continue is refused, access keys while a cell is edited, and a click that arrives while the
// payment date calculator is open. (The refusals, the
// rows, the questions and what the calculator computes are the core's.)

#include "GuiHarness.h"
#include "widgets/ScheduleGrid.h"

#include <QApplication>
#include <QDialog>
#include <QKeySequence>
#include <QPointer>
#include <QSet>
#include <QTest>
#include <QTimer>

class KeysTest : public QObject {
    Q_OBJECT
private slots:
    void keys_in_the_schedule_grid_data();
    void keys_in_the_schedule_grid();
};

namespace {

void ToSchedule(GuiHarness& h) {
    QVERIFY(h.click("CmdContinue"));
    h.type("txtAmtFinanced", QStringLiteral("1000"));
    h.type("txtDiscAPR", QStringLiteral("12"));
    QVERIFY(h.click("CmdContinue"));
    QVERIFY2(h.pageName() == QStringLiteral("frmPymt"), PromptsText(h.prompts()));
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
            QVERIFY2(key.key() != Qt::Key_unknown && key.key() != Qt::Key(0), qPrintable(step));
            h.press(key.key(), key.keyboardModifiers());
            // A button pressed by its access key clicks 100 ms later.
            if (!late && (key.keyboardModifiers() & Qt::AltModifier)) QTest::qWait(200);
        }
    }
}

}  // namespace

// A refused cell, and Continue or an access key pressed while a cell is edited: the refusal is
// said, the cursor and the text stay in the cell (column), no APR is computed and no calendar
// opens unasked. An access key belongs to the buttons: it presses the button whose key it is, or does
// nothing; the cell never takes the letter.
void KeysTest::keys_in_the_schedule_grid_data() {
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("page");
    QTest::addColumn<int>("messages");
    QTest::addColumn<int>("column");         // the cell still edited; -1: none
    QTest::addColumn<QStringList>("cells");  // "row,column=text"
    const QStringList row{"t:100", "Tab", "t:12", "Tab"};
    const QStringList advance{"t:-1000"}, kept{"0,1=-1000"};
    QTest::newRow("odd days beyond a month")
        << row + QStringList{"Tab", "t:45", "Tab"} << "frmPymt" << 1 << 4 << QStringList{"0,4=45"};
    QTest::newRow("letters in an amount, Continue")
        << QStringList{"t:abc", "click:cmdContinue"} << "frmPymt" << 1 << 1 << QStringList{"0,1=abc"};
    QTest::newRow("letters in a later amount, Continue")
        << row + QStringList{"Tab", "Tab", "t:1x5", "click:cmdContinue"} << "frmPymt" << 1 << 1
        << QStringList{"1,1=1x5"};
    QTest::newRow("a point in the number of payments, Continue")
        << QStringList{"t:100", "Tab", "t:12.5", "click:cmdContinue"} << "frmPymt" << 1 << 2 << QStringList{"0,2=12.5"};
    QTest::newRow("Continue by its access key")
        << QStringList{"t:abc", "Alt+C"} << "frmPymt" << 1 << 1 << QStringList{"0,1=abc"};
    // The advance is taken; Continue asks for its number of payments.
    QTest::newRow("Continue's key after an advance")
        << advance + QStringList{"Alt+C"} << "frmPymt" << 1 << 2 << QStringList{"0,1=-1000", "0,2="};
    QTest::newRow("Back's key") << advance + QStringList{"Alt+B"} << "frmAPR1" << 0 << -1 << kept;
    QTest::newRow("New Loan's key, its question cancelled")
        << advance + QStringList{"answer:2", "Alt+N"} << "frmPymt" << 1 << 1 << kept;
    QTest::newRow("Calendar's key, disabled in the amount")
        << advance + QStringList{"Alt+R"} << "frmPymt" << 0 << 1 << kept;
    QTest::newRow("Delete's key, disabled with one stream")
        << advance + QStringList{"Alt+D"} << "frmPymt" << 0 << 1 << kept;
    QTest::newRow("a letter of no button") << advance + QStringList{"Alt+Q"} << "frmPymt" << 0 << 1 << kept;
    // The Calendar button clicked before the click of an access key comes: that click comes while
    // the calendar is open. New Loan (its save question answered Discard) then unloads the
    // schedule page under the calendar, and the Calendar button asks for a second calendar.
    // Neither may reach a page that is gone, and no second calendar opens.
    QTest::newRow("New Loan's late click")
        << row + QStringList{"answer:7", "late:Alt+N", "click:cmdFedCal"} << "frmBasicInfo" << 1 << -1 << QStringList{};
    QTest::newRow("Calendar's late click")
        << row + QStringList{"late:Alt+R", "click:cmdFedCal"} << "frmPymt" << 0 << -1 << QStringList{};
}

void KeysTest::keys_in_the_schedule_grid() {
    QFETCH(QStringList, steps);
    QFETCH(QString, page);
    QFETCH(int, messages);
    QFETCH(int, column);
    QFETCH(QStringList, cells);
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
    ToSchedule(h);
    Run(h, steps);
    QVERIFY2(h.prompts().size() == messages, PromptsText(h.prompts()));
    QCOMPARE(h.pageName(), page);
    for (const QString& cell : cells) {
        const QString at = cell.section(QLatin1Char('='), 0, 0);
        QCOMPARE(h.cell(at.section(QLatin1Char(','), 0, 0).toInt(), at.section(QLatin1Char(','), 1).toInt()),
                 cell.section(QLatin1Char('='), 1));
    }
    if (column >= 0) {
        QCOMPARE(h.grid()->currentColumn(), column);
        QVERIFY(h.grid()->editorWidget());
        QCOMPARE(QApplication::focusWidget(), h.grid()->editorWidget());
    }
    QCOMPARE(h.record().gdCalcAPR, 0.0);
    QCOMPARE(calendars.size(), steps.contains(QStringLiteral("click:cmdFedCal")) ? 1 : 0);
}

QTEST_MAIN(KeysTest)
#include "keys_test.moc"
