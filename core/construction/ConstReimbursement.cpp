#include "construction/ConstReimbursement.h"

#include "compliance/Reimbursement.h"
#include "engine/CheckedMath.h"
#include "engine/NumberText.h"
#include "engine/RuntimeError.h"
#include "ui/ResultsView.h"

#include <cmath>
#include <string>

namespace tallex {

namespace {

// The reimbursement methods write their working numbers into the schedule cells; the one row
// of a construction-only loan is put back as typed, whatever happens.
class RowTextsKept {
public:
    explicit RowTextsKept(LoanRecord& r) : r_(r), amount_(r.gaPymtAmt[1]), count_(r.gaNumPymts[1]) {}
    ~RowTextsKept() {
        r_.gaPymtAmt[1] = amount_;
        r_.gaNumPymts[1] = count_;
    }
    RowTextsKept(const RowTextsKept&) = delete;
    RowTextsKept& operator=(const RowTextsKept&) = delete;

private:
    LoanRecord& r_;
    std::string amount_;
    std::string count_;
};

}  // namespace

void StartConstReimbursement(LoanRecord& r, int toleranceIndex) {
    ClearReimbursementPageFacts(r);
    if (toleranceIndex != kToleranceNone) r.dTolerance = ReimbursementToleranceOf(toleranceIndex);
    r.giPVStreams = 1;
    r.dAdvances = 0;
    // The count of payments the APR method cuts the schedule at: the one stream's payments.
    // Left at 0 it would cut before the first payment and the adjustment would be lost.
    const double count = Val(r.gaNumPymts[1]);
    const double rounded = Val(r.gaPymtAmt[1]) > 0 ? std::nearbyint(count) : 0.0;
    if (rounded > 32767 || rounded < -32768) Raise(RuntimeErrorCode::Overflow);
    r.iNPTotal = static_cast<std::int16_t>(rounded);
    r.dUnitPeriodTot = checked::Add(Val(r.gaUnitPeriods[1]), count);
    r.dTempAPR = r.gdDisclAPR;
    r.gdAdjustedAPR = checked::Add(r.gdDisclAPR, r.dTolerance);

    {
        RowTextsKept kept(r);
        if (r.gbFCUnderViol || r.gbFCOverViol) {
            FinanceChargeMethod(r);
            if (r.gbAPRUnderViol) APRMethod(r);
        } else {
            APRMethod(r);
        }
    }
    r.giPymtFreq = kFreqConstructionOnly;
}

}  // namespace tallex
