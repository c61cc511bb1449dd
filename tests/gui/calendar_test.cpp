// The payment date calculator opened from the schedule: its refusals, Cancel, Escape, the
// weekdays and actual days, and the loan date remembered for the next stream.

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
    void refusals_data();
    void refusals();
    void cancel_and_escape_take_nothing_data();
    void cancel_and_escape_take_nothing();
    void weekdays_days_and_the_remembered_loan_date();
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

void CalendarTest::refusals_data() {
    QTest::addColumn<QString>("loanDate");
    QTest::addColumn<QString>("endDate");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    QTest::newRow("no such loan date") << "02302026"
                                       << ""
                                       << "Enter valid loan date in mm-dd-yyyy format."
                                       << "mskStartDate";
    QTest::newRow("no such payment date") << "01152026"
                                          << "13012026"
                                          << "Enter valid payment/advance date in mm-dd-yyyy format."
                                          << "mskEndDate";
    QTest::newRow("one date only") << "01152026"
                                   << ""
                                   << "Enter both dates before pressing OK."
                                   << "mskEndDate";
    QTest::newRow("payment before the loan") << "01152026"
                                             << "01142026"
                                             << "Payment/advance date must be the same as or later than loan date."
                                             << "mskEndDate";
}

void CalendarTest::refusals() {
    QFETCH(QString, loanDate);
    QFETCH(QString, endDate);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    GuiHarness h;
    ToUnitPeriods(h);
    QString focused;
    QString endShown;
    bool stillOpen = false;
    h.withCalendar("cmdFedCal", [&](frmCalendar& calendar) {
        GuiHarness::fillCalendar(calendar, loanDate, endDate);
        QApplication::processEvents();
        stillOpen = calendar.isVisible();
        if (QApplication::focusWidget()) focused = QApplication::focusWidget()->objectName();
        endShown = Box(calendar, "mskEndDate")->displayText();
        calendar.reject();
    });
    QVERIFY(stillOpen);
    QVERIFY(!h.prompts().isEmpty());
    QCOMPARE(h.prompts().first(), message);
    QCOMPARE(h.user().prompts()[0].style, 48);
    QCOMPARE(focused, focus);
    if (message.startsWith(QStringLiteral("Payment/advance date must")))
        QCOMPARE(endShown, QStringLiteral("__-__-____"));
    QCOMPARE(h.record().gdCalUnitPeriods, 0.0);  // closed by Cancel afterwards
    QCOMPARE(h.cell(0, 3), QStringLiteral("1"));
}

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

// 01-15-2026 is a Thursday and 03-01-2026 a Sunday, 45 days apart. Whole months are counted back
// from the payment date: one month back is 02-01, which leaves 17 odd days from 01-15.
void CalendarTest::weekdays_days_and_the_remembered_loan_date() {
    GuiHarness h;
    ToUnitPeriods(h);
    QString loanDay, endDay, days, caption;
    h.withCalendar("cmdFedCal", [&](frmCalendar& calendar) {
        GuiHarness::fillCalendar(calendar, QStringLiteral("01152026"), QStringLiteral("03012026"), false);
        Box(calendar, "mskStartDate")->setFocus(Qt::TabFocusReason);  // leave the payment date
        QApplication::processEvents();
        loanDay = calendar.findChild<QLabel*>(QStringLiteral("lblLoanWeekDay"))->text();
        endDay = calendar.findChild<QLabel*>(QStringLiteral("lblPymtWeekDay"))->text();
        days = calendar.findChild<QLabel*>(QStringLiteral("lblActualDays"))->text();
        caption = calendar.findChild<QLabel*>(QStringLiteral("lblDate2"))->text();
        QTest::mouseClick(calendar.findChild<QPushButton*>(QStringLiteral("cmdFedCalOK")), Qt::LeftButton);
    });
    QCOMPARE(loanDay, QStringLiteral("Thursday"));
    QCOMPARE(endDay, QStringLiteral("Sunday"));
    QCOMPARE(days, QStringLiteral("45"));
    QCOMPARE(caption, QStringLiteral("Payment/Advance Date:"));
    QCOMPARE(h.cell(0, 3), QStringLiteral("1"));
    QCOMPARE(h.cell(0, 4), QStringLiteral("17"));
    QVERIFY(!h.control<QPushButton>("cmdFedCal")->isEnabled());
    QCOMPARE(h.record().gsLoanDate, std::string("01-15-2026"));

    // The next stream's calendar starts with the loan date, in the payment date.
    h.tab();
    h.typeCell(QStringLiteral("100"));
    h.tab();
    h.typeCell(QStringLiteral("1"));
    h.tab();
    QString shownLoanDate, focused;
    h.withCalendar("cmdFedCal", [&](frmCalendar& calendar) {
        shownLoanDate = Box(calendar, "mskStartDate")->text();
        focused = calendar.focusWidget() ? calendar.focusWidget()->objectName() : QString();
        calendar.reject();
    });
    QCOMPARE(shownLoanDate, QStringLiteral("01-15-2026"));
    QCOMPARE(focused, QStringLiteral("mskEndDate"));
    QVERIFY2(h.prompts().isEmpty(), PromptsText(h.prompts()));
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
