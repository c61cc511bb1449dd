// The payment schedule grid driven from the keyboard and the mouse: where the cursor and the
// text stay when a cell or Continue is refused, access keys while a cell is edited, the timing
// cells of a single payment loan, and the grid's model against the record. (The refusals, the
// rows and Delete Payment Stream are the core's.)

#include "GuiHarness.h"
#include "widgets/ScheduleGrid.h"
#include "widgets/ScheduleModel.h"

#include "schedule/ScheduleCellStore.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

class ScheduleTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void keys_in_an_edited_cell_data();
    void keys_in_an_edited_cell();
    void single_payment_timing_cells_data();
    void single_payment_timing_cells();
    void the_grid_model_shows_the_record_data();
    void the_grid_model_shows_the_record();

private:
    QTimer cancelCalendars_;
    int calendarsOpened_ = 0;
};

namespace {

struct Terms {
    int loanType = 0;   // 0 installment, 1 single payment
    int frequency = 0;  // option index
    QString unit;       // unit period text, when shown
};

void ToSchedule(GuiHarness& h, const Terms& terms) {
    QVERIFY(h.click("CmdContinue"));
    if (terms.loanType == 1) QVERIFY(h.choose("optLoanType_1"));
    if (terms.frequency != 0) QVERIFY(h.choose(QStringLiteral("optPymtFreq_%1").arg(terms.frequency)));
    h.type("txtAmtFinanced", QStringLiteral("1000"));
    h.type("txtDiscAPR", QStringLiteral("12"));
    if (!terms.unit.isEmpty()) h.type("txtUnitPeriod", terms.unit);
    QVERIFY(h.click("CmdContinue"));
    QVERIFY2(h.pageName() == QStringLiteral("frmPymt"), PromptsText(h.prompts()));
}

// Steps: "t:TEXT" types into the current cell, "tab", "c:R,C" clicks a cell, "continue" clicks
// Continue, "alt:L" presses Alt and the letter L, "key:NAME" presses Delete, PageUp or PageDown,
// "paste:TEXT" pastes the text with Ctrl+V, "click:NAME" clicks the button when it can be clicked.
void Run(GuiHarness& h, const QStringList& steps) {
    for (const QString& step : steps) {
        const QString arg = step.section(QLatin1Char(':'), 1);
        if (step.startsWith(QStringLiteral("t:"))) {
            h.typeCell(arg);
        } else if (step == QStringLiteral("tab")) {
            h.tab();
        } else if (step.startsWith(QStringLiteral("c:"))) {
            h.clickCell(arg.section(QLatin1Char(','), 0, 0).toInt(), arg.section(QLatin1Char(','), 1).toInt());
        } else if (step == QStringLiteral("continue")) {
            QVERIFY(h.click("cmdContinue"));
        } else if (step.startsWith(QStringLiteral("key:"))) {
            h.press(arg == QStringLiteral("Delete")   ? Qt::Key_Delete
                    : arg == QStringLiteral("PageUp") ? Qt::Key_PageUp
                                                      : Qt::Key_PageDown);
        } else if (step.startsWith(QStringLiteral("paste:"))) {
            QApplication::clipboard()->setText(arg);
            h.press(Qt::Key_V, Qt::ControlModifier);
        } else if (step.startsWith(QStringLiteral("click:"))) {
            h.click(arg.toLatin1().constData());
        } else if (step.startsWith(QStringLiteral("alt:"))) {
            h.press(static_cast<Qt::Key>(Qt::Key_A + (arg.at(0).toUpper().unicode() - 'A')), Qt::AltModifier);
            QTest::qWait(200);  // a button pressed by its access key clicks 100 ms later
        } else {
            QFAIL(qPrintable(QStringLiteral("unknown step ") + step));
        }
    }
}

}  // namespace

