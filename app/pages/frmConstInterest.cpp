#include "pages/frmConstInterest.h"
#include "CaseChoices.h"

#include "pages/EntryForm.h"
#include "pages/PageLayout.h"

#include "CaseFile.h"

#include "construction/ConstChoices.h"
#include "engine/Format.h"
#include "engine/NumberText.h"
#include "entry/LoanTerms.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>

using namespace tallex;
using namespace page_layout;

namespace {

constexpr int kBoxWidth = 150;

QLabel* Plain(QWidget* parent, const char* name, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}


// A money box shows "$1,000.00" once left; a case keeps the plain number.
std::string PlainAmount(const QString& shown) {
    const std::string text = shown.toStdString();
    const std::optional<double> value = NumericTextValue(text);
    return value ? ShortestNumber(*value) : text;
}

void KeepRoomWhenHidden(QWidget* widget) {
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
}

}  // namespace

frmConstInterest::frmConstInterest(PageHost& pageHost, QWidget* parent)
    : Page(pageHost, "frmConstInterest", QStringLiteral("Interest"), parent) {
    form_ = new EntryForm(*this, pageHost);

    auto* Label1 = Heading(this, "Label1", QStringLiteral("Construction Interest"));
    const char* const names[] = {"txtAmtInt", "txtDiscAPR", "txtFinChg", "txtUnitPeriod"};
    for (int i = 0; i < 4; ++i) {
        boxes_[i] = TextBox(this, names[i], i == kInterestUnitPeriod ? 80 : kBoxWidth);
        boxes_[i]->setAlignment(Qt::AlignRight);
    }

    auto* figures = new QGridLayout;
    figures->setHorizontalSpacing(12);
    figures->setVerticalSpacing(kSpacing);
    const struct { const char* name; const char* caption; } labels[] = {
        {"lblCnstrInt", "Estimated Construction Interest:"},
        {"lblDisclAPR", "Disclosed (or estimated) APR:"},
        {"lblDisclFnceChrg", "Disclosed Finance Charge:"},
    };
    // The initial value of the estimate stands right under the box that may change it.
    const int rowOf[] = {0, 2, 3};
    for (int i = 0; i < 3; ++i) {
        QLabel* label = FieldLabel(this, labels[i].name, QString::fromLatin1(labels[i].caption));
        label->setBuddy(boxes_[i]);
        figures->addWidget(label, rowOf[i], 0);
        figures->addWidget(boxes_[i], rowOf[i], 1);
    }
    lbl_Initial_Value_of_ = Plain(this, "lbl_Initial_Value_of", QStringLiteral("Initial Value of"));
    lbl_Estimated_Construction_Interest_ =
        Plain(this, "lbl_Estimated_Construction_Interest", QStringLiteral("Estimated Construction Interest:"));
    lblAmountIntInitialEstimate_ = Plain(this, "lblAmountIntInitialEstimate", QString());
    lblAmountIntInitialEstimate_->setAlignment(Qt::AlignRight | Qt::AlignBottom);
    lblAmountIntInitialEstimate_->setContentsMargins(0, 0, 6, 0);
    auto* initialCaption = new QVBoxLayout;
    initialCaption->setSpacing(0);
    for (QLabel* label : {lbl_Initial_Value_of_, lbl_Estimated_Construction_Interest_}) {
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        initialCaption->addWidget(label);
    }
    for (QWidget* w : {static_cast<QWidget*>(lbl_Initial_Value_of_), static_cast<QWidget*>(lbl_Estimated_Construction_Interest_),
                       static_cast<QWidget*>(lblAmountIntInitialEstimate_)})
        KeepRoomWhenHidden(w);
    figures->addLayout(initialCaption, 1, 0);
    figures->addWidget(lblAmountIntInitialEstimate_, 1, 1, Qt::AlignBottom);
    figures->addWidget(Plain(this, "lblDisclFnceChg2", QStringLiteral("(If N/A, leave blank)")), 3, 2);
    figures->setColumnMinimumWidth(0, 210);
    figures->setColumnStretch(3, 1);

    fraLoanType_ = new QGroupBox(QStringLiteral("Loan Type"), this);
    fraLoanType_->setObjectName(QStringLiteral("fraLoanType"));
    optLoanType_[0] = Option(fraLoanType_, QStringLiteral("optLoanType_0"), QStringLiteral("&Installment Loan"));
    optLoanType_[1] = Option(fraLoanType_, QStringLiteral("optLoanType_1"), QStringLiteral("&Single Advance/Single Payment"));
    auto* typeGroup = new QButtonGroup(this);
    auto* typeLayout = new QVBoxLayout(fraLoanType_);
    for (int i = 0; i < 2; ++i) {
        typeGroup->addButton(optLoanType_[i], i);
        typeLayout->addWidget(optLoanType_[i]);
    }
    lblUseOneHalf_ = Plain(fraLoanType_, "lblUseOneHalf", QStringLiteral("(Use 1/2 construction period)"));
    KeepRoomWhenHidden(lblUseOneHalf_);
    typeLayout->addWidget(lblUseOneHalf_);
    typeLayout->addStretch();

    fraPymtFreq_ = new QGroupBox(QStringLiteral("Payment Frequency"), this);
    fraPymtFreq_->setObjectName(QStringLiteral("fraPymtFreq"));
    auto* freqGroup = new QButtonGroup(this);
    auto* freqLayout = new QVBoxLayout(fraPymtFreq_);
    const auto captions = FrequencyCaptions(0);
    for (int i = 0; i < 4; ++i) {
        optPymtFreq_[i] = Option(fraPymtFreq_, QStringLiteral("optPymtFreq_%1").arg(i), QString::fromStdString(captions[i]));
        freqGroup->addButton(optPymtFreq_[i], i);
        freqLayout->addWidget(optPymtFreq_[i]);
    }
    freqLayout->addStretch();
    auto* choices = new QHBoxLayout;
    choices->setSpacing(16);
    choices->addWidget(fraLoanType_, 1);
    choices->addWidget(fraPymtFreq_, 1);
    const int frameHeight = fraPymtFreq_->sizeHint().height();
    fraLoanType_->setFixedHeight(frameHeight);
    fraPymtFreq_->setFixedHeight(frameHeight);
    KeepRoomWhenHidden(fraLoanType_);
    KeepRoomWhenHidden(fraPymtFreq_);

    lblUnitPeriod_ = FieldLabel(this, "lblUnitPeriod", QString());
    lblUnitPeriod_->setBuddy(boxes_[kInterestUnitPeriod]);
    lblUnitPeriod_->setMinimumWidth(210);
    cmdFedCal_ = Button(this, "cmdFedCal", QStringLiteral("Calenda&r"));
    auto* unitRow = new QHBoxLayout;
    unitRow->setContentsMargins(0, 0, 0, 0);
    unitRow->setSpacing(12);
    unitRow->addWidget(lblUnitPeriod_);
    unitRow->addWidget(boxes_[kInterestUnitPeriod]);
    unitRow->addWidget(cmdFedCal_);
    unitRow->addStretch();
    // The row keeps its height when its controls are hidden, so nothing below it moves.
    auto* unitHolder = new QWidget(this);
    unitHolder->setLayout(unitRow);
    unitHolder->setFixedHeight(cmdFedCal_->sizeHint().height());

    commands_ = CommandButtons(this, {.continueButton = "cmdContinue", .back = "cmdBack"});

    auto* layout = PageColumn(this, Sides::Wide, kSpacing + 4);
    layout->addWidget(Label1);
    layout->addLayout(figures);
    layout->addLayout(choices);
    layout->addWidget(unitHolder);
    layout->addStretch();
    layout->addLayout(CommandRow(commands_));

    // The fields in the order of their tags (kInterestAmount ..).
    for (QLineEdit* box : boxes_) {
        form_->addBox(box, box == boxes_[kInterestAmount] ? 25 : 20);
        // Typed, pasted or set by Open Case or the calendar: a new entry, as a key press is.
        connect(box, &QLineEdit::textChanged, this, [this] { entryState_.TextChanged(); });
    }
    form_->setKeyFilter([this](int field, int key) { return filterKey(field, key); });
    form_->setLeaveCheck([this](int field) { return leaveBox(field); });
    for (QRadioButton* option : optLoanType_) form_->watch(option);
    for (QRadioButton* option : optPymtFreq_) form_->watch(option);

    TabOrder({boxes_[0], boxes_[1], boxes_[2], optLoanType_[0], optLoanType_[1], optPymtFreq_[0], optPymtFreq_[1],
              optPymtFreq_[2], optPymtFreq_[3], boxes_[3], cmdFedCal_}, commands_);

    for (int i = 0; i < 2; ++i)
        connect(optLoanType_[i], &QRadioButton::clicked, this, [this, i] { guard([this, i] { optLoanType_MouseDown(i); }); });
    for (int i = 0; i < 4; ++i)
        connect(optPymtFreq_[i], &QRadioButton::clicked, this, [this, i] { guard([this, i] { optPymtFreq_MouseDown(i); }); });
    connect(boxes_[kInterestUnitPeriod], &QLineEdit::textChanged, this,
            [this](const QString& text) { guard([this, &text] { UnitPeriodTextChanged(record(), text.toStdString()); }); });
    connect(cmdFedCal_, &QPushButton::clicked, this, [this] { guard([this] { onCalendar(); }); });
    connect(commands_.continueButton, &QPushButton::clicked, this, [this] { guard([this] { onContinue(); }); });
    connect(commands_.back, &QPushButton::clicked, this, [this] { guard([this] { onBack(); }); });
    connect(commands_.newLoan, &QPushButton::clicked, this, [this] { guard([this] { host().NewLoan(); }); });
    connect(commands_.exit, &QPushButton::clicked, this, [this] { guard([this] { host().ExitProgram(); }); });

    // Load.
    optLoanType_[0]->setChecked(true);
    optPymtFreq_[0]->setChecked(true);
    lblUseOneHalf_->setVisible(false);
    lblAmountIntInitialEstimate_->clear();
}

