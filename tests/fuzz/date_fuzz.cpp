// Dates as typed into the calendars: CheckDate on any text, and the payment date calculator
// run on random date pairs for every payment frequency (a few streams on one loan, so the day
// basis of annual streams is fixed and then defended).
//
// Invariants:
//  - CheckDate accepts exactly the real calendar dates "m-d-yyyy" / "m/d/yyyy" with a four-digit
//    year from 100 to 9999, shows them as "mm-dd-yyyy" and sets giWorkYear; anything else sets
//    giDateError and shows the empty mask;
//  - DaysBetween and WeekdayName agree with an independent day count;
//  - MultipleOfMonth is true exactly for the same day of the month, or month end to month end;
//  - the calculator's messages are warnings with a text; a payment date before the loan date is
//    refused;
//  - the whole months and odd days of each frequency measure the span between the two dates
//    (monthly: odd days 0..30; semi-monthly: under 15; actual days: exact; annual count: exact
//    against 365-day years and their leap days), and every figure is finite;
//  - a refused OK leaves the loan's basis (days in unit period and year, months, day basis) as
//    it was, and a day basis once fixed never switches;
//  - with a sane loan basis nothing raises; otherwise only the core's run-time error leaves.

#include "FuzzSupport.h"

#include "calendar/CalendarDate.h"
#include "calendar/DateCheck.h"
#include "calendar/FrequencyRules.h"
#include "calendar/MultipleOfMonth.h"
#include "calendar/PaymentDateCalendar.h"
#include "engine/LoanRecord.h"
#include "ui/ScriptedUser.h"

#include <cmath>
#include <cstdio>
#include <optional>
#include <string>

using namespace tallex;
using tallex::fuzz::FuzzInput;
using tallex::fuzz::Printable;

namespace {

class FixedClock final : public Clock {
public:
    std::chrono::steady_clock::time_point now() const override { return {}; }
};

// Gregorian calendar, counted independently of the code under test.
bool Leap(long y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }
int MonthDays(long y, int m) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && Leap(y) ? 29 : kDays[m - 1];
}
// Days since 1970-01-01 (H. Hinnant's days_from_civil).
long Serial(long y, int m, int d) {
    y -= m <= 2;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yoe = y - era * 400;
    const long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}
long Serial(const CalendarDate& d) { return Serial(d.year, d.month, d.day); }

// A date text as a user might type it, with the date it stands for when it is one.
struct TypedDate {
    std::string text;
    std::optional<CalendarDate> date;
};

TypedDate TypeDate(FuzzInput& in) {
    const std::uint8_t mode = in.Byte();
    if (mode >= 224) return {in.Text(14), std::nullopt};  // anything at all
    int year;
    switch (in.Byte() % 4) {
    case 0: year = in.IntIn(100, 9999); break;
    case 1: year = in.IntIn(0, 99999); break;
    default: year = in.IntIn(1980, 2060); break;
    }
    const int month = in.Byte() % 16 == 0 ? in.IntIn(0, 13) : in.IntIn(1, 12);
    const int day = in.Byte() % 8 == 0 ? in.IntIn(0, 32) : in.IntIn(1, 31);
    const char sep = mode % 5 == 0 ? '/' : '-';
    char buf[48];
    if (mode % 3 == 0)
        std::snprintf(buf, sizeof buf, "%d%c%d%c%04d", month, sep, day, sep, year);
    else
        std::snprintf(buf, sizeof buf, "%02d%c%02d%c%04d", month, sep, day, sep, year);
    std::string text = buf;
    if (mode % 7 == 0) text = " " + text + " ";
    // "%04d" writes four digits up to 9999; the years before 100 are outside the fields' range.
    std::optional<CalendarDate> date;
    if (year >= 100 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 && day <= MonthDays(year, month))
        date = CalendarDate{year, month, day};
    return {text, date};
}

std::string Show(const CalendarDate& d) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d-%02d-%04d", d.month, d.day, d.year);
    return buf;
}

