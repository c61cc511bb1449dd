#include "shell/StartupTexts.h"

#include "shell/CommonScreen.h"

namespace tallex {

std::string AppVersion() { return TALLEX_VERSION; }

std::string DisclaimerText() {
    return "TALLEX computes annual percentage rates and reimbursement adjustments under Regulation Z"
           " (12 C.F.R. 226, Appendices D and J) to assist the examiner."
           " Its results carry no warranty of any kind and are not legal advice:"
           " the examiner must check every figure and every verdict before relying on it."
           " Any other method that meets the precise standards of Appendices D and J may be used instead.";
}

std::string SecondInstanceQuestion() {
    return std::string("A previous instance of the APR program is already running.") + kCrLf + kCrLf +
           "Do you really want to start a new instance of the APR program?";
}

std::string ErrorNoticeText(int errorNumber, const std::string& description, const std::string& activeForm) {
    return std::string("A program error has occurred.  Data integity may be compromised.") + kCrLf + kCrLf +
           "Error #: " + std::to_string(errorNumber) + kCrLf + "Error Message: " + description + kCrLf +
           "Active Form: " + (activeForm.empty() ? "None" : activeForm) + kCrLf + kCrLf +
           "Current loan data has been discarded." + kCrLf + "You must create a new loan or exit from the program.";
}

}  // namespace tallex
