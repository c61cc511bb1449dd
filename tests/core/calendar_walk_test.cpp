// Walks every third loan date of 1990-2040 with payment dates 0 to 800 days later and checks the
// calendar rules against plain calendar arithmetic (std::chrono):
//  - actual days (installment): unit periods x U + odd days = the actual days, odd days < U;
//  - monthly: odd days in 0..30, and the loan date plus the odd days plus the whole months as
//    calendar months reaches the payment date (month end to month end where the count goes
//    back from a month end).
// Two kinds of dates are known to differ from the calendar and the counting rule wins:
//  - a January loan date counted forward into a day February lacks (01-31 to 03-30: the
//    counted date 02-30 is taken as day 61, giving 30 odd days);
//  - a February loan date with a payment on the 29th or 30th of a month, counted back to the
//    last day of February (02-10 to 04-29: 2 months and 18 days).

#include "calendar/FrequencyRules.h"
#include "engine/LoanRecord.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>

namespace tallex {
namespace {

namespace chr = std::chrono;

// Every third loan date: each day of the month and of the week still comes round. Under the
// address sanitizer every fifth, a prime too.
#if defined(__SANITIZE_ADDRESS__)
constexpr int kLoanDateStride = 5;
#else
constexpr int kLoanDateStride = 3;
#endif

CalendarDate ToDate(chr::sys_days day) {
    const chr::year_month_day ymd{day};
    return {static_cast<int>(ymd.year()), static_cast<int>(static_cast<unsigned>(ymd.month())),
            static_cast<int>(static_cast<unsigned>(ymd.day()))};
}

bool IsMonthEnd(const chr::year_month_day& d) {
    return d.day() == chr::year_month_day_last{d.year(), chr::month_day_last{d.month()}}.day();
}

// Adds calendar months; a day the target month lacks becomes its last day.
chr::year_month_day AddMonths(const chr::year_month_day& d, int months) {
    const chr::year_month ym = chr::year_month{d.year(), d.month()} + chr::months{months};
    const chr::year_month_day candidate{ym.year(), ym.month(), d.day()};
    if (candidate.ok()) return candidate;
    return chr::year_month_day{chr::year_month_day_last{ym.year(), chr::month_day_last{ym.month()}}};
}

unsigned FebruaryDays(chr::year y) { return y.is_leap() ? 29u : 28u; }

enum class Known { kNone, kCountedIntoShortFebruary, kFebruaryLoanDayBeyondFebruary };

Known KnownDifference(const chr::year_month_day& loan, const chr::year_month_day& pay) {
    if (IsMonthEnd(pay)) return Known::kNone;
    const unsigned payDay = static_cast<unsigned>(pay.day());
    if (loan.month() == chr::January && payDay < static_cast<unsigned>(loan.day()) &&
        payDay > FebruaryDays(loan.year()))
        return Known::kCountedIntoShortFebruary;
    if (loan.month() == chr::February && payDay > FebruaryDays(loan.year()))
        return Known::kFebruaryLoanDayBeyondFebruary;
    return Known::kNone;
}

std::string Text(const chr::year_month_day& d) { return DateText(ToDate(chr::sys_days{d})); }

TEST(calendar_walk, actual_days_and_monthly_agree_with_the_calendar) {
    const chr::sys_days first{chr::year{1990} / chr::January / 1}, last{chr::year{2040} / chr::December / 31};
    auto r = std::make_unique<LoanRecord>();
    r->gbAppendixJ = true;
    long long failures = 0, known[3] = {0, 0, 0};

    for (chr::sys_days loanDay = first; loanDay <= last; loanDay += chr::days{kLoanDateStride}) {
        const CalendarDate loan = ToDate(loanDay);
        for (int offset = 0; offset <= 800; ++offset) {
            const chr::sys_days payDay = loanDay + chr::days{offset};
            const CalendarDate pay = ToDate(payDay);

            r->giPymtFreq = kFreqActualDaysInstallment;
            r->gdCalActualDays = offset;
            for (double u : {7.0, 14.0, 30.0, 91.0}) {
                r->gdDaysinUnitPd = u;
                ApplyFrequencyRule(*r, loan, pay);
                if ((r->gdCalUnitPeriods * u + r->gdCalOddDays != offset || r->gdCalOddDays < 0 ||
                     r->gdCalOddDays >= u) &&
                    ++failures <= 20)
                    ADD_FAILURE() << "actual days " << DateText(loan) << " to " << DateText(pay) << ", U " << u << ": "
                                  << r->gdCalUnitPeriods << " periods, " << r->gdCalOddDays << " odd days";
            }

            r->giPymtFreq = kFreqMonthly;
            ApplyFrequencyRule(*r, loan, pay);
            const int months = static_cast<int>(r->gdCalUnitPeriods), odd = static_cast<int>(r->gdCalOddDays);
            const chr::year_month_day payYmd{payDay}, start{loanDay + chr::days{odd}};
            const chr::year_month_day reached = AddMonths(start, months);
            const bool monthEnds = IsMonthEnd(payYmd) && IsMonthEnd(start) && reached.year() == payYmd.year() &&
                                   reached.month() == payYmd.month();
            const bool inRange = odd >= 0 && odd <= 30 && r->gdCalOddDays == odd && months >= 0;
            if (inRange && (reached == payYmd || monthEnds)) continue;
            const auto why = static_cast<std::size_t>(KnownDifference(chr::year_month_day{loanDay}, payYmd));
            if (inRange && why != 0)
                ++known[why];
            else if (++failures <= 20)
                ADD_FAILURE() << "monthly " << DateText(loan) << " to " << DateText(pay) << ": " << months
                              << " months, " << r->gdCalOddDays << " odd days; the calendar reaches " << Text(reached);
        }
    }
    EXPECT_EQ(failures, 0);
    // Both kinds must occur, or the walk missed the dates the rules treat apart.
    EXPECT_GT(known[1], 0);
    EXPECT_GT(known[2], 0);
}

}  // namespace
}  // namespace tallex
