#include "engine/LoanRecord.h"

namespace tallex {

void ResetLoanRecord(LoanRecord& record) {
    // A value-initialised record is exactly the reset state: every number 0, every text and
    // schedule cell empty, the two unanswered questions 99.
    record = LoanRecord{};
}

void SetSecuredByRealEstate(LoanRecord& record, bool secured) {
    record.gbSecuredByRealEstate = secured;
    if (!secured) record.gbDatePre_093095 = false;
}

}  // namespace tallex
