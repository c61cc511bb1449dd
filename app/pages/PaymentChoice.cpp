#include "pages/PaymentChoice.h"

#include "pages/EntryForm.h"
#include "pages/PageHost.h"
#include "pages/PageLayout.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace tallex;
using namespace page_layout;

PaymentChoice::PaymentChoice(PageHost& host, EntryForm& form, QWidget* page, const QString& installmentCaption,
                             QLineEdit* unitPeriod)
    : host_(host), unitPeriod_(unitPeriod) {
    fraLoanType_ = new QGroupBox(QStringLiteral("Loan Type"), page);
    fraLoanType_->setObjectName(QStringLiteral("fraLoanType"));
    optLoanType_[0] = Option(fraLoanType_, QStringLiteral("optLoanType_0"), installmentCaption);
    optLoanType_[1] =
        Option(fraLoanType_, QStringLiteral("optLoanType_1"), QStringLiteral("&Single Advance/Single Payment"));
    auto* typeGroup = new QButtonGroup(page);
    loanTypeLayout_ = new QVBoxLayout(fraLoanType_);
    for (int i = 0; i < 2; ++i) {
        typeGroup->addButton(optLoanType_[i], i);
        loanTypeLayout_->addWidget(optLoanType_[i]);
    }
    loanTypeLayout_->addStretch();

    fraPymtFreq_ = new QGroupBox(QStringLiteral("Payment Frequency"), page);
    fraPymtFreq_->setObjectName(QStringLiteral("fraPymtFreq"));
    auto* freqGroup = new QButtonGroup(page);
    auto* freqLayout = new QVBoxLayout(fraPymtFreq_);
    const auto captions = FrequencyCaptions(0);
    for (int i = 0; i < 4; ++i) {
        optPymtFreq_[i] =
            Option(fraPymtFreq_, QStringLiteral("optPymtFreq_%1").arg(i), QString::fromStdString(captions[i]));
        freqGroup->addButton(optPymtFreq_[i], i);
        freqLayout->addWidget(optPymtFreq_[i]);
    }
    freqLayout->addStretch();

    frames_ = new QHBoxLayout;
    frames_->setSpacing(16);
    frames_->addWidget(fraLoanType_, 1);
    frames_->addWidget(fraPymtFreq_, 1);
    const int frameHeight = fraPymtFreq_->sizeHint().height();
    fraLoanType_->setFixedHeight(frameHeight);
    fraPymtFreq_->setFixedHeight(frameHeight);

    lblUnitPeriod_ = FieldLabel(page, "lblUnitPeriod", QString());
    lblUnitPeriod_->setBuddy(unitPeriod_);
    lblUnitPeriod_->setMinimumWidth(210);
    cmdFedCal_ = Button(page, "cmdFedCal", QStringLiteral("Calenda&r"));
    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(12);
    row->addWidget(lblUnitPeriod_);
    row->addWidget(unitPeriod_);
    row->addWidget(cmdFedCal_);
    row->addStretch();
    unitRow_ = new QWidget(page);
    unitRow_->setLayout(row);
    unitRow_->setFixedHeight(cmdFedCal_->sizeHint().height());

    for (QRadioButton* option : optLoanType_) form.watch(option);
    for (QRadioButton* option : optPymtFreq_) form.watch(option);
    select(choice_);
}

void PaymentChoice::addTo(QVBoxLayout* column) const {
    column->addLayout(frames_);
    column->addWidget(unitRow_);
}

void PaymentChoice::connectTo(QWidget* page, Changed changed) {
    const auto connectGroup = [&](QRadioButton* const* options, int count, ChoiceGroup group) {
        for (int i = 0; i < count; ++i) {
            QObject::connect(options[i], &QRadioButton::clicked, page, [this, changed, group, i] {
                host_.guard([&] {
                    if (agreed(group, i)) changed(group, i);
                });
            });
        }
    };
    connectGroup(optLoanType_, 2, ChoiceGroup::LoanType);
    connectGroup(optPymtFreq_, 4, ChoiceGroup::Frequency);
    QObject::connect(unitPeriod_, &QLineEdit::textChanged, page, [this](const QString& text) {
        host_.guard([this, &text] { UnitPeriodTextChanged(host_.record(), text.toStdString()); });
    });
}

bool PaymentChoice::agreed(ChoiceGroup group, int index) {
    QRadioButton* const* options = group == ChoiceGroup::LoanType ? optLoanType_ : optPymtFreq_;
    const int chosen = group == ChoiceGroup::LoanType ? choice_.loanType : choice_.frequency;
    if (index == chosen) return false;
    if (const auto question = ChoiceChangeQuestion(host_.record(), group)) {
        if (host_.user().show(*question, kStyleOkCancelWarning) != kAnswerOk) {
            options[chosen]->setChecked(true);
            options[chosen]->setFocus(Qt::OtherFocusReason);
            return false;
        }
        host_.reloadPage(PageId::Schedule);
    }
    return true;
}

void PaymentChoice::take(ChoiceGroup group, int index) {
    if (group == ChoiceGroup::LoanType)
        choice_ = {index, 0};
    else
        choice_.frequency = index;
    ApplyChoiceChange(host_.record(), group);
    if (group == ChoiceGroup::LoanType) optPymtFreq_[0]->setChecked(true);
}

void PaymentChoice::select(const LoanTermsChoice& choice) {
    choice_ = choice;
    optLoanType_[choice_.loanType]->setChecked(true);
    optPymtFreq_[choice_.frequency]->setChecked(true);
}

void PaymentChoice::show(const LoanTermsLayoutView& view, bool emptyUnitPeriod) {
    for (std::size_t i = 0; i < 4; ++i) {
        optPymtFreq_[i]->setText(QString::fromStdString(view.frequencyCaptions[i]));
        optPymtFreq_[i]->setVisible(view.frequencyShown[i]);
        optPymtFreq_[i]->setEnabled(view.frequencyShown[i]);
    }
    lblUnitPeriod_->setText(QString::fromStdString(view.unitPeriodCaption));
    lblUnitPeriod_->setVisible(view.unitPeriodShown);
    unitPeriod_->setVisible(view.unitPeriodShown);
    if (view.unitPeriodShown && emptyUnitPeriod) unitPeriod_->clear();
    cmdFedCal_->setVisible(view.calendarShown);
    cmdFedCal_->setEnabled(view.calendarEnabled);
}

void PaymentChoice::hide() {
    fraLoanType_->setVisible(false);
    fraPymtFreq_->setVisible(false);
    unitPeriod_->setVisible(false);
    lblUnitPeriod_->clear();
    lblUnitPeriod_->setVisible(false);
    cmdFedCal_->setVisible(false);
    cmdFedCal_->setEnabled(false);
}
