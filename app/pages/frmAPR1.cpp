#include "pages/frmAPR1.h"

#include "pages/EntryForm.h"
#include "pages/PageLayout.h"
#include "pages/PaymentChoice.h"
#include "pages/SecuredLoanBoxes.h"

#include "CaseChoices.h"
#include "CaseFile.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

using namespace tallex;
using namespace page_layout;

frmAPR1::frmAPR1(PageHost& pageHost, QWidget* parent)
    : Page(pageHost, "frmAPR1", QStringLiteral("APR (Appendix J)"), parent) {
    form_ = new EntryForm(*this, pageHost, EntryForm::Refusal::StopsButtons);

    auto* Label1 = Heading(this, "Label1", QStringLiteral("Loan Information"));
    txtAmtFinanced_ = TextBox(this, "txtAmtFinanced", kBoxWidth);
    txtDiscAPR_ = TextBox(this, "txtDiscAPR", kBoxWidth);
    txtDiscFinChg_ = TextBox(this, "txtDiscFinChg", kBoxWidth);
    for (QLineEdit* box : {txtAmtFinanced_, txtDiscAPR_, txtDiscFinChg_}) box->setAlignment(Qt::AlignRight);
    auto* lblDisclFnceChg2 = Label(this, "lblDisclFnceChg2", QStringLiteral("(If N/A, leave blank)"));

    auto* figures = new QGridLayout;
    figures->setHorizontalSpacing(12);
    figures->setVerticalSpacing(kSpacing);
    const struct {
        const char* label;
        const char* caption;
        QLineEdit* box;
    } rows[] = {
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

    txtUnitPeriod_ = TextBox(this, "txtUnitPeriod", kShortBoxWidth);
    txtUnitPeriod_->setAlignment(Qt::AlignRight);
    payment_ =
        std::make_unique<PaymentChoice>(pageHost, *form_, this, QStringLiteral("Installment &Loan"), txtUnitPeriod_);

    securedBoxes_ = new SecuredLoanBoxes(pageHost, *form_, this);

    commands_ = CommandButtons(this, {.continueButton = "CmdContinue", .back = "CmdBack"});

    auto* layout = PageColumn(this, Sides::Wide, kSpacing + 4);
    layout->addWidget(Label1);
    layout->addLayout(figures);
    payment_->addTo(layout);
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
    payment_->connectTo(this, [this](ChoiceGroup group, int index) { choose(group, index); });

    TabOrder({txtAmtFinanced_, txtDiscAPR_, txtDiscFinChg_, payment_->loanTypeOption(0), payment_->loanTypeOption(1),
              payment_->frequencyOption(0), payment_->frequencyOption(1), payment_->frequencyOption(2),
              payment_->frequencyOption(3), txtUnitPeriod_, payment_->calendarButton(), securedBoxes_->securedBox(),
              securedBoxes_->dateBox()},
             commands_);

    // Every button leaves the box first; a refused box keeps it from acting.
    form_->onClicked(payment_->calendarButton(), [this] { onCalendar(); });
    form_->onClicked(commands_.continueButton, [this] { onContinue(); });
    form_->onClicked(commands_.back, [this] { onBack(); });
    form_->onClicked(commands_.newLoan, [this] { host().NewLoan(); });
    form_->onClicked(commands_.exit, [this] { host().ExitProgram(); });

    // Load.
    securedBoxes_->load(false);
    applyLayout();
}

frmAPR1::~frmAPR1() = default;

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
        verdict = UnitPeriodKey(state_, payment_->unitPeriodLabel()->text().toStdString(), key);
        break;
    }
    if (!verdict.message.empty()) message(verdict.message, kStyleExclamation);
    return !verdict.accepted;
}

bool frmAPR1::leaveBox(LoanTermsField field) {
    QLineEdit* box = boxOf(field);
    const FieldLeave leave =
        LeaveLoanTermsField(record(), state_, field, box->text().toStdString(), payment_->choice());
    if (leave.newText) box->setText(QString::fromStdString(*leave.newText));
    if (leave.message.empty()) return true;
    message(leave.message, kStyleExclamation);
    return false;
}

void frmAPR1::applyLayout() { payment_->show(LoanTermsLayout(record(), state_, payment_->choice()), true); }

void frmAPR1::choose(ChoiceGroup group, int index) {
    txtUnitPeriod_->clear();
    payment_->take(group, index);
    applyLayout();
    if (group == ChoiceGroup::LoanType) payment_->loanTypeOption(index)->setFocus(Qt::OtherFocusReason);
}

LoanTermsEntries frmAPR1::entries() const {
    LoanTermsEntries e;
    e.amountFinanced = txtAmtFinanced_->text().toStdString();
    e.disclosedApr = txtDiscAPR_->text().toStdString();
    e.financeCharge = txtDiscFinChg_->text().toStdString();
    e.unitPeriod = txtUnitPeriod_->text().toStdString();
    e.unitPeriodShown = !txtUnitPeriod_->isHidden();
    e.unitPeriodCaption = payment_->unitPeriodLabel()->text().toStdString();
    e.choice = payment_->choice();
    return e;
}

void frmAPR1::onCalendar() {
    record().gbCalendarOK = false;
    if (!host().openPaymentCalendar(*this)) return;
    if (record().gbCalendarOK) {
        if (const auto text = CalendarUnitPeriodText(record())) txtUnitPeriod_->setText(QString::fromStdString(*text));
        state_.validFlag(LoanTermsField::UnitPeriod) = true;
    }
    QWidget* next =
        txtUnitPeriod_->text().isEmpty() ? static_cast<QWidget*>(txtUnitPeriod_) : securedBoxes_->securedBox();
    next->setFocus(Qt::OtherFocusReason);
}

void frmAPR1::onContinue() {
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
    host().session().gbBasicInfoFresh = false;
    host().SwitchForm(PageId::BasicInfo);
}

void frmAPR1::showCase(const tallex::casefile::CaseFile& c, const LoanTermsState& checked) {
    payment_->select({c.loanType == "single" ? 1 : 0, tallex::casefile::FrequencyIndex(c)});
    applyLayout();
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
