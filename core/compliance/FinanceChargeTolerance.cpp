#include "compliance/FinanceChargeTolerance.h"

#include "engine/Currency.h"

#include <cmath>

namespace tallex {

long double MoneyTicks(double amount) {
    constexpr double kCurrencyRange = 9.2e14;  // just inside 2^63 ten-thousandths
    if (std::fabs(amount) < kCurrencyRange) return static_cast<long double>(Currency::FromDouble(amount).ticks());
    return static_cast<long double>(amount) * 10000.0L;
}

void SetFCTolerance(LoanRecord& r) {
    if (r.gbSecuredByRealEstate) {
        r.giFCTolerance = r.gbDatePre_093095 ? 200 : 100;
    } else {
        r.giFCTolerance = r.gdAmtFinanced > 1000.0 ? 10 : 5;
    }
}

bool TestFCUnderstatement(LoanRecord& r) {
    r.gsDebugMsgFC.clear();
    // In ten-thousandths, so that the sum and the comparison are exact.
    const std::int64_t disclosedPlusTolerance =
        Currency::FromDouble(r.gdEstFinanceChg).ticks() + Currency::FromDouble(r.giFCTolerance).ticks();
    if (disclosedPlusTolerance < Currency::FromDouble(r.dFnceChg).ticks()) {
        r.gsDebugMsgFC =
            "*** Finance Charge Understatement Violation:  Disclosed finance charge plus the tolerance "
            "amount is less than the correct finance charge.";
        return true;
    }
    return false;
}

bool TestFCOverstatement(LoanRecord& r) {
    r.gsDebugMsgFC.clear();
    if (r.gbSecuredByRealEstate) return false;
    // Exactly the tolerance is within it.
    if (MoneyTicks(r.gdEstFinanceChg) - MoneyTicks(r.giFCTolerance) > MoneyTicks(r.dFnceChg)) {
        r.gsDebugMsgFC =
            "*** Finance Charge Overstatement Violation:  Disclosed finance charge minus the tolerance "
            "amount is greater than than the correct finance charge.";
        return true;
    }
    return false;
}

}  // namespace tallex
