#include "ComplianceChecks.h"

#include "FuzzSupport.h"

#include "engine/Currency.h"

#include <cmath>
#include <string>

namespace tallex::fuzz {

namespace {

bool IsAnswer(std::int16_t answer) { return answer == kNotAsked || answer == -1 || answer == 0; }

void CheckLabels(const LoanRecord& r, const MemoryResultsView& view) {
    const LabelState& apr = view.label(ResultsLabel::lblAPRViolation);
    const LabelState& fc = view.label(ResultsLabel::lblFinanceViolation);
    const LabelState& tenPercent = view.label(ResultsLabel::lblFinanceError);
    for (const LabelState* label : {&apr, &fc, &tenPercent})
        if (label->visible) FUZZ_CHECK(!label->caption.empty(), "a verdict label shown without a caption");
    const bool aprViolation = r.gbAPRUnderViol || r.gbAPROverViol;
    FUZZ_CHECK(!aprViolation || (apr.visible && apr.colour == LabelColour::DarkRed),
               "an APR violation shown as \"" << Printable(apr.caption) << "\"");
    FUZZ_CHECK(aprViolation || !apr.visible || apr.colour == LabelColour::Black, "an accurate APR shown in red");
    const bool fcViolation = r.gbFCUnderViol || r.gbFCOverViol;
    FUZZ_CHECK(fcViolation == fc.visible,
               "finance charge label visible " << fc.visible << ", violation " << fcViolation);
    FUZZ_CHECK(view.toleranceFrameVisible() == r.gbSubjToReimb && view.reimbursementButtonVisible() == r.gbSubjToReimb,
               "reimbursement frame " << view.toleranceFrameVisible() << ", subject " << r.gbSubjToReimb);
}

}  // namespace

void CheckComplianceOutcome(const LoanRecord& r, const MemoryResultsView& view, const ScriptedUser& user,
                            std::size_t firstPrompt) {
    const double fc = r.gdEstFinanceChg;
    // Answers and questions.
    FUZZ_CHECK(IsAnswer(r.giAPRUnderByFC) && IsAnswer(r.giAPROverByFC),
               "answers " << r.giAPRUnderByFC << ", " << r.giAPROverByFC);
    std::size_t questions = 0;
    for (std::size_t i = firstPrompt; i < user.prompts().size(); ++i) {
        const Prompt& p = user.prompts()[i];
        FUZZ_CHECK(!p.text.empty() && p.style == kStyleYesNoQuestion,
                   "results prompt \"" << Printable(p.text) << "\" style " << p.style);
        ++questions;
    }
    const std::size_t asked = (r.giAPRUnderByFC != kNotAsked) + (r.giAPROverByFC != kNotAsked);
    FUZZ_CHECK(questions == asked, questions << " questions shown, " << asked << " answers kept");
    FUZZ_CHECK(asked <= 1, "both APR questions asked");

    // The finance-charge tolerance of 226.18(d).
    const int tolerance =
        r.gbSecuredByRealEstate ? (r.gbDatePre_093095 ? 200 : 100) : (r.gdAmtFinanced > 1000 ? 10 : 5);
    FUZZ_CHECK(r.giFCTolerance == tolerance,
               "finance charge tolerance " << r.giFCTolerance << ", expected " << tolerance);

    // Reasons and flags agree.
    FUZZ_CHECK((r.gbAPRUnderViol || r.gbAPROverViol) == !r.gsDebugMsgAPR.empty(),
               "APR flags " << r.gbAPRUnderViol << r.gbAPROverViol << " with reason \"" << r.gsDebugMsgAPR << "\"");
    FUZZ_CHECK(
        (r.gbFCUnderViol || r.gbFCOverViol) == !r.gsDebugMsgFC.empty(),
        "finance charge flags " << r.gbFCUnderViol << r.gbFCOverViol << " with reason \"" << r.gsDebugMsgFC << "\"");
    FUZZ_CHECK(!(r.gbAPRUnderViol && r.gbAPROverViol) && !(r.gbFCUnderViol && r.gbFCOverViol),
               "both directions at once");

    if (fc == 0) {
        FUZZ_CHECK(!r.gbAPRUnderViol && !r.gbAPROverViol && !r.gbFCUnderViol && !r.gbFCOverViol && asked == 0,
                   "a test ran with no disclosed finance charge");
        FUZZ_CHECK(!view.label(ResultsLabel::lblFinanceError).visible, "10% rule without a disclosed finance charge");
    }
    // 226.22(a)(2), (3): a violation lies beyond the tolerance.
    const double aprTolerance = r.gbIrregular ? 0.25 : 0.125;
    if (r.gbAPRUnderViol) FUZZ_CHECK(r.gdAPRDiff > aprTolerance, "APR understated by only " << r.gdAPRDiff);
    if (r.gbAPROverViol)
        FUZZ_CHECK(r.gdDisclAPR - aprTolerance > r.gdCalcAPR, "APR overstated by only " << -r.gdAPRDiff);
    if (r.gbFCUnderViol)
        FUZZ_CHECK(r.dFinanceChgDiff > 0 && r.dFnceChg - fc > r.giFCTolerance - 0.0002,
                   "finance charge understated by only " << r.dFinanceChgDiff);
    if (r.gbFCOverViol)
        FUZZ_CHECK(r.dFinanceChgDiff < 0 && !r.gbSecuredByRealEstate && fc - r.giFCTolerance > r.dFnceChg,
                   "finance charge overstated by only " << -r.dFinanceChgDiff);

    // Reimbursement follows understatements only, and every finance-charge understatement.
    if (r.gbSubjToReimb)
        FUZZ_CHECK(r.gbAPRUnderViol || r.gbFCUnderViol, "subject to reimbursement without an understatement");
    if (r.gbFCUnderViol) FUZZ_CHECK(r.gbSubjToReimb, "a finance charge understatement not subject to reimbursement");
    if (r.gbIrregular) FUZZ_CHECK(!r.gbTermOver10Yrs, "an irregular loan over ten years");
    CheckLabels(r, view);
}

}  // namespace tallex::fuzz
