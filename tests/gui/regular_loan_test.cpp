// A regular monthly loan from the first page to the computed APR, typed as a user types it,
// and the wizard's Back and Continue keeping every entry.

#include "GuiHarness.h"
#include "dialogs/frmCalendar.h"
#include "widgets/ScheduleGrid.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

class RegularLoanTest : public QObject {
    Q_OBJECT
private slots:
    void monthly_loan_with_three_streams_and_a_calendar();
    void back_and_forward_keep_every_entry();
};

namespace {

void EnterIdentity(GuiHarness& h) {
    h.type("txtUserName", QStringLiteral("Pat Examiner"));
    h.type("txtAccountNbr", QStringLiteral("4417-0093"));
    h.type("txtBorrower", QStringLiteral("Lee Borrower"));
    h.type("txtLender", QStringLiteral("First Community Bank"));
    h.tab();
}

}  // namespace

// 6000 financed, repaid by 12 x 250.00, 12 x 300.00 and one 1000.00; the loan is dated
// 01-15-2026 and the first payment falls on 02-20-2026, one month and 5 odd days later (taken
// from the calendar); the later streams follow on. The APR solving
//   6000 = sum P / ((1 + 5/30 i)(1 + i)^t)  over every payment, APR = 1200 i,
// found by bisection to 40 digits outside the program, is 19.99240 %.
void RegularLoanTest::monthly_loan_with_three_streams_and_a_calendar() {
    GuiHarness h;
    QCOMPARE(h.pageName(), QStringLiteral("frmBasicInfo"));
    EnterIdentity(h);
    QCOMPARE(h.control<QLineEdit>("txtCreditor")->text(), QStringLiteral("First Community Bank"));
    QVERIFY(h.click("CmdContinue"));

    QCOMPARE(h.pageName(), QStringLiteral("frmAPR1"));
    QCOMPARE(h.page()->caption(), QStringLiteral("APR (Appendix J)"));
    h.type("txtAmtFinanced", QStringLiteral("6000"));
    h.tab();
    QCOMPARE(h.control<QLineEdit>("txtAmtFinanced")->text(), QStringLiteral("$6,000.00"));
    h.type("txtDiscAPR", QStringLiteral("19.5"));
    h.type("txtDiscFinChg", QStringLiteral("1600"));
    QVERIFY(h.click("CmdContinue"));
    QVERIFY2(h.pageName() == QStringLiteral("frmPymt"), PromptsText(h.prompts()));
    QCOMPARE(h.control<QLabel>("lblPymtFreq")->text(), QStringLiteral("Payment Frequency:  Monthly"));

    ScheduleGrid* grid = h.grid();
    QVERIFY(grid);
    QCOMPARE(grid->currentColumn(), 1);
    h.typeCell(QStringLiteral("250"));
    h.tab();
    h.typeCell(QStringLiteral("12"));
    h.tab();
    QCOMPARE(grid->currentColumn(), 3);
    QCOMPARE(h.cell(0, 3), QStringLiteral("1"));  // the defaults of stream 1
    QCOMPARE(h.cell(0, 4), QStringLiteral("0"));
    h.withCalendar("cmdFedCal", [](frmCalendar& calendar) {
        GuiHarness::fillCalendar(calendar, QStringLiteral("01152026"), QStringLiteral("02202026"));
    });
    QCOMPARE(h.cell(0, 3), QStringLiteral("1"));
    QCOMPARE(h.cell(0, 4), QStringLiteral("5"));
    QCOMPARE(grid->currentColumn(), 4);
    h.tab();
    QCOMPARE(grid->currentRow(), 1);
    QCOMPARE(h.cell(1, 0), QStringLiteral("2"));
    h.typeCell(QStringLiteral("300"));
    h.tab();
    h.typeCell(QStringLiteral("12"));
    h.tab();
    QCOMPARE(h.cell(1, 3), QStringLiteral("13"));  // one unit period after stream 1's last payment
    QCOMPARE(h.cell(1, 4), QStringLiteral("5"));
    h.tab();
    h.tab();
    h.typeCell(QStringLiteral("1000"));
    h.tab();
    h.typeCell(QStringLiteral("1"));
    h.tab();
    QCOMPARE(h.cell(2, 3), QStringLiteral("25"));
    QVERIFY(h.click("cmdContinue"));

    QVERIFY2(h.pageName() == QStringLiteral("FrmDisclosure"), PromptsText(h.prompts()));
    QCOMPARE(h.control<QLabel>("lblAPR")->text(), QStringLiteral("19.9924 %"));
    QVERIFY2(h.prompts().isEmpty(), PromptsText(h.prompts()));
    QCOMPARE(h.record().giGridRowCount, 3);
    QCOMPARE(h.record().giPymtRows, 3);
    QCOMPARE(h.record().gaPymtAmt[1], std::string("250"));
    QCOMPARE(h.record().gaOddDays[3], std::string("5"));
}

