#include "pages/FrmDisclosure.h"

#include "dialogs/ModalRunner.h"
#include "dialogs/frmDebug1.h"
#include "pages/PageLayout.h"
#include "pages/PageTexts.h"
#include "print/PicturesPage.h"
#include "print/ReportPrinter.h"
#include "widgets/EntryKeys.h"
#include "widgets/PaymentTimeline.h"
#include "widgets/ResultGrid.h"
#include "widgets/ResultsStyle.h"
#include "widgets/ToleranceBand.h"

#include "compliance/CalculationListing.h"
#include "compliance/Reimbursement.h"
#include "compliance/ResultGrids.h"
#include "compliance/ResultsPictures.h"
#include "engine/RuntimeError.h"

#include <QButtonGroup>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

using namespace tallex;
using namespace page_layout;

namespace {

// One box of the disclosure: its caption above its amount.
QFrame* DisclosureBox(QWidget* parent, const char* captionName, const QString& caption, QLabel* amount) {
    auto* box = new QFrame(parent);
    box->setFrameShape(QFrame::Box);
    auto* title = Label(box, captionName, caption);
    title->setAlignment(Qt::AlignCenter);
    QFont font = title->font();
    font.setBold(true);
    title->setFont(font);
    amount->setParent(box);
    amount->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(4, 6, 4, 6);
    layout->addWidget(title);
    layout->addWidget(amount);
    return box;
}

std::size_t VerdictIndex(ResultsLabel label) { return static_cast<std::size_t>(label); }

}  // namespace

