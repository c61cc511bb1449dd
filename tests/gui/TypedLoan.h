#pragma once
// A regular loan typed into the pages as a user types it, from the basic information page to
// the results page, for the tests of the results, reimbursement, report and case-file pages.

#include "GuiHarness.h"

#include <QString>
#include <QStringList>

struct TypedLoan {
    QString preparer = QStringLiteral("Pat Examiner");
    QString date;  // empty: the page's own (today)
    QString account = QStringLiteral("4417-0093");
    QString borrower = QStringLiteral("Lee Borrower");
    QString lender = QStringLiteral("First Community Bank");
    QString amountFinanced, disclosedApr, disclosedFinanceCharge;
    QStringList schedule;  // the cells row by row: amount, payments, unit periods, odd days
};

// 10,000 financed, 36 monthly payments of 330 from one month after the loan date: the correct
// APR is 11.5504 % (bisection outside the program: 11.550438915...), the finance charge 1,880.00.
inline TypedLoan ThirtySixPaymentsOf330(const QString& disclosedApr, const QString& disclosedFinanceCharge) {
    TypedLoan loan;
    loan.amountFinanced = QStringLiteral("10000");
    loan.disclosedApr = disclosedApr;
    loan.disclosedFinanceCharge = disclosedFinanceCharge;
    loan.schedule = QStringList{"330", "36", "1", "0"};
    return loan;
}

// Types the loan and presses Continue on the schedule page; true when the results page shows.
inline bool TypeLoan(GuiHarness& h, const TypedLoan& loan) {
    h.type("txtUserName", loan.preparer);
    if (!loan.date.isEmpty()) h.type("txtAcctDate", loan.date);
    h.type("txtAccountNbr", loan.account);
    h.type("txtBorrower", loan.borrower);
    h.type("txtLender", loan.lender);
    h.tab();
    if (!h.click("CmdContinue")) return false;
    h.type("txtAmtFinanced", loan.amountFinanced);
    h.type("txtDiscAPR", loan.disclosedApr);
    h.type("txtDiscFinChg", loan.disclosedFinanceCharge);
    h.tab();
    if (!h.click("CmdContinue") || h.pageName() != QStringLiteral("frmPymt")) return false;
    // Tab past the last cell would open an empty stream.
    h.typeCells(loan.schedule.mid(0, loan.schedule.size() - 1));
    if (!loan.schedule.isEmpty()) h.typeCell(loan.schedule.last());
    return h.click("cmdContinue") && h.pageName() == QStringLiteral("FrmDisclosure");
}
