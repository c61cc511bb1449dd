#include "schedule/ScheduleOrder.h"

#include "engine/NumberText.h"
#include "engine/RuntimeError.h"

#include <iterator>
#include <utility>

namespace tallex {

namespace {

struct RowNumbers {
    double amount;
    double numPayments;
    double unitPeriods;
    double oddDays;

    bool AllZero() const { return amount == 0.0 && numPayments == 0.0 && unitPeriods == 0.0 && oddDays == 0.0; }
    bool AtConsummation() const { return unitPeriods == 0.0 && oddDays == 0.0; }
};

RowNumbers Read(const LoanRecord& r, int k) {
    return {Val(r.gaPymtAmt[k]), Val(r.gaNumPymts[k]), Val(r.gaUnitPeriods[k]), Val(r.gaOddDays[k])};
}

bool MustExchange(const RowNumbers& row, const RowNumbers& next) {
    if (next.AllZero()) return false;
    if (row.unitPeriods > next.unitPeriods) return true;
    if (row.unitPeriods == next.unitPeriods && row.oddDays > next.oddDays) return true;
    return row.AtConsummation() && next.AtConsummation() && next.amount < 0.0 && row.amount > 0.0;
}

void Exchange(LoanRecord& r, int k) {
    std::swap(r.gaPymtAmt[k], r.gaPymtAmt[k + 1]);
    std::swap(r.gaNumPymts[k], r.gaNumPymts[k + 1]);
    std::swap(r.gaUnitPeriods[k], r.gaUnitPeriods[k + 1]);
    std::swap(r.gaOddDays[k], r.gaOddDays[k + 1]);
    std::swap(r.gaPymtDbl[k], r.gaPymtDbl[k + 1]);
}

}  // namespace

bool OrderSchedulePass(LoanRecord& r, std::vector<int>* entered) {
    if (r.giPVStreams > kMaxStreams) Raise(RuntimeErrorCode::SubscriptOutOfRange);
    if (entered && std::ssize(*entered) <= r.giPVStreams) Raise(RuntimeErrorCode::SubscriptOutOfRange);
    bool exchanged = false;
    for (int k = 1; k < r.giPVStreams; ++k) {
        if (MustExchange(Read(r, k), Read(r, k + 1))) {
            Exchange(r, k);
            if (entered) std::swap((*entered)[k], (*entered)[k + 1]);
            exchanged = true;
        }
    }
    return exchanged;
}

void OrderSchedule(LoanRecord& r, std::vector<int>* entered) {
    // Every exchange puts one out-of-order pair right, so a bubble sort needs at most one pass
    // per row plus the pass that finds nothing to do; more would mean a broken ordering rule.
    const int passLimit = r.giPVStreams + 1;
    for (int pass = 0; OrderSchedulePass(r, entered); ++pass) {
        r.gbScheduleChanged = true;
        if (pass > passLimit) Raise(RuntimeErrorCode::InvalidCall);
    }
}

}  // namespace tallex
