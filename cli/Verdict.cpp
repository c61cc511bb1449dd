#include "Verdict.h"

#include "compliance/Reimbursement.h"
#include "engine/NumberText.h"

#include <charconv>
#include <cmath>
#include <cstdio>

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
    JsonLine& key(const char* name) {
        if (needComma_) text_ += ',';
        needComma_ = false;
        text_ += '"';
        text_ += name;
        text_ += "\":";
        return *this;
    }
    JsonLine& value(double v) {
        char buf[32];
        const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
        // JSON has no infinity or NaN: such a value (none reaches a verdict) is written as null.
        if (ec != std::errc() || !std::isfinite(v))
            text_ += "null";
        else
            text_.append(buf, end);
        needComma_ = true;
        return *this;
    }
    JsonLine& value(int v) {
        text_ += std::to_string(v);
        needComma_ = true;
        return *this;
    }
    JsonLine& value(bool v) {
        text_ += v ? "true" : "false";
        needComma_ = true;
        return *this;
    }
    JsonLine& value(const std::string& v) {
        text_ += '"';
        for (unsigned char c : v) {
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
                } else {
                    text_ += static_cast<char>(c);
                }
            }
        }
        text_ += '"';
        needComma_ = true;
        return *this;
    }
    JsonLine& null() {
        text_ += "null";
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
    std::string take() { return std::move(text_); }

private:
    std::string text_;
    bool needComma_ = false;
};

// A verdict label and its amount, as one line of text; "" when the label is hidden.
std::string Note(const MemoryResultsView& view, ResultsLabel label, ResultsLabel amount) {
    const auto& l = view.label(label);
    if (!l.visible) return "";
    std::string text = l.caption;
    const auto& a = view.label(amount);
    if (a.visible && !a.caption.empty()) text += " " + a.caption;
    return text;
}

}  // namespace

std::string VerdictJson(const CaseOutcome& outcome, const std::string& caseName) {
    const LoanRecord& r = *outcome.record;
    const MemoryResultsView& view = outcome.view;
    JsonLine j;
    j.open('{');
    if (!caseName.empty()) j.key("case").value(caseName);
    j.key("calc_apr").value(r.gdCalcAPR);
    j.key("amount_financed").value(Cents(r.gdAmtFinanced));
    j.key("finance_charge").value(Cents(r.dFnceChg));
    j.key("total_of_payments").value(Cents(r.gdTotPymts));
    j.key("irregular").value(r.gbIrregular);
    j.key("fc_tolerance").value(static_cast<int>(r.giFCTolerance));
    j.key("apr_diff").value(r.gdAPRDiff);
    j.key("fc_diff").value(Cents(r.dFinanceChgDiff));
    j.key("apr_understated_violation").value(r.gbAPRUnderViol);
    j.key("apr_overstated_violation").value(r.gbAPROverViol);
    j.key("fc_understated_violation").value(r.gbFCUnderViol);
    j.key("fc_overstated_violation").value(r.gbFCOverViol);
    j.key("apr_note").value(Note(view, ResultsLabel::lblAPRViolation, ResultsLabel::lblAPRViolAmt));
    j.key("fc_note").value(Note(view, ResultsLabel::lblFinanceViolation, ResultsLabel::lblFinanceViolAmt));
    j.key("obvious_error_rule").value(view.label(ResultsLabel::lblFinanceError).visible);
    j.key("term_over_10_years").value(r.gbTermOver10Yrs);
    j.key("subject_to_reimbursement").value(r.gbSubjToReimb);
    j.key("streams").open('[');
    for (int k = 1; k <= outcome.scheduleRows; ++k) {
        j.element().open('{');
        j.key("unit_periods").value(Val(r.gaUnitPeriods[k]));
        j.key("odd_days").value(Val(r.gaOddDays[k]));
        j.close('}');
    }
    j.close(']');
    if (outcome.reimbursed) {
        // What the reimbursement page shows.
        j.key("reimbursement").open('{');
        j.key("tolerance").value(r.dTolerance);
        j.key("adjusted_apr").value(r.gdAdjustedAPR);
        j.key("prorate_factor").value(r.gdProrateFactor);
        // Less than a dollar, or no APR understatement to reimburse, is no APR adjustment.
        j.key("apr_adjustment_final").value(AprReimbursementOwed(r) ? Cents(r.gdAPRAdjFinal) : 0.0);
        j.key("fc_adjustment").value(Cents(r.gdFCAdjustment));
        // The lump sums exist only once the page has shown them for the prior payments given.
        if (r.gbLumpSumsShown) {
            j.key("lump_sum").value(Cents(r.gdLumpSum));
            j.key("lump_sum_payment_reduction").value(Cents(r.gdLumpSumPR));
        } else {
            j.key("lump_sum").null();
            j.key("lump_sum_payment_reduction").null();
        }
        if (outcome.adjustedPaymentsShown) {
            j.key("adjusted_payments").open('[');
            for (int k = 1; k <= outcome.scheduleRows; ++k) {
                j.element();
                if (r.gaPymtDbl[k] > 0) j.value(Cents(r.gaPymtDbl[k]));
                else j.null();  // an advance: nothing to adjust
            }
            j.close(']');
        } else {
            j.key("adjusted_payments").null();  // the page shows no adjusted payments
        }
        j.close('}');
    } else if (r.gbSubjToReimb) {
        j.key("reimbursement").null();  // no tolerance was chosen: see the notes
    }
    if (!outcome.notes.empty()) {
        j.key("notes").open('[');
        for (const std::string& note : outcome.notes) j.element().value(note);
        j.close(']');
    }
    j.close('}');
    return j.take();
}

std::string ErrorJson(const std::string& caseName, const std::string& key, const std::string& message) {
    JsonLine j;
    j.open('{').key("case").value(caseName);
    j.key("error").open('{').key("key").value(key).key("message").value(message).close('}');
    j.close('}');
    return j.take();
}

}  // namespace tallex::cli
