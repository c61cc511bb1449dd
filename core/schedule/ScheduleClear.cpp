#include "schedule/ScheduleClear.h"

#include <string>

namespace tallex {

void ScheduleClear(LoanRecord& record) {
    for (int k = 1; k <= kMaxStreams; ++k) {
        record.gaPymtAmt[k].clear();
        record.gaNumPymts[k].clear();
        record.gaUnitPeriods[k].clear();
        record.gaOddDays[k].clear();
        record.gaPymtDbl[k] = 0;
    }
}

void ScheduleInit(LoanRecord& record) {
    for (int k = 1; k <= kMaxStreams; ++k) record.gaPymtCol0[k] = std::to_string(k);
    ScheduleClear(record);
}

}  // namespace tallex
