// A regular monthly loan from the first page to the computed APR, typed as a user types it,
// with the calendar's odd days, and the wizard's Back and Continue keeping every entry.

#include "GuiHarness.h"
#include "widgets/ScheduleGrid.h"

#include <QLineEdit>
#include <QTest>

class RegularLoanTest : public QObject {
    Q_OBJECT
private slots:
    void monthly_loan_with_three_streams_and_a_calendar();
};

// 6000 financed, repaid by 12 x 250.00, 12 x 300.00 and one 1000.00; the loan is dated
// 01-15-2026 and the first payment falls on 02-20-2026, one month and 5 odd days later (taken
// from the calendar); the later streams follow on. The APR solving
//   6000 = sum P / ((1 + 5/30 i)(1 + i)^t)  over every payment, APR = 1200 i,
// found by bisection to 40 digits outside the program, is 19.99240 %.
void RegularLoanTest::monthly_loan_with_three_streams_and_a_calendar() {
    GuiHarness h;
    QCOMPARE(h.pageName(), QStringLiteral("frmBasicInfo"));
    h.type("txtBorrower", QStringLiteral("Lee Borrower"));
    h.type("txtLender", QStringLiteral("First Community Bank"));
    h.tab();
    QCOMPARE(h.text("txtCreditor"), QStringLiteral("First Community Bank"));
    QVERIFY(h.click("CmdContinue"));
    h.type("txtAmtFinanced", QStringLiteral("6000"));
    h.type("txtDiscAPR", QStringLiteral("19.5"));
    h.type("txtDiscFinChg", QStringLiteral("1600"));
    QVERIFY(h.click("CmdContinue"));
    QVERIFY2(h.pageName() == QStringLiteral("frmPymt"), PromptsText(h.prompts()));

    h.typeCell(QStringLiteral("250"));
    h.tab();
    h.typeCell(QStringLiteral("12"));
    h.tab();
    QCOMPARE(h.cell(0, 4), QStringLiteral("0"));  // the default, until the calendar says otherwise
    QVERIFY(h.withDialog("cmdFedCal", [](QDialog& calendar) {
        GuiHarness::fillCalendar(calendar, QStringLiteral("01152026"), QStringLiteral("02202026"));
    }));
    QCOMPARE(h.cell(0, 3), QStringLiteral("1"));
    QCOMPARE(h.cell(0, 4), QStringLiteral("5"));
    QCOMPARE(h.grid()->currentColumn(), 4);
    h.tab();
    for (const char* cell : {"300", "12", "", "", "1000", "1"}) {
        if (*cell) h.typeCell(QString::fromLatin1(cell));
        h.tab();
    }
    QCOMPARE(h.cell(1, 3), QStringLiteral("13"));  // one unit period after stream 1's last payment
    QCOMPARE(h.cell(2, 3), QStringLiteral("25"));
    QCOMPARE(h.cell(2, 4), QStringLiteral("5"));
    QVERIFY(h.click("cmdContinue"));
    QVERIFY2(h.pageName() == QStringLiteral("FrmDisclosure"), PromptsText(h.prompts()));
    QCOMPARE(h.text("lblAPR"), QStringLiteral("19.9924 %"));
    QVERIFY2(h.prompts().isEmpty(), PromptsText(h.prompts()));

    // Back to the first page and forward again: every entry is kept, and the APR with it.
    QVERIFY(h.click("cmdBack"));
    QVERIFY(h.click("cmdBack"));
    QVERIFY(h.click("CmdBack"));
    QCOMPARE(h.text("txtBorrower"), QStringLiteral("Lee Borrower"));
    QVERIFY(h.click("CmdContinue"));
    QCOMPARE(h.text("txtDiscFinChg"), QStringLiteral("$1,600.00"));
    QVERIFY(h.click("CmdContinue"));
    QCOMPARE(h.cell(1, 1), QStringLiteral("300"));
    QVERIFY(h.click("cmdContinue"));
    QCOMPARE(h.text("lblAPR"), QStringLiteral("19.9924 %"));
}

QTEST_MAIN(RegularLoanTest)
#include "regular_loan_test.moc"
