#pragma once
// A regular loan typed into the pages as a user types it, from the basic information page to
// the results page. The basic information is that of the hand-laid report b-apr-understatement.

#include "GuiHarness.h"

#include <QString>
#include <QStringList>

struct TypedLoan {
    QString amountFinanced, disclosedApr, disclosedFinanceCharge;
    QStringList schedule;  // the cells row by row: amount, payments, unit periods, odd days
};

// 10,000 financed, 36 monthly payments of 330 from one month after the loan date: the correct
// APR is 11.5504 % (bisection outside the program: 11.550438915...), the finance charge 1,880.00.
inline TypedLoan ThirtySixPaymentsOf330(const QString& disclosedApr, const QString& disclosedFinanceCharge) {
    return TypedLoan{QStringLiteral("10000"), disclosedApr, disclosedFinanceCharge, {"330", "36", "1", "0"}};
}

// Types the loan and presses Continue on the schedule page; true when the results page shows.
inline bool TypeLoan(GuiHarness& h, const TypedLoan& loan) {
    const char* const basics[][2] = {{"txtUserName", "Jane Examiner"},
                                     {"txtAcctDate", "06-30-2026"},
                                     {"txtAccountNbr", "200-3001"},
                                     {"txtBorrower", "Rita Refund"},
                                     {"txtLender", "Lakeside Savings"}};
    for (const auto& [box, text] : basics) h.type(box, QString::fromLatin1(text));
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
