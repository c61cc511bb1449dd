// One flow per loan kind, typed as a user types it from the first page: a regular monthly loan
// with the calendar's odd days and Back and Continue keeping every entry; a construction loan
// alone, and one with permanent financing through its two calendars; and reimbursement, printed
// and saved, against the command line, and the offer to save the case changed since. (The loan
// with an advance goes through to its pictures in pictures_test.)

#include "CaseCommands.h"
#include "TypedLoan.h"
#include "widgets/ScheduleGrid.h"

#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QProcess>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <sstream>

namespace {

// Types into each box of the page shown, then leaves the last.
void TypeTerms(GuiHarness& h, std::initializer_list<std::pair<const char*, const char*>> boxes) {
    for (const auto& [box, text] : boxes) h.type(box, QString::fromLatin1(text));
    h.tab();
}

// A construction loan of 100,000.00 with 1,000.00 prepaid and 500.00 paid later, typed on the
// first two pages as far as the construction phase page.
bool ConstructionTerms(GuiHarness& h, const char* rate, const char* disclosure, const char* interestOn) {
    if (!h.choose("optType_1") || !h.click("CmdContinue")) return false;
    TypeTerms(h,
              {{"txtLoanAmt", "100000"}, {"txtSimpleInt", rate}, {"txtPrepdFinChg", "1000"}, {"txtSubFinChg", "500"}});
    return h.choose(disclosure) && h.choose(interestOn) && h.click("cmdContinue");
}

}  // namespace

class LoanFlowsTest : public QObject {
    Q_OBJECT
private slots:
    void monthly_loan_with_three_streams_and_a_calendar();
    void construction_only_with_an_estimate_of_its_interest();
    void construction_and_permanent_through_the_calendars_and_the_schedule();
    void reimbursement_printed_and_saved_as_the_command_line_has_it();
};

// 6000 financed, repaid by 12 x 250.00, 12 x 300.00 and one 1000.00; the loan is dated
// 01-15-2026 and the first payment falls on 02-20-2026, one month and 5 odd days later (taken
// from the calendar); the later streams follow on. The APR solving
//   6000 = sum P / ((1 + 5/30 i)(1 + i)^t)  over every payment, APR = 1200 i,
// found by bisection to 40 digits outside the program, is 19.99240 %.
void LoanFlowsTest::monthly_loan_with_three_streams_and_a_calendar() {
    GuiHarness h;
    TypedLoan loan;
    loan.amountFinanced = QStringLiteral("6000");
    loan.disclosedApr = QStringLiteral("19.5");
    loan.disclosedFinanceCharge = QStringLiteral("1600");
    QVERIFY(!TypeLoan(h, loan));  // stops on the empty schedule
    QCOMPARE(h.pageName(), QStringLiteral("frmPymt"));
    h.forgetPrompts();
    h.typeCells({"250", "12"});
    QVERIFY(h.withDialog("cmdFedCal", [](QDialog& calendar) {
        GuiHarness::fillCalendar(calendar, {{"mskStartDate", "01152026"}, {"mskEndDate", "02202026"}});
    }));
    QCOMPARE(h.cell(0, 3), QStringLiteral("1"));
    QCOMPARE(h.cell(0, 4), QStringLiteral("5"));
    QCOMPARE(h.grid()->currentColumn(), 4);
    h.tab();
    h.typeCells({"300", "12", "", "", "1000", "1"});
    QVERIFY(h.click("cmdContinue"));
    QVERIFY2(h.pageName() == QStringLiteral("FrmDisclosure"), PromptsText(h.prompts()));
    QCOMPARE(h.text("lblAPR"), QStringLiteral("19.9924 %"));
    QVERIFY2(h.prompts().isEmpty(), PromptsText(h.prompts()));

    // Back to the first page and forward again: every entry is kept, and the APR with it.
    for (const char* back : {"cmdBack", "cmdBack", "CmdBack"}) QVERIFY(h.click(back));
    QCOMPARE(h.text("txtBorrower"), QStringLiteral("Lee Borrower"));
    for (const char* next : {"CmdContinue", "CmdContinue", "cmdContinue"}) QVERIFY(h.click(next));
    QCOMPARE(h.text("lblAPR"), QStringLiteral("19.9924 %"));
}

