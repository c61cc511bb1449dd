#pragma once
// Emptying the payment schedule.

#include "engine/LoanRecord.h"

namespace tallex {

// Streams 1..360: the four text columns empty, the adjusted payments 0. Labels stay.
void ScheduleClear(LoanRecord& record);

// A schedule page built afresh: the labels "1" to "360" and an empty schedule.
void ScheduleInit(LoanRecord& record);

}  // namespace tallex
