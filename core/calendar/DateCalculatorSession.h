#pragma once
// The date calculator ("Fed Calendar") without its dialog, in either of its two forms: the
// payment date calculator (PaymentDateCalendar: the loan date and one more date) and the
// construction date calculator (ConstructionDateCalendar: the loan date, the construction period
// end date and the first amortization payment date).
//
// The view shows display(), passes the text of a date field when the user leaves it, and calls
// ok() / cancel() for the buttons; it then puts the focus where the Outcome says and closes when
// it says so. Messages are shown by the session itself through the UserSeam, before the call
// returns. Results reach the record only through OK (the form's results and the dates) or Cancel
// (zeroes).
//
// This template is what the two forms share: the dialog's fixed texts, the leave of a date field,
// the refusals at OK, and the close by OK or Cancel. A form names its fields, the loan date first
// (Form::Field with kLoanDate), the controls the focus can be sent to (Form::Control with
// kUnchanged) and what the dialog shows (Form::Display with lblActualDays); it says for each field
// where its text and weekday are shown and which box holds it (Form::kFields, in Field order), and
// between which two fields the actual days are shown (Form::kDaysFrom, Form::kDaysTo). The session
// of each form adds its activation and the rules checked at OK.

#include "calendar/CalendarDate.h"
#include "calendar/DateChangeNote.h"
#include "engine/LoanRecord.h"
#include "ui/Clock.h"
#include "ui/UserSeam.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tallex {

// Where a form shows one date field: its text, its weekday, and the box the focus goes to.
template <class Display, class Control>
struct DateFieldPlace {
    std::string Display::*text;
    std::string Display::*weekday;
    Control box;
};

// A date field after the user left it.
struct LeftDateField {
    bool empty = false;                // nothing typed: not checked, no message
    std::optional<CalendarDate> date;  // set when the text is a date
    std::string shown;                 // what the field shows now: the date as "mm-dd-yyyy" or the empty mask
};

// Reads the text through CheckDate (giDateError, giWorkYear) unless it is empty.
LeftDateField ReadLeftDateField(LoanRecord& record, std::string_view text);

// Shows a message through the user seam, keeping the message scratch of the record
// (gsMsgText, giMsgStyle, giMsgResult) as every page does.
short ShowCalendarMessage(LoanRecord& record, UserSeam& user, std::string_view text, short style);

// gsCalendarStamp at close: the clock's reading in milliseconds. The page that opened the
// calendar only compares it with later readings.
std::string CalendarStamp(const Clock& clock);

// Days between two dates as the calculators' "Actual Days Between" label shows them.
std::string ActualDaysLabel(const CalendarDate& from, const CalendarDate& to);

// Fixed texts and geometry of the dialog, the same in both forms.
struct DateCalculatorTexts {
    static constexpr std::string_view kCaption = "Fed Calendar";
    static constexpr std::string_view kLabel2 = "Enter Dates in MM-DD-YYYY format";
    static constexpr std::string_view kLoanDateLabel = "Loan Date (usually):";
    static constexpr std::string_view kConstructionEndLabel = "Construction Period End Date:";
    static constexpr std::string_view kFirstLastLabel = "First && Last Dates:";
    static constexpr std::string_view kActualDaysBetweenLabel = "Actual Days Between";
    static constexpr std::string_view kOkCaption = "&OK";
    static constexpr std::string_view kCancelCaption = "&Cancel";
    static constexpr int kWidthTwips = 6555;
    static constexpr int kHeightTwips = 3705;
    static constexpr int kLoanDateHelpTopic = 20;
    static constexpr int kOtherDateHelpTopic = 24;
};

template <class Form>
class DateCalculatorSession : public DateCalculatorTexts {
public:
    using Field = typename Form::Field;
    using Control = typename Form::Control;  // the controls the focus can be sent to
    using Display = typename Form::Display;  // everything the dialog shows that changes

    // The form's date fields in Field order: where each is shown and which control holds it.
    static constexpr const auto& kFields = Form::kFields;

    struct Outcome {
        Control focus = Control::kUnchanged;  // kUnchanged leaves it where the user put it
        bool close = false;                   // the dialog closes (OK passed, or Cancel)
    };

    // The user leaves a date field holding `text`. A date is rewritten as "mm-dd-yyyy" and its
    // weekday shown; anything else but an empty field shows the field's "Enter valid ..."
    // message, empties the field and keeps the focus there. The actual days label follows the
    // form's two measured fields once both hold accepted dates. Nothing happens while the error
    // screen has been shown (gbErrorShown); after Cancel it cancels.
    Outcome leaveField(Field field, std::string_view text, UserSeam& user);

    // Cancel: 0 unit periods and 0 odd days, gbCalendarCancel set, the dialog closes.
    Outcome cancel();

    const Display& display() const { return display_; }
    bool accepted(Field field) const { return accepted_[Index(field)]; }
    bool closed() const { return closed_; }

protected:
    static constexpr std::string_view kEnterValidLoanDate = "Enter valid loan date in mm-dd-yyyy format.";
    static constexpr std::string_view kEnterValidEndDate =
        "Enter valid construction period end date in mm-dd-yyyy format.";

    // Loading the dialog: gbCalendarCancel = false.
    DateCalculatorSession(LoanRecord& record, const Clock& clock) : record_(record), clock_(clock) {
        record_.gbCalendarCancel = false;
    }
    ~DateCalculatorSession() = default;

