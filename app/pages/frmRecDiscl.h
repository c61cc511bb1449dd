#pragma once
// The results page of a construction loan whose construction phase is disclosed separately:
// amount financed, finance charge, total of payments and APR of the one-payment transaction,
// what the disclosed payment schedule must say, the verdicts of the tolerance tests and, for a
// loan subject to reimbursement, the tolerance and the way on to reimbursement. Every figure
// and decision is the core's (construction/ConstResults.h); each activation computes afresh.

#include "pages/Page.h"
#include "pages/PageLayout.h"
#include "pages/ReportPage.h"

#include <memory>

class PaymentTimeline;
class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTabWidget;
class ToleranceBand;

namespace tallex {
class ResultsView;
}

class frmRecDiscl : public Page, public ReportPage {
    Q_OBJECT
public:
    explicit frmRecDiscl(PageHost& host, QWidget* parent = nullptr);
    ~frmRecDiscl() override;

    // ReportPage: the construction report, once the figures are complete.
    bool reportAllowed() const override;
    void printReport() override;
    void saveReport() override;
    // The tolerance tests' view of this page (the case file keeps the tolerance chosen).
    const tallex::ResultsView& resultsView() const { return *view_; }
    QTabWidget* pictures() const { return tabPictures_; }
    PaymentTimeline* timeline() const { return picTimeline_; }
    ToleranceBand* toleranceBand() const { return picToleranceBand_; }

protected:
    void onActivate() override;

private:
    void FormSetFocus(const tallex::ResultsView& view);
    void onReimbursement();
    void onDebug();
    void onBack();

    std::unique_ptr<tallex::ResultsView> view_;
    QLabel* lblAPR_ = nullptr;
    QLabel* lblFinanceChg_ = nullptr;
    QLabel* lblAmount_ = nullptr;
    QLabel* lblTotPymts_ = nullptr;
    QLabel* lblDisclAPR_ = nullptr;
    QLabel* lblDisclFinanceChg_ = nullptr;
    QLabel* lblPrepdChglbl_ = nullptr;
    QLabel* lblPrepdChg_ = nullptr;
    QFrame* picDisclText_ = nullptr;
    QLabel* lblDisclText_[6] = {};
    QLabel* lblPymtAmt_ = nullptr;
    QLabel* lblFinalPymtAmt_ = nullptr;
    QLabel* lblSubFnceChg_ = nullptr;
    QLabel* verdicts_[5] = {};
    QLabel* lblAccurate_ = nullptr;  // the positive verdict
    QTabWidget* tabPictures_ = nullptr;
    PaymentTimeline* picTimeline_ = nullptr;
    ToleranceBand* picToleranceBand_ = nullptr;
    QGroupBox* fraTolerance_ = nullptr;
    QRadioButton* optTolerance_[3] = {};
    QPushButton* cmdContinue_ = nullptr;
    page_layout::CommandButtons commands_;
    QPushButton* cmdDebug_ = nullptr;
};
