// Printing and saving the report, and keeping a review in a case file: the print dialog's PDF
// output, copies and Cancel; Save Report against a report laid out by hand; Save Case As checked
// by the command line's own check; Open Case; the offer to save a changed case.

#include "CaseCommands.h"
#include "GuiHarness.h"
#include "TypedLoan.h"
#include "shell/CaseFileActions.h"
#include "widgets/ScheduleGrid.h"

#include "engine/Format.h"

#include <nlohmann/json.hpp>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <sstream>

class PrintSaveTest : public QObject {
    Q_OBJECT
private slots:
    void print_to_pdf_holds_the_report_and_each_copy();
    void cancelled_dialogs_write_and_say_nothing();
    void save_report_writes_the_report_laid_out_by_hand();
    void save_report_failure_is_reported();
    void saved_case_checks_to_the_figures_on_the_pages();
    void opened_case_fills_the_pages_as_typed();
    void opened_case_stops_on_the_refused_entry_data();
    void opened_case_stops_on_the_refused_entry();
    void opening_refuses_what_it_cannot_take_data();
    void opening_refuses_what_it_cannot_take();
    void changed_case_is_offered_for_saving_on_exit_and_new_loan();
    void new_loan_leaves_the_case_file_behind();
};

namespace {

QString LabelText(GuiHarness& h, const char* name) {
    const QLabel* label = h.control<QLabel>(name);
    return label ? label->text() : QStringLiteral("<missing %1>").arg(QString::fromLatin1(name));
}

// The loan of the hand-laid report b-apr-understatement: identity, terms and schedule.
TypedLoan ReportLoan() {
    TypedLoan loan = ThirtySixPaymentsOf330(QStringLiteral("10"), QStringLiteral("1880"));
    loan.preparer = QStringLiteral("Jane Examiner");
    loan.date = QStringLiteral("06-30-2026");
    loan.borrower = QStringLiteral("Rita Refund");
    loan.account = QStringLiteral("200-3001");
    loan.lender = QStringLiteral("Lakeside Savings");
    return loan;
}

// Through reimbursement at the preselected .25 % with 12 prior payments.
bool ToLumpSums(GuiHarness& h) {
    if (!TypeLoan(h, ReportLoan()) || !h.click("cmdContinue")) return false;
    h.type("txtPriorPymts", QStringLiteral("12"));
    return h.click("cmdShowAdjustment");
}

QString PdfText(const QString& pdf) {
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!text.waitForFinished(10000)) return {};
    return QString::fromUtf8(text.readAllStandardOutput());
}

bool HavePdfTools() { return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty(); }

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString CheckOutput(const QString& casePath, int& exitCode) {
    std::ostringstream out, err;
    exitCode = tallex::cli::RunCheckCommand({casePath.toStdString(), ""}, out, err);
    return QString::fromStdString(out.str() + err.str());
}

QString Currency(double value) { return QString::fromStdString(tallex::Format(value, "Currency")); }

}  // namespace

