#pragma once
// The payment date calculator: a loan date and a second date (a payment or advance date of a
// regular loan, the construction period end date of a construction loan) turned into whole
// unit periods and odd days for the loan's payment frequency (12 CFR 226, App. J(b)).
//
// The two-date form of the date calculator (calendar/DateCalculatorSession.h, which says how the
// dialog drives it). Results reach the record only through OK (unit periods, odd days, basis, the
// dates) or Cancel (zeroes).

#include "calendar/DateCalculatorSession.h"

#include <string>
#include <string_view>

namespace tallex {

struct PaymentDateForm {
    enum class Field { kLoanDate, kEndDate };

    enum class Control { kUnchanged, mskStartDate, mskEndDate, cmdFedCalOK, cmdFedCalCancel };

    struct Display {
        std::string lblDate2;
        std::string mskStartDate{kEmptyDateMask};
        std::string mskEndDate{kEmptyDateMask};
        std::string lblLoanWeekDay = "WeekDay";
        std::string lblPymtWeekDay = "WeekDay";
        std::string lblActualDays;
        std::string lblDateDiff = "Number of Days";
    };

    static constexpr DateFieldPlace<Display, Control> kFields[] = {
        {&Display::mskStartDate, &Display::lblLoanWeekDay, Control::mskStartDate},
        {&Display::mskEndDate, &Display::lblPymtWeekDay, Control::mskEndDate},
    };
    static constexpr Field kDaysFrom = Field::kLoanDate;
    static constexpr Field kDaysTo = Field::kEndDate;
};

class PaymentDateCalendar final : public DateCalculatorSession<PaymentDateForm> {
public:
    static constexpr std::string_view kPaymentDateLabel = "Payment/Advance Date:";
    static constexpr int kEndDateHelpTopic = kOtherDateHelpTopic;

    // Loading the dialog: gbCalendarCancel = false.
    PaymentDateCalendar(LoanRecord& record, const Clock& clock) : DateCalculatorSession(record, clock) {}

    // When the dialog is shown: marks the schedule as filled from a calendar, sets the second
    // date's caption by the loan kind, shows the remembered loan date (and, for a construction
    // loan, the remembered end date) and puts the focus in the loan date when it is empty,
    // else in the second date, the loan date then counting as accepted.
    Outcome activate();

    // OK: the refusals in order (both dates, not before the loan date, a construction phase of
    // whole months, the frequency's rules, a separately disclosed construction phase in actual
    // days), then the results stay in the record, the date-change note may be shown, the dates
    // are remembered and the dialog closes.
    Outcome ok(UserSeam& user);

    // Whether the two dates now entered span whole months (false unless both are dates).
    bool MultipleOfMonth() const;

private:
    // The payment or advance date of a regular loan, else the construction period end date.
    std::string_view invalidDateMessage(Field field) const override;
    // With both dates entered, the days (or, for a construction phase in whole months, the
    // months) between them are kept in gdCalActualDays.
    void dateAccepted(Field field, const CalendarDate& date) override;
    void computeActualDays(const CalendarDate& loan, const CalendarDate& end);
};

}  // namespace tallex
