#include "Verdict.h"

#include "ShortestNumber.h"
#include "Utf8.h"

#include "compliance/Reimbursement.h"
#include "engine/NumberText.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <stdexcept>
#include <string_view>

namespace tallex::cli {

namespace {

// Money as the pages show it: to the cent.
double Cents(double value) {
    const double rounded = std::round(value * 100.0) / 100.0;
    return rounded == 0.0 ? 0.0 : rounded;  // no "-0"
}

// A small writer of one JSON object: the verdict is written straight to text, because a batch
// writes one per case and a document tree per line would cost more than the check itself.
class JsonLine {
public:
    // Writes after what `text` holds.
    explicit JsonLine(std::string& text) : text_(text) {}

    JsonLine& key(std::string_view name) {
        // Written in one piece: a verdict has some forty keys.
        const std::size_t start = text_.size();
        const std::size_t comma = needComma_ ? 1 : 0;
        text_.resize(start + comma + name.size() + 3);
        char* out = text_.data() + start;
        if (comma) *out++ = ',';
        *out++ = '"';
        out = std::copy(name.begin(), name.end(), out);
        *out++ = '"';
        *out = ':';
        needComma_ = false;
        return *this;
    }
    // Texts are appended by pointer and length: an iterator range (append(first, last)) goes
    // through the general replace, several times slower for the short pieces of a verdict.
    JsonLine& value(double v) {
        char buf[32];
        const auto [end, ec] = ShortestChars(buf, buf + sizeof buf, v);
        // JSON has no infinity or NaN: such a value (none reaches a verdict) is written as null.
        if (ec != std::errc() || !std::isfinite(v))
            text_ += "null";
        else
            text_.append(buf, static_cast<std::size_t>(end - buf));
        needComma_ = true;
        return *this;
    }
    JsonLine& value(int v) {
        char buf[16];
        const auto end = std::to_chars(buf, buf + sizeof buf, v).ptr;
        text_.append(buf, static_cast<std::size_t>(end - buf));
        needComma_ = true;
        return *this;
    }
    JsonLine& value(bool v) {
        if (v)
            text_.append("true", 4);
        else
            text_.append("false", 5);
        needComma_ = true;
        return *this;
    }
    JsonLine& value(std::string_view v) {
        text_ += '"';
        // Runs that need no escape are copied whole; a table tells them, one look per character.
        // Bytes beyond ASCII are looked at as UTF-8: JSON text must be UTF-8, and a file name
        // may hold any bytes, so a byte that starts no sequence becomes U+FFFD.
        static constexpr auto kEscaped = [] {
            std::array<bool, 256> escaped{};
            for (int c = 0; c < 0x20; ++c) escaped[static_cast<std::size_t>(c)] = true;
            for (int c = 0x80; c < 0x100; ++c) escaped[static_cast<std::size_t>(c)] = true;
            escaped['"'] = escaped['\\'] = true;
            return escaped;
        }();
        const auto* bytes = reinterpret_cast<const unsigned char*>(v.data());
        std::size_t plain = 0;
        for (std::size_t i = 0; i < v.size(); ++i) {
            const auto c = bytes[i];
            if (!kEscaped[c]) continue;
            if (c >= 0x80) {
                if (const std::size_t length = Utf8SequenceLength(bytes + i, v.size() - i)) {
                    i += length - 1;
                    continue;
                }
                text_.append(v, plain, i - plain);
                text_ += kReplacementCharacter;
                plain = i + 1;
                continue;
            }
            text_.append(v, plain, i - plain);
            plain = i + 1;
            switch (c) {
            case '"': text_ += "\\\""; break;
            case '\\': text_ += "\\\\"; break;
            case '\n': text_ += "\\n"; break;
            case '\r': text_ += "\\r"; break;
            case '\t': text_ += "\\t"; break;
            default:
                if (c < 0x20) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", c);
                    text_ += buf;
                }
            }
        }
        text_.append(v, plain);
        text_ += '"';
        needComma_ = true;
        return *this;
    }
    JsonLine& null() {
        text_.append("null", 4);
        needComma_ = true;
        return *this;
    }
    JsonLine& open(char bracket) {
        text_ += bracket;
        needComma_ = false;
        return *this;
    }
    JsonLine& close(char bracket) {
        text_ += bracket;
        needComma_ = true;
        return *this;
    }
    JsonLine& element() {
        if (needComma_) text_ += ',';
        needComma_ = false;
        return *this;
    }

private:
    std::string& text_;
    bool needComma_ = false;
};

// A verdict label and its amount, as one line of text; "" when the label is hidden. Composed in
// one buffer per thread (valid until the next call), as a batch writes two per case.
const std::string& Note(const MemoryResultsView& view, ResultsLabel label, ResultsLabel amount) {
    thread_local std::string text;
    text.clear();
    const auto& l = view.label(label);
    if (!l.visible) return text;
    text = l.caption;
    const auto& a = view.label(amount);
    if (a.visible && !a.caption.empty()) text.append(" ").append(a.caption);
    return text;
}

const char* OverallVerdict(const LoanRecord& r) {
    if (HasViolation(r)) return "violation";
    return r.gdEstFinanceChg == 0.0 ? "not_tested" : "no_violation";
}

// The fields of a verdict, in their order, handed to a writer: the JSON line or a table row.
template <class W>
void WriteVerdict(W& w, const CaseOutcome& outcome, const std::string& caseName) {
    const LoanRecord& r = *outcome.record;
    const MemoryResultsView& view = outcome.view;
    const std::vector<int> entered = RowsInEnteredOrder(outcome);
    if (!caseName.empty()) w.text("case", caseName);
    if (outcome.identity.account.empty())
        w.null("account");
    else
        w.text("account", outcome.identity.account);
    w.integer("schema_version", kVerdictSchemaVersion);
    w.text("verdict", OverallVerdict(r));
    w.text("apr_verdict", FigureVerdictName(AprVerdict(r)));
    w.text("fc_verdict", FigureVerdictName(FinanceChargeVerdict(r)));
    w.number("calc_apr", r.gdCalcAPR);
    w.number("amount_financed", Cents(r.gdAmtFinanced));
    w.number("finance_charge", Cents(r.dFnceChg));
    w.number("total_of_payments", Cents(r.gdTotPymts));
    w.boolean("irregular", r.gbIrregular);
    w.integer("fc_tolerance", static_cast<int>(r.giFCTolerance));
    w.number("apr_diff", r.gdAPRDiff);
    w.number("fc_diff", Cents(r.dFinanceChgDiff));
    w.boolean("apr_understated_violation", r.gbAPRUnderViol);
    w.boolean("apr_overstated_violation", r.gbAPROverViol);
    w.boolean("fc_understated_violation", r.gbFCUnderViol);
    w.boolean("fc_overstated_violation", r.gbFCOverViol);
    w.text("apr_note", Note(view, ResultsLabel::lblAPRViolation, ResultsLabel::lblAPRViolAmt));
    w.text("fc_note", Note(view, ResultsLabel::lblFinanceViolation, ResultsLabel::lblFinanceViolAmt));
    w.boolean("obvious_error_rule", view.label(ResultsLabel::lblFinanceError).visible);
    w.boolean("term_over_10_years", r.gbTermOver10Yrs);
    w.boolean("subject_to_reimbursement", r.gbSubjToReimb);
    w.streams("streams", r, entered);
    if (outcome.reimbursed) {
        // What the reimbursement page shows.
        w.beginObject("reimbursement");
        w.number("tolerance", r.dTolerance);
        w.number("adjusted_apr", r.gdAdjustedAPR);
        w.number("prorate_factor", r.gdProrateFactor);
        // Less than a dollar, or no APR understatement to reimburse, is no APR adjustment.
        w.number("apr_adjustment_final", AprReimbursementOwed(r) ? Cents(r.gdAPRAdjFinal) : 0.0);
        w.number("fc_adjustment", Cents(r.gdFCAdjustment));
        // The lump sums exist only once the page has shown them for the prior payments given.
        if (r.gbLumpSumsShown) {
            w.number("lump_sum", Cents(r.gdLumpSum));
            w.number("lump_sum_payment_reduction", Cents(r.gdLumpSumPR));
        } else {
            w.null("lump_sum");
            w.null("lump_sum_payment_reduction");
        }
        if (outcome.adjustedPaymentsShown)
            w.adjustedPayments("adjusted_payments", r, entered);
        else
            w.null("adjusted_payments");  // the page shows no adjusted payments
        w.endObject();
    } else if (r.gbSubjToReimb) {
        w.null("reimbursement");  // no tolerance was chosen: see the notes
    }
    if (!outcome.notes.empty()) w.texts("notes", outcome.notes);
}

template <class W>
void WriteError(W& w, const std::string& caseName, const std::string& key, const std::string& message,
                const std::string& account) {
    w.text("case", caseName);
    if (account.empty())
        w.null("account");
    else
        w.text("account", account);
    w.integer("schema_version", kVerdictSchemaVersion);
    w.error(key, message);
}

// An adjusted payment, or none for an advance (nothing to adjust).
bool AdjustedPayment(const LoanRecord& r, int k, double& value) {
    if (r.gaPymtDbl[k] <= 0) return false;
    value = Cents(r.gaPymtDbl[k]);
    return true;
}

// The field names are literals: taken as string views, their lengths are known where they are
// written, not counted per case.
class JsonFields {
public:
    explicit JsonFields(std::string& text) : j_(text) {}
    void text(std::string_view name, std::string_view v) { j_.key(name).value(v); }
    void null(std::string_view name) { j_.key(name).null(); }
    void integer(std::string_view name, int v) { j_.key(name).value(v); }
    void number(std::string_view name, double v) { j_.key(name).value(v); }
    void boolean(std::string_view name, bool v) { j_.key(name).value(v); }
    void beginObject(std::string_view name) { j_.key(name).open('{'); }
    void endObject() { j_.close('}'); }
    void streams(std::string_view name, const LoanRecord& r, const std::vector<int>& rows) {
        j_.key(name).open('[');
        for (const int k : rows) {
            j_.element().open('{');
            j_.key("unit_periods").value(Val(r.gaUnitPeriods[k]));
            j_.key("odd_days").value(Val(r.gaOddDays[k]));
            j_.close('}');
        }
        j_.close(']');
    }
    void adjustedPayments(std::string_view name, const LoanRecord& r, const std::vector<int>& rows) {
        j_.key(name).open('[');
        for (const int k : rows) {
            j_.element();
            double v = 0;
            if (AdjustedPayment(r, k, v))
                j_.value(v);
            else
                j_.null();
        }
        j_.close(']');
    }
    void texts(std::string_view name, const std::vector<std::string>& v) {
        j_.key(name).open('[');
        for (const std::string& t : v) j_.element().value(t);
        j_.close(']');
    }
    void error(const std::string& key, const std::string& message) {
        j_.key("error").open('{').key("key").value(key).key("message").value(message).close('}');
    }
    JsonLine& line() { return j_; }

private:
    JsonLine j_;
};

void AppendNumber(std::string& text, double v) {
    char buf[32];
    const auto [end, ec] = ShortestChars(buf, buf + sizeof buf, v);
    if (ec != std::errc() || !std::isfinite(v))
        text += "null";
    else
        text.append(buf, static_cast<std::size_t>(end - buf));
}

const std::vector<VerdictColumn> kColumns = {
    {"case", ColumnFormat::Text},
    {"account", ColumnFormat::Text},
    {"schema_version", ColumnFormat::Integer},
    {"verdict", ColumnFormat::Text},
    {"apr_verdict", ColumnFormat::Text},
    {"fc_verdict", ColumnFormat::Text},
    {"calc_apr", ColumnFormat::Percent},
    {"amount_financed", ColumnFormat::Money},
    {"finance_charge", ColumnFormat::Money},
    {"total_of_payments", ColumnFormat::Money},
    {"irregular", ColumnFormat::Boolean},
    {"fc_tolerance", ColumnFormat::Money},
    {"apr_diff", ColumnFormat::Percent},
    {"fc_diff", ColumnFormat::Money},
    {"apr_understated_violation", ColumnFormat::Boolean},
    {"apr_overstated_violation", ColumnFormat::Boolean},
    {"fc_understated_violation", ColumnFormat::Boolean},
    {"fc_overstated_violation", ColumnFormat::Boolean},
    {"apr_note", ColumnFormat::Text},
    {"fc_note", ColumnFormat::Text},
    {"obvious_error_rule", ColumnFormat::Boolean},
    {"term_over_10_years", ColumnFormat::Boolean},
    {"subject_to_reimbursement", ColumnFormat::Boolean},
    {"streams", ColumnFormat::Text},
    {"reimbursement.tolerance", ColumnFormat::Percent},
    {"reimbursement.adjusted_apr", ColumnFormat::Percent},
    {"reimbursement.prorate_factor", ColumnFormat::Number},
    {"reimbursement.apr_adjustment_final", ColumnFormat::Money},
    {"reimbursement.fc_adjustment", ColumnFormat::Money},
    {"reimbursement.lump_sum", ColumnFormat::Money},
    {"reimbursement.lump_sum_payment_reduction", ColumnFormat::Money},
    {"reimbursement.adjusted_payments", ColumnFormat::Text},
    {"notes", ColumnFormat::Text},
    {"error_key", ColumnFormat::Text},
    {"error", ColumnFormat::Text},
};

// Fills the cells of a row by field name; the fields come in column order, so the search starts
// where the last one was found.
class CellFields {
public:
    explicit CellFields(std::vector<VerdictCell>& row) : row_(row) { row_.assign(kColumns.size(), VerdictCell{}); }
    void text(const char* name, std::string v) {
        VerdictCell& c = at(name);
        c.kind = VerdictCell::Kind::Text;
        c.text = std::move(v);
    }
    void null(const char*) {}  // an empty cell
    void integer(const char* name, int v) { number(name, v); }
    void number(const char* name, double v) {
        VerdictCell& c = at(name);
        c.kind = VerdictCell::Kind::Number;
        c.number = v;
    }
    void boolean(const char* name, bool v) {
        VerdictCell& c = at(name);
        c.kind = VerdictCell::Kind::Boolean;
        c.boolean = v;
    }
    void beginObject(const char* name) {
        prefix_ = name;
        prefix_ += '.';
    }
    void endObject() { prefix_.clear(); }
    // "[unit periods,odd days]" per stream, in brackets so that no spreadsheet reads a date or a
    // number into them.
    void streams(const char* name, const LoanRecord& r, const std::vector<int>& rows) {
        std::string t;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const int k = rows[i];
            if (i > 0) t += ' ';
            t += '[';
            AppendNumber(t, Val(r.gaUnitPeriods[k]));
            t += ',';
            AppendNumber(t, Val(r.gaOddDays[k]));
            t += ']';
        }
        text(name, std::move(t));
    }
    // One payment stays a number; several are a text, "null" for an advance as in the JSON.
    void adjustedPayments(const char* name, const LoanRecord& r, const std::vector<int>& rows) {
        double v = 0;
        if (rows.size() == 1 && AdjustedPayment(r, rows[0], v)) {
            number(name, v);
            return;
        }
        std::string t;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const int k = rows[i];
            if (i > 0) t += ' ';
            if (AdjustedPayment(r, k, v))
                AppendNumber(t, v);
            else
                t += "null";
        }
        text(name, std::move(t));
    }
    void texts(const char* name, const std::vector<std::string>& v) {
        std::string t;
        for (const std::string& s : v) {
            if (!t.empty()) t += " | ";
            t += s;
        }
        text(name, std::move(t));
    }
    void error(const std::string& key, const std::string& message) {
        text("error_key", key);
        text("error", message);
    }