void CheckDateText(const TypedDate& typed) {
    LoanRecord r;
    const std::string shown = CheckDate(r, typed.text);
    FUZZ_CHECK(r.giDateError == 0 || r.giDateError == 1, "giDateError " << r.giDateError);
    if (r.giDateError == 1) {
        FUZZ_CHECK(!typed.date, "\"" << Printable(typed.text) << "\" refused, but it is " << Show(*typed.date));
        FUZZ_CHECK(shown == kEmptyDateMask, "a refused date shows \"" << Printable(shown) << "\"");
        return;
    }
    const std::optional<CalendarDate> read = ParseDateText(shown);
    FUZZ_CHECK(read && shown.size() == 10 && shown == Show(*read),
               "\"" << Printable(typed.text) << "\" accepted as \"" << Printable(shown) << "\"");
    FUZZ_CHECK(r.giWorkYear == read->year, "giWorkYear " << r.giWorkYear << " for " << shown);
    FUZZ_CHECK(read->year >= 100 && read->year <= 9999 && read->day <= MonthDays(read->year, read->month),
               "accepted a date that does not exist: " << shown);
    if (typed.date) FUZZ_CHECK(*read == *typed.date, "\"" << Printable(typed.text) << "\" read as " << shown);
}

void CheckDateArithmetic(const CalendarDate& a, const CalendarDate& b) {
    const long expected = Serial(b) - Serial(a);
    FUZZ_CHECK(DaysBetween(a, b) == expected, "DaysBetween(" << Show(a) << ", " << Show(b) << ") = "
                                                             << DaysBetween(a, b) << ", expected " << expected);
    static const char* const kNames[] = {"Thursday", "Friday", "Saturday", "Sunday", "Monday", "Tuesday", "Wednesday"};
    const long s = Serial(a);
    const std::string name = kNames[((s % 7) + 7) % 7];
    FUZZ_CHECK(WeekdayName(a) == name, Show(a) << " is a " << name << ", not " << WeekdayName(a));
    const bool lastA = a.day == MonthDays(a.year, a.month), lastB = b.day == MonthDays(b.year, b.month);
    const bool whole = lastB ? lastA : a.day == b.day;
    FUZZ_CHECK(MultipleOfMonth(a, b) == whole, "MultipleOfMonth(" << Show(a) << ", " << Show(b) << ")");
}

bool SaneBasis(const LoanRecord& r) {
    const bool code = r.giPymtFreq >= 0 && r.giPymtFreq <= 8;
    const bool months = r.giPymtFreq != kFreqMultiplesOfMonth || (r.dMonths >= 1 && r.dMonths <= 12);
    const bool days = r.giPymtFreq != kFreqActualDaysInstallment || (r.gdDaysinUnitPd >= 1 && r.gdDaysinUnitPd <= 366);
    return code && months && days;
}

