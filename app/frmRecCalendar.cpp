#include "frmRecCalendar.h"

#include "PageLayout.h"

#include "calendar/CalendarDate.h"
#include "engine/RuntimeError.h"

#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

using namespace tallex;
using page_layout::IsLeaving;
using Control = ConstructionDateCalendar::Control;

namespace {

QString Shown(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QLabel* Label(QWidget* parent, const char* name, std::string_view text) {
    auto* label = new QLabel(Shown(text), parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    return label;
}

QLineEdit* DateBox(QWidget* parent, const char* name) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setInputMask(QStringLiteral("99-99-9999;_"));
    box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("00-00-00000")) + 12);
    return box;
}

}  // namespace

frmRecCalendar::frmRecCalendar(LoanRecord& record, const Clock& clock, UserSeam& user, QWidget* parent)
    : QDialog(parent), record_(record), user_(user), session_(record, clock) {
    setObjectName(QStringLiteral("frmRecCalendar"));
    setWindowTitle(Shown(ConstructionDateCalendar::kCaption));
    setModal(true);
    setFixedSize(kWidth, kHeight);

    auto* Label2 = Label(this, "Label2", ConstructionDateCalendar::kLabel2);
    QFont bold = Label2->font();
    bold.setBold(true);
    Label2->setFont(bold);
    auto* lblLoanDt = Label(this, "lblLoanDt", ConstructionDateCalendar::kLoanDateLabel);
    auto* lblConstrEndDt = Label(this, "lblConstrEndDt", ConstructionDateCalendar::kConstrEndLabel);
    auto* lblAmortPymtDt = Label(this, "lblAmortPymtDt", ConstructionDateCalendar::kAmortPymtLabel);
    mskLoanDate_ = DateBox(this, "mskLoanDate");
    mskConstrEndDate_ = DateBox(this, "mskConstrEndDate");
    mskAmortPymtDate_ = DateBox(this, "mskAmortPymtDate");
    lblLoanWeekDay_ = Label(this, "lblLoanWeekDay", "");
    lblConstrEndWeekDay_ = Label(this, "lblConstrEndWeekDay", "");
    lblAmortPymtWeekDay_ = Label(this, "lblAmortPymtWeekDay", "");
    // "First && Last Dates:": a doubled ampersand shows as one.
    QString firstLast = Shown(ConstructionDateCalendar::kFirstLastLabel);
    firstLast.replace(QStringLiteral("&&"), QStringLiteral("&"));
    auto* firstLastLabel = new QLabel(firstLast, this);
    firstLastLabel->setObjectName(QStringLiteral("Label1_0"));
    firstLastLabel->setTextFormat(Qt::PlainText);
    auto* actualBetween = Label(this, "Label1_1", ConstructionDateCalendar::kActualDaysBetweenLabel);
    lblActualDays_ = Label(this, "lblActualDays", "");
    lblActualDays_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblActualDays_->setFrameShape(QFrame::Panel);
    lblActualDays_->setFrameShadow(QFrame::Sunken);
    cmdFedCalOK_ = new QPushButton(Shown(ConstructionDateCalendar::kOkCaption), this);
    cmdFedCalOK_->setObjectName(QStringLiteral("cmdFedCalOK"));
    cmdFedCalCancel_ = new QPushButton(Shown(ConstructionDateCalendar::kCancelCaption), this);
    cmdFedCalCancel_->setObjectName(QStringLiteral("cmdFedCalCancel"));
    for (QPushButton* b : {cmdFedCalOK_, cmdFedCalCancel_}) {
        b->setAutoDefault(false);
        b->setMinimumWidth(90);
    }

    // One grid, so that the days line up under the dates.
    auto* dates = new QGridLayout;
    dates->setHorizontalSpacing(10);
    dates->setVerticalSpacing(6);
    QLabel* const captions[] = {lblLoanDt, lblConstrEndDt, lblAmortPymtDt};
    QLineEdit* const boxes[] = {mskLoanDate_, mskConstrEndDate_, mskAmortPymtDate_};
    QLabel* const weekdays[] = {lblLoanWeekDay_, lblConstrEndWeekDay_, lblAmortPymtWeekDay_};
    for (int row = 0; row < 3; ++row) {
        captions[row]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        captions[row]->setBuddy(boxes[row]);
        dates->addWidget(captions[row], row, 0);
        dates->addWidget(boxes[row], row, 1);
        dates->addWidget(weekdays[row], row, 2);
    }
    firstLastLabel->setAlignment(Qt::AlignRight | Qt::AlignBottom);
    actualBetween->setAlignment(Qt::AlignRight | Qt::AlignTop);
    dates->addWidget(firstLastLabel, 3, 0);
    dates->addWidget(actualBetween, 4, 0);
    dates->addWidget(lblActualDays_, 3, 1, 2, 1, Qt::AlignVCenter);
    dates->setRowMinimumHeight(3, 12);
    dates->setColumnMinimumWidth(2, 80);
    dates->setColumnStretch(3, 1);
    lblActualDays_->setMinimumWidth(mskLoanDate_->width());

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdFedCalOK_);
    buttons->addWidget(cmdFedCalCancel_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 10, 16, 10);
    layout->setSpacing(8);
    layout->addWidget(Label2);
    layout->addLayout(dates);
    layout->addStretch();
    layout->addLayout(buttons);

    setTabOrder(mskLoanDate_, mskConstrEndDate_);
    setTabOrder(mskConstrEndDate_, mskAmortPymtDate_);
    setTabOrder(mskAmortPymtDate_, cmdFedCalOK_);
    setTabOrder(cmdFedCalOK_, cmdFedCalCancel_);
    for (QLineEdit* box : boxes) box->installEventFilter(this);

    connect(cmdFedCalOK_, &QPushButton::clicked, this, [this] { guarded([this] { onOk(); }); });
    connect(cmdFedCalCancel_, &QPushButton::clicked, this, [this] { guarded([this] { onCancel(); }); });
}

