// File > Review Loan Tape...: the cases of a tape listed as the command line checks them,
// filtered, one opened in the pages and the review found again as it was; the list exported as
// the command line's own CSV; the reports of selected cases printed one after another.

#include "CaseCommands.h"
#include "GuiHarness.h"
#include "review/TapeReviewWindow.h"

#include <nlohmann/json.hpp>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <sstream>

class TapeReviewTest : public QObject {
    Q_OBJECT
private slots:
    void tape_is_filtered_and_a_case_opened_in_the_pages();
    void export_equals_the_command_line_data();
    void export_equals_the_command_line();
    void reports_of_selected_cases_start_on_new_pages();
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

// Reviews the file through the menu entry and waits for the check to end.
TapeReviewWindow* Review(GuiHarness& h, const QString& path) {
    h.outputs().queueFileName(path);
    h.trigger("mnuReviewTape");
    auto* review = h.window().findChild<TapeReviewWindow*>();
    if (review && !QTest::qWaitFor([review] { return !review->busy(); }, 30000)) return nullptr;
    return review;
}

bool Click(TapeReviewWindow& review, const char* button) {
    auto* b = review.findChild<QPushButton*>(QString::fromLatin1(button));
    if (!b || !b->isEnabled()) return false;
    b->click();
    return true;
}

QString Cell(TapeReviewWindow& review, int row, int column) {
    return review.filter().index(row, column).data().toString();
}

}  // namespace

void TapeReviewTest::tape_is_filtered_and_a_case_opened_in_the_pages() {
    GuiHarness h;
    // The command line's verdicts of the same tape: which cases are violations, and their APRs.
    std::vector<nlohmann::json> expected;
    std::istringstream lines(Batch(ExampleTape(), "jsonl"));
    for (std::string line; std::getline(lines, line);) expected.push_back(nlohmann::json::parse(line));
    QStringList violations;
    for (const auto& v : expected)
        if (v.value("verdict", "") == "violation") violations << QString::fromStdString(v["case"]);
    QVERIFY(violations.size() >= 2);  // the example tape must show the filter at work

    TapeReviewWindow* review = Review(h, ExampleTape());
    QVERIFY(review);
    QCOMPARE(review->model().rowCount(), static_cast<int>(expected.size()));
    review->findChild<QComboBox*>(QStringLiteral("cboShow"))->setCurrentIndex(1);
    QStringList shown;
    for (int row = 0; row < review->filter().rowCount(); ++row) shown << Cell(*review, row, 0);
    QCOMPARE(shown, violations);

    // The first violation (a regular loan), double-clicked, opens in the pages by the replay of
    // Open Case, on the schedule; Continue gives the APR the command line gave.
    QTableView& table = review->table();
    const QString opened = Cell(*review, 0, 0);
    const QPoint at = table.visualRect(review->filter().index(0, 1)).center();
    QTest::mouseClick(table.viewport(), Qt::LeftButton, {}, at);  // the view opens what was pressed
    QTest::mouseDClick(table.viewport(), Qt::LeftButton, {}, at);
    QVERIFY2(h.pageName() == QLatin1String("frmPymt"), qPrintable(h.pageName() + PromptsText(h.prompts())));
    const auto verdict = std::find_if(expected.begin(), expected.end(),
                                      [&](const nlohmann::json& v) { return v["case"] == opened.toStdString(); });
    QVERIFY(h.click("cmdContinue"));
    QCOMPARE(h.pageName(), QStringLiteral("FrmDisclosure"));
    QCOMPARE(h.record().gdCalcAPR, (*verdict)["calc_apr"].get<double>());

    // Back to the review: the same window, filter and row; no tape asked for again.
    const int requests = static_cast<int>(h.outputs().requests().size());
    h.trigger("mnuReviewTape");
    QCOMPARE(h.window().findChild<TapeReviewWindow*>(), review);
    QCOMPARE(static_cast<int>(h.outputs().requests().size()), requests);
    QCOMPARE(review->findChild<QComboBox*>(QStringLiteral("cboShow"))->currentIndex(), 1);
    QCOMPARE(table.currentIndex().siblingAtColumn(0).data().toString(), opened);
}

void TapeReviewTest::export_equals_the_command_line_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("output");
    QTest::newRow("tape as csv") << ExampleTape() << QStringLiteral("verdicts.csv");
    // JSON lines: every example case file on a line, a blank line and a line that is no JSON.
    QTest::newRow("json lines as csv") << QStringLiteral("examples.jsonl") << QStringLiteral("verdicts.csv");
}

void TapeReviewTest::export_equals_the_command_line() {
    QFETCH(QString, input);
    QFETCH(QString, output);
    QTemporaryDir folder;
    if (QFileInfo(input).isRelative()) {
        QByteArray text;
        const QDir examples(QFileInfo(ExampleTape()).absolutePath());
        for (const QString& name : examples.entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name))
            text += QByteArray::fromStdString(nlohmann::json::parse(ReadAll(examples.filePath(name))).dump()) + "\n";
        text += "\n{\"kind\": \n";
        input = folder.filePath(input);
        QFile file(input);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    GuiHarness h;
    TapeReviewWindow* review = Review(h, input);
    QVERIFY(review);
    output = folder.filePath(output);
    h.outputs().queueFileName(output);
    QVERIFY(Click(*review, "cmdExport"));
    QVERIFY(QTest::qWaitFor([review] { return !review->busy(); }, 30000));
    QCOMPARE(h.prompts().value(h.prompts().size() - 1),
             QStringLiteral("The verdicts have been exported to %1.").arg(output));
    QCOMPARE(ReadAll(output), QByteArray::fromStdString(Batch(input, "csv")));
}

void TapeReviewTest::reports_of_selected_cases_start_on_new_pages() {
    GuiHarness h;
    TapeReviewWindow* review = Review(h, ExampleTape());
    QVERIFY(review);
    QTemporaryDir folder;
    // The pages of a PDF file as its page objects count them.
    const auto pages = [](const QString& pdf) {
        return static_cast<int>(
            QString::fromLatin1(ReadAll(pdf)).count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))));
    };
    const auto print = [&](const QList<int>& rows, const QString& pdf) {
        QTableView& table = review->table();
        table.clearSelection();
        for (int row : rows)
            table.selectionModel()->select(review->filter().index(row, 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
        h.outputs().queuePrintToPdf(folder.filePath(pdf));
        return Click(*review, "cmdPrintReports") ? pages(folder.filePath(pdf)) : -1;
    };
    // Three regular loans of the tape, a page each: printed together, each report still starts
    // a page of its own (two of them would fit on one page).
    int alone = 0;
    for (int row = 0; row < 3; ++row) alone += print({row}, QStringLiteral("%1.pdf").arg(row));
    QCOMPARE(alone, 3);
    QCOMPARE(print({0, 1, 2}, QStringLiteral("all.pdf")), alone);
}

QTEST_MAIN(TapeReviewTest)
#include "tape_review_test.moc"
