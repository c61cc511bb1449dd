#include "Verdict.h"

#include "engine/NumberText.h"

#include <cmath>

namespace tallex::cli {

namespace {

// Money as the pages show it: to the cent.
double Cents(double value) {
    const double rounded = std::round(value * 100.0) / 100.0;
    return rounded == 0.0 ? 0.0 : rounded;  // no "-0"
}

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

nlohmann::json VerdictJson(const CaseOutcome& outcome) {
    const LoanRecord& r = *outcome.record;
    const MemoryResultsView& view = outcome.view;
    nlohmann::json v;
    v["calc_apr"] = r.gdCalcAPR;
    v["amount_financed"] = Cents(r.gdAmtFinanced);
    v["finance_charge"] = Cents(r.dFnceChg);
    v["total_of_payments"] = Cents(r.gdTotPymts);
    v["irregular"] = r.gbIrregular;
    v["fc_tolerance"] = r.giFCTolerance;
    v["apr_diff"] = r.gdAPRDiff;
    v["fc_diff"] = Cents(r.dFinanceChgDiff);
    v["apr_understated_violation"] = r.gbAPRUnderViol;
    v["apr_overstated_violation"] = r.gbAPROverViol;
    v["fc_understated_violation"] = r.gbFCUnderViol;
    v["fc_overstated_violation"] = r.gbFCOverViol;
    v["apr_note"] = Note(view, ResultsLabel::lblAPRViolation, ResultsLabel::lblAPRViolAmt);
    v["fc_note"] = Note(view, ResultsLabel::lblFinanceViolation, ResultsLabel::lblFinanceViolAmt);
    v["obvious_error_rule"] = view.label(ResultsLabel::lblFinanceError).visible;
    v["term_over_10_years"] = r.gbTermOver10Yrs;
    v["subject_to_reimbursement"] = r.gbSubjToReimb;
    nlohmann::json streams = nlohmann::json::array();
    for (int k = 1; k <= outcome.scheduleRows; ++k)
        streams.push_back({{"unit_periods", Val(r.gaUnitPeriods[k])}, {"odd_days", Val(r.gaOddDays[k])}});
    v["streams"] = streams;
    if (outcome.reimbursed) {
        nlohmann::json reimbursement;
        reimbursement["tolerance"] = r.dTolerance;
        reimbursement["adjusted_apr"] = r.gdAdjustedAPR;
        reimbursement["prorate_factor"] = r.gdProrateFactor;
        reimbursement["apr_adjustment_final"] = Cents(r.gdAPRAdjFinal);
        reimbursement["fc_adjustment"] = Cents(r.gdFCAdjustment);
        if (outcome.lumpSumsComputed) {
            reimbursement["lump_sum"] = Cents(r.gdLumpSum);
            reimbursement["lump_sum_payment_reduction"] = Cents(r.gdLumpSumPR);
        } else {
            reimbursement["lump_sum"] = nullptr;
            reimbursement["lump_sum_payment_reduction"] = nullptr;
        }
        nlohmann::json adjusted = nlohmann::json::array();
        for (int k = 1; k <= outcome.scheduleRows; ++k) {
            if (r.gaPymtDbl[k] > 0)
                adjusted.push_back(Cents(r.gaPymtDbl[k]));
            else
                adjusted.push_back(nullptr);  // an advance: nothing to adjust
        }
        reimbursement["adjusted_payments"] = adjusted;
        v["reimbursement"] = reimbursement;
    }
    if (!outcome.notes.empty()) v["notes"] = outcome.notes;
    return v;
}

}  // namespace tallex::cli
