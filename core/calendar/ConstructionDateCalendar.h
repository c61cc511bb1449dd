#pragma once
// The construction date calculator: for a construction loan whose construction and permanent
// phases are disclosed together, the loan date, the construction period end date and the first
// amortization payment date are turned into whole unit periods and odd days from the loan date
// to that payment, counting half the construction term (12 CFR 226, App. D(b)(2)).
//
// The dialog's behaviour without the dialog, on the same terms as PaymentDateCalendar: the view
// shows display(), reports field leaves and buttons, and follows the Outcome; messages go
// through the UserSeam.

#include "calendar/CalendarDate.h"
#include "engine/LoanRecord.h"
#include "ui/Clock.h"
#include "ui/UserSeam.h"

#include <string>
#include <string_view>

namespace tallex {

class ConstructionDateCalendar {
public:
    enum class Field { kLoanDate, kConstrEndDate, kAmortPymtDate };

    enum class Control {
        kUnchanged,
        mskLoanDate,
        mskConstrEndDate,
        mskAmortPymtDate,
        cmdFedCalOK,
        cmdFedCalCancel,
    };

    struct Display {
        std::string mskLoanDate{kEmptyDateMask};
        std::string mskConstrEndDate{kEmptyDateMask};
        std::string mskAmortPymtDate{kEmptyDateMask};
        std::string lblLoanWeekDay;
        std::string lblConstrEndWeekDay;
        std::string lblAmortPymtWeekDay;
        std::string lblActualDays;  // loan date to amortization payment date
    };

    struct Outcome {
        Control focus = Control::kUnchanged;
        bool close = false;
    };

    static constexpr std::string_view kCaption = "Fed Calendar";
    static constexpr std::string_view kLabel2 = "Enter Dates in MM-DD-YYYY format";
    static constexpr std::string_view kLoanDateLabel = "Loan Date (usually):";
    static constexpr std::string_view kConstrEndLabel = "Construction Period End Date:";
    static constexpr std::string_view kAmortPymtLabel = "Amortization Payment Date:";
    static constexpr std::string_view kFirstLastLabel = "First && Last Dates:";
    static constexpr std::string_view kActualDaysBetweenLabel = "Actual Days Between";
    static constexpr std::string_view kOkCaption = "&OK";
    static constexpr std::string_view kCancelCaption = "&Cancel";
    static constexpr int kWidthTwips = 6555;
    static constexpr int kHeightTwips = 3705;
    static constexpr int kLoanDateHelpTopic = 20;
    static constexpr int kOtherDateHelpTopic = 24;

    // Loading the dialog: gbCalendarCancel = false.
    ConstructionDateCalendar(LoanRecord& record, const Clock& clock);

    // When shown: the remembered loan date and construction period end date (when they are
    // dates), an empty amortization payment date; focus in the loan date when it is empty,
    // else in the construction period end date, the loan date then counting as accepted.
    Outcome activate();

    // As PaymentDateCalendar::leaveField, with each field's own "Enter valid ..." message; the
    // actual days label follows the loan date and the amortization payment date.
    Outcome leaveField(Field field, std::string_view text, UserSeam& user);

    // OK: all three dates, in ascending order (the amortization payment may fall on the
    // construction end), then the frequency's rule (ApplyConstructionSpanRule); accepted
    // results stay in the record, the date-change note may be shown, the three dates are
    // remembered and the dialog closes.
    Outcome ok(UserSeam& user);

    // Cancel: 0 unit periods and 0 odd days, gbCalendarCancel set, the dialog closes.
    Outcome cancel();

    const Display& display() const { return display_; }
    bool accepted(Field field) const { return accepted_[Index(field)]; }
    bool closed() const { return closed_; }

private:
    static std::size_t Index(Field field) { return static_cast<std::size_t>(field); }
    std::string& text(Field field);
    std::string& weekday(Field field);
    Outcome close();

    LoanRecord& record_;
    const Clock& clock_;
    Display display_;
    bool accepted_[3] = {false, false, false};
    bool closed_ = false;
};

}  // namespace tallex