FrmDisclosure::FrmDisclosure(PageHost& pageHost, QWidget* parent)
    : Page(pageHost, "FrmDisclosure", QStringLiteral("Disclosure Information"), parent) {
    keys_ = new EntryKeys(pageHost.user(), this);
    auto* Label1 = Heading(this, "Label1", QStringLiteral("Disclosure Information"));

    lblAPR_ = Label(this, "lblAPR");
    lblFinanceChg_ = Label(this, "lblFinanceChg");
    lblAmount_ = Label(this, "lblAmount");
    lblTotPymts_ = Label(this, "lblTotPymts");
    auto* boxes = new QHBoxLayout;
    boxes->setSpacing(6);
    boxes->addWidget(DisclosureBox(this, "lblAPRlbl", QStringLiteral("Annual Percentage Rate"), lblAPR_), 1);
    boxes->addWidget(DisclosureBox(this, "lblFinanceChglbl", QStringLiteral("Finance Charge"), lblFinanceChg_), 1);
    boxes->addWidget(DisclosureBox(this, "lblAmountlbl", QStringLiteral("Amount Financed"), lblAmount_), 1);
    boxes->addWidget(DisclosureBox(this, "lblTotPymtslbl", QStringLiteral("Total of Payments"), lblTotPymts_), 1);

    // What the lender disclosed, the construction charges and the loan's class.
    lblDisclAPR_ = Label(this, "lblDisclAPR");
    lblDisclFinanceChg_ = Label(this, "lblDisclFinanceChg");
    lblPrepdChglbl_ = FieldLabel(this, "lblPrepdChglbl", QStringLiteral("Prepaid Finance Charge:"));
    lblPrepdChg_ = Label(this, "lblPrepdChg");
    lblSubFnceChgLbl_ = FieldLabel(this, "lblSubFnceChgLbl", QStringLiteral("Subsequently Paid Finance Charge:"));
    lblSubFnceChg_ = Label(this, "lblSubFnceChg");
    lblIrregular_ = Label(this, "lblIrregular");
    lblPymtFreqA_ = Label(this, "lblPymtFreqA");
    lblPymtFreqB_ = Label(this, "lblPymtFreqB");
    auto* facts = new QGridLayout;
    facts->setHorizontalSpacing(8);
    facts->setVerticalSpacing(3);
    facts->addWidget(FieldLabel(this, "lblDisclAPRlbl", QStringLiteral("Disclosed APR:")), 0, 0);
    facts->addWidget(lblDisclAPR_, 0, 1);
    facts->addWidget(FieldLabel(this, "lblDisclFinanceChglbl", QStringLiteral("Disclosed Finance Charge:")), 1, 0);
    facts->addWidget(lblDisclFinanceChg_, 1, 1);
    facts->addWidget(lblPrepdChglbl_, 2, 0);
    facts->addWidget(lblPrepdChg_, 2, 1);
    facts->addWidget(lblSubFnceChgLbl_, 3, 0);
    facts->addWidget(lblSubFnceChg_, 3, 1);
    auto* frequency = new QHBoxLayout;
    frequency->setSpacing(0);
    frequency->addWidget(lblPymtFreqA_);
    frequency->addWidget(lblPymtFreqB_);
    frequency->addStretch();
    facts->addWidget(lblIrregular_, 0, 3);
    facts->addLayout(frequency, 1, 3);
    facts->setColumnMinimumWidth(2, 24);
    facts->setColumnStretch(3, 1);
    lblIntPymts_ = Label(this, "lblIntPymts");
    lblIntPymts_->setWordWrap(true);

    // The verdict notes keep their room whether shown or not, so nothing below them moves.
    auto* notes = new QWidget(this);
    auto* notesLayout = new QGridLayout(notes);
    notesLayout->setContentsMargins(0, 0, 0, 0);
    notesLayout->setHorizontalSpacing(8);
    notesLayout->setVerticalSpacing(2);
    const char* const names[] = {"lblAPRViolation", "lblAPRViolAmt", "lblFinanceViolation", "lblFinanceViolAmt",
                                 "lblFinanceError"};
    for (std::size_t i = 0; i < verdict_.size(); ++i) {
        verdict_[i] = Label(notes, names[i]);
        QFont font = verdict_[i]->font();
        font.setBold(true);
        verdict_[i]->setFont(font);
        verdict_[i]->hide();
    }
    notesLayout->addWidget(verdict_[VerdictIndex(ResultsLabel::lblAPRViolation)], 0, 0);
    notesLayout->addWidget(verdict_[VerdictIndex(ResultsLabel::lblAPRViolAmt)], 0, 1);
    notesLayout->addWidget(verdict_[VerdictIndex(ResultsLabel::lblFinanceViolation)], 1, 0);
    notesLayout->addWidget(verdict_[VerdictIndex(ResultsLabel::lblFinanceViolAmt)], 1, 1);
    notesLayout->addWidget(verdict_[VerdictIndex(ResultsLabel::lblFinanceError)], 2, 0, 1, 2);
    // Shown only when no note is: it takes the first note's place.
    lblAccurate_ = Label(notes, "lblAccurate");
    lblAccurate_->hide();
    notesLayout->addWidget(lblAccurate_, 0, 0, 1, 2);
    notesLayout->setColumnStretch(2, 1);
    notesLayout->setRowStretch(3, 1);
    notes->setFixedHeight(3 * (fontMetrics().height() + 4));

    SSDBGridDisc_ = new ResultGrid("SSDBGridDisc", this);
    SSDBGridDisc_->setColumns(SetColumnsDisclosure());
    // Every column at the least; a larger window gives the grid the extra room.
    SSDBGridDisc_->setMinimumWidth(SSDBGridDisc_->fullWidth());
    SSDBGridDisc_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);

    fraTolerance_ = new QGroupBox(QStringLiteral("Reimbursement Tolerance"), this);
    fraTolerance_->setObjectName(QStringLiteral("fraTolerance"));
    toleranceGroup_ = new QButtonGroup(this);
    auto* toleranceLayout = new QVBoxLayout(fraTolerance_);
    const QString captions[] = {QStringLiteral(" &0 %"), QStringLiteral(".&125 %"), QStringLiteral(".&25 %")};
    for (int i = 0; i < 3; ++i) {
        auto* option = new QRadioButton(captions[i], fraTolerance_);
        option->setObjectName(QStringLiteral("optTolerance_%1").arg(i));
        toleranceGroup_->addButton(option, i);
        toleranceLayout->addWidget(option);
        keys_->watch(option);
        optTolerance_[static_cast<std::size_t>(i)] = option;
    }
    fraTolerance_->hide();
    cmdContinue_ = Button(this, "cmdContinue", QStringLiteral("&Reimbursement"));
    cmdContinue_->setDefault(true);  // Enter presses it
    cmdContinue_->hide();
    cmdDebug_ = Button(this, "cmdDebug", QStringLiteral("Debug"));
    cmdDebug_->hide();
    tabPictures_ = new QTabWidget(this);
    tabPictures_->setObjectName(QStringLiteral("tabPictures"));
    auto* schedule = new QWidget(tabPictures_);
    auto* scheduleLayout = new QHBoxLayout(schedule);
    scheduleLayout->setContentsMargins(0, 0, 0, 0);
    scheduleLayout->addWidget(SSDBGridDisc_);
    scheduleLayout->addStretch();
    tabPictures_->addTab(schedule, QStringLiteral("Schedule"));
    picTimeline_ = new PaymentTimeline(tabPictures_);
    tabPictures_->addTab(picTimeline_, QStringLiteral("Timeline"));
    picToleranceBand_ = new ToleranceBand(tabPictures_);
    tabPictures_->addTab(picToleranceBand_, QStringLiteral("Tolerance"));
    auto* side = new QVBoxLayout;
    side->addWidget(fraTolerance_);
    side->addWidget(cmdContinue_);
    side->addStretch();
    side->addWidget(cmdDebug_, 0, Qt::AlignRight);
    auto* lower = new QHBoxLayout;
    lower->setSpacing(16);
    lower->addWidget(tabPictures_, 1);
    lower->addLayout(side);

    commands_ = CommandButtons(this, {.print = "cmdPrint", .saveReport = "cmdSaveReport", .back = "cmdBack"});

    auto* layout = PageColumn(this, Sides::Narrow, kSpacing);
    layout->addWidget(Label1);
    layout->addLayout(boxes);
    layout->addLayout(facts);
    layout->addWidget(lblIntPymts_);
    layout->addWidget(notes);
    layout->addLayout(lower, 1);
    layout->addLayout(CommandRow(commands_));

    TabOrder({optTolerance_[0], optTolerance_[1], optTolerance_[2], cmdContinue_}, commands_, {cmdDebug_});

    connect(cmdContinue_, &QPushButton::clicked, this, [this] { guard([this] { onReimbursement(); }); });
    connect(commands_.back, &QPushButton::clicked, this, [this] { guard([this] { onBack(); }); });
    connect(commands_.newLoan, &QPushButton::clicked, this, [this] { guard([this] { host().NewLoan(); }); });
    connect(commands_.print, &QPushButton::clicked, this, [this] { guard([this] { printReport(); }); });
    connect(commands_.saveReport, &QPushButton::clicked, this, [this] { guard([this] { saveReport(); }); });
    connect(commands_.exit, &QPushButton::clicked, this, [this] { guard([this] { host().ExitProgram(); }); });
    connect(cmdDebug_, &QPushButton::clicked, this, [this] { guard([this] { onDebug(); }); });
}

