#pragma once
// The finance-charge tolerance in dollars and the two finance-charge tests (12 CFR 226.18(d)).
// FC is gdEstFinanceChg (disclosed), the correct finance charge is dFnceChg.

#include "engine/LoanRecord.h"

namespace tallex {

// A money amount in ten-thousandths, rounded as Currency rounds it, for the tolerance tests'
// comparisons: a difference such as T - P - FC carries binary noise (100.0000000000291 for
// exactly $100.00) that must not decide a verdict, and the tolerance itself is exactly on the
// boundary. An amount beyond Currency's range keeps its own value: at that size a double has no
// ten-thousandths left to round, and the comparison must not raise an overflow. Sums and
// multiples of these values are exact in a long double.
long double MoneyTicks(double amount);

// giFCTolerance: secured by real estate or a dwelling, $200 for a loan dated before 09/30/95,
// else $100 (226.18(d)(1)); not secured, $10 when the amount financed is above $1,000, else $5
// (226.18(d)(2)).
void SetFCTolerance(LoanRecord& record);

// Run only when FC is not 0 and dFinanceChgDiff > 0. A violation when FC + giFCTolerance is
// less than dFnceChg, all three taken to cents first; the reason goes to gsDebugMsgFC.
bool TestFCUnderstatement(LoanRecord& record);

// Run only when FC is not 0 and dFinanceChgDiff < 0. Never a violation on a loan secured by
// real estate; otherwise a violation when FC - giFCTolerance is above dFnceChg, all three taken
// to cents first. The reason goes to gsDebugMsgFC.
bool TestFCOverstatement(LoanRecord& record);

}  // namespace tallex
