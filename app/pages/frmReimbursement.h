#pragma once
// The reimbursement page: the adjustment owed to the borrower by the APR method (adjusted APR,
// prorate factor, APR adjustment as of the final payment date, the adjusted payment of every
// stream and, once the number of payments already made is given, the lump sums) and by the
// finance-charge method. The figures are computed when the results page's "Reimbursement" is
// pressed; this page shows what the core's ReimbursementActivation and ShowAdjustments return.
// Back returns to the results page the loan came from (the construction results for a
// construction-only loan) without anything there being computed or asked again.

#include "pages/Page.h"
#include "pages/PageLayout.h"
#include "pages/ReportPage.h"

#include "compliance/ReimbursementScreen.h"

#include <optional>

class EntryForm;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;
class ResultGrid;

class frmReimbursement : public Page, public ReportPage {
    Q_OBJECT
public:
    explicit frmReimbursement(PageHost& host, QWidget* parent = nullptr);

    // ReportPage
    bool reportAllowed() const override;
    void printReport() override;
    void saveReport() override;

    ResultGrid* grid() const { return SSDBGridRB_; }
    // The number of prior payments of the last accepted Show Adjustments.
    std::optional<int> acceptedPriorPayments() const { return acceptedPrior_; }
    // The results page that Back returns to, by the loan in the record.
    static PageId BackTarget(const tallex::LoanRecord& record);

protected:
    void onActivate() override;

private:
    void showScreen(const tallex::ReimbursementScreen& screen);
    void setPrintable(bool printable);
    void onShowAdjustments();
    void onBack();
    int gridRowCount() const;

    std::optional<int> acceptedPrior_;
    QLabel* lblCaption_ = nullptr;
    // The APR method: adjusted APR, prorate factor, and the adjustment as of the final payment.
    QWidget* fraAPRMethod_ = nullptr;
    QLabel* lblAdjAPR2_ = nullptr;
    QLabel* lblProFactor2_ = nullptr;
    QLabel* lblFinalAPRAdj_ = nullptr;
    QLabel* lblFinalAPRAdj2_ = nullptr;
    // The adjustments given as one amount, each with the APR it uses.
    QWidget* fraAPRAdj_ = nullptr;
    QLabel* lblPercentAPR_ = nullptr;
    QLabel* lblAPRAdj2_ = nullptr;
    QWidget* fraFnceChgAdj_ = nullptr;
    QLabel* lblPercent2_ = nullptr;
    QLabel* lblFnceChgAdj2_ = nullptr;
    // The adjusted payments, the number of prior payments (the page's one box) and the lump sums.
    ResultGrid* SSDBGridRB_ = nullptr;
    EntryForm* form_ = nullptr;
    QLabel* lblPriorPymts_ = nullptr;
    QLineEdit* txtPriorPymts_ = nullptr;
    QPushButton* cmdShowAdjustment_ = nullptr;
    QWidget* fraLumpSums_ = nullptr;
    QLabel* lblLmpSumPymtRed2_ = nullptr;
    QLabel* lblPymtsRedMeth2_ = nullptr;
    QLabel* lblLmpSum2_ = nullptr;
    QLabel* lblPymtsLmpSum2_ = nullptr;
    page_layout::CommandButtons commands_;
};
