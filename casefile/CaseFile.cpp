#include "CaseFile.h"

#include "CaseKeys.h"

#include <simdjson.h>
#include <nlohmann/json.hpp>

#include <bitset>
#include <span>
#include <vector>

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

using keys::Fail;
using keys::FindKey;
using keys::KeyName;

// A key's full name, which its setter needs only to name it in a refusal: composed in one buffer
// per thread, so that the names of the keys of a good case cost no allocation. Valid until the
// next call.
const std::string& Join(std::string_view prefix, std::string_view key) {
    thread_local std::string name;
    name.assign(prefix);
    if (!prefix.empty()) name += '.';
    name += key;
    return name;
}

// A JSON value: typed entries arrive as strings or numbers; a number keeps its shortest exact text.
class JsonValue final : public keys::Value {
public:
    explicit JsonValue(element value) : value_(value) {}

    std::string Text(const std::string& key) const override {
        switch (value_.type()) {
        case element_type::STRING: return std::string(value_.get_string().value_unsafe());
        case element_type::INT64: return std::to_string(value_.get_int64().value_unsafe());
        case element_type::UINT64: return std::to_string(value_.get_uint64().value_unsafe());
        case element_type::DOUBLE: {
            const double d = value_.get_double().value_unsafe();
            char buf[400];
            const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, d, std::chars_format::fixed);
            if (ec != std::errc()) Fail(key, "number out of range");
            return std::string(buf, end);
        }
        default: Fail(key, "must be a string or a number");
        }
    }
    std::string String(const std::string& key) const override {
        if (value_.type() != element_type::STRING) Fail(key, "must be a string");
        return std::string(value_.get_string().value_unsafe());
    }
    bool Bool(const std::string& key) const override {
        if (value_.type() != element_type::BOOL) Fail(key, "must be true or false");
        return value_.get_bool().value_unsafe();
    }
    std::optional<long long> Whole() const override {
        if (value_.type() != element_type::INT64) return std::nullopt;  // a UINT64 is beyond long long
        return value_.get_int64().value_unsafe();
    }

private:
    element value_;
};

object ObjectOf(element value, const std::string& key) {
    if (value.type() != element_type::OBJECT) Fail(key.empty() ? "(case)" : key, "must be an object");
    return value.get_object().value_unsafe();
}

// The keys of the case itself that hold no single value.
constexpr std::string_view kObjectKeys[] = {"frequency", "schedule", "construction", "answers", "reimbursement"};

// An unknown key, with the known key of its object nearest it when one is near.
template <class Target>
[[noreturn]] void Unknown(const std::string& prefix, std::string_view name, std::span<const keys::Key<Target>> table,
                          std::span<const std::string_view> more = {}) {
    std::vector<std::string> known;
    for (const keys::Key<Target>& k : table) known.emplace_back(k.name);
    known.insert(known.end(), more.begin(), more.end());
    std::string message = "unknown key";
    if (const std::string near = keys::NearestName(name, known); !near.empty())
        message += "; did you mean \"" + near + "\"?";
    Fail(Join(prefix, KeyName(name)), message);
}

// Which keys of an object were given: JSON allows a key twice, a case must not (which of the
// two would it mean?). Indexed by the key's place in its table.
class Given {
public:
    void Mark(std::size_t index, const std::string& prefix, std::string_view name) {
        if (index < seen_.size()) {
            if (seen_.test(index)) Fail(Join(prefix, KeyName(name)), "duplicated key (given more than once)");
            seen_.set(index);
        }
    }

private:
    std::bitset<256> seen_;
};

// The keys of one object, each through the table of its object's keys.
template <class Target>
void ReadObject(element value, const std::string& key, std::span<const keys::Key<Target>> table, Target& target) {
    Given given;
    for (auto field : ObjectOf(value, key)) {
        const std::string_view name = field.key;
        const keys::Key<Target>* k = FindKey(table, name);
        if (!k) Unknown(key, name, table);
        given.Mark(static_cast<std::size_t>(k - table.data()), key, name);
        k->set(target, JsonValue(field.value), Join(key, name));
    }
}

