#include "schedule/ScheduleCellStore.h"

#include "engine/NumberText.h"
#include "engine/RuntimeError.h"
#include "schedule/ScheduleColumns.h"

namespace tallex {

void ScheduleCellStore(LoanRecord& record, std::string_view streamLabel, int column, std::string_view value) {
    if (streamLabel.empty() || column < kColAmount || column > kColOddDays) return;
    const double stream = Val(streamLabel);
    if (stream < 1 || stream > kMaxStreams || stream != static_cast<int>(stream))
        Raise(RuntimeErrorCode::SubscriptOutOfRange);
    const int k = static_cast<int>(stream);
    switch (column) {
    case kColAmount: record.gaPymtAmt[k] = value; break;
    case kColNumPayments: record.gaNumPymts[k] = value; break;
    case kColUnitPeriods: record.gaUnitPeriods[k] = value; break;
    default: record.gaOddDays[k] = value; break;
    }
}

}  // namespace tallex