QLabel* FrmDisclosure::verdictLabel(ResultsLabel label) const { return verdict_.at(VerdictIndex(label)); }

void FrmDisclosure::setLabelVisible(ResultsLabel label, bool visible) { verdictLabel(label)->setVisible(visible); }

void FrmDisclosure::setLabelCaption(ResultsLabel label, const std::string& caption) {
    verdictLabel(label)->setText(QString::fromStdString(caption));
}

void FrmDisclosure::setLabelColour(ResultsLabel label, LabelColour colour) {
    SetLabelColour(verdictLabel(label), colour);
}

void FrmDisclosure::selectTolerance(int index) {
    if (index < kToleranceZero || index > kToleranceQuarter) Raise(RuntimeErrorCode::SubscriptOutOfRange);
    optTolerance_[static_cast<std::size_t>(index)]->setChecked(true);
}

int FrmDisclosure::selectedTolerance() const {
    const int id = toleranceGroup_->checkedId();
    return id < 0 ? kToleranceNone : id;
}

void FrmDisclosure::setToleranceOptionVisible(int index, bool visible) {
    if (index < kToleranceZero || index > kToleranceQuarter) Raise(RuntimeErrorCode::SubscriptOutOfRange);
    optTolerance_[static_cast<std::size_t>(index)]->setVisible(visible);
}

void FrmDisclosure::setToleranceFrameVisible(bool visible) { fraTolerance_->setVisible(visible); }

bool FrmDisclosure::toleranceFrameVisible() const { return !fraTolerance_->isHidden(); }

void FrmDisclosure::setReimbursementButtonVisible(bool visible) { cmdContinue_->setVisible(visible); }

bool FrmDisclosure::reportAllowed() const { return commands_.print->isEnabled(); }

void FrmDisclosure::printReport() {
    if (!reportAllowed()) return;
    ReportPrinter(host().outputChooser(), host().user())
        .print(
            this, [this] { return ComposeReport(host()); },
            [timeline = picTimeline_->timeline(), scales = picToleranceBand_->scales()](
                QPainter& painter, const QRectF& area) { PaintPicturesPage(painter, area, timeline, scales); });
    FormSetFocus();
}

void FrmDisclosure::saveReport() {
    if (!reportAllowed()) return;
    ReportPrinter(host().outputChooser(), host().user()).save(this, [this] { return ComposeReport(host()); });
    FormSetFocus();
}

