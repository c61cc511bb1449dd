// Every refusal of the construction pages, met as a user meets it: a key the box does not
// take, a Continue with a field missing or out of range, and the construction results that
// cannot make a loan of the figures. Each message is compared with the recorded prompts.

#include "GuiHarness.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

class ConstructionRefusalsTest : public QObject {
    Q_OBJECT
private slots:
    void key_refusals_data();
    void key_refusals();
    void continue_refusals_data();
    void continue_refusals();
    void results_refusals_data();
    void results_refusals();
};

namespace {

enum Stage { kTerms = 0, kPhase = 1, kInterest = 2 };

void Choose(GuiHarness& h, const QString& option) {
    QRadioButton* button = h.control<QRadioButton>(option.toLatin1().constData());
    QVERIFY2(button, qPrintable(option));
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(8, button->height() / 2));
    h.settle();
}

// Steps of a row: "option" clicks an option, "box=text" types into a box.
void Apply(GuiHarness& h, const QStringList& steps) {
    for (const QString& step : steps) {
        if (step.contains(QLatin1Char('='))) {
            QVERIFY2(
                h.type(step.section(QLatin1Char('='), 0, 0).toLatin1().constData(), step.section(QLatin1Char('='), 1)),
                qPrintable(step));
        } else {
            Choose(h, step);
        }
    }
}

// To the page of `stage`, through the pages before it with figures they accept: a commitment of
// 100,000.00 at 10 % with 1,000.00 prepaid, disclosed separately or with permanent financing,
// and six whole months of construction.
void Reach(GuiHarness& h, int stage, bool permanent) {
    Choose(h, QStringLiteral("optType_1"));
    QVERIFY(h.click("CmdContinue"));
    QCOMPARE(h.pageName(), QStringLiteral("frmConstLoan"));
    if (stage == kTerms) return;
    Apply(h, {QStringLiteral("txtLoanAmt=100000"), QStringLiteral("txtSimpleInt=10"),
              QStringLiteral("txtPrepdFinChg=1000"),
              permanent ? QStringLiteral("optDiscType_1") : QStringLiteral("optDiscType_0")});
    QVERIFY(h.click("cmdContinue"));
    QCOMPARE(h.pageName(), QStringLiteral("frmConstPhase"));
    if (stage == kPhase) return;
    Apply(h, {QStringLiteral("txtTimePeriod=6")});
    QVERIFY(h.click("cmdContinue"));
    QCOMPARE(h.pageName(), QStringLiteral("frmConstInterest"));
}

}  // namespace

