#include "pages/frmPymt.h"

#include "pages/PageLayout.h"
#include "widgets/ScheduleGrid.h"
#include "widgets/ScheduleModel.h"

#include "engine/NumberText.h"
#include "schedule/ScheduleCellCheck.h"
#include "schedule/ScheduleClear.h"
#include "schedule/ScheduleColumns.h"
#include "schedule/ScheduleDefaults.h"
#include "shell/BasicInfo.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace tallex;
using namespace page_layout;

namespace {

// 280 twips per row. The columns (1200 twips each in the pages' own font) share the grid's
// width; in a wider desktop font, whose buttons beside the grid take more room, they may be a
// little narrower.
constexpr int kLeastColumnWidth = 72;
constexpr int kRowHeight = 19;
constexpr int kVisibleRows = 11;

std::string Text(const QString& s) { return s.toStdString(); }

}  // namespace

frmPymt::frmPymt(PageHost& pageHost, QWidget* parent)
    : Page(pageHost, "frmPymt", QStringLiteral("Payment Stream"), parent),
      oddDaysQuiet_(pageHost.clock()),
      calendarHandOver_(pageHost.clock()) {
    auto* Label1 = Heading(this, "Label1", QStringLiteral("Payment Schedule"));
    lblPymtFreq_ = new QLabel(this);
    lblPymtFreq_->setObjectName(QStringLiteral("lblPymtFreq"));

    model_ = new ScheduleModel(record(), this);
    SSDBGrid1_ = new ScheduleGrid(this);
    SSDBGrid1_->setScheduleModel(model_);
    SetColumns();
    const int frame = 2 * SSDBGrid1_->frameWidth();
    const int scrollBar = SSDBGrid1_->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    // Its five columns and rows at the least; a larger window gives the grid the extra room.
    SSDBGrid1_->setMinimumSize(ScheduleModel::kColumns * kLeastColumnWidth + scrollBar + frame,
                               SSDBGrid1_->horizontalHeader()->height() + kVisibleRows * kRowHeight + frame);
    SSDBGrid1_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);

    lblPymtStream_ =
        new QLabel(QStringLiteral("Instructions that pertain to the current grid cell appear here."), this);
    lblPymtStream_->setObjectName(QStringLiteral("lblPymtStream"));
    lblPymtStream_->setWordWrap(true);
    lblPymtStream_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblPymtStream_->setFixedHeight(2 * fontMetrics().height() + 6);

    cmdFedCal_ = Button(this, "cmdFedCal", QStringLiteral("Calenda&r"));
    cmdDelete_ = Button(this, "cmdDelete", QStringLiteral("&Delete Payment Stream"));
    const int sideWidth =
        cmdDelete_->fontMetrics().horizontalAdvance(QStringLiteral("Delete Payment Stream # 360")) + 24;
    cmdDelete_->setFixedWidth(sideWidth);
    cmdFedCal_->setFixedWidth(sideWidth);
    commands_ = CommandButtons(this, {.continueButton = "cmdContinue", .back = "cmdBack"});

    auto* header = new QHBoxLayout;
    header->addWidget(Label1);
    header->addStretch();
    header->addWidget(lblPymtFreq_);

    auto* side = new QVBoxLayout;
    side->addWidget(cmdFedCal_);
    side->addWidget(cmdDelete_);
    side->addStretch();
    auto* middle = new QHBoxLayout;
    middle->setSpacing(12);
    middle->addWidget(SSDBGrid1_, 1);
    middle->addLayout(side);

    // The grid is as wide as its five columns: this page keeps narrower margins than the others.
    auto* layout = PageColumn(this, Sides::Narrow, kSpacing + 4);
    layout->addLayout(header);
    layout->addLayout(middle, 1);
    layout->addWidget(lblPymtStream_);
    layout->addLayout(CommandRow(commands_));

    TabOrder({SSDBGrid1_, cmdFedCal_, cmdDelete_}, commands_);

    SSDBGrid1_->setHooks({
        [this](ScheduleGrid::Move move) {
            bool refuse = false;
            guard([&] { refuse = refuseLeaving(static_cast<int>(move)); });
            return refuse;
        },
        [this] {
            bool added = false;
            guard([&] { added = addRow(); });
            return added;
        },
        [this] { guard([this] { entered(); }); },
    });
    connect(cmdFedCal_, &QPushButton::clicked, this, [this] { guard([this] { runCalendar(); }); });
    connect(cmdDelete_, &QPushButton::clicked, this, [this] { guard([this] { onDelete(); }); });
    connect(commands_.continueButton, &QPushButton::clicked, this, [this] { guard([this] { onContinue(); }); });
    connect(commands_.back, &QPushButton::clicked, this, [this] { guard([this] { onBack(); }); });
    connect(commands_.newLoan, &QPushButton::clicked, this, [this] { guard([this] { host().NewLoan(); }); });
    connect(commands_.exit, &QPushButton::clicked, this, [this] { guard([this] { host().ExitProgram(); }); });
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
        // Continue reached from outside the grid: no cell instruction applies.
        if (now != commands_.continueButton || !isActivePage()) return;
        if (old && (old == SSDBGrid1_ || SSDBGrid1_->isAncestorOf(old))) return;
        lblPymtStream_->clear();
        cmdFedCal_->setEnabled(false);
    });

    // Load.
    InitTable();
}

