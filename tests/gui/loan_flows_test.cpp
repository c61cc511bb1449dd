// One flow per loan kind, typed as a user types it from the first page: a regular monthly loan
// with the calendar's odd days and Back and Continue keeping every entry; a construction loan
// with permanent financing through its two calendars; and reimbursement to the report and the
// case file, each checked against the command line. Then printing to PDF (copies, Cancel, the
// typeface), a case whose replay stops on a refused entry, and the offer to save a changed case.

#include "CaseCommands.h"
#include "GuiHarness.h"
#include "TypedLoan.h"
#include "shell/CaseFileActions.h"
#include "widgets/ScheduleGrid.h"

#include "engine/Format.h"

#include <nlohmann/json.hpp>

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <sstream>

class LoanFlowsTest : public QObject {
    Q_OBJECT
private slots:
    void monthly_loan_with_three_streams_and_a_calendar();
    void construction_and_permanent_through_the_calendars_and_the_schedule();
    void reimbursement_flow_saves_the_case_and_report_of_the_command_line();
    void print_to_pdf_holds_the_report_and_each_copy();
    void opened_case_stops_on_the_refused_entry_data();
    void opened_case_stops_on_the_refused_entry();
    void changed_case_is_offered_for_saving_on_exit();
};

namespace {

// The loan of the hand-laid report b-apr-understatement, through reimbursement at the
// preselected .25 % with 12 prior payments.
bool ToLumpSums(GuiHarness& h) {
    TypedLoan loan = ThirtySixPaymentsOf330(QStringLiteral("10"), QStringLiteral("1880"));
    loan.preparer = QStringLiteral("Jane Examiner");
    loan.date = QStringLiteral("06-30-2026");
    loan.borrower = QStringLiteral("Rita Refund");
    loan.account = QStringLiteral("200-3001");
    loan.lender = QStringLiteral("Lakeside Savings");
    if (!TypeLoan(h, loan) || !h.click("cmdContinue")) return false;
    h.type("txtPriorPymts", QStringLiteral("12"));
    return h.click("cmdShowAdjustment");
}

QString Currency(double value) { return QString::fromStdString(tallex::Format(value, "Currency")); }
QString Percent(double value, const char* pattern) {
    return QString::fromStdString(tallex::Format(value / 100, pattern));
}

}  // namespace

