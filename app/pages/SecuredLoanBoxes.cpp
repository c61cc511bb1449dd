#include "pages/SecuredLoanBoxes.h"

#include "pages/EntryForm.h"
#include "pages/PageHost.h"

#include <QCheckBox>
#include <QHBoxLayout>

using namespace tallex;

SecuredLoanBoxes::SecuredLoanBoxes(PageHost& host, EntryForm& form, QWidget* page) : QFrame(page), host_(host) {
    setObjectName(QStringLiteral("fraCheckBoxes"));
    secured_ = new QCheckBox(QStringLiteral("Loan Secured by Real Estate or &Dwelling"), this);
    secured_->setObjectName(QStringLiteral("chkSecuredByRealEstate"));
    date_ = new QCheckBox(QStringLiteral("Loan Date Earlier than &9/30/1995"), this);
    date_->setObjectName(QStringLiteral("chkDatePre_093095"));
    auto* checks = new QHBoxLayout(this);
    checks->setContentsMargins(0, 0, 0, 0);
    checks->addWidget(secured_);
    checks->addSpacing(16);
    checks->addWidget(date_);
    checks->addStretch();
    setFixedHeight(secured_->sizeHint().height());
    form.watch(secured_);
    form.watch(date_);

    connect(secured_, &QCheckBox::toggled, this, [this](bool on) {
        host_.guard([this, on] {
            SetSecuredByRealEstate(host_.record(), on);
            date_->setChecked(host_.record().gbDatePre_093095);
            date_->setVisible(on);
        });
    });
    connect(date_, &QCheckBox::toggled, this,
            [this](bool on) { host_.guard([this, on] { SetDatePre093095(host_.record(), on); }); });
}

void SecuredLoanBoxes::load(bool secured) {
    SetSecuredByRealEstate(host_.record(), secured);
    secured_->setChecked(secured);
    date_->setVisible(secured);
}

void SecuredLoanBoxes::activate() {
    const bool secured = secured_->isChecked();
    date_->setVisible(secured);
    SetSecuredByRealEstate(host_.record(), secured);
}

void SecuredLoanBoxes::showRecord() {
    const bool secured = host_.record().gbSecuredByRealEstate;
    const bool before1995 = host_.record().gbDatePre_093095;
    secured_->setChecked(secured);
    date_->setChecked(before1995);
    date_->setVisible(secured);
}