void RegularLoanTest::back_and_forward_keep_every_entry() {
    GuiHarness h;
    EnterIdentity(h);
    QVERIFY(h.click("CmdContinue"));
    h.type("txtAmtFinanced", QStringLiteral("1000"));
    h.type("txtDiscAPR", QStringLiteral("12"));
    h.type("txtDiscFinChg", QStringLiteral("66.2"));
    h.control<QRadioButton>("optPymtFreq_1")->click();
    h.type("txtUnitPeriod", QStringLiteral("3"));
    h.control<QCheckBox>("chkSecuredByRealEstate")->click();
    h.control<QCheckBox>("chkDatePre_093095")->click();
    QVERIFY(h.click("CmdContinue"));
    QVERIFY2(h.pageName() == QStringLiteral("frmPymt"), PromptsText(h.prompts()));
    h.typeCell(QStringLiteral("266.2"));
    h.tab();
    h.typeCell(QStringLiteral("4"));
    h.tab();
    QVERIFY(h.click("cmdBack"));

    QCOMPARE(h.pageName(), QStringLiteral("frmAPR1"));
    QVERIFY(h.click("CmdBack"));
    QCOMPARE(h.pageName(), QStringLiteral("frmBasicInfo"));
    QCOMPARE(h.control<QLineEdit>("txtBorrower")->text(), QStringLiteral("Lee Borrower"));
    QCOMPARE(h.control<QLineEdit>("txtAccountNbr")->text(), QStringLiteral("4417-0093"));
    QVERIFY(h.control<QWidget>("cmdNewAPR")->isEnabled());  // something entered to discard

    QVERIFY(h.click("CmdContinue"));
    QCOMPARE(h.control<QLineEdit>("txtAmtFinanced")->text(), QStringLiteral("$1,000.00"));
    QCOMPARE(h.control<QLineEdit>("txtDiscAPR")->text(), QStringLiteral("12"));
    QCOMPARE(h.control<QLineEdit>("txtDiscFinChg")->text(), QStringLiteral("$66.20"));
    QVERIFY(h.control<QRadioButton>("optPymtFreq_1")->isChecked());
    QCOMPARE(h.control<QLineEdit>("txtUnitPeriod")->text(), QStringLiteral("3"));
    QVERIFY(h.control<QCheckBox>("chkDatePre_093095")->isChecked());
    QVERIFY(h.click("CmdContinue"));
    QCOMPARE(h.cell(0, 1), QStringLiteral("266.2"));
    QCOMPARE(h.cell(0, 2), QStringLiteral("4"));
    QCOMPARE(h.cell(0, 3), QStringLiteral("1"));
    QCOMPARE(h.control<QLabel>("lblPymtFreq")->text(), QStringLiteral("Payment Frequency:  Multiples of a Month"));
    QCOMPARE(h.record().gdDaysinUnitPd, 90.0);
    QVERIFY2(h.prompts().isEmpty(), PromptsText(h.prompts()));
}

QTEST_MAIN(RegularLoanTest)
#include "regular_loan_test.moc"
