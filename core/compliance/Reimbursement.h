#pragma once
// Reimbursement under 12 CFR 226.18 / 226.22 and section 108(e) of the Act: the adjustment owed
// to the borrower when the APR or the finance charge was understated beyond the reimbursement
// tolerance.
//
// APR method: every payment is scaled by gdProrateFactor so that the loan's APR becomes the
// disclosed APR plus the tolerance (gdAdjustedAPR); the changes, carried forward to the final
// payment date, give gdAPRAdjFinal. Finance-charge method: the payments valued at the correct
// APR less the tolerance give the adjusted total of payments, and gdFCAdjustment is what the
// borrower was overcharged against it. Negative amounts are owed to the borrower; an adjustment
// of one dollar or less is none.

#include "engine/LoanRecord.h"
#include "ui/UserSeam.h"

namespace tallex {

// dTolerance of optTolerance(index): 0, 0.125 or 0.25; an index outside 0..2 raises run-time
// error 9.
double ReimbursementToleranceOf(int toleranceIndex);

// The results page's "&Reimbursement" needs a tolerance: with none selected (kToleranceNone, as
// for a single payment in days) the user is asked to choose one and false is returned, so that
// nothing is computed at a tolerance nobody chose.
bool ReimbursementToleranceChosen(LoanRecord& record, UserSeam& user, int toleranceIndex);

// An APR understatement violation the APR method still has to reimburse: found by the tests and
// not found by the reimbursement page to come to less than a dollar (gbNoAPRReimbOwed). Before
// the reimbursement page this is the violation itself.
inline bool AprReimbursementOwed(const LoanRecord& record) { return record.gbAPRUnderViol && !record.gbNoAPRReimbOwed; }

// Forgets what the reimbursement page found for an earlier press: gbNoAPRReimbOwed and
// gbLumpSumsShown.
void ClearReimbursementPageFacts(LoanRecord& record);

// The results page's "&Reimbursement" for a loan that went through the payment schedule:
// dTolerance from the selected option (kToleranceNone leaves it as it is), iNPTotal (payments of
// the positive rows), dUnitPeriodTot, dTempAPR, gdAdjustedAPR, then the finance-charge method
// (and the APR method for an APR violation) when a finance-charge violation was found, else the
// APR method. What the reimbursement page found for an earlier press is cleared first.
void StartReimbursement(LoanRecord& record, int toleranceIndex);

// Adds to dAdvances the absolute present value, at the disclosed APR, of one row that holds an
// advance (a negative amount).
void AdvancePresentValue(LoanRecord& record, int row);

// Fills the alternate schedule so that it stops right after payment number `limit`: the numbers
// of payments in gaAltNumPymts (later advances left out) and, in gaAltPymtAmt, the change that
// gdProrateFactor makes to each payment. Returns the last row taken; dPymt keeps the running
// count. A cut before the first row raises run-time error 9.
int CutSchedule(LoanRecord& record, double limit);

// The APR method over rows 1..giPVStreams: gdAdjAmount, gdAdjPV, gdAdjPVDiff, gdProrateFactor
// and gdAPRAdjFinal, at gdAdjustedAPR. The amount and number-of-payments cells of those rows are
// rewritten as plain numbers; giPVStreams is left as it was given.
void APRMethod(LoanRecord& record);

// The finance-charge method: gdFCAdjAPR, gdFCAdjAmount, gdFCAdjTotal and gdFCAdjustment (0 when
// it is -1 or above). With a tolerance of 0 the adjustment is the finance-charge error itself and
// the APR method runs as well.
void FinanceChargeMethod(LoanRecord& record);

// Present value at gdPVRate of the first `streams` rows of the alternate schedule into gdPVSum;
// afterwards, even on a fault, the typed schedule is in force again and giPVStreams is
// streamsAfter.
void PresentValueOfAlternate(LoanRecord& record, int streams, int streamsAfter);

// The value of the alternate-schedule present value just computed, carried forward from the
// loan date to the last payment of the last stream summed: gdPVSum / (V x D x (1 + i)).
double CarriedToLastPayment(const LoanRecord& record, double presentValue);

}  // namespace tallex
