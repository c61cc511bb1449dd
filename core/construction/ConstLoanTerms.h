#pragma once
// The construction loan terms page: the commitment, the contract's simple interest rate, the
// prepaid and the subsequently paid finance charges, and how the construction financing is
// disclosed (12 CFR 226, App. D: construction disclosed separately, part I, or together with
// the permanent financing, part II).

#include "construction/ConstText.h"
#include "engine/LoanRecord.h"
#include "ui/UserSeam.h"

#include <string>
#include <string_view>

namespace tallex {

// The page's text fields, by tag.
enum ConstLoanTermsField : int {
    kTermsLoanAmt = 0,      // txtLoanAmt, the commitment
    kTermsSimpleInt = 1,    // txtSimpleInt, annual percent
    kTermsPrepdFinChg = 2,  // txtPrepdFinChg, may stay empty
    kTermsSubFinChg = 3,    // txtSubFinChg, may stay empty
};

// A field check on leaving a field: whether it passed, and the field's text as it is shown
// afterwards (money as "$###,###,###,###.00", the rate as "###,###,###,###.######"; a text that
// is not a number stays as typed).
struct ConstFieldLeave {
    bool valid = false;
    std::string text;
};

// The commitment must be a number, the rate a number of at least 1; the two finance charges
// may be empty, else a number.
ConstFieldLeave ConstLoanTermsFieldCheck(int field, std::string_view text);

// The refusal of a key that the field's key filter does not take.
std::string ConstLoanTermsKeyMessage(int field);

// The loan-type description by disclosure option and interest basis.
std::string ConstLoanTypeText(const ConstructionChoices& choices);

struct ConstLoanTermsEntries {
    std::string loanAmt;
    std::string simpleInt;
    std::string prepdFinChg;
    std::string subFinChg;
};

// Continue: the first field that fails its check is refused (style 48, focus on it); then
// gdCommitmentAmt, gdSimpleIntRate, gdPrepaidFinChg, gdSubseqFinChg (empty: 0), gsLoanType and
// gbConstOptDisc are stored; a construction-only loan must then have commitment - prepaid +
// subsequently paid above 0, or it is refused with those figures already stored.
ConstContinueResult ConstLoanTermsContinue(LoanRecord& record, UserSeam& user, const ConstLoanTermsEntries& entries);

// Activation: the figures of a previous visit, and those derived from them, are cleared.
void ConstLoanTermsActivate(LoanRecord& record);

// Pressing a disclosure option. Another option than the selected one, while the schedule holds
// a payment, first asks (style 49) whether the schedule and the calendar dates may go; OK
// empties both. The choice is stored in record.construction.optDiscType unless cancelled.
enum class DiscTypeChange {
    Unchanged,  // the same option, or Cancel
    Changed,
    ChangedScheduleCleared,  // the schedule page must be built afresh
};
DiscTypeChange ConstDiscTypeChange(LoanRecord& record, UserSeam& user, std::int16_t pressed);

}  // namespace tallex
