#include "shell/BasicInfo.h"

namespace tallex {

BasicInfoField FirstEmptyField(const std::array<std::string, 5>& texts) {
    for (std::size_t i = 0; i < texts.size(); ++i)
        if (texts[i].empty()) return static_cast<BasicInfoField>(i);
    return BasicInfoField::AccountDate;
}

std::string CreditorAfterLender(std::string_view lender, std::string_view creditor) {
    return std::string(creditor.empty() ? lender : creditor);
}

std::string LoanKindSwitchQuestion(bool regularSelected) {
    return std::string(regularSelected ? "Switching from regular APR to construction loan "
                                       : "Switching from construction loan to regular APR ") +
           "will cause the deletion of any data you have entered.";
}

void BasicInfoContinue(LoanRecord& record, SessionFlags& session, bool construction) {
    session.gbBasicInfoFresh = false;
    if (construction) {
        record.gbAppendixJ = false;
        record.gbConstruction = true;
    } else {
        record.gsLoanType = kRegularLoanType;
        record.gbAppendixJ = true;
        record.gbConstruction = false;
    }
}

}  // namespace tallex
