#include "pages/frmRecDiscl.h"

#include "dialogs/ModalRunner.h"
#include "dialogs/frmDebug1.h"
#include "pages/PageLayout.h"
#include "pages/PageTexts.h"
#include "print/PicturesPage.h"
#include "print/ReportPrinter.h"
#include "widgets/EntryKeys.h"
#include "widgets/PaymentTimeline.h"
#include "widgets/ResultsStyle.h"
#include "widgets/ToleranceBand.h"

#include "compliance/CalculationListing.h"
#include "compliance/Reimbursement.h"
#include "compliance/ResultsPictures.h"
#include "construction/ConstReimbursement.h"
#include "construction/ConstResults.h"
#include "engine/RuntimeError.h"
#include "ui/ResultsView.h"

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

// The verdict labels in the order of ResultsLabel.
const char* const kVerdictNames[] = {"lblAPRViolation", "lblAPRViolAmt", "lblFinanceViolation", "lblFinanceViolAmt",
                                     "lblFinanceError"};

// The page's labels show their texts as they are.
QLabel* Plain(QWidget* parent, const char* name, const QString& text = QString()) {
    QLabel* label = Label(parent, name, text);
    label->setTextFormat(Qt::PlainText);
    return label;
}

// The tolerance tests write their verdicts straight onto the page's labels and options.
class PageResultsView final : public ResultsView {
public:
    PageResultsView(QLabel* const (&labels)[5], QRadioButton* const (&options)[3], QGroupBox* frame,
                    QPushButton* button)
        : frame_(frame), button_(button) {
        std::copy(std::begin(labels), std::end(labels), labels_);
        std::copy(std::begin(options), std::end(options), options_);
    }

    void setLabelVisible(ResultsLabel label, bool visible) override { at(label)->setVisible(visible); }
    void setLabelCaption(ResultsLabel label, const std::string& caption) override {
        at(label)->setText(QString::fromStdString(caption));
    }
    void setLabelColour(ResultsLabel label, LabelColour colour) override { SetLabelColour(at(label), colour); }
    void selectTolerance(int index) override { option(index)->setChecked(true); }
    int selectedTolerance() const override {
        for (int i = 0; i < 3; ++i)
            if (options_[i]->isChecked()) return i;
        return kToleranceNone;
    }
    void setToleranceOptionVisible(int index, bool visible) override {
        option(index)->setVisible(visible);
        option(index)->setEnabled(visible);
    }
    void setToleranceFrameVisible(bool visible) override { frame_->setVisible(visible); }
    bool toleranceFrameVisible() const override { return !frame_->isHidden(); }
    void setReimbursementButtonVisible(bool visible) override { button_->setVisible(visible); }

private:
    QLabel* at(ResultsLabel label) const { return labels_[static_cast<std::size_t>(label)]; }
    QRadioButton* option(int index) const {
        if (index < kToleranceZero || index > kToleranceQuarter) Raise(RuntimeErrorCode::SubscriptOutOfRange);
        return options_[index];
    }

    QLabel* labels_[5] = {};
    QRadioButton* options_[3] = {};
    QGroupBox* frame_;
    QPushButton* button_;
};

// One of the four disclosure boxes: its caption over its figure.
QFrame* DisclosureBox(QWidget* parent, const char* captionName, const QString& caption, QLabel*& figure,
                      const char* figureName) {
    auto* box = new QFrame(parent);
    box->setFrameShape(QFrame::Box);
    box->setFrameShadow(QFrame::Plain);
    auto* captionLabel = Plain(box, captionName, caption);
    captionLabel->setAlignment(Qt::AlignCenter);
    QFont bold = captionLabel->font();
    bold.setBold(true);
    captionLabel->setFont(bold);
    figure = Plain(box, figureName);
    figure->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(2);
    layout->addWidget(captionLabel);
    layout->addWidget(figure);
    return box;
}

}  // namespace

