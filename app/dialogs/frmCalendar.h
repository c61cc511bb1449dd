#pragma once
// The payment date calculator ("Fed Calendar"): the two-date form of the date calculator dialog
// (DateCalculatorDialog.h), with the loan date and a payment (or advance) date, or for a
// construction loan the construction period end date, over calendar/PaymentDateCalendar.h.

#include "dialogs/DateCalculatorDialog.h"

#include "calendar/PaymentDateCalendar.h"

class frmCalendar : public DateCalculatorDialogOver<tallex::PaymentDateCalendar> {
    Q_OBJECT
public:
    frmCalendar(tallex::LoanRecord& record, const tallex::Clock& clock, tallex::UserSeam& user,
                QWidget* parent = nullptr);
};
