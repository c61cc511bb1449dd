// The loan terms page driven by the keyboard and the mouse: Enter and the check box key, the
// confirmations before a change of loan type or frequency, the single payment loan's calendar,
// and text that arrives without keys. (Its refusals and their texts are the core's tables.)

#include "GuiHarness.h"
#include "dialogs/frmCalendar.h"

#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

class LoanTermsTest : public QObject {
    Q_OBJECT
private slots:
    void selection_and_the_check_box_key();
    void change_of_type_or_frequency_asks_first_data();
    void change_of_type_or_frequency_asks_first();
    void single_payment_layout_and_calendar();
    void text_set_without_keys_clears_the_entry_state_data();
    void text_set_without_keys_clears_the_entry_state();
};

namespace {

// Starts on the loan terms page of a regular loan.
void ToLoanTerms(GuiHarness& h) {
    QVERIFY(h.click("CmdContinue"));
    QCOMPARE(h.pageName(), QStringLiteral("frmAPR1"));
}

// Clicks an option on its round indicator (the button is wider than its caption).
void Choose(GuiHarness& h, const char* option) {
    QRadioButton* button = h.control<QRadioButton>(option);
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(8, button->height() / 2));
    h.settle();
}

}  // namespace

void LoanTermsTest::selection_and_the_check_box_key() {
    GuiHarness h;
    ToLoanTerms(h);
    h.type("txtAmtFinanced", QStringLiteral("1000"));
    h.type("txtDiscAPR", QStringLiteral("12"));
    h.press(Qt::Key_Backtab);  // coming back selects the whole text, so typing replaces it
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("txtAmtFinanced"));
    QCOMPARE(h.control<QLineEdit>("txtAmtFinanced")->selectedText(), QStringLiteral("$1,000.00"));

    auto* secured = h.control<QCheckBox>("chkSecuredByRealEstate");
    auto* early = h.control<QCheckBox>("chkDatePre_093095");
    QVERIFY(early->isHidden());
    secured->setFocus(Qt::TabFocusReason);
    h.press(Qt::Key_X);
    QVERIFY(secured->isChecked());
    QVERIFY(h.record().gbSecuredByRealEstate);
    QVERIFY(!early->isHidden());
    early->setFocus(Qt::TabFocusReason);
    h.press(Qt::Key_X);
    QVERIFY(h.record().gbDatePre_093095);
    secured->setFocus(Qt::TabFocusReason);
    h.press(Qt::Key_X);  // unticking also unticks and hides the date box
    QVERIFY(!secured->isChecked() && !early->isChecked() && early->isHidden());
    QVERIFY(!h.record().gbDatePre_093095);
}

void LoanTermsTest::change_of_type_or_frequency_asks_first_data() {
    QTest::addColumn<QString>("option");
    QTest::addColumn<short>("answer");
    QTest::newRow("type, cancelled") << "optLoanType_1" << short(tallex::kAnswerCancel);
    QTest::newRow("type, confirmed") << "optLoanType_1" << short(tallex::kAnswerOk);
    QTest::newRow("frequency, cancelled") << "optPymtFreq_2" << short(tallex::kAnswerCancel);
    QTest::newRow("frequency, confirmed") << "optPymtFreq_2" << short(tallex::kAnswerOk);
}

