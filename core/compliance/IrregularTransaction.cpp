#include "compliance/IrregularTransaction.h"

#include "engine/NumberText.h"
#include "engine/RuntimeError.h"

namespace tallex {

namespace {

bool Decide(const LoanRecord& r) {
    const int rows = r.giPymtRows;
    if (rows > kMaxStreams) Raise(RuntimeErrorCode::SubscriptOutOfRange);
    if (r.gbConstruction) return true;
    for (int k = 1; k <= rows; ++k) {
        if (Val(r.gaPymtAmt[k]) < 0.0) return true;
    }
    if (rows == 1) return false;
    if (rows > 3) return true;
    const double firstOddDays = Val(r.gaOddDays[1]);
    for (int k = 2; k <= rows; ++k) {
        if (Val(r.gaOddDays[k]) != firstOddDays) return true;
    }
    for (int k = 2; k <= rows; ++k) {
        const double previousEnd = Val(r.gaNumPymts[k - 1]) + Val(r.gaUnitPeriods[k - 1]);
        if (previousEnd != Val(r.gaUnitPeriods[k])) return true;
    }
    // An irregular first or final payment keeps the loan regular; both at once only in the
    // three-row form.
    if (rows == 2) return Val(r.gaNumPymts[1]) != 1.0 && Val(r.gaNumPymts[2]) != 1.0;
    if (rows == 3) return Val(r.gaNumPymts[1]) != 1.0 || Val(r.gaNumPymts[3]) != 1.0;
    return false;
}

}  // namespace

void ClassifyIrregular(LoanRecord& record) {
    record.gbIrregular = false;
    record.gbIrregular = Decide(record);
}

}  // namespace tallex