template <class Handler>
void frmRecCalendar::guarded(Handler&& handler) noexcept {
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

void frmRecCalendar::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (activated_) return;
    activated_ = true;
    guarded([this] { follow(session_.activate(), false); });
}

QLineEdit* frmRecCalendar::boxOf(Field field) const {
    switch (field) {
    case Field::kLoanDate: return mskLoanDate_;
    case Field::kConstrEndDate: return mskConstrEndDate_;
    case Field::kAmortPymtDate: break;
    }
    return mskAmortPymtDate_;
}

void frmRecCalendar::refresh() {
    const ConstructionDateCalendar::Display& d = session_.display();
    const std::pair<QLineEdit*, const std::string*> texts[] = {
        {mskLoanDate_, &d.mskLoanDate}, {mskConstrEndDate_, &d.mskConstrEndDate}, {mskAmortPymtDate_, &d.mskAmortPymtDate}};
    for (auto [box, text] : texts) {
        if (IsEmptyDateText(*text)) box->clear();
        else box->setText(QString::fromStdString(*text));
    }
    lblLoanWeekDay_->setText(QString::fromStdString(d.lblLoanWeekDay));
    lblConstrEndWeekDay_->setText(QString::fromStdString(d.lblConstrEndWeekDay));
    lblAmortPymtWeekDay_->setText(QString::fromStdString(d.lblAmortPymtWeekDay));
    lblActualDays_->setText(QString::fromStdString(d.lblActualDays));
}

void frmRecCalendar::follow(const ConstructionDateCalendar::Outcome& outcome, bool deferFocus) {
    refresh();
    if (outcome.close) {
        if (record_.gbCalendarOK) accept();
        else QDialog::reject();
        return;
    }
    QWidget* target = nullptr;
    switch (outcome.focus) {
    case Control::mskLoanDate: target = mskLoanDate_; break;
    case Control::mskConstrEndDate: target = mskConstrEndDate_; break;
    case Control::mskAmortPymtDate: target = mskAmortPymtDate_; break;
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

bool frmRecCalendar::eventFilter(QObject* watched, QEvent* event) {
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (!box) return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::FocusIn) {
        SelectAllMasked(box);
    } else if (event->type() == QEvent::FocusOut && activated_ && IsLeaving(*static_cast<QFocusEvent*>(event))) {
        const Field field = box == mskLoanDate_        ? Field::kLoanDate
                            : box == mskConstrEndDate_ ? Field::kConstrEndDate
                                                       : Field::kAmortPymtDate;
        guarded([this, field] { leave(field); });
    }
    return QDialog::eventFilter(watched, event);
}

void frmRecCalendar::SelectAllMasked(QLineEdit* box) {
    // The caret goes to the start; a field holding typed characters has them all selected.
    QTimer::singleShot(0, box, [box = QPointer<QLineEdit>(box)] {
        if (!box || !box->hasFocus()) return;
        if (IsEmptyDateText(box->displayText().toStdString())) box->setCursorPosition(0);
        else box->selectAll();
    });
}

void frmRecCalendar::leave(Field field) {
    const auto outcome = session_.leaveField(field, boxOf(field)->displayText().toStdString(), user_);
    refusalPending_ = outcome.focus != Control::kUnchanged;
    follow(outcome, true);
}

bool frmRecCalendar::buttonMayAct() {
    QWidget* focused = focusWidget();
    for (Field field : {Field::kLoanDate, Field::kConstrEndDate, Field::kAmortPymtDate}) {
        if (focused && focused->hasFocus() && focused == boxOf(field)) {
            // A button pressed by its access key: the field is left now.
            leave(field);
            return !refusalPending_ && isVisible();
        }
    }
    const bool refused = refusalPending_;
    refusalPending_ = false;
    return !refused;
}

void frmRecCalendar::onOk() {
    if (!buttonMayAct()) return;
    follow(session_.ok(user_), false);
}

void frmRecCalendar::onCancel() { follow(session_.cancel(), false); }

void frmRecCalendar::reject() {
    // Escape and the window's close button are Cancel.
    guarded([this] { onCancel(); });
}
