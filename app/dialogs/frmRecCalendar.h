#pragma once
// The construction date calculator ("Fed Calendar"): the three-date form of the date calculator
// dialog (DateCalculatorDialog.h), with the loan date, the construction period end date and the
// first amortization payment date, over calendar/ConstructionDateCalendar.h; the actual days run
// from the loan date to that payment.

#include "dialogs/DateCalculatorDialog.h"

#include "construction/ConstructionDateCalendar.h"

class frmRecCalendar : public DateCalculatorDialogOver<tallex::ConstructionDateCalendar> {
    Q_OBJECT
public:
    frmRecCalendar(tallex::LoanRecord& record, const tallex::Clock& clock, tallex::UserSeam& user,
                   QWidget* parent = nullptr);
};
