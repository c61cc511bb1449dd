#include "pages/frmConstLoan.h"

#include "pages/EntryForm.h"
#include "pages/PageLayout.h"
#include "pages/SecuredLoanBoxes.h"

#include "CaseFile.h"

#include "construction/ConstChoices.h"
#include "construction/ConstLoanTerms.h"
#include "engine/Format.h"
#include "entry/LoanTerms.h"

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

frmConstLoan::frmConstLoan(PageHost& pageHost, QWidget* parent)
    : Page(pageHost, "frmConstLoan", QStringLiteral("Real Estate Construction Loan"), parent) {
    form_ = new EntryForm(*this, pageHost);

    auto* Label1 = Heading(this, "Label1", QStringLiteral("Construction Loan"));
    const char* const names[] = {"txtLoanAmt", "txtSimpleInt", "txtPrepdFinChg", "txtSubFinChg"};
    for (int i = 0; i < 4; ++i) {
        boxes_[i] = TextBox(this, names[i], kBoxWidth);
        boxes_[i]->setAlignment(Qt::AlignRight);
    }

    auto* figures = new QGridLayout;
    figures->setHorizontalSpacing(12);
    figures->setVerticalSpacing(kSpacing);
    const struct {
        const char* label;
        const char* caption;
    } labels[] = {
        {"lblLoanCmtmnt", "Loan Commitment Amount:"},
        {"lblSmplInt", "Annual Simple Interest Rate:"},
        {"lblPrepdFnceChrg", "Prepaid Finance Charge:"},
        {"lblSubFncgChrg", "Subsequently Paid Finance Charge:"},
    };
    for (int i = 0; i < 4; ++i) {
        QLabel* label = FieldLabel(this, labels[i].label, QString::fromLatin1(labels[i].caption));
        label->setBuddy(boxes_[i]);
        figures->addWidget(label, i, 0);
        figures->addWidget(boxes_[i], i, 1);
    }
    figures->addWidget(Label(this, "lblLoanCmtmnt2", QStringLiteral("(Do not include interest)")), 0, 2);
    figures->addWidget(Label(this, "lblSubFnceChrg2", QStringLiteral("(Do not include interest)")), 3, 2);
    figures->setColumnMinimumWidth(0, 230);
    figures->setColumnStretch(3, 1);

    auto* fraDiscType = new QGroupBox(QStringLiteral("Financing Disclosure Options"), this);
    fraDiscType->setObjectName(QStringLiteral("fraDiscType"));
    optDiscType_[0] =
        Option(fraDiscType, QStringLiteral("optDiscType_0"), QStringLiteral("Construction &Separately  (Part I)"));
    optDiscType_[1] =
        Option(fraDiscType, QStringLiteral("optDiscType_1"), QStringLiteral("Construction and &Permanent (Part II)"));
    auto* fraInterestType = new QGroupBox(QStringLiteral("Interest Payable"), this);
    fraInterestType->setObjectName(QStringLiteral("fraInterestType"));
    optInterestType_[0] =
        Option(fraInterestType, QStringLiteral("optInterestType_0"), QStringLiteral("On &Advances When Made"));
    optInterestType_[1] =
        Option(fraInterestType, QStringLiteral("optInterestType_1"), QStringLiteral("&On Entire Commitment"));
    auto* discGroup = new QButtonGroup(this);
    auto* interestGroup = new QButtonGroup(this);
    auto* discLayout = new QVBoxLayout(fraDiscType);
    auto* interestLayout = new QVBoxLayout(fraInterestType);
    for (int i = 0; i < 2; ++i) {
        discGroup->addButton(optDiscType_[i], i);
        interestGroup->addButton(optInterestType_[i], i);
        discLayout->addWidget(optDiscType_[i]);
        interestLayout->addWidget(optInterestType_[i]);
    }
    auto* choices = new QHBoxLayout;
    choices->setSpacing(16);
    choices->addWidget(fraDiscType, 1);
    choices->addWidget(fraInterestType, 1);

    securedBoxes_ = new SecuredLoanBoxes(pageHost, *form_, this);

    commands_ = CommandButtons(this, {.continueButton = "cmdContinue", .back = "CmdBack"});

    auto* layout = PageColumn(this, Sides::Wide, kSpacing + 6);
    layout->addWidget(Label1);
    layout->addLayout(figures);
    layout->addSpacing(kSpacing);
    layout->addLayout(choices);
    layout->addWidget(securedBoxes_);
    layout->addStretch();
    layout->addLayout(CommandRow(commands_));

    // The fields in the order of their tags (kTermsLoanAmt ..).
    for (QLineEdit* box : boxes_) form_->addBox(box);
    form_->setKeyFilter([this](int field, int key) { return filterKey(field, key); });
    form_->setLeaveCheck([this](int field) {
        leaveBox(field);
        return true;
    });
    for (QRadioButton* option : {optDiscType_[0], optDiscType_[1], optInterestType_[0], optInterestType_[1]})
        form_->watch(option);

    TabOrder({boxes_[0], boxes_[1], boxes_[2], boxes_[3], optDiscType_[0], optDiscType_[1], optInterestType_[0],
              optInterestType_[1], securedBoxes_->securedBox(), securedBoxes_->dateBox()},
             commands_);

    for (int i = 0; i < 2; ++i) {
        connect(optDiscType_[i], &QRadioButton::clicked, this,
                [this, i] { guard([this, i] { optDiscType_MouseDown(i); }); });
        connect(optInterestType_[i], &QRadioButton::clicked, this,
                [this, i] { guard([this, i] { chooseInterestType(i); }); });
    }
    // The commitment and the rate are inputs of the interest estimate.
    for (QLineEdit* box : {boxes_[kTermsLoanAmt], boxes_[kTermsSimpleInt]})
        connect(box, &QLineEdit::textChanged, this, [this] { guard([this] { host().ClearConstInterestAmount(); }); });
    // These buttons leave the box first; Exit leaves the page as it stands.
    form_->onClicked(commands_.continueButton, [this] { onContinue(); });
    form_->onClicked(commands_.back, [this] { onBack(); });
    form_->onClicked(commands_.newLoan, [this] { host().NewLoan(); });
    connect(commands_.exit, &QPushButton::clicked, this, [this] { guard([this] { host().ExitProgram(); }); });

    // Load: the choices start as the record holds them (the first of each group).
    const ConstructionChoices& c = record().construction;
    optDiscType_[c.optDiscType == kDiscWithPermanent ? 1 : 0]->setChecked(true);
    optInterestType_[c.optInterestType == kInterestOnCommitment ? 1 : 0]->setChecked(true);
    securedBoxes_->load(true);
}

