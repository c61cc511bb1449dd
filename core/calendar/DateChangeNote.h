#pragma once
// The note a calendar shows when OK changes a date that earlier schedule rows may already have
// been measured from: changing it does not re-measure them.

#include "calendar/CalendarDate.h"
#include "engine/LoanRecord.h"

#include <string>

namespace tallex {

// The note for accepting `loanDate` and `endDate` (the second date: payment/advance date of a
// regular loan, construction period end date of a construction loan), or "" when none is due.
// A note is due only when the schedule grid had more than one row (giGridRow > 1) and row 1
// already holds numeric unit periods, and then:
//  - regular loan (gbAppendixJ): the stored gsLoanDate is a date and the loan date differs;
//  - construction loan (gbConstruction) not disclosed as a single payment (gbConstOptDisc
//    false): gsLoanDate and gsEndDate are both dates and at least one of the two differs.
// Lines are separated by gsCrLf.
std::string DateChangeNote(const LoanRecord& record, const CalendarDate& loanDate, const CalendarDate& endDate);

}  // namespace tallex
