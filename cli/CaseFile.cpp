#include "CaseFile.h"

#include <nlohmann/json.hpp>

#include <charconv>
#include <cmath>
#include <initializer_list>
#include <set>

namespace tallex::cli {

namespace {

using nlohmann::json;

struct Fault {
    CaseError error;
};

[[noreturn]] void Fail(const std::string& key, const std::string& message) { throw Fault{{key, message}}; }

std::string Join(const std::string& prefix, const std::string& key) { return prefix.empty() ? key : prefix + "." + key; }

// Typed entries arrive as strings or numbers; a number keeps its shortest exact text.
std::string TextOf(const json& value, const std::string& key) {
    if (value.is_string()) return value.get<std::string>();
    if (value.is_number_integer()) return std::to_string(value.get<long long>());
    if (value.is_number_unsigned()) return std::to_string(value.get<unsigned long long>());
    if (value.is_number_float()) {
        const double d = value.get<double>();
        if (!std::isfinite(d)) Fail(key, "must be a finite number");
        char buf[64];
        const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, d, std::chars_format::fixed);
        if (ec != std::errc()) Fail(key, "number out of range");
        return std::string(buf, end);
    }
    Fail(key, "must be a string or a number");
}

std::string StringOf(const json& value, const std::string& key) {
    if (!value.is_string()) Fail(key, "must be a string");
    return value.get<std::string>();
}

bool BoolOf(const json& value, const std::string& key) {
    if (!value.is_boolean()) Fail(key, "must be true or false");
    return value.get<bool>();
}

std::string ChoiceOf(const json& value, const std::string& key, std::initializer_list<const char*> choices) {
    const std::string text = StringOf(value, key);
    std::string list;
    for (const char* c : choices) {
        if (text == c) return text;
        list += list.empty() ? "" : ", ";
        list += std::string("\"") + c + "\"";
    }
    Fail(key, "must be one of " + list);
}

void RequireObject(const json& value, const std::string& key, const std::set<std::string>& known) {
    if (!value.is_object()) Fail(key.empty() ? "(case)" : key, "must be an object");
    for (const auto& [name, _] : value.items())
        if (!known.count(name)) Fail(Join(key, name), "unknown key");
}

CaseStream ReadStream(const json& value, const std::string& key) {
    RequireObject(value, key, {"amount", "payments", "unit_periods", "odd_days", "loan_date", "first_payment_date"});
    CaseStream s;
    if (value.contains("amount")) s.amount = TextOf(value["amount"], key + ".amount");
    if (value.contains("payments")) s.payments = TextOf(value["payments"], key + ".payments");
    if (value.contains("unit_periods")) s.unitPeriods = TextOf(value["unit_periods"], key + ".unit_periods");
    if (value.contains("odd_days")) s.oddDays = TextOf(value["odd_days"], key + ".odd_days");
    if (value.contains("loan_date")) s.loanDate = StringOf(value["loan_date"], key + ".loan_date");
    if (value.contains("first_payment_date"))
        s.firstPaymentDate = StringOf(value["first_payment_date"], key + ".first_payment_date");
    if (s.hasDates() && (value.contains("unit_periods") || value.contains("odd_days")))
        Fail(key, "give either loan_date and first_payment_date or unit_periods and odd_days");
    if (s.hasDates() && (s.loanDate.empty() || s.firstPaymentDate.empty()))
        Fail(key, "loan_date and first_payment_date go together");
    return s;
}

CaseConstruction ReadConstruction(const json& value) {
    const std::string key = "construction";
    RequireObject(value, key,
                  {"commitment", "simple_rate", "prepaid_finance_charge", "subsequent_finance_charge", "disclosure",
                   "interest_on", "accrual", "interest_reserve", "term_basis", "time_period", "unit_periods",
                   "odd_days", "estimated_interest", "loan_date", "construction_end_date", "amortization_date"});
    CaseConstruction c;
    auto text = [&](const char* name, std::string& into) {
        if (value.contains(name)) into = TextOf(value[name], key + "." + name);
    };
    text("commitment", c.commitment);
    text("simple_rate", c.simpleRate);
    text("prepaid_finance_charge", c.prepaidFinanceCharge);
    text("subsequent_finance_charge", c.subsequentFinanceCharge);
    text("time_period", c.timePeriod);
    text("unit_periods", c.unitPeriods);
    text("odd_days", c.oddDays);
    if (value.contains("estimated_interest"))
        c.estimatedInterest = TextOf(value["estimated_interest"], key + ".estimated_interest");
    if (value.contains("disclosure"))
        c.disclosure = ChoiceOf(value["disclosure"], key + ".disclosure", {"separately", "with_permanent"});
    if (value.contains("interest_on"))
        c.interestOn = ChoiceOf(value["interest_on"], key + ".interest_on", {"advances", "commitment"});
    if (value.contains("accrual"))
        c.accrual = ChoiceOf(value["accrual"], key + ".accrual", {"360/360", "365/365", "365/360", "other"});
    if (value.contains("interest_reserve")) c.interestReserve = BoolOf(value["interest_reserve"], key + ".interest_reserve");
    if (value.contains("term_basis")) c.termBasis = ChoiceOf(value["term_basis"], key + ".term_basis", {"months", "days"});
    if (value.contains("loan_date")) c.loanDate = StringOf(value["loan_date"], key + ".loan_date");
    if (value.contains("construction_end_date"))
        c.constructionEndDate = StringOf(value["construction_end_date"], key + ".construction_end_date");
    if (value.contains("amortization_date"))
        c.amortizationDate = StringOf(value["amortization_date"], key + ".amortization_date");
    if (c.accrual == "other" && !c.estimatedInterest)
        Fail(key + ".estimated_interest", "is required when the accrual is \"other\"");
    return c;
}

void ReadCase(const json& j, CaseFile& c) {
    RequireObject(j, "",
                  {"preparer", "date", "borrower", "account", "lender", "creditor", "kind", "amount_financed",
                   "disclosed_apr", "disclosed_finance_charge", "loan_type", "frequency", "unit_period",
                   "secured_by_real_estate", "loan_date_before_1995_09_30", "schedule", "construction", "answers",
                   "reimbursement"});
    auto str = [&](const char* name, std::string& into) {
        if (j.contains(name)) into = StringOf(j[name], name);
    };
    str("preparer", c.preparer);
    str("date", c.date);
    str("borrower", c.borrower);
    str("account", c.account);
    str("lender", c.lender);
    str("creditor", c.creditor);
    if (j.contains("kind")) c.kind = ChoiceOf(j["kind"], "kind", {"regular", "construction"});
    if (j.contains("amount_financed")) c.amountFinanced = TextOf(j["amount_financed"], "amount_financed");
    if (j.contains("disclosed_apr")) c.disclosedApr = TextOf(j["disclosed_apr"], "disclosed_apr");
    if (j.contains("disclosed_finance_charge"))
        c.disclosedFinanceCharge = TextOf(j["disclosed_finance_charge"], "disclosed_finance_charge");
    if (j.contains("loan_type")) c.loanType = ChoiceOf(j["loan_type"], "loan_type", {"installment", "single"});
    if (j.contains("frequency")) {
        if (c.loanType == "single")
            c.frequency = ChoiceOf(j["frequency"], "frequency", {"whole_months", "actual_days"});
        else
            c.frequency = ChoiceOf(j["frequency"], "frequency", {"monthly", "multiples_of_month", "semi_monthly", "actual_days"});
    } else if (c.loanType == "single") {
        c.frequency = "whole_months";
    }
    if (j.contains("unit_period")) c.unitPeriod = TextOf(j["unit_period"], "unit_period");
    if (j.contains("secured_by_real_estate")) c.securedByRealEstate = BoolOf(j["secured_by_real_estate"], "secured_by_real_estate");
    if (j.contains("loan_date_before_1995_09_30"))
        c.loanDateBefore1995 = BoolOf(j["loan_date_before_1995_09_30"], "loan_date_before_1995_09_30");
    if (j.contains("schedule")) {
        const json& schedule = j["schedule"];
        if (!schedule.is_array()) Fail("schedule", "must be a list of streams");
        if (schedule.size() > 360) Fail("schedule", "holds at most 360 streams");
        for (std::size_t k = 0; k < schedule.size(); ++k)
            c.schedule.push_back(ReadStream(schedule[k], "schedule[" + std::to_string(k + 1) + "]"));
    }
    if (j.contains("construction")) c.construction = ReadConstruction(j["construction"]);
    if (c.kind == "construction" && !c.construction) Fail("construction", "is required for a construction loan");
    if (c.kind == "regular" && c.construction) Fail("construction", "belongs to a construction loan only");
    if (j.contains("answers")) {
        const json& a = j["answers"];
        RequireObject(a, "answers", {"apr_understatement_caused_by_fc", "apr_overstatement_caused_by_fc"});
        if (a.contains("apr_understatement_caused_by_fc"))
            c.aprUnderstatementCausedByFc = BoolOf(a["apr_understatement_caused_by_fc"], "answers.apr_understatement_caused_by_fc");
        if (a.contains("apr_overstatement_caused_by_fc"))
            c.aprOverstatementCausedByFc = BoolOf(a["apr_overstatement_caused_by_fc"], "answers.apr_overstatement_caused_by_fc");
    }
    if (j.contains("reimbursement")) {
        const json& r = j["reimbursement"];
        RequireObject(r, "reimbursement", {"tolerance", "prior_payments"});
        if (r.contains("tolerance")) {
            const std::string t = r["tolerance"].is_number() ? TextOf(r["tolerance"], "reimbursement.tolerance")
                                                             : StringOf(r["tolerance"], "reimbursement.tolerance");
            if (t != "0" && t != "0.125" && t != "0.25" && t != ".125" && t != ".25" && t != "0.0")
                Fail("reimbursement.tolerance", "must be \"0\", \"0.125\" or \"0.25\"");
            c.tolerance = t == ".125" ? "0.125" : t == ".25" ? "0.25" : t == "0.0" ? "0" : t;
        }
        if (r.contains("prior_payments")) {
            const json& p = r["prior_payments"];
            if (!p.is_number_integer() || p.get<long long>() < 0 || p.get<long long>() > 32767)
                Fail("reimbursement.prior_payments", "must be a whole number from 0 to 32767");
            c.priorPayments = static_cast<int>(p.get<long long>());
        }
    }
}

}  // namespace

std::optional<CaseError> ParseCase(const nlohmann::json& json, CaseFile& out) {
    CaseFile c;
    try {
        ReadCase(json, c);
    } catch (const Fault& f) {
        return f.error;
    }
    out = std::move(c);
    return std::nullopt;
}

std::optional<CaseError> ParseCase(const std::string& jsonText, CaseFile& out) {
    json j;
    try {
        j = json::parse(jsonText);
    } catch (const json::parse_error& e) {
        return CaseError{"(file)", std::string("malformed JSON: ") + e.what()};
    }
    return ParseCase(j, out);
}

std::string CaseToJson(const CaseFile& c) {
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

}  // namespace tallex::cli
