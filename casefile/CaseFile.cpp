#include "CaseFile.h"

#include "CaseChoices.h"

#include <nlohmann/json.hpp>
#include <simdjson.h>

#include <span>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <initializer_list>
#include <string_view>

namespace tallex::casefile {

namespace {

using simdjson::dom::element;
using simdjson::dom::element_type;
using simdjson::dom::object;

struct Fault {
    CaseError error;
};

[[noreturn]] void Fail(const std::string& key, const std::string& message) { throw Fault{{key, message}}; }

std::string Join(const std::string& prefix, std::string_view key) {
    return prefix.empty() ? std::string(key) : prefix + "." + std::string(key);
}

// Typed entries arrive as strings or numbers; a number keeps its shortest exact text.
std::string TextOf(element value, const std::string& key) {
    switch (value.type()) {
    case element_type::STRING: return std::string(value.get_string().value_unsafe());
    case element_type::INT64: return std::to_string(value.get_int64().value_unsafe());
    case element_type::UINT64: return std::to_string(value.get_uint64().value_unsafe());
    case element_type::DOUBLE: {
        const double d = value.get_double().value_unsafe();
        char buf[400];
        const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, d, std::chars_format::fixed);
        if (ec != std::errc()) Fail(key, "number out of range");
        return std::string(buf, end);
    }
    default: Fail(key, "must be a string or a number");
    }
}

std::string StringOf(element value, const std::string& key) {
    if (value.type() != element_type::STRING) Fail(key, "must be a string");
    return std::string(value.get_string().value_unsafe());
}

bool BoolOf(element value, const std::string& key) {
    if (value.type() != element_type::BOOL) Fail(key, "must be true or false");
    return value.get_bool().value_unsafe();
}

std::string ChoiceOf(element value, const std::string& key, std::span<const std::string_view> choices) {
    std::string text = StringOf(value, key);
    std::string list;
    for (const std::string_view c : choices) {
        if (text == c) return text;
        list += list.empty() ? "" : ", ";
        list += "\"" + std::string(c) + "\"";
    }
    Fail(key, "must be one of " + list);
}

object ObjectOf(element value, const std::string& key) {
    if (value.type() != element_type::OBJECT) Fail(key.empty() ? "(case)" : key, "must be an object");
    return value.get_object().value_unsafe();
}

// A key name as an error names it: as written when it can be read so, else in JSON quotes with
// escapes (an empty name, or one holding control characters, would not show in an error line).
std::string KeyName(std::string_view name) {
    const bool plain = !name.empty() && std::none_of(name.begin(), name.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 || c == 0x7f;
    });
    return plain ? std::string(name) : nlohmann::json(std::string(name)).dump();
}

[[noreturn]] void Unknown(const std::string& prefix, std::string_view name) {
    Fail(Join(prefix, KeyName(name)), "unknown key");
}

CaseStream ReadStream(element value, const std::string& key) {
    CaseStream s;
    bool timing = false;
    for (auto field : ObjectOf(value, key)) {
        const std::string_view name = field.key;
        const std::string k = Join(key, name);
        if (name == "amount") s.amount = TextOf(field.value, k);
        else if (name == "payments") s.payments = TextOf(field.value, k);
        else if (name == "unit_periods") s.unitPeriods = TextOf(field.value, k), timing = true;
        else if (name == "odd_days") s.oddDays = TextOf(field.value, k), timing = true;
        else if (name == "loan_date") s.loanDate = StringOf(field.value, k);
        else if (name == "first_payment_date") s.firstPaymentDate = StringOf(field.value, k);
        else Unknown(key, name);
    }
    if (s.hasDates() && timing) Fail(key, "give either loan_date and first_payment_date or unit_periods and odd_days");
    if (s.hasDates() && (s.loanDate.empty() || s.firstPaymentDate.empty()))
        Fail(key, "loan_date and first_payment_date go together");
    return s;
}

