#include "dialogs/frmCalendar.h"

#include <QLabel>

using namespace tallex;

namespace {

constexpr DateCalculatorDialog::DateRow kRows[] = {
    {"lblLoanDt", PaymentDateCalendar::kLoanDateLabel, "mskStartDate", "lblLoanWeekDay"},
    {"lblDate2", PaymentDateCalendar::kPaymentDateLabel, "mskEndDate", "lblPymtWeekDay"},
};
static_assert(std::size(kRows) == std::size(PaymentDateCalendar::kFields));

const DateCalculatorDialog::Form kForm{
    .name = "frmCalendar",
    .rows = kRows,
    .weekdayText = "WeekDay",
    .daysNote = "lblDateDiff",
    .daysNoteText = "Number of Days",
    .margin = 12,
    .spacing = 10,
};

}  // namespace

frmCalendar::frmCalendar(LoanRecord& record, const Clock& clock, UserSeam& user, QWidget* parent)
    : DateCalculatorDialogOver(kForm, record, clock, user, parent) {
    // The second date's caption follows the loan kind.
    shows(findChild<QLabel*>(QStringLiteral("lblDate2")), session_.display().lblDate2);
    shows(findChild<QLabel*>(QStringLiteral("lblDateDiff")), session_.display().lblDateDiff);
}
