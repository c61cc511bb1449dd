#include "compliance/FinanceChargeTolerance.h"

#include "engine/Currency.h"

#include <cmath>

namespace tallex {

long double MoneyTicks(double amount) {
    constexpr double kCurrencyRange = 9.2e14;  // just inside 2^63 ten-thousandths
    if (std::fabs(amount) < kCurrencyRange) return static_cast<long double>(Currency::FromDouble(amount).ticks());
    return static_cast<long double>(amount) * 10000.0L;
}

std::int16_t FinanceChargeTolerance(bool securedByRealEstate, bool datedBefore093095, double amountFinanced) {
    if (securedByRealEstate) return datedBefore093095 ? 200 : 100;
    return amountFinanced > 1000.0 ? 10 : 5;
}

FinanceChargeFacts FinanceChargeFactsOf(const LoanRecord& r) {
    return {r.gdEstFinanceChg, r.dFnceChg, r.giFCTolerance, r.gbSecuredByRealEstate};
}

ToleranceVerdict FinanceChargeUnderstatementVerdict(const FinanceChargeFacts& f) {
    // In ten-thousandths, so that the sum and the comparison are exact.
    const std::int64_t disclosedPlusTolerance =
        Currency::FromDouble(f.disclosed).ticks() + Currency::FromDouble(f.tolerance).ticks();
    if (disclosedPlusTolerance < Currency::FromDouble(f.correct).ticks()) {
        return {true,
                "*** Finance Charge Understatement Violation:  Disclosed finance charge plus the tolerance "
                "amount is less than the correct finance charge."};
    }
    return {};
}

ToleranceVerdict FinanceChargeOverstatementVerdict(const FinanceChargeFacts& f) {
    if (f.securedByRealEstate) return {};
    // Exactly the tolerance is within it.
    if (MoneyTicks(f.disclosed) - MoneyTicks(f.tolerance) > MoneyTicks(f.correct)) {
        return {true,
                "*** Finance Charge Overstatement Violation:  Disclosed finance charge minus the tolerance "
                "amount is greater than than the correct finance charge."};
    }
    return {};
}

void SetFCTolerance(LoanRecord& r) {
    r.giFCTolerance = FinanceChargeTolerance(r.gbSecuredByRealEstate, r.gbDatePre_093095, r.gdAmtFinanced);
}

bool TestFCUnderstatement(LoanRecord& r) {
    r.gsDebugMsgFC.clear();
    const ToleranceVerdict verdict = FinanceChargeUnderstatementVerdict(FinanceChargeFactsOf(r));
    r.gsDebugMsgFC = verdict.reason;
    return verdict.violation;
}

bool TestFCOverstatement(LoanRecord& r) {
    r.gsDebugMsgFC.clear();
    const ToleranceVerdict verdict = FinanceChargeOverstatementVerdict(FinanceChargeFactsOf(r));
    r.gsDebugMsgFC = verdict.reason;
    return verdict.violation;
}

}  // namespace tallex