void ConstructionRefusalsTest::key_refusals_data() {
    QTest::addColumn<int>("stage");
    QTest::addColumn<bool>("permanent");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::addColumn<QString>("message");
    const QStringList none;
    const QStringList yearOfDays{QStringLiteral("optIntAccrl_1"), QStringLiteral("txtTimePeriod=365")};
    // Construction loan terms: money boxes take digits and one point, the rate as an APR does.
    QTest::newRow("letter in the commitment") << int(kTerms) << false << none << "txtLoanAmt"
                                              << "12a"
                                              << "12"
                                              << "For loan commitment amount, enter numbers or decimal point only.";
    QTest::newRow("letter in the rate") << int(kTerms) << false << none << "txtSimpleInt"
                                        << "9x"
                                        << "9"
                                        << "For annual simple interest rate, enter numbers or decimal point only.";
    QTest::newRow("minus in the prepaid charge") << int(kTerms) << false << none << "txtPrepdFinChg"
                                                 << "5-"
                                                 << "5"
                                                 << "For prepaid finance charge, enter numbers or decimal point only.";
    QTest::newRow("slash in the subsequent charge")
        << int(kTerms) << false << none << "txtSubFinChg"
        << "1/"
        << "1"
        << "For subsequently paid finance charge, enter numbers or decimal point only.";
    QTest::newRow("third decimal of the commitment") << int(kTerms) << false << none << "txtLoanAmt"
                                                     << "1.234"
                                                     << "1.23"
                                                     << "";
    QTest::newRow("leading zero of the rate") << int(kTerms) << false << none << "txtSimpleInt"
                                              << "0.5"
                                              << ".5"
                                              << "";
    // Construction phase: digits only; the period's message quotes its caption.
    QTest::newRow("letter in the months") << int(kPhase) << false << none << "txtTimePeriod"
                                          << "1a"
                                          << "1"
                                          << "For # of months, enter numbers only.";
    QTest::newRow("point in the days") << int(kPhase) << false << QStringList{QStringLiteral("optIntAccrl_1")}
                                       << "txtTimePeriod"
                                       << "3."
                                       << "3"
                                       << "For # of days, enter numbers only.";
    QTest::newRow("point in the unit periods") << int(kPhase) << false << yearOfDays << "txtUnitPeriod"
                                               << "1."
                                               << "1"
                                               << "For # of unit periods, enter numbers only.";
    QTest::newRow("minus in the odd days") << int(kPhase) << false << yearOfDays << "txtOddDays"
                                           << "5-"
                                           << "5"
                                           << "For # of odd days, enter numbers only.";
    // Construction interest.
    QTest::newRow("letter in the estimate") << int(kInterest) << true << none << "txtAmtInt"
                                            << "45a"
                                            << "45"
                                            << "Enter numbers, minus sign or decimal point only";
    QTest::newRow("third decimal of the estimate") << int(kInterest) << true << none << "txtAmtInt"
                                                   << "4.567"
                                                   << "4.56"
                                                   << "";
    QTest::newRow("letter in the APR") << int(kInterest) << true << none << "txtDiscAPR"
                                       << "8x"
                                       << "8"
                                       << "For disclosed APR, enter numbers or decimal point only.";
    QTest::newRow("minus in the finance charge")
        << int(kInterest) << true << none << "txtFinChg"
        << "6-"
        << "6"
        << "For disclosed finance charge, enter numbers or decimal point only.";
    QTest::newRow("letter in the months of a unit period")
        << int(kInterest) << true << QStringList{QStringLiteral("optPymtFreq_1")} << "txtUnitPeriod"
        << "3m"
        << "3"
        << "Enter numbers only for the months in unit period.";
}

void ConstructionRefusalsTest::key_refusals() {
    QFETCH(int, stage);
    QFETCH(bool, permanent);
    QFETCH(QStringList, steps);
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    QFETCH(QString, message);
    GuiHarness h;
    Reach(h, stage, permanent);
    Apply(h, steps);
    h.forgetPrompts();
    QVERIFY(h.type(box.toLatin1().constData(), typed));
    QCOMPARE(h.control<QLineEdit>(box.toLatin1().constData())->text(), kept);
    const QStringList expected = message.isEmpty() ? QStringList() : QStringList{message};
    QCOMPARE(h.prompts(), expected);
    if (!message.isEmpty()) QCOMPARE(h.user().prompts().front().style, short{48});
}

