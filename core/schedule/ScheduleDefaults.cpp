#include "schedule/ScheduleDefaults.h"

#include "engine/CheckedMath.h"
#include "engine/Format.h"
#include "engine/NumberText.h"
#include "engine/RuntimeError.h"
#include "schedule/ScheduleColumns.h"

namespace tallex {

std::vector<ScheduleCellFill> ScheduleFillDefaults(LoanRecord& record, int stream) {
    if (stream < 1 || stream > kMaxStreams) Raise(RuntimeErrorCode::SubscriptOutOfRange);
    std::vector<ScheduleCellFill> fills;
    fills.reserve(2);  // the two columns it may fill: one allocation, not one per column
    std::string unitPeriods;
    std::string oddDays;
    if (stream == 1) {
        // A yearly unit period counted in months needs the dates: the calculator fills these.
        if (record.gbAppendixJ && record.giPymtFreq == kFreqMultiplesOfMonth && record.dMonths == 12) return fills;
        unitPeriods = "1";
        oddDays = "0";
    } else {
        const double previousEnd =
            checked::Add(Val(record.gaUnitPeriods[stream - 1]), Val(record.gaNumPymts[stream - 1]));
        unitPeriods = ShortestNumber(previousEnd);
        oddDays = record.gaOddDays[stream - 1];
    }
    if (record.gaUnitPeriods[stream].empty() && !unitPeriods.empty()) {
        record.gaUnitPeriods[stream] = unitPeriods;
        fills.push_back({kColUnitPeriods, unitPeriods});
    }
    if (record.gaOddDays[stream].empty() && !oddDays.empty()) {
        record.gaOddDays[stream] = oddDays;
        fills.push_back({kColOddDays, oddDays});
    }
    return fills;
}

}  // namespace tallex
