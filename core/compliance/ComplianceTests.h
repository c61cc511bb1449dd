#pragma once
// The tolerance and violation tests of one loan, run from scratch on every activation of a
// results page, with their verdicts written onto the page's labels: APR understatement and
// overstatement (12 CFR 226.22(a)), finance-charge understatement and overstatement
// (226.18(d)), the 10 % obvious error rule, the term over ten years, and whether the loan is
// subject to reimbursement.
//
// FC is gdEstFinanceChg; a disclosed finance charge of 0 switches every APR and finance-charge
// test off. Arithmetic faults raise RuntimeError to the page.

#include "engine/LoanRecord.h"
#include "ui/ResultsView.h"
#include "ui/UserSeam.h"

#include <cstdint>
#include <optional>

namespace tallex {

// What the ten-year term test reads.
struct TermFacts {
    bool irregular = false;
    double daysInYear = 0;       // gdDaysinYr
    double finalPaymentDay = 0;  // dFinal
    double months = 0;           // dMonths
    std::int16_t frequency = 0;  // giPymtFreq
    // The last row of the ordered schedule (dUnitPeriods, gdOddDays) and its unit period.
    double unitPeriods = 0;
    double oddDays = 0;
    double daysInUnitPeriod = 0;
};
TermFacts TermFactsOf(const LoanRecord& record);

struct TermVerdict {
    bool overTenYears = false;
    std::optional<double> actualDays;  // the single payment's term in days (code 6), once computed
};

// Regular loans only: the final payment falls more than ten years of the loan's year basis
// after the loan date, or the single-payment term (months x 30 for code 5, the unit periods'
// days plus the odd days for code 6) exceeds ten years. An irregular loan is never over ten
// years.
TermVerdict LoanTermVerdict(const TermFacts& facts);

// LoanTermVerdict of the record; for code 6 it keeps the term in days in dActDays.
bool TermOverTenYears(LoanRecord& record);

// The 10 % obvious error rule for the finance charge: a finance charge was disclosed, no APR
// violation was found, and the disclosed finance charge is at most a tenth of the correct one
// (dFnceChg), compared in ten-thousandths so that exactly a tenth applies.
bool FinanceChargeObviousErrorRuleApplies(const LoanRecord& record);

// The same rule for the APR: a finance charge was disclosed, no finance-charge violation was
// found, and the disclosed APR is at most a tenth of the correct one.
bool AprObviousErrorRuleApplies(const LoanRecord& record);

// What decides whether a loan is subject to reimbursement.
struct ReimbursementFacts {
    bool aprUnderstated = false;            // gbAPRUnderViol
    bool financeChargeUnderstated = false;  // gbFCUnderViol
    bool termOverTenYears = false;
    bool irregular = false;
    double disclosedApr = 0;
    double correctApr = 0;
    double disclosedFinanceCharge = 0;
    double correctFinanceCharge = 0;
};
ReimbursementFacts ReimbursementFactsOf(const LoanRecord& record);

// An understatement violation beyond the reimbursement tolerance: 1/4 of a point, or 1/8 for a
// regular loan over ten years, the same figure used for the APR in points and for the finance
// charge in dollars.
bool SubjectToReimbursement(const ReimbursementFacts& facts);
// That tolerance: 1/4, or 1/8 for a regular loan over ten years.
double ReimbursementTolerance(const ReimbursementFacts& facts);

// The driver. The caller has set gbIrregular, dFinal, dUnitPeriods, gdOddDays, dFnceChg,
// gdAmtFinanced and giPVStreams (the streams the adjusted present value sums). It may ask the
// user whether an APR error was caused by the finance-charge error; both answers start at 99
// (not asked) on every run.
void RunComplianceTests(LoanRecord& record, ResultsView& view, UserSeam& user);

}  // namespace tallex