// One stream measured with the payment date calculator.
void MeasureStream(LoanRecord& r, const TypedDate& loan, const TypedDate& payment) {
    FixedClock clock;
    ScriptedUser user;
    PaymentDateCalendar calendar(r, clock);
    calendar.activate();
    calendar.leaveField(PaymentDateCalendar::Field::kLoanDate, loan.text, user);
    calendar.leaveField(PaymentDateCalendar::Field::kEndDate, payment.text, user);
    const LoanBasis before = LoanBasis::Of(r);
    const std::int16_t basisBefore = r.giDayBasis;
    const bool sane = SaneBasis(r);
    const std::size_t promptsBefore = user.prompts().size();
    PaymentDateCalendar::Outcome outcome;
    try {
        outcome = calendar.ok(user);
    } catch (const RuntimeError& e) {
        FUZZ_CHECK(!sane, "OK raised run-time error " << e.number() << " on code " << r.giPymtFreq << ", U "
                                                      << before.gdDaysinUnitPd << ", months " << before.dMonths);
        throw;
    }
    for (const Prompt& p : user.prompts())
        FUZZ_CHECK(!p.text.empty() && p.style == kStyleExclamation,
                   "calendar message \"" << Printable(p.text) << "\" style " << p.style);
    const bool refused = user.prompts().size() > promptsBefore;
    FUZZ_CHECK(outcome.close != refused,
               "OK closed " << outcome.close << " after " << user.prompts().size() << " messages");
    if (refused) {
        const LoanBasis after = LoanBasis::Of(r);
        FUZZ_CHECK(after.gdDaysinUnitPd == before.gdDaysinUnitPd || std::isnan(before.gdDaysinUnitPd),
                   "refusal changed days in unit period");
        FUZZ_CHECK(after.gdDaysinYr == before.gdDaysinYr || std::isnan(before.gdDaysinYr),
                   "refusal changed days in year");
        FUZZ_CHECK(after.dMonths == before.dMonths || std::isnan(before.dMonths), "refusal changed months");
        FUZZ_CHECK(after.giDayBasis == before.giDayBasis, "refusal changed the day basis");
    }
    if (basisBefore != kDayBasisOpen)
        FUZZ_CHECK(r.giDayBasis == basisBefore, "day basis switched from " << basisBefore << " to " << r.giDayBasis);

    const std::optional<CalendarDate> a = ParseDateText(loan.text), b = ParseDateText(payment.text);
    if (!loan.date || !payment.date) {
        if (!a || !b) FUZZ_CHECK(refused, "OK passed without two dates");
        return;
    }
    const long actual = Serial(*payment.date) - Serial(*loan.date);
    if (actual < 0) {
        FUZZ_CHECK(refused, "a payment date before the loan date was not refused");
        return;
    }
    if (!sane) return;
    const double periods = r.gdCalUnitPeriods, odd = r.gdCalOddDays;
    const bool basisFinite = std::isfinite(before.gdDaysinUnitPd) && std::isfinite(before.gdDaysinYr);
    FUZZ_CHECK(
        std::isfinite(periods) && std::isfinite(odd) &&
            (!basisFinite || (std::isfinite(r.gdDaysinUnitPd) && std::isfinite(r.gdDaysinYr))),
        "a figure is not finite: " << periods << ", " << odd << ", " << r.gdDaysinUnitPd << ", " << r.gdDaysinYr);
    if (refused) return;
    const std::string span = Show(*loan.date) + " to " + Show(*payment.date) + ": ";
    switch (r.giPymtFreq) {
    case kFreqMonthly:
        FUZZ_CHECK(periods >= 0 && odd >= 0 && odd <= 30 && std::fabs(actual - (periods * 30.436875 + odd)) <= 6,
                   span << periods << " months and " << odd << " days for " << actual << " days");
        break;
    case kFreqSemiMonthly:
        FUZZ_CHECK(periods >= 0 && odd >= 0 && odd < 15 && std::fabs(actual - (periods * 15.2184375 + odd)) <= 8,
                   span << periods << " half months and " << odd << " days for " << actual << " days");
        break;
    case kFreqActualDaysInstallment:
        FUZZ_CHECK(periods == std::floor(actual / r.gdDaysinUnitPd) && odd == actual - periods * r.gdDaysinUnitPd,
                   span << periods << " periods of " << r.gdDaysinUnitPd << " and " << odd << " days for " << actual);
        break;
    case kFreqActualDaysSingle:
        if (r.gdDaysinUnitPd != 365) {
            // A term under a year: one unit period of the term's days.
            FUZZ_CHECK(
                periods == 1 && odd == 0 && r.gdDaysinUnitPd == actual && actual < 366,
                span << periods << " periods of " << r.gdDaysinUnitPd << " and " << odd << " days for " << actual);
        } else {
            const double leapDays = actual - odd - 365 * periods;
            FUZZ_CHECK(periods >= 0 && odd >= 0 && odd <= 365 && leapDays >= 0 && leapDays <= periods / 4 + 1,
                       span << periods << " years and " << odd << " days for " << actual << " days");
        }
        break;
    case kFreqEqualMonthsSingle:
        FUZZ_CHECK(r.gdDaysinYr == 360 && r.gdDaysinUnitPd <= 360 && periods >= 1 && odd >= 0 && odd < 360,
                   span << periods << " periods of " << r.gdDaysinUnitPd << " and " << odd << " days");
        break;
    default: break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    tallex::fuzz::RunGuarded([&] {
        LoanRecord r;
        ResetLoanRecord(r);
        r.gbAppendixJ = true;
        r.giPymtFreq = static_cast<std::int16_t>(in.Byte() % 16 == 0 ? in.IntIn(-2, 10) : in.IntIn(1, 6));
        r.dMonths = in.Double({1, 2, 3, 6, 12, 12, 12, 4});
        r.gdDaysinUnitPd = in.Double({30, 15, 7, 14, 28, 91, 182, 365, 200, 364});
        r.gdDaysinYr = in.Double({360, 364, 365});
        r.giDayBasis = static_cast<std::int16_t>(in.IntIn(0, 2));
        for (int stream = 0; stream < 3 && !in.empty(); ++stream) {
            const TypedDate loan = TypeDate(in), payment = TypeDate(in);
            CheckDateText(loan);
            CheckDateText(payment);
            if (loan.date && payment.date) CheckDateArithmetic(*loan.date, *payment.date);
            MeasureStream(r, loan, payment);
        }
    });
    return 0;
}