void ReadCase(element root, CaseFile& c) {
    std::optional<element> frequency, schedule, construction;
    const auto table = keys::CaseKeys();
    Given given;
    for (auto field : ObjectOf(root, "")) {
        const std::string_view name = field.key;
        if (const keys::Key<CaseFile>* k = FindKey(table, name)) {
            given.Mark(static_cast<std::size_t>(k - table.data()), "", name);
            k->set(c, JsonValue(field.value), Join("", name));
            continue;
        }
        const auto object = std::find(std::begin(kObjectKeys), std::end(kObjectKeys), name);
        if (object == std::end(kObjectKeys)) Unknown("", name, table, kObjectKeys);
        given.Mark(table.size() + static_cast<std::size_t>(object - std::begin(kObjectKeys)), "", name);
        if (name == "frequency")
            frequency = field.value;  // its choices depend on the loan type
        else if (name == "schedule")
            schedule = field.value;
        else if (name == "construction")
            construction = field.value;
        else if (name == "answers")
            ReadObject(field.value, "answers", keys::AnswerKeys(), c);
        else
            ReadObject(field.value, "reimbursement", keys::ReimbursementKeys(), c);
    }
    if (frequency) {
        const JsonValue value(*frequency);
        keys::SetFrequency(c, &value);
    } else {
        keys::SetFrequency(c, nullptr);
    }
    if (schedule) {
        if (schedule->type() != element_type::ARRAY) Fail("schedule", "must be a list of streams");
        const auto streams = schedule->get_array().value_unsafe();
        if (streams.size() > 360) Fail("schedule", "holds at most 360 streams");
        c.schedule.reserve(streams.size());
        std::size_t n = 0;
        for (element stream : streams) {
            const std::string key = keys::StreamKey(++n);
            keys::StreamEntries entries;
            ReadObject(stream, key, keys::StreamKeys(), entries);
            c.schedule.push_back(keys::FinishStream(std::move(entries), key));
        }
    }
    if (construction) {
        CaseConstruction k;
        ReadObject(*construction, "construction", keys::ConstructionKeys(), k);
        keys::FinishConstruction(k, "construction");
        c.construction = std::move(k);
    }
    keys::FinishCase(c);
}

}  // namespace

namespace {

// Where malformed JSON goes wrong, as "line L, column C: " (columns in characters), or "" when
// it cannot be told. Only a refused text comes here, so the second parse costs nothing otherwise.
std::string WhereMalformed(std::string_view text) {
    std::size_t byte = 0;
    try {
        const auto parsed = nlohmann::json::parse(text.begin(), text.end());
        (void)parsed;
        return "";
    } catch (const nlohmann::json::parse_error& e) {
        byte = e.byte;
    }
    const std::size_t stop = std::min(byte > 0 ? byte - 1 : 0, text.size());
    std::size_t line = 1, column = 1;
    for (std::size_t i = 0; i < stop; ++i) {
        if (text[i] == '\n')
            line += 1, column = 1;
        else if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80)
            ++column;
    }
    return "line " + std::to_string(line) + ", column " + std::to_string(column) + ": ";
}

}  // namespace

std::optional<CaseError> ParseCase(std::string_view jsonText, CaseFile& out) {
    // A byte-order mark, as editors on some systems write one, is no part of the case.
    if (jsonText.starts_with("\xEF\xBB\xBF")) jsonText.remove_prefix(3);
    // One parser per thread, kept: its buffers are reused from case to case.
    thread_local simdjson::dom::parser parser;
    element root;
    if (const auto error = parser.parse(jsonText.data(), jsonText.size(), true).get(root))
        return CaseError{"(file)", "malformed JSON: " + WhereMalformed(jsonText) + simdjson::error_message(error)};
    CaseFile c;
    try {
        ReadCase(root, c);
    } catch (const keys::Fault& f) {
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
