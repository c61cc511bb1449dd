#pragma once
// The finance-charge tolerance in dollars and the two finance-charge tests (12 CFR 226.18(d)).
// FC is gdEstFinanceChg (disclosed), the correct finance charge is dFnceChg.
//
// The rules are value functions of the figures they read; the record-level routines read the
// figures from the record and write the tolerance and the reason back.

#include "engine/LoanRecord.h"

#include <cstdint>
#include <string_view>

namespace tallex {

// A money amount in ten-thousandths, rounded as Currency rounds it, for the tolerance tests'
// comparisons: a difference such as T - P - FC carries binary noise (100.0000000000291 for
// exactly $100.00) that must not decide a verdict, and the tolerance itself is exactly on the
// boundary. An amount beyond Currency's range keeps its own value: at that size a double has no
// ten-thousandths left to round, and the comparison must not raise an overflow. Sums and
// multiples of these values are exact in a long double.
long double MoneyTicks(double amount);

// What one tolerance test found; the reason is empty when there is no violation.
struct ToleranceVerdict {
    bool violation = false;
    std::string_view reason;
};

// Secured by real estate or a dwelling, $200 for a loan dated before 09/30/95, else $100
// (226.18(d)(1)); not secured, $10 when the amount financed is above $1,000, else $5
// (226.18(d)(2)).
std::int16_t FinanceChargeTolerance(bool securedByRealEstate, bool datedBefore093095, double amountFinanced);

// What the finance-charge tests read.
struct FinanceChargeFacts {
    double disclosed = 0;        // FC
    double correct = 0;          // dFnceChg
    std::int16_t tolerance = 0;  // giFCTolerance
    bool securedByRealEstate = false;
};
FinanceChargeFacts FinanceChargeFactsOf(const LoanRecord& record);

// For a finance charge understated: a violation when FC + tolerance is less than the correct
// finance charge, all three taken to cents first.
ToleranceVerdict FinanceChargeUnderstatementVerdict(const FinanceChargeFacts& facts);

// For a finance charge overstated: never a violation on a loan secured by real estate;
// otherwise a violation when FC - tolerance is above the correct finance charge, all three
// taken to cents first.
ToleranceVerdict FinanceChargeOverstatementVerdict(const FinanceChargeFacts& facts);

// giFCTolerance from gbSecuredByRealEstate, gbDatePre_093095 and gdAmtFinanced.
void SetFCTolerance(LoanRecord& record);

// Run only when FC is not 0 and dFinanceChgDiff > 0: the understatement verdict, with its
// reason in gsDebugMsgFC.
bool TestFCUnderstatement(LoanRecord& record);

// Run only when FC is not 0 and dFinanceChgDiff < 0: the overstatement verdict, with its reason
// in gsDebugMsgFC.
bool TestFCOverstatement(LoanRecord& record);

}  // namespace tallex
