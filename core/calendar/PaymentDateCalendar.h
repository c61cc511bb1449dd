#pragma once
// The payment date calculator: a loan date and a second date (a payment or advance date of a
// regular loan, the construction period end date of a construction loan) turned into whole
// unit periods and odd days for the loan's payment frequency (12 CFR 226, App. J(b)).
//
// This is the dialog's whole behaviour without the dialog: the view shows display(), passes
// the text of a date field when the user leaves it, and calls ok() / cancel() for the buttons;
// it then puts the focus where the Outcome says and closes when it says so. Messages are
// shown by the session itself through the UserSeam, before the call returns. Results reach the
// record only through OK (unit periods, odd days, basis, the dates) or Cancel (zeroes).

#include "calendar/CalendarDate.h"
#include "engine/LoanRecord.h"
#include "ui/Clock.h"
#include "ui/UserSeam.h"

#include <optional>
#include <string>
#include <string_view>

namespace tallex {

class PaymentDateCalendar {
public:
    enum class Field { kLoanDate, kEndDate };

    // The controls the focus can be sent to; kUnchanged leaves it where the user put it.
    enum class Control { kUnchanged, mskStartDate, mskEndDate, cmdFedCalOK, cmdFedCalCancel };

    // Everything the dialog shows that changes.
    struct Display {
        std::string lblDate2;
        std::string mskStartDate{kEmptyDateMask};
        std::string mskEndDate{kEmptyDateMask};
        std::string lblLoanWeekDay = "WeekDay";
        std::string lblPymtWeekDay = "WeekDay";
        std::string lblActualDays;
        std::string lblDateDiff = "Number of Days";
    };

    struct Outcome {
        Control focus = Control::kUnchanged;
        bool close = false;  // the dialog closes (OK passed, or Cancel)
    };

    // Fixed texts and geometry of the dialog.
    static constexpr std::string_view kCaption = "Fed Calendar";
    static constexpr std::string_view kLabel2 = "Enter Dates in MM-DD-YYYY format";
    static constexpr std::string_view kLoanDateLabel = "Loan Date (usually):";
    static constexpr std::string_view kFirstLastLabel = "First && Last Dates:";
    static constexpr std::string_view kActualDaysBetweenLabel = "Actual Days Between";
    static constexpr std::string_view kOkCaption = "&OK";
    static constexpr std::string_view kCancelCaption = "&Cancel";
    static constexpr std::string_view kPaymentDateLabel = "Payment/Advance Date:";
    static constexpr std::string_view kConstructionEndLabel = "Construction Period End Date:";
    static constexpr int kWidthTwips = 6555;
    static constexpr int kHeightTwips = 3705;
    static constexpr int kLoanDateHelpTopic = 20;
    static constexpr int kEndDateHelpTopic = 24;

    // Loading the dialog: gbCalendarCancel = false.
    PaymentDateCalendar(LoanRecord& record, const Clock& clock);

    // When the dialog is shown: marks the schedule as filled from a calendar, sets the second
    // date's caption by the loan kind, shows the remembered loan date (and, for a construction
    // loan, the remembered end date) and puts the focus in the loan date when it is empty,
    // else in the second date, the loan date then counting as accepted.
    Outcome activate();

    // The user leaves a date field holding `text`. A date is rewritten as "mm-dd-yyyy" and its
    // weekday shown; anything else but an empty field shows the field's "Enter valid ..."
    // message, empties the field and keeps the focus there. Nothing happens while the error
    // screen has been shown (gbErrorShown); after Cancel it cancels.
    Outcome leaveField(Field field, std::string_view text, UserSeam& user);

    // OK: the refusals in order (both dates, not before the loan date, a construction phase of
    // whole months, the frequency's rules, a separately disclosed construction phase in actual
    // days), then the results stay in the record, the date-change note may be shown, the dates
    // are remembered and the dialog closes.
    Outcome ok(UserSeam& user);

    // Cancel: 0 unit periods and 0 odd days, gbCalendarCancel set, the dialog closes.
    Outcome cancel();

    // Whether the two dates now entered span whole months (false unless both are dates).
    bool MultipleOfMonth() const;

    const Display& display() const { return display_; }
    bool accepted(Field field) const { return field == Field::kLoanDate ? loanAccepted_ : endAccepted_; }
    bool closed() const { return closed_; }

private:
    std::string& text(Field field);
    std::string& weekday(Field field);
    void computeActualDays(const CalendarDate& loan, const CalendarDate& end);
    Outcome refuse(UserSeam& user, std::string_view message, Control focus);
    Outcome refuseAndClearEndDate(UserSeam& user, std::string_view message);
    Outcome close();

    LoanRecord& record_;
    const Clock& clock_;
    Display display_;
    bool loanAccepted_ = false;
    bool endAccepted_ = false;
    bool closed_ = false;
};

}  // namespace tallex
