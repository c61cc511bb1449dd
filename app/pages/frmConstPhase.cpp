#include "pages/frmConstPhase.h"
#include "CaseChoices.h"

#include "pages/EntryForm.h"
#include "pages/PageLayout.h"

#include "CaseFile.h"

#include "construction/ConstChoices.h"
#include "construction/ConstPhase.h"
#include "engine/Format.h"
#include "entry/LoanTerms.h"

#include <algorithm>

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

QString Number(double value) { return QString::fromStdString(ShortestNumber(value)); }

}  // namespace

frmConstPhase::frmConstPhase(PageHost& pageHost, QWidget* parent)
    : Page(pageHost, "frmConstPhase", QStringLiteral("Construction Phase Accrual System"), parent) {
    form_ = new EntryForm(*this, pageHost);

    auto* Label1 = Heading(this, "Label1", QStringLiteral("Construction Phase"));

    auto* fraIntAccrl = new QGroupBox(QStringLiteral("Construction Phase Interest Accrual"), this);
    fraIntAccrl->setObjectName(QStringLiteral("fraIntAccrl"));
    const char* const accrualCaptions[] = {"&Whole Months (360/360)", "&Actual Days  (365/365)",
                                           "Ac&tual Days  (365/360)", "&Other"};
    auto* accrualGroup = new QButtonGroup(this);
    auto* accrualLayout = new QVBoxLayout(fraIntAccrl);
    for (int i = 0; i < 4; ++i) {
        optIntAccrl_[i] =
            Option(fraIntAccrl, QStringLiteral("optIntAccrl_%1").arg(i), QString::fromLatin1(accrualCaptions[i]));
        accrualGroup->addButton(optIntAccrl_[i], i);
        accrualLayout->addWidget(optIntAccrl_[i]);
    }
    chkCompundInt_ = new QCheckBox(QStringLiteral("R&equired Interest Reserve"), this);
    chkCompundInt_->setObjectName(QStringLiteral("chkCompundInt"));
    lblCompoundInt_ = new QLabel(QStringLiteral("(Compound Interest)"), this);
    lblCompoundInt_->setObjectName(QStringLiteral("lblCompoundInt"));
    auto* reserveHolder = new QWidget(this);
    auto* reserve = new QHBoxLayout(reserveHolder);
    reserve->setContentsMargins(0, 0, 0, 0);
    reserve->addWidget(chkCompundInt_);
    reserve->addWidget(lblCompoundInt_);
    reserve->addStretch();
    // Hidden for the accrual option "other"; the rows below keep their place.
    reserveHolder->setFixedHeight(chkCompundInt_->sizeHint().height());

    fraOther_ = new QGroupBox(QStringLiteral("Basis for Measuring Loan Term"), this);
    fraOther_->setObjectName(QStringLiteral("fraOther"));
    optOther_[0] = Option(fraOther_, QStringLiteral("optOther_0"), QStringLiteral("Whole &Months"));
    optOther_[1] = Option(fraOther_, QStringLiteral("optOther_1"), QStringLiteral("Act&ual Days"));
    auto* otherGroup = new QButtonGroup(this);
    auto* otherLayout = new QVBoxLayout(fraOther_);
    for (int i = 0; i < 2; ++i) {
        otherGroup->addButton(optOther_[i], i);
        otherLayout->addWidget(optOther_[i]);
    }
    otherLayout->addStretch();

    auto* left = new QVBoxLayout;
    left->addWidget(fraIntAccrl);
    left->addWidget(reserveHolder);
    auto* right = new QVBoxLayout;
    right->addWidget(fraOther_);
    right->addStretch();
    auto* choices = new QHBoxLayout;
    choices->setSpacing(16);
    choices->addLayout(left, 1);
    choices->addLayout(right, 1);
    fraOther_->setFixedHeight(fraIntAccrl->sizeHint().height());
    // A hidden frame keeps its column.
    KeepRoomWhenHidden(fraOther_);

    fraTimePeriod_ = new QGroupBox(QStringLiteral("Construction Phase Time Period"), this);
    fraTimePeriod_->setObjectName(QStringLiteral("fraTimePeriod"));
    const char* const boxNames[] = {"txtTimePeriod", "txtUnitPeriod", "txtOddDays"};
    const char* const labelNames[] = {"lblTimePeriod", "lblUnitPeriod", "lblOddDays"};
    const QString labelTexts[] = {QStringLiteral("# of Months"), QString::fromLatin1(kUnitPeriodLabel),
                                  QString::fromLatin1(kOddDaysLabel)};
    auto* periods = new QGridLayout(fraTimePeriod_);
    periods->setHorizontalSpacing(12);
    for (int i = 0; i < 3; ++i) {
        boxes_[i] = TextBox(fraTimePeriod_, boxNames[i], kShortBoxWidth);
        boxes_[i]->setAlignment(Qt::AlignRight);
        labels_[i] = FieldLabel(fraTimePeriod_, labelNames[i], labelTexts[i]);
        labels_[i]->setBuddy(boxes_[i]);
        labels_[i]->setMinimumWidth(130);
        periods->addWidget(labels_[i], i, 0);
        periods->addWidget(boxes_[i], i, 1);
        // A hidden row keeps its height, so the frame does not jump.
        KeepRoomWhenHidden(boxes_[i]);
        KeepRoomWhenHidden(labels_[i]);
    }
    periods->setColumnStretch(2, 1);
    cmdCalendar_ = Button(this, "cmdCalendar", QStringLiteral("Calenda&r"));
    auto* timeRow = new QHBoxLayout;
    timeRow->setSpacing(16);
    timeRow->addWidget(fraTimePeriod_, 1);
    auto* calendarColumn = new QVBoxLayout;
    calendarColumn->addSpacing(fontMetrics().height());
    calendarColumn->addWidget(cmdCalendar_, 0, Qt::AlignLeft);
    calendarColumn->addStretch();
    timeRow->addLayout(calendarColumn, 1);
    KeepRoomWhenHidden(fraTimePeriod_);
    KeepRoomWhenHidden(cmdCalendar_);

    commands_ = CommandButtons(this, {.continueButton = "cmdContinue", .back = "cmdBack"});

    auto* layout = PageColumn(this, Sides::Wide, kSpacing + 4);
    layout->addWidget(Label1);
    layout->addLayout(choices);
    layout->addLayout(timeRow);
    layout->addStretch();
    layout->addLayout(CommandRow(commands_));

    // The fields in the order of their tags (kPhaseTimePeriod ..): whole numbers only.
    for (QLineEdit* box : boxes_) form_->addBox(box);
    form_->setKeyFilter([this](int field, int key) {
        if ((key >= '0' && key <= '9') || key == kKeyBackspace) return false;
        message(ConstPhaseKeyMessage(field, labels_[kPhaseTimePeriod]->text().toStdString()), kStyleExclamation);
        return true;
    });
    // The verdict counts on Continue, which checks every field again; leaving only notes it.
    form_->setLeaveCheck([this](int field) {
        ConstFieldCheck(record(), field, form_->text(field));
        return true;
    });
    for (QRadioButton* option : optIntAccrl_) form_->watch(option);
    for (QRadioButton* option : optOther_) form_->watch(option);
    form_->watch(chkCompundInt_);

    TabOrder({optIntAccrl_[0], optIntAccrl_[1], optIntAccrl_[2], optIntAccrl_[3], chkCompundInt_, optOther_[0],
              optOther_[1], boxes_[0], boxes_[1], boxes_[2], cmdCalendar_},
             commands_);

    for (int i = 0; i < 4; ++i)
        connect(optIntAccrl_[i], &QRadioButton::clicked, this, [this, i] { guard([this, i] { chooseAccrual(i); }); });
    for (int i = 0; i < 2; ++i)
        connect(optOther_[i], &QRadioButton::clicked, this, [this, i] { guard([this, i] { chooseOther(i); }); });
    connect(chkCompundInt_, &QCheckBox::clicked, this, [this](bool on) {
        guard([this, on] {
            record().construction.chkIntReserve = on;
            host().ClearConstInterestAmount();
        });
    });
    connect(boxes_[kPhaseTimePeriod], &QLineEdit::textChanged, this,
            [this] { guard([this] { timePeriodChanged(); }); });
    for (int field : {kPhaseUnitPeriods, kPhaseOddDays})
        connect(boxes_[field], &QLineEdit::textChanged, this,
                [this] { guard([this] { host().ClearConstInterestAmount(); }); });
    // These buttons leave the box first; Exit leaves the page as it stands.
    form_->onClicked(cmdCalendar_, [this] { onCalendar(); });
    form_->onClicked(commands_.continueButton, [this] { onContinue(); });
    form_->onClicked(commands_.back, [this] { onBack(); });
    form_->onClicked(commands_.newLoan, [this] { host().NewLoan(); });
    connect(commands_.exit, &QPushButton::clicked, this, [this] { guard([this] { host().ExitProgram(); }); });

    // Load: the choices as the record holds them; the unit periods and odd days hidden, disabled
    // and empty.
    const ConstructionChoices& c = record().construction;
    optIntAccrl_[std::clamp<int>(c.optIntAccrl, 0, 3)]->setChecked(true);
    optOther_[c.optOther == kOtherActualDays ? 1 : 0]->setChecked(true);
    chkCompundInt_->setChecked(c.chkIntReserve);
    for (int field : {kPhaseUnitPeriods, kPhaseOddDays}) {
        boxes_[field]->setVisible(false);
        labels_[field]->setVisible(false);
        boxes_[field]->setEnabled(false);
    }
}