void frmConstLoan::onActivate() {
    securedBoxes_->activate();
    boxes_[kTermsLoanAmt]->setMaxLength(15);
    boxes_[kTermsSimpleInt]->setMaxLength(12);
    boxes_[kTermsPrepdFinChg]->setMaxLength(15);
    boxes_[kTermsSubFinChg]->setMaxLength(15);
    ConstLoanTermsActivate(record());
    boxes_[kTermsLoanAmt]->setFocus(Qt::OtherFocusReason);
}

bool frmConstLoan::filterKey(int field, int key) {
    const EditState edit = EntryForm::EditOf(*boxes_[field]);
    // The money boxes take the disclosed finance charge's keys, the rate the disclosed APR's;
    // each refuses other keys with its own words.
    LoanTermsState scratch;
    const KeyVerdict verdict =
        field == kTermsSimpleInt ? DisclosedAprKey(scratch, edit, key) : FinanceChargeKey(scratch, edit, key);
    if (!verdict.message.empty()) message(ConstLoanTermsKeyMessage(field), kStyleExclamation);
    return !verdict.accepted;
}

void frmConstLoan::leaveBox(int field) {
    QLineEdit* box = boxes_[field];
    const ConstFieldLeave leave = ConstLoanTermsFieldCheck(field, box->text().toStdString());
    box->setText(QString::fromStdString(leave.text));
}

void frmConstLoan::optDiscType_MouseDown(int index) {
    const DiscTypeChange change = ConstDiscTypeChange(record(), host().user(), static_cast<std::int16_t>(index));
    const int chosen = record().construction.optDiscType == kDiscWithPermanent ? 1 : 0;
    optDiscType_[chosen]->setChecked(true);
    optDiscType_[chosen]->setFocus(Qt::OtherFocusReason);
    // The schedule page starts afresh on the emptied schedule.
    if (change == DiscTypeChange::ChangedScheduleCleared) host().reloadPage(PageId::Schedule);
}

void frmConstLoan::chooseInterestType(int index) {
    // Clicking the option already chosen leaves the estimate as it is.
    if (index == record().construction.optInterestType) return;
    record().construction.optInterestType = static_cast<std::int16_t>(index);
    host().ClearConstInterestAmount();
}

void frmConstLoan::onContinue() {
    const ConstContinueResult result =
        ConstLoanTermsContinue(record(), host().user(),
                               {form_->text(kTermsLoanAmt), form_->text(kTermsSimpleInt),
                                form_->text(kTermsPrepdFinChg), form_->text(kTermsSubFinChg)});
    if (result.passed)
        host().SwitchForm(PageId::ConstructionPhase);
    else
        form_->focusField(result.focusField);
}

void frmConstLoan::onBack() {
    host().session().gbBasicInfoFresh = false;
    host().SwitchForm(PageId::BasicInfo);
}

void frmConstLoan::writeCase(tallex::casefile::CaseFile& c) const {
    tallex::casefile::CaseConstruction& cc = *c.construction;
    // A money box shows "$1,000.00" once left; a case keeps the plain number.
    cc.commitment = PlainNumberText(form_->text(kTermsLoanAmt));
    // The rate as typed; only the thousands separators of its display go.
    cc.simpleRate = boxes_[kTermsSimpleInt]->text().remove(QLatin1Char(',')).toStdString();
    cc.prepaidFinanceCharge = PlainNumberText(form_->text(kTermsPrepdFinChg));
    cc.subsequentFinanceCharge = PlainNumberText(form_->text(kTermsSubFinChg));
    cc.disclosure = optDiscType_[1]->isChecked() ? "with_permanent" : "separately";
    cc.interestOn = optInterestType_[1]->isChecked() ? "commitment" : "advances";
    // The record's flags follow the two check boxes.
    c.securedByRealEstate = record().gbSecuredByRealEstate;
    c.loanDateBefore1995 = record().gbDatePre_093095;
}

void frmConstLoan::showCase(const tallex::casefile::CaseFile& c) {
    const ConstructionChoices& choices = record().construction;
    optDiscType_[choices.optDiscType == kDiscWithPermanent ? 1 : 0]->setChecked(true);
    optInterestType_[choices.optInterestType == kInterestOnCommitment ? 1 : 0]->setChecked(true);
    const tallex::casefile::CaseConstruction& cc = *c.construction;
    const std::string* const texts[] = {&cc.commitment, &cc.simpleRate, &cc.prepaidFinanceCharge,
                                        &cc.subsequentFinanceCharge};
    for (int i = 0; i < 4; ++i) {
        // The estimate the construction interest page shows is the replay's already.
        const QSignalBlocker quiet(boxes_[i]);
        boxes_[i]->setText(QString::fromStdString(*texts[i]));
    }
    // The check boxes show the record's flags as the replay set them.
    securedBoxes_->showRecord();
}