void PrintSaveTest::print_to_pdf_holds_the_report_and_each_copy() {
    if (!HavePdfTools()) QSKIP("pdftotext is not installed");
    QTemporaryDir folder;
    const QString one = folder.filePath(QStringLiteral("one.pdf"));
    const QString two = folder.filePath(QStringLiteral("two.pdf"));
    GuiHarness h;
    QVERIFY2(ToLumpSums(h), PromptsText(h.prompts()));
    h.outputs().queuePrintToPdf(one, 1);
    QVERIFY(h.click("CmdPrint"));
    h.outputs().queuePrintToPdf(two, 2);
    h.window().findChild<QAction*>(QStringLiteral("mnuPrint"))->trigger();
    QVERIFY2(h.prompts().isEmpty(), PromptsText(h.prompts()));

    const QString text = PdfText(one);
    QVERIFY2(text.contains(QStringLiteral("APR Disclosure Documentation")), qPrintable(text));
    // Save Report to a PDF file: the printed pages, by the same plan.
    const QString saved = folder.filePath(QStringLiteral("saved.pdf"));
    h.outputs().queueFileName(saved);
    h.window().findChild<QAction*>(QStringLiteral("mnuSaveReport"))->trigger();
    QCOMPARE(PdfText(saved), text);
    QVERIFY(text.contains(QStringLiteral("TALLEX - Version 6.2.0")));
    QVERIFY(text.contains(QStringLiteral("Lump Sum Method:")));
    // The reimbursement section starts a page of its own; each copy has every page.
    const qsizetype pages = text.count(QLatin1Char('\f'));
    QVERIFY2(pages >= 2, qPrintable(QString::number(pages)));
    QCOMPARE(PdfText(two).count(QLatin1Char('\f')), 2 * pages);
    QCOMPARE(PdfText(two).count(QStringLiteral("APR Disclosure Documentation")), 2);
    const int reimbursementPage =
        text.left(text.indexOf(QStringLiteral("Reimbursement Documentation"))).count(QLatin1Char('\f'));
    QVERIFY(reimbursementPage >= 1);
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

void PrintSaveTest::cancelled_dialogs_write_and_say_nothing() {
    GuiHarness h;
    QVERIFY2(TypeLoan(h, ReportLoan()), PromptsText(h.prompts()));
    h.outputs().queuePrintCancel();
    QVERIFY(h.click("cmdPrint"));
    QVERIFY(h.click("cmdSaveReport"));  // nothing queued: the save dialog is cancelled
    QCOMPARE(h.outputs().requests(),
             (QStringList{"print", "save Save Report [Text (*.txt);;PDF (*.pdf);;All Files (*)]"}));
    QVERIFY2(h.prompts().isEmpty(), PromptsText(h.prompts()));
    QVERIFY(h.control<QRadioButton>("optTolerance_2")->hasFocus());  // FormSetFocus after Print
}

void PrintSaveTest::save_report_writes_the_report_laid_out_by_hand() {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("report.txt"));
    GuiHarness h;
    QVERIFY2(ToLumpSums(h), PromptsText(h.prompts()));
    h.outputs().queueFileName(path);
    h.window().findChild<QAction*>(QStringLiteral("mnuSaveReport"))->trigger();
    QCOMPARE(h.prompts(), QStringList{"Report has been saved in " + path + "."});
    QCOMPARE(h.user().prompts()[0].style, short(64));
    const QByteArray expected = ReadAll(QFINDTESTDATA("../golden/b-apr-understatement.expected.txt"));
    QVERIFY(!expected.isEmpty());
    QCOMPARE(ReadAll(path), expected);
    // Only the report is written: no temporary file is left anywhere near it.
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{"report.txt"});
}

void PrintSaveTest::save_report_failure_is_reported() {
    QTemporaryDir folder;
    GuiHarness h;
    QVERIFY2(TypeLoan(h, ReportLoan()), PromptsText(h.prompts()));
    h.outputs().queueFileName(folder.filePath(QStringLiteral("missing/report.txt")));
    QVERIFY(h.click("cmdSaveReport"));
    QCOMPARE(h.prompts(), QStringList{"Unable to print report to file.  Error # 76 - Path not found"});
    QCOMPARE(h.user().prompts()[0].style, short(16));
}