void frmConstPhase::onActivate() {
    applyUnitPeriodEnabling();
    ConstPhaseActivate(record());
    applyLayout();
    for (QRadioButton* option : optIntAccrl_) {
        if (option->isChecked()) {
            option->setFocus(Qt::OtherFocusReason);
            break;
        }
    }
}

void frmConstPhase::applyLayout() {
    const ConstPhaseLayout layout = ConstPhaseLayoutFor(record().construction);
    chkCompundInt_->setVisible(layout.reserveShown);
    chkCompundInt_->setEnabled(layout.reserveShown);
    lblCompoundInt_->setVisible(layout.reserveShown);
    fraOther_->setVisible(layout.otherShown);
    fraOther_->setEnabled(layout.otherShown);
    fraTimePeriod_->setVisible(layout.timePeriodShown);
    labels_[kPhaseTimePeriod]->setText(QString::fromStdString(layout.timePeriodLabel));
    labels_[kPhaseTimePeriod]->setVisible(layout.timePeriodShown);
    boxes_[kPhaseTimePeriod]->setVisible(layout.timePeriodShown);
    cmdCalendar_->setVisible(layout.calendarShown);
    cmdCalendar_->setEnabled(layout.calendarShown);
    for (int field : {kPhaseUnitPeriods, kPhaseOddDays}) {
        labels_[field]->setVisible(layout.unitPeriodsShown);
        boxes_[field]->setVisible(layout.unitPeriodsShown);
    }
}

