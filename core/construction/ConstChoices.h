#pragma once
// What the construction pages' option choices mean. The choices themselves live in
// LoanRecord::construction, indexed as the option groups are.

#include "engine/LoanRecord.h"

namespace tallex {

// optDiscType
inline constexpr std::int16_t kDiscConstructionOnly = 0;  // construction disclosed separately (App. D, part I)
inline constexpr std::int16_t kDiscWithPermanent = 1;     // construction and permanent as one (App. D, part II)
// optInterestType
inline constexpr std::int16_t kInterestOnAdvances = 0;
inline constexpr std::int16_t kInterestOnCommitment = 1;
// optIntAccrl
inline constexpr std::int16_t kAccrualWholeMonths = 0;  // 360/360
inline constexpr std::int16_t kAccrualActual365_365 = 1;
inline constexpr std::int16_t kAccrualActual365_360 = 2;
inline constexpr std::int16_t kAccrualOther = 3;
// optOther, with the accrual option "other": how the construction period is measured
inline constexpr std::int16_t kOtherWholeMonths = 0;
inline constexpr std::int16_t kOtherActualDays = 1;

inline bool ConstructionOnly(const ConstructionChoices& c) { return c.optDiscType == kDiscConstructionOnly; }
inline bool OnAdvances(const ConstructionChoices& c) { return c.optInterestType == kInterestOnAdvances; }

// The construction period is counted in whole months: 360/360, or "other" in months on a
// construction-only loan.
inline bool WholeMonthAccrual(const ConstructionChoices& c) {
    return c.optIntAccrl == kAccrualWholeMonths ||
           (ConstructionOnly(c) && c.optIntAccrl == kAccrualOther && c.optOther == kOtherWholeMonths);
}

// The construction period is counted in days: 365/365, 365/360, or "other" in days on a
// construction-only loan.
inline bool DayCountAccrual(const ConstructionChoices& c) {
    return c.optIntAccrl == kAccrualActual365_365 || c.optIntAccrl == kAccrualActual365_360 ||
           (ConstructionOnly(c) && c.optIntAccrl == kAccrualOther && c.optOther == kOtherActualDays);
}

// A construction-only loan counted in days is one payment after a unit period of at most a year.
inline bool DaysLimited(const ConstructionChoices& c) { return ConstructionOnly(c) && DayCountAccrual(c); }

}  // namespace tallex
