// Dates as typed into the calendars: CheckDate on any text, and the payment date calculator run
// on random date pairs for every payment frequency (a few streams on one loan, so the day basis
// of annual streams is fixed and then defended).
//
// Invariants:
//  - CheckDate accepts exactly the real calendar dates "m-d-yyyy" / "m/d/yyyy" with a four-digit
//    year from 100 to 9999, shows them as "mm-dd-yyyy" and sets giWorkYear; anything else sets
//    giDateError and shows the empty mask;
//  - the calculator's messages are warnings with a text, and a payment date before the loan
//    date is refused;
//  - the span between the two dates is measured in periods and odd days, finite and not below
//    nothing;
//  - a refused OK leaves the loan's basis as it was, and a day basis once fixed never switches;
//  - with a sane loan basis nothing raises; otherwise only the core's run-time error leaves.

#include "FuzzSupport.h"

#include "calendar/CalendarDate.h"
#include "calendar/DateCheck.h"
#include "calendar/FrequencyRules.h"
#include "calendar/PaymentDateCalendar.h"

#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <tuple>

using namespace tallex;
using tallex::fuzz::FuzzInput;
using tallex::fuzz::Printable;

namespace {

// Gregorian calendar, counted independently of the code under test.
bool Leap(long y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }
int MonthDays(long y, int m) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && Leap(y) ? 29 : kDays[m - 1];
}
// A date text as a user might type it, with the date it stands for when it is one.
struct TypedDate {
    std::string text;
    std::optional<CalendarDate> date;
};

TypedDate TypeDate(FuzzInput& in) {
    const std::uint8_t mode = in.Byte();
    if (mode >= 224) return {in.Text(14), std::nullopt};  // anything at all
    const std::uint8_t range = in.Byte() % 4;
    const int year = range == 0 ? in.IntIn(100, 9999) : range == 1 ? in.IntIn(0, 99999) : in.IntIn(1980, 2060);
    const int month = in.Byte() % 16 == 0 ? in.IntIn(0, 13) : in.IntIn(1, 12);
    const int day = in.Byte() % 8 == 0 ? in.IntIn(0, 32) : in.IntIn(1, 31);
    const char sep = mode % 5 == 0 ? '/' : '-';
    char buf[48];
    std::snprintf(buf, sizeof buf, mode % 3 == 0 ? "%d%c%d%c%04d" : "%02d%c%02d%c%04d", month, sep, day, sep, year);
    const std::string text = mode % 7 == 0 ? " " + std::string(buf) + " " : buf;
    // "%04d" writes four digits up to 9999; the years before 100 are outside the fields' range.
    if (year >= 100 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 && day <= MonthDays(year, month))
        return {text, CalendarDate{year, month, day}};
    return {text, std::nullopt};
}

void CheckDateText(const TypedDate& typed) {
    LoanRecord r;
    const std::string shown = CheckDate(r, typed.text);
    const std::string what = "\"" + Printable(typed.text) + "\" shown \"" + Printable(shown) + "\"";
    FUZZ_CHECK(r.giDateError == 0 || r.giDateError == 1, what);
    if (r.giDateError == 1) {
        FUZZ_CHECK(!typed.date && shown == kEmptyDateMask, what);
        return;
    }
    const std::optional<CalendarDate> read = ParseDateText(shown);
    FUZZ_CHECK(read && shown == DateText(*read) && r.giWorkYear == read->year, what);
    FUZZ_CHECK(read->year >= 100 && read->year <= 9999 && read->day <= MonthDays(read->year, read->month), what);
    FUZZ_CHECK(!typed.date || *read == *typed.date, what);
}

bool SaneBasis(const LoanRecord& r) {
    return r.giPymtFreq >= 0 && r.giPymtFreq <= 8 &&
           (r.giPymtFreq != kFreqMultiplesOfMonth || (r.dMonths >= 1 && r.dMonths <= 12)) &&
           (r.giPymtFreq != kFreqActualDaysInstallment || (r.gdDaysinUnitPd >= 1 && r.gdDaysinUnitPd <= 366));
}

// The same value, or a NaN before that anything may replace.
bool Kept(double before, double after) { return after == before || std::isnan(before); }

// One stream measured with the payment date calculator.
void MeasureStream(LoanRecord& r, const TypedDate& loan, const TypedDate& payment) {
    tallex::fuzz::SteppingClock clock;
    ScriptedUser user;
    PaymentDateCalendar calendar(r, clock);
    calendar.activate();
    calendar.leaveField(PaymentDateCalendar::Field::kLoanDate, loan.text, user);
    calendar.leaveField(PaymentDateCalendar::Field::kEndDate, payment.text, user);
    const LoanBasis before = LoanBasis::Of(r);
    const bool sane = SaneBasis(r);
    const std::size_t promptsBefore = user.prompts().size();
    PaymentDateCalendar::Outcome outcome;
    try {
        outcome = calendar.ok(user);
    } catch (const RuntimeError& e) {
        FUZZ_CHECK(!sane, "run-time error " << e.number() << " on code " << r.giPymtFreq);
        throw;
    }
    for (const Prompt& p : user.prompts()) FUZZ_CHECK(!p.text.empty() && p.style == kStyleExclamation, p.text);
    const bool refused = user.prompts().size() > promptsBefore;
    FUZZ_CHECK(outcome.close != refused, user.prompts().size() << " messages");
    const LoanBasis after = LoanBasis::Of(r);
    if (refused)
        FUZZ_CHECK(Kept(before.gdDaysinUnitPd, after.gdDaysinUnitPd) && Kept(before.gdDaysinYr, after.gdDaysinYr) &&
                       Kept(before.dMonths, after.dMonths) && after.giDayBasis == before.giDayBasis,
                   "a refusal changed the loan's basis");
    FUZZ_CHECK(before.giDayBasis == kDayBasisOpen || after.giDayBasis == before.giDayBasis, "the day basis switched");

    if (!loan.date || !payment.date) {
        if (!ParseDateText(loan.text) || !ParseDateText(payment.text))
            FUZZ_CHECK(refused, "OK passed without two dates");
        return;
    }
    const CalendarDate &from = *loan.date, &to = *payment.date;
    const bool backwards = std::tie(to.year, to.month, to.day) < std::tie(from.year, from.month, from.day);
    FUZZ_CHECK(!backwards || refused, "a payment date before the loan date was not refused");
    if (backwards || !sane) return;
    // The span measured in periods and odd days, finite and (but in multiples of a month) not
    // below nothing.
    const double periods = r.gdCalUnitPeriods, odd = r.gdCalOddDays;
    const bool basisFinite = std::isfinite(before.gdDaysinUnitPd) && std::isfinite(before.gdDaysinYr);
    FUZZ_CHECK(std::isfinite(periods) && std::isfinite(odd) &&
                   (!basisFinite || (std::isfinite(r.gdDaysinUnitPd) && std::isfinite(r.gdDaysinYr))),
               periods << ", " << odd << ", " << r.gdDaysinUnitPd << ", " << r.gdDaysinYr);
    const bool counted = r.giPymtFreq != kFreqMultiplesOfMonth && r.giPymtFreq >= 1 && r.giPymtFreq <= 6;
    FUZZ_CHECK(refused || !counted || (periods >= 0 && odd >= 0),
               loan.text << " to " << payment.text << ": " << periods << " periods and " << odd << " days");
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
            MeasureStream(r, loan, payment);
        }
    });
    return 0;
}