void frmConstPhase::applyUnitPeriodEnabling() {
    const bool enabled = ConstUnitPeriodsFollow(boxes_[kPhaseTimePeriod]->text().toStdString()).enabled;
    boxes_[kPhaseUnitPeriods]->setEnabled(enabled);
    boxes_[kPhaseOddDays]->setEnabled(enabled);
}

void frmConstPhase::timePeriodChanged() {
    host().ClearConstInterestAmount();
    const ConstUnitPeriodFields follow = ConstUnitPeriodsFollow(boxes_[kPhaseTimePeriod]->text().toStdString());
    boxes_[kPhaseUnitPeriods]->setEnabled(follow.enabled);
    boxes_[kPhaseOddDays]->setEnabled(follow.enabled);
    boxes_[kPhaseUnitPeriods]->setText(QString::fromStdString(follow.unitPeriods));
    boxes_[kPhaseOddDays]->setText(QString::fromStdString(follow.oddDays));
}

void frmConstPhase::chooseAccrual(int index) {
    // Clicking the option already chosen changes nothing, and empties nothing.
    if (index == record().construction.optIntAccrl) return;
    record().construction.optIntAccrl = static_cast<std::int16_t>(index);
    for (QLineEdit* box : boxes_) box->clear();
    host().ClearConstInterestAmount();
    applyLayout();
}