void ConstructionRefusalsTest::continue_refusals_data() {
    QTest::addColumn<int>("stage");
    QTest::addColumn<bool>("permanent");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");  // the box refused, or the page reached when nothing is
    const QString money = QStringLiteral("txtLoanAmt=100000");
    const QStringList yearOfDays{QStringLiteral("optIntAccrl_1"), QStringLiteral("txtTimePeriod=365")};
    QTest::newRow("no commitment") << int(kTerms) << false << QStringList()
                                   << "Enter loan commitment amount using the following format: #,###.##"
                                   << "txtLoanAmt";
    QTest::newRow("rate below 1") << int(kTerms) << false << QStringList{money, QStringLiteral("txtSimpleInt=.5")}
                                  << "Annual simple interest rate must be greater than or equal to 1."
                                  << "txtSimpleInt";
    QTest::newRow("prepaid charge without digits")
        << int(kTerms) << false
        << QStringList{money, QStringLiteral("txtSimpleInt=1"), QStringLiteral("txtPrepdFinChg=.")}
        << "Enter prepaid finance charge using the following format: #,###.##"
        << "txtPrepdFinChg";
    QTest::newRow("subsequent charge without digits")
        << int(kTerms) << false
        << QStringList{money, QStringLiteral("txtSimpleInt=1"), QStringLiteral("txtSubFinChg=.")}
        << "Enter subsequently paid finance charge using the following format: #,###.##"
        << "txtSubFinChg";
    const QStringList allPrepaid{QStringLiteral("txtLoanAmt=10000"), QStringLiteral("txtSimpleInt=8"),
                                 QStringLiteral("txtPrepdFinChg=10000")};
    QTest::newRow("prepaid charge as large as the commitment")
        << int(kTerms) << false << allPrepaid
        << "The sum of loan commitment amount plus subsequently paid finance charge must be greater than the prepaid "
           "finance charge ."
        << "txtLoanAmt";
    QTest::newRow("the same with permanent financing")
        << int(kTerms) << false << (QStringList(allPrepaid) << QStringLiteral("optDiscType_1")) << ""
        << "frmConstPhase";

    QTest::newRow("no months") << int(kPhase) << false << QStringList()
                               << "Enter a number greater than 0 for the # of months."
                               << "txtTimePeriod";
    QTest::newRow("400 days of construction alone")
        << int(kPhase) << false << QStringList{QStringLiteral("optIntAccrl_1"), QStringLiteral("txtTimePeriod=400")}
        << "Enter a number from 1 to 365 for the # of days."
        << "txtTimePeriod";
    QTest::newRow("400 days with permanent financing")
        << int(kPhase) << true << QStringList{QStringLiteral("optIntAccrl_1"), QStringLiteral("txtTimePeriod=400")}
        << ""
        << "frmConstInterest";
    QTest::newRow("no unit period") << int(kPhase) << false
                                    << (QStringList(yearOfDays) << QStringLiteral("txtUnitPeriod=0"))
                                    << "Enter a number greater than 0 for the # of unit periods."
                                    << "txtUnitPeriod";
    QTest::newRow("no odd days") << int(kPhase) << false
                                 << (QStringList(yearOfDays) << QStringLiteral("txtUnitPeriod=1"))
                                 << "Enter a number between 0 and 365 for # of odd days."
                                 << "txtOddDays";
    QTest::newRow("400 odd days") << int(kPhase) << false
                                  << (QStringList(yearOfDays)
                                      << QStringLiteral("txtUnitPeriod=1") << QStringLiteral("txtOddDays=400"))
                                  << "Enter a number between 0 and 365 for # of odd days."
                                  << "txtOddDays";

    const QString apr = QStringLiteral("txtDiscAPR=9");
    QTest::newRow("estimate without digits")
        << int(kInterest) << false << QStringList{QStringLiteral("txtAmtInt=-"), apr}
        << "Enter dollar amount using the following format: #,###.##"
        << "txtAmtInt";
    QTest::newRow("APR below 1") << int(kInterest) << false << QStringList{QStringLiteral("txtDiscAPR=.5")}
                                 << "Enter a number greater than or equal to 1 for disclosed or estimated APR."
                                 << "txtDiscAPR";
    QTest::newRow("finance charge without digits")
        << int(kInterest) << false << QStringList{apr, QStringLiteral("txtFinChg=.")}
        << "Enter dollar amount using the following format: #,###.##"
        << "txtFinChg";
    QTest::newRow("13 months in a unit period")
        << int(kInterest) << true
        << QStringList{apr, QStringLiteral("optPymtFreq_1"), QStringLiteral("txtUnitPeriod=13")}
        << "Enter a number between 2 and 12 for the months in unit period."
        << "txtUnitPeriod";
    QTest::newRow("400 days in a unit period")
        << int(kInterest) << true
        << QStringList{apr, QStringLiteral("optPymtFreq_3"), QStringLiteral("txtUnitPeriod=400")}
        << "Enter a number between 1 and 365 for the days in unit period."
        << "txtUnitPeriod";
    QTest::newRow("no months in the loan term")
        << int(kInterest) << true << QStringList{apr, QStringLiteral("optLoanType_1")}
        << "Enter a number greater than 0 for the months in loan term."
        << "txtUnitPeriod";
    QTest::newRow("no finance charge disclosed") << int(kInterest) << false << QStringList{apr} << ""
                                                 << "frmRecDiscl";
}

