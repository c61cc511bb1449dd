#include "pages/frmBasicInfo.h"

#include "pages/EntryForm.h"
#include "pages/PageLayout.h"

#include "CaseFile.h"

#include "calendar/DateCheck.h"
#include "shell/BasicInfo.h"
#include "shell/CommonScreen.h"

#include <QButtonGroup>
#include <QDate>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace tallex;
using namespace page_layout;

namespace {

constexpr int kNameWidth = 330;

}  // namespace

frmBasicInfo::frmBasicInfo(PageHost& pageHost, const RememberedEntries& remembered, QWidget* parent)
    : Page(pageHost, "frmBasicInfo", QStringLiteral("Identifying Information"), parent) {
    form_ = new EntryForm(*this, pageHost, EntryForm::Refusal::StopsButtons);

    auto* Label1 = Heading(this, "Label1", QStringLiteral("Account Information"));
    txtUserName_ = TextBox(this, "txtUserName", kNameWidth);
    txtAcctDate_ = TextBox(this, "txtAcctDate", 110);
    txtAccountNbr_ = TextBox(this, "txtAccountNbr", 200);
    txtBorrower_ = TextBox(this, "txtBorrower", kNameWidth);
    txtLender_ = TextBox(this, "txtLender", kNameWidth);
    txtCreditor_ = TextBox(this, "txtCreditor", kNameWidth);

    auto* fields = new QGridLayout;
    fields->setHorizontalSpacing(12);
    fields->setVerticalSpacing(kSpacing);
    const struct {
        const char* label;
        const char* caption;
        QLineEdit* box;
    } rows[] = {
        {"lblUserName", "Prepared By:", txtUserName_},
        {"lblDate", "Date:", txtAcctDate_},
        {"lblAccountNbr", "Account Number:", txtAccountNbr_},
        {"lblBorrower", "Borrower Name:", txtBorrower_},
        {"lblLender", "Lender Name:", txtLender_},
        {"lblCreditor", "Original Creditor:", txtCreditor_},
    };
    int row = 0;
    for (const auto& r : rows) {
        QLabel* label = FieldLabel(this, r.label, QString::fromLatin1(r.caption));
        label->setBuddy(r.box);
        fields->addWidget(label, row, 0);
        fields->addWidget(r.box, row, 1, Qt::AlignLeft);
        ++row;
    }
    fields->setColumnMinimumWidth(0, 150);
    fields->setColumnStretch(1, 1);

    auto* Frame1 = new QGroupBox(QStringLiteral("Loan Information"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    optType_[0] = new QRadioButton(QStringLiteral(" &Regular APR"), Frame1);
    optType_[0]->setObjectName(QStringLiteral("optType_0"));
    optType_[1] = new QRadioButton(QStringLiteral(" C&onstruction Loan"), Frame1);
    optType_[1]->setObjectName(QStringLiteral("optType_1"));
    auto* typeGroup = new QButtonGroup(this);
    typeGroup->addButton(optType_[0], 0);
    typeGroup->addButton(optType_[1], 1);
    auto* frameLayout = new QHBoxLayout(Frame1);
    frameLayout->addWidget(optType_[0]);
    frameLayout->addSpacing(40);
    frameLayout->addWidget(optType_[1]);
    frameLayout->addStretch();

    commands_ = CommandButtons(this, {.continueButton = "CmdContinue", .exit = "CmdExit"});

    auto* layout = PageColumn(this, Sides::Wide, kSpacing * 2);
    layout->addWidget(Label1);
    layout->addLayout(fields);
    layout->addWidget(Frame1);
    layout->addStretch();
    layout->addLayout(CommandRow(commands_));

    for (QLineEdit* box : {txtUserName_, txtAcctDate_, txtAccountNbr_, txtBorrower_, txtLender_, txtCreditor_})
        form_->addBox(box, box == txtAcctDate_ ? 20 : -1);
    form_->setLeaveCheck([this](int field) { return leaveBox(form_->box(field)); });
    form_->watch(optType_[0]);
    form_->watch(optType_[1]);
    TabOrder(
        {txtUserName_, txtAcctDate_, txtAccountNbr_, txtBorrower_, txtLender_, txtCreditor_, optType_[0], optType_[1]},
        commands_);

    connect(optType_[0], &QRadioButton::clicked, this, [this] { guard([this] { chooseLoanKind(false); }); });
    connect(optType_[1], &QRadioButton::clicked, this, [this] { guard([this] { chooseLoanKind(true); }); });
    // Every button leaves the box first; a refused date keeps it from acting.
    form_->onClicked(commands_.continueButton, [this] { onContinue(); });
    form_->onClicked(commands_.newLoan, [this] { host().NewLoan(); });
    form_->onClicked(commands_.exit, [this] { host().ExitProgram(); });

    // Load.
    ClearCalendarDates(record());
    pageHost.session().gbBasicInfoFresh = true;
    txtUserName_->setText(QString::fromStdString(remembered.userName));
    txtLender_->setText(QString::fromStdString(remembered.lenderName));
    txtCreditor_->setText(QString::fromStdString(remembered.creditorName));
    construction_ = remembered.construction;
    optType_[construction_ ? 1 : 0]->setChecked(true);
    txtAcctDate_->setText(QDate::currentDate().toString(QStringLiteral("MM-dd-yyyy")));
}

bool frmBasicInfo::newLoanAllowed() const { return !host().session().gbBasicInfoFresh; }

void frmBasicInfo::onActivate() {
    record().gbErrorShown = false;
    const bool allowed = newLoanAllowed();
    commands_.newLoan->setEnabled(allowed);
    host().setNewLoanEnabled(allowed);
    focusFirstEmpty();
}

void frmBasicInfo::focusFirstEmpty() {
    const std::array<std::string, 5> texts = {txtUserName_->text().toStdString(), txtLender_->text().toStdString(),
                                              txtCreditor_->text().toStdString(), txtBorrower_->text().toStdString(),
                                              txtAccountNbr_->text().toStdString()};
    QLineEdit* const boxes[] = {txtUserName_, txtLender_, txtCreditor_, txtBorrower_, txtAccountNbr_, txtAcctDate_};
    boxes[static_cast<int>(FirstEmptyField(texts))]->setFocus(Qt::OtherFocusReason);
}

bool frmBasicInfo::leaveBox(QLineEdit* box) {
    if (box == txtLender_) {
        txtCreditor_->setText(QString::fromStdString(
            CreditorAfterLender(txtLender_->text().toStdString(), txtCreditor_->text().toStdString())));
    } else if (box == txtAcctDate_) {
        const std::string shown = CheckDate(record(), txtAcctDate_->text().toStdString());
        if (record().giDateError != 0) {
            message(kInvalidAccountDateMessage, kStyleExclamation);
            return false;
        }
        txtAcctDate_->setText(QString::fromStdString(shown));
    }
    return true;
}

bool frmBasicInfo::constructionSelected() const { return optType_[1]->isChecked(); }

void frmBasicInfo::chooseLoanKind(bool construction) {
    if (construction == construction_) return;
    SessionFlags& session = host().session();
    if (!session.gbBasicInfoFresh) {
        const short answer = message(LoanKindSwitchQuestion(!construction_), kStyleOkCancelWarning);
        if (answer != kAnswerOk) {
            optType_[construction_ ? 1 : 0]->setChecked(true);
            optType_[construction_ ? 1 : 0]->setFocus(Qt::OtherFocusReason);
            return;
        }
        session.gbBasicInfoFresh = true;
        host().NewLoan();
    }
    construction_ = construction;
    optType_[construction ? 1 : 0]->setChecked(true);
    optType_[construction ? 1 : 0]->setFocus(Qt::OtherFocusReason);
}

void frmBasicInfo::onContinue() {
    const bool construction = constructionSelected();
    BasicInfoContinue(record(), host().session(), construction);
    host().SwitchForm(construction ? PageId::ConstructionTerms : PageId::LoanTerms);
}

void frmBasicInfo::afterNewLoan() {
    txtBorrower_->clear();
    txtAccountNbr_->clear();
    commands_.newLoan->setEnabled(false);
    host().setNewLoanEnabled(false);
    focusFirstEmpty();
}

void frmBasicInfo::showCase(const tallex::casefile::CaseFile& c) {
    const auto show = [](QLineEdit* box, const std::string& text) { box->setText(QString::fromStdString(text)); };
    show(txtUserName_, c.preparer);
    if (!c.date.empty()) show(txtAcctDate_, c.date);
    show(txtAccountNbr_, c.account);
    show(txtBorrower_, c.borrower);
    show(txtLender_, c.lender);
    show(txtCreditor_, c.creditor);
    construction_ = c.kind == "construction";
    optType_[construction_ ? 1 : 0]->setChecked(true);
    form_->forgetRefusal();
}

RememberedEntries frmBasicInfo::rememberedEntries() const {
    RememberedEntries entries;
    entries.userName = txtUserName_->text().toStdString();
    entries.lenderName = txtLender_->text().toStdString();
    entries.creditorName = txtCreditor_->text().toStdString();
    entries.construction = constructionSelected();
    return entries;
}

ReportIdentity frmBasicInfo::identity() const {
    return {txtUserName_->text().toStdString(), txtAcctDate_->text().toStdString(),
            txtBorrower_->text().toStdString(), txtAccountNbr_->text().toStdString(),
            txtLender_->text().toStdString(),   txtCreditor_->text().toStdString()};
}
