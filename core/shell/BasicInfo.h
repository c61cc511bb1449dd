#pragma once
// The identifying information page: who prepared the review, which account it concerns, and
// whether the loan is a regular one (12 CFR 226, Appendix J) or a construction loan
// (Appendix D).

#include "engine/LoanRecord.h"
#include "shell/Session.h"

#include <array>
#include <string>
#include <string_view>

namespace tallex {

inline constexpr const char* kRegularLoanType = "APR (Appendix J)";
inline constexpr const char* kInvalidAccountDateMessage = "Invalid date.  Type a valid date in mm-dd-yyyy format.";

// The boxes in the order in which the focus looks for the first empty one.
enum class BasicInfoField { UserName, Lender, Creditor, Borrower, AccountNumber, AccountDate };

// The first empty box among preparer, lender, creditor, borrower and account number (in that
// order), else the date box. Texts are given in that order.
BasicInfoField FirstEmptyField(const std::array<std::string, 5>& texts);

// Leaving the lender box fills an empty creditor box with the lender's name.
std::string CreditorAfterLender(std::string_view lender, std::string_view creditor);

// Choosing the other loan kind once something was entered asks this (OK/Cancel, style 49);
// nothing is asked while the page is fresh.
std::string LoanKindSwitchQuestion(bool regularSelected);

// Continue: the loan kind goes into the record and the page is no longer fresh.
void BasicInfoContinue(LoanRecord& record, SessionFlags& session, bool construction);

}  // namespace tallex
