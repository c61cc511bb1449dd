#include "widgets/AccessibleNames.h"

#include <QAbstractItemView>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QString>

#include <string_view>

namespace {

struct Spoken {
    std::string_view control;
    const char* name;
    const char* description;
};

// Form names are shared by pages that ask for the same thing.
constexpr Spoken kSpoken[] = {
    // Basic information.
    {"txtUserName", "Prepared by", "Name of the examiner who prepares the review."},
    {"txtAcctDate", "Date", "Date of the review, as month-day-year."},
    {"txtAccountNbr", "Account number", "The loan's account number."},
    {"txtBorrower", "Borrower name", "Name of the borrower."},
    {"txtLender", "Lender name", "Name of the lender."},
    {"txtCreditor", "Original creditor", "Name of the loan's original creditor."},
    // Loan terms and construction terms.
    {"txtAmtFinanced", "Amount financed", "The amount financed, in dollars."},
    {"txtDiscAPR", "Disclosed APR", "The annual percentage rate the lender disclosed, in percent."},
    {"txtDiscFinChg", "Disclosed finance charge", "The finance charge the lender disclosed, in dollars."},
    {"txtFinChg", "Disclosed finance charge", "The finance charge the lender disclosed, in dollars; blank when none."},
    {"txtUnitPeriod", "Unit period", "Length of the loan's unit period, or the months in the loan term."},
    {"txtLoanAmt", "Commitment amount", "The construction loan's commitment, in dollars."},
    {"txtSimpleInt", "Simple interest rate", "The contract's simple interest rate, in percent."},
    {"txtPrepdFinChg", "Prepaid finance charge", "The finance charge paid at consummation, in dollars."},
    {"txtSubFinChg", "Subsequently paid finance charge", "The finance charge paid after consummation, in dollars."},
    {"txtTimePeriod", "Construction period", "Length of the construction phase, in months or days."},
    {"txtOddDays", "Odd days", "Days beyond the whole unit periods."},
    {"txtAmtInt", "Estimated construction interest", "The estimated interest of the construction phase, in dollars."},
    {"txtPriorPymts", "Number of prior payments", "How many payments the borrower has made so far."},
    // The date calculators.
    {"mskStartDate", "Loan date", "Date of the loan, as month-day-year."},
    {"mskLoanDate", "Loan date", "Date of the loan, as month-day-year."},
    {"mskEndDate", "Payment date", "Date of the payment, as month-day-year."},
    {"mskConstrEndDate", "Construction end date", "Date the construction phase ends, as month-day-year."},
    {"mskAmortPymtDate", "First amortization payment date", "Date of the first permanent payment, month-day-year."},
    // Grids.
    {"SSDBGrid1_editor", "Schedule cell",
     "The payment schedule's cell being typed in; the instruction below the grid says what it takes."},
    {"SSDBGrid1", "Payment schedule",
     "One row per payment stream: payment amount, number of payments, unit periods and odd days to the first "
     "payment."},
    {"SSDBGridDisc", "Payment schedule", "The payment streams in the order they fall due."},
    {"SSDBGridRB", "Adjusted payment schedule", "The payment streams with their original and adjusted payments."},
    // Results.
    {"lblAPR", "Annual percentage rate", "The annual percentage rate computed from the payment schedule."},
    {"lblFinanceChg", "Finance charge", "The finance charge computed from the payment schedule."},
    {"lblAmount", "Amount financed", "The amount financed."},
    {"lblTotPymts", "Total of payments", "The sum of every scheduled payment."},
    {"lblDisclAPR", "Disclosed APR", "The annual percentage rate the lender disclosed."},
    {"lblDisclFinanceChg", "Disclosed finance charge", "The finance charge the lender disclosed."},
    {"lblPrepdChg", "Prepaid finance charge", "The construction loan's prepaid finance charge."},
    {"lblSubFnceChg", "Subsequently paid finance charge", "The construction loan's later finance charge."},
    {"lblAPRViolation", "APR verdict", "Whether the disclosed APR is accurate, and how it is wrong."},
    {"lblAPRViolAmt", "APR difference", "How far the disclosed APR is from the computed one."},
    {"lblFinanceViolation", "Finance charge verdict", "Whether the disclosed finance charge is accurate."},
    {"lblFinanceViolAmt", "Finance charge difference",
     "How far the disclosed finance charge is from the computed one."},
    {"lblFinanceError", "Finance charge note", "A note on the finance charge's tolerance."},
    {"lblPymtAmt", "Payment amount", "The construction phase's payment."},
    {"lblFinalPymtAmt", "Final payment amount", "The construction phase's final payment."},
    {"lblAdjAPR2", "Adjusted APR", "The APR the reimbursement is computed with."},
    {"lblProFactor2", "Prorate factor", "The share of the loan term the reimbursement covers."},
    {"lblFinalAPRAdj2", "APR adjustment", "The reimbursement by the APR method, as of the final payment date."},
    {"lblFnceChgAdj2", "Finance charge adjustment", "The reimbursement by the finance charge method."},
    {"lblAPRAdj2", "APR adjustment", "The reimbursement by the APR method."},
    {"lblLmpSumPymtRed2", "Lump sum and payment reduction", "The reimbursement paid as a lump sum and lower payments."},
    {"lblLmpSum2", "Lump sum", "The reimbursement paid as one lump sum."},
};

const Spoken* Find(const QString& objectName) {
    const QByteArray name = objectName.toLatin1();
    for (const Spoken& spoken : kSpoken)
        if (spoken.control == std::string_view(name.constData(), static_cast<std::size_t>(name.size()))) return &spoken;
    return nullptr;
}

// The label that names a box: its buddy, with the access key's marker and the colon dropped.
QString LabelOf(const QWidget* control) {
    const QWidget* window = control->window();
    for (const QLabel* label : window->findChildren<QLabel*>()) {
        if (label->buddy() != control) continue;
        QString text = label->text();
        text.remove(QLatin1Char('&'));
        while (text.endsWith(QLatin1Char(':')) || text.endsWith(QLatin1Char(' '))) text.chop(1);
        return text;
    }
    return {};
}

void Describe(QWidget* control, const QString& fallbackName) {
    if (!control->accessibleName().isEmpty()) return;
    if (const Spoken* spoken = Find(control->objectName())) {
        control->setAccessibleName(QString::fromLatin1(spoken->name));
        control->setAccessibleDescription(QString::fromLatin1(spoken->description));
        return;
    }
    if (!fallbackName.isEmpty()) control->setAccessibleName(fallbackName);
}

}  // namespace

void DescribeControls(QWidget* root) {
    if (auto* box = qobject_cast<QLineEdit*>(root)) Describe(box, LabelOf(box));
    for (QLineEdit* box : root->findChildren<QLineEdit*>()) Describe(box, LabelOf(box));
    for (QAbstractItemView* grid : root->findChildren<QAbstractItemView*>())
        if (!qobject_cast<QHeaderView*>(grid)) Describe(grid, {});
    for (QLabel* label : root->findChildren<QLabel*>())
        if (Find(label->objectName())) Describe(label, {});
}
