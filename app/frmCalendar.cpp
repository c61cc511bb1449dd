#include "frmCalendar.h"

#include "PageLayout.h"

#include "calendar/CalendarDate.h"
#include "engine/RuntimeError.h"

#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

using namespace tallex;
using page_layout::IsLeaving;
using Control = PaymentDateCalendar::Control;

namespace {

QLabel* Label(QWidget* parent, const char* name, std::string_view text) {
    auto* label = new QLabel(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())), parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

QLineEdit* DateBox(QWidget* parent, const char* name) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setInputMask(QStringLiteral("99-99-9999;_"));
    box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("00-00-00000")) + 12);
    return box;
}

QString Shown(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

frmCalendar::frmCalendar(LoanRecord& record, const Clock& clock, UserSeam& user, QWidget* parent)
    : QDialog(parent), record_(record), user_(user), session_(record, clock) {
    setObjectName(QStringLiteral("frmCalendar"));
    setWindowTitle(QString::fromLatin1(PaymentDateCalendar::kCaption.data(),
                                       static_cast<qsizetype>(PaymentDateCalendar::kCaption.size())));
    setModal(true);
    setFixedSize(kWidth, kHeight);

    auto* Label2 = Label(this, "Label2", PaymentDateCalendar::kLabel2);
    QFont bold = Label2->font();
    bold.setBold(true);
    Label2->setFont(bold);
    auto* lblLoanDt = Label(this, "lblLoanDt", PaymentDateCalendar::kLoanDateLabel);
    lblDate2_ = Label(this, "lblDate2", PaymentDateCalendar::kPaymentDateLabel);
    for (QLabel* l : {lblLoanDt, lblDate2_}) l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    mskStartDate_ = DateBox(this, "mskStartDate");
    mskEndDate_ = DateBox(this, "mskEndDate");
    lblLoanDt->setBuddy(mskStartDate_);
    lblDate2_->setBuddy(mskEndDate_);
    lblLoanWeekDay_ = Label(this, "lblLoanWeekDay", "WeekDay");
    lblPymtWeekDay_ = Label(this, "lblPymtWeekDay", "WeekDay");
    // "First && Last Dates:": a doubled ampersand shows as one.
    QString firstLast = QString::fromLatin1(PaymentDateCalendar::kFirstLastLabel.data(),
                                            static_cast<qsizetype>(PaymentDateCalendar::kFirstLastLabel.size()));
    firstLast.replace(QStringLiteral("&&"), QStringLiteral("&"));
    auto* firstLastLabel = new QLabel(firstLast, this);
    firstLastLabel->setObjectName(QStringLiteral("Label1_0"));
    firstLastLabel->setTextFormat(Qt::PlainText);
    auto* actualBetween = Label(this, "Label1_1", PaymentDateCalendar::kActualDaysBetweenLabel);
    lblActualDays_ = Label(this, "lblActualDays", "");
    lblActualDays_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblActualDays_->setFrameShape(QFrame::Panel);
    lblActualDays_->setFrameShadow(QFrame::Sunken);
    lblDateDiff_ = Label(this, "lblDateDiff", "Number of Days");
    cmdFedCalOK_ = new QPushButton(QStringLiteral("&OK"), this);
    cmdFedCalOK_->setObjectName(QStringLiteral("cmdFedCalOK"));
    cmdFedCalCancel_ = new QPushButton(QStringLiteral("&Cancel"), this);
    cmdFedCalCancel_->setObjectName(QStringLiteral("cmdFedCalCancel"));
    for (QPushButton* b : {cmdFedCalOK_, cmdFedCalCancel_}) {
        b->setAutoDefault(false);
        b->setMinimumWidth(90);
    }

    // One grid, so that the days line up under the dates.
    auto* dates = new QGridLayout;
    dates->setHorizontalSpacing(10);
    dates->setVerticalSpacing(8);
    dates->addWidget(lblLoanDt, 0, 0);
    dates->addWidget(mskStartDate_, 0, 1);
    dates->addWidget(lblLoanWeekDay_, 0, 2);
    dates->addWidget(lblDate2_, 1, 0);
    dates->addWidget(mskEndDate_, 1, 1);
    dates->addWidget(lblPymtWeekDay_, 1, 2);
    firstLastLabel->setAlignment(Qt::AlignRight | Qt::AlignBottom);
    actualBetween->setAlignment(Qt::AlignRight | Qt::AlignTop);
    dates->addWidget(firstLastLabel, 2, 0);
    dates->addWidget(actualBetween, 3, 0);
    dates->addWidget(lblActualDays_, 2, 1, 2, 1, Qt::AlignVCenter);
    dates->addWidget(lblDateDiff_, 2, 2, 2, 1, Qt::AlignVCenter);
    dates->setVerticalSpacing(6);
    dates->setRowMinimumHeight(2, 12);
    dates->setColumnMinimumWidth(2, 80);
    dates->setColumnStretch(3, 1);
    lblActualDays_->setMinimumWidth(mskStartDate_->width());

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdFedCalOK_);
    buttons->addWidget(cmdFedCalCancel_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 12, 16, 12);
    layout->setSpacing(10);
    layout->addWidget(Label2);
    layout->addLayout(dates);
    layout->addStretch();
    layout->addLayout(buttons);

    setTabOrder(mskStartDate_, mskEndDate_);
    setTabOrder(mskEndDate_, cmdFedCalOK_);
    setTabOrder(cmdFedCalOK_, cmdFedCalCancel_);
    mskStartDate_->installEventFilter(this);
    mskEndDate_->installEventFilter(this);

    connect(cmdFedCalOK_, &QPushButton::clicked, this, [this] { guarded([this] { onOk(); }); });
    connect(cmdFedCalCancel_, &QPushButton::clicked, this, [this] { guarded([this] { onCancel(); }); });
}