void frmPymt::InitTable() {
    ScheduleInit(record());
    model_->clear();
    model_->appendRow(QString::fromStdString(record().gaPymtCol0[1]));
}

void frmPymt::SetColumns() {
    // Captions are centred over two lines; amounts and counts are right-aligned by the model.
    // The columns share the grid's width equally.
    SSDBGrid1_->horizontalHeader()->setMinimumSectionSize(kLeastColumnWidth);
    SSDBGrid1_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    SSDBGrid1_->verticalHeader()->setDefaultSectionSize(kRowHeight);
    SSDBGrid1_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    SSDBGrid1_->horizontalHeader()->setDefaultAlignment(Qt::Alignment(Qt::AlignCenter | Qt::TextWordWrap));
    SSDBGrid1_->horizontalHeader()->setFixedHeight(2 * fontMetrics().height() + 8);
}

void frmPymt::ReLoadData() {
    SetColumns();
    model_->reloadFromRecord();
}

frmPymt::~frmPymt() {
    // Nothing may reach this page while its parts are taken down.
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
    SSDBGrid1_->setHooks({});
    record().giGridRow = 0;
}

int frmPymt::currentStream() const {
    const double label = Val(Text(model_->cell(SSDBGrid1_->currentRow(), kColStreamLabel)));
    return static_cast<int>(label);
}

void frmPymt::showFills(int row, const std::vector<ScheduleCellFill>& fills) {
    for (const ScheduleCellFill& fill : fills) model_->recordChanged(row, fill.column);
}

void frmPymt::onActivate() {
    LoanRecord& r = record();
    const ScheduleActivation activation = ActivateSchedule(r);
    lblPymtFreq_->setText(QString::fromStdString(PaymentFrequencyCaption(r)));
    model_->setReadOnly(activation.readOnly);
    if (!r.gaPymtAmt[1].empty()) {
        ReLoadData();
    } else {
        model_->clear();
        SetColumns();
        model_->appendRow(QString::fromStdString(r.gaPymtCol0[1]));
    }
    showFills(0, activation.stream1);
    cmdFedCal_->setEnabled(activation.calendarEnabled);
    lblPymtStream_->clear();
    cmdDelete_->setEnabled(model_->rowCount() > 1 && !r.gbSingleAdvance);
    const bool calendarFilled = r.gbCalFilledSchedule;
    r.gbCalFilledSchedule = false;
    if (calendarFilled)
        SSDBGrid1_->placeCursor(SSDBGrid1_->currentRow(), kColUnitPeriods);
    else
        SSDBGrid1_->placeCursor(0, kColAmount);
}

bool frmPymt::refuseLeaving(int move) {
    const int row = SSDBGrid1_->currentRow();
    const int column = SSDBGrid1_->currentColumn();
    const int stream = currentStream();
    if (column < kColAmount || stream == 0) return false;
    const auto how = static_cast<ScheduleGrid::Move>(move);
    GridCheckCurrentRow(rowFlags_, record(), stream, Text(model_->cell(row, kColAmount)),
                        Text(model_->cell(row, kColNumPayments)), how == ScheduleGrid::Move::PageUp,
                        how == ScheduleGrid::Move::PageDown);
    if (record().gbErrorShown) return false;
    const ScheduleCellResult result =
        ScheduleCellCheck(record(), host().user(), oddDaysQuiet_, stream, column, Text(model_->cell(row, column)));
    model_->storeCell(row, column, result.cellValue);
    showFills(row, result.fills);
    return result.cancel;
}

bool frmPymt::addRow() {
    if (rowFlags_.addAllowed) {
        const int next = model_->rowCount() + 1;
        model_->appendRow(QString::fromStdString(record().gaPymtCol0[static_cast<std::size_t>(next)]));
        return true;
    }
    SSDBGrid1_->placeCursor(SSDBGrid1_->currentRow(), kColAmount);
    if (!rowFlags_.rowComplete) message(kCompleteRowMessage, kStyleExclamation);
    return false;
}

