#pragma once
// The APR accuracy tests of 12 CFR 226.22(a): 1/8 of a percentage point for a regular
// transaction, 1/4 for an irregular one, and, for a loan secured by real estate, an APR error
// that comes with a finance-charge error within the tolerance of 226.18(d)(1) treated as
// accurate (226.22(a)(5)), checked against the present value of the payments at the disclosed
// APR (dPval) and at the disclosed APR moved by half a unit of its last decimal.
//
// P is gdAmount; dFinanceChgDiff is positive when the disclosed finance charge is understated.
//
// The verdicts are value functions of the figures they read. Where a verdict needs the user's
// answer or the adjusted present value, it says so and is asked again with it; the record-level
// routines ask the question, compute the present value into the record and keep the reason.

#include "compliance/FinanceChargeTolerance.h"
#include "engine/LoanRecord.h"
#include "ui/UserSeam.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace tallex {

enum class AdjustDirection : int {
    Understatement = 1,  // the disclosed APR is moved up
    Overstatement = 2,   // the disclosed APR is moved down
};

// The APR tolerance in percentage points: 1/8 for a regular transaction, 1/4 for an irregular one.
double AprToleranceOf(bool irregular);

// The disclosed APR moved by h, half a unit of its last decimal as the number's shortest text
// shows it (h = 0.005 for 0, 1 or 2 decimals; 8.125 gives 0.0005).
double AdjustedDisclosedApr(double disclosedApr, AdjustDirection direction);

// What the APR tests read.
struct AprTestFacts {
    double disclosedApr = 0;                  // gdDisclAPR
    double correctApr = 0;                    // gdCalcAPR
    double aprDifference = 0;                 // gdAPRDiff, the correct APR less the disclosed one
    double amount = 0;                        // P
    double financeChargeDifference = 0;       // dFinanceChgDiff
    double presentValue = 0;                  // dPval, the payments at the disclosed APR
    std::int16_t financeChargeTolerance = 0;  // giFCTolerance
    bool irregular = false;
    bool securedByRealEstate = false;
    // Given when a verdict asks for them: the answer to "Was the APR error caused by the finance
    // charge error?" and the present value at the disclosed APR adjusted in the test's direction.
    std::optional<bool> causedByFinanceCharge;
    std::optional<double> adjustedPresentValue;
};
AprTestFacts AprTestFactsOf(const LoanRecord& record);

struct AprVerdict {
    enum class Needs {
        Nothing,                      // the verdict is final
        CausedByFinanceChargeAnswer,  // ask the question, then ask the verdict again
        AdjustedPresentValue,         // compute it, then ask the verdict again
    };
    Needs needs = Needs::Nothing;
    bool violation = false;
    std::string_view reason;  // empty when there is no violation
};

// For an APR understated (gdAPRDiff > 0). On a secured loan whose finance charge is understated
// within its tolerance the answer decides: Yes, no violation; No, the present-value tests do.
AprVerdict AprUnderstatementVerdict(const AprTestFacts& facts);

// For an APR overstated (gdAPRDiff < 0). On a secured loan whose finance charge is overstated
// too the answer decides the same way.
AprVerdict AprOverstatementVerdict(const AprTestFacts& facts);

// gdDisclAPR_Adjusted = AdjustedDisclosedApr, then gdPval_Adjusted = the present value of the
// first giPVStreams streams at that APR. Sets gdUnitPdFraction and gdPVRate on the way. Days in
// the year 0 raises run-time error 11.
void AdjustDisclosedAPR(LoanRecord& record, AdjustDirection direction);

// Run only when FC is not 0 and gdAPRDiff > 0. Returns true on a violation, with the reason in
// gsDebugMsgAPR (empty otherwise). Asks the question where the verdict needs it and keeps the
// answer in giAPRUnderByFC (-1 Yes, 0 No).
bool TestAPRUnderstatement(LoanRecord& record, UserSeam& user);

// Run only when FC is not 0 and gdAPRDiff < 0. Returns true on a violation, with the reason in
// gsDebugMsgAPR. Asks the question where the verdict needs it and keeps the answer in
// giAPROverByFC.
bool TestAPROverstatement(LoanRecord& record, UserSeam& user);

}  // namespace tallex
