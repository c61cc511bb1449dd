// The payment date calculator opened from the schedule: Cancel and Escape, and a click that
// arrives while it is open. (What it computes and refuses is the core's.)

#include "GuiHarness.h"
#include "dialogs/frmCalendar.h"
#include "widgets/ScheduleGrid.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSet>
#include <QTest>
#include <QTimer>

class CalendarTest : public QObject {
    Q_OBJECT
private slots:
    void cancel_and_escape_take_nothing_data();
    void cancel_and_escape_take_nothing();
    void a_click_on_its_way_while_the_calendar_is_open_data();
    void a_click_on_its_way_while_the_calendar_is_open();
};

namespace {

// A monthly loan whose first stream has an amount and a number of payments; the cursor is in
// its unit periods, where the Calendar button is enabled.
void ToUnitPeriods(GuiHarness& h) {
    QVERIFY(h.click("CmdContinue"));
    h.type("txtAmtFinanced", QStringLiteral("1000"));
    h.type("txtDiscAPR", QStringLiteral("12"));
    QVERIFY(h.click("CmdContinue"));
    h.typeCell(QStringLiteral("88.85"));
    h.tab();
    h.typeCell(QStringLiteral("12"));
    h.tab();
    QCOMPARE(h.grid()->currentColumn(), 3);
    QVERIFY(h.control<QPushButton>("cmdFedCal")->isEnabled());
}

QLineEdit* Box(frmCalendar& c, const char* name) { return c.findChild<QLineEdit*>(QString::fromLatin1(name)); }

}  // namespace

void CalendarTest::cancel_and_escape_take_nothing_data() {
    QTest::addColumn<bool>("escape");
    QTest::newRow("Cancel button") << false;
    QTest::newRow("Escape key") << true;
}

void CalendarTest::cancel_and_escape_take_nothing() {
    QFETCH(bool, escape);
    GuiHarness h;
    ToUnitPeriods(h);
    h.withCalendar("cmdFedCal", [escape](frmCalendar& calendar) {
        GuiHarness::fillCalendar(calendar, QStringLiteral("01152026"), QStringLiteral("03012026"), false);
        if (escape)
            QTest::keyClick(Box(calendar, "mskEndDate"), Qt::Key_Escape);
        else
            QTest::mouseClick(calendar.findChild<QPushButton*>(QStringLiteral("cmdFedCalCancel")), Qt::LeftButton);
    });
    QVERIFY(!h.record().gbCalendarOK);
    QVERIFY(h.record().gbCalendarCancel);
    QCOMPARE(h.record().gdCalUnitPeriods, 0.0);
    QCOMPARE(h.record().gdCalOddDays, 0.0);
    QCOMPARE(h.cell(0, 3), QStringLiteral("1"));
    QCOMPARE(h.cell(0, 4), QStringLiteral("0"));
    QCOMPARE(h.grid()->currentColumn(), 4);
    QVERIFY(h.control<QPushButton>("cmdFedCal")->isEnabled());
    QVERIFY(h.prompts().isEmpty());
}

// A button pressed by its access key clicks 100 ms later. When the Calendar button is clicked
// in between, that click comes while the calendar is open: New Loan then unloads the schedule
// page under the calendar, and the Calendar button asks for a second calendar. Neither may
// reach a page that is gone, and no second calendar opens.
void CalendarTest::a_click_on_its_way_while_the_calendar_is_open_data() {
    QTest::addColumn<QString>("letter");
    QTest::addColumn<QString>("page");
    QTest::newRow("New Loan") << "n"
                              << "frmBasicInfo";
    QTest::newRow("Calendar") << "r"
                              << "frmPymt";
}

void CalendarTest::a_click_on_its_way_while_the_calendar_is_open() {
    QFETCH(QString, letter);
    QFETCH(QString, page);
    GuiHarness h;
    ToUnitPeriods(h);
    h.answerNext(tallex::kAnswerNoButton);  // New Loan offers to save first: Discard
    // Every calendar that opens is counted and cancelled once the late click has come.
    QSet<QDialog*> opened;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&opened] {
        auto* calendar = qobject_cast<frmCalendar*>(QApplication::activeModalWidget());
        if (!calendar || opened.contains(calendar)) return;
        opened.insert(calendar);
        QTimer::singleShot(400, calendar, [calendar = QPointer<frmCalendar>(calendar)] {
            if (calendar) calendar->reject();
        });
    });
    watch.start(10);
    QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(Qt::Key_A + (letter.at(0).unicode() - 'a')),
                    Qt::AltModifier);
    QVERIFY(h.click("cmdFedCal"));
    QTest::qWait(200);
    watch.stop();
    QCOMPARE(opened.size(), 1);
    QCOMPARE(h.pageName(), page);
}

QTEST_MAIN(CalendarTest)
#include "calendar_test.moc"