void frmPymt::entered() {
    cmdFedCal_->setEnabled(false);
    const int row = SSDBGrid1_->currentRow();
    const int column = SSDBGrid1_->currentColumn();
    const int stream = currentStream();
    LoanRecord& r = record();
    r.gbScheduleChanged = true;
    r.giCurPymtRow = static_cast<std::int16_t>(stream);
    lblPymtStream_->setText(QString::fromStdString(ScheduleInstruction(column)));
    const DeleteButtonState del = DeleteButtonFor(r, model_->rowCount(), stream);
    cmdDelete_->setEnabled(del.enabled);
    cmdDelete_->setText(QString::fromStdString(del.caption));

    const RowCells cells{Text(model_->cell(row, kColAmount)), Text(model_->cell(row, kColNumPayments)),
                         Text(model_->cell(row, kColUnitPeriods))};
    const CellEntry entry = EnterScheduleCell(r, stream, column, cells, calendarHandOver_.running());
    if (!entry.message.empty()) message(entry.message, kStyleExclamation);
    if (entry.column != column) {
        SSDBGrid1_->placeCursor(row, entry.column);
        return;
    }
    cmdFedCal_->setEnabled(entry.calendarEnabled);
    if (entry.openCalendar) runCalendar();
    if (entry.fillTiming && SSDBGrid1_->currentRow() == row && SSDBGrid1_->currentColumn() == kColUnitPeriods &&
        model_->cell(row, kColUnitPeriods).isEmpty())
        showFills(row, ScheduleFillDefaults(r, stream));
}

void frmPymt::runCalendar() {
    LoanRecord& r = record();
    SSDBGrid1_->commitEditor();
    const int row = SSDBGrid1_->currentRow();
    const int columnBefore = SSDBGrid1_->currentColumn();
    const int stream = currentStream();
    r.giGridRow = static_cast<std::int16_t>(model_->rowCount());
    r.gbCalendarOK = false;
    // A construction loan measures its permanent phase from three dates.
    if (!(r.gbConstruction ? host().openConstructionCalendar(*this) : host().openPaymentCalendar(*this))) return;
    calendarHandOver_.start();
    if (stream < 1) return;
    const CalendarReturn result = TakeCalendarResult(r, stream, columnBefore);
    showFills(row, result.cells);
    SSDBGrid1_->placeCursor(row, result.column);
    cmdFedCal_->setEnabled(result.calendarEnabled);
}

void frmPymt::storeCurrentRow() {
    SSDBGrid1_->commitEditor();
    const int row = SSDBGrid1_->currentRow();
    for (int column = kColAmount; column <= kColOddDays; ++column)
        model_->storeCell(row, column, Text(model_->cell(row, column)));
}

void frmPymt::onDelete() {
    storeCurrentRow();
    const int row = SSDBGrid1_->currentRow();
    const int rows = model_->rowCount();
    if (!DeletePaymentStream(record(), host().user(), currentStream(), rows)) return;
    model_->loadStreams(rows - 1);
    SSDBGrid1_->placeCursor(std::min(row, rows - 2), kColAmount);
}

void frmPymt::onContinue() {
    SSDBGrid1_->commitEditor();
    // A run-time error in the cell being committed ends on the error screen, which unloads the
    // page: nothing of it may go on.
    if (!isActivePage()) return;
    const int row = SSDBGrid1_->currentRow();
    std::array<std::string, 4> cells;
    for (int column = kColAmount; column <= kColOddDays; ++column)
        cells[static_cast<std::size_t>(column - 1)] = Text(model_->cell(row, column));
    const ScheduleContinueOutcome outcome =
        ScheduleContinue(record(), host().user(), oddDaysQuiet_, model_->rowCount(),
                         Text(model_->cell(row, kColStreamLabel)), cells, SSDBGrid1_->currentColumn());
    model_->forgetStored();
    if (outcome.cellRefused) {
        // As after Tab: the cursor stays in the refused cell, still being edited.
        SSDBGrid1_->keepEditing();
        return;
    }
    if (!outcome.proceed) {
        if (outcome.stream > 0 || outcome.column > 0)
            SSDBGrid1_->placeCursor(outcome.stream > 0 ? outcome.stream - 1 : row,
                                    outcome.column > 0 ? outcome.column : SSDBGrid1_->currentColumn());
        return;
    }
    host().SwitchForm(PageId::Results);
}

void frmPymt::onBack() {
    record().giGridRow = static_cast<std::int16_t>(model_->rowCount());
    SSDBGrid1_->commitEditor();
    if (!isActivePage()) return;
    // The cell being left is checked and kept; Back goes on whatever the check says.
    refuseLeaving(static_cast<int>(ScheduleGrid::Move::None));
    // A construction loan came through its construction interest page.
    host().SwitchForm(record().gsLoanType != kRegularLoanType ? PageId::ConstructionInterest : PageId::LoanTerms);
}
