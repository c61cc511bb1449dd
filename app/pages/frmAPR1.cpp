#include "pages/frmAPR1.h"

#include "pages/EntryForm.h"
#include "pages/PageLayout.h"
#include "pages/SecuredLoanBoxes.h"

#include "CaseChoices.h"
#include "CaseFile.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

using namespace tallex;
using namespace page_layout;

namespace {

constexpr int kBoxWidth = 150;

}  // namespace

frmAPR1::frmAPR1(PageHost& pageHost, QWidget* parent)
    : Page(pageHost, "frmAPR1", QStringLiteral("APR (Appendix J)"), parent) {
    form_ = new EntryForm(*this, pageHost, EntryForm::Refusal::StopsButtons);

    auto* Label1 = Heading(this, "Label1", QStringLiteral("Loan Information"));
    txtAmtFinanced_ = TextBox(this, "txtAmtFinanced", kBoxWidth);
    txtDiscAPR_ = TextBox(this, "txtDiscAPR", kBoxWidth);
    txtDiscFinChg_ = TextBox(this, "txtDiscFinChg", kBoxWidth);
    for (QLineEdit* box : {txtAmtFinanced_, txtDiscAPR_, txtDiscFinChg_}) box->setAlignment(Qt::AlignRight);
    auto* lblDisclFnceChg2 = new QLabel(QStringLiteral("(If N/A, leave blank)"), this);
    lblDisclFnceChg2->setObjectName(QStringLiteral("lblDisclFnceChg2"));

    auto* figures = new QGridLayout;
    figures->setHorizontalSpacing(12);
    figures->setVerticalSpacing(kSpacing);
    const struct { const char* label; const char* caption; QLineEdit* box; } rows[] = {
        {"lblAmount", "Amount Financed:", txtAmtFinanced_},
        {"lblDisclosedAPR", "Disclosed (or estimated) APR:", txtDiscAPR_},
        {"lblFinanceChg", "Disclosed Finance Charge:", txtDiscFinChg_},
    };
    int row = 0;
    for (const auto& r : rows) {
        QLabel* label = FieldLabel(this, r.label, QString::fromLatin1(r.caption));
        label->setBuddy(r.box);
        figures->addWidget(label, row, 0);
        figures->addWidget(r.box, row, 1);
        ++row;
    }
    figures->addWidget(lblDisclFnceChg2, 2, 2);
    figures->setColumnMinimumWidth(0, 210);
    figures->setColumnStretch(3, 1);

    fraLoanType_ = new QGroupBox(QStringLiteral("Loan Type"), this);
    fraLoanType_->setObjectName(QStringLiteral("fraLoanType"));
    optLoanType_[0] = Option(fraLoanType_, QStringLiteral("optLoanType_0"), QStringLiteral("Installment &Loan"));
    optLoanType_[1] = Option(fraLoanType_, QStringLiteral("optLoanType_1"), QStringLiteral("&Single Advance/Single Payment"));
    auto* typeLayout = new QVBoxLayout(fraLoanType_);
    typeLayout->addWidget(optLoanType_[0]);
    typeLayout->addWidget(optLoanType_[1]);
    typeLayout->addStretch();
    auto* typeGroup = new QButtonGroup(this);

    fraPymtFreq_ = new QGroupBox(QStringLiteral("Payment Frequency"), this);
    fraPymtFreq_->setObjectName(QStringLiteral("fraPymtFreq"));
    auto* freqLayout = new QVBoxLayout(fraPymtFreq_);
    auto* freqGroup = new QButtonGroup(this);
    const auto captions = FrequencyCaptions(0);
    for (int i = 0; i < 4; ++i) {
        optPymtFreq_[i] = Option(fraPymtFreq_, QStringLiteral("optPymtFreq_%1").arg(i), QString::fromStdString(captions[i]));
        freqLayout->addWidget(optPymtFreq_[i]);
        freqGroup->addButton(optPymtFreq_[i], i);
    }
    freqLayout->addStretch();
    for (int i = 0; i < 2; ++i) typeGroup->addButton(optLoanType_[i], i);

    auto* choices = new QHBoxLayout;
    choices->setSpacing(16);
    choices->addWidget(fraLoanType_, 1);
    choices->addWidget(fraPymtFreq_, 1);
    const int frameHeight = fraPymtFreq_->sizeHint().height();
    fraLoanType_->setFixedHeight(frameHeight);
    fraPymtFreq_->setFixedHeight(frameHeight);

    lblUnitPeriod_ = FieldLabel(this, "lblUnitPeriod", QString());
    txtUnitPeriod_ = TextBox(this, "txtUnitPeriod", 80);
    txtUnitPeriod_->setAlignment(Qt::AlignRight);
    lblUnitPeriod_->setBuddy(txtUnitPeriod_);
    lblUnitPeriod_->setMinimumWidth(210);
    cmdFedCal_ = Button(this, "cmdFedCal", QStringLiteral("Calenda&r"));
    auto* unitRow = new QHBoxLayout;
    unitRow->setSpacing(12);
    unitRow->addWidget(lblUnitPeriod_);
    unitRow->addWidget(txtUnitPeriod_);
    unitRow->addWidget(cmdFedCal_);
    unitRow->addStretch();
    // The row keeps its height when its controls are hidden, so nothing below it moves.
    auto* unitHolder = new QWidget(this);
    unitHolder->setLayout(unitRow);
    unitRow->setContentsMargins(0, 0, 0, 0);
    unitHolder->setFixedHeight(cmdFedCal_->sizeHint().height());

    securedBoxes_ = new SecuredLoanBoxes(pageHost, *form_, this);

    commands_ = CommandButtons(this, {.continueButton = "CmdContinue", .back = "CmdBack"});

    auto* layout = PageColumn(this, Sides::Wide, kSpacing + 4);
    layout->addWidget(Label1);
    layout->addLayout(figures);
    layout->addLayout(choices);
    layout->addWidget(unitHolder);
    layout->addWidget(securedBoxes_);
    layout->addStretch();
    layout->addLayout(CommandRow(commands_));

    // The fields in the order of LoanTermsField.
    for (QLineEdit* box : {txtAmtFinanced_, txtDiscAPR_, txtDiscFinChg_, txtUnitPeriod_}) {
        form_->addBox(box, box == txtAmtFinanced_ ? 25 : 20);
        // Typed, pasted or set by Open Case or the calendar: a new entry, as a key press is.
        connect(box, &QLineEdit::textChanged, this, [this] { state_.TextChanged(); });
    }
    form_->setKeyFilter([this](int field, int key) { return filterKey(static_cast<LoanTermsField>(field), key); });
    form_->setLeaveCheck([this](int field) { return leaveBox(static_cast<LoanTermsField>(field)); });
    for (QRadioButton* option : optLoanType_) form_->watch(option);
    for (QRadioButton* option : optPymtFreq_) form_->watch(option);

    TabOrder({txtAmtFinanced_, txtDiscAPR_, txtDiscFinChg_, optLoanType_[0], optLoanType_[1], optPymtFreq_[0],
              optPymtFreq_[1], optPymtFreq_[2], optPymtFreq_[3], txtUnitPeriod_, cmdFedCal_, securedBoxes_->securedBox(),
              securedBoxes_->dateBox()},
             commands_);

    for (int i = 0; i < 2; ++i)
        connect(optLoanType_[i], &QRadioButton::clicked, this, [this, i] { guard([this, i] { optLoanType_MouseDown(i); }); });
    for (int i = 0; i < 4; ++i)
        connect(optPymtFreq_[i], &QRadioButton::clicked, this, [this, i] { guard([this, i] { chooseFrequency(i); }); });
    connect(txtUnitPeriod_, &QLineEdit::textChanged, this,
            [this](const QString& text) { guard([this, &text] { UnitPeriodTextChanged(record(), text.toStdString()); }); });
    connect(cmdFedCal_, &QPushButton::clicked, this, [this] { guard([this] { onCalendar(); }); });
    connect(commands_.continueButton, &QPushButton::clicked, this, [this] { guard([this] { onContinue(); }); });
    connect(commands_.back, &QPushButton::clicked, this, [this] { guard([this] { onBack(); }); });
    connect(commands_.newLoan, &QPushButton::clicked, this, [this] {
        guard([this] {
            if (form_->leaveFocusedBox()) host().NewLoan();
        });
    });
    connect(commands_.exit, &QPushButton::clicked, this, [this] {
        guard([this] {
            if (form_->leaveFocusedBox()) host().ExitProgram();
        });
    });

    // Load.
    optLoanType_[0]->setChecked(true);
    optPymtFreq_[0]->setChecked(true);
    securedBoxes_->load(false);
    applyLayout();
}

