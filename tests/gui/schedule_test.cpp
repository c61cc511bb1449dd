// The payment schedule grid driven from the keyboard and the mouse: every refusal of a cell and
// of Continue, rows added and refused, Delete Payment Stream, and the solver's failure.

#include "GuiHarness.h"
#include "dialogs/frmCalendar.h"
#include "widgets/ScheduleGrid.h"
#include "widgets/ScheduleModel.h"

#include "schedule/ScheduleCellStore.h"
#include "schedule/SchedulePage.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

class ScheduleTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void a_refused_cell_keeps_the_cursor_and_the_text();
    void delete_moves_the_later_streams_up();
    void no_row_after_stream_360();
    void page_down_never_adds_a_row();
    void the_grid_model_keeps_the_item_model_rules();
    void the_grid_model_shows_the_record_data();
    void the_grid_model_shows_the_record();
    void yearly_unit_period_opens_the_calendar_by_itself();
    void edited_cell_at_continue_data();
    void edited_cell_at_continue();
    void mnemonics_while_editing_data();
    void mnemonics_while_editing();
    void single_payment_timing_cells_data();
    void single_payment_timing_cells();

private:
    QTimer cancelCalendars_;
    int calendarsOpened_ = 0;
};

namespace {

struct Terms {
    int loanType = 0;   // 0 installment, 1 single payment
    int frequency = 0;  // option index
    QString unit;       // unit period text, when shown
    QString amount = QStringLiteral("1000");
};

void ToSchedule(GuiHarness& h, const Terms& terms) {
    QVERIFY(h.click("CmdContinue"));
    const auto choose = [&h](const QString& name) {
        QRadioButton* option = h.control<QRadioButton>(name.toLatin1().constData());
        QTest::mouseClick(option, Qt::LeftButton, Qt::NoModifier, QPoint(8, option->height() / 2));
        h.settle();
    };
    if (terms.loanType == 1) choose(QStringLiteral("optLoanType_1"));
    if (terms.frequency != 0) choose(QStringLiteral("optPymtFreq_%1").arg(terms.frequency));
    h.type("txtAmtFinanced", terms.amount);
    h.type("txtDiscAPR", QStringLiteral("12"));
    if (!terms.unit.isEmpty()) h.type("txtUnitPeriod", terms.unit);
    QVERIFY(h.click("CmdContinue"));
    QVERIFY2(h.pageName() == QStringLiteral("frmPymt"), PromptsText(h.prompts()));
}

// Steps: "t:TEXT" types into the current cell ("t:" empties it), "tab", "down", "c:R,C" clicks
// a cell, "continue" clicks Continue, "alt:L" presses Alt and the letter L, "key:NAME" presses
// Delete, PageUp or PageDown, "paste:TEXT" pastes the text with Ctrl+V, "click:NAME" clicks the
// button when it can be clicked.
void Run(GuiHarness& h, const QStringList& steps) {
    for (const QString& step : steps) {
        if (step.startsWith(QStringLiteral("t:"))) {
            const QString text = step.mid(2);
            if (text.isEmpty()) {
                if (QLineEdit* editor = h.grid()->editorWidget()) {
                    editor->selectAll();
                    QTest::keyClick(editor, Qt::Key_Backspace);
                }
            } else {
                h.typeCell(text);
            }
        } else if (step == QStringLiteral("tab")) {
            h.tab();
        } else if (step == QStringLiteral("down")) {
            h.press(Qt::Key_Down);
        } else if (step.startsWith(QStringLiteral("c:"))) {
            const QStringList rc = step.mid(2).split(QLatin1Char(','));
            h.clickCell(rc[0].toInt(), rc[1].toInt());
        } else if (step == QStringLiteral("continue")) {
            QVERIFY(h.click("cmdContinue"));
        } else if (step.startsWith(QStringLiteral("key:"))) {
            const QString name = step.mid(4);
            h.press(name == QStringLiteral("Delete")   ? Qt::Key_Delete
                    : name == QStringLiteral("PageUp") ? Qt::Key_PageUp
                                                       : Qt::Key_PageDown);
        } else if (step.startsWith(QStringLiteral("paste:"))) {
            QApplication::clipboard()->setText(step.mid(6));
            h.press(Qt::Key_V, Qt::ControlModifier);
        } else if (step.startsWith(QStringLiteral("click:"))) {
            h.click(step.mid(6).toLatin1().constData());
        } else if (step.startsWith(QStringLiteral("alt:"))) {
            h.press(static_cast<Qt::Key>(Qt::Key_A + (step.at(4).toUpper().unicode() - 'A')), Qt::AltModifier);
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
        if (auto* calendar = qobject_cast<frmCalendar*>(QApplication::activeModalWidget())) {
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

void ScheduleTest::a_refused_cell_keeps_the_cursor_and_the_text() {
    GuiHarness h;
    ToSchedule(h, {});
    Run(h, {"t:100", "tab", "t:12", "tab", "tab", "t:45", "tab"});
    QCOMPARE(h.grid()->currentRow(), 0);
    QCOMPARE(h.grid()->currentColumn(), 4);
    QCOMPARE(h.cell(0, 4), QStringLiteral("45"));
    QTest::qWait(250);  // after the quiet period the refusal is said again
    h.tab();
    QCOMPARE(h.prompts().size(), 2);
    Run(h, {"t:15", "tab"});
    QCOMPARE(h.grid()->currentRow(), 1);
    QCOMPARE(h.record().gaOddDays[1], std::string("15"));
    QCOMPARE(h.cell(0, 1), QStringLiteral("100"));
    // The amount is kept as the cents number and shown as money.
    QCOMPARE(h.grid()->model()->index(0, 1).data().toString(), QStringLiteral("$100.00"));
    // Past a double's range: shown as typed, for the check to refuse.
    QVERIFY(h.grid()->model()->setData(h.grid()->model()->index(0, 1), QStringLiteral("1E999")));
    QCOMPARE(h.grid()->model()->index(0, 1).data().toString(), QStringLiteral("1E999"));
}

void ScheduleTest::delete_moves_the_later_streams_up() {
    GuiHarness h;
    ToSchedule(h, {});
    Run(h, {"t:100", "tab", "t:12", "tab", "tab", "tab", "t:200", "tab", "t:6", "tab", "tab", "tab", "t:300", "tab",
            "t:3", "tab", "c:1,1"});
    auto* remove = h.control<QPushButton>("cmdDelete");
    QCOMPARE(remove->text(), QStringLiteral("&Delete Payment Stream # 2"));
    QVERIFY(h.click("cmdDelete"));
    QCOMPARE(h.grid()->model()->rowCount(), 2);
    QCOMPARE(h.cell(1, 0), QStringLiteral("2"));
    QCOMPARE(h.cell(1, 1), QStringLiteral("300"));
    QCOMPARE(h.cell(1, 3), QStringLiteral("19"));  // stream 3's timing: after 12 + 6 payments
    QCOMPARE(h.record().gaPymtAmt[2], std::string("300"));
    QCOMPARE(h.record().gaPymtAmt[3], std::string());
    QCOMPARE(h.record().giGridRowCount, 2);
    QCOMPARE(h.grid()->currentColumn(), 1);
    QVERIFY(h.prompts().isEmpty());
}

void ScheduleTest::no_row_after_stream_360() {
    GuiHarness h;
    ToSchedule(h, {});
    tallex::LoanRecord& r = h.record();
    for (int k = 1; k <= tallex::kMaxStreams; ++k) {
        r.gaPymtAmt[k] = "10";
        r.gaNumPymts[k] = "1";
        r.gaUnitPeriods[k] = std::to_string(k);
        r.gaOddDays[k] = "0";
    }
    // Opening the page again rebuilds its grid from the record.
    h.window().SwitchForm(PageId::Schedule);
    h.settle();
    QCOMPARE(h.grid()->model()->rowCount(), 360);
    h.grid()->placeCursor(359, 4);
    h.settle();
    h.tab();
    QCOMPARE(h.grid()->model()->rowCount(), 360);
    QCOMPARE(h.grid()->currentRow(), 359);
    QCOMPARE(h.grid()->currentColumn(), 1);
    QVERIFY2(h.prompts().isEmpty(), PromptsText(h.prompts()));
    QCOMPARE(h.record().giGridRowCount, 360);
}

void ScheduleTest::page_down_never_adds_a_row() {
    GuiHarness h;
    ToSchedule(h, {});
    Run(h, {"t:100", "tab", "t:12", "tab"});
    h.press(Qt::Key_PageDown);
    QCOMPARE(h.grid()->model()->rowCount(), 1);
    QCOMPARE(h.grid()->currentColumn(), 1);
    QVERIFY(h.prompts().isEmpty());  // the row is complete: nothing to say
    h.press(Qt::Key_Down);
    QCOMPARE(h.grid()->model()->rowCount(), 2);
    QCOMPARE(h.cell(1, 0), QStringLiteral("2"));
}

// Yearly payments (multiples of a month, 12 months) are timed from their dates: entering the
// empty unit periods of stream 1 opens the calendar. 01-15-2026 to 01-15-2027 is one year, no
// odd days; the cursor then goes back to the amount.
void ScheduleTest::yearly_unit_period_opens_the_calendar_by_itself() {
    cancelCalendars_.stop();
    GuiHarness h;
    ToSchedule(h, {0, 1, QStringLiteral("12")});
    Run(h, {"t:1200", "tab", "t:2"});
    QCOMPARE(h.cell(0, 3), QString());  // no defaults: the dates decide
    bool opened = false;
    QTimer::singleShot(0, [&opened] {
        auto* calendar = qobject_cast<frmCalendar*>(QApplication::activeModalWidget());
        if (!calendar) return;
        opened = true;
        GuiHarness::fillCalendar(*calendar, QStringLiteral("01152026"), QStringLiteral("01152027"));
    });
    QTimer::singleShot(5000, [] {
        if (auto* calendar = qobject_cast<frmCalendar*>(QApplication::activeModalWidget())) calendar->reject();
    });
    h.tab();
    QVERIFY(opened);
    QCOMPARE(h.cell(0, 3), QStringLiteral("1"));
    QCOMPARE(h.cell(0, 4), QStringLiteral("0"));
    QCOMPARE(h.grid()->currentColumn(), 1);
    QVERIFY2(h.prompts().isEmpty(), PromptsText(h.prompts()));
}

void ScheduleTest::the_grid_model_keeps_the_item_model_rules() {
    auto record = std::make_unique<tallex::LoanRecord>();
    ScheduleModel model(*record);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.appendRow(QStringLiteral("1"));
    model.setCell(0, 1, QStringLiteral("1234.57"));
    QCOMPARE(model.index(0, 1).data().toString(), QStringLiteral("$1,234.57"));
    QCOMPARE(model.index(0, 1).data(Qt::EditRole).toString(), QStringLiteral("1234.57"));
    QVERIFY(!(model.flags(model.index(0, 0)) & Qt::ItemIsEditable));
    record->gaPymtCol0[1] = "1";
    record->gaPymtCol0[2] = "2";
    record->gaPymtAmt[1] = "10";
    record->gaPymtAmt[2] = "20";
    model.reloadFromRecord();
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(record->giGridRowCount, 2);
    model.loadStreams(1);
    QCOMPARE(record->giGridRowCount, 1);
    model.clear();
    QCOMPARE(record->giGridRowCount, 0);
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

// Continue checks the cell being edited as Tab does: the same refusal, the cursor and the text
// stay in the cell, and no APR is computed from it.
void ScheduleTest::edited_cell_at_continue_data() {
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    const QStringList firstRow{"t:100", "tab", "t:12", "tab"};
    QTest::newRow("letters in an amount") << QStringList{"t:abc", "continue"} << 1 << "abc";
    QTest::newRow("letters in a later amount")
        << firstRow + QStringList{"tab", "tab", "t:1x5", "continue"} << 1 << "1x5";
    QTest::newRow("Continue by its access key") << QStringList{"t:abc", "alt:c"} << 1 << "abc";
    QTest::newRow("a point in the number of payments")
        << QStringList{"t:100", "tab", "t:12.5", "continue"} << 2 << "12.5";
}

void ScheduleTest::edited_cell_at_continue() {
    QFETCH(QStringList, steps);
    QFETCH(int, column);
    QFETCH(QString, text);
    GuiHarness h;
    ToSchedule(h, {});
    h.forgetPrompts();
    Run(h, steps);
    // The cell's own refusal, once (its text is the core's).
    QVERIFY2(h.prompts().size() == 1, PromptsText(h.prompts()));
    QCOMPARE(h.pageName(), QStringLiteral("frmPymt"));
    QCOMPARE(h.grid()->currentColumn(), column);
    QLineEdit* editor = h.grid()->editorWidget();
    QVERIFY(editor);
    QCOMPARE(QApplication::focusWidget(), editor);
    QCOMPARE(editor->text(), text);
    QCOMPARE(h.record().gdCalcAPR, 0.0);
}

// An access key pressed while a cell is being edited belongs to the buttons: it presses the
// button whose key it is, or does nothing; the cell never takes the letter.
void ScheduleTest::mnemonics_while_editing_data() {
    QTest::addColumn<QString>("letter");
    QTest::addColumn<QString>("page");
    QTest::addColumn<int>("messages");  // Continue's refusal, New Loan's question
    QTest::newRow("Continue") << "c"
                              << "frmPymt" << 1;
    QTest::newRow("Back") << "b"
                          << "frmAPR1" << 0;
    QTest::newRow("New Loan, cancelled") << "n"
                                         << "frmPymt" << 1;
    QTest::newRow("Calendar, disabled in the amount") << "r"
                                                      << "frmPymt" << 0;
    QTest::newRow("Delete, disabled with one stream") << "d"
                                                      << "frmPymt" << 0;
    QTest::newRow("a letter of no button") << "q"
                                           << "frmPymt" << 0;
}

void ScheduleTest::mnemonics_while_editing() {
    QFETCH(QString, letter);
    QFETCH(QString, page);
    QFETCH(int, messages);
    GuiHarness h;
    ToSchedule(h, {});
    Run(h, {"t:-1000"});
    h.forgetPrompts();
    h.answerNext(tallex::kAnswerCancel);
    Run(h, {QStringLiteral("alt:") + letter});
    QVERIFY2(h.prompts().size() == messages, PromptsText(h.prompts()));
    QCOMPARE(h.pageName(), page);
    QCOMPARE(h.cell(0, 1), QStringLiteral("-1000"));
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

QTEST_MAIN(ScheduleTest)
#include "schedule_test.moc"
