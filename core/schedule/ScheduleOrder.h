#pragma once
// Puts the payment schedule in chronological order, advances at consummation first, so that the
// results, the tests and the reimbursement see the streams in the order the payments fall.

#include "engine/LoanRecord.h"

#include <vector>

namespace tallex {

// One pass over rows 1..giPVStreams: row k and row k+1 change places (amount, number of
// payments, unit periods, odd days and gaPymtDbl; the stream labels stay) when row k starts
// later, or when both start at consummation and row k+1 is an advance while row k is a
// payment. A row that is entirely zero is never moved up. Returns true when it exchanged rows.
// `entered`, when given, moves with the rows: entered[k] names the row as entered that is now
// row k (it must hold giPVStreams + 1 entries).
bool OrderSchedulePass(LoanRecord& record, std::vector<int>* entered = nullptr);

// Repeats passes until one exchanges nothing; sets gbScheduleChanged when rows moved.
void OrderSchedule(LoanRecord& record, std::vector<int>* entered = nullptr);

}  // namespace tallex
