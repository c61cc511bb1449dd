// The reimbursement flow to the report and the case file, each checked against the command
// line; printing to PDF (copies, Cancel, the typeface); a case whose replay stops on a refused
// entry; and the offer to save a changed case.

#include "CaseCommands.h"
#include "GuiHarness.h"
#include "TypedLoan.h"
#include "shell/CaseFileActions.h"
#include "widgets/ScheduleGrid.h"

#include "engine/Format.h"

#include <nlohmann/json.hpp>

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <sstream>

class PrintSaveTest : public QObject {
    Q_OBJECT
private slots:
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

void PrintSaveTest::reimbursement_flow_saves_the_case_and_report_of_the_command_line() {
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

void PrintSaveTest::print_to_pdf_holds_the_report_and_each_copy() {
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

void PrintSaveTest::opened_case_stops_on_the_refused_entry_data() {
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

void PrintSaveTest::opened_case_stops_on_the_refused_entry() {
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

void PrintSaveTest::changed_case_is_offered_for_saving_on_exit() {
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

QTEST_MAIN(PrintSaveTest)
#include "print_save_test.moc"
