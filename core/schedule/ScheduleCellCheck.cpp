#include "schedule/ScheduleCellCheck.h"

#include "engine/Currency.h"
#include "engine/Format.h"
#include "engine/NumberText.h"
#include "engine/RuntimeError.h"
#include "schedule/ScheduleColumns.h"
#include "schedule/ScheduleRefusal.h"

#include <optional>

namespace tallex {

namespace {

// A whole number as typed: blanks around it, an optional sign, digits and nothing else.
bool IsPlainInteger(std::string_view text) {
    std::size_t b = 0, e = text.size();
    while (b < e && text[b] == ' ') ++b;
    while (e > b && text[e - 1] == ' ') --e;
    if (b < e && (text[b] == '+' || text[b] == '-')) ++b;
    if (b == e) return false;
    for (std::size_t i = b; i < e; ++i)
        if (text[i] < '0' || text[i] > '9') return false;
    return true;
}

// The leading number of a cell; a number beyond the double range is no reading at all.
std::optional<double> ReadCell(std::string_view text) {
    try {
        return Val(text);
    } catch (const RuntimeError&) {
        return std::nullopt;
    }
}

// The amount a typed text stands for, when it is one the schedule can hold as Currency.
std::optional<double> ReadAmount(std::string_view text) {
    try {
        const std::optional<double> value = NumericTextValue(text);
        if (value) (void)Currency::FromDouble(*value);
        return value;
    } catch (const RuntimeError&) {
        return std::nullopt;
    }
}

class CellCheck {
public:
    CellCheck(LoanRecord& record, UserSeam& user, ScheduleOddDaysQuietPeriod& quiet, int stream, std::string_view text,
              CellText shown)
        : r_(record), user_(user), quiet_(quiet), stream_(stream), shown_(shown) {
        out_.text = std::string(text);
        out_.cellValue = out_.text;
    }

    ScheduleCellResult Amount() {
        const std::optional<double> typed = ReadAmount(out_.text);
        if (!typed) return Refuse("Enter a payment amount using the following format: #,###.##");
        // The grid keeps whole cents: the text as the format shows it, the number read back.
        // That text without its "$" and "," is what the "Fixed" format shows, so the number is
        // the Fixed round trip, which skips the text for an amount already in whole cents.
        if (shown_ == CellText::Shown) out_.text = Format(*typed, "$#,##0.00");
        const double amount = FixedRoundTrip(*typed);
        out_.cellValue = ShortestNumber(amount);
        if (r_.gbSingleAdvance && amount <= 0) return Refuse("Enter a payment amount that is more than 0.");
        return Done();
    }

    ScheduleCellResult NumberOfPayments() {
        r_.gbIntegerEntry = true;
        constexpr std::string_view kInteger = "For number of payments, enter a valid integer.";
        constexpr std::string_view kAboveZero = "For number of payments, enter a number greater than 0.";
        if (out_.text.empty()) return Refuse(kInteger);
        const std::optional<double> count = ReadCell(out_.text);
        if (count && *count == 0) return Refuse(kAboveZero);
        r_.giNumCheck = NumericTextCheck(out_.text, r_.gbIntegerEntry);
        if (r_.giNumCheck == kHasDecimalPoint) return Refuse(kInteger);
        if (!count || !IsPlainInteger(out_.text)) return Refuse(kInteger);
        if (*count < 0) return Refuse(kAboveZero);
        out_.fills = ScheduleFillDefaults(r_, stream_);
        out_.refreshGrid = true;
        return Done();
    }

    ScheduleCellResult UnitPeriods() {
        const std::optional<double> periods = WholeNumber("Enter a valid integer for unit periods.");
        if (!periods) return Done();
        if (r_.giPymtFreq == kFreqActualDaysSingle) {
            if (*periods < 1) return Refuse("Unit periods must be greater than 0.");
            if (r_.gdDaysinUnitPd < 365 && *periods != 1)
                return Refuse("When days in unit period are less than 365, unit periods must be 1.");
        }
        return Done();
    }

    ScheduleCellResult OddDays() {
        const std::optional<double> days = WholeNumber("Enter a valid integer for odd days.");
        if (!days) return Done();
        const bool installment = r_.giPymtFreq >= kFreqMonthly && r_.giPymtFreq <= kFreqActualDaysInstallment;
        if (installment && *days > r_.gdDaysinUnitPd) {
            out_.cancel = true;
            // The grid asks again while the cursor is held in the cell: say it once.
            if (quiet_.running()) return Done();
            quiet_.start();
            return Refuse("Odd days must be less than or equal to days in unit period [" +
                          ShortestNumber(r_.gdDaysinUnitPd) + "] or 0.");
        }
        if (r_.giPymtFreq == kFreqActualDaysSingle) {
            if (*days > 364) return Refuse("Odd days must be less than 365.");
            if (r_.gdDaysinUnitPd < 365 && *days != 0 && r_.gbAppendixJ)
                return Refuse("When days in unit period are less than 365, odd days must be 0.");
        }
        return Done();
    }

private:
    // Unit periods and odd days: an empty cell reads 0; anything but a whole number of at
    // least 0 is refused with the column's message (and nullopt is returned).
    std::optional<double> WholeNumber(std::string_view message) {
        r_.gbIntegerEntry = true;
        const std::string_view examined = out_.text.empty() ? std::string_view("0") : std::string_view(out_.text);
        r_.giNumCheck = NumericTextCheck(examined, r_.gbIntegerEntry);
        const std::optional<double> value = ReadCell(examined);
        if (r_.giNumCheck != kNumericOk || !IsPlainInteger(examined) || !value || *value < 0) {
            Mark(message);
            return std::nullopt;
        }
        return value;
    }

    // The check runs once: its result is handed over, not copied.
    ScheduleCellResult Done() { return std::move(out_); }

    void Mark(std::string_view message) {
        out_.message = message;
        ShowScheduleRefusal(r_, user_, out_.message);
        out_.cancel = true;
    }

    ScheduleCellResult Refuse(std::string_view message) {
        Mark(message);
        return Done();
    }

    LoanRecord& r_;
    UserSeam& user_;
    ScheduleOddDaysQuietPeriod& quiet_;
    int stream_;
    CellText shown_;
    ScheduleCellResult out_;
};

}  // namespace

ScheduleCellResult ScheduleCellCheck(LoanRecord& record, UserSeam& user, ScheduleOddDaysQuietPeriod& oddDaysQuiet,
                                     int stream, int column, std::string_view text, CellText shown) {
    const auto untouched = [text] {
        ScheduleCellResult result;
        result.text = std::string(text);
        result.cellValue = result.text;
        return result;
    };
    if (column < kColAmount || column > kColOddDays) return untouched();
    if (stream < 1 || stream > kMaxStreams) Raise(RuntimeErrorCode::SubscriptOutOfRange);
    // A row that is still blank is being passed through, not filled in.
    if (record.gaPymtAmt[stream].empty() && text.empty()) return untouched();
    record.gbIntegerEntry = false;
    CellCheck check(record, user, oddDaysQuiet, stream, text, shown);
    switch (column) {
    case kColAmount: return check.Amount();
    case kColNumPayments: return check.NumberOfPayments();
    case kColUnitPeriods: return check.UnitPeriods();
    default: return check.OddDays();
    }
}

}  // namespace tallex