// The loan of the hand-laid report e-construction-only: 100,000.00 at 10 % on the whole
// commitment for 18 months (360/360), the construction interest estimated at 4,500.00; its APR
// there is 7.9525 %.
void LoanFlowsTest::construction_only_with_an_estimate_of_its_interest() {
    GuiHarness h;
    QVERIFY(ConstructionTerms(h, "10", "optDiscType_0", "optInterestType_1"));
    QVERIFY(h.choose("optIntAccrl_0"));
    TypeTerms(h, {{"txtTimePeriod", "18"}});
    QVERIFY(h.click("cmdContinue"));
    TypeTerms(h, {{"txtAmtInt", "4500"}, {"txtDiscAPR", "10.5"}, {"txtFinChg", "6000"}});
    QVERIFY(h.click("cmdContinue"));
    QVERIFY2(h.pageName() == QStringLiteral("frmRecDiscl"), qPrintable(h.pageName() + PromptsText(h.prompts())));
    QCOMPARE(h.text("lblAPR"), QStringLiteral("7.9525 %"));
    QCOMPARE(h.text("lblAmount"), QStringLiteral("$99,000.00"));
}

// The construction loan's figures are worked by hand: commitment 100,000.00 at 9 % on advances, 365/360 over the 200
// days from 01-15-2026 to 08-03-2026: interest 0.09 x 50,000 / 360 x 200 = 2,500.00; amount financed for the solver
// 100,000 - 2,500 - 1,000 prepaid - 500 paid later = 96,000.00, shown on the results as 100,000 - 1,000.
void LoanFlowsTest::construction_and_permanent_through_the_calendars_and_the_schedule() {
    GuiHarness h;
    QVERIFY(ConstructionTerms(h, "9", "optDiscType_1", "optInterestType_0"));
    QVERIFY(h.choose("optIntAccrl_2"));
    QVERIFY(h.withDialog("cmdCalendar", [](QDialog& calendar) {
        GuiHarness::fillCalendar(calendar, {{"mskStartDate", "01152026"}, {"mskEndDate", "08032026"}});
    }));
    QCOMPARE(h.text("txtTimePeriod"), QStringLiteral("200"));
    QVERIFY(h.click("cmdContinue"));

    QCOMPARE(h.pageName(), QStringLiteral("frmConstInterest"));
    QCOMPARE(h.text("lblAmountIntInitialEstimate"), QStringLiteral("$2,500.00"));
    h.type("txtDiscAPR", QStringLiteral("8.25"));
    QVERIFY(h.click("cmdContinue"));
    QVERIFY2(h.pageName() == QStringLiteral("frmPymt"), PromptsText(h.prompts()));
    h.typeCells({"770", "360"});
    // Half the construction term (6 months 19 days = 199 days, half 100 days = 3 months 10
    // days) plus the permanent phase's month: 4 unit periods and 10 odd days.
    QVERIFY(h.withDialog("cmdFedCal", [](QDialog& calendar) {
        QCOMPARE(calendar.findChild<QLineEdit*>(QStringLiteral("mskLoanDate"))->text(), QStringLiteral("01-15-2026"));
        QCOMPARE(calendar.focusWidget()->objectName(), QStringLiteral("mskConstrEndDate"));
        GuiHarness::fillCalendar(calendar, {{"mskAmortPymtDate", "09032026"}});
    }));
    QCOMPARE(h.cell(0, 3), QStringLiteral("4"));
    QCOMPARE(h.cell(0, 4), QStringLiteral("10"));

    // Back from the schedule goes to the construction interest page, which kept its entries.
    QVERIFY(h.click("cmdBack"));
    QCOMPARE(h.pageName(), QStringLiteral("frmConstInterest"));
    QCOMPARE(h.text("txtDiscAPR"), QStringLiteral("8.25"));
    QVERIFY(h.click("cmdContinue"));
    QVERIFY(h.click("cmdContinue"));

    // 96,000 = 770 x annuity(360) x (1 + i) / ((1 + i)^4 (1 + 10/30 i)), APR = 1200 i, found by
    // bisection to 40 digits outside the program: 8.69814 %.
    QVERIFY2(h.pageName() == QStringLiteral("FrmDisclosure"), PromptsText(h.prompts()));
    QCOMPARE(h.text("lblAPR"), QStringLiteral("8.6981 %"));
    QCOMPARE(h.text("lblAmount"), QStringLiteral("$99,000.00"));
    QCOMPARE(h.text("lblSubFnceChg"), QStringLiteral("$500.00"));
}

