#pragma once
// The payment schedule page: the grid of payment streams, the calendar for a stream's timing,
// Delete Payment Stream, and Continue to the APR. The cell and schedule rules are the core's
// (schedule/Schedule*.h); the grid shows the record's schedule, and a cell reaches the record
// when the page stores it after its check.

#include "pages/Page.h"
#include "pages/PageLayout.h"

#include "schedule/ScheduleOddDaysQuietPeriod.h"
#include "schedule/SchedulePage.h"

#include <memory>

class QLabel;
class QPushButton;
class ScheduleGrid;
class ScheduleModel;

class frmPymt : public Page {
    Q_OBJECT
public:
    explicit frmPymt(PageHost& host, QWidget* parent = nullptr);
    ~frmPymt() override;

    ScheduleModel* model() const { return model_; }
    ScheduleGrid* grid() const { return SSDBGrid1_; }

    // A fresh schedule: labels "1" to "360", every stream empty, one empty row labelled "1".
    void InitTable();
    // Column widths, row height, captions and alignment of the grid.
    void SetColumns();
    // The grid rebuilt from the record: one row per stream that has an amount.
    void ReLoadData();

protected:
    void onActivate() override;

private:
    bool refuseLeaving(int move);
    bool addRow();
    void entered();
    void runCalendar();
    void onDelete();
    void onContinue();
    void onBack();
    void storeCurrentRow();
    int currentStream() const;
    // Cells of the row that a rule of the core wrote in the record.
    void showFills(int row, const std::vector<tallex::ScheduleCellFill>& fills);

    ScheduleModel* model_ = nullptr;
    ScheduleGrid* SSDBGrid1_ = nullptr;
    QLabel* lblPymtFreq_ = nullptr;
    QLabel* lblPymtStream_ = nullptr;
    QPushButton* cmdFedCal_ = nullptr;
    QPushButton* cmdDelete_ = nullptr;
    page_layout::CommandButtons commands_;
    tallex::ScheduleRowFlags rowFlags_;
    tallex::ScheduleOddDaysQuietPeriod oddDaysQuiet_;
    tallex::CalendarHandOverPeriod calendarHandOver_;
};