private:
    VerdictCell& at(const char* name) {
        const std::string_view n(name);
        const auto matches = [&](std::size_t i) {
            const std::string_view c(kColumns[i].name);
            return c.size() == prefix_.size() + n.size() && c.substr(0, prefix_.size()) == prefix_ &&
                   c.substr(prefix_.size()) == n;
        };
        for (std::size_t k = 0; k < kColumns.size(); ++k) {
            const std::size_t i = (next_ + k) % kColumns.size();
            if (matches(i)) {
                next_ = i + 1;
                return row_[i];
            }
        }
        throw std::logic_error("the verdict field " + prefix_ + std::string(n) + " has no column");
    }

    std::vector<VerdictCell>& row_;
    std::string prefix_;
    std::size_t next_ = 0;
};

}  // namespace

const char* FigureVerdictName(FigureVerdict verdict) {
    switch (verdict) {
    case FigureVerdict::Accurate: return "accurate";
    case FigureVerdict::Understated: return "understated";
    case FigureVerdict::Overstated: return "overstated";
    case FigureVerdict::AccurateUnder226_22a5: return "accurate_under_226_22_a_5";
    case FigureVerdict::NotTested: return "not_tested";
    }
    return "not_tested";
}

// The results page notes an APR error without a violation only when the caused-by question was
// asked: answered yes ("caused by finance charge error") or no ("considered accurate under
// 226.22(a)(5)"); either way the error is treated as accurate. An error within the tolerance
// asks nothing and is plainly accurate.
FigureVerdict AprVerdict(const LoanRecord& r) {
    if (r.gdEstFinanceChg == 0.0) return FigureVerdict::NotTested;
    if (r.gbAPRUnderViol) return FigureVerdict::Understated;
    if (r.gbAPROverViol) return FigureVerdict::Overstated;
    const auto answered = [](std::int16_t answer) { return answer == kAnswerYes || answer == kAnswerNo; };
    if ((r.gdAPRDiff > 0.0 && answered(r.giAPRUnderByFC)) || (r.gdAPRDiff < 0.0 && answered(r.giAPROverByFC)))
        return FigureVerdict::AccurateUnder226_22a5;
    return FigureVerdict::Accurate;
}

