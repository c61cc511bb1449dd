#pragma once
// The APR accuracy tests of 12 CFR 226.22(a): 1/8 of a percentage point for a regular
// transaction, 1/4 for an irregular one, and, for a loan secured by real estate, an APR error
// that comes with a finance-charge error within the tolerance of 226.18(d)(1) treated as
// accurate (226.22(a)(5)), checked against the present value of the payments at the disclosed
// APR (dPval) and at the disclosed APR moved by half a unit of its last decimal.
//
// P is gdAmount; dFinanceChgDiff is positive when the disclosed finance charge is understated.

#include "engine/LoanRecord.h"
#include "ui/UserSeam.h"

namespace tallex {

enum class AdjustDirection : int {
    Understatement = 1,  // the disclosed APR is moved up
    Overstatement = 2,   // the disclosed APR is moved down
};

// gdDisclAPR_Adjusted = gdDisclAPR moved by h, half a unit of its last decimal as the number's
// shortest text shows it (h = 0.005 for 0, 1 or 2 decimals; 8.125 gives 0.0005); then
// gdPval_Adjusted = the present value of the first giPVStreams streams at that APR. Sets
// gdUnitPdFraction and gdPVRate on the way. Days in the year 0 raises run-time error 11.
void AdjustDisclosedAPR(LoanRecord& record, AdjustDirection direction);

// Run only when FC is not 0 and gdAPRDiff > 0. Returns true on a violation, with the reason in
// gsDebugMsgAPR (empty otherwise). When the finance charge is understated within its tolerance
// on a secured loan, asks "Was the APR error caused by the finance charge error?" and keeps the
// answer in giAPRUnderByFC (-1 Yes: no violation; 0 No: the present-value tests decide).
bool TestAPRUnderstatement(LoanRecord& record, UserSeam& user);

// Run only when FC is not 0 and gdAPRDiff < 0. Returns true on a violation, with the reason in
// gsDebugMsgAPR. On a secured loan whose finance charge is overstated too, asks the same
// question and keeps the answer in giAPROverByFC.
bool TestAPROverstatement(LoanRecord& record, UserSeam& user);

}  // namespace tallex
