#include "compliance/Reimbursement.h"

#include "compliance/UserMessage.h"
#include "engine/AprSolver.h"
#include "engine/CheckedMath.h"
#include "engine/Currency.h"
#include "engine/Format.h"
#include "engine/NumberText.h"
#include "engine/RuntimeError.h"
#include "ui/ResultsView.h"

#include <cmath>
#include <cstdint>

namespace tallex {

namespace {

using checked::Add;
using checked::Div;
using checked::Mul;
using checked::Pow;
using checked::Sub;

// A whole number of payments as a 16-bit integer: rounded half to even; beyond the range the
// run-time's overflow.
std::int16_t ToPaymentCount(double value) {
    const double rounded = std::nearbyint(value);
    if (rounded < -32768.0 || rounded > 32767.0) Raise(RuntimeErrorCode::Overflow);
    return static_cast<std::int16_t>(rounded);
}

void RequireRows(int rows) {
    if (rows > kMaxStreams) Raise(RuntimeErrorCode::SubscriptOutOfRange);
}

// (U1 x apr / 100 + 1) - 1, computed in that order: the unit-period rate of an annual percentage.
double UnitPeriodRate(const LoanRecord& r, double apr) {
    return Sub(Add(Div(Mul(r.gdUnitPdFraction, apr), 100.0), 1.0), 1.0);
}

// The advances of rows 1..giPVStreams at the disclosed APR, from zero.
void SumAdvances(LoanRecord& r) {
    RequireRows(r.giPVStreams);
    r.dAdvances = 0;
    for (int k = 1; k <= r.giPVStreams; ++k) {
        if (Val(r.gaPymtAmt[k]) < 0.0) AdvancePresentValue(r, k);
    }
}

}  // namespace

void PresentValueOfAlternate(LoanRecord& r, int streams, int streamsAfter) {
    // The typed schedule and the full stream count must be back in force afterwards, even when
    // the present value fails: every later computation reads them.
    struct Restore {
        LoanRecord& record;
        std::int16_t streams;
        ~Restore() {
            record.gbUseAltSchedule = false;
            record.giPVStreams = streams;
        }
    } restore{r, static_cast<std::int16_t>(streamsAfter)};
    r.giPVStreams = static_cast<std::int16_t>(streams);
    r.gbUseAltSchedule = true;
    PresentValue(r);
}

double ReimbursementToleranceOf(int toleranceIndex) {
    switch (toleranceIndex) {
    case kToleranceZero: return 0.0;
    case kToleranceEighth: return 0.125;
    case kToleranceQuarter: return 0.25;
    default: Raise(RuntimeErrorCode::SubscriptOutOfRange);
    }
}

void AdvancePresentValue(LoanRecord& r, int row) {
    if (row < 1 || row > kMaxStreams) Raise(RuntimeErrorCode::SubscriptOutOfRange);
    const double i = UnitPeriodRate(r, r.gdDisclAPR);
    const double amount = Currency::FromDouble(Val(r.gaPymtAmt[row])).ToDouble();
    const double n = Val(r.gaNumPymts[row]);
    const double t = Val(r.gaUnitPeriods[row]);
    const double oddFactor = Add(1.0, Div(Mul(Val(r.gaOddDays[row]), i), r.gdDaysinUnitPd));
    const double d = Div(Div(1.0, Pow(Add(1.0, i), t)), oddFactor);
    const double annuity = Sub(1.0, Div(1.0, Pow(Add(1.0, i), n)));
    const double value = Mul(Div(Mul(amount, annuity), i), Mul(d, Add(1.0, i)));
    r.dAdvances = Add(r.dAdvances, std::fabs(value));
}

int CutSchedule(LoanRecord& r, double limit) {
    RequireRows(r.giPVStreams);
    r.dPymt = 0;
    double zeroTimeAdvances = 0;
    int last = r.giPVStreams;
    for (int k = 1; k <= r.giPVStreams; ++k) {
        const bool advance = Val(r.gaPymtAmt[k]) < 0.0;
        const bool atConsummation = Val(r.gaUnitPeriods[k]) == 0.0 && Val(r.gaOddDays[k]) == 0.0;
        r.gaAltNumPymts[k] = advance && !atConsummation ? 0.0 : Val(r.gaNumPymts[k]);
        if (advance && atConsummation) zeroTimeAdvances += 1;
        if (r.dPymt >= limit) {
            last = k - 1;
            break;
        }
        r.dPymt = Add(r.dPymt, r.gaAltNumPymts[k]);
    }
    if (last < 1) Raise(RuntimeErrorCode::SubscriptOutOfRange);
    r.gaAltNumPymts[last] = Add(Sub(r.gaAltNumPymts[last], Sub(r.dPymt, limit)), zeroTimeAdvances);

    for (int m = 1; m <= r.giPVStreams; ++m) {
        const double typed = Val(r.gaPymtAmt[m]);
        const Currency a = typed < 0.0 ? Currency{} : Currency::FromDouble(typed);
        const Currency scaled = Currency::FromDouble(Mul(a.ToDouble(), r.gdProrateFactor));
        r.gaAltPymtAmt[m] = Currency::FromTicks(scaled.ticks() - a.ticks());
    }
    return last;
}

double CarriedToLastPayment(const LoanRecord& r, double presentValue) {
    const double i = r.gdPVRate;
    const double v = Div(1.0, Pow(Add(1.0, i), r.gdNumPymts));
    const double oddFactor = Add(1.0, Div(Mul(r.gdOddDays, i), r.gdDaysinUnitPd));
    const double d = Div(Div(1.0, Pow(Add(1.0, i), r.dUnitPeriods)), oddFactor);
    return Div(presentValue, Mul(Mul(v, d), Add(1.0, i)));
}

void APRMethod(LoanRecord& r) {
    SumAdvances(r);
    r.gdAdjAmount = Add(r.dAdvances, r.gdAmount);

    r.gdPVRate = UnitPeriodRate(r, r.gdAdjustedAPR);
    PresentValue(r);
    r.gdAdjPV = Add(r.gdPVSum, r.dAdvances);
    r.gdAdjPVDiff = Sub(r.gdAdjAmount, r.gdAdjPV);
    r.gdProrateFactor = Div(r.gdAdjAmount, r.gdAdjPV);

    // The stream count the method was given (every row for a loan that went through the
    // schedule, the single stream of a construction-only loan) is the one it leaves behind.
    const int streams = r.giPVStreams;
    RequireRows(streams);
    for (int k = 1; k <= streams; ++k) {
        r.gaSaveAmt[k] = ShortestNumber(Val(r.gaPymtAmt[k]));
        r.gaSaveNum[k] = ShortestNumber(Val(r.gaNumPymts[k]));
    }

    const int last = CutSchedule(r, r.iNPTotal);
    PresentValueOfAlternate(r, last, streams);
    r.gdAPRAdjFinal = CarriedToLastPayment(r, r.gdPVSum);

    for (int k = 1; k <= streams; ++k) {
        r.gaPymtAmt[k] = r.gaSaveAmt[k];
        r.gaNumPymts[k] = r.gaSaveNum[k];
    }
}

void FinanceChargeMethod(LoanRecord& r) {
    // The APR the finance charge is valued at; with no tolerance that is the correct APR itself.
    r.gdFCAdjAPR = Sub(r.gdCalcAPR, r.dTolerance);
    if (r.dTolerance == 0.0) {
        r.gdFCAdjustment = -r.dFinanceChgDiff;
        APRMethod(r);
        return;
    }

    SumAdvances(r);
    r.gdFCAdjAmount = Add(r.gdAmount, r.dAdvances);

    r.gdPVRate = UnitPeriodRate(r, r.gdFCAdjAPR);
    PresentValue(r);
    r.gdPVSum = Add(r.gdPVSum, r.dAdvances);

    r.gdFCAdjTotal = 0;
    for (int k = 1; k <= r.giPVStreams; ++k) {
        const double amount = Val(r.gaPymtAmt[k]);
        if (amount > 0.0) {
            r.gdFCAdjTotal =
                Add(r.gdFCAdjTotal, Mul(Div(Mul(amount, r.gdFCAdjAmount), r.gdPVSum), Val(r.gaNumPymts[k])));
        }
    }

    const double t = r.gdPymtsLessAdv;
    const double fc = r.gdEstFinanceChg;
    if (r.gbConstruction) {
        r.gdFCAdjustment = Sub(Add(Sub(Add(r.gdPymtAbsValue, t), r.gdFCAdjTotal), fc), r.dFnceChg);
    } else {
        r.gdFCAdjustment = Sub(Sub(Add(r.gdTotPymts, fc), r.gdFCAdjTotal), Sub(t, r.gdAmount));
    }
    if (r.gdFCAdjustment >= -1.0) r.gdFCAdjustment = 0;
}

bool ReimbursementToleranceChosen(LoanRecord& r, UserSeam& user, int toleranceIndex) {
    if (toleranceIndex != kToleranceNone) return true;
    ShowUserMessage(r, user, "Select a reimbursement tolerance before choosing Reimbursement.", kStyleExclamation);
    return false;
}

void ClearReimbursementPageFacts(LoanRecord& r) {
    r.gbNoAPRReimbOwed = false;
    r.gbLumpSumsShown = false;
}

void StartReimbursement(LoanRecord& r, int toleranceIndex) {
    ClearReimbursementPageFacts(r);
    if (toleranceIndex != kToleranceNone) r.dTolerance = ReimbursementToleranceOf(toleranceIndex);
    RequireRows(r.giPymtRows);
    r.giPVStreams = r.giPymtRows;
    r.iNPTotal = 0;
    r.dAdvances = 0;
    for (int k = 1; k <= r.giPymtRows; ++k) {
        const double n = Val(r.gaNumPymts[k]);
        if (Val(r.gaPymtAmt[k]) > 0.0) r.iNPTotal = ToPaymentCount(Add(r.iNPTotal, n));
        r.dUnitPeriodTot = Add(Val(r.gaUnitPeriods[k]), n);
    }
    r.dTempAPR = r.gdDisclAPR;
    r.gdAdjustedAPR = Add(r.gdDisclAPR, r.dTolerance);

    if (r.gbFCUnderViol || r.gbFCOverViol) {
        FinanceChargeMethod(r);
        if (r.gbAPRUnderViol) APRMethod(r);
    } else {
        APRMethod(r);
    }
}

}  // namespace tallex
