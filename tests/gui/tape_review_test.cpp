// File > Review Loan Tape...: the cases of a tape listed as the command line checks them,
// filtered, one opened in the pages; the list exported as the command line's own CSV.

#include "CaseCommands.h"
#include "GuiHarness.h"
#include "review/TapeReviewWindow.h"

#include <nlohmann/json.hpp>

#include <QComboBox>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <sstream>

class TapeReviewTest : public QObject {
    Q_OBJECT
private slots:
    void tape_is_filtered_a_case_opened_and_the_list_exported();
};

namespace {

QString ExampleTape() { return QFINDTESTDATA("../../examples/loan-tape.csv"); }

// `tallex-cli batch` of the input, in the format asked.
std::string Batch(const QString& input, const char* format) {
    std::istringstream in;
    std::ostringstream out, err;
    tallex::cli::CaseCommandOptions options;
    options.input = input.toStdString();
    options.format = format;
    tallex::cli::RunBatchCommand(options, in, out, err, false);
    return out.str();
}

}  // namespace

void TapeReviewTest::tape_is_filtered_a_case_opened_and_the_list_exported() {
    GuiHarness h;
    // The command line's verdicts of the same tape: which cases are violations, and their APRs.
    std::istringstream lines(Batch(ExampleTape(), "jsonl"));
    QStringList violations;
    std::vector<double> aprs;
    int cases = 0;
    for (std::string line; std::getline(lines, line); ++cases) {
        const nlohmann::json verdict = nlohmann::json::parse(line);
        if (verdict.value("verdict", "") != "violation") continue;
        violations << QString::fromStdString(verdict["case"]);
        aprs.push_back(verdict["calc_apr"]);
    }
    QVERIFY(violations.size() >= 2 && violations.size() < cases);  // the filter at work

    h.outputs().queueFileName(ExampleTape());
    h.trigger("mnuReviewTape");
    auto* review = h.window().findChild<TapeReviewWindow*>();
    QVERIFY(review && QTest::qWaitFor([review] { return !review->busy(); }, 30000));
    QCOMPARE(review->model().rowCount(), cases);
    review->findChild<QComboBox*>(QStringLiteral("cboShow"))->setCurrentIndex(1);
    QStringList shown;
    for (int row = 0; row < review->filter().rowCount(); ++row)
        shown << review->filter().index(row, 0).data().toString();
    QCOMPARE(shown, violations);

    // The first violation (a regular loan), double-clicked, opens in the pages by the replay of
    // Open Case, on the schedule; Continue gives the APR the command line gave.
    QTableView& table = review->table();
    const QPoint at = table.visualRect(review->filter().index(0, 1)).center();
    QTest::mouseClick(table.viewport(), Qt::LeftButton, {}, at);  // the view opens what was pressed
    QTest::mouseDClick(table.viewport(), Qt::LeftButton, {}, at);
    QVERIFY2(h.pageName() == QLatin1String("frmPymt"), qPrintable(h.pageName() + PromptsText(h.prompts())));
    QVERIFY(h.click("cmdContinue"));
    QCOMPARE(h.pageName(), QStringLiteral("FrmDisclosure"));
    QCOMPARE(h.record().gdCalcAPR, aprs[0]);

    // The list exported as CSV is the command line's own.
    QTemporaryDir folder;
    const QString output = folder.filePath(QStringLiteral("verdicts.csv"));
    h.outputs().queueFileName(output);
    review->findChild<QPushButton*>(QStringLiteral("cmdExport"))->click();
    QVERIFY(QTest::qWaitFor([review] { return !review->busy(); }, 30000));
    QCOMPARE(ReadAll(output), QByteArray::fromStdString(Batch(ExampleTape(), "csv")));
}

QTEST_MAIN(TapeReviewTest)
#include "tape_review_test.moc"
