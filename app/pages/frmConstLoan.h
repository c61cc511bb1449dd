#pragma once
// The construction loan terms page: the commitment, the annual simple interest rate, the
// prepaid and the subsequently paid finance charges, how the construction financing is
// disclosed and on what balance construction interest is payable. The rules are the core's
// (construction/ConstLoanTerms.h); the choices live in the record, where the later
// construction pages read them.

#include "pages/Page.h"
#include "pages/PageLayout.h"

namespace tallex::casefile {
struct CaseFile;
}
class EntryForm;
class SecuredLoanBoxes;
class QLineEdit;
class QPushButton;
class QRadioButton;

class frmConstLoan : public Page {
    Q_OBJECT
public:
    explicit frmConstLoan(PageHost& host, QWidget* parent = nullptr);

    // The user presses disclosure option `index` (0 construction separately, 1 with permanent
    // financing): with a schedule entered this asks first, and Cancel keeps the option chosen
    // before.
    void optDiscType_MouseDown(int index);

    // The page's entries as a case file keeps them: the figures as typed without "$" and
    // thousands separators, the two choices and the two check boxes.
    void writeCase(tallex::casefile::CaseFile& c) const;
    // Shows an opened case's construction terms as its replay took them; the choices are the
    // record's.
    void showCase(const tallex::casefile::CaseFile& c);

protected:
    void onActivate() override;

private:
    // The form's key filter and leave check (EntryForm).
    bool filterKey(int field, int key);
    void leaveBox(int field);
    void chooseInterestType(int index);
    void onContinue();
    void onBack();

    EntryForm* form_ = nullptr;
    // txtLoanAmt, txtSimpleInt, txtPrepdFinChg, txtSubFinChg: index = tag.
    QLineEdit* boxes_[4] = {};
    QRadioButton* optDiscType_[2] = {};
    QRadioButton* optInterestType_[2] = {};
    SecuredLoanBoxes* securedBoxes_ = nullptr;
    page_layout::CommandButtons commands_;
};
