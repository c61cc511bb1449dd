#include "pages/frmReimbursement.h"

#include "pages/EntryForm.h"
#include "pages/PageLayout.h"
#include "pages/PageTexts.h"
#include "print/ReportPrinter.h"
#include "widgets/ResultGrid.h"

#include "compliance/ResultGrids.h"
#include "construction/ConstChoices.h"
#include "engine/NumberText.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

using namespace tallex;
using namespace page_layout;

namespace {

QLabel* Value(QWidget* parent, const char* name) {
    QLabel* label = Label(parent, name);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

QString Text(const std::string& s) { return QString::fromStdString(s); }

// A named part of the page whose labels stand in a grid, `columnSpacing` and `rowSpacing` apart.
QGridLayout* GridPart(QWidget* page, const char* name, int columnSpacing, int rowSpacing, QWidget*& part) {
    part = new QWidget(page);
    part->setObjectName(QString::fromLatin1(name));
    auto* grid = new QGridLayout(part);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(columnSpacing);
    grid->setVerticalSpacing(rowSpacing);
    return grid;
}

}  // namespace

frmReimbursement::frmReimbursement(PageHost& pageHost, QWidget* parent)
    : Page(pageHost, "frmReimbursement", QStringLiteral("Reimbursement Information"), parent) {
    form_ = new EntryForm(*this, pageHost);
    lblCaption_ = Heading(this, "lblCaption", QStringLiteral("Reimbursement Information"));

    // APR method: the three figures side by side, captions above.
    auto* method = GridPart(this, "fraAPRMethod", 24, 2, fraAPRMethod_);
    lblFinalAPRAdj_ = Label(fraAPRMethod_, "lblFinalAPRAdj");
    method->addWidget(Label(fraAPRMethod_, "lblAdjAPR", QStringLiteral("Adjusted APR")), 0, 0, Qt::AlignCenter);
    method->addWidget(Label(fraAPRMethod_, "lblProFactor", QStringLiteral("Prorate Factor")), 0, 1, Qt::AlignCenter);
    method->addWidget(lblFinalAPRAdj_, 0, 2, Qt::AlignCenter);
    lblAdjAPR2_ = Value(fraAPRMethod_, "lblAdjAPR2");
    lblProFactor2_ = Value(fraAPRMethod_, "lblProFactor2");
    lblFinalAPRAdj2_ = Value(fraAPRMethod_, "lblFinalAPRAdj2");
    method->addWidget(lblAdjAPR2_, 1, 0, Qt::AlignCenter);
    method->addWidget(lblProFactor2_, 1, 1, Qt::AlignCenter);
    method->addWidget(lblFinalAPRAdj2_, 1, 2, Qt::AlignCenter);
    method->setColumnMinimumWidth(
        2, fontMetrics().horizontalAdvance(QStringLiteral("APR Adjustment as of Final Payment Date")));
    method->setColumnStretch(3, 1);

    // The adjustments given as one amount: "(using APR of" the rate "):" the amount.
    const auto adjustmentRow = [this](const char* frame, const char* caption, const QString& text, const char* percent,
                                      const char* amount, QLabel*& percentLabel, QLabel*& amountLabel) {
        auto* holder = new QWidget(this);
        holder->setObjectName(QString::fromLatin1(frame));
        auto* row = new QHBoxLayout(holder);
        row->setContentsMargins(0, 0, 0, 0);
        row->setSpacing(4);
        row->addWidget(Label(holder, caption, text));
        percentLabel = Label(holder, percent);
        amountLabel = Value(holder, amount);
        row->addWidget(percentLabel);
        row->addSpacing(12);
        row->addWidget(amountLabel);
        row->addStretch();
        holder->hide();
        return holder;
    };
    fraAPRAdj_ = adjustmentRow("fraAPRAdj", "lblAPRAdj", QStringLiteral("APR Adjustment (using APR of"),
                               "lblPercentAPR", "lblAPRAdj2", lblPercentAPR_, lblAPRAdj2_);
    fraFnceChgAdj_ =
        adjustmentRow("fraFnceChgAdj", "lblFnceChgAdj", QStringLiteral("Finance Charge Adjustment (using APR of"),
                      "lblPercent2", "lblFnceChgAdj2", lblPercent2_, lblFnceChgAdj2_);

    SSDBGridRB_ = new ResultGrid("SSDBGridRB", this);
    SSDBGridRB_->setColumns(SetColumnsRB());
    // Every column at the least; a larger window gives the grid the extra room.
    SSDBGridRB_->setMinimumWidth(SSDBGridRB_->fullWidth());
    SSDBGridRB_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    SSDBGridRB_->hide();

    lblPriorPymts_ = Label(this, "lblPriorPymts", QStringLiteral("# of Prior Payments:"));
    txtPriorPymts_ = TextBox(this, "txtPriorPymts", kShortBoxWidth);
    txtPriorPymts_->setAlignment(Qt::AlignRight);
    txtPriorPymts_->setMaxLength(5);
    // Pasted text passes no key filter: only digits are taken.
    txtPriorPymts_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), txtPriorPymts_));
    lblPriorPymts_->setBuddy(txtPriorPymts_);
    cmdShowAdjustment_ = Button(this, "cmdShowAdjustment", QStringLiteral("&Show Adjustments"));
    cmdShowAdjustment_->setDefault(true);  // Enter presses it
    auto* side = new QVBoxLayout;
    side->addWidget(lblPriorPymts_);
    side->addWidget(txtPriorPymts_);
    side->addWidget(cmdShowAdjustment_);
    side->addStretch();
    auto* middle = new QHBoxLayout;
    middle->setSpacing(12);
    middle->addWidget(SSDBGridRB_, 1);
    middle->addLayout(side);
    middle->addStretch();

    // The lump sums keep their room, so showing them moves nothing.
    auto* lumps = GridPart(this, "fraLumpSums", 10, 4, fraLumpSums_);
    lblLmpSumPymtRed2_ = Value(fraLumpSums_, "lblLmpSumPymtRed2");
    lblPymtsRedMeth2_ = Label(fraLumpSums_, "lblPymtsRedMeth2");
    lblLmpSum2_ = Value(fraLumpSums_, "lblLmpSum2");
    lblPymtsLmpSum2_ = Label(fraLumpSums_, "lblPymtsLmpSum2");
    lumps->addWidget(FieldLabel(fraLumpSums_, "lblLmpSumPymtRed", QStringLiteral("Lump Sum/Payment Reduction Method:")),
                     0, 0);
    lumps->addWidget(lblLmpSumPymtRed2_, 0, 1, Qt::AlignRight);
    lumps->addWidget(Label(fraLumpSums_, "lblPymtsRedMeth1", QStringLiteral("Payments 1 -")), 0, 3);
    lumps->addWidget(lblPymtsRedMeth2_, 0, 4);
    lumps->addWidget(FieldLabel(fraLumpSums_, "lblLmpSum", QStringLiteral("Lump Sum Method:")), 1, 0);
    lumps->addWidget(lblLmpSum2_, 1, 1, Qt::AlignRight);
    lumps->addWidget(Label(fraLumpSums_, "lblPymtsLmpSum1", QStringLiteral("Payments 1 -")), 1, 3);
    lumps->addWidget(lblPymtsLmpSum2_, 1, 4);
    lumps->setColumnMinimumWidth(1, 90);
    lumps->setColumnMinimumWidth(2, 16);
    lumps->setColumnStretch(5, 1);
    auto* lumpHolder = new QWidget(this);
    auto* lumpHolderLayout = new QVBoxLayout(lumpHolder);
    lumpHolderLayout->setContentsMargins(0, 0, 0, 0);
    lumpHolderLayout->addWidget(fraLumpSums_);
    lumpHolder->setFixedHeight(fraLumpSums_->sizeHint().height());
    fraLumpSums_->hide();

    commands_ = CommandButtons(this, {.print = "CmdPrint", .saveReport = "cmdSaveReport", .back = "cmdBack"});

    auto* layout = PageColumn(this, Sides::Narrow, kSpacing + 2);
    layout->addWidget(lblCaption_);
    layout->addWidget(fraAPRMethod_);
    layout->addWidget(fraAPRAdj_);
    layout->addWidget(fraFnceChgAdj_);
    layout->addLayout(middle, 1);
    layout->addWidget(lumpHolder);
    layout->addLayout(CommandRow(commands_));

    TabOrder({txtPriorPymts_, cmdShowAdjustment_}, commands_);

    form_->addBox(txtPriorPymts_);
    form_->setKeyFilter([this](int, int key) { return !PriorPaymentsKeyAllowed(record(), host().user(), key); });
    connect(cmdShowAdjustment_, &QPushButton::clicked, this, [this] { guard([this] { onShowAdjustments(); }); });
    connect(commands_.print, &QPushButton::clicked, this, [this] { guard([this] { printReport(); }); });
    connect(commands_.saveReport, &QPushButton::clicked, this, [this] { guard([this] { saveReport(); }); });
    connect(commands_.back, &QPushButton::clicked, this, [this] { guard([this] { onBack(); }); });
    connect(commands_.newLoan, &QPushButton::clicked, this, [this] { guard([this] { host().NewLoan(); }); });
    connect(commands_.exit, &QPushButton::clicked, this, [this] { guard([this] { host().ExitProgram(); }); });
}

