// The reimbursement page: the APR method's figures, the adjusted payments, the prior-payments
// entry with its key filter and messages, the lump sums, and the finance-charge method.
//
// Expected figures, worked by hand (annuity formulas) for 36 x 330 on 10,000 at an adjusted APR
// of 10.25 % (disclosed 10 % plus the .25 tolerance): present value 10,190.00, prorate factor
// 10,000 / 10,190.00 = .9813541845, adjusted payment 323.85; the overcharge of -190.00 carried
// to payment 36 is -258.07, to payment 12 -210.42; the changes of payments 1 to 12 carried to
// payment 12 sum to -77.41. Finance-charge method at 11.5504 - .25 = 11.3004 %: adjusted total
// of payments 11,837.22, so the adjustment is 11,500 - 11,837.22 = -337.22.

#include "GuiHarness.h"
#include "TypedLoan.h"
#include "widgets/ResultGrid.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

class ReimbursementTest : public QObject {
    Q_OBJECT
private slots:
    void adjusted_apr_prorate_factor_and_lump_sums();
    void prior_payments_refusals_data();
    void prior_payments_refusals();
    void finance_charge_adjustment_beside_the_apr_method();
    void no_tolerance_selected_asks_for_one();
};

namespace {

QString LabelText(GuiHarness& h, const char* name) {
    const QLabel* label = h.control<QLabel>(name);
    return label ? label->text() : QStringLiteral("<missing %1>").arg(QString::fromLatin1(name));
}

bool Shown(GuiHarness& h, const char* name) {
    const QWidget* widget = h.control<QWidget>(name);
    return widget && !widget->isHidden();
}

bool ToReimbursement(GuiHarness& h, const QString& disclosedFinanceCharge) {
    if (!TypeLoan(h, ThirtySixPaymentsOf330(QStringLiteral("10"), disclosedFinanceCharge))) return false;
    return h.click("cmdContinue") && h.pageName() == QStringLiteral("frmReimbursement");
}

const QString kRangeMessage = QStringLiteral(
    "# of prior payments must be greater than 0 and less than or equal to the total number of payments (36).");

}  // namespace

void ReimbursementTest::adjusted_apr_prorate_factor_and_lump_sums() {
    GuiHarness h;
    QVERIFY2(ToReimbursement(h, QStringLiteral("1880")), PromptsText(h.prompts()));
    QCOMPARE(LabelText(h, "lblCaption"),
             QStringLiteral("Reimbursement Information (using reimbursement tolerance of .25%)"));
    QCOMPARE(LabelText(h, "lblAdjAPR2"), QStringLiteral("10.250 %"));
    QCOMPARE(LabelText(h, "lblProFactor2"), QStringLiteral(".9813541845"));
    QCOMPARE(LabelText(h, "lblFinalAPRAdj"), QStringLiteral("APR Adjustment as of Final Payment Date"));
    QCOMPARE(LabelText(h, "lblFinalAPRAdj2"), QStringLiteral("-$258.07"));
    QVERIFY(!Shown(h, "fraFnceChgAdj"));
    QVERIFY(!Shown(h, "fraAPRAdj"));

    const ResultGrid* grid = h.control<ResultGrid>("SSDBGridRB");
    QVERIFY(Shown(h, "SSDBGridRB"));
    QCOMPARE(grid->rowCount(), 1);
    QStringList row;
    for (int c = 0; c < 6; ++c) row << grid->cellText(0, c);
    QCOMPARE(row, (QStringList{"1", "$330.00", "$323.85", "36", "1", "0"}));
    QCOMPARE(grid->horizontalHeaderItem(2)->text(), QStringLiteral("Adjusted Payment"));

    // Nothing to print until the lump sums are shown; the prior payments come first.
    QVERIFY(!h.control<QPushButton>("CmdPrint")->isEnabled());
    QVERIFY(h.control<QLineEdit>("txtPriorPymts")->hasFocus());
    QVERIFY(!Shown(h, "fraLumpSums"));
    h.type("txtPriorPymts", QStringLiteral("12"));
    QVERIFY(h.click("cmdShowAdjustment"));
    QVERIFY2(h.prompts().isEmpty(), PromptsText(h.prompts()));
    QVERIFY(Shown(h, "fraLumpSums"));
    QCOMPARE(LabelText(h, "lblLmpSumPymtRed2"), QStringLiteral("-$77.41"));
    QCOMPARE(LabelText(h, "lblPymtsRedMeth1"), QStringLiteral("Payments 1 -"));
    QCOMPARE(LabelText(h, "lblPymtsRedMeth2"), QStringLiteral("12"));
    QCOMPARE(LabelText(h, "lblLmpSum2"), QStringLiteral("-$210.42"));
    QCOMPARE(LabelText(h, "lblPymtsLmpSum2"), QStringLiteral("36"));
    QVERIFY(h.control<QPushButton>("CmdPrint")->isEnabled());
}