void frmConstInterest::ClearConstInterestAmount() { boxes_[kInterestAmount]->clear(); }

ConstPermanentChoice frmConstInterest::choice() const {
    ConstPermanentChoice c;
    c.singleAdvance = loanType_ == 1;
    c.frequency = static_cast<std::int16_t>(frequency_);
    return c;
}

void frmConstInterest::onActivate() {
    boxes_[kInterestAmount]->setMaxLength(15);
    boxes_[kInterestDisclAPR]->setMaxLength(12);
    boxes_[kInterestFinChg]->setMaxLength(15);
    commands_.continueButton->setEnabled(true);
    const ConstInterestActivation activation = ConstInterestActivate(record());
    lblAmountIntInitialEstimate_->setText(QString::fromStdString(activation.initialEstimate));
    // An estimate the user typed stays until an input of the estimate changes.
    if (boxes_[kInterestAmount]->text().isEmpty())
        boxes_[kInterestAmount]->setText(QString::fromStdString(activation.initialEstimate));
    for (QLabel* label : {lbl_Initial_Value_of_, lbl_Estimated_Construction_Interest_, lblAmountIntInitialEstimate_})
        label->setVisible(activation.initialValueShown);
    applyLayout(false);
    entryState_ = {};
    boxes_[kInterestAmount]->setFocus(Qt::OtherFocusReason);
}

