// The loan terms page driven by the keyboard and the mouse: the selection on coming back to a
// box, the check box key, and text that arrives without keys. (Its refusals, questions and
// layout are the core's tables.)

#include "GuiHarness.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>

class LoanTermsTest : public QObject {
    Q_OBJECT
private slots:
    void selection_and_the_check_box_key();
    void text_set_without_keys_clears_the_entry_state_data();
    void text_set_without_keys_clears_the_entry_state();
};

void LoanTermsTest::selection_and_the_check_box_key() {
    GuiHarness h;
    QVERIFY(h.click("CmdContinue"));
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
    QVERIFY(secured->isChecked() && !early->isHidden());
    early->setFocus(Qt::TabFocusReason);
    h.press(Qt::Key_X);
    QVERIFY(h.record().gbDatePre_093095);
    secured->setFocus(Qt::TabFocusReason);
    h.press(Qt::Key_X);  // unticking also unticks and hides the date box
    QVERIFY(!secured->isChecked() && !early->isChecked() && early->isHidden());
    QVERIFY(!h.record().gbDatePre_093095);
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
            QVERIFY(h.choose(step));
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
    const char* charge = page == QStringLiteral("frmAPR1") ? "txtDiscFinChg" : "txtFinChg";
    QCOMPARE(left->findChild<QLineEdit*>(QString::fromLatin1(charge))->text(), QStringLiteral("$124.00"));
}

QTEST_MAIN(LoanTermsTest)
#include "loan_terms_test.moc"
