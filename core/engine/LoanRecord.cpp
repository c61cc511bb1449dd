#include "engine/LoanRecord.h"

namespace tallex {

void ResetLoanRecord(LoanRecord& record) {
    // Value-initialised fields are exactly the reset state: every number 0, every text empty,
    // the two unanswered questions 99. The arrays are emptied where they stand, which is far
    // cheaper than building a new record (a batch resets one record per case).
    static_cast<LoanRecordFields&>(record) = LoanRecordFields{};
    for (auto* column : {&record.gaPymtCol0, &record.gaPymtAmt, &record.gaNumPymts, &record.gaUnitPeriods,
                         &record.gaOddDays, &record.gaSaveAmt, &record.gaSaveNum})
        for (std::string& cell : *column)
            if (!cell.empty()) cell.clear();
    record.gaPymtDbl.fill(0.0);
    record.gaAltNumPymts.fill(0.0);
    record.gaAltPymtAmt.fill(Currency{});
}

void SetSecuredByRealEstate(LoanRecord& record, bool secured) {
    record.gbSecuredByRealEstate = secured;
    if (!secured) record.gbDatePre_093095 = false;
}

}  // namespace tallex