void frmConstInterest::applyLayout(bool emptyUnitPeriod) {
    QLineEdit* unitPeriod = boxes_[kInterestUnitPeriod];
    if (ConstructionOnly(record().construction)) {
        // The one payment was set up with the construction phase.
        fraLoanType_->setVisible(false);
        fraPymtFreq_->setVisible(false);
        unitPeriod->setVisible(false);
        lblUnitPeriod_->clear();
        lblUnitPeriod_->setVisible(false);
        cmdFedCal_->setVisible(false);
        cmdFedCal_->setEnabled(false);
        lblUseOneHalf_->setVisible(false);
        return;
    }
    fraLoanType_->setVisible(true);
    fraPymtFreq_->setVisible(true);
    LoanTermsState scratch;
    const LoanTermsLayoutView view = LoanTermsLayout(record(), scratch, LoanTermsChoice{loanType_, frequency_});
    for (int i = 0; i < 4; ++i) {
        optPymtFreq_[i]->setText(QString::fromStdString(view.frequencyCaptions[static_cast<std::size_t>(i)]));
        optPymtFreq_[i]->setVisible(view.frequencyShown[static_cast<std::size_t>(i)]);
        optPymtFreq_[i]->setEnabled(view.frequencyShown[static_cast<std::size_t>(i)]);
    }
    lblUnitPeriod_->setText(QString::fromStdString(view.unitPeriodCaption));
    lblUnitPeriod_->setVisible(view.unitPeriodShown);
    unitPeriod->setVisible(view.unitPeriodShown);
    if (view.unitPeriodShown && emptyUnitPeriod) unitPeriod->clear();
    cmdFedCal_->setVisible(view.calendarShown);
    cmdFedCal_->setEnabled(view.calendarEnabled);
    lblUseOneHalf_->setVisible(loanType_ == 1);
}

