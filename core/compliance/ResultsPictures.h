#pragma once
// What the pictures of the results pages show, worked out here so that the pictures only scale:
// the payment timeline (where each payment of the schedule the solver summed falls, in unit
// periods from the loan date), the tolerance scales of the APR and the finance charge (the
// figures, bands and verdicts the tolerance tests left in the record), and whether the page may
// say in words that nothing is wrong.

#include "engine/LoanRecord.h"

#include <optional>
#include <string>
#include <vector>

namespace tallex {

// One stream of the schedule: n payments one unit period apart.
struct TimelineStream {
    int row = 0;             // the schedule row
    double amount = 0;       // each payment as the solver reads it; negative: an advance
    int payments = 0;        // n
    double first = 0;        // unit periods from the loan date to the first payment: t + odd days / U
    double last = 0;         // to the last payment: first + n - 1
    std::string amountText;  // "Currency", without the sign: the picture says payment or advance
    std::string firstText;   // the first payment's time as the schedule states it: "t" or "t + d days"
    std::string lastText;    // the last payment's
};

struct Timeline {
    std::vector<TimelineStream> streams;  // rows 1..giPVStreams in schedule order
    double advanceAtLoanDate = 0;         // P, the advance at the loan date
    std::string advanceText;
    double daysInUnitPeriod = 0;
    // The odd days before the first unit period of the earliest payment stream, and the same in
    // unit periods: the gap between the loan date and the first whole unit period.
    double oddDays = 0;
    double oddPeriods = 0;
    double span = 1;  // unit periods from the loan date to the latest payment (1 when none)
    std::string totalOfPaymentsText;
};

// The timeline of the schedule rows 1..giPVStreams. A record without a unit period (U = 0) has
// no time axis: the timeline keeps the advance and the total but no streams. A time beyond the
// range of a double leaves the timeline empty.
Timeline TimelinePoints(const LoanRecord& record);

// Where a time in unit periods falls on the timeline, as a fraction of its span.
double TimelineFraction(const Timeline& timeline, double unitPeriods);

enum class ToleranceOutcome {
    NotTested,  // no finance charge was disclosed: no test ran
    Accurate,   // no violation (inside the band, or treated as accurate by the tests)
    Violation,
};

// One tolerance scale: the disclosed figure with its band, and the computed figure.
struct ToleranceScale {
    double disclosed = 0;
    double computed = 0;
    double low = 0;  // the band around the disclosed figure
    double high = 0;
    bool lowOpen = false;  // no lower limit: an overstated finance charge of a loan secured by real estate
    // The disclosed figure plus the reimbursement tolerance, when the loan is subject to reimbursement.
    std::optional<double> reimbursementLimit;
    ToleranceOutcome outcome = ToleranceOutcome::NotTested;
    std::string disclosedText;
    std::string computedText;
    std::string toleranceText;
    std::string reimbursementText;  // empty without a reimbursement limit
    std::string outcomeText;
};

struct ToleranceScales {
    ToleranceScale apr;            // percentage points
    ToleranceScale financeCharge;  // dollars
};

// The scales after the tolerance tests ran (RunComplianceTests).
ToleranceScales ToleranceScalesOf(const LoanRecord& record);

inline constexpr const char* kPositiveVerdictText =
    "The disclosed APR and finance charge are accurate within tolerance.";

// After the tolerance tests ran: the positive verdict when the tests ran (a finance charge was
// disclosed) and the page shows no violation and no note (no APR question was answered, the 10 %
// obvious error rule does not apply); else empty.
std::string PositiveVerdict(const LoanRecord& record);

}  // namespace tallex