frmRecDiscl::frmRecDiscl(PageHost& pageHost, QWidget* parent)
    : Page(pageHost, "frmRecDiscl", QStringLiteral("Real Estate Construction Loan Disclosure Information"), parent) {
    auto* keys = new EntryKeys(pageHost.user(), this);
    auto* Label1 = Heading(this, "Label1", QStringLiteral("Disclosure Information"));

    auto* boxes = new QHBoxLayout;
    boxes->setSpacing(8);
    boxes->addWidget(DisclosureBox(this, "lblAprlbl", QStringLiteral("Annual Percentage Rate"), lblAPR_, "lblAPR"), 1);
    boxes->addWidget(
        DisclosureBox(this, "lblFinanceChrgLbl", QStringLiteral("Finance Charge"), lblFinanceChg_, "lblFinanceChg"), 1);
    boxes->addWidget(DisclosureBox(this, "lblAmountLbl", QStringLiteral("Amount Financed"), lblAmount_, "lblAmount"),
                     1);
    boxes->addWidget(
        DisclosureBox(this, "lblTotPymtsLbl", QStringLiteral("Total of Payments"), lblTotPymts_, "lblTotPymts"), 1);
    for (QLabel* figure : {lblAPR_, lblFinanceChg_, lblAmount_, lblTotPymts_}) {
        KeepRoomWhenHidden(figure);
        figure->setMinimumHeight(fontMetrics().height() + 6);
    }

    auto* disclosed = new QGridLayout;
    disclosed->setHorizontalSpacing(12);
    disclosed->setVerticalSpacing(4);
    auto* lblDisclAPRLbl = Plain(this, "lblDisclAPRLbl", QStringLiteral("Disclosed APR:"));
    auto* lblDisclFinanceChglBL = Plain(this, "lblDisclFinanceChglBL", QStringLiteral("Disclosed Finance Charge:"));
    lblPrepdChglbl_ = Plain(this, "lblPrepdChglbl", QStringLiteral("Prepaid Finance Charge:"));
    lblDisclAPR_ = Plain(this, "lblDisclAPR");
    lblDisclFinanceChg_ = Plain(this, "lblDisclFinanceChg");
    lblPrepdChg_ = Plain(this, "lblPrepdChg");
    QLabel* const captions[] = {lblDisclAPRLbl, lblDisclFinanceChglBL, lblPrepdChglbl_};
    QLabel* const figures[] = {lblDisclAPR_, lblDisclFinanceChg_, lblPrepdChg_};
    for (int i = 0; i < 3; ++i) {
        captions[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        figures[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        figures[i]->setMinimumWidth(110);
        disclosed->addWidget(captions[i], i, 0);
        disclosed->addWidget(figures[i], i, 1);
    }

    fraTolerance_ = new QGroupBox(QStringLiteral("Reimbursement Tolerance"), this);
    fraTolerance_->setObjectName(QStringLiteral("fraTolerance"));
    const char* const toleranceCaptions[] = {"&0 %", ".125 %", ".&25 %"};
    auto* toleranceGroup = new QButtonGroup(this);
    auto* toleranceLayout = new QHBoxLayout(fraTolerance_);
    for (int i = 0; i < 3; ++i) {
        optTolerance_[i] = new QRadioButton(QString::fromLatin1(toleranceCaptions[i]), fraTolerance_);
        optTolerance_[i]->setObjectName(QStringLiteral("optTolerance_%1").arg(i));
        toleranceGroup->addButton(optTolerance_[i], i);
        toleranceLayout->addWidget(optTolerance_[i]);
        keys->watch(optTolerance_[i]);
    }
    toleranceLayout->addStretch();

    // The way on to reimbursement stands under the tolerance it uses.
    cmdContinue_ = Button(this, "cmdContinue", QStringLiteral("&Reimbursement"));
    cmdContinue_->setDefault(true);  // Enter presses it
    auto* reimbursement = new QVBoxLayout;
    reimbursement->setSpacing(6);
    reimbursement->addWidget(fraTolerance_);
    reimbursement->addWidget(cmdContinue_);
    reimbursement->addStretch();
    for (QWidget* w : {static_cast<QWidget*>(fraTolerance_), static_cast<QWidget*>(cmdContinue_)}) {
        w->setFixedWidth(180);
        KeepRoomWhenHidden(w);
    }

    disclosed->setRowStretch(3, 1);
    auto* middle = new QHBoxLayout;
    middle->setSpacing(24);
    middle->addLayout(disclosed);
    middle->addStretch();
    middle->addLayout(reimbursement);

    auto* verdicts = new QGridLayout;
    verdicts->setHorizontalSpacing(12);
    verdicts->setVerticalSpacing(2);
    for (int i = 0; i < 5; ++i) {
        verdicts_[i] = Plain(this, kVerdictNames[i]);
        // As on the other results page: the verdicts stand out.
        QFont bold = verdicts_[i]->font();
        bold.setBold(true);
        verdicts_[i]->setFont(bold);
        KeepRoomWhenHidden(verdicts_[i]);
    }
    verdicts_[4]->setWordWrap(true);
    verdicts->addWidget(verdicts_[0], 0, 0);
    verdicts->addWidget(verdicts_[1], 0, 1);
    verdicts->addWidget(verdicts_[2], 1, 0);
    verdicts->addWidget(verdicts_[3], 1, 1);
    verdicts->addWidget(verdicts_[4], 2, 0, 1, 3);
    verdicts->setColumnStretch(2, 1);
    // Shown only when no verdict is: it takes the first verdict's place.
    lblAccurate_ = Plain(this, "lblAccurate");
    lblAccurate_->hide();
    verdicts->addWidget(lblAccurate_, 0, 0, 1, 3);

    // What the disclosure must say, line by line, with the amounts it quotes beside lines 3, 5
    // and 6.
    picDisclText_ = new QFrame(this);
    picDisclText_->setObjectName(QStringLiteral("picDisclText"));
    picDisclText_->setFrameShape(QFrame::StyledPanel);
    picDisclText_->setFrameShadow(QFrame::Sunken);
    auto* text = new QVBoxLayout(picDisclText_);
    text->setContentsMargins(10, 6, 10, 6);
    text->setSpacing(1);
    lblPymtAmt_ = Plain(picDisclText_, "lblPymtAmt");
    lblFinalPymtAmt_ = Plain(picDisclText_, "lblFinalPymtAmt");
    lblSubFnceChg_ = Plain(picDisclText_, "lblSubFnceChg");
    // A blank's width between a line and the amount it quotes.
    for (QLabel* amount : {lblPymtAmt_, lblFinalPymtAmt_, lblSubFnceChg_})
        amount->setContentsMargins(fontMetrics().horizontalAdvance(QLatin1Char(' ')), 0, 0, 0);
    for (int i = 0; i < 6; ++i) {
        lblDisclText_[i] = Plain(picDisclText_, QStringLiteral("lblDisclText%1").arg(i + 1).toLatin1().constData());
        lblDisclText_[i]->setMinimumHeight(fontMetrics().height());
        auto* line = new QHBoxLayout;
        line->setSpacing(0);
        line->addWidget(lblDisclText_[i]);
        if (i == 2) line->addWidget(lblPymtAmt_);
        if (i == 4) line->addWidget(lblFinalPymtAmt_);
        if (i == 5) line->addWidget(lblSubFnceChg_);
        line->addStretch();
        text->addLayout(line);
    }

    commands_ = CommandButtons(this, {.print = "cmdPrint", .saveReport = "cmdSaveReport", .back = "cmdBack"});
    cmdDebug_ = Button(this, "cmdDebug", QStringLiteral("Debug"));
    cmdDebug_->setMinimumWidth(60);
    KeepRoomWhenHidden(cmdDebug_);

    auto* layout = PageColumn(this, Sides::Narrow, kSpacing + 2);
    layout->addWidget(Label1);
    layout->addLayout(boxes);
    layout->addLayout(middle);
    layout->addLayout(verdicts);
    tabPictures_ = new QTabWidget(this);
    tabPictures_->setObjectName(QStringLiteral("tabPictures"));
    picTimeline_ = new PaymentTimeline(tabPictures_);
    tabPictures_->addTab(picTimeline_, QStringLiteral("Timeline"));
    picToleranceBand_ = new ToleranceBand(tabPictures_);
    tabPictures_->addTab(picToleranceBand_, QStringLiteral("Tolerance"));
    KeepRoomWhenHidden(tabPictures_);
    // The pictures beside the disclosure text, taking the room left on the page.
    auto* lower = new QHBoxLayout;
    lower->setSpacing(8);
    lower->addWidget(picDisclText_, 0, Qt::AlignTop);
    lower->addWidget(tabPictures_, 1);
    layout->addLayout(lower, 1);
    layout->addLayout(CommandRow(commands_, cmdDebug_));

    view_ = std::make_unique<PageResultsView>(verdicts_, optTolerance_, fraTolerance_, cmdContinue_);

    TabOrder({optTolerance_[0], optTolerance_[1], optTolerance_[2], cmdContinue_}, commands_, {cmdDebug_});

    connect(cmdContinue_, &QPushButton::clicked, this, [this] { guard([this] { onReimbursement(); }); });
    connect(commands_.print, &QPushButton::clicked, this, [this] { guard([this] { printReport(); }); });
    connect(commands_.saveReport, &QPushButton::clicked, this, [this] { guard([this] { saveReport(); }); });
    connect(cmdDebug_, &QPushButton::clicked, this, [this] { guard([this] { onDebug(); }); });
    connect(commands_.back, &QPushButton::clicked, this, [this] { guard([this] { onBack(); }); });
    connect(commands_.newLoan, &QPushButton::clicked, this, [this] { guard([this] { host().NewLoan(); }); });
    connect(commands_.exit, &QPushButton::clicked, this, [this] { guard([this] { host().ExitProgram(); }); });

    // Load: the quarter point is the tolerance offered first.
    optTolerance_[kToleranceQuarter]->setChecked(true);
    fraTolerance_->setVisible(false);
    cmdContinue_->setVisible(false);
    for (QLabel* verdict : verdicts_) verdict->setVisible(false);
}

frmRecDiscl::~frmRecDiscl() = default;

bool frmRecDiscl::reportAllowed() const { return commands_.print->isEnabled(); }

void frmRecDiscl::printReport() {
    if (!reportAllowed()) return;
    ReportPrinter(host().outputChooser(), host().user())
        .print(
            this, [this] { return ComposeReport(host()); },
            [timeline = picTimeline_->timeline(), scales = picToleranceBand_->scales()](
                QPainter& painter, const QRectF& area) { PaintPicturesPage(painter, area, timeline, scales); });
    FormSetFocus(*view_);
}

void frmRecDiscl::saveReport() {
    if (!reportAllowed()) return;
    ReportPrinter(host().outputChooser(), host().user()).save(this, [this] { return ComposeReport(host()); });
    FormSetFocus(*view_);
}

void frmRecDiscl::FormSetFocus(const ResultsView& view) {
    const ResultsFocus focus = tallex::FormSetFocus(view, commands_.print->isEnabled() && !commands_.print->isHidden());
    switch (focus.target) {
    case ResultsFocus::Target::ToleranceOption:
        if (focus.toleranceOption >= 0 && focus.toleranceOption < 3)
            optTolerance_[focus.toleranceOption]->setFocus(Qt::OtherFocusReason);
        break;
    case ResultsFocus::Target::Print: commands_.print->setFocus(Qt::OtherFocusReason); break;
    case ResultsFocus::Target::None: commands_.back->setFocus(Qt::OtherFocusReason); break;
    }
}

void frmRecDiscl::onActivate() {
    LoanRecord& r = record();
    // Nothing can be printed until the figures are complete.
    commands_.print->setEnabled(false);
    commands_.saveReport->setEnabled(false);
    host().setPrintEnabled(false);
    for (QLabel* label : {lblAPR_, lblFinanceChg_, lblAmount_, lblTotPymts_, lblPrepdChg_, lblPymtAmt_,
                          lblFinalPymtAmt_, lblSubFnceChg_})
        label->clear();
    for (QLabel* line : lblDisclText_) line->clear();
    lblPrepdChglbl_->setText(QStringLiteral("Prepaid Finance Charge:"));
    lblPrepdChglbl_->setVisible(true);
    lblPrepdChg_->setVisible(true);

    const DisclosureInputs inputs{IdentityOf(host()).preparer,
                                  BoxText(host(), PageId::ConstructionInterest, "txtFinChg").toStdString()};

    const ConstResultsOutcome out = ConstResultsActivate(r, *view_, host().user(), inputs);
    const DisclosureCaptions& cap = out.captions;
    cmdDebug_->setVisible(out.debugVisible);
    lblDisclAPR_->setText(QString::fromStdString(cap.lblDisclAPR));
    lblDisclFinanceChg_->setText(QString::fromStdString(cap.lblDisclFinanceChg));
    lblPrepdChg_->setText(QString::fromStdString(cap.lblPrepdChg));
    const std::pair<QLabel*, std::pair<const std::string*, AmountFont>> amounts[] = {
        {lblAmount_, {&cap.lblAmount, cap.amountFont}},
        {lblTotPymts_, {&cap.lblTotPymts, cap.totalFont}},
        {lblFinanceChg_, {&cap.lblFinanceChg, cap.financeChargeFont}},
        {lblAPR_, {&cap.lblAPR, cap.aprFont}},
    };
    for (const auto& [label, shown] : amounts) {
        label->setFont(DisclosureAmountQFont(shown.second, font()));
        label->setText(QString::fromStdString(*shown.first));
    }
    lblFinanceChg_->setVisible(out.financeChargeShown);
    lblAPR_->setVisible(out.resultsShown);

    for (std::size_t i = 0; i < 6; ++i) lblDisclText_[i]->setText(QString::fromStdString(out.disclosure.lines[i]));
    lblPymtAmt_->setText(QString::fromStdString(out.disclosure.lblPymtAmt));
    lblFinalPymtAmt_->setText(QString::fromStdString(out.disclosure.lblFinalPymtAmt));
    lblSubFnceChg_->setText(QString::fromStdString(out.disclosure.lblSubFnceChg));
    picDisclText_->setVisible(out.resultsShown);
    lblAccurate_->setText(QString::fromStdString(out.positiveVerdict));
    lblAccurate_->setVisible(!out.positiveVerdict.empty());
    // The pictures only of a loan whose tests ran.
    const bool tested = out.resultsShown && !out.solverFailed;
    picTimeline_->setTimeline(tested ? TimelinePoints(r) : Timeline{});
    picToleranceBand_->setScales(tested ? ToleranceScalesOf(r) : ToleranceScales{});
    tabPictures_->setVisible(tested);

    commands_.print->setEnabled(out.printEnabled);
    commands_.saveReport->setEnabled(out.printEnabled);
    host().setPrintEnabled(out.printEnabled);
    FormSetFocus(*view_);
}

void frmRecDiscl::onReimbursement() {
    if (!ReimbursementToleranceChosen(record(), host().user(), view_->selectedTolerance())) {
        // Back to the choice the user was asked to make.
        optTolerance_[kToleranceZero]->setFocus(Qt::OtherFocusReason);
        return;
    }
    // The .125 point is never offered here; the tests preselect another option.
    StartConstReimbursement(record(), view_->selectedTolerance());
    host().SwitchForm(PageId::Reimbursement);
}

void frmRecDiscl::onDebug() {
    frmDebug1 listing(CalculationListing(record()), this);
    host().modalRunner().run(listing);
}

void frmRecDiscl::onBack() { host().SwitchForm(PageId::ConstructionInterest); }
