// The keyboard and the mouse on the schedule: where the cursor and the text stay when a cell or
// Continue is refused, access keys while a cell is edited, the timing cells of a single payment
// loan, and a click that arrives while the payment date calculator is open. (The refusals, the
// rows, the questions and what the calculator computes are the core's.)

#include "GuiHarness.h"
#include "widgets/ScheduleGrid.h"

#include <QApplication>
#include <QClipboard>
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

struct Terms {
    int loanType = 0;   // 0 installment, 1 single payment
    int frequency = 0;  // option index
    QString unit;       // unit period text, when shown
};

void ToSchedule(GuiHarness& h, const Terms& terms) {
    QVERIFY(h.click("CmdContinue"));
    if (terms.loanType == 1) QVERIFY(h.choose("optLoanType_1"));
    if (terms.frequency != 0) QVERIFY(h.choose(QStringLiteral("optPymtFreq_%1").arg(terms.frequency)));
    h.type("txtAmtFinanced", QStringLiteral("1000"));
    h.type("txtDiscAPR", QStringLiteral("12"));
    if (!terms.unit.isEmpty()) h.type("txtUnitPeriod", terms.unit);
    QVERIFY(h.click("CmdContinue"));
    QVERIFY2(h.pageName() == QStringLiteral("frmPymt"), PromptsText(h.prompts()));
}

// Steps: "t:TEXT" types into the current cell, "c:R,C" clicks a cell, "click:NAME" clicks the
// button when it can be clicked, "paste:TEXT" pastes the text with Ctrl+V; anything else is a key
// ("Tab", "PgDown", "Alt+C").
void Run(GuiHarness& h, const QStringList& steps) {
    for (const QString& step : steps) {
        const QString arg = step.section(QLatin1Char(':'), 1);
        if (step.startsWith(QStringLiteral("t:"))) {
            h.typeCell(arg);
        } else if (step.startsWith(QStringLiteral("c:"))) {
            h.clickCell(arg.section(QLatin1Char(','), 0, 0).toInt(), arg.section(QLatin1Char(','), 1).toInt());
        } else if (step.startsWith(QStringLiteral("click:"))) {
            h.click(arg.toLatin1().constData());
        } else if (step.startsWith(QStringLiteral("paste:"))) {
            QApplication::clipboard()->setText(arg);
            h.press(Qt::Key_V, Qt::ControlModifier);
        } else {
            const QKeyCombination key = QKeySequence::fromString(step)[0];
            QVERIFY2(key.key() != Qt::Key_unknown && key.key() != Qt::Key(0), qPrintable(step));
            h.press(key.key(), key.keyboardModifiers());
            if (key.keyboardModifiers() & Qt::AltModifier) QTest::qWait(200);  // an access key clicks 100 ms later
        }
    }
}

}  // namespace

Q_DECLARE_METATYPE(Terms)