void frmConstInterest::optLoanType_MouseDown(int index) {
    if (index == loanType_) return;
    if (const auto question = ChoiceChangeQuestion(record(), ChoiceGroup::LoanType)) {
        if (message(*question, kStyleOkCancelWarning) != kAnswerOk) {
            optLoanType_[loanType_]->setChecked(true);
            optLoanType_[loanType_]->setFocus(Qt::OtherFocusReason);
            return;
        }
        host().reloadPage(PageId::Schedule);
    }
    loanType_ = index;
    frequency_ = 0;
    ApplyChoiceChange(record(), ChoiceGroup::LoanType);
    optPymtFreq_[0]->setChecked(true);
    applyLayout(true);
    optLoanType_[index]->setFocus(Qt::OtherFocusReason);
}

void frmConstInterest::optPymtFreq_MouseDown(int index) {
    if (index == frequency_) return;
    if (const auto question = ChoiceChangeQuestion(record(), ChoiceGroup::Frequency)) {
        if (message(*question, kStyleOkCancelWarning) != kAnswerOk) {
            optPymtFreq_[frequency_]->setChecked(true);
            optPymtFreq_[frequency_]->setFocus(Qt::OtherFocusReason);
            return;
        }
        host().reloadPage(PageId::Schedule);
    }
    frequency_ = index;
    ApplyChoiceChange(record(), ChoiceGroup::Frequency);
    applyLayout(true);
}

bool frmConstInterest::filterKey(int field, int key) {
    // A key typed in any box is a new entry: the next box left is checked again.
    entryState_.entryBad = false;
    const EditState edit = EntryForm::EditOf(*boxes_[field]);
    bool accepted = true;
    bool withMessage = false;
    switch (field) {
    case kInterestAmount: {
        const AmountKeyVerdict verdict =
            ConstInterestAmountKey(edit.text, static_cast<std::size_t>(edit.selStart), static_cast<char>(key));
        accepted = verdict == AmountKeyVerdict::Accept;
        withMessage = verdict == AmountKeyVerdict::RefuseWithMessage;
        break;
    }
    case kInterestDisclAPR:
    case kInterestFinChg: {
        LoanTermsState scratch;
        const KeyVerdict verdict =
            field == kInterestDisclAPR ? DisclosedAprKey(scratch, edit, key) : FinanceChargeKey(scratch, edit, key);
        accepted = verdict.accepted;
        withMessage = !verdict.message.empty();
        break;
    }
    default:
        accepted = (key >= '0' && key <= '9') || key == kKeyBackspace;
        withMessage = !accepted;
        break;
    }
    if (withMessage) message(ConstInterestKeyMessage(field, lblUnitPeriod_->text().toStdString()), kStyleExclamation);
    return !accepted;
}

bool frmConstInterest::leaveBox(int field) {
    QLineEdit* box = boxes_[field];
    const std::optional<ConstInterestLeave> leave =
        LeaveConstInterestField(entryState_, field, box->text().toStdString(), choice());
    if (!leave) return true;
    if (leave->text != box->text().toStdString()) box->setText(QString::fromStdString(leave->text));
    // No message here: Continue tells what is wrong.
    return leave->valid;
}