void LoanTermsTest::change_of_type_or_frequency_asks_first() {
    QFETCH(QString, option);
    QFETCH(short, answer);
    GuiHarness h;
    ToLoanTerms(h);
    h.type("txtAmtFinanced", QStringLiteral("1000"));
    h.type("txtDiscAPR", QStringLiteral("12"));
    QVERIFY(h.click("CmdContinue"));
    h.typeCell(QStringLiteral("88.85"));
    h.tab();
    h.typeCell(QStringLiteral("12"));
    h.tab();
    QVERIFY(h.click("cmdBack"));
    QCOMPARE(h.record().gaPymtAmt[1], std::string("88.85"));

    h.answerNext(answer);
    Choose(h, option.toLatin1().constData());
    QVERIFY2(h.prompts().size() == 1, PromptsText(h.prompts()));
    QCOMPARE(h.user().prompts()[0].style, 49);
    auto* chosen = h.control<QRadioButton>(option.toLatin1().constData());
    if (answer == tallex::kAnswerOk) {
        QVERIFY(chosen->isChecked());
        QCOMPARE(h.record().gaPymtAmt[1], std::string());  // the schedule starts afresh
    } else {
        QVERIFY(!chosen->isChecked());
        QVERIFY(h.control<QRadioButton>("optLoanType_0")->isChecked());
        QVERIFY(h.control<QRadioButton>("optPymtFreq_0")->isChecked());
        QCOMPARE(h.record().gaPymtAmt[1], std::string("88.85"));
    }
}

// A single payment loan of 18 whole months, its term taken from the calendar: 01-15-2026 to
// 07-15-2027 is 18 months with no odd days; the unit period is then capped at a year (360
// days) with 1 whole period and 180 odd days.
void LoanTermsTest::single_payment_layout_and_calendar() {
    GuiHarness h;
    ToLoanTerms(h);
    Choose(h, "optLoanType_1");
    QVERIFY(h.prompts().isEmpty());  // no schedule yet: nothing to ask
    QCOMPARE(h.control<QRadioButton>("optPymtFreq_0")->text(), QStringLiteral("&Whole Number of Months"));
    QCOMPARE(h.control<QRadioButton>("optPymtFreq_1")->text(), QStringLiteral("&Actual Days"));
    QVERIFY(h.control<QRadioButton>("optPymtFreq_2")->isHidden());
    QVERIFY(!h.control<QRadioButton>("optPymtFreq_3")->isEnabled());
    QCOMPARE(h.control<QLabel>("lblUnitPeriod")->text(), QStringLiteral("Months in Loan Term:"));
    QVERIFY(!h.control<QPushButton>("cmdFedCal")->isHidden());

    h.type("txtAmtFinanced", QStringLiteral("1000"));
    h.type("txtDiscAPR", QStringLiteral("9"));
    h.withCalendar("cmdFedCal", [](frmCalendar& calendar) {
        GuiHarness::fillCalendar(calendar, QStringLiteral("01152026"), QStringLiteral("07152027"));
    });
    QCOMPARE(h.control<QLineEdit>("txtUnitPeriod")->text(), QStringLiteral("18"));
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("chkSecuredByRealEstate"));
    QVERIFY(h.click("CmdContinue"));
    QVERIFY2(h.pageName() == QStringLiteral("frmPymt"), PromptsText(h.prompts()));
    QCOMPARE(h.record().giPymtFreq, 5);
    QCOMPARE(h.record().gdDaysinUnitPd, 360.0);
    QCOMPARE(h.record().gdCalUnitPeriods, 1.0);
    QCOMPARE(h.record().gdCalOddDays, 180.0);
    QCOMPARE(h.cell(0, 2), QStringLiteral("1"));
    QCOMPARE(h.cell(0, 3), QStringLiteral("1"));
    QCOMPARE(h.cell(0, 4), QStringLiteral("180"));
    QVERIFY(!h.control<QPushButton>("cmdFedCal")->isEnabled());
}