CaseConstruction ReadConstruction(element value) {
    const std::string key = "construction";
    CaseConstruction c;
    for (auto field : ObjectOf(value, key)) {
        const std::string_view name = field.key;
        const std::string k = Join(key, name);
        if (name == "commitment") c.commitment = TextOf(field.value, k);
        else if (name == "simple_rate") c.simpleRate = TextOf(field.value, k);
        else if (name == "prepaid_finance_charge") c.prepaidFinanceCharge = TextOf(field.value, k);
        else if (name == "subsequent_finance_charge") c.subsequentFinanceCharge = TextOf(field.value, k);
        else if (name == "time_period") c.timePeriod = TextOf(field.value, k);
        else if (name == "unit_periods") c.unitPeriods = TextOf(field.value, k);
        else if (name == "odd_days") c.oddDays = TextOf(field.value, k);
        else if (name == "estimated_interest") c.estimatedInterest = TextOf(field.value, k);
        else if (name == "disclosure") c.disclosure = ChoiceOf(field.value, k, kDisclosureKeys);
        else if (name == "interest_on") c.interestOn = ChoiceOf(field.value, k, kInterestOnKeys);
        else if (name == "accrual") c.accrual = ChoiceOf(field.value, k, kAccrualKeys);
        else if (name == "interest_reserve") c.interestReserve = BoolOf(field.value, k);
        else if (name == "term_basis") c.termBasis = ChoiceOf(field.value, k, kTermBasisKeys);
        else if (name == "loan_date") c.loanDate = StringOf(field.value, k);
        else if (name == "construction_end_date") c.constructionEndDate = StringOf(field.value, k);
        else if (name == "amortization_date") c.amortizationDate = StringOf(field.value, k);
        else Unknown(key, name);
    }
    if (c.accrual == "other" && !c.estimatedInterest)
        Fail(key + ".estimated_interest", "is required when the accrual is \"other\"");
    return c;
}

void ReadAnswers(element value, CaseFile& c) {
    for (auto field : ObjectOf(value, "answers")) {
        const std::string_view name = field.key;
        const std::string k = Join("answers", name);
        if (name == "apr_understatement_caused_by_fc") c.aprUnderstatementCausedByFc = BoolOf(field.value, k);
        else if (name == "apr_overstatement_caused_by_fc") c.aprOverstatementCausedByFc = BoolOf(field.value, k);
        else Unknown("answers", name);
    }
}

void ReadReimbursement(element value, CaseFile& c) {
    for (auto field : ObjectOf(value, "reimbursement")) {
        const std::string_view name = field.key;
        const std::string k = Join("reimbursement", name);
        if (name == "tolerance") {
            const std::string t = TextOf(field.value, k);
            if (t == "0" || t == "0.0") c.tolerance = "0";
            else if (t == "0.125" || t == ".125") c.tolerance = "0.125";
            else if (t == "0.25" || t == ".25") c.tolerance = "0.25";
            else Fail(k, "must be \"0\", \"0.125\" or \"0.25\"");
        } else if (name == "prior_payments") {
            const element v = field.value;
            const bool whole = v.type() == element_type::INT64 || v.type() == element_type::UINT64;
            const long long n = v.type() == element_type::INT64 ? v.get_int64().value_unsafe() : 0;
            const bool inRange = v.type() == element_type::INT64 && n >= 0 && n <= 32767;
            if (!whole || !inRange) Fail(k, "must be a whole number from 0 to 32767");
            c.priorPayments = static_cast<int>(n);
        } else {
            Unknown("reimbursement", name);
        }
    }
}

void ReadCase(element root, CaseFile& c) {
    std::optional<element> frequency, schedule, construction;
    for (auto field : ObjectOf(root, "")) {
        const std::string_view name = field.key;
        const std::string k(name);
        if (name == "preparer") c.preparer = StringOf(field.value, k);
        else if (name == "date") c.date = StringOf(field.value, k);
        else if (name == "borrower") c.borrower = StringOf(field.value, k);
        else if (name == "account") c.account = StringOf(field.value, k);
        else if (name == "lender") c.lender = StringOf(field.value, k);
        else if (name == "creditor") c.creditor = StringOf(field.value, k);
        else if (name == "kind") c.kind = ChoiceOf(field.value, k, kKindKeys);
        else if (name == "amount_financed") c.amountFinanced = TextOf(field.value, k);
        else if (name == "disclosed_apr") c.disclosedApr = TextOf(field.value, k);
        else if (name == "disclosed_finance_charge") c.disclosedFinanceCharge = TextOf(field.value, k);
        else if (name == "loan_type") c.loanType = ChoiceOf(field.value, k, kLoanTypeKeys);
        else if (name == "frequency") frequency = field.value;  // its choices depend on the loan type
        else if (name == "unit_period") c.unitPeriod = TextOf(field.value, k);
        else if (name == "secured_by_real_estate") c.securedByRealEstate = BoolOf(field.value, k);
        else if (name == "loan_date_before_1995_09_30") c.loanDateBefore1995 = BoolOf(field.value, k);
        else if (name == "schedule") schedule = field.value;
        else if (name == "construction") construction = field.value;
        else if (name == "answers") ReadAnswers(field.value, c);
        else if (name == "reimbursement") ReadReimbursement(field.value, c);
        else Unknown("", name);
    }
    if (frequency) {
        if (c.loanType == "single")
            c.frequency = ChoiceOf(*frequency, "frequency", kSingleFrequencyKeys);
        else
            c.frequency = ChoiceOf(*frequency, "frequency", kInstallmentFrequencyKeys);
    } else if (c.loanType == "single") {
        c.frequency = "whole_months";
    }
    if (schedule) {
        if (schedule->type() != element_type::ARRAY) Fail("schedule", "must be a list of streams");
        const auto streams = schedule->get_array().value_unsafe();
        if (streams.size() > 360) Fail("schedule", "holds at most 360 streams");
        std::size_t k = 0;
        for (element stream : streams) c.schedule.push_back(ReadStream(stream, "schedule[" + std::to_string(++k) + "]"));
    }
    if (construction) c.construction = ReadConstruction(*construction);
    if (c.kind == "construction" && !c.construction) Fail("construction", "is required for a construction loan");
    if (c.kind == "regular" && c.construction) Fail("construction", "belongs to a construction loan only");
}

}  // namespace

