#include "CaseUser.h"

namespace tallex::casefile {

namespace {
const char* const kCausedByFcQuestion = "Was the APR error caused by the finance charge error?";
}

short CaseUser::show(const std::string& text, short style) {
    const bool question = style == kStyleYesNoQuestion || style == kStyleYesNoCritical;
    if (question && text.find(kCausedByFcQuestion) != std::string::npos) {
        // The tests ask about an understatement while the computed APR is above the disclosed.
        const bool understated = record_.gdCalcAPR > record_.gdDisclAPR;
        const std::optional<bool>& answer = understated ? understatement_ : overstatement_;
        if (!answer)
            throw CaseFault{
                {understated ? "answers.apr_understatement_caused_by_fc" : "answers.apr_overstatement_caused_by_fc",
                 "the APR test asks \"" + text + "\" and the case gives no answer"}};
        return *answer ? kAnswerYesButton : kAnswerNoButton;
    }
    if (style == kStyleInformation) {
        notes_.push_back(text);
        return kAnswerOk;
    }
    if (question || style == kStyleOkCancelWarning) throw CaseFault{{key_, "unexpected question: " + text}};
    if (defer_) {
        if (refusal_.empty()) {
            refusal_ = text;
            refusalStyle_ = style;
        }
        return kAnswerOk;
    }
    refusalStyle_ = style;
    throw CaseFault{{key_, text}};
}

}  // namespace tallex::casefile
