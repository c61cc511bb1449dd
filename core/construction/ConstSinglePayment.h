#pragma once
// A loan repaid by one payment a whole number of months after the loan date: below a year the
// unit period is those months of 30 days; from 12 months on it is one 360-day year, with the
// whole years as unit periods and the remaining months as odd days of 30 days each.
//
//   months   days in unit period   unit periods   odd days
//     6            180                  1             0
//    18            360                  1           180
//    30            360                  2           180

#include "engine/LoanRecord.h"

namespace tallex {

// Sets giPymtFreq (5), dMonths, gdDaysinUnitPd, gdDaysinYr (360), gdCalUnitPeriods and
// gdCalOddDays for a single payment `months` whole months after the loan date.
void SetWholeMonthsSinglePayment(LoanRecord& record, double months);

}  // namespace tallex