void frmAPR1::onActivate() {
    txtAmtFinanced_->setMaxLength(15);
    txtDiscAPR_->setMaxLength(12);
    txtDiscFinChg_->setMaxLength(15);
    securedBoxes_->activate();
    txtAmtFinanced_->setFocus(Qt::OtherFocusReason);
}

QLineEdit* frmAPR1::boxOf(LoanTermsField field) const {
    switch (field) {
    case LoanTermsField::AmountFinanced: return txtAmtFinanced_;
    case LoanTermsField::DisclosedApr: return txtDiscAPR_;
    case LoanTermsField::FinanceCharge: return txtDiscFinChg_;
    case LoanTermsField::UnitPeriod: break;
    }
    return txtUnitPeriod_;
}

bool frmAPR1::filterKey(LoanTermsField field, int key) {
    const EditState edit = EntryForm::EditOf(*boxOf(field));
    KeyVerdict verdict;
    switch (field) {
    case LoanTermsField::AmountFinanced: verdict = AmountFinancedKey(state_, edit, key); break;
    case LoanTermsField::DisclosedApr: verdict = DisclosedAprKey(state_, edit, key); break;
    case LoanTermsField::FinanceCharge: verdict = FinanceChargeKey(state_, edit, key); break;
    case LoanTermsField::UnitPeriod:
        verdict = UnitPeriodKey(state_, lblUnitPeriod_->text().toStdString(), key);
        break;
    }
    if (!verdict.message.empty()) message(verdict.message, kStyleExclamation);
    return !verdict.accepted;
}