// 6000 financed, repaid by 12 x 250.00, 12 x 300.00 and one 1000.00; the loan is dated
// 01-15-2026 and the first payment falls on 02-20-2026, one month and 5 odd days later (taken
// from the calendar); the later streams follow on. The APR solving
//   6000 = sum P / ((1 + 5/30 i)(1 + i)^t)  over every payment, APR = 1200 i,
// found by bisection to 40 digits outside the program, is 19.99240 %.
void LoanFlowsTest::monthly_loan_with_three_streams_and_a_calendar() {
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

// Expected figures of the construction loan are worked by hand from the rules for construction loans: commitment
// 100,000.00 at 9 % on advances, 365/360 over the 200 days from 01-15-2026 to 08-03-2026:
// interest 0.09 x 50,000 / 360 x 200 = 2,500.00; amount financed for the solver 100,000 - 2,500 -
// 1,000 prepaid - 500 paid later = 96,000.00, shown on the results as 100,000 - 1,000.

void LoanFlowsTest::construction_and_permanent_through_the_calendars_and_the_schedule() {
    GuiHarness h;
    QVERIFY(h.choose("optType_1"));
    QVERIFY(h.click("CmdContinue"));
    QCOMPARE(h.pageName(), QStringLiteral("frmConstLoan"));
    h.type("txtLoanAmt", QStringLiteral("100000"));
    h.type("txtSimpleInt", QStringLiteral("9"));
    h.type("txtPrepdFinChg", QStringLiteral("1000"));
    h.type("txtSubFinChg", QStringLiteral("500"));
    h.tab();
    QVERIFY(h.choose("optDiscType_1"));
    QVERIFY(h.choose("optInterestType_0"));
    QCOMPARE(h.text("txtLoanAmt"), QStringLiteral("$100,000.00"));
    QVERIFY(h.click("cmdContinue"));

    QVERIFY(h.choose("optIntAccrl_2"));
    QVERIFY(h.withDialog("cmdCalendar", [](QDialog& calendar) {
        GuiHarness::fillCalendar(calendar, QStringLiteral("01152026"), QStringLiteral("08032026"));
    }));
    QCOMPARE(h.text("txtTimePeriod"), QStringLiteral("200"));
    QVERIFY(h.control<QPushButton>("cmdContinue")->hasFocus());
    QVERIFY(h.click("cmdContinue"));

    QCOMPARE(h.pageName(), QStringLiteral("frmConstInterest"));
    QCOMPARE(h.text("lblAmountIntInitialEstimate"), QStringLiteral("$2,500.00"));
    h.type("txtDiscAPR", QStringLiteral("8.25"));
    QVERIFY(h.click("cmdContinue"));
    QVERIFY2(h.pageName() == QStringLiteral("frmPymt"), PromptsText(h.prompts()));
    QCOMPARE(h.record().gdAmount, 96000.0);
    h.typeCell(QStringLiteral("770"));
    h.tab();
    h.typeCell(QStringLiteral("360"));
    h.tab();
    // Half the construction term (6 months 19 days = 199 days, half 100 days = 3 months 10
    // days) plus the permanent phase's month: 4 unit periods and 10 odd days.
    QVERIFY(h.withDialog("cmdFedCal", [](QDialog& calendar) {
        QCOMPARE(calendar.findChild<QLineEdit*>(QStringLiteral("mskLoanDate"))->text(), QStringLiteral("01-15-2026"));
        QCOMPARE(calendar.focusWidget()->objectName(), QStringLiteral("mskConstrEndDate"));
        GuiHarness::typeDate(calendar.findChild<QLineEdit*>(QStringLiteral("mskAmortPymtDate")),
                             QStringLiteral("09032026"));
        QTest::mouseClick(calendar.findChild<QPushButton*>(QStringLiteral("cmdFedCalOK")), Qt::LeftButton);
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

void LoanFlowsTest::reimbursement_flow_saves_the_case_and_report_of_the_command_line() {
    QTemporaryDir folder;
    const QString casePath = folder.filePath(QStringLiteral("review.json"));
    const QString reportPath = folder.filePath(QStringLiteral("report.txt"));
    GuiHarness h;
    QVERIFY2(ToLumpSums(h), PromptsText(h.prompts()));
    const QStringList reimbursement = {h.text("lblAdjAPR2"), h.text("lblProFactor2"), h.text("lblFinalAPRAdj2"),
                                       h.text("lblLmpSum2"), h.text("lblLmpSumPymtRed2")};
    h.outputs().queueFileName(casePath);
    h.trigger("mnuSaveCaseAs");
    QVERIFY2(h.prompts().isEmpty(), PromptsText(h.prompts()));  // confirmed in the status bar
    h.outputs().queueFileName(reportPath);
    h.trigger("mnuSaveReport");
    QCOMPARE(h.prompts(), QStringList{"Report has been saved in " + reportPath + "."});
    QCOMPARE(h.user().prompts()[0].style, short(64));
    QCOMPARE(ReadAll(reportPath), ReadAll(QFINDTESTDATA("../golden/b-apr-understatement.expected.txt")));
    // Only the files asked for are written: no temporary file is left near them.
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), (QStringList{"report.txt", "review.json"}));
    QVERIFY(h.click("cmdBack"));
    const QStringList results = {h.text("lblAPR"), h.text("lblAmount"), h.text("lblFinanceChg"), h.text("lblTotPymts"),
                                 h.text("lblAPRViolAmt")};

    // The command line's check of the saved case gives the figures on the pages.
    std::ostringstream out, err;
    QCOMPARE(tallex::cli::RunCheckCommand({casePath.toStdString(), ""}, out, err), 1);  // a violation
    const nlohmann::json verdict = nlohmann::json::parse(out.str());
    QCOMPARE(results, (QStringList{Percent(verdict["calc_apr"], "###0.0000 %"), Currency(verdict["amount_financed"]),
                                   Currency(verdict["finance_charge"]), Currency(verdict["total_of_payments"]),
                                   Percent(verdict["apr_diff"], "###0.0000 %")}));
    const nlohmann::json& r = verdict["reimbursement"];
    QCOMPARE(reimbursement, (QStringList{Percent(r["adjusted_apr"], "##0.000 %"),
                                         QString::fromStdString(tallex::Format(r["prorate_factor"], "##.##########")),
                                         Currency(r["apr_adjustment_final"]), Currency(r["lump_sum"]),
                                         Currency(r["lump_sum_payment_reduction"])}));
}

void LoanFlowsTest::print_to_pdf_holds_the_report_and_each_copy() {
    if (!HavePdfTools()) QSKIP("pdftotext is not installed");
    QTemporaryDir folder;
    const QString one = folder.filePath(QStringLiteral("one.pdf"));
    const QString two = folder.filePath(QStringLiteral("two.pdf"));
    GuiHarness h;
    QVERIFY2(ToLumpSums(h), PromptsText(h.prompts()));
    // A cancelled print dialog writes and says nothing.
    h.outputs().queuePrintCancel();
    QVERIFY(h.click("CmdPrint"));
    h.outputs().queuePrintToPdf(one, 1);
    QVERIFY(h.click("CmdPrint"));
    h.outputs().queuePrintToPdf(two, 2);
    h.trigger("mnuPrint");
    QCOMPARE(h.outputs().requests(), (QStringList{"print", "print", "print"}));
    QVERIFY2(h.prompts().isEmpty(), PromptsText(h.prompts()));

    const QString text = PdfText(one);
    QVERIFY2(text.contains(QStringLiteral("APR Disclosure Documentation")), qPrintable(text));
    // Save Report to a PDF file: the printed pages, by the same plan.
    const QString saved = folder.filePath(QStringLiteral("saved.pdf"));
    h.outputs().queueFileName(saved);
    h.trigger("mnuSaveReport");
    QCOMPARE(PdfText(saved), text);
    // The reimbursement section starts a page of its own; each copy has every page.
    const qsizetype pages = text.count(QLatin1Char('\f'));
    QVERIFY(text.left(text.indexOf(QStringLiteral("Reimbursement Documentation"))).count(QLatin1Char('\f')) >= 1);
    QCOMPARE(PdfText(two).count(QLatin1Char('\f')), 2 * pages);
    QCOMPARE(PdfText(two).count(QStringLiteral("APR Disclosure Documentation")), 2);
    // Printed in a Courier family, else Liberation Mono (Courier's metrics), never a proportional face.
    QProcess fonts;
    fonts.start(QStringLiteral("pdffonts"), {one});
    if (fonts.waitForStarted(5000) && fonts.waitForFinished(10000)) {
        const QString list = QString::fromUtf8(fonts.readAllStandardOutput());
        QVERIFY2(list.contains(QStringLiteral("Courier"), Qt::CaseInsensitive) ||
                     list.contains(QStringLiteral("LiberationMono")),
                 qPrintable(list));
    }
}

void LoanFlowsTest::opened_case_stops_on_the_refused_entry_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("focus");  // a box, or "row,column" of the schedule grid
    QTest::newRow("key") << "refused-apr-key.json"
                         << "frmAPR1"
                         << "txtDiscAPR";
    QTest::newRow("construction entry") << "refused-simple-rate.json"
                                        << "frmConstLoan"
                                        << "txtSimpleInt";
    QTest::newRow("schedule cell") << "refused-payments-cell.json"
                                   << "frmPymt"
                                   << "0,2";
    // The timing cells, where the calculator opens again.
    QTest::newRow("calculator date") << "refused-payment-date.json"
                                     << "frmPymt"
                                     << "0,3";
}

void LoanFlowsTest::opened_case_stops_on_the_refused_entry() {
    QFETCH(QString, file);
    QFETCH(QString, page);
    QFETCH(QString, focus);
    GuiHarness h;
    h.outputs().queueFileName(QFINDTESTDATA("cases/" + file));
    h.trigger("mnuOpenCase");
    // One message: the page's own refusal, shown as the page shows it (its text is compared with
    // the command line's in the front ends test).
    QCOMPARE(h.user().prompts().size(), std::size_t{1});
    QCOMPARE(h.user().prompts()[0].style, short(48));
    QCOMPARE(h.pageName(), page);
    if (focus.contains(QLatin1Char(','))) {
        QVERIFY(h.grid()->editorWidget() && h.grid()->editorWidget()->hasFocus());
        QCOMPARE(QStringLiteral("%1,%2").arg(h.grid()->currentRow()).arg(h.grid()->currentColumn()), focus);
    } else {
        QVERIFY(QApplication::focusWidget());
        QCOMPARE(QApplication::focusWidget()->objectName(), focus);
    }
    QCOMPARE(h.window().caseFiles().fileName(), QFINDTESTDATA("cases/" + file));
}

void LoanFlowsTest::changed_case_is_offered_for_saving_on_exit() {
    QTemporaryDir folder;
    const QString casePath = folder.filePath(QStringLiteral("review.json"));
    GuiHarness h;
    QVERIFY(TypeLoan(h, ThirtySixPaymentsOf330(QStringLiteral("10"), QStringLiteral("1880"))));
    h.outputs().queueFileName(casePath);
    h.window().caseFiles().saveCaseAs();
    QVERIFY(ReadAll(casePath).contains("0.25"));
    h.forgetPrompts();
    h.control<QRadioButton>("optTolerance_1")->click();
    h.answerNext(tallex::kAnswerYesButton);
    h.window().ExitProgram();
    QCOMPARE(h.prompts(),
             QStringList{"The case has changed since it was saved in " + casePath + ".\r\n\r\nSave the changes?"});
    QCOMPARE(h.user().prompts()[0].style, short(tallex::kStyleSaveDiscardCancel));
    QVERIFY(!h.window().isVisible());
    QVERIFY(ReadAll(casePath).contains("0.125"));
    // Written whole, by rename: nothing else is left in the folder.
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{"review.json"});
}

QTEST_MAIN(LoanFlowsTest)
#include "loan_flows_test.moc"
