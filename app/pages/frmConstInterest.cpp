#include "pages/frmConstInterest.h"
#include "CaseChoices.h"

#include "pages/EntryForm.h"
#include "pages/PageLayout.h"
#include "pages/PaymentChoice.h"

#include "CaseFile.h"

#include "construction/ConstChoices.h"
#include "engine/Format.h"
#include "entry/LoanTerms.h"

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

frmConstInterest::frmConstInterest(PageHost& pageHost, QWidget* parent)
    : Page(pageHost, "frmConstInterest", QStringLiteral("Interest"), parent) {
    form_ = new EntryForm(*this, pageHost);

    auto* Label1 = Heading(this, "Label1", QStringLiteral("Construction Interest"));
    const char* const names[] = {"txtAmtInt", "txtDiscAPR", "txtFinChg", "txtUnitPeriod"};
    for (int i = 0; i < 4; ++i) {
        boxes_[i] = TextBox(this, names[i], i == kInterestUnitPeriod ? kShortBoxWidth : kBoxWidth);
        boxes_[i]->setAlignment(Qt::AlignRight);
    }

    auto* figures = new QGridLayout;
    figures->setHorizontalSpacing(12);
    figures->setVerticalSpacing(kSpacing);
    const struct {
        const char* name;
        const char* caption;
    } labels[] = {
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
    lbl_Initial_Value_of_ = Label(this, "lbl_Initial_Value_of", QStringLiteral("Initial Value of"));
    lbl_Estimated_Construction_Interest_ =
        Label(this, "lbl_Estimated_Construction_Interest", QStringLiteral("Estimated Construction Interest:"));
    lblAmountIntInitialEstimate_ = Label(this, "lblAmountIntInitialEstimate", QString());
    lblAmountIntInitialEstimate_->setAlignment(Qt::AlignRight | Qt::AlignBottom);
    lblAmountIntInitialEstimate_->setContentsMargins(0, 0, 6, 0);
    auto* initialCaption = new QVBoxLayout;
    initialCaption->setSpacing(0);
    for (QLabel* label : {lbl_Initial_Value_of_, lbl_Estimated_Construction_Interest_}) {
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        initialCaption->addWidget(label);
    }
    for (QWidget* w :
         {static_cast<QWidget*>(lbl_Initial_Value_of_), static_cast<QWidget*>(lbl_Estimated_Construction_Interest_),
          static_cast<QWidget*>(lblAmountIntInitialEstimate_)})
        KeepRoomWhenHidden(w);
    figures->addLayout(initialCaption, 1, 0);
    figures->addWidget(lblAmountIntInitialEstimate_, 1, 1, Qt::AlignBottom);
    figures->addWidget(Label(this, "lblDisclFnceChg2", QStringLiteral("(If N/A, leave blank)")), 3, 2);
    figures->setColumnMinimumWidth(0, 210);
    figures->setColumnStretch(3, 1);

    payment_ = std::make_unique<PaymentChoice>(pageHost, *form_, this, QStringLiteral("&Installment Loan"),
                                               boxes_[kInterestUnitPeriod]);
    // A single payment is timed over half the construction period: the note says so under the
    // loan types. The frames keep their room when a construction-only loan hides them.
    lblUseOneHalf_ = Label(payment_->loanTypeFrame(), "lblUseOneHalf", QStringLiteral("(Use 1/2 construction period)"));
    KeepRoomWhenHidden(lblUseOneHalf_);
    payment_->loanTypeLayout()->insertWidget(2, lblUseOneHalf_);
    KeepRoomWhenHidden(payment_->loanTypeFrame());
    KeepRoomWhenHidden(payment_->frequencyFrame());

    commands_ = CommandButtons(this, {.continueButton = "cmdContinue", .back = "cmdBack"});

    auto* layout = PageColumn(this, Sides::Wide, kSpacing + 4);
    layout->addWidget(Label1);
    layout->addLayout(figures);
    payment_->addTo(layout);
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
    payment_->connectTo(this, [this](ChoiceGroup group, int index) { choose(group, index); });

    TabOrder({boxes_[0], boxes_[1], boxes_[2], payment_->loanTypeOption(0), payment_->loanTypeOption(1),
              payment_->frequencyOption(0), payment_->frequencyOption(1), payment_->frequencyOption(2),
              payment_->frequencyOption(3), boxes_[3], payment_->calendarButton()},
             commands_);

    // These buttons leave the box first; New Loan and Exit leave the page as it stands.
    form_->onClicked(payment_->calendarButton(), [this] { onCalendar(); });
    form_->onClicked(commands_.continueButton, [this] { onContinue(); });
    form_->onClicked(commands_.back, [this] { onBack(); });
    connect(commands_.newLoan, &QPushButton::clicked, this, [this] { guard([this] { host().NewLoan(); }); });
    connect(commands_.exit, &QPushButton::clicked, this, [this] { guard([this] { host().ExitProgram(); }); });

    // Load.
    lblUseOneHalf_->setVisible(false);
    lblAmountIntInitialEstimate_->clear();
}

frmConstInterest::~frmConstInterest() = default;

void frmConstInterest::ClearConstInterestAmount() { boxes_[kInterestAmount]->clear(); }

ConstPermanentChoice frmConstInterest::choice() const {
    ConstPermanentChoice c;
    c.singleAdvance = payment_->choice().loanType == 1;
    c.frequency = static_cast<std::int16_t>(payment_->choice().frequency);
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
    if (ConstructionOnly(record().construction)) {
        // The one payment was set up with the construction phase.
        payment_->hide();
        lblUseOneHalf_->setVisible(false);
        return;
    }
    payment_->loanTypeFrame()->setVisible(true);
    payment_->frequencyFrame()->setVisible(true);
    LoanTermsState scratch;
    payment_->show(LoanTermsLayout(record(), scratch, payment_->choice()), emptyUnitPeriod);
    lblUseOneHalf_->setVisible(payment_->choice().loanType == 1);
}

void frmConstInterest::choose(ChoiceGroup group, int index) {
    payment_->take(group, index);
    applyLayout(true);
    if (group == ChoiceGroup::LoanType) payment_->loanTypeOption(index)->setFocus(Qt::OtherFocusReason);
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
    if (withMessage)
        message(ConstInterestKeyMessage(field, payment_->unitPeriodLabel()->text().toStdString()), kStyleExclamation);
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
    LoanRecord& r = record();
    r.gbCalendarOK = false;
    // False when an error inside the calendar ended on the error screen: this page is gone.
    if (!host().openConstructionCalendar(*this)) return;
    if (r.gbErrorShown) return;
    QLineEdit* unitPeriod = boxes_[kInterestUnitPeriod];
    if (r.gbCalendarOK) {
        if (const auto text = CalendarUnitPeriodText(r)) unitPeriod->setText(QString::fromStdString(*text));
    }
    QWidget* next = unitPeriod->text().isEmpty() ? static_cast<QWidget*>(unitPeriod) : commands_.continueButton;
    next->setFocus(Qt::OtherFocusReason);
}

void frmConstInterest::onContinue() {
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

void frmConstInterest::onBack() { host().SwitchForm(PageId::ConstructionPhase); }

void frmConstInterest::writeCase(tallex::casefile::CaseFile& c) const {
    const QString estimate = boxes_[kInterestAmount]->text();
    // A money box shows "$1,000.00" once left; a case keeps the plain number.
    if (estimate != lblAmountIntInitialEstimate_->text())
        c.construction->estimatedInterest = PlainNumberText(estimate.toStdString());
    c.disclosedApr = boxes_[kInterestDisclAPR]->text().toStdString();
    c.disclosedFinanceCharge = PlainNumberText(form_->text(kInterestFinChg));
    const LoanTermsChoice& chosen = payment_->choice();
    c.loanType = chosen.loanType == 1 ? "single" : "installment";
    c.frequency = tallex::casefile::FrequencyKey(chosen.loanType == 1, chosen.frequency);
    if (boxes_[kInterestUnitPeriod]->isVisibleTo(this))
        c.unitPeriod = boxes_[kInterestUnitPeriod]->text().toStdString();
}

void frmConstInterest::showCase(const tallex::casefile::CaseFile& c, const std::string& initialEstimate,
                                bool initialEstimateShown) {
    if (!ConstructionOnly(record().construction))
        payment_->select({c.loanType == "single" ? 1 : 0, tallex::casefile::FrequencyIndex(c)});
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
