#pragma once
// The identifying information page: preparer, date, account, borrower, lender, original
// creditor, and the choice between a regular and a construction loan. It remembers the three
// names, the window state and the loan kind in the settings file.

#include "pages/Page.h"
#include "pages/PageLayout.h"

#include "report/ReportText.h"
#include "shell/StartupSettings.h"

namespace tallex::casefile {
struct CaseFile;
}
class EntryForm;
class QLineEdit;
class QPushButton;
class QRadioButton;

class frmBasicInfo : public Page {
    Q_OBJECT
public:
    frmBasicInfo(PageHost& host, const tallex::RememberedEntries& remembered, QWidget* parent = nullptr);

    bool newLoanAllowed() const override;

    // What the settings file keeps of this page (the window state is the window's).
    tallex::RememberedEntries rememberedEntries() const;
    // The identifying texts the report prints.
    tallex::ReportIdentity identity() const;
    // The page's part of New Loan: borrower and account emptied, New Loan disabled, the focus in
    // the first empty box.
    void afterNewLoan();
    // Shows an opened case's identifying texts and loan kind as its replay took them (a case
    // without a date keeps the page's own).
    void showCase(const tallex::casefile::CaseFile& c);

protected:
    void onActivate() override;

private:
    void focusFirstEmpty();
    // The form's leave check (EntryForm): false when the date is refused.
    bool leaveBox(QLineEdit* box);
    void chooseLoanKind(bool construction);
    void onContinue();
    bool constructionSelected() const;

    EntryForm* form_ = nullptr;
    QLineEdit* txtUserName_ = nullptr;
    QLineEdit* txtAcctDate_ = nullptr;
    QLineEdit* txtAccountNbr_ = nullptr;
    QLineEdit* txtBorrower_ = nullptr;
    QLineEdit* txtLender_ = nullptr;
    QLineEdit* txtCreditor_ = nullptr;
    QRadioButton* optType_[2] = {nullptr, nullptr};
    page_layout::CommandButtons commands_;
    bool construction_ = false;  // the loan kind now chosen
};
