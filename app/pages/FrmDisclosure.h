#pragma once
// The results page of a loan that goes through the payment schedule: the four disclosure
// figures, the lender's disclosed APR and finance charge, the verdict notes (violations in dark
// red, an APR error treated as accurate in black), the schedule in chronological order, and,
// for a loan subject to reimbursement, the reimbursement tolerance and the way on to the
// reimbursement page. Every figure and decision is the core's (ComputeDisclosureResults); the
// page is the ResultsView the tolerance tests write to, and shows what the core returns.

#include "pages/Page.h"
#include "pages/PageLayout.h"
#include "pages/ReportPage.h"

#include "compliance/DisclosureResults.h"
#include "ui/ResultsView.h"

#include <array>

class EntryKeys;
class PaymentTimeline;
class QButtonGroup;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTabWidget;
class ResultGrid;
class ToleranceBand;

class FrmDisclosure : public Page, public tallex::ResultsView, public ReportPage {
    Q_OBJECT
public:
    explicit FrmDisclosure(PageHost& host, QWidget* parent = nullptr);

    // ResultsView
    void setLabelVisible(tallex::ResultsLabel label, bool visible) override;
    void setLabelCaption(tallex::ResultsLabel label, const std::string& caption) override;
    void setLabelColour(tallex::ResultsLabel label, tallex::LabelColour colour) override;
    void selectTolerance(int index) override;
    int selectedTolerance() const override;
    void setToleranceOptionVisible(int index, bool visible) override;
    void setToleranceFrameVisible(bool visible) override;
    bool toleranceFrameVisible() const override;
    void setReimbursementButtonVisible(bool visible) override;

    // ReportPage
    bool reportAllowed() const override;
    void printReport() override;
    void saveReport() override;

    ResultGrid* grid() const { return SSDBGridDisc_; }
    // The schedule, its timeline and the tolerance scales share the lower part of the page.
    QTabWidget* pictures() const { return tabPictures_; }
    PaymentTimeline* timeline() const { return picTimeline_; }
    ToleranceBand* toleranceBand() const { return picToleranceBand_; }

protected:
    void onActivate() override;

private:
    QLabel* verdictLabel(tallex::ResultsLabel label) const;
    void showOutcome(const tallex::DisclosureOutcome& outcome);
    void rebuildGrid();
    void FormSetFocus();
    void onReimbursement();
    void onBack();
    void onDebug();

    EntryKeys* keys_ = nullptr;
    QLabel* lblAmount_ = nullptr;
    QLabel* lblFinanceChg_ = nullptr;
    QLabel* lblTotPymts_ = nullptr;
    QLabel* lblAPR_ = nullptr;
    QLabel* lblDisclAPR_ = nullptr;
    QLabel* lblDisclFinanceChg_ = nullptr;
    QLabel* lblPrepdChglbl_ = nullptr;
    QLabel* lblPrepdChg_ = nullptr;
    QLabel* lblSubFnceChgLbl_ = nullptr;
    QLabel* lblSubFnceChg_ = nullptr;
    QLabel* lblIntPymts_ = nullptr;
    QLabel* lblIrregular_ = nullptr;
    QLabel* lblPymtFreqA_ = nullptr;
    QLabel* lblPymtFreqB_ = nullptr;
    std::array<QLabel*, 5> verdict_{};
    QGroupBox* fraTolerance_ = nullptr;
    QButtonGroup* toleranceGroup_ = nullptr;
    std::array<QRadioButton*, 3> optTolerance_{};
    ResultGrid* SSDBGridDisc_ = nullptr;
    QTabWidget* tabPictures_ = nullptr;
    PaymentTimeline* picTimeline_ = nullptr;
    ToleranceBand* picToleranceBand_ = nullptr;
    QLabel* lblAccurate_ = nullptr;  // the positive verdict
    QPushButton* cmdContinue_ = nullptr;
    page_layout::CommandButtons commands_;
    QPushButton* cmdDebug_ = nullptr;
    bool gridBuilt_ = false;
    bool printable_ = false;  // what the last computation allowed
};
