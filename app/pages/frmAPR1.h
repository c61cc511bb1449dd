#pragma once
// The loan terms page of a regular loan: the disclosed amount financed, APR and finance charge,
// the loan type, the payment frequency and, for some frequencies, the unit period or the term.
// Every decision is the core's (entry/LoanTerms.h); the page moves texts and shows messages.

#include "pages/Page.h"
#include "pages/PageLayout.h"

#include "entry/LoanTerms.h"

#include <memory>

namespace tallex::casefile {
struct CaseFile;
}
class EntryForm;
class PaymentChoice;
class SecuredLoanBoxes;
class QLineEdit;

class frmAPR1 : public Page {
    Q_OBJECT
public:
    explicit frmAPR1(PageHost& host, QWidget* parent = nullptr);
    ~frmAPR1() override;

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
    // The user agreed to another loan type or frequency.
    void choose(tallex::ChoiceGroup group, int index);
    void applyLayout();
    void onCalendar();
    void onContinue();
    void onBack();
    tallex::LoanTermsEntries entries() const;

    EntryForm* form_ = nullptr;
    tallex::LoanTermsState state_;

    QLineEdit* txtAmtFinanced_ = nullptr;
    QLineEdit* txtDiscAPR_ = nullptr;
    QLineEdit* txtDiscFinChg_ = nullptr;
    QLineEdit* txtUnitPeriod_ = nullptr;
    std::unique_ptr<PaymentChoice> payment_;
    SecuredLoanBoxes* securedBoxes_ = nullptr;
    page_layout::CommandButtons commands_;
};