void ConstructionRefusalsTest::continue_refusals() {
    QFETCH(int, stage);
    QFETCH(bool, permanent);
    QFETCH(QStringList, steps);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    GuiHarness h;
    Reach(h, stage, permanent);
    const QString page = h.pageName();
    Apply(h, steps);
    h.forgetPrompts();
    QVERIFY(h.click("cmdContinue"));
    if (message.isEmpty()) {
        QVERIFY2(h.prompts().isEmpty(), PromptsText(h.prompts()));
        QCOMPARE(h.pageName(), focus);
        return;
    }
    QCOMPARE(h.prompts(), QStringList{message});
    QCOMPARE(h.user().prompts().front().style, short{48});
    QCOMPARE(h.pageName(), page);
    QWidget* focused = QApplication::focusWidget();
    QCOMPARE(focused ? focused->objectName() : QString(), focus);
}

void ConstructionRefusalsTest::results_refusals_data() {
    QTest::addColumn<QString>("estimate");
    QTest::addColumn<double>("prepaid");  // set behind the terms page, which refuses it itself
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("financeChargeShown");
    // A negative estimate: one payment of 50,000 - 60,000 = -10,000, and 50,000 - 10,000 - 60,000
    // is less than the commitment.
    QTest::newRow("payments less than the amount financed")
        << "-60000" << 0.0
        << "Total payments must not be less than amount financed.  Go back to prior screen(s) to make corrections."
        << false;
    QTest::newRow("prepaid charge beyond the commitment")
        << "" << 200000.0
        << "(The sum of loan commitment amount plus subsequently paid finance charge must be greater than prepaid "
           "finance charge.  Go back to prior screen(s) to make corrections."
        << false;
}

void ConstructionRefusalsTest::results_refusals() {
    QFETCH(QString, estimate);
    QFETCH(double, prepaid);
    QFETCH(QString, message);
    QFETCH(bool, financeChargeShown);
    GuiHarness h;
    Reach(h, kInterest, false);
    if (!estimate.isEmpty()) h.type("txtAmtInt", estimate);
    h.type("txtDiscAPR", QStringLiteral("9"));
    if (prepaid > 0) h.record().gdPrepaidFinChg = prepaid;
    h.forgetPrompts();
    QVERIFY(h.click("cmdContinue"));
    QCOMPARE(h.pageName(), QStringLiteral("frmRecDiscl"));
    QCOMPARE(h.prompts(), QStringList{message});
    QCOMPARE(h.user().prompts().front().style, short{48});
    QCOMPARE(h.control<QLabel>("lblFinanceChg")->isVisible(), financeChargeShown);
    QVERIFY(!h.control<QLabel>("lblAPR")->isVisible());
    QCOMPARE(h.control<QLabel>("lblPrepdChg")->text(), QString());
    QVERIFY(!h.control<QPushButton>("cmdPrint")->isEnabled());
    QVERIFY(!h.control<QPushButton>("cmdContinue")->isVisible());
    QCOMPARE(h.control<QLabel>("lblDisclText1")->text(), QString());
}

QTEST_MAIN(ConstructionRefusalsTest)
#include "construction_refusals_test.moc"
