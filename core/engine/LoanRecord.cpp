#include "engine/LoanRecord.h"

#include <algorithm>

namespace tallex {

void ResetLoanRecord(LoanRecord& record) { ResetLoanRecord(record, kMaxStreams); }

void ResetLoanRecord(LoanRecord& record, int rowsInUse) {
    // Value-initialised fields are exactly the reset state: every number 0, every text empty,
    // the two unanswered questions 99. The arrays are emptied where they stand, which is far
    // cheaper than building a new record (a batch resets one record per case).
    static_cast<LoanRecordFields&>(record) = LoanRecordFields{};
    const std::size_t end = static_cast<std::size_t>(std::clamp(rowsInUse, 0, kMaxStreams)) + 1;
    for (auto* column : {&record.gaPymtCol0, &record.gaPymtAmt, &record.gaNumPymts, &record.gaUnitPeriods,
                         &record.gaOddDays, &record.gaSaveAmt, &record.gaSaveNum})
        for (std::size_t k = 0; k < end; ++k)
            if (!(*column)[k].empty()) (*column)[k].clear();
    std::fill_n(record.gaPymtDbl.begin(), end, 0.0);
    std::fill_n(record.gaAltNumPymts.begin(), end, 0.0);
    std::fill_n(record.gaAltPymtAmt.begin(), end, Currency{});
}

void SetSecuredByRealEstate(LoanRecord& record, bool secured) {
    record.gbSecuredByRealEstate = secured;
    if (!secured) record.gbDatePre_093095 = false;
}

void SetDatePre093095(LoanRecord& record, bool before) {
    record.gbDatePre_093095 = before && record.gbSecuredByRealEstate;
}

}  // namespace tallex