void ScheduleTest::init() {
    // A calendar that opens by itself (yearly unit periods) is cancelled at once.
    cancelCalendars_.setInterval(10);
    calendarsOpened_ = 0;
    connect(&cancelCalendars_, &QTimer::timeout, this, [this] {
        if (auto* calendar = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            ++calendarsOpened_;
            calendar->reject();
        }
    });
    cancelCalendars_.start();
}

void ScheduleTest::cleanup() {
    cancelCalendars_.stop();
    cancelCalendars_.disconnect();
}

Q_DECLARE_METATYPE(Terms)

// A refused cell, and Continue or an access key pressed while a cell is being edited: the
// refusal is said (its text is the core's), the cursor and the text stay in the cell, and no
// APR is computed. An access key belongs to the buttons: it presses the button whose key it is,
// or does nothing; the cell never takes the letter.
void ScheduleTest::keys_in_an_edited_cell_data() {
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("page");
    QTest::addColumn<int>("messages");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    const QStringList firstRow{"t:100", "tab", "t:12", "tab"};
    QTest::newRow("odd days beyond a month")
        << firstRow + QStringList{"tab", "t:45", "tab"} << "frmPymt" << 1 << 4 << "45";
    QTest::newRow("letters in an amount, Continue") << QStringList{"t:abc", "continue"} << "frmPymt" << 1 << 1 << "abc";
    QTest::newRow("letters in a later amount, Continue")
        << firstRow + QStringList{"tab", "tab", "t:1x5", "continue"} << "frmPymt" << 1 << 1 << "1x5";
    QTest::newRow("a point in the number of payments, Continue")
        << QStringList{"t:100", "tab", "t:12.5", "continue"} << "frmPymt" << 1 << 2 << "12.5";
    QTest::newRow("Continue by its access key") << QStringList{"t:abc", "alt:c"} << "frmPymt" << 1 << 1 << "abc";
    // The advance is taken; Continue asks for its number of payments.
    QTest::newRow("Continue's key after an advance") << QStringList{"t:-1000", "alt:c"} << "frmPymt" << 1 << 2 << "";
    QTest::newRow("Back by its access key") << QStringList{"t:-1000", "alt:b"} << "frmAPR1" << 0 << 1 << "-1000";
    // New Loan's question, cancelled.
    QTest::newRow("New Loan by its access key") << QStringList{"t:-1000", "alt:n"} << "frmPymt" << 1 << 1 << "-1000";
    QTest::newRow("Calendar's key, disabled in the amount")
        << QStringList{"t:-1000", "alt:r"} << "frmPymt" << 0 << 1 << "-1000";
    QTest::newRow("Delete's key, disabled with one stream")
        << QStringList{"t:-1000", "alt:d"} << "frmPymt" << 0 << 1 << "-1000";
    QTest::newRow("a letter of no button") << QStringList{"t:-1000", "alt:q"} << "frmPymt" << 0 << 1 << "-1000";
}

void ScheduleTest::keys_in_an_edited_cell() {
    QFETCH(QStringList, steps);
    QFETCH(QString, page);
    QFETCH(int, messages);
    QFETCH(int, column);
    QFETCH(QString, text);
    GuiHarness h;
    ToSchedule(h, {});
    h.answerNext(tallex::kAnswerCancel);
    Run(h, steps);
    QVERIFY2(h.prompts().size() == messages, PromptsText(h.prompts()));
    QCOMPARE(h.pageName(), page);
    QCOMPARE(h.grid()->currentColumn(), column);
    QCOMPARE(h.cell(h.grid()->currentRow(), column), text);
    QCOMPARE(h.record().gdCalcAPR, 0.0);
    if (page == QStringLiteral("frmPymt")) {
        QVERIFY(h.grid()->editorWidget());
        QCOMPARE(QApplication::focusWidget(), h.grid()->editorWidget());
    }
}

