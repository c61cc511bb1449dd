#pragma once
// The construction interest page (the permanent-phase terms): the estimated construction
// interest, recomputed each time the page opens and kept when the user typed another, the
// disclosed APR and finance charge, and, with permanent financing, the permanent phase's loan
// type and payment frequency as the loan terms page takes them. The rules are the core's
// (construction/ConstPermanentTerms.h, entry/LoanTerms.h).

#include "pages/Page.h"
#include "pages/PageLayout.h"

#include "construction/ConstPermanentTerms.h"
#include "entry/LoanTerms.h"

#include <memory>

namespace tallex::casefile {
struct CaseFile;
}
class EntryForm;
class PaymentChoice;
class QLabel;
class QLineEdit;

class frmConstInterest : public Page {
    Q_OBJECT
public:
    explicit frmConstInterest(PageHost& host, QWidget* parent = nullptr);
    ~frmConstInterest() override;

    // An input of the estimate changed elsewhere: the estimate box is emptied, so that the next
    // activation shows the new estimate.
    void ClearConstInterestAmount();

    // The page's entries as a case file keeps them: the estimate only when the user changed it,
    // the disclosed figures, and the permanent phase's loan type, frequency and unit period.
    void writeCase(tallex::casefile::CaseFile& c) const;
    // Shows an opened case's construction interest entries as its replay took them, with the
    // estimate the replay computed on arriving here; no entry is left pending.
    void showCase(const tallex::casefile::CaseFile& c, const std::string& initialEstimate, bool initialEstimateShown);

protected:
    void onActivate() override;

private:
    // The form's key filter and leave check (EntryForm).
    bool filterKey(int field, int key);
    bool leaveBox(int field);
    tallex::ConstPermanentChoice choice() const;
    void applyLayout(bool emptyUnitPeriod);
    // The user agreed to another loan type or frequency for the permanent phase.
    void choose(tallex::ChoiceGroup group, int index);
    void onCalendar();
    void onContinue();
    void onBack();

    EntryForm* form_ = nullptr;
    // txtAmtInt, txtDiscAPR, txtFinChg, txtUnitPeriod: index = tag.
    QLineEdit* boxes_[4] = {};
    QLabel* lbl_Initial_Value_of_ = nullptr;
    QLabel* lbl_Estimated_Construction_Interest_ = nullptr;
    QLabel* lblAmountIntInitialEstimate_ = nullptr;
    QLabel* lblUseOneHalf_ = nullptr;
    std::unique_ptr<PaymentChoice> payment_;
    page_layout::CommandButtons commands_;
    tallex::EntryBadState entryState_;
};
