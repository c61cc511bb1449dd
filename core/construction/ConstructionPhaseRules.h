#pragma once
// The construction phase measured by the payment date calculator (loan date to construction
// period end date), for the construction screens' accrual choices (12 CFR 226, App. D).

#include "calendar/CalendarDate.h"
#include "calendar/CalendarRefusal.h"
#include "engine/LoanRecord.h"

namespace tallex {

// Interest accrues in whole months: 360/360 accrual, or "other" accrual with the term measured
// in whole months on a construction phase disclosed separately.
bool ConstructionAccruesInWholeMonths(const ConstructionChoices& choices);

// A construction phase disclosed separately whose interest accrues in actual days (365/365,
// 365/360, or "other" with the term measured in actual days).
bool SeparateConstructionInActualDays(const ConstructionChoices& choices);

// Before any other rule at OK: a whole-month construction phase must run from a day of the
// month to the same day (or month end to month end); else kConstructionNotMultipleOfMonth.
CalendarRefusal CheckConstructionWholeMonths(const LoanRecord& record, const CalendarDate& loanDate,
                                             const CalendarDate& endDate);

// After the regular rules: a separately disclosed construction phase in actual days is the
// single payment of an actual-days loan: the month count, the refusal of a term of whole
// months that is not whole years (kEqualMonthsTerm), then the annual count (CountYearsBack).
// Nothing is computed for other choices. On a refusal the loan's basis values are left as they
// were.
CalendarRefusal ApplyConstructionPhaseRule(LoanRecord& record, const CalendarDate& loanDate,
                                           const CalendarDate& endDate);

}  // namespace tallex