// A box left empty sets the state that keeps one bad entry from giving one refusal per box; a
// key typed clears it, and so does text that arrives without keys: pasted, or set by the program
// as Open Case sets it. Without that the boxes filled afterwards were never checked: the loan
// terms page then refused the single payment loan on Continue, and the construction interest
// page left the finance charge unformatted.
void LoanTermsTest::text_set_without_keys_clears_the_entry_state_data() {
    QTest::addColumn<QStringList>("reach");
    QTest::addColumn<QString>("emptyBox");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("way");
    // Steps to the page: "option" clicks an option, "box=text" types, "!button" clicks a button.
    const QStringList loanTerms{"!CmdContinue", "optLoanType_1", "optPymtFreq_1"};
    const QStringList constructionInterest{"optType_1",       "!CmdContinue",        "txtLoanAmt=100000",
                                           "txtSimpleInt=10", "txtPrepdFinChg=1000", "optDiscType_1",
                                           "!cmdContinue",    "txtTimePeriod=6",     "!cmdContinue"};
    const QStringList loanTermsEntries{"txtAmtFinanced=2500", "txtDiscAPR=10", "txtDiscFinChg=124",
                                       "txtUnitPeriod=180"};
    const QStringList interestEntries{"txtDiscAPR=10", "txtFinChg=124"};
    for (const char* way : {"paste", "set by the program"}) {
        // The click on Single Advance leaves the empty amount box.
        QTest::addRow("loan terms, %s", way) << loanTerms << "" << loanTermsEntries << way;
        QTest::addRow("construction interest, %s", way)
            << constructionInterest << "txtDiscAPR" << interestEntries << way;
    }
}

void LoanTermsTest::text_set_without_keys_clears_the_entry_state() {
    QFETCH(QStringList, reach);
    QFETCH(QString, emptyBox);
    QFETCH(QStringList, entries);
    QFETCH(QString, way);
    GuiHarness h;
    for (const QString& step : reach) {
        if (step.startsWith(QLatin1Char('!'))) {
            QVERIFY2(h.click(step.mid(1).toLatin1().constData()), PromptsText(h.prompts()));
        } else if (step.contains(QLatin1Char('='))) {
            QVERIFY(
                h.type(step.section(QLatin1Char('='), 0, 0).toLatin1().constData(), step.section(QLatin1Char('='), 1)));
        } else {
            Choose(h, step.toLatin1().constData());
        }
    }
    const QString page = h.pageName();
    const auto focus = [&h](const QString& name) {
        h.control<QLineEdit>(name.toLatin1().constData())->setFocus(Qt::MouseFocusReason);
        h.settle();
    };
    if (!emptyBox.isEmpty()) {
        // In and out of the empty box by the mouse: it is refused without a word and takes the
        // focus back.
        focus(emptyBox);
        focus(QStringLiteral("txtFinChg"));
        QCOMPARE(QApplication::focusWidget()->objectName(), emptyBox);
    }
    h.forgetPrompts();
    for (const QString& entry : entries) {
        const QString name = entry.section(QLatin1Char('='), 0, 0);
        const QString text = entry.section(QLatin1Char('='), 1);
        QLineEdit* box = h.control<QLineEdit>(name.toLatin1().constData());
        if (way == QStringLiteral("paste")) {
            // The mouse puts the caret in the box (leaving the one before), Ctrl+V fills it.
            focus(name);
            QApplication::clipboard()->setText(text);
            QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
            h.settle();
        } else {
            // As Open Case fills a box: the text is set, then the box is left.
            box->setText(text);
            QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
            QCoreApplication::sendEvent(box, &leave);
            h.settle();
        }
        QCOMPARE(box->text().remove(QLatin1Char('$')).remove(QLatin1Char(',')).remove(QStringLiteral(".00")), text);
    }
    QVERIFY(h.click(page == QStringLiteral("frmAPR1") ? "CmdContinue" : "cmdContinue"));
    QVERIFY2(h.pageName() == QStringLiteral("frmPymt"), PromptsText(h.prompts()));
    QVERIFY2(h.prompts().isEmpty(), PromptsText(h.prompts()));
    // Each box left was checked: the finance charge is shown as money.
    const Page* left =
        h.window().loadedPage(page == QStringLiteral("frmAPR1") ? PageId::LoanTerms : PageId::ConstructionInterest);
    const QString charge =
        page == QStringLiteral("frmAPR1") ? QStringLiteral("txtDiscFinChg") : QStringLiteral("txtFinChg");
    QCOMPARE(left->findChild<QLineEdit*>(charge)->text(), QStringLiteral("$124.00"));
}

QTEST_MAIN(LoanTermsTest)
#include "loan_terms_test.moc"
