#include "dialogs/frmRecCalendar.h"

using namespace tallex;

namespace {

constexpr DateCalculatorDialog::DateRow kRows[] = {
    {"lblLoanDt", ConstructionDateCalendar::kLoanDateLabel, "mskLoanDate", "lblLoanWeekDay"},
    {"lblConstrEndDt", ConstructionDateCalendar::kConstrEndLabel, "mskConstrEndDate", "lblConstrEndWeekDay"},
    {"lblAmortPymtDt", ConstructionDateCalendar::kAmortPymtLabel, "mskAmortPymtDate", "lblAmortPymtWeekDay"},
};
static_assert(std::size(kRows) == std::size(ConstructionDateCalendar::kFields));

const DateCalculatorDialog::Form kForm{.name = "frmRecCalendar", .rows = kRows};

}  // namespace

frmRecCalendar::frmRecCalendar(LoanRecord& record, const Clock& clock, UserSeam& user, QWidget* parent)
    : DateCalculatorDialogOver(kForm, record, clock, user, parent) {}
