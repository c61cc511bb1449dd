// The payment date calculator opened from the schedule: Cancel and Escape, a calendar that
// opens by itself for yearly payments, and a click that arrives while it is open. (What it
// computes and refuses is the core's.)

#include "GuiHarness.h"
#include "widgets/ScheduleGrid.h"

#include <QApplication>
#include <QDialog>
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
    void yearly_unit_period_opens_the_calendar_by_itself();
    void a_click_on_its_way_while_the_calendar_is_open_data();
    void a_click_on_its_way_while_the_calendar_is_open();
};

namespace {

// A loan whose first stream has an amount and a number of payments; the cursor is in its unit
// periods, where the Calendar button is enabled. Unit period "12": yearly payments.
void ToUnitPeriods(GuiHarness& h, const QString& yearly = {}) {
    QVERIFY(h.click("CmdContinue"));
    if (!yearly.isEmpty()) QVERIFY(h.choose("optPymtFreq_1"));
    h.type("txtAmtFinanced", QStringLiteral("1000"));
    h.type("txtDiscAPR", QStringLiteral("12"));
    if (!yearly.isEmpty()) h.type("txtUnitPeriod", yearly);
    QVERIFY(h.click("CmdContinue"));
    h.typeCell(QStringLiteral("88.85"));
    h.tab();
    h.typeCell(QStringLiteral("12"));
    if (yearly.isEmpty()) h.tab();
}

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
    QVERIFY(h.withDialog("cmdFedCal", [escape](QDialog& calendar) {
        GuiHarness::fillCalendar(calendar, QStringLiteral("01152026"), QStringLiteral("03012026"), false);
        if (escape)
            QTest::keyClick(calendar.findChild<QLineEdit*>(QStringLiteral("mskEndDate")), Qt::Key_Escape);
        else
            QTest::mouseClick(calendar.findChild<QPushButton*>(QStringLiteral("cmdFedCalCancel")), Qt::LeftButton);
    }));
    QVERIFY(h.record().gbCalendarCancel);
    QCOMPARE(h.cell(0, 4), QStringLiteral("0"));
    QCOMPARE(h.grid()->currentColumn(), 4);
    QVERIFY(h.control<QPushButton>("cmdFedCal")->isEnabled());
    QVERIFY(h.prompts().isEmpty());
}

// Yearly payments are timed from their dates: entering the empty unit periods of stream 1 opens
// the calendar. 01-15-2026 to 01-15-2027 is one year, no odd days; the cursor then goes back to
// the amount.
void CalendarTest::yearly_unit_period_opens_the_calendar_by_itself() {
    GuiHarness h;
    ToUnitPeriods(h, QStringLiteral("12"));
    QCOMPARE(h.cell(0, 3), QString());  // no defaults: the dates decide
    bool opened = false;
    QTimer::singleShot(0, [&opened] {
        auto* calendar = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!calendar) return;
        opened = true;
        GuiHarness::fillCalendar(*calendar, QStringLiteral("01152026"), QStringLiteral("01152027"));
    });
    QTimer::singleShot(5000, [] {
        if (auto* calendar = qobject_cast<QDialog*>(QApplication::activeModalWidget())) calendar->reject();
    });
    h.tab();
    QVERIFY(opened);
    QCOMPARE(h.cell(0, 3), QStringLiteral("1"));
    QCOMPARE(h.cell(0, 4), QStringLiteral("0"));
    QCOMPARE(h.grid()->currentColumn(), 1);
    QVERIFY2(h.prompts().isEmpty(), PromptsText(h.prompts()));
}

// A button pressed by its access key clicks 100 ms later. When the Calendar button is clicked
// in between, that click comes while the calendar is open: New Loan then unloads the schedule
// page under the calendar, and the Calendar button asks for a second calendar. Neither may
// reach a page that is gone, and no second calendar opens.
void CalendarTest::a_click_on_its_way_while_the_calendar_is_open_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("page");
    QTest::newRow("New Loan") << int(Qt::Key_N) << "frmBasicInfo";
    QTest::newRow("Calendar") << int(Qt::Key_R) << "frmPymt";
}

void CalendarTest::a_click_on_its_way_while_the_calendar_is_open() {
    QFETCH(int, key);
    QFETCH(QString, page);
    GuiHarness h;
    ToUnitPeriods(h);
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
    watch.stop();
    QCOMPARE(opened.size(), 1);
    QCOMPARE(h.pageName(), page);
}

QTEST_MAIN(CalendarTest)
#include "calendar_test.moc"