PageId frmReimbursement::BackTarget(const LoanRecord& record) {
    return record.gbConstruction && ConstructionOnly(record.construction) ? PageId::ConstructionResults
                                                                          : PageId::Results;
}

int frmReimbursement::gridRowCount() const {
    // A construction-only loan is one stream; the others are the schedule grid's rows.
    return BackTarget(record()) == PageId::ConstructionResults ? 1 : record().giGridRowCount;
}

bool frmReimbursement::reportAllowed() const { return commands_.print->isEnabled(); }

void frmReimbursement::printReport() {
    if (!reportAllowed()) return;
    ReportPrinter(host().outputChooser(), host().user()).print(this, [this] { return ComposeReport(host()); });
}

void frmReimbursement::saveReport() {
    if (!reportAllowed()) return;
    ReportPrinter(host().outputChooser(), host().user()).save(this, [this] { return ComposeReport(host()); });
}

void frmReimbursement::setPrintable(bool printable) {
    commands_.print->setEnabled(printable);
    commands_.saveReport->setEnabled(printable);
    host().setPrintEnabled(printable);
}

void frmReimbursement::onActivate() {
    acceptedPrior_.reset();
    showScreen(ReimbursementActivation(record()));
}

void frmReimbursement::showScreen(const ReimbursementScreen& screen) {
    const ReimbursementCaptions& c = screen.captions;
    lblCaption_->setText(Text(c.caption));
    SSDBGridRB_->setVisible(screen.gridVisible);
    if (screen.gridVisible) {
        SSDBGridRB_->setColumns(SetColumnsRB());
        SSDBGridRB_->setRows(ReimbursementGridRows(record()));
    }
    setPrintable(screen.printEnabled);
    lblPriorPymts_->setVisible(screen.priorPaymentsVisible);
    txtPriorPymts_->setVisible(screen.priorPaymentsVisible);
    txtPriorPymts_->setEnabled(true);
    cmdShowAdjustment_->setVisible(screen.showAdjustmentsVisible);
    cmdShowAdjustment_->setEnabled(true);
    fraFnceChgAdj_->setVisible(screen.financeChargeAdjustmentVisible);
    lblPercent2_->setText(Text(c.lblPercent2));
    lblFnceChgAdj2_->setText(Text(c.lblFnceChgAdj2));
    fraAPRMethod_->setVisible(screen.aprMethodVisible);
    lblAdjAPR2_->setText(Text(c.lblAdjAPR2));
    lblProFactor2_->setText(Text(c.lblProFactor2));
    lblFinalAPRAdj_->setText(Text(c.lblFinalAPRAdj));
    lblFinalAPRAdj2_->setText(Text(c.lblFinalAPRAdj2));
    fraAPRAdj_->setVisible(screen.aprAdjustmentVisible);
    lblPercentAPR_->setText(Text(c.lblPercentAPR));
    lblAPRAdj2_->setText(Text(c.lblAPRAdj2));
    fraLumpSums_->setVisible(screen.lumpSumsVisible);
    if (screen.focus == ReimbursementFocus::PriorPayments && !txtPriorPymts_->isHidden())
        txtPriorPymts_->setFocus(Qt::OtherFocusReason);
    else
        commands_.print->setFocus(Qt::OtherFocusReason);
}

void frmReimbursement::onShowAdjustments() {
    const QString typed = txtPriorPymts_->text();
    const ShowAdjustmentsResult result = ShowAdjustments(record(), host().user(), typed.toStdString(), gridRowCount());
    if (!result.accepted) {
        acceptedPrior_.reset();
        // A count out of range takes the lump sums of an earlier count away.
        if (!typed.isEmpty()) fraLumpSums_->hide();
        txtPriorPymts_->setFocus(Qt::OtherFocusReason);
        return;
    }
    acceptedPrior_ = static_cast<int>(Val(typed.toStdString()));
    lblLmpSumPymtRed2_->setText(Text(result.lblLmpSumPymtRed2));
    lblPymtsRedMeth2_->setText(Text(result.lblPymtsRedMeth2));
    lblLmpSum2_->setText(Text(result.lblLmpSum2));
    lblPymtsLmpSum2_->setText(Text(result.lblPymtsLmpSum2));
    fraLumpSums_->setVisible(result.lumpSumsVisible);
    // A user who has entered prior payments expects to print them.
    if (result.printEnabled) setPrintable(true);
}

void frmReimbursement::onBack() {
    record().gbBackFromReimb = true;
    host().SwitchForm(BackTarget(record()));
}
