#pragma once
// The tolerance and violation tests of one loan, run from scratch on every activation of a
// results page, with their verdicts written onto the page's labels: APR understatement and
// overstatement (12 CFR 226.22(a)), finance-charge understatement and overstatement
// (226.18(d)), the 10 % obvious error rule, the term over ten years, and whether the loan is
// subject to reimbursement.
//
// FC is gdEstFinanceChg; a disclosed finance charge of 0 switches every APR and finance-charge
// test off. Arithmetic faults raise RuntimeError to the page.

#include "engine/LoanRecord.h"
#include "ui/ResultsView.h"
#include "ui/UserSeam.h"

namespace tallex {

// Regular loans only: the final payment (dFinal) falls more than ten years of the loan's year
// basis after the loan date, or the single-payment term (dMonths x 30 for code 5, dActDays for
// code 6) exceeds ten years. For code 6 it sets dActDays from dUnitPeriods, gdDaysinUnitPd and
// gdOddDays (the last row of the ordered schedule). An irregular loan is never over ten years.
bool TermOverTenYears(LoanRecord& record);

// The 10 % obvious error rule for the finance charge: a finance charge was disclosed, no APR
// violation was found, and the disclosed finance charge is at most a tenth of the correct one
// (dFnceChg), compared in ten-thousandths so that exactly a tenth applies.
bool FinanceChargeObviousErrorRuleApplies(const LoanRecord& record);

// The same rule for the APR: a finance charge was disclosed, no finance-charge violation was
// found, and the disclosed APR is at most a tenth of the correct one.
bool AprObviousErrorRuleApplies(const LoanRecord& record);

// The driver. The caller has set gbIrregular, dFinal, dUnitPeriods, gdOddDays, dFnceChg,
// gdAmtFinanced and giPVStreams (the streams the adjusted present value sums). It may ask the
// user whether an APR error was caused by the finance-charge error; both answers start at 99
// (not asked) on every run.
void RunComplianceTests(LoanRecord& record, ResultsView& view, UserSeam& user);

}  // namespace tallex
