#include "FuzzSupport.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace tallex::fuzz {

void Violation(const char* invariant, const std::string& detail, const char* file, int line) {
    std::fprintf(stderr, "\n*** invariant broken at %s:%d\n    %s\n    %s\n", file, line, invariant, detail.c_str());
    std::fflush(stderr);
    std::abort();
}

std::string Printable(std::string_view text) {
    static const char* const kHex = "0123456789abcdef";
    std::string out;
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0x20 && u < 0x7f && c != '\\') {
            out += c;
        } else {
            out += "\\x";
            out += kHex[u >> 4];
            out += kHex[u & 15];
        }
    }
    return out;
}

bool IsKnownRuntimeError(const RuntimeError& error) {
    const int n = error.number();
    return (n == 5 || n == 6 || n == 9 || n == 11) && !error.description().empty() &&
           error.description() == RuntimeErrorDescription(n);
}

void AnswerFrom(ScriptedUser& user, FuzzInput& in) {
    user.setFallback([&in](const std::string&, short style) {
        return style == kStyleYesNoQuestion ? (in.Bool() ? kAnswerYesButton : kAnswerNoButton) : kAnswerOk;
    });
}

namespace {

bool IsAnswer(std::int16_t answer) { return answer == kNotAsked || answer == -1 || answer == 0; }

void CheckLabels(const LoanRecord& r, const MemoryResultsView& view) {
    const LabelState& apr = view.label(ResultsLabel::lblAPRViolation);
    const LabelState& fc = view.label(ResultsLabel::lblFinanceViolation);
    for (const LabelState* label : {&apr, &fc, &view.label(ResultsLabel::lblFinanceError)})
        FUZZ_CHECK(!label->visible || !label->caption.empty(), "a verdict label shown without a caption");
    const bool aprViolation = r.gbAPRUnderViol || r.gbAPROverViol;
    FUZZ_CHECK(!aprViolation || (apr.visible && apr.colour == LabelColour::DarkRed), Printable(apr.caption));
    FUZZ_CHECK(aprViolation || !apr.visible || apr.colour == LabelColour::Black, Printable(apr.caption));
    FUZZ_CHECK((r.gbFCUnderViol || r.gbFCOverViol) == fc.visible, Printable(fc.caption));
    FUZZ_CHECK(view.toleranceFrameVisible() == r.gbSubjToReimb && view.reimbursementButtonVisible() == r.gbSubjToReimb,
               "subject to reimbursement " << r.gbSubjToReimb);
}

}  // namespace

void CheckComplianceOutcome(const LoanRecord& r, const MemoryResultsView& view, const ScriptedUser& user,
                            std::size_t firstPrompt) {
    const double fc = r.gdEstFinanceChg;
    // Answers and questions: at most one, each kept.
    FUZZ_CHECK(IsAnswer(r.giAPRUnderByFC) && IsAnswer(r.giAPROverByFC), r.giAPRUnderByFC << ", " << r.giAPROverByFC);
    for (std::size_t i = firstPrompt; i < user.prompts().size(); ++i)
        FUZZ_CHECK(!user.prompts()[i].text.empty() && user.prompts()[i].style == kStyleYesNoQuestion,
                   Printable(user.prompts()[i].text));
    const std::size_t asked = (r.giAPRUnderByFC != kNotAsked) + (r.giAPROverByFC != kNotAsked);
    FUZZ_CHECK(user.prompts().size() - firstPrompt == asked && asked <= 1, asked << " answers kept");

    // Reasons and flags agree; one direction at a time.
    FUZZ_CHECK((r.gbAPRUnderViol || r.gbAPROverViol) == !r.gsDebugMsgAPR.empty(), r.gsDebugMsgAPR);
    FUZZ_CHECK((r.gbFCUnderViol || r.gbFCOverViol) == !r.gsDebugMsgFC.empty(), r.gsDebugMsgFC);
    FUZZ_CHECK(!(r.gbAPRUnderViol && r.gbAPROverViol) && !(r.gbFCUnderViol && r.gbFCOverViol), "both directions");
    if (fc == 0)
        FUZZ_CHECK(!r.gbAPRUnderViol && !r.gbAPROverViol && !r.gbFCUnderViol && !r.gbFCOverViol && asked == 0 &&
                       !view.label(ResultsLabel::lblFinanceError).visible,
                   "a test ran with no disclosed finance charge");
    // 226.22(a)(2), (3): a violation lies beyond the tolerance.
    const double aprTolerance = r.gbIrregular ? 0.25 : 0.125;
    FUZZ_CHECK(!r.gbAPRUnderViol || r.gdAPRDiff > aprTolerance, r.gdAPRDiff);
    FUZZ_CHECK(!r.gbAPROverViol || r.gdDisclAPR - aprTolerance > r.gdCalcAPR, r.gdAPRDiff);
    FUZZ_CHECK(!r.gbFCUnderViol || (r.dFinanceChgDiff > 0 && r.dFnceChg - fc > r.giFCTolerance - 0.0002),
               r.dFinanceChgDiff);
    FUZZ_CHECK(
        !r.gbFCOverViol || (r.dFinanceChgDiff < 0 && !r.gbSecuredByRealEstate && fc - r.giFCTolerance > r.dFnceChg),
        r.dFinanceChgDiff);
    // Reimbursement follows understatements only, and every finance-charge understatement.
    FUZZ_CHECK(!r.gbSubjToReimb || r.gbAPRUnderViol || r.gbFCUnderViol, "reimbursement without an understatement");
    FUZZ_CHECK(!r.gbFCUnderViol || r.gbSubjToReimb, "a finance charge understatement not subject to reimbursement");
    FUZZ_CHECK(!r.gbIrregular || !r.gbTermOver10Yrs, "an irregular loan over ten years");
    CheckLabels(r, view);
}

}  // namespace tallex::fuzz
