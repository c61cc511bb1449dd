#include "CaseKeys.h"

#include "CaseChoices.h"

#include <nlohmann/json.hpp>

#include <algorithm>

namespace tallex::casefile::keys {

void Fail(const std::string& key, const std::string& message) { throw Fault{{key, message}}; }

namespace {

std::string Choice(const Value& value, const std::string& key, std::span<const std::string_view> choices) {
    std::string text = value.String(key);
    std::string list;
    for (const std::string_view c : choices) {
        if (text == c) return text;
        list += list.empty() ? "" : ", ";
        list += "\"" + std::string(c) + "\"";
    }
    Fail(key, "must be one of " + list);
}

// Captureless lambdas, so that the tables below stay plain constant data. A type and a member
// name cannot be put in parentheses.
// NOLINTBEGIN(bugprone-macro-parentheses)
#define TEXT_KEY(Target, name, member)                                                      \
    Key<Target> {                                                                           \
        name, [](Target& t, const Value& v, const std::string& k) { t.member = v.Text(k); } \
    }
#define STRING_KEY(Target, name, member)                                                      \
    Key<Target> {                                                                             \
        name, [](Target& t, const Value& v, const std::string& k) { t.member = v.String(k); } \
    }
#define BOOL_KEY(Target, name, member)                                                      \
    Key<Target> {                                                                           \
        name, [](Target& t, const Value& v, const std::string& k) { t.member = v.Bool(k); } \
    }
#define CHOICE_KEY(Target, name, member, choices)                                                       \
    Key<Target> {                                                                                       \
        name, [](Target& t, const Value& v, const std::string& k) { t.member = Choice(v, k, choices); } \
    }
// NOLINTEND(bugprone-macro-parentheses)

const Key<CaseFile> kCaseKeys[] = {
    STRING_KEY(CaseFile, "preparer", preparer),
    STRING_KEY(CaseFile, "date", date),
    STRING_KEY(CaseFile, "borrower", borrower),
    STRING_KEY(CaseFile, "account", account),
    STRING_KEY(CaseFile, "lender", lender),
    STRING_KEY(CaseFile, "creditor", creditor),
    CHOICE_KEY(CaseFile, "kind", kind, kKindKeys),
    TEXT_KEY(CaseFile, "amount_financed", amountFinanced),
    TEXT_KEY(CaseFile, "disclosed_apr", disclosedApr),
    TEXT_KEY(CaseFile, "disclosed_finance_charge", disclosedFinanceCharge),
    CHOICE_KEY(CaseFile, "loan_type", loanType, kLoanTypeKeys),
    TEXT_KEY(CaseFile, "unit_period", unitPeriod),
    BOOL_KEY(CaseFile, "secured_by_real_estate", securedByRealEstate),
    BOOL_KEY(CaseFile, "loan_date_before_1995_09_30", loanDateBefore1995),
};

const Key<StreamEntries> kStreamKeys[] = {
    TEXT_KEY(StreamEntries, "amount", stream.amount),
    TEXT_KEY(StreamEntries, "payments", stream.payments),
    {"unit_periods",
     [](StreamEntries& s, const Value& v, const std::string& k) { s.stream.unitPeriods = v.Text(k), s.timing = true; }},
    {"odd_days",
     [](StreamEntries& s, const Value& v, const std::string& k) { s.stream.oddDays = v.Text(k), s.timing = true; }},
    STRING_KEY(StreamEntries, "loan_date", stream.loanDate),
    STRING_KEY(StreamEntries, "first_payment_date", stream.firstPaymentDate),
};

const Key<CaseConstruction> kConstructionKeys[] = {
    TEXT_KEY(CaseConstruction, "commitment", commitment),
    TEXT_KEY(CaseConstruction, "simple_rate", simpleRate),
    TEXT_KEY(CaseConstruction, "prepaid_finance_charge", prepaidFinanceCharge),
    TEXT_KEY(CaseConstruction, "subsequent_finance_charge", subsequentFinanceCharge),
    TEXT_KEY(CaseConstruction, "time_period", timePeriod),
    TEXT_KEY(CaseConstruction, "unit_periods", unitPeriods),
    TEXT_KEY(CaseConstruction, "odd_days", oddDays),
    TEXT_KEY(CaseConstruction, "estimated_interest", estimatedInterest),
    CHOICE_KEY(CaseConstruction, "disclosure", disclosure, kDisclosureKeys),
    CHOICE_KEY(CaseConstruction, "interest_on", interestOn, kInterestOnKeys),
    CHOICE_KEY(CaseConstruction, "accrual", accrual, kAccrualKeys),
    BOOL_KEY(CaseConstruction, "interest_reserve", interestReserve),
    CHOICE_KEY(CaseConstruction, "term_basis", termBasis, kTermBasisKeys),
    STRING_KEY(CaseConstruction, "loan_date", loanDate),
    STRING_KEY(CaseConstruction, "construction_end_date", constructionEndDate),
    STRING_KEY(CaseConstruction, "amortization_date", amortizationDate),
};

const Key<CaseFile> kAnswerKeys[] = {
    BOOL_KEY(CaseFile, "apr_understatement_caused_by_fc", aprUnderstatementCausedByFc),
    BOOL_KEY(CaseFile, "apr_overstatement_caused_by_fc", aprOverstatementCausedByFc),
};

const Key<CaseFile> kReimbursementKeys[] = {
    {"tolerance",
     [](CaseFile& c, const Value& v, const std::string& k) {
         const std::string t = v.Text(k);
         if (t == "0" || t == "0.0")
             c.tolerance = "0";
         else if (t == "0.125" || t == ".125")
             c.tolerance = "0.125";
         else if (t == "0.25" || t == ".25")
             c.tolerance = "0.25";
         else
             Fail(k, "must be \"0\", \"0.125\" or \"0.25\"");
     }},
    {"prior_payments",
     [](CaseFile& c, const Value& v, const std::string& k) {
         const std::optional<long long> n = v.Whole();
         if (!n || *n < 0 || *n > 32767) Fail(k, "must be a whole number from 0 to 32767");
         c.priorPayments = static_cast<int>(*n);
     }},
};

#undef TEXT_KEY
#undef STRING_KEY
#undef BOOL_KEY
#undef CHOICE_KEY

}  // namespace

std::span<const Key<CaseFile>> CaseKeys() { return kCaseKeys; }
std::span<const Key<StreamEntries>> StreamKeys() { return kStreamKeys; }
std::span<const Key<CaseConstruction>> ConstructionKeys() { return kConstructionKeys; }
std::span<const Key<CaseFile>> AnswerKeys() { return kAnswerKeys; }
std::span<const Key<CaseFile>> ReimbursementKeys() { return kReimbursementKeys; }

std::string StreamKey(std::size_t n) { return "schedule[" + std::to_string(n) + "]"; }

std::string KeyName(std::string_view name) {
    const bool plain = !name.empty() && std::none_of(name.begin(), name.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 || c == 0x7f;
    });
    return plain ? std::string(name) : nlohmann::json(std::string(name)).dump();
}