void PrintSaveTest::saved_case_checks_to_the_figures_on_the_pages() {
    QTemporaryDir folder;
    const QString casePath = folder.filePath(QStringLiteral("review.json"));
    const QString reportPath = folder.filePath(QStringLiteral("report.txt"));
    GuiHarness h;
    QVERIFY2(ToLumpSums(h), PromptsText(h.prompts()));
    const QStringList reimbursement = {LabelText(h, "lblAdjAPR2"), LabelText(h, "lblProFactor2"),
                                       LabelText(h, "lblFinalAPRAdj2"), LabelText(h, "lblLmpSum2"),
                                       LabelText(h, "lblLmpSumPymtRed2")};
    h.outputs().queueFileName(casePath);
    h.window().findChild<QAction*>(QStringLiteral("mnuSaveCaseAs"))->trigger();
    QVERIFY2(h.prompts().isEmpty(), PromptsText(h.prompts()));  // confirmed in the status bar
    QVERIFY(h.click("cmdBack"));
    const QStringList results = {LabelText(h, "lblAPR"), LabelText(h, "lblAmount"), LabelText(h, "lblFinanceChg"),
                                 LabelText(h, "lblTotPymts"), LabelText(h, "lblAPRViolAmt")};

    int exitCode = -1;
    const QString output = CheckOutput(casePath, exitCode);
    QCOMPARE(exitCode, 1);  // a case owing reimbursement has a violation
    const nlohmann::json verdict = nlohmann::json::parse(output.toStdString());
    const auto pct = [](double v, const char* pattern) {
        return QString::fromStdString(tallex::Format(v / 100, pattern));
    };
    QCOMPARE(results, (QStringList{pct(verdict["calc_apr"], "###0.0000 %"), Currency(verdict["amount_financed"]),
                                   Currency(verdict["finance_charge"]), Currency(verdict["total_of_payments"]),
                                   pct(verdict["apr_diff"], "###0.0000 %")}));
    const nlohmann::json& r = verdict["reimbursement"];
    QCOMPARE(reimbursement, (QStringList{pct(r["adjusted_apr"], "##0.000 %"),
                                         QString::fromStdString(tallex::Format(r["prorate_factor"], "##.##########")),
                                         Currency(r["apr_adjustment_final"]), Currency(r["lump_sum"]),
                                         Currency(r["lump_sum_payment_reduction"])}));
    QVERIFY(verdict["apr_understated_violation"].get<bool>());

    // The command line's report of the saved case is the program's own.
    std::ostringstream out, err;
    QCOMPARE(tallex::cli::RunReportCommand({casePath.toStdString(), reportPath.toStdString()}, out, err), 0);
    QCOMPARE(ReadAll(reportPath), ReadAll(QFINDTESTDATA("../golden/b-apr-understatement.expected.txt")));
}

void PrintSaveTest::opened_case_fills_the_pages_as_typed() {
    GuiHarness h;
    h.outputs().queueFileName(QFINDTESTDATA("../golden/c-apr-and-fc-adjustment.json"));
    h.window().findChild<QAction*>(QStringLiteral("mnuOpenCase"))->trigger();
    QVERIFY2(h.prompts().isEmpty(), PromptsText(h.prompts()));
    QCOMPARE(h.pageName(), QStringLiteral("frmPymt"));
    QCOMPARE(h.cell(0, 1), QStringLiteral("330"));
    QCOMPARE(h.cell(0, 2), QStringLiteral("36"));
    QVERIFY(h.click("cmdContinue"));
    QCOMPARE(h.pageName(), QStringLiteral("FrmDisclosure"));
    QCOMPARE(LabelText(h, "lblAPR"), QStringLiteral("11.5504 %"));
    QCOMPARE(LabelText(h, "lblDisclFinanceChg"), QStringLiteral("$1,500.00"));
    QCOMPARE(LabelText(h, "lblFinanceViolAmt"), QStringLiteral("$380.00"));
    QVERIFY(h.click("cmdBack"));
    QVERIFY(h.click("cmdBack"));
    QCOMPARE(h.pageName(), QStringLiteral("frmAPR1"));
    QCOMPARE(h.control<QLineEdit>("txtAmtFinanced")->text(), QStringLiteral("$10,000.00"));
    QCOMPARE(h.control<QLineEdit>("txtDiscAPR")->text(), QStringLiteral("10"));
    QVERIFY(h.click("CmdBack"));
    QCOMPARE(h.control<QLineEdit>("txtBorrower")->text(), QStringLiteral("Carl Charge"));
    QCOMPARE(h.control<QLineEdit>("txtAccountNbr")->text(), QStringLiteral("200-3002"));
    QCOMPARE(h.window().caseFiles().fileName(), QFINDTESTDATA("../golden/c-apr-and-fc-adjustment.json"));
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
    h.window().findChild<QAction*>(QStringLiteral("mnuOpenCase"))->trigger();
    h.settle();
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

void PrintSaveTest::opening_refuses_what_it_cannot_take_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("message");
    QTest::newRow("wrong type") << QByteArray(R"({"kind": "regular", "schedule": 5})")
                                << QStringLiteral("The case file %1 cannot be read: schedule: ");
    QTest::newRow("not JSON") << QByteArray("APR.INI") << QStringLiteral("The case file %1 cannot be read: ");
}

