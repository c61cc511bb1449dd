#include "construction/ConstPhase.h"

#include "construction/ConstChoices.h"
#include "construction/ConstInterestEstimate.h"
#include "construction/ConstSinglePayment.h"
#include "engine/CheckedMath.h"
#include "engine/NumberText.h"

#include <algorithm>

namespace tallex {

namespace {

constexpr const char* kMonthsLabel = "# of Months:";
constexpr const char* kDaysLabel = "# of Days:";
constexpr int kMonthsHelp = 49;
constexpr int kDaysHelp = 52;

std::string Trimmed(std::string_view text) {
    std::size_t b = 0, e = text.size();
    while (b < e && text[b] == ' ') ++b;
    while (e > b && text[e - 1] == ' ') --e;
    return std::string(text.substr(b, e - b));
}

// The figures the interest estimate will read once Continue has stored these entries.
ConstInterestTerms PeriodTerms(const LoanRecord& r, const ConstPhaseEntries& e) {
    using checked::Add;
    using checked::Mul;
    const ConstructionChoices& c = r.construction;
    const double period = Val(e.timePeriod);
    ConstInterestTerms terms{r.gdCommitmentAmt, r.gdSimpleIntRate, 0, r.gdConstDays, 0};
    if (WholeMonthAccrual(c)) {
        terms.months = period;
        terms.daysInYear = 360;
    } else if (DayCountAccrual(c)) {
        terms.days = ConstructionOnly(c) ? Add(Mul(period, Val(e.unitPeriods)), Val(e.oddDays)) : period;
        terms.daysInYear = 365;
    }
    return terms;
}

}  // namespace

ConstPhaseLayout ConstPhaseLayoutFor(const ConstructionChoices& c) {
    ConstPhaseLayout layout;
    layout.timePeriodShown = true;
    layout.calendarShown = true;
    if (c.optIntAccrl != kAccrualOther) {
        layout.reserveShown = true;
    } else if (ConstructionOnly(c)) {
        layout.otherShown = true;
    } else {
        // Other, with permanent financing: the user gives the estimate; no period is asked.
        layout.timePeriodShown = false;
        layout.calendarShown = false;
        return layout;
    }
    const bool days = DayCountAccrual(c);
    layout.timePeriodLabel = days ? kDaysLabel : kMonthsLabel;
    layout.timePeriodHelp = days ? kDaysHelp : kMonthsHelp;
    layout.unitPeriodsShown = DaysLimited(c);
    return layout;
}

ConstUnitPeriodFields ConstUnitPeriodsFollow(std::string_view timePeriod) {
    const std::string period = Trimmed(timePeriod);
    ConstUnitPeriodFields fields;
    if (period == "365") {
        fields.enabled = true;
    } else if (!period.empty()) {
        fields.unitPeriods = "1";
        fields.oddDays = "0";
    }
    return fields;
}

std::string ConstPhaseKeyMessage(int field, std::string_view timePeriodLabel) {
    switch (field) {
    case kPhaseTimePeriod: return "For " + CaptionWords(timePeriodLabel) + ", enter numbers only.";
    case kPhaseUnitPeriods: return "For # of unit periods, enter numbers only.";
    default: return "For # of odd days, enter numbers only.";
    }
}

bool ConstFieldCheck(LoanRecord& r, int field, std::string_view text) {
    const ConstructionChoices& c = r.construction;
    const bool daysLimited = DaysLimited(c);
    const double value = Val(text);
    switch (field) {
    case kPhaseTimePeriod: {
        // With "other" and permanent financing the period is hidden and not asked for.
        const bool asked = WholeMonthAccrual(c) || DayCountAccrual(c);
        const bool valid = !asked || (value >= 1 && !(daysLimited && value > 365));
        r.giNumCheck = valid ? kNumericOk : kNotNumeric;
        return valid;
    }
    case kPhaseUnitPeriods: return !daysLimited || value >= 1;
    default: return !daysLimited || (!Trimmed(text).empty() && value >= 0 && value <= 365);
    }
}

ConstContinueResult ConstPhaseContinue(LoanRecord& r, UserSeam& user, const ConstPhaseEntries& entries) {
    using checked::Add;
    using checked::Mul;
    const ConstructionChoices& c = r.construction;
    r.dMonths = 0;
    r.gdConstMonths = 0;

    const ConstPhaseLayout layout = ConstPhaseLayoutFor(c);
    const bool daysLimited = DaysLimited(c);
    ConstContinueResult result;
    auto refuse = [&](const std::string& message, int field) {
        ShowConstRefusal(r, user, message);
        result.passed = false;
        result.message = message;
        result.focusField = field;
        return result;
    };
    if (!ConstFieldCheck(r, kPhaseTimePeriod, entries.timePeriod)) {
        const std::string label = CaptionWords(layout.timePeriodLabel);
        return refuse(daysLimited ? "Enter a number from 1 to 365 for the " + label + "."
                                  : "Enter a number greater than 0 for the " + label + ".",
                      kPhaseTimePeriod);
    }
    if (layout.unitPeriodsShown && !ConstFieldCheck(r, kPhaseUnitPeriods, entries.unitPeriods))
        return refuse("Enter a number greater than 0 for the " + CaptionWords(kUnitPeriodLabel) + ".",
                      kPhaseUnitPeriods);
    if (layout.unitPeriodsShown && !ConstFieldCheck(r, kPhaseOddDays, entries.oddDays))
        return refuse("Enter a number between 0 and 365 for # of odd days.", kPhaseOddDays);

    // The estimate of the next page must fit; refused here, where the period that makes it is typed.
    if (ConstInterestAboveLimit(c, PeriodTerms(r, entries))) {
        const bool yearOfDays = layout.unitPeriodsShown && ConstUnitPeriodsFollow(entries.timePeriod).enabled;
        return refuse(kConstInterestTooLargeMessage, yearOfDays ? kPhaseUnitPeriods : kPhaseTimePeriod);
    }

    // NOTE: nothing is stored until every field has passed.
    r.gdConstTimePeriod = Val(entries.timePeriod);
    r.dUnitPeriods = Val(entries.unitPeriods);
    r.gdOddDays = Val(entries.oddDays);
    const double period = r.gdConstTimePeriod;

    if (WholeMonthAccrual(c)) {
        r.giAccrualMethod = c.optIntAccrl == kAccrualWholeMonths ? (c.chkIntReserve ? 2 : 1) : 7;
        r.gdConstMonths = period;
        r.gdDaysinUnitPd = std::min(Mul(period, 30.0), 360.0);
        r.gdConstDaysinYr = 360;
    } else if (DayCountAccrual(c)) {
        if (c.optIntAccrl == kAccrualActual365_365)
            r.giAccrualMethod = c.chkIntReserve ? 4 : 3;
        else if (c.optIntAccrl == kAccrualActual365_360)
            r.giAccrualMethod = c.chkIntReserve ? 6 : 5;
        else
            r.giAccrualMethod = 7;
        r.gdDaysinUnitPd = period;
        r.gdConstDaysinYr = 365;
        r.gdConstDays = ConstructionOnly(c) ? Add(Mul(period, r.dUnitPeriods), r.gdOddDays) : period;
    } else {
        r.giAccrualMethod = 7;  // other, with permanent financing: no period
    }

    if (ConstructionOnly(c)) {
        if (DayCountAccrual(c)) {
            r.giPymtFreq = kFreqActualDaysSingle;
            r.gdDaysinUnitPd = period;
            r.gdCalUnitPeriods = r.dUnitPeriods;
            r.gdCalOddDays = r.gdOddDays;
            r.gdDaysinYr = 365;
            r.gdConstDaysinYr = 365;
        } else {
            SetWholeMonthsSinglePayment(r, period);
            r.gdConstMonths = period;
            r.gdConstDaysinYr = 360;
        }
    }
    return result;
}

void ConstPhaseActivate(LoanRecord& r) {
    r.gdConstMonths = 0;
    r.gdConstDays = 0;
    r.gdConstDaysinYr = 0;
}

}  // namespace tallex
