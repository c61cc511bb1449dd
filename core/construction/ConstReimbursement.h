#pragma once
// Reimbursement for a construction loan disclosed separately (12 CFR 226, App. D, part I):
// the results page's "&Reimbursement". The loan is one payment, so the APR and finance-charge
// methods of the regular reimbursement run over schedule row 1 alone.

#include "engine/LoanRecord.h"

namespace tallex {

// What the reimbursement page found for an earlier press is cleared; dTolerance from
// optTolerance(toleranceIndex) (kToleranceNone keeps it); iNPTotal and
// dUnitPeriodTot of the one stream; dAdvances 0; dTempAPR and gdAdjustedAPR; then the
// finance-charge method (and the APR method for an APR violation) when a finance-charge
// violation was found, else the APR method; finally giPymtFreq 7 (construction-only). Schedule
// row 1 keeps its texts exactly as they were.
void StartConstReimbursement(LoanRecord& record, int toleranceIndex);

}  // namespace tallex