FigureVerdict FinanceChargeVerdict(const LoanRecord& r) {
    if (r.gdEstFinanceChg == 0.0) return FigureVerdict::NotTested;
    if (r.gbFCUnderViol) return FigureVerdict::Understated;
    if (r.gbFCOverViol) return FigureVerdict::Overstated;
    return FigureVerdict::Accurate;
}

bool HasViolation(const LoanRecord& r) {
    return r.gbAPRUnderViol || r.gbAPROverViol || r.gbFCUnderViol || r.gbFCOverViol;
}

void AppendVerdictJson(std::string& line, const CaseOutcome& outcome, const std::string& caseName) {
    JsonFields w(line);
    w.line().open('{');
    WriteVerdict(w, outcome, caseName);
    w.line().close('}');
}

void AppendErrorJson(std::string& line, const std::string& caseName, const std::string& key, const std::string& message,
                     const std::string& account) {
    JsonFields w(line);
    w.line().open('{');
    WriteError(w, caseName, key, message, account);
    w.line().close('}');
}

std::string VerdictJson(const CaseOutcome& outcome, const std::string& caseName) {
    std::string line;
    line.reserve(1024);  // a verdict line is some hundreds of characters: one allocation holds it
    AppendVerdictJson(line, outcome, caseName);
    return line;
}

std::string ErrorJson(const std::string& caseName, const std::string& key, const std::string& message,
                      const std::string& account) {
    std::string line;
    AppendErrorJson(line, caseName, key, message, account);
    return line;
}

const std::vector<VerdictColumn>& VerdictColumns() { return kColumns; }

void VerdictRow(const CaseOutcome& outcome, const std::string& caseName, std::vector<VerdictCell>& row) {
    CellFields w(row);
    WriteVerdict(w, outcome, caseName);
}

void ErrorRow(const std::string& caseName, const std::string& key, const std::string& message,
              const std::string& account, std::vector<VerdictCell>& row) {
    CellFields w(row);
    WriteError(w, caseName, key, message, account);
}

}  // namespace tallex::cli
