#pragma once
// The construction phase page: how construction interest accrues, whether an interest reserve is
// required, and how long construction lasts. From these come the accrual code and the length of
// the construction period that the interest estimate uses (12 CFR 226, App. D, part I), and, for
// a construction phase disclosed separately, the single-payment transaction that the APR solver
// sees: one payment at the end of construction.

#include "construction/ConstText.h"
#include "engine/LoanRecord.h"
#include "ui/UserSeam.h"

#include <string>
#include <string_view>

namespace tallex {

// The page's text fields, by tag.
enum ConstPhaseField : int {
    kPhaseTimePeriod = 0,   // txtTimePeriod: months or days of construction
    kPhaseUnitPeriods = 1,  // txtUnitPeriod
    kPhaseOddDays = 2,      // txtOddDays
};

// What the page shows for the current choices (accrual, "other" basis, disclosure type).
struct ConstPhaseLayout {
    bool reserveShown = false;      // chkCompundInt with lblCompoundInt, shown and enabled
    bool otherShown = false;        // fraOther with optOther, shown and enabled
    bool timePeriodShown = false;   // fraTimePeriod with lblTimePeriod and txtTimePeriod
    bool calendarShown = false;     // cmdCalendar, shown and enabled
    std::string timePeriodLabel;    // "# of Months:" or "# of Days:"; empty while hidden
    int timePeriodHelp = 0;         // help context of txtTimePeriod
    bool unitPeriodsShown = false;  // txtUnitPeriod and txtOddDays with their labels
};

inline constexpr const char* kUnitPeriodLabel = "# of Unit Periods:";  // help context 53
inline constexpr const char* kOddDaysLabel = "# of Odd Days:";         // help context 54

ConstPhaseLayout ConstPhaseLayoutFor(const ConstructionChoices& choices);

// Unit periods and odd days follow the time period: only a period of exactly 365 days takes a
// typed number of unit periods and odd days; any other period is one unit period of that length.
struct ConstUnitPeriodFields {
    bool enabled = false;  // txtUnitPeriod and txtOddDays enabled (activation applies only this)
    std::string unitPeriods;
    std::string oddDays;
};
ConstUnitPeriodFields ConstUnitPeriodsFollow(std::string_view timePeriod);

// The refusal of a key other than a digit or Backspace in one of the three fields; the time
// period's message quotes its current caption.
std::string ConstPhaseKeyMessage(int field, std::string_view timePeriodLabel);

// The check of one field when it is left: the time period is at least 1 (at most 365 days on a
// construction-only loan counted in days); unit periods at least 1 and odd days 0 to 365 where
// they are shown. Sets giNumCheck for the time period (0 valid, 1 not). Nothing is checked for
// a hidden field.
bool ConstFieldCheck(LoanRecord& record, int field, std::string_view text);

// Continue's refusal of a construction period for which the estimate of construction interest
// (ConstInterestEstimate.h) would exceed what the pages can hold.
inline constexpr const char* kConstInterestTooLargeMessage =
    "The estimated construction interest must not be greater than $9,999,999.00.  Enter a shorter "
    "construction period, or go back to prior screen to correct the loan commitment amount or the "
    "annual simple interest rate.";

struct ConstPhaseEntries {
    std::string timePeriod;
    std::string unitPeriods;
    std::string oddDays;
};

// Continue: checks the three fields (the first refusal is shown, style 48, and names the field
// for the focus), then stores the period and derives:
//   giAccrualMethod     1/2 whole months (360/360), 3/4 365/365, 5/6 365/360 (even codes with
//                       the interest reserve), 7 other
//   whole months        gdConstMonths, gdConstDaysinYr 360, gdDaysinUnitPd months x 30 (<= 360)
//   days                gdConstDays (construction-only: period x unit periods + odd days),
//                       gdConstDaysinYr 365, gdDaysinUnitPd the period
//   construction-only   the single payment: giPymtFreq 5 (months, see ConstSinglePayment.h) or
//                       6 (days), gdDaysinYr, gdCalUnitPeriods, gdCalOddDays
// A period whose estimate of construction interest would exceed 9,999,999 (with the commitment
// and rate of the loan terms page) is refused with kConstInterestTooLargeMessage, the focus on
// the field that sets its length: the unit periods of a 365-day period, else the time period.
// dMonths and gdConstMonths are cleared first, refused or not.
ConstContinueResult ConstPhaseContinue(LoanRecord& record, UserSeam& user, const ConstPhaseEntries& entries);

// Activation: the construction period of a previous visit is forgotten.
void ConstPhaseActivate(LoanRecord& record);

}  // namespace tallex