void FrmDisclosure::onActivate() {
    if (!gridBuilt_) rebuildGrid();
    // Step 3 of the activation: nothing can be printed until the figures are complete.
    commands_.print->setEnabled(false);
    commands_.saveReport->setEnabled(false);
    host().setPrintEnabled(false);
    // The disclosed finance charge as typed: on the loan terms page, or for a construction loan
    // disclosed with its permanent financing on the construction interest page.
    const QString financeCharge = record().gbConstruction ? BoxText(host(), PageId::ConstructionInterest, "txtFinChg")
                                                          : BoxText(host(), PageId::LoanTerms, "txtDiscFinChg");
    const DisclosureInputs inputs{IdentityOf(host()).preparer, financeCharge.toStdString()};
    const DisclosureOutcome outcome = ComputeDisclosureResults(record(), *this, host().user(), inputs);
    // Back from reimbursement nothing was recomputed: every control stays as it was.
    if (outcome.recomputed) {
        printable_ = outcome.printEnabled;
        showOutcome(outcome);
    }
    commands_.print->setEnabled(printable_);
    commands_.saveReport->setEnabled(printable_);
    host().setPrintEnabled(printable_);
    FormSetFocus();
}

void FrmDisclosure::showOutcome(const DisclosureOutcome& outcome) {
    if (outcome.rebuildGrid) rebuildGrid();
    const DisclosureCaptions& c = outcome.captions;
    const auto text = [](const std::string& s) { return QString::fromStdString(s); };
    lblAmount_->setText(text(c.lblAmount));
    lblFinanceChg_->setText(text(c.lblFinanceChg));
    lblTotPymts_->setText(text(c.lblTotPymts));
    lblAPR_->setText(text(c.lblAPR));
    lblAmount_->setFont(DisclosureAmountQFont(c.amountFont, font()));
    lblFinanceChg_->setFont(DisclosureAmountQFont(c.financeChargeFont, font()));
    lblTotPymts_->setFont(DisclosureAmountQFont(c.totalFont, font()));
    lblAPR_->setFont(DisclosureAmountQFont(c.aprFont, font()));
    lblAPR_->setVisible(outcome.aprVisible);
    lblFinanceChg_->setVisible(outcome.financeChargeVisible);
    lblDisclAPR_->setText(text(c.lblDisclAPR));
    lblDisclFinanceChg_->setText(text(c.lblDisclFinanceChg));
    for (QLabel* label : {lblPrepdChglbl_, lblPrepdChg_, lblSubFnceChgLbl_, lblSubFnceChg_, lblIntPymts_})
        label->setVisible(outcome.constructionChargesVisible);
    lblPrepdChg_->setText(text(c.lblPrepdChg));
    lblSubFnceChg_->setText(text(c.lblSubFnceChg));
    lblIntPymts_->setText(text(c.lblIntPymts));
    lblIrregular_->setText(text(c.lblIrregular));
    lblPymtFreqA_->setText(text(c.lblPymtFreqA));
    lblPymtFreqB_->setText(text(c.lblPymtFreqB));
    lblPymtFreqA_->setVisible(outcome.paymentFrequencyVisible);
    lblPymtFreqB_->setVisible(outcome.paymentFrequencyVisible);
    cmdDebug_->setVisible(outcome.debugVisible);
    lblAccurate_->setText(text(outcome.positiveVerdict));
    lblAccurate_->setVisible(!outcome.positiveVerdict.empty());
    picTimeline_->setTimeline(TimelinePoints(record()));
    picToleranceBand_->setScales(outcome.refused ? ToleranceScales{} : ToleranceScalesOf(record()));
}

void FrmDisclosure::rebuildGrid() {
    SSDBGridDisc_->setColumns(SetColumnsDisclosure());
    SSDBGridDisc_->setRows(DisclosureGridRows(record()));
    gridBuilt_ = true;
}

void FrmDisclosure::FormSetFocus() {
    const ResultsFocus focus =
        tallex::FormSetFocus(*this, commands_.print->isEnabled() && !commands_.print->isHidden());
    if (focus.target == ResultsFocus::Target::ToleranceOption)
        optTolerance_[static_cast<std::size_t>(focus.toleranceOption)]->setFocus(Qt::OtherFocusReason);
    else if (focus.target == ResultsFocus::Target::Print)
        commands_.print->setFocus(Qt::OtherFocusReason);
}

void FrmDisclosure::onReimbursement() {
    if (!ReimbursementToleranceChosen(record(), host().user(), selectedTolerance())) {
        // Back to the choice the user was asked to make.
        optTolerance_[static_cast<std::size_t>(kToleranceZero)]->setFocus(Qt::OtherFocusReason);
        return;
    }
    StartReimbursement(record(), selectedTolerance());
    host().SwitchForm(PageId::Reimbursement);
}

void FrmDisclosure::onBack() {
    record().gbScheduleChanged = false;
    // The schedule page puts its cursor back where it was.
    record().gbCalFilledSchedule = false;
    host().SwitchForm(PageId::Schedule);
}

void FrmDisclosure::onDebug() {
    frmDebug1 listing(CalculationListing(record()), this);
    host().modalRunner().run(listing);
}