void ReimbursementTest::prior_payments_refusals_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<bool>("lumpSums");
    // The letter is discarded as it is typed; what is left, 1, is a valid count.
    QTest::newRow("a letter is refused as it is typed")
        << "1a"
        << "1" << QStringList{"For # of prior payments, enter numbers only."} << true;
    QTest::newRow("nothing entered") << ""
                                     << ""
                                     << QStringList{"# of prior payments must be entered before showing adjustments."}
                                     << true;
    QTest::newRow("none made") << "0"
                               << "0" << QStringList{kRangeMessage} << false;
    QTest::newRow("one more than the total") << "37"
                                             << "37" << QStringList{kRangeMessage} << false;
}

void ReimbursementTest::prior_payments_refusals() {
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(QStringList, messages);
    QFETCH(bool, lumpSums);
    GuiHarness h;
    QVERIFY2(ToReimbursement(h, QStringLiteral("1880")), PromptsText(h.prompts()));
    // An accepted count first: a count out of range takes its lump sums away.
    h.type("txtPriorPymts", QStringLiteral("36"));
    QVERIFY(h.click("cmdShowAdjustment"));
    QVERIFY(Shown(h, "fraLumpSums"));
    h.forgetPrompts();
    auto* box = h.control<QLineEdit>("txtPriorPymts");
    box->clear();
    h.type("txtPriorPymts", typed);
    QCOMPARE(box->text(), shown);
    QVERIFY(h.click("cmdShowAdjustment"));
    QCOMPARE(h.prompts(), messages);
    QCOMPARE(h.user().prompts().front().style, short(48));
    QCOMPARE(Shown(h, "fraLumpSums"), lumpSums);
}

void ReimbursementTest::finance_charge_adjustment_beside_the_apr_method() {
    GuiHarness h;
    QVERIFY2(ToReimbursement(h, QStringLiteral("1500")), PromptsText(h.prompts()));
    QVERIFY(Shown(h, "fraFnceChgAdj"));
    QCOMPARE(LabelText(h, "lblFnceChgAdj"), QStringLiteral("Finance Charge Adjustment (using APR of"));
    QCOMPARE(LabelText(h, "lblPercent2"), QStringLiteral("11.300 %):"));
    QCOMPARE(LabelText(h, "lblFnceChgAdj2"), QStringLiteral("-$337.22"));
    QCOMPARE(LabelText(h, "lblProFactor2"), QStringLiteral(".9813541845"));
}

// A single payment of 2,700 on 2,500 after 180 days (16.2222 %, disclosed 10 %): the results
// page selects no reimbursement tolerance, so Reimbursement first asks for one. At .25 the
// payment becomes 2,500 x (1 + 180 / 365 x .1025) = 2,626.37, 73.63 less.
void ReimbursementTest::no_tolerance_selected_asks_for_one() {
    GuiHarness h;
    TypedLoan loan;
    loan.amountFinanced = QStringLiteral("2500");
    loan.disclosedApr = QStringLiteral("10");
    loan.disclosedFinanceCharge = QStringLiteral("200");
    loan.loanType = 1;   // single advance, single payment
    loan.frequency = 1;  // actual days
    loan.unitPeriod = QStringLiteral("180");
    loan.schedule = {{QStringLiteral("2700"), {}, {}, {}}};
    QVERIFY2(TypeLoan(h, loan), PromptsText(h.prompts()));
    QVERIFY(Shown(h, "fraTolerance") && Shown(h, "cmdContinue"));
    for (const char* option : {"optTolerance_0", "optTolerance_1", "optTolerance_2"})
        QVERIFY(!h.control<QRadioButton>(option)->isChecked());

    QVERIFY(h.click("cmdContinue"));
    QCOMPARE(h.pageName(), QStringLiteral("FrmDisclosure"));
    QCOMPARE(h.prompts().size(), 1);
    QCOMPARE(h.user().prompts().front().style, short(tallex::kStyleExclamation));
    QVERIFY(h.prompts().front().contains(QStringLiteral("reimbursement tolerance")));
    QVERIFY(h.control<QRadioButton>("optTolerance_0")->hasFocus());
    QCOMPARE(h.record().gdAdjustedAPR, 0.0);  // nothing computed

    h.forgetPrompts();
    h.control<QRadioButton>("optTolerance_2")->click();
    QVERIFY(h.click("cmdContinue"));
    QVERIFY2(h.prompts().isEmpty(), PromptsText(h.prompts()));
    QCOMPARE(h.pageName(), QStringLiteral("frmReimbursement"));
    QCOMPARE(LabelText(h, "lblAdjAPR2"), QStringLiteral("10.250 %"));
    QCOMPARE(LabelText(h, "lblFinalAPRAdj2"), QStringLiteral("-$73.63"));
    QCOMPARE(h.control<ResultGrid>("SSDBGridRB")->cellText(0, 2), QStringLiteral("$2,626.37"));
}

QTEST_MAIN(ReimbursementTest)
#include "reimbursement_test.moc"