bool frmAPR1::leaveBox(LoanTermsField field) {
    QLineEdit* box = boxOf(field);
    const FieldLeave leave = LeaveLoanTermsField(record(), state_, field, box->text().toStdString(), choice_);
    if (leave.newText) box->setText(QString::fromStdString(*leave.newText));
    if (leave.message.empty()) return true;
    message(leave.message, kStyleExclamation);
    return false;
}

void frmAPR1::applyLayout() {
    const LoanTermsLayoutView view = LoanTermsLayout(record(), state_, choice_);
    for (int i = 0; i < 4; ++i) {
        optPymtFreq_[i]->setText(QString::fromStdString(view.frequencyCaptions[static_cast<std::size_t>(i)]));
        optPymtFreq_[i]->setVisible(view.frequencyShown[static_cast<std::size_t>(i)]);
        optPymtFreq_[i]->setEnabled(view.frequencyShown[static_cast<std::size_t>(i)]);
    }
    lblUnitPeriod_->setText(QString::fromStdString(view.unitPeriodCaption));
    lblUnitPeriod_->setVisible(view.unitPeriodShown);
    txtUnitPeriod_->setVisible(view.unitPeriodShown);
    if (view.unitPeriodShown) txtUnitPeriod_->clear();
    cmdFedCal_->setVisible(view.calendarShown);
    cmdFedCal_->setEnabled(view.calendarEnabled);
}

void frmAPR1::optLoanType_MouseDown(int index) {
    if (index == choice_.loanType) return;
    if (const auto question = ChoiceChangeQuestion(record(), ChoiceGroup::LoanType)) {
        if (message(*question, kStyleOkCancelWarning) != kAnswerOk) {
            optLoanType_[choice_.loanType]->setChecked(true);
            optLoanType_[choice_.loanType]->setFocus(Qt::OtherFocusReason);
            return;
        }
        host().reloadPage(PageId::Schedule);
    }
    choice_ = {index, 0};
    txtUnitPeriod_->clear();
    ApplyChoiceChange(record(), ChoiceGroup::LoanType);
    fraPymtFreq_->setVisible(true);
    optPymtFreq_[0]->setChecked(true);
    applyLayout();
    optLoanType_[index]->setFocus(Qt::OtherFocusReason);
}