template <class Handler>
void frmCalendar::guarded(Handler&& handler) noexcept {
    try {
        std::forward<Handler>(handler)();
    } catch (...) {
        // The page that opened the calendar reports the error once the dialog is gone.
        record_.gbCalendarOK = false;
        QDialog::reject();
        try {
            throw;
        } catch (const RuntimeError& e) {
            pendingError_ = Error{e.number(), e.description()};
        } catch (...) {
            pendingError_ = Error{51, "Internal error"};
        }
    }
}

void frmCalendar::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (activated_) return;
    activated_ = true;
    guarded([this] { follow(session_.activate(), false); });
}

void frmCalendar::refresh() {
    const PaymentDateCalendar::Display& d = session_.display();
    lblDate2_->setText(Shown(d.lblDate2));
    for (auto [box, text] : {std::pair{mskStartDate_, &d.mskStartDate}, std::pair{mskEndDate_, &d.mskEndDate}}) {
        if (IsEmptyDateText(*text)) box->clear();
        else box->setText(Shown(*text));
    }
    lblLoanWeekDay_->setText(Shown(d.lblLoanWeekDay));
    lblPymtWeekDay_->setText(Shown(d.lblPymtWeekDay));
    lblActualDays_->setText(Shown(d.lblActualDays));
    lblDateDiff_->setText(Shown(d.lblDateDiff));
}

void frmCalendar::follow(const PaymentDateCalendar::Outcome& outcome, bool deferFocus) {
    refresh();
    if (outcome.close) {
        if (record_.gbCalendarOK) accept();
        else QDialog::reject();
        return;
    }
    QWidget* target = nullptr;
    switch (outcome.focus) {
    case Control::mskStartDate: target = mskStartDate_; break;
    case Control::mskEndDate: target = mskEndDate_; break;
    case Control::cmdFedCalOK: target = cmdFedCalOK_; break;
    case Control::cmdFedCalCancel: target = cmdFedCalCancel_; break;
    case Control::kUnchanged: break;
    }
    if (!target) return;
    if (!deferFocus) {
        target->setFocus(Qt::OtherFocusReason);
        return;
    }
    // Inside a focus change: the focus is moved once that change is over.
    QTimer::singleShot(0, target, [target = QPointer<QWidget>(target)] {
        if (target) target->setFocus(Qt::OtherFocusReason);
    });
}

bool frmCalendar::eventFilter(QObject* watched, QEvent* event) {
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (!box) return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::FocusIn) {
        SelectAllMasked(box);
    } else if (event->type() == QEvent::FocusOut && activated_ && IsLeaving(*static_cast<QFocusEvent*>(event))) {
        const Field field = box == mskStartDate_ ? Field::kLoanDate : Field::kEndDate;
        guarded([this, field] { leave(field); });
    }
    return QDialog::eventFilter(watched, event);
}

void frmCalendar::SelectAllMasked(QLineEdit* box) {
    // The caret goes to the start; a field holding typed characters has them all selected.
    QTimer::singleShot(0, box, [box = QPointer<QLineEdit>(box)] {
        if (!box || !box->hasFocus()) return;
        if (IsEmptyDateText(box->displayText().toStdString())) box->setCursorPosition(0);
        else box->selectAll();
    });
}

void frmCalendar::leave(Field field) {
    QLineEdit* box = field == Field::kLoanDate ? mskStartDate_ : mskEndDate_;
    const auto outcome = session_.leaveField(field, box->displayText().toStdString(), user_);
    refusalPending_ = outcome.focus != Control::kUnchanged;
    follow(outcome, true);
}

bool frmCalendar::buttonMayAct() {
    QWidget* focused = focusWidget();
    if (focused && focused->hasFocus() && (focused == mskStartDate_ || focused == mskEndDate_)) {
        // A button pressed by its access key: the field is left now.
        leave(focused == mskStartDate_ ? Field::kLoanDate : Field::kEndDate);
        return !refusalPending_ && isVisible();
    }
    const bool refused = refusalPending_;
    refusalPending_ = false;
    return !refused;
}

void frmCalendar::onOk() {
    if (!buttonMayAct()) return;
    follow(session_.ok(user_), false);
}

void frmCalendar::onCancel() { follow(session_.cancel(), false); }

void frmCalendar::reject() {
    // Escape and the window's close button are Cancel.
    guarded([this] { onCancel(); });
}
