#pragma once
// The construction phase page: how construction interest accrues, whether an interest reserve
// is required, and how long construction lasts (in months, or in days with the unit periods and
// odd days of a construction-only loan). The rules are the core's (construction/ConstPhase.h);
// the payment date calculator in its construction form measures the period from two dates.

#include "pages/Page.h"
#include "pages/PageLayout.h"

#include <array>

namespace tallex::casefile {
struct CaseFile;
}
class EntryForm;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class frmConstPhase : public Page {
    Q_OBJECT
public:
    explicit frmConstPhase(PageHost& host, QWidget* parent = nullptr);

    // The page's entries as a case file keeps them: the accrual, the interest reserve, the basis
    // of "other", and the period with its unit periods and odd days where they are shown.
    void writeCase(tallex::casefile::CaseFile& c) const;
    // Shows an opened case's construction phase as its replay took it (a period the calculator
    // measured included); the choices are the record's.
    void showCase(const tallex::casefile::CaseFile& c);

protected:
    void onActivate() override;

private:
    void applyLayout();
    void applyUnitPeriodEnabling();
    void timePeriodChanged();
    void chooseAccrual(int index);
    void chooseOther(int index);
    void onCalendar();
    void takeCalendarResult();
    void onContinue();
    void onBack();

    std::array<QRadioButton*, 4> optIntAccrl_{};
    QCheckBox* chkCompundInt_ = nullptr;
    QLabel* lblCompoundInt_ = nullptr;
    QGroupBox* fraOther_ = nullptr;
    std::array<QRadioButton*, 2> optOther_{};
    // The construction period: txtTimePeriod, txtUnitPeriod, txtOddDays (index = tag), their
    // labels and the form they make, and the calendar that measures the period.
    QGroupBox* fraTimePeriod_ = nullptr;
    std::array<QLineEdit*, 3> boxes_{};
    std::array<QLabel*, 3> labels_{};
    EntryForm* form_ = nullptr;
    QPushButton* cmdCalendar_ = nullptr;
    page_layout::CommandButtons commands_;
};