// A single advance / single payment loan takes the timing of its one payment from the loan
// terms: whatever the user does on the schedule, the timing cells keep it and the calendar
// stays shut. (With a unit period of a year the user types the timing; the calendar is still
// not offered.)
void ScheduleTest::single_payment_timing_cells_data() {
    QTest::addColumn<Terms>("terms");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("unitPeriods");
    QTest::addColumn<QString>("oddDays");
    // 18 whole months: one year and 180 odd days; 200 actual days: one unit period.
    const struct {
        const char* name;
        Terms terms;
        const char* periods;
        const char* odd;
    } loans[] = {
        {"18 months", {1, 0, QStringLiteral("18")}, "1", "180"},
        {"200 days", {1, 1, QStringLiteral("200")}, "1", "0"},
    };
    const struct {
        const char* name;
        QStringList steps;
    } ways[] = {
        {"typing", {"c:0,3", "t:7", "c:0,4", "t:9"}},
        {"paste", {"c:0,3", "paste:7", "c:0,4", "paste:9"}},
        {"Delete key", {"c:0,3", "key:Delete", "c:0,4", "key:Delete"}},
        {"Calendar button", {"c:0,3", "click:cmdFedCal"}},
        {"Calendar access key", {"c:0,3", "alt:r"}},
        {"Tab through the row", {"tab", "tab", "tab", "tab"}},
        {"Page Down and Page Up", {"c:0,3", "key:PageDown", "key:PageUp", "c:0,4", "key:PageDown", "key:PageUp"}},
    };
    for (const auto& loan : loans) {
        for (const auto& way : ways) {
            QTest::addRow("%s, %s", loan.name, way.name)
                << loan.terms << QStringList{"t:1100"} + way.steps << QString::fromLatin1(loan.periods)
                << QString::fromLatin1(loan.odd);
        }
    }
    const Terms year{1, 1, QStringLiteral("365")};
    QTest::newRow("365 days, Calendar button") << year << QStringList{"t:1100", "tab", "tab", "click:cmdFedCal"} << "1"
                                               << "0";
    QTest::newRow("365 days, Calendar access key") << year << QStringList{"t:1100", "tab", "tab", "alt:r"} << "1"
                                                   << "0";
}

void ScheduleTest::single_payment_timing_cells() {
    QFETCH(Terms, terms);
    QFETCH(QStringList, steps);
    QFETCH(QString, unitPeriods);
    QFETCH(QString, oddDays);
    GuiHarness h;
    ToSchedule(h, terms);
    h.forgetPrompts();
    Run(h, steps);
    QCOMPARE(h.pageName(), QStringLiteral("frmPymt"));
    QCOMPARE(h.cell(0, 3), unitPeriods);
    QCOMPARE(h.cell(0, 4), oddDays);
    QCOMPARE(h.record().gaUnitPeriods[1], unitPeriods.toStdString());
    QCOMPARE(h.record().gaOddDays[1], oddDays.toStdString());
    QVERIFY(!h.control<QPushButton>("cmdFedCal")->isEnabled());
    QCOMPARE(calendarsOpened_, 0);
    QVERIFY2(h.prompts().isEmpty(), PromptsText(h.prompts()));
}

