#pragma once
// The loan terms page of a regular loan: the disclosed amount financed, APR and finance charge,
// the loan type, the payment frequency and, for some frequencies, the unit period or the term.
// Every decision is the core's (entry/LoanTerms.h); the page moves texts and shows messages.

#include "pages/Page.h"
#include "pages/PageLayout.h"

#include "entry/LoanTerms.h"

namespace tallex::casefile {
struct CaseFile;
}
class EntryForm;
class SecuredLoanBoxes;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class frmAPR1 : public Page {
    Q_OBJECT
public:
    explicit frmAPR1(PageHost& host, QWidget* parent = nullptr);

    // The user picks loan type `index` (0 installment, 1 single advance/single payment): while a
    // schedule was entered this asks first, and Cancel keeps the type chosen before.
    void optLoanType_MouseDown(int index);

    // Shows an opened case's loan terms as its replay took them, with the replay's verdicts on
    // the boxes: nothing is checked again and no entry is left pending.
    void showCase(const tallex::casefile::CaseFile& c, const tallex::LoanTermsState& checked);

protected:
    void onActivate() override;

private:
    QLineEdit* boxOf(tallex::LoanTermsField field) const;
    // The form's key filter and leave check (EntryForm).
    bool filterKey(tallex::LoanTermsField field, int key);
    bool leaveBox(tallex::LoanTermsField field);
    void chooseFrequency(int index);
    void applyLayout();
    void onCalendar();
    void onContinue();
    void onBack();
    tallex::LoanTermsEntries entries() const;

    EntryForm* form_ = nullptr;
    tallex::LoanTermsState state_;
    tallex::LoanTermsChoice choice_;

    QLineEdit* txtAmtFinanced_ = nullptr;
    QLineEdit* txtDiscAPR_ = nullptr;
    QLineEdit* txtDiscFinChg_ = nullptr;
    QLineEdit* txtUnitPeriod_ = nullptr;
    QLabel* lblUnitPeriod_ = nullptr;
    QGroupBox* fraLoanType_ = nullptr;
    QGroupBox* fraPymtFreq_ = nullptr;
    QRadioButton* optLoanType_[2] = {};
    QRadioButton* optPymtFreq_[4] = {};
    SecuredLoanBoxes* securedBoxes_ = nullptr;
    QPushButton* cmdFedCal_ = nullptr;
    page_layout::CommandButtons commands_;
};
