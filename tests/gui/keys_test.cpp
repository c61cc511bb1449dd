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
    void a_click_on_its_way_while_the_calendar_is_open_data();
    void a_click_on_its_way_while_the_calendar_is_open();
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
// clicked; anything else is a key ("Tab", "Alt+C").
void Run(GuiHarness& h, const QStringList& steps) {
    for (const QString& step : steps) {
        const QString arg = step.section(QLatin1Char(':'), 1);
        if (step.startsWith(QStringLiteral("t:"))) {
            h.typeCell(arg);
        } else if (step.startsWith(QStringLiteral("click:"))) {
            h.click(arg.toLatin1().constData());
        } else {
            const QKeyCombination key = QKeySequence::fromString(step)[0];
            QVERIFY2(key.key() != Qt::Key_unknown && key.key() != Qt::Key(0), qPrintable(step));
            h.press(key.key(), key.keyboardModifiers());
            if (key.keyboardModifiers() & Qt::AltModifier) QTest::qWait(200);  // an access key clicks 100 ms later
        }
    }
}

}  // namespace

// A refused cell, and Continue or an access key pressed while a cell is edited: the refusal is
// said, the cursor and the text stay in the cell (column), no APR is computed and no calendar
// opens. An access key belongs to the buttons: it presses the button whose key it is, or does
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
        << advance + QStringList{"Alt+N"} << "frmPymt" << 1 << 1 << kept;
    QTest::newRow("Calendar's key, disabled in the amount")
        << advance + QStringList{"Alt+R"} << "frmPymt" << 0 << 1 << kept;
    QTest::newRow("Delete's key, disabled with one stream")
        << advance + QStringList{"Alt+D"} << "frmPymt" << 0 << 1 << kept;
    QTest::newRow("a letter of no button") << advance + QStringList{"Alt+Q"} << "frmPymt" << 0 << 1 << kept;
}

void KeysTest::keys_in_the_schedule_grid() {
    QFETCH(QStringList, steps);
    QFETCH(QString, page);
    QFETCH(int, messages);
    QFETCH(int, column);
    QFETCH(QStringList, cells);
    // Any calendar that opens is counted and cancelled at once.
    int calendars = 0;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&calendars] {
        if (auto* calendar = qobject_cast<QDialog*>(QApplication::activeModalWidget())) ++calendars, calendar->reject();
    });
    watch.start(10);
    GuiHarness h;
    ToSchedule(h);
    h.answerNext(tallex::kAnswerCancel);
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
    QCOMPARE(calendars, 0);
}

// A button pressed by its access key clicks 100 ms later. When the Calendar button is clicked
// in between, that click comes while the calendar is open: New Loan then unloads the schedule
// page under the calendar, and the Calendar button asks for a second calendar. Neither may
// reach a page that is gone, and no second calendar opens.
void KeysTest::a_click_on_its_way_while_the_calendar_is_open_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("page");
    QTest::newRow("New Loan") << int(Qt::Key_N) << "frmBasicInfo";
    QTest::newRow("Calendar") << int(Qt::Key_R) << "frmPymt";
}

void KeysTest::a_click_on_its_way_while_the_calendar_is_open() {
    QFETCH(int, key);
    QFETCH(QString, page);
    GuiHarness h;
    ToSchedule(h);
    Run(h, {"t:88.85", "Tab", "t:12", "Tab"});
    h.answerNext(tallex::kAnswerNoButton);  // New Loan offers to save first: Discard
    // Every calendar that opens is counted and cancelled once the late click has come.
    QSet<QDialog*> opened;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&opened] {
        auto* calendar = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!calendar || opened.contains(calendar)) return;
        opened.insert(calendar);
        QTimer::singleShot(400, calendar, [calendar = QPointer<QDialog>(calendar)] {
            if (calendar) calendar->reject();
        });
    });
    watch.start(10);
    QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key), Qt::AltModifier);
    QVERIFY(h.click("cmdFedCal"));
    QTest::qWait(200);
    QCOMPARE(opened.size(), 1);
    QCOMPARE(h.pageName(), page);
}

QTEST_MAIN(KeysTest)
#include "keys_test.moc"