void frmAPR1::chooseFrequency(int index) {
    if (index == choice_.frequency) return;
    if (const auto question = ChoiceChangeQuestion(record(), ChoiceGroup::Frequency)) {
        if (message(*question, kStyleOkCancelWarning) != kAnswerOk) {
            optPymtFreq_[choice_.frequency]->setChecked(true);
            optPymtFreq_[choice_.frequency]->setFocus(Qt::OtherFocusReason);
            return;
        }
        host().reloadPage(PageId::Schedule);
    }
    choice_.frequency = index;
    txtUnitPeriod_->clear();
    ApplyChoiceChange(record(), ChoiceGroup::Frequency);
    applyLayout();
}

LoanTermsEntries frmAPR1::entries() const {
    LoanTermsEntries e;
    e.amountFinanced = txtAmtFinanced_->text().toStdString();
    e.disclosedApr = txtDiscAPR_->text().toStdString();
    e.financeCharge = txtDiscFinChg_->text().toStdString();
    e.unitPeriod = txtUnitPeriod_->text().toStdString();
    e.unitPeriodShown = !txtUnitPeriod_->isHidden();
    e.unitPeriodCaption = lblUnitPeriod_->text().toStdString();
    e.choice = choice_;
    return e;
}

void frmAPR1::onCalendar() {
    if (!form_->leaveFocusedBox()) return;
    record().gbCalendarOK = false;
    if (!host().openPaymentCalendar()) return;
    if (record().gbCalendarOK) {
        if (const auto text = CalendarUnitPeriodText(record())) txtUnitPeriod_->setText(QString::fromStdString(*text));
        state_.validFlag(LoanTermsField::UnitPeriod) = true;
    }
    QWidget* next =
        txtUnitPeriod_->text().isEmpty() ? static_cast<QWidget*>(txtUnitPeriod_) : securedBoxes_->securedBox();
    next->setFocus(Qt::OtherFocusReason);
}

void frmAPR1::onContinue() {
    if (!form_->leaveFocusedBox()) return;
    const LoanTermsContinueResult result = LoanTermsContinue(record(), state_, entries());
    if (result.refusal) {
        QLineEdit* box = boxOf(result.refusal->field);
        message(result.refusal->message, kStyleExclamation);
        if (result.refusal->emptyField) box->clear();
        box->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (result.emptyUnitPeriod) txtUnitPeriod_->clear();
    if (result.reloadSchedule) host().reloadPage(PageId::Schedule);
    host().SwitchForm(PageId::Schedule);
}

void frmAPR1::onBack() {
    if (!form_->leaveFocusedBox()) return;
    host().session().gbBasicInfoFresh = false;
    host().SwitchForm(PageId::BasicInfo);
}

void frmAPR1::showCase(const tallex::casefile::CaseFile& c, const LoanTermsState& checked) {
    choice_ = {c.loanType == "single" ? 1 : 0, tallex::casefile::FrequencyIndex(c)};
    optLoanType_[choice_.loanType]->setChecked(true);
    fraPymtFreq_->setVisible(true);
    applyLayout();
    optPymtFreq_[choice_.frequency]->setChecked(true);
    {
        // The unit period's change rule would empty the timing the replay gave stream 1.
        const QSignalBlocker quiet(txtUnitPeriod_);
        txtAmtFinanced_->setText(QString::fromStdString(c.amountFinanced));
        txtDiscAPR_->setText(QString::fromStdString(c.disclosedApr));
        txtDiscFinChg_->setText(QString::fromStdString(c.disclosedFinanceCharge));
        if (!txtUnitPeriod_->isHidden()) txtUnitPeriod_->setText(QString::fromStdString(c.unitPeriod));
    }
    // The check boxes show the record's flags as the replay set them.
    securedBoxes_->showRecord();
    state_ = checked;
    state_.entryBad = false;
    form_->forgetRefusal();
}
