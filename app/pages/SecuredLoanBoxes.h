#pragma once
// The two check boxes of the loan terms pages (regular and construction): "Loan Secured by Real
// Estate or Dwelling" and, shown only while it is checked, "Loan Date Earlier than 9/30/1995".
// The record's two flags follow them through the core's rule (engine/LoanRecord.h): the date
// counts only for a secured loan. The frame keeps its height when the date box is hidden.

#include <QFrame>

class EntryForm;
class PageHost;
class QCheckBox;

class SecuredLoanBoxes : public QFrame {
public:
    SecuredLoanBoxes(PageHost& host, EntryForm& form, QWidget* page);

    QCheckBox* securedBox() const { return secured_; }
    QCheckBox* dateBox() const { return date_; }

    // The page's first state: secured or not, the date not checked.
    void load(bool secured);
    // Each time the page is shown: the record follows the box, the date box is shown only for a
    // secured loan.
    void activate();
    // Shows the record's flags (an opened case as its replay set them).
    void showRecord();

private:
    PageHost& host_;
    QCheckBox* secured_ = nullptr;
    QCheckBox* date_ = nullptr;
};
