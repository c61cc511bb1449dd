#include "construction/ConstructionSpanRules.h"

#include "calendar/FrequencyRules.h"
#include "calendar/MonthCount.h"
#include "engine/CheckedMath.h"
#include "engine/RuntimeError.h"

#include <cmath>

namespace tallex {

double RoundUpHalf(double days) { return std::floor(days / 2 + 0.5); }

DoubleMonthCount CountBothPhases(LoanRecord& record, const CalendarDate& loanDate, const CalendarDate& constructionEnd,
                                 const CalendarDate& amortizationDate) {
    DoubleMonthCount count;
    const MonthCountResult permanent = CountMonths(record, constructionEnd, amortizationDate);
    count.permanentMonths = permanent.months;
    count.permanentDays = permanent.oddDays();
    record.gdCalPermMonths = permanent.months;
    const MonthCountResult construction = CountMonths(record, loanDate, constructionEnd);
    count.constructionMonths = construction.months;
    count.constructionDays = construction.oddDays();
    record.gdCalDayGap = count.constructionDays;
    return count;
}

namespace {

bool IsWhole(double x) { return std::floor(x) == x; }

double Int(double x) { return std::floor(x); }

// Remainder of whole day counts.
double WholeMod(double a, double b) {
    const double divisor = std::nearbyint(b);
    if (divisor == 0) Raise(RuntimeErrorCode::DivisionByZero);
    return std::fmod(std::nearbyint(a), divisor);
}

void SetBasis(LoanRecord& record, double days) {
    record.gdDaysinUnitPd = days;
    record.gdDaysinYr = days;
}

// Half a construction term of `constructionDays` days in unit periods of `unit` days, then the
// permanent phase's whole periods and its `permanentDays` on top.
void HalfTermThenPermanent(LoanRecord& record, double unit, double constructionDays, double permanentPeriods,
                           double permanentDays) {
    const double half = RoundUpHalf(constructionDays);
    const double halfPeriods = Int(checked::Div(half, unit));
    const double rest = half - unit * halfPeriods;
    record.gdCalUnitPeriods = permanentPeriods + halfPeriods + Int(checked::Div(rest + permanentDays, unit));
    record.gdCalOddDays = WholeMod(rest + permanentDays, unit);
}

// Whole years of the permanent phase and the actual days of everything else: half the
// construction term plus the permanent days beyond those years.
void ActualDaysSpan(LoanRecord& record, const CalendarDate& constructionEnd, const CalendarDate& amortizationDate,
                    int permanentYears) {
    const int permanentDays = YearsBackDayGap(record, constructionEnd, amortizationDate, permanentYears);
    const double days = RoundUpHalf(record.dActDays) + permanentDays;
    record.gdCalUnitPeriods = Int(days / 365) + permanentYears;
    record.gdCalOddDays = days < 365 ? days : WholeMod(days, 365);
}

CalendarRefusal Monthly(LoanRecord& record, const DoubleMonthCount& n) {
    const double unit = record.gdDaysinUnitPd;
    HalfTermThenPermanent(record, unit, unit * n.constructionMonths + n.constructionDays, n.permanentMonths,
                          n.permanentDays);
    return CalendarRefusal::kNone;
}

CalendarRefusal SemiMonthly(LoanRecord& record, const DoubleMonthCount& n) {
    double halfMonths = 2.0 * n.constructionMonths;
    double days = n.constructionDays;
    while (days >= 15) {
        days -= 15;
        halfMonths += 1;
    }
    const double unit = record.gdDaysinUnitPd;
    HalfTermThenPermanent(record, unit, unit * halfMonths + days, 2.0 * n.permanentMonths, n.permanentDays);
    return CalendarRefusal::kNone;
}

CalendarRefusal ActualDaysInstallment(LoanRecord& record, double constructionDays, double permanentDays) {
    const double unit = record.gdDaysinUnitPd;
    const double permanentPeriods = Int(checked::Div(permanentDays, unit));
    HalfTermThenPermanent(record, unit, constructionDays, permanentPeriods, permanentDays - permanentPeriods * unit);
    return CalendarRefusal::kNone;
}

CalendarRefusal EqualMonthsSingle(LoanRecord& record, const DoubleMonthCount& n) {
    const double total =
        (30.0 * n.constructionMonths + n.constructionDays) / 2 + 30.0 * n.permanentMonths + n.permanentDays;
    if (!IsWhole(total / 30)) return CalendarRefusal::kHalfTermNotEqualMonths;
    if (n.constructionDays != 0) return CalendarRefusal::kHalfTermConstructionNotMonths;
    const double months = total / 30;
    record.dMonths = months;
    record.gdDaysinYr = 360;
    const double years = Int(months / 12);
    record.gdCalUnitPeriods = years == 0 ? 1 : years;
    record.gdDaysinUnitPd = months * 30 > 360 ? 360 : months * 30;
    record.gdCalOddDays = months > 11 ? WholeMod(months, 12) * 30 : 0;
    return CalendarRefusal::kNone;
}

CalendarRefusal ActualDaysSingle(LoanRecord& record, const DoubleMonthCount& n, const CalendarDate& constructionEnd,
                                 const CalendarDate& amortizationDate) {
    const double halfMonths = n.constructionMonths / 2.0;
    const double spanMonths = n.constructionDays / 30.0 / 2 + halfMonths + n.permanentMonths + n.permanentDays / 30.0;
    if (spanMonths > 12 && !IsWhole((halfMonths + n.permanentMonths) / 12) && IsWhole(halfMonths) &&
        n.constructionDays == 0 && n.permanentDays == 0)
        return CalendarRefusal::kHalfTermEqualMonths;
    ActualDaysSpan(record, constructionEnd, amortizationDate, static_cast<int>(Int(n.permanentMonths / 12.0)));
    if (record.gdCalUnitPeriods == 0) {
        record.gdCalUnitPeriods = 1;
        record.gdDaysinUnitPd = record.gdCalOddDays;
        record.gdCalOddDays = 0;
    } else {
        record.gdDaysinUnitPd = 365;
    }
    record.gdDaysinYr = 365;
    return CalendarRefusal::kNone;
}

CalendarRefusal MultiplesOfMonth(LoanRecord& record, const DoubleMonthCount& n, const CalendarDate& constructionEnd,
                                 const CalendarDate& amortizationDate) {
    const double monthsPerPeriod = record.dMonths;
    const double unit = monthsPerPeriod * 30;
    record.gdDaysinUnitPd = unit;
    record.gdDaysinYr = 360;

    const double constructionPeriods = Int(checked::Div(n.constructionMonths, monthsPerPeriod));
    const double constructionLeftOver =
        (n.constructionMonths - constructionPeriods * monthsPerPeriod) * 30 + n.constructionDays;
    const double half = RoundUpHalf(unit * constructionPeriods + constructionLeftOver);
    const double halfPeriods = Int(checked::Div(half, unit));
    const double rest = half - unit * halfPeriods + n.permanentDays + WholeMod(n.permanentMonths * 30.0, unit);
    const double permanentPeriods = Int(n.permanentMonths / monthsPerPeriod);
    record.gdCalOddDays = rest - Int(rest / unit) * unit;

    if (record.giDayBasis == kDayBasisActualDays) SetBasis(record, 365);
    const bool annual = monthsPerPeriod == 12;
    if (!(annual && !IsWhole(record.gdCalOddDays / 30))) {
        // Whole periods in the unit the odd days were taken in: counting them in a 365-day
        // unit instead would drop a year from a span of exactly whole years.
        record.gdCalUnitPeriods = halfPeriods + permanentPeriods + Int(rest / unit);
    } else {
        ActualDaysSpan(record, constructionEnd, amortizationDate, static_cast<int>(permanentPeriods));
    }

    if (annual && record.gdCalOddDays != 0) {
        const bool evenMonths = IsWhole(record.gdCalOddDays / 30);
        if (record.giDayBasis == kDayBasisActualDays && evenMonths) return CalendarRefusal::kSwitchToEvenMonths;
        if (record.giDayBasis == kDayBasisEvenMonths && !evenMonths) return CalendarRefusal::kSwitchToActualDays;
        record.giDayBasis = evenMonths ? kDayBasisEvenMonths : kDayBasisActualDays;
        SetBasis(record, evenMonths ? 360 : 365);
    }
    return CalendarRefusal::kNone;
}

CalendarRefusal Dispatch(LoanRecord& record, const CalendarDate& loanDate, const CalendarDate& constructionEnd,
                         const CalendarDate& amortizationDate) {
    switch (record.giPymtFreq) {
    case kFreqMonthly: return Monthly(record, CountBothPhases(record, loanDate, constructionEnd, amortizationDate));
    case kFreqSemiMonthly:
        return SemiMonthly(record, CountBothPhases(record, loanDate, constructionEnd, amortizationDate));
    case kFreqActualDaysInstallment:
        return ActualDaysInstallment(record, static_cast<double>(DaysBetween(loanDate, constructionEnd)),
                                     static_cast<double>(DaysBetween(constructionEnd, amortizationDate)));
    case kFreqEqualMonthsSingle:
        return EqualMonthsSingle(record, CountBothPhases(record, loanDate, constructionEnd, amortizationDate));
    case kFreqActualDaysSingle:
        return ActualDaysSingle(record, CountBothPhases(record, loanDate, constructionEnd, amortizationDate),
                                constructionEnd, amortizationDate);
    case kFreqMultiplesOfMonth:
        return MultiplesOfMonth(record, CountBothPhases(record, loanDate, constructionEnd, amortizationDate),
                                constructionEnd, amortizationDate);
    default: return CalendarRefusal::kNone;
    }
}

}  // namespace

CalendarRefusal ApplyConstructionSpanRule(LoanRecord& record, const CalendarDate& loanDate,
                                          const CalendarDate& constructionEnd, const CalendarDate& amortizationDate) {
    if (DaysBetween(loanDate, constructionEnd) <= 0 || DaysBetween(constructionEnd, amortizationDate) < 0)
        Raise(RuntimeErrorCode::InvalidCall);
    record.dActDays = static_cast<double>(DaysBetween(loanDate, constructionEnd));
    const LoanBasis before = LoanBasis::Of(record);
    const CalendarRefusal refusal = Dispatch(record, loanDate, constructionEnd, amortizationDate);
    if (refusal != CalendarRefusal::kNone) before.RestoreInto(record);
    return refusal;
}

}  // namespace tallex