void PrintSaveTest::opening_refuses_what_it_cannot_take() {
    QFETCH(QByteArray, content);
    QFETCH(QString, message);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("case.json"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();
    GuiHarness h;
    h.type("txtBorrower", QStringLiteral("Kept Borrower"));
    h.outputs().queueFileName(path);
    h.window().findChild<QAction*>(QStringLiteral("mnuOpenCase"))->trigger();
    QCOMPARE(h.prompts().size(), 1);
    const QString expected = message.contains(QStringLiteral("%1")) ? message.arg(path) : message;
    QVERIFY2(h.prompts()[0].startsWith(expected), qPrintable(h.prompts()[0]));
    // Nothing was discarded.
    QCOMPARE(h.control<QLineEdit>("txtBorrower")->text(), QStringLiteral("Kept Borrower"));
    QVERIFY(h.window().caseFiles().fileName().isEmpty());
}

void PrintSaveTest::changed_case_is_offered_for_saving_on_exit_and_new_loan() {
    QTemporaryDir folder;
    const QString casePath = folder.filePath(QStringLiteral("review.json"));
    const QString question = "The case has changed since it was saved in " + casePath + ".\r\n\r\nSave the changes?";
    GuiHarness h;
    QVERIFY(TypeLoan(h, ReportLoan()));
    h.outputs().queueFileName(casePath);
    h.window().caseFiles().saveCaseAs();
    const QByteArray saved = ReadAll(casePath);
    QVERIFY(saved.contains("\"tolerance\": \"0.25\"") || saved.contains("\"tolerance\":\"0.25\""));
    h.forgetPrompts();
    // Unchanged: New Loan only asks its own question.
    h.answerNext(tallex::kAnswerNoButton);
    h.window().NewLoan();
    QCOMPARE(h.prompts(), QStringList{"Start a new loan?  (Discard current data?) "});
    h.forgetPrompts();

    h.control<QRadioButton>("optTolerance_1")->click();
    h.answerNext(tallex::kAnswerYesButton);
    h.window().ExitProgram();
    QCOMPARE(h.prompts(), QStringList{question});
    QCOMPARE(h.user().prompts()[0].style, short(tallex::kStyleSaveDiscardCancel));
    QVERIFY(!h.window().isVisible());
    const QByteArray resaved = ReadAll(casePath);
    QVERIFY2(resaved.contains("0.125"), resaved.constData());
    // Written whole, by rename: nothing else is left in the folder.
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{"review.json"});
}

void PrintSaveTest::new_loan_leaves_the_case_file_behind() {
    QTemporaryDir folder;
    GuiHarness h;
    QVERIFY(TypeLoan(h, ReportLoan()));
    h.outputs().queueFileName(folder.filePath(QStringLiteral("review.json")));
    h.window().caseFiles().saveCaseAs();
    h.forgetPrompts();
    h.answerNext(tallex::kAnswerYesButton);
    h.window().NewLoan();
    QVERIFY(h.window().caseFiles().fileName().isEmpty());
    // The next loan is no longer the saved case: Exit asks nothing again.
    h.type("txtBorrower", QStringLiteral("Someone Else"));
    h.window().ExitProgram();
    QCOMPARE(h.prompts(), QStringList{"Start a new loan?  (Discard current data?) "});
    QVERIFY(!h.window().isVisible());
}

QTEST_MAIN(PrintSaveTest)
#include "print_save_test.moc"
