#pragma once
// Regular or irregular transaction, which decides the APR tolerance: 1/8 of a percentage point
// for a regular transaction, 1/4 for an irregular one (12 CFR 226.22(a)(2) and (a)(3)).

#include "engine/LoanRecord.h"

namespace tallex {

// Sets gbIrregular from rows 1..giPymtRows of the schedule, at the first rule that decides:
// a construction loan or any advance (negative amount) is irregular; one row is regular; more
// than three rows are irregular; rows whose odd days differ from row 1's, or that do not start
// right after the previous row ends, are irregular; two rows are regular when either is a
// single payment; three rows are regular when the first and the third are single payments.
// Cells are compared as numbers, exactly.
void ClassifyIrregular(LoanRecord& record);

}  // namespace tallex