std::optional<CaseError> ParseCase(std::string_view jsonText, CaseFile& out) {
    // One parser per thread, kept: its buffers are reused from case to case.
    thread_local simdjson::dom::parser parser;
    element root;
    if (const auto error = parser.parse(jsonText.data(), jsonText.size(), true).get(root))
        return CaseError{"(file)", std::string("malformed JSON: ") + simdjson::error_message(error)};
    CaseFile c;
    try {
        ReadCase(root, c);
    } catch (const Fault& f) {
        return f.error;
    }
    out = std::move(c);
    return std::nullopt;
}

std::string CaseToJson(const CaseFile& c) {
    using nlohmann::json;
    json j = json::object();
    auto put = [&](const char* key, const std::string& value) {
        if (!value.empty()) j[key] = value;
    };
    put("preparer", c.preparer);
    put("date", c.date);
    put("borrower", c.borrower);
    put("account", c.account);
    put("lender", c.lender);
    put("creditor", c.creditor);
    j["kind"] = c.kind;
    put("amount_financed", c.amountFinanced);
    put("disclosed_apr", c.disclosedApr);
    put("disclosed_finance_charge", c.disclosedFinanceCharge);
    if (c.kind == "regular" || (c.construction && c.construction->disclosure == "with_permanent")) {
        j["loan_type"] = c.loanType;
        j["frequency"] = c.frequency;
        put("unit_period", c.unitPeriod);
    }
    if (c.securedByRealEstate) j["secured_by_real_estate"] = *c.securedByRealEstate;
    j["loan_date_before_1995_09_30"] = c.loanDateBefore1995;
    if (!c.schedule.empty()) {
        json streams = json::array();
        for (const CaseStream& s : c.schedule) {
            json o = json::object();
            o["amount"] = s.amount;
            o["payments"] = s.payments;
            if (s.hasDates()) {
                o["loan_date"] = s.loanDate;
                o["first_payment_date"] = s.firstPaymentDate;
            } else {
                o["unit_periods"] = s.unitPeriods;
                o["odd_days"] = s.oddDays;
            }
            streams.push_back(o);
        }
        j["schedule"] = streams;
    }
    if (c.construction) {
        const CaseConstruction& k = *c.construction;
        json o = json::object();
        auto putc = [&](const char* key, const std::string& value) {
            if (!value.empty()) o[key] = value;
        };
        putc("commitment", k.commitment);
        putc("simple_rate", k.simpleRate);
        putc("prepaid_finance_charge", k.prepaidFinanceCharge);
        putc("subsequent_finance_charge", k.subsequentFinanceCharge);
        o["disclosure"] = k.disclosure;
        o["interest_on"] = k.interestOn;
        o["accrual"] = k.accrual;
        o["interest_reserve"] = k.interestReserve;
        if (k.accrual == "other") o["term_basis"] = k.termBasis;
        putc("time_period", k.timePeriod);
        putc("unit_periods", k.unitPeriods);
        putc("odd_days", k.oddDays);
        if (k.estimatedInterest) o["estimated_interest"] = *k.estimatedInterest;
        putc("loan_date", k.loanDate);
        putc("construction_end_date", k.constructionEndDate);
        putc("amortization_date", k.amortizationDate);
        j["construction"] = o;
    }
    if (c.aprUnderstatementCausedByFc || c.aprOverstatementCausedByFc) {
        json a = json::object();
        if (c.aprUnderstatementCausedByFc) a["apr_understatement_caused_by_fc"] = *c.aprUnderstatementCausedByFc;
        if (c.aprOverstatementCausedByFc) a["apr_overstatement_caused_by_fc"] = *c.aprOverstatementCausedByFc;
        j["answers"] = a;
    }
    if (c.tolerance || c.priorPayments) {
        json r = json::object();
        if (c.tolerance) r["tolerance"] = *c.tolerance;
        if (c.priorPayments) r["prior_payments"] = *c.priorPayments;
        j["reimbursement"] = r;
    }
    return j.dump(2) + "\n";
}

}  // namespace tallex::casefile