namespace {

std::size_t EditDistance(std::string_view a, std::string_view b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

}  // namespace

std::string NearestName(std::string_view name, std::span<const std::string> known) {
    if (name.size() > 64) return "";  // no key is that long; spare the work on hostile input
    std::string lower(name);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    std::string best;
    std::size_t bestDistance = std::max<std::size_t>(2, name.size() / 3) + 1;
    for (const std::string& k : known)
        if (const std::size_t d = EditDistance(lower, k); d < bestDistance) best = k, bestDistance = d;
    return best;
}

void SetFrequency(CaseFile& c, const Value* frequency) {
    if (frequency) {
        if (c.loanType == "single")
            c.frequency = Choice(*frequency, "frequency", kSingleFrequencyKeys);
        else
            c.frequency = Choice(*frequency, "frequency", kInstallmentFrequencyKeys);
    } else if (c.loanType == "single") {
        c.frequency = "whole_months";
    }
}

CaseStream FinishStream(StreamEntries entries, const std::string& key) {
    const CaseStream& s = entries.stream;
    if (s.hasDates() && entries.timing)
        Fail(key, "give either loan_date and first_payment_date or unit_periods and odd_days");
    if (s.hasDates() && (s.loanDate.empty() || s.firstPaymentDate.empty()))
        Fail(key, "loan_date and first_payment_date go together");
    return std::move(entries.stream);
}

void FinishConstruction(const CaseConstruction& construction, const std::string& key) {
    if (construction.accrual == "other" && !construction.estimatedInterest)
        Fail(key + ".estimated_interest", "is required when the accrual is \"other\"");
}

void FinishCase(const CaseFile& c) {
    if (c.kind == "construction" && !c.construction) Fail("construction", "is required for a construction loan");
    if (c.kind == "regular" && c.construction) Fail("construction", "belongs to a construction loan only");
}

}  // namespace tallex::casefile::keys
