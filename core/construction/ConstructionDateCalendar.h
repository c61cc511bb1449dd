#pragma once
// The construction date calculator: for a construction loan whose construction and permanent
// phases are disclosed together, the loan date, the construction period end date and the first
// amortization payment date are turned into whole unit periods and odd days from the loan date
// to that payment, counting half the construction term (12 CFR 226, App. D(b)(2)).
//
// The three-date form of the date calculator (calendar/DateCalculatorSession.h, which says how
// the dialog drives it); each field has its own "Enter valid ..." message, and the actual days
// label follows the loan date and the amortization payment date.

#include "calendar/DateCalculatorSession.h"

#include <string>
#include <string_view>

namespace tallex {

struct ConstructionDateForm {
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

    static constexpr DateFieldPlace<Display, Control> kFields[] = {
        {&Display::mskLoanDate, &Display::lblLoanWeekDay, Control::mskLoanDate},
        {&Display::mskConstrEndDate, &Display::lblConstrEndWeekDay, Control::mskConstrEndDate},
        {&Display::mskAmortPymtDate, &Display::lblAmortPymtWeekDay, Control::mskAmortPymtDate},
    };
    static constexpr Field kDaysFrom = Field::kLoanDate;
    static constexpr Field kDaysTo = Field::kAmortPymtDate;
};

class ConstructionDateCalendar final : public DateCalculatorSession<ConstructionDateForm> {
public:
    static constexpr std::string_view kConstrEndLabel = kConstructionEndLabel;
    static constexpr std::string_view kAmortPymtLabel = "Amortization Payment Date:";

    // Loading the dialog: gbCalendarCancel = false.
    ConstructionDateCalendar(LoanRecord& record, const Clock& clock) : DateCalculatorSession(record, clock) {}

    // When shown: the remembered loan date and construction period end date (when they are
    // dates), an empty amortization payment date; focus in the loan date when it is empty,
    // else in the construction period end date, the loan date then counting as accepted.
    Outcome activate();

    // OK: all three dates, in ascending order (the amortization payment may fall on the
    // construction end), then the frequency's rule (ApplyConstructionSpanRule); accepted
    // results stay in the record, the date-change note may be shown, the three dates are
    // remembered and the dialog closes.
    Outcome ok(UserSeam& user);

private:
    std::string_view invalidDateMessage(Field field) const override;
};

}  // namespace tallex