// The loan of the hand-laid report b-apr-understatement, through reimbursement at the
// preselected .25 % with 12 prior payments: printed (a dialog cancelled, then by the menu), the
// case saved and the report saved as text and as PDF. The report is the hand-laid one, the PDF
// the printed pages, with the reimbursement on a page of its own, in a Courier face.
void LoanFlowsTest::reimbursement_printed_and_saved_as_the_command_line_has_it() {
    QTemporaryDir folder;
    const auto file = [&folder](const char* name) { return folder.filePath(QString::fromLatin1(name)); };
    GuiHarness h;
    TypedLoan loan = ThirtySixPaymentsOf330(QStringLiteral("10"), QStringLiteral("1880"));
    loan.preparer = QStringLiteral("Jane Examiner");
    loan.date = QStringLiteral("06-30-2026");
    loan.borrower = QStringLiteral("Rita Refund");
    loan.account = QStringLiteral("200-3001");
    loan.lender = QStringLiteral("Lakeside Savings");
    QVERIFY2(TypeLoan(h, loan) && h.click("cmdContinue"), PromptsText(h.prompts()));
    h.type("txtPriorPymts", QStringLiteral("12"));
    QVERIFY(h.click("cmdShowAdjustment"));
    QVERIFY(h.click("CmdPrint"));  // the print dialog cancelled
    h.outputs().queuePrintToPdf(file("printed.pdf"));
    h.trigger("mnuPrint");
    QVERIFY2(h.prompts().isEmpty(), PromptsText(h.prompts()));
    h.outputs().queueFileName(file("review.json"));
    h.trigger("mnuSaveCaseAs");
    h.outputs().queueFileName(file("saved.pdf"));
    h.trigger("mnuSaveReport");
    h.outputs().queueFileName(file("report.txt"));
    h.trigger("mnuSaveReport");
    QCOMPARE(h.prompts().last(), "Report has been saved in " + file("report.txt") + ".");
    QCOMPARE(ReadAll(file("report.txt")), ReadAll(QFINDTESTDATA("../golden/b-apr-understatement.expected.txt")));
    // Only the files asked for are written: no temporary file is left near them.
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files).size(), 4);
    const QString text = PdfText(file("printed.pdf"));
    QVERIFY2(text.contains(QStringLiteral("APR Disclosure Documentation")), qPrintable(text));
    QCOMPARE(PdfText(file("saved.pdf")), text);
    QVERIFY(text.left(text.indexOf(QStringLiteral("Reimbursement Documentation"))).count(QLatin1Char('\f')) >= 1);
    QProcess fonts;  // a Courier face, else Liberation Mono (Courier's metrics)
    fonts.start(QStringLiteral("pdffonts"), {file("printed.pdf")});
    QVERIFY(fonts.waitForFinished(10000));
    const QString list = QString::fromUtf8(fonts.readAllStandardOutput());
    QVERIFY2(list.contains(QStringLiteral("Courier"), Qt::CaseInsensitive) || list.contains("LiberationMono"),
             qPrintable(list));
    // The saved case gives the command line the same report; changed since, Exit offers to save
    // it, and Yes writes it whole, by rename.
    std::ostringstream out, err;
    QCOMPARE(
        tallex::cli::RunReportCommand({file("review.json").toStdString(), file("cli.txt").toStdString()}, out, err), 0);
    QCOMPARE(ReadAll(file("cli.txt")), ReadAll(file("report.txt")));
    QVERIFY(h.click("cmdBack"));
    h.control<QRadioButton>("optTolerance_1")->click();
    h.forgetPrompts();
    h.answerNext(tallex::kAnswerYesButton);
    h.window().ExitProgram();
    QCOMPARE(h.prompts(), QStringList{"The case has changed since it was saved in " + file("review.json") +
                                      ".\r\n\r\nSave the changes?"});
    QVERIFY(!h.window().isVisible());
    QVERIFY(ReadAll(file("review.json")).contains("0.125"));
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files).size(), 5);
}

QTEST_MAIN(LoanFlowsTest)
#include "loan_flows_test.moc"