void frmConstInterest::onCalendar() {
    form_->leaveFocusedBox();
    LoanRecord& r = record();
    r.gbCalendarOK = false;
    // False when an error inside the calendar ended on the error screen: this page is gone.
    if (!host().openConstructionCalendar()) return;
    if (r.gbErrorShown) return;
    QLineEdit* unitPeriod = boxes_[kInterestUnitPeriod];
    if (r.gbCalendarOK) {
        if (const auto text = CalendarUnitPeriodText(r)) unitPeriod->setText(QString::fromStdString(*text));
    }
    QWidget* next = unitPeriod->text().isEmpty() ? static_cast<QWidget*>(unitPeriod) : commands_.continueButton;
    next->setFocus(Qt::OtherFocusReason);
}

void frmConstInterest::onContinue() {
    form_->leaveFocusedBox();
    QLineEdit* unitPeriod = boxes_[kInterestUnitPeriod];
    if (unitPeriod->isHidden()) unitPeriod->clear();
    ConstInterestEntries e;
    e.amtInt = form_->text(kInterestAmount);
    e.discAPR = form_->text(kInterestDisclAPR);
    e.finChg = form_->text(kInterestFinChg);
    e.unitPeriod = form_->text(kInterestUnitPeriod);
    e.permanent = choice();
    const ConstInterestContinueResult result = ConstInterestContinue(record(), host().user(), e);
    if (!result.check.passed) {
        form_->focusField(result.check.focusField);
        return;
    }
    if (result.reloadSchedule) host().reloadPage(PageId::Schedule);
    // The schedule page puts its cursor where a calendar left it only after a calendar of its own.
    record().gbCalFilledSchedule = false;
    host().SwitchForm(result.next == ConstInterestNext::Schedule ? PageId::Schedule : PageId::ConstructionResults);
}

void frmConstInterest::onBack() {
    form_->leaveFocusedBox();
    host().SwitchForm(PageId::ConstructionPhase);
}

void frmConstInterest::writeCase(tallex::casefile::CaseFile& c) const {
    const QString estimate = boxes_[kInterestAmount]->text();
    if (estimate != lblAmountIntInitialEstimate_->text()) c.construction->estimatedInterest = PlainAmount(estimate);
    c.disclosedApr = boxes_[kInterestDisclAPR]->text().toStdString();
    c.disclosedFinanceCharge = PlainAmount(boxes_[kInterestFinChg]->text());
    c.loanType = loanType_ == 1 ? "single" : "installment";
    c.frequency = tallex::casefile::FrequencyKey(loanType_ == 1, frequency_);
    if (boxes_[kInterestUnitPeriod]->isVisibleTo(this)) c.unitPeriod = boxes_[kInterestUnitPeriod]->text().toStdString();
}

void frmConstInterest::showCase(const tallex::casefile::CaseFile& c, const std::string& initialEstimate,
                                bool initialEstimateShown) {
    if (!ConstructionOnly(record().construction)) {
        loanType_ = c.loanType == "single" ? 1 : 0;
        frequency_ = tallex::casefile::FrequencyIndex(c);
        optLoanType_[loanType_]->setChecked(true);
        optPymtFreq_[frequency_]->setChecked(true);
    }
    lblAmountIntInitialEstimate_->setText(QString::fromStdString(initialEstimate));
    for (QLabel* label : {lbl_Initial_Value_of_, lbl_Estimated_Construction_Interest_, lblAmountIntInitialEstimate_})
        label->setVisible(initialEstimateShown);
    applyLayout(false);
    const std::string estimate = c.construction->estimatedInterest.value_or(initialEstimate);
    const std::string* const texts[] = {&estimate, &c.disclosedApr, &c.disclosedFinanceCharge, &c.unitPeriod};
    for (int field = 0; field < 4; ++field) {
        if (field == kInterestUnitPeriod && boxes_[field]->isHidden()) continue;
        // The unit period's change rule would empty the timing the replay gave stream 1.
        const QSignalBlocker quiet(boxes_[field]);
        boxes_[field]->setText(QString::fromStdString(*texts[field]));
    }
    entryState_ = {};
}
