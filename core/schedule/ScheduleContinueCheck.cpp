#include "schedule/ScheduleContinueCheck.h"

#include "engine/CheckedMath.h"
#include "engine/Currency.h"
#include "engine/Format.h"
#include "engine/NumberText.h"
#include "engine/RuntimeError.h"
#include "schedule/ScheduleColumns.h"
#include "schedule/ScheduleRefusal.h"

#include <cmath>

namespace tallex {

namespace {

using checked::Add;
using checked::Mul;

bool MoneyGreater(double a, double b) { return Currency::FromDouble(a).ticks() > Currency::FromDouble(b).ticks(); }

std::string ConstructionNote(const LoanRecord& r) {
    const bool subsequent = r.gdSubseqFinChg > 0;
    const bool interest = r.gdEstConstInterest > 0;
    if (!subsequent && !interest) return "";
    std::string note = r.gsCrLf + r.gsCrLf + "(Note that the sum of the payments does not include";
    if (subsequent && interest)
        note += " estimated construction interest or the subsequently paid finance charge.)";
    else if (subsequent)
        note += " the subsequently paid finance charge.)";
    else
        note += " estimated construction interest.)";
    return note;
}

}  // namespace

ScheduleContinueResult ScheduleContinueCheck(LoanRecord& r, UserSeam& user, int rowCount, int currentStream) {
    if (rowCount < 1 || rowCount > kMaxStreams || currentStream < 1 || currentStream > kMaxStreams)
        Raise(RuntimeErrorCode::SubscriptOutOfRange);

    ScheduleContinueResult result;
    auto fault = [&](const std::string& message, int column, int stream = 0) {
        ShowScheduleRefusal(r, user, message);
        result.passed = false;
        result.message = message;
        result.column = column;
        result.stream = stream;
        return result;
    };

    // NOTE: the order of the checks is the order in which the user is asked to complete things.
    const bool periodsFromCalendar = r.dMonths == 12 && r.giPymtFreq == kFreqMultiplesOfMonth;
    const std::string calendarMessage =
        "Before going to next screen you must enter dates in calendar in order to calculate unit periods and odd "
        "days. ";

    if (r.gaPymtAmt[1].empty())
        return fault("Enter payment amount and number of payments before going to next screen.", kColAmount);

    const int s = currentStream;
    if (!r.gaPymtAmt[s].empty()) {
        if (r.gaNumPymts[s].empty())
            return fault("Enter number of payments before going to next screen.", kColNumPayments);
        if (r.gaUnitPeriods[s].empty())
            return fault(periodsFromCalendar ? calendarMessage : "Enter the unit periods before going to next screen.",
                         kColUnitPeriods);
        if (r.gaOddDays[s].empty())
            return fault(periodsFromCalendar ? calendarMessage : "Enter the odd days before going to next screen.",
                         kColOddDays);
    }

    if (!periodsFromCalendar) {
        if (r.gaUnitPeriods[1].empty()) return fault("Enter the number of unit periods.", kColUnitPeriods);
        if (r.gaOddDays[1].empty()) return fault("Enter the number of odd days.", kColOddDays);
    }

    double payments = 0;
    double advances = 0;
    for (int k = 1; k <= rowCount; ++k) {
        const double amount = Val(r.gaPymtAmt[k]);
        const double count = Val(r.gaNumPymts[k]);
        if (amount > 0) payments = Add(payments, Mul(amount, count));
        if (amount < 0) {
            advances = Add(advances, Mul(std::fabs(amount), count));
            if (count == 1 && Val(r.gaUnitPeriods[k]) == 0 && Val(r.gaOddDays[k]) == 0)
                return fault("Payment stream #" + std::to_string(k) +
                                 " cannot contain a negative payment amount if the number of negative payments is one"
                                 " and unit periods and odd days both equal zero."
                                 "This advance should be treated as part of the amount financed and not as a"
                                 " negative payment.",
                             0, k);
        }
    }

    if (r.gbAppendixJ) {
        const double owed = Add(r.gdAmount, advances);
        if (MoneyGreater(owed, payments))
            return fault("Total of payments [" + Format(payments, "Currency") +
                             "] must not be less than amount financed [" + Format(owed, "Currency") + "].",
                         kColAmount);
    } else {
        const double lent = Add(std::fabs(advances), r.gdCommitmentAmt);
        if (MoneyGreater(lent, payments))
            return fault("The sum of the payments [" + Format(payments, "Currency") +
                             "] must not be less than the sum of the advances [" + Format(lent, "Currency") + "]." +
                             ConstructionNote(r),
                         kColNumPayments);
    }
    return result;
}

}  // namespace tallex
