#include "calendar/FrequencyRules.h"

#include "calendar/MonthCount.h"
#include "engine/CheckedMath.h"

#include <cmath>

namespace tallex {

LoanBasis LoanBasis::Of(const LoanRecord& record) {
    return {record.gdDaysinUnitPd, record.gdDaysinYr, record.dMonths, record.giDayBasis};
}

void LoanBasis::RestoreInto(LoanRecord& record) const {
    record.gdDaysinUnitPd = gdDaysinUnitPd;
    record.gdDaysinYr = gdDaysinYr;
    record.dMonths = dMonths;
    record.giDayBasis = giDayBasis;
}

namespace {

void SetUnitPeriodBasis(LoanRecord& record, double days) {
    record.gdDaysinUnitPd = days;
    record.gdDaysinYr = days;
}

CalendarRefusal Monthly(LoanRecord& record, const CalendarDate& loan, const CalendarDate& payment) {
    const MonthCountResult count = CountMonths(record, loan, payment);
    record.gdCalDayGap = count.oddDays();
    record.gdCalOddDays = record.gdCalDayGap;
    record.gdCalUnitPeriods = count.months;
    return CalendarRefusal::kNone;
}

CalendarRefusal MultiplesOfMonth(LoanRecord& record, const CalendarDate& loan, const CalendarDate& payment) {
    const MonthCountResult count = CountMonths(record, loan, payment);
    record.gdCalDayGap = count.oddDays();
    if (record.giDayBasis == kDayBasisActualDays) SetUnitPeriodBasis(record, 365);

    const double monthsPerPeriod = record.dMonths;
    const bool annual = monthsPerPeriod == 12;
    if (annual && record.gdCalDayGap != 0) {
        // Not on the loan date's day of the month: whole years and actual days.
        const int wholeYears = static_cast<int>(std::floor(count.months / 12.0));
        record.gdCalUnitPeriods = wholeYears;
        record.gdCalOddDays = YearsBackDayGap(record, loan, payment, wholeYears);
        SetUnitPeriodBasis(record, 365);
    } else {
        const double periods = std::floor(checked::Div(count.months, monthsPerPeriod));
        record.gdCalOddDays = (count.months - periods * monthsPerPeriod) * 30 + record.gdCalDayGap;
        record.gdCalUnitPeriods = periods;
    }

    if (annual && record.gdCalOddDays != 0) {
        const bool evenMonths = record.gdCalDayGap == 0;
        if (record.giDayBasis == kDayBasisActualDays && evenMonths) return CalendarRefusal::kSwitchToEvenMonths;
        if (record.giDayBasis == kDayBasisEvenMonths && !evenMonths) return CalendarRefusal::kSwitchToActualDays;
        record.giDayBasis = evenMonths ? kDayBasisEvenMonths : kDayBasisActualDays;
        SetUnitPeriodBasis(record, evenMonths ? 360 : 365);
    }
    return CalendarRefusal::kNone;
}

CalendarRefusal SemiMonthly(LoanRecord& record, const CalendarDate& loan, const CalendarDate& payment) {
    const MonthCountResult count = CountMonths(record, loan, payment);
    record.gdCalDayGap = count.oddDays();
    double periods = 2.0 * count.months;
    double oddDays = record.gdCalDayGap;
    while (oddDays >= 15) {
        oddDays -= 15;
        periods += 1;
    }
    record.gdCalUnitPeriods = periods;
    record.gdCalOddDays = oddDays;
    return CalendarRefusal::kNone;
}

CalendarRefusal ActualDaysInstallment(LoanRecord& record) {
    const double periods = std::floor(checked::Div(record.gdCalActualDays, record.gdDaysinUnitPd));
    record.gdCalUnitPeriods = periods;
    record.gdCalOddDays = record.gdCalActualDays - periods * record.gdDaysinUnitPd;
    return CalendarRefusal::kNone;
}

CalendarRefusal EqualMonthsSingle(LoanRecord& record, const CalendarDate& loan, const CalendarDate& payment) {
    const MonthCountResult count = CountMonths(record, loan, payment);
    record.gdCalDayGap = count.oddDays();
    record.dMonths = count.months;
    if (record.gdCalDayGap != 0) return CalendarRefusal::kTermNotMultipleOfMonth;
    const double months = record.dMonths;
    record.gdDaysinYr = 360;
    const double years = std::floor(months / 12);
    record.gdCalUnitPeriods = years == 0 ? 1 : years;
    record.gdDaysinUnitPd = months * 30 > 360 ? 360 : months * 30;
    record.gdCalOddDays = months > 11 ? (months - years * 12) * 30 : 0;
    return CalendarRefusal::kNone;
}

CalendarRefusal ActualDaysSingle(LoanRecord& record, const CalendarDate& loan, const CalendarDate& payment) {
    const MonthCountResult count = CountMonths(record, loan, payment);
    record.gdCalDayGap = count.oddDays();
    if (record.gdCalDayGap <= 0 && count.months >= 12 && count.months % 12 != 0)
        return CalendarRefusal::kEqualMonthsTerm;
    CountYearsBack(record, loan, payment);
    return CalendarRefusal::kNone;
}

CalendarRefusal Dispatch(LoanRecord& record, const CalendarDate& loan, const CalendarDate& payment) {
    switch (record.giPymtFreq) {
    case kFreqMonthly: return Monthly(record, loan, payment);
    case kFreqMultiplesOfMonth: return MultiplesOfMonth(record, loan, payment);
    case kFreqSemiMonthly: return SemiMonthly(record, loan, payment);
    case kFreqActualDaysInstallment: return ActualDaysInstallment(record);
    case kFreqEqualMonthsSingle: return EqualMonthsSingle(record, loan, payment);
    case kFreqActualDaysSingle: return ActualDaysSingle(record, loan, payment);
    default: return CalendarRefusal::kNone;
    }
}

}  // namespace

CalendarRefusal ApplyFrequencyRule(LoanRecord& record, const CalendarDate& loanDate, const CalendarDate& paymentDate) {
    const LoanBasis before = LoanBasis::Of(record);
    const CalendarRefusal refusal = Dispatch(record, loanDate, paymentDate);
    if (refusal != CalendarRefusal::kNone) before.RestoreInto(record);
    return refusal;
}

}  // namespace tallex