    // The field's "Enter valid ..." message.
    virtual std::string_view invalidDateMessage(Field field) const = 0;
    // A field has just been accepted holding `date`; its text and weekday are shown already.
    virtual void dateAccepted(Field, const CalendarDate&) {}

    // The end of activation: the focus goes to the loan date when it is empty, else to the
    // field after it, the loan date then counting as accepted.
    Outcome focusAfterActivation();

    // A refusal at OK: the message, and the focus sent to `focus`.
    Outcome refuse(UserSeam& user, std::string_view message, Control focus);
    // A refusal at OK when a date is missing: the focus goes to the first field not holding one.
    Outcome refuseFirstMissing(UserSeam& user, std::string_view message);
    // A refusal at OK that empties `field` and sends the focus there.
    Outcome refuseAndClear(UserSeam& user, std::string_view message, Field field);

    // OK passed: gbCalendarOK, the date-change note when one is due, and the loan date and the
    // second date remembered (gsLoanDate, gsEndDate). The form then remembers what else it
    // keeps and closes.
    void acceptDates(UserSeam& user, const CalendarDate& loan, const CalendarDate& end);
    Outcome close();

    static std::size_t Index(Field field) { return static_cast<std::size_t>(field); }
    std::string& text(Field field) { return display_.*kFields[Index(field)].text; }
    std::string& weekday(Field field) { return display_.*kFields[Index(field)].weekday; }
    static Control Box(Field field) { return kFields[Index(field)].box; }

    LoanRecord& record_;
    const Clock& clock_;
    Display display_;
    std::array<bool, std::size(kFields)> accepted_{};
    bool closed_ = false;
};

template <class Form>
auto DateCalculatorSession<Form>::leaveField(Field field, std::string_view typed, UserSeam& user) -> Outcome {
    if (closed_ || record_.gbErrorShown) return {};
    if (record_.gbCalendarCancel) return cancel();

    bool& thisAccepted = accepted_[Index(field)];
    thisAccepted = false;
    Outcome outcome;
    const LeftDateField left = ReadLeftDateField(record_, typed);
    text(field) = left.shown;
    if (!left.empty) {
        if (left.date) {
            thisAccepted = true;
            weekday(field) = WeekdayName(*left.date);
            dateAccepted(field, *left.date);
        } else {
            ShowCalendarMessage(record_, user, invalidDateMessage(field), kStyleExclamation);
            text(field) = std::string(kEmptyDateMask);
            weekday(field).clear();
            outcome.focus = Box(field);
        }
    }

    const auto from = ParseDateText(text(Form::kDaysFrom));
    const auto to = ParseDateText(text(Form::kDaysTo));
    if (from && to && accepted(Form::kDaysFrom) && accepted(Form::kDaysTo))
        display_.lblActualDays = ActualDaysLabel(*from, *to);
    return outcome;
}

template <class Form>
auto DateCalculatorSession<Form>::cancel() -> Outcome {
    if (closed_) return {};
    record_.gdCalUnitPeriods = 0;
    record_.gdCalOddDays = 0;
    record_.gbCalendarCancel = true;
    record_.gbCalendarOK = false;
    return close();
}

template <class Form>
auto DateCalculatorSession<Form>::focusAfterActivation() -> Outcome {
    if (IsEmptyDateText(text(Field::kLoanDate))) return {Box(Field::kLoanDate), false};
    accepted_[Index(Field::kLoanDate)] = true;
    return {Box(static_cast<Field>(Index(Field::kLoanDate) + 1)), false};
}

template <class Form>
auto DateCalculatorSession<Form>::refuse(UserSeam& user, std::string_view message, Control focus) -> Outcome {
    ShowCalendarMessage(record_, user, message, kStyleExclamation);
    return {focus, false};
}

template <class Form>
auto DateCalculatorSession<Form>::refuseFirstMissing(UserSeam& user, std::string_view message) -> Outcome {
    Control focus = Control::kUnchanged;
    for (std::size_t i = 0; i < std::size(kFields) && focus == Control::kUnchanged; ++i)
        if (!ParseDateText(text(static_cast<Field>(i)))) focus = Box(static_cast<Field>(i));
    return refuse(user, message, focus);
}

template <class Form>
auto DateCalculatorSession<Form>::refuseAndClear(UserSeam& user, std::string_view message, Field field) -> Outcome {
    ShowCalendarMessage(record_, user, message, kStyleExclamation);
    text(field) = std::string(kEmptyDateMask);
    weekday(field).clear();
    accepted_[Index(field)] = false;
    return {Box(field), false};
}

template <class Form>
void DateCalculatorSession<Form>::acceptDates(UserSeam& user, const CalendarDate& loan, const CalendarDate& end) {
    record_.gbCalendarOK = true;
    record_.gbCalendarCancel = false;
    const std::string note = DateChangeNote(record_, loan, end);
    if (!note.empty()) ShowCalendarMessage(record_, user, note, kStyleInformation);
    record_.gsLoanDate = DateText(loan);
    record_.gsEndDate = DateText(end);
}

template <class Form>
auto DateCalculatorSession<Form>::close() -> Outcome {
    record_.gsCalendarStamp = CalendarStamp(clock_);
    closed_ = true;
    return {Control::kUnchanged, true};
}

}  // namespace tallex