// A refused cell, and Continue or an access key pressed while a cell is edited: the refusal is
// said, the cursor and the text stay in the cell (column), and no APR is computed. An access key
// belongs to the buttons: it presses the button whose key it is, or does nothing; the cell never
// takes the letter. A single advance / single payment loan takes the timing of its one payment
// from the loan terms: whatever the user does, the timing cells keep it and no calendar opens.
void KeysTest::keys_in_the_schedule_grid_data() {
    QTest::addColumn<Terms>("terms");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("page");
    QTest::addColumn<int>("messages");
    QTest::addColumn<int>("column");         // the cell still edited; -1: none
    QTest::addColumn<QStringList>("cells");  // "row,column=text"
    const QStringList row{"t:100", "Tab", "t:12", "Tab"};
    const QStringList advance{"t:-1000"}, kept{"0,1=-1000"};
    QTest::newRow("odd days beyond a month")
        << Terms{} << row + QStringList{"Tab", "t:45", "Tab"} << "frmPymt" << 1 << 4 << QStringList{"0,4=45"};
    QTest::newRow("letters in an amount, Continue")
        << Terms{} << QStringList{"t:abc", "click:cmdContinue"} << "frmPymt" << 1 << 1 << QStringList{"0,1=abc"};
    QTest::newRow("letters in a later amount, Continue")
        << Terms{} << row + QStringList{"Tab", "Tab", "t:1x5", "click:cmdContinue"} << "frmPymt" << 1 << 1
        << QStringList{"1,1=1x5"};
    QTest::newRow("a point in the number of payments, Continue")
        << Terms{} << QStringList{"t:100", "Tab", "t:12.5", "click:cmdContinue"} << "frmPymt" << 1 << 2
        << QStringList{"0,2=12.5"};
    QTest::newRow("Continue by its access key")
        << Terms{} << QStringList{"t:abc", "Alt+C"} << "frmPymt" << 1 << 1 << QStringList{"0,1=abc"};
    // The advance is taken; Continue asks for its number of payments.
    QTest::newRow("Continue's key after an advance")
        << Terms{} << advance + QStringList{"Alt+C"} << "frmPymt" << 1 << 2 << QStringList{"0,1=-1000", "0,2="};
    QTest::newRow("Back's key") << Terms{} << advance + QStringList{"Alt+B"} << "frmAPR1" << 0 << -1 << kept;
    QTest::newRow("New Loan's key, its question cancelled")
        << Terms{} << advance + QStringList{"Alt+N"} << "frmPymt" << 1 << 1 << kept;
    QTest::newRow("Calendar's key, disabled in the amount")
        << Terms{} << advance + QStringList{"Alt+R"} << "frmPymt" << 0 << 1 << kept;
    QTest::newRow("Delete's key, disabled with one stream")
        << Terms{} << advance + QStringList{"Alt+D"} << "frmPymt" << 0 << 1 << kept;
    QTest::newRow("a letter of no button") << Terms{} << advance + QStringList{"Alt+Q"} << "frmPymt" << 0 << 1 << kept;

    // 18 whole months: one year and 180 odd days; 200 actual days: one unit period.
    const std::pair<const char*, const char*> ways[] = {
        {"typing", "c:0,3 t:7 c:0,4 t:9"},
        {"paste", "c:0,3 paste:7 c:0,4 paste:9"},
        {"Delete key", "c:0,3 Del c:0,4 Del"},
        {"Calendar button", "c:0,3 click:cmdFedCal"},
        {"Calendar access key", "c:0,3 Alt+R"},
        {"Tab through the row", "Tab Tab Tab Tab"},
        {"Page Down and Page Up", "c:0,3 PgDown PgUp c:0,4 PgDown PgUp"}};
    for (const auto& [way, steps] : ways) {
        const QStringList typed = QStringLiteral("t:1100 %1").arg(QLatin1String(steps)).split(QLatin1Char(' '));
        QTest::addRow("18 months, %s", way)
            << Terms{1, 0, QStringLiteral("18")} << typed << "frmPymt" << 0 << -1 << QStringList{"0,3=1", "0,4=180"};
        QTest::addRow("200 days, %s", way)
            << Terms{1, 1, QStringLiteral("200")} << typed << "frmPymt" << 0 << -1 << QStringList{"0,3=1", "0,4=0"};
    }
    // With a unit period of a year the user types the timing; the calendar is still not offered.
    for (const char* way : {"click:cmdFedCal", "Alt+R"})
        QTest::addRow("365 days, %s", way)
            << Terms{1, 1, QStringLiteral("365")} << QStringList{"t:1100", "Tab", "Tab", way} << "frmPymt" << 0 << -1
            << QStringList{"0,3=1", "0,4=0"};
}

void KeysTest::keys_in_the_schedule_grid() {
    QFETCH(Terms, terms);
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
    ToSchedule(h, terms);
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
    ToSchedule(h, {});
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
