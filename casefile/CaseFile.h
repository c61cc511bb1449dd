#pragma once
// A loan case as a JSON document: what the examiner typed on each page, kept as typed, so a
// review can be saved, reopened and run through the same checks as the pages.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tallex::casefile {

struct CaseStream {
    std::string amount;
    std::string payments;
    std::string unitPeriods;
    std::string oddDays;
    // Dates instead of unit periods and odd days: the payment date calculator computes them.
    std::string loanDate;
    std::string firstPaymentDate;
    bool hasDates() const { return !loanDate.empty() || !firstPaymentDate.empty(); }
};

struct CaseConstruction {
    std::string commitment;
    std::string simpleRate;
    std::string prepaidFinanceCharge;
    std::string subsequentFinanceCharge;
    std::string disclosure = "separately";  // "separately" | "with_permanent"
    std::string interestOn = "advances";    // "advances" | "commitment"
    std::string accrual = "360/360";        // "360/360" | "365/365" | "365/360" | "other"
    bool interestReserve = false;
    std::string termBasis = "months";  // "months" | "days", for "other"
    std::string timePeriod;
    std::string unitPeriods;
    std::string oddDays;
    std::optional<std::string> estimatedInterest;
    std::string loanDate;
    std::string constructionEndDate;
    std::string amortizationDate;
};

struct CaseFile {
    std::string preparer, date, borrower, account, lender, creditor;
    std::string kind = "regular";  // "regular" | "construction"
    std::string amountFinanced;
    std::string disclosedApr;
    std::string disclosedFinanceCharge;
    std::string loanType = "installment";  // "installment" | "single"
    std::string frequency = "monthly";
    std::string unitPeriod;
    // Absent: the page's own default (unticked for a regular loan, ticked for a construction loan).
    std::optional<bool> securedByRealEstate;
    bool loanDateBefore1995 = false;
    std::vector<CaseStream> schedule;
    std::optional<CaseConstruction> construction;
    std::optional<bool> aprUnderstatementCausedByFc;
    std::optional<bool> aprOverstatementCausedByFc;
    std::optional<std::string> tolerance;  // "0" | "0.125" | "0.25"
    std::optional<int> priorPayments;
};

// A fault in a case file: the key (with the stream number where there is one, as
// "schedule[2].amount") and what is wrong.
struct CaseError {
    std::string key;
    std::string message;
};

// Reads a case from JSON text. Unknown keys, wrong types and values outside the fixed choices
// are errors naming the key; amounts and rates may be strings or numbers and are kept as text.
std::optional<CaseError> ParseCase(std::string_view jsonText, CaseFile& out);

// The case as JSON, in the same form ParseCase reads.
std::string CaseToJson(const CaseFile& c);

}  // namespace tallex::casefile