void frmConstPhase::chooseOther(int index) {
    if (index == record().construction.optOther) return;
    record().construction.optOther = static_cast<std::int16_t>(index);
    host().ClearConstInterestAmount();
    applyLayout();
    boxes_[kPhaseTimePeriod]->clear();
}

void frmConstPhase::onCalendar() {
    LoanRecord& r = record();
    r.gbCalendarOK = false;
    // False when an error inside the calendar ended on the error screen: this page is gone.
    if (!host().openPaymentCalendar(*this)) return;
    if (r.gbErrorShown) return;
    if (r.gbCalendarOK) takeCalendarResult();
    QWidget* next = boxes_[kPhaseTimePeriod]->text().isEmpty() ? static_cast<QWidget*>(boxes_[kPhaseTimePeriod])
                                                               : commands_.continueButton;
    next->setFocus(Qt::OtherFocusReason);
}

void frmConstPhase::takeCalendarResult() {
    const LoanRecord& r = record();
    const ConstructionChoices& c = r.construction;
    if (WholeMonthAccrual(c) || !ConstructionOnly(c)) {
        boxes_[kPhaseTimePeriod]->setText(Number(r.gdCalActualDays));
        boxes_[kPhaseUnitPeriods]->clear();
        boxes_[kPhaseOddDays]->clear();
    } else if (DayCountAccrual(c)) {
        // The period first: its change rule sets the other two, which the calendar then fills.
        boxes_[kPhaseTimePeriod]->setText(Number(r.gdDaysinUnitPd));
        boxes_[kPhaseUnitPeriods]->setText(Number(r.gdCalUnitPeriods));
        boxes_[kPhaseOddDays]->setText(Number(r.gdCalOddDays));
    }
}

void frmConstPhase::writeCase(tallex::casefile::CaseFile& c) const {
    tallex::casefile::CaseConstruction& cc = *c.construction;
    const ConstructionChoices& choices = record().construction;
    cc.accrual = tallex::casefile::kAccrualKeys[static_cast<std::size_t>(std::clamp<int>(choices.optIntAccrl, 0, 3))];
    cc.interestReserve = chkCompundInt_->isChecked();
    cc.termBasis = choices.optOther == kOtherActualDays ? "days" : "months";
    const ConstPhaseLayout layout = ConstPhaseLayoutFor(choices);
    cc.timePeriod = layout.timePeriodShown ? boxes_[kPhaseTimePeriod]->text().toStdString() : std::string();
    cc.unitPeriods = layout.unitPeriodsShown ? boxes_[kPhaseUnitPeriods]->text().toStdString() : std::string();
    cc.oddDays = layout.unitPeriodsShown ? boxes_[kPhaseOddDays]->text().toStdString() : std::string();
}

void frmConstPhase::showCase(const tallex::casefile::CaseFile& c) {
    const ConstructionChoices& choices = record().construction;
    optIntAccrl_[std::clamp<int>(choices.optIntAccrl, 0, 3)]->setChecked(true);
    optOther_[choices.optOther == kOtherActualDays ? 1 : 0]->setChecked(true);
    chkCompundInt_->setChecked(choices.chkIntReserve);
    applyLayout();
    const tallex::casefile::CaseConstruction& cc = *c.construction;
    const std::string* const texts[] = {&cc.timePeriod, &cc.unitPeriods, &cc.oddDays};
    for (int field = 0; field < 3; ++field) {
        // The period's change rule would put its own unit periods and odd days over the replay's.
        const QSignalBlocker quiet(boxes_[field]);
        boxes_[field]->setText(QString::fromStdString(*texts[field]));
    }
    applyUnitPeriodEnabling();
}

void frmConstPhase::onContinue() {
    const ConstContinueResult result =
        ConstPhaseContinue(record(), host().user(),
                           {form_->text(kPhaseTimePeriod), form_->text(kPhaseUnitPeriods), form_->text(kPhaseOddDays)});
    if (result.passed)
        host().SwitchForm(PageId::ConstructionInterest);
    else
        form_->focusField(result.focusField);
}

void frmConstPhase::onBack() { host().SwitchForm(PageId::ConstructionTerms); }
