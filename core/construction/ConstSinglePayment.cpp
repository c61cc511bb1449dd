#include "construction/ConstSinglePayment.h"

#include "engine/CheckedMath.h"

#include <algorithm>
#include <cmath>

namespace tallex {

void SetWholeMonthsSinglePayment(LoanRecord& r, double months) {
    using checked::Mul;
    using checked::Sub;
    const double years = std::floor(checked::Div(months, 12.0));
    r.giPymtFreq = kFreqEqualMonthsSingle;
    r.dMonths = months;
    r.gdDaysinYr = 360;
    // Under a year there is no whole year, yet the payment is still one unit period away.
    r.gdCalUnitPeriods = years == 0 ? 1 : years;
    r.gdDaysinUnitPd = std::min(Mul(months, 30.0), 360.0);
    r.gdCalOddDays = months > 11 ? Mul(Sub(months, Mul(12.0, years)), 30.0) : 0;
}

}  // namespace tallex
