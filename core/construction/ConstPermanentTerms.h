#pragma once
// The construction interest page (the permanent-phase terms): the estimate of construction
// interest confirmed or typed by the user, the disclosed APR and finance charge, and, with
// permanent financing, the permanent phase's loan type and payment frequency. Continue derives
// the amount financed of Appendix D:
//   construction disclosed separately (App. D    one-half of the commitment less the prepaid
//   part I)                                      finance charge, repaid by one payment of
//                                                one-half of the commitment + interest +
//                                                subsequently paid finance charge
//   with permanent financing (part II)           commitment - interest - prepaid finance
//                                                charge - subsequently paid finance charge

#include "construction/ConstText.h"
#include "engine/LoanRecord.h"
#include "entry/EntryBadState.h"
#include "ui/UserSeam.h"

#include <optional>
#include <string>
#include <string_view>

namespace tallex {

// The page's text fields, by tag.
enum ConstInterestField : int {
    kInterestAmount = 0,      // txtAmtInt, the estimated construction interest
    kInterestDisclAPR = 1,    // txtDiscAPR
    kInterestFinChg = 2,      // txtFinChg, may stay empty
    kInterestUnitPeriod = 3,  // txtUnitPeriod, permanent financing only
};

// The permanent phase's choices on this page (shown with permanent financing only).
struct ConstPermanentChoice {
    bool singleAdvance = false;  // optLoanType(1)
    std::int16_t frequency = 0;  // optPymtFreq index: installment 0 monthly, 1 multiples of a
                                 // month, 2 semi-monthly, 3 actual days; single advance 0 whole
                                 // months, 1 actual days
};

// The caption of txtUnitPeriod for the choice; empty when the field is hidden.
std::string ConstUnitPeriodCaption(const ConstPermanentChoice& choice);

// Activation: clears dPval, gbSolverFailed and the estimate, runs EstimateConstInterest and
// hands back the estimate as the page shows it ("Currency": 0 shows as "$0.00"), which also
// goes into txtAmtInt when that is empty. With the accrual option "other" the initial-value
// labels are hidden and the user must type the estimate.
struct ConstInterestActivation {
    std::string initialEstimate;
    bool initialValueShown = true;
};
ConstInterestActivation ConstInterestActivate(LoanRecord& record);

// A field check on leaving a field: whether it passed and the field's text afterwards (an empty
// estimate becomes "0"; the finance charge is shown as "$###,###,###.00").
struct ConstInterestLeave {
    bool valid = false;
    std::string text;
};
ConstInterestLeave ConstInterestFieldCheck(int field, std::string_view text, const ConstPermanentChoice& choice);

// Leaving a field: its check runs only while state.entryBad is clear; a failed check sets it
// (the focus goes back to the field without a word: Continue says what is wrong), a passing one
// clears it. nullopt when the check did not run.
std::optional<ConstInterestLeave> LeaveConstInterestField(EntryBadState& state, int field, std::string_view text,
                                                          const ConstPermanentChoice& choice);

// The refusal of a key that the field's key filter does not take; the unit period's message
// quotes its caption.
std::string ConstInterestKeyMessage(int field, std::string_view unitPeriodCaption);

// The estimate's key filter: digits, Backspace ('\b'), "." and "-". Another key is refused with
// its message; a second "." is refused silently, and so is a digit typed with the caret more than
// one place past the "." once two decimals are there.
enum class AmountKeyVerdict { Accept, Refuse, RefuseWithMessage };
AmountKeyVerdict ConstInterestAmountKey(std::string_view text, std::size_t caret, char key);

struct ConstInterestEntries {
    std::string amtInt;
    std::string discAPR;
    std::string finChg;
    std::string unitPeriod;
    ConstPermanentChoice permanent;
};

enum class ConstInterestNext { Schedule, ConstructionResults };

struct ConstInterestContinueResult {
    ConstContinueResult check;
    ConstInterestNext next = ConstInterestNext::ConstructionResults;
    bool reloadSchedule = false;  // the schedule was emptied: its page must be built afresh
};

// Continue: checks the fields (first refusal shown, style 48, focus on it), then stores
// gbSingleAdvance, gdEstConstInterest, gdAmount (and gdConstIntBase when construction-only), gdDisclAPR,
// gdEstFinanceChg (only when given), the permanent phase's frequency (with permanent financing) or the single
// payment in schedule row 1 (construction-only), gsPymtFreqText, and clears gbBackFromReimb.
ConstInterestContinueResult ConstInterestContinue(LoanRecord& record, UserSeam& user,
                                                  const ConstInterestEntries& entries);

}  // namespace tallex
