#pragma once
// A schedule cell into the record's schedule columns. The schedule page stores a cell right
// after every ScheduleCellCheck, whatever its outcome, with the current row's stream label
// (column 0), the column and the value the check left in the cell.

#include "engine/LoanRecord.h"

#include <string_view>

namespace tallex {

// Copies the value into the stream's text column. Nothing happens for an empty label or a
// column outside 1..4; a label that is not a stream 1..360 raises run-time error 9.
void ScheduleCellStore(LoanRecord& record, std::string_view streamLabel, int column, std::string_view value);

}  // namespace tallex