// The grid's cells are the record's, except text that has not reached it: what was typed into
// a cell stays out of the record until the page stores it after the cell check (the check sees
// the stored text, e.g. whether the stream had an amount), and a row opened over a stream the
// record still holds starts blank. A cell a rule writes shows the record's text. Steps:
// "type:R,C,TEXT", "store:R,C,TEXT", "rule:R,C,TEXT" (a rule writes the record, the page says
// so), "append:LABEL". The record starts with stream 1 (100, 12) shown and stream 2's number of
// payments (6) left from a row no longer shown.
void ScheduleTest::the_grid_model_shows_the_record_data() {
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("changes");  // dataChanged signals that took in the cell
    QTest::newRow("shown as stored") << QStringList{} << 0 << 2 << "12"
                                     << "12" << 0;
    QTest::newRow("typed, not yet stored") << QStringList{"type:0,1,250"} << 0 << 1 << "250"
                                           << "100" << 1;
    QTest::newRow("emptied, not yet stored") << QStringList{"type:0,1,"} << 0 << 1 << ""
                                             << "100" << 1;
    QTest::newRow("typed and stored") << QStringList{"type:0,1,250", "store:0,1,250"} << 0 << 1 << "250"
                                      << "250" << 1;
    QTest::newRow("stored as the check left it")
        << QStringList{"type:0,1,1234.567", "store:0,1,1234.57"} << 0 << 1 << "1234.57"
        << "1234.57" << 2;
    QTest::newRow("typed back to the stored text") << QStringList{"type:0,1,250", "type:0,1,100"} << 0 << 1 << "100"
                                                   << "100" << 2;
    QTest::newRow("a new row over a stream the record holds") << QStringList{"append:2"} << 1 << 2 << ""
                                                              << "6" << 0;
    QTest::newRow("a new row's label") << QStringList{"append:2"} << 1 << 0 << "2"
                                       << "2" << 0;
    QTest::newRow("a rule writes a cell of the new row") << QStringList{"append:2", "rule:1,2,9"} << 1 << 2 << "9"
                                                         << "9" << 1;
    QTest::newRow("a rule writes over typed text") << QStringList{"type:0,3,7", "rule:0,3,1"} << 0 << 3 << "1"
                                                   << "1" << 2;
}

void ScheduleTest::the_grid_model_shows_the_record() {
    QFETCH(QStringList, steps);
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QString, shown);
    QFETCH(QString, stored);
    QFETCH(int, changes);
    auto record = std::make_unique<tallex::LoanRecord>();
    for (int k = 1; k <= 3; ++k) record->gaPymtCol0[static_cast<std::size_t>(k)] = std::to_string(k);
    record->gaPymtAmt[1] = "100";
    record->gaNumPymts[1] = "12";
    record->gaNumPymts[2] = "6";
    ScheduleModel model(*record);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.reloadFromRecord();
    QCOMPARE(model.rowCount(), 1);
    int changed = 0;
    connect(&model, &QAbstractItemModel::dataChanged, this, [&](const QModelIndex& from, const QModelIndex& to) {
        if (from.row() <= row && row <= to.row() && from.column() <= column && column <= to.column()) ++changed;
    });
    for (const QString& step : steps) {
        const QString op = step.section(QLatin1Char(':'), 0, 0);
        const QString args = step.section(QLatin1Char(':'), 1);
        if (op == QStringLiteral("append")) {
            model.appendRow(args);
            continue;
        }
        const int r = args.section(QLatin1Char(','), 0, 0).toInt();
        const int c = args.section(QLatin1Char(','), 1, 1).toInt();
        const QString text = args.section(QLatin1Char(','), 2);
        if (op == QStringLiteral("type")) {
            model.setCell(r, c, text);
        } else if (op == QStringLiteral("store")) {
            model.storeCell(r, c, text.toStdString());
        } else if (op == QStringLiteral("rule")) {
            tallex::ScheduleCellStore(*record, model.cell(r, 0).toStdString(), c, text.toStdString());
            model.recordChanged(r, c);
        } else {
            QFAIL(qPrintable(QStringLiteral("unknown step ") + step));
        }
    }
    const int stream = model.cell(row, 0).toInt();
    QVERIFY(stream >= 1);
    const std::array<const tallex::StreamArray<std::string>*, 5> columns{
        &record->gaPymtCol0, &record->gaPymtAmt, &record->gaNumPymts, &record->gaUnitPeriods, &record->gaOddDays};
    QCOMPARE(model.cell(row, column), shown);
    QCOMPARE(model.index(row, column).data(Qt::EditRole).toString(), shown);
    QCOMPARE(QString::fromStdString((*columns[static_cast<std::size_t>(column)])[static_cast<std::size_t>(stream)]),
             stored);
    QCOMPARE(changed, changes);
}

QTEST_MAIN(ScheduleTest)
#include "schedule_test.moc"
