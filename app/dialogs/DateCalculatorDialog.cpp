#include "dialogs/DateCalculatorDialog.h"

#include "pages/PageLayout.h"

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

DateCalculatorDialog::DateCalculatorDialog(const Form& form, LoanRecord& record, UserSeam& user, QWidget* parent)
    : QDialog(parent), user_(user), record_(record) {
    setObjectName(QString::fromLatin1(form.name));
    setWindowTitle(Shown(DateCalculatorTexts::kCaption));
    setModal(true);
    setFixedSize(kWidth, kHeight);

    auto* Label2 = Label(this, "Label2", DateCalculatorTexts::kLabel2);
    QFont bold = Label2->font();
    bold.setBold(true);
    Label2->setFont(bold);
    std::vector<QLabel*> captions;
    for (const DateRow& row : form.rows) captions.push_back(Label(this, row.caption, row.captionText));
    for (const DateRow& row : form.rows) boxes_.push_back(DateBox(this, row.box));
    for (const DateRow& row : form.rows) weekdays_.push_back(Label(this, row.weekday, form.weekdayText));
    // "First && Last Dates:": a doubled ampersand shows as one.
    QString firstLast = Shown(DateCalculatorTexts::kFirstLastLabel);
    firstLast.replace(QStringLiteral("&&"), QStringLiteral("&"));
    auto* firstLastLabel = new QLabel(firstLast, this);
    firstLastLabel->setObjectName(QStringLiteral("Label1_0"));
    firstLastLabel->setTextFormat(Qt::PlainText);
    auto* actualBetween = Label(this, "Label1_1", DateCalculatorTexts::kActualDaysBetweenLabel);
    lblActualDays_ = Label(this, "lblActualDays", "");
    lblActualDays_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblActualDays_->setFrameShape(QFrame::Panel);
    lblActualDays_->setFrameShadow(QFrame::Sunken);
    QLabel* daysNote = form.daysNote ? Label(this, form.daysNote, form.daysNoteText) : nullptr;
    cmdFedCalOK_ = new QPushButton(Shown(DateCalculatorTexts::kOkCaption), this);
    cmdFedCalOK_->setObjectName(QStringLiteral("cmdFedCalOK"));
    cmdFedCalCancel_ = new QPushButton(Shown(DateCalculatorTexts::kCancelCaption), this);
    cmdFedCalCancel_->setObjectName(QStringLiteral("cmdFedCalCancel"));
    for (QPushButton* b : {cmdFedCalOK_, cmdFedCalCancel_}) {
        b->setAutoDefault(false);
        b->setMinimumWidth(90);
    }

    // One grid, so that the days line up under the dates.
    auto* dates = new QGridLayout;
    dates->setHorizontalSpacing(10);
    dates->setVerticalSpacing(6);
    const int rows = static_cast<int>(form.rows.size());
    for (int row = 0; row < rows; ++row) {
        const auto i = static_cast<std::size_t>(row);
        captions[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        captions[i]->setBuddy(boxes_[i]);
        dates->addWidget(captions[i], row, 0);
        dates->addWidget(boxes_[i], row, 1);
        dates->addWidget(weekdays_[i], row, 2);
    }
    firstLastLabel->setAlignment(Qt::AlignRight | Qt::AlignBottom);
    actualBetween->setAlignment(Qt::AlignRight | Qt::AlignTop);
    dates->addWidget(firstLastLabel, rows, 0);
    dates->addWidget(actualBetween, rows + 1, 0);
    dates->addWidget(lblActualDays_, rows, 1, 2, 1, Qt::AlignVCenter);
    if (daysNote) dates->addWidget(daysNote, rows, 2, 2, 1, Qt::AlignVCenter);
    dates->setRowMinimumHeight(rows, 12);
    dates->setColumnMinimumWidth(2, 80);
    dates->setColumnStretch(3, 1);
    lblActualDays_->setMinimumWidth(boxes_.front()->width());

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdFedCalOK_);
    buttons->addWidget(cmdFedCalCancel_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, form.margin, 16, form.margin);
    layout->setSpacing(form.spacing);
    layout->addWidget(Label2);
    layout->addLayout(dates);
    layout->addStretch();
    layout->addLayout(buttons);

    for (std::size_t i = 0; i + 1 < boxes_.size(); ++i) setTabOrder(boxes_[i], boxes_[i + 1]);
    setTabOrder(boxes_.back(), cmdFedCalOK_);
    setTabOrder(cmdFedCalOK_, cmdFedCalCancel_);
    for (QLineEdit* box : boxes_) box->installEventFilter(this);

    connect(cmdFedCalOK_, &QPushButton::clicked, this, [this] { guarded([this] { onOk(); }); });
    connect(cmdFedCalCancel_, &QPushButton::clicked, this, [this] { guarded([this] { onCancel(); }); });
}

template <class Handler>
void DateCalculatorDialog::guarded(Handler&& handler) noexcept {
    try {
        std::forward<Handler>(handler)();
    } catch (...) {
        // The page that opened the calendar reports the error once the dialog is gone.
        record_.gbCalendarOK = false;
        QDialog::reject();
        const RuntimeError error = RuntimeErrorOf(std::current_exception());
        pendingError_ = Error{error.number(), error.description()};
    }
}

void DateCalculatorDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (activated_) return;
    activated_ = true;
    guarded([this] { follow(activateSession(), false); });
}

QWidget* DateCalculatorDialog::boxWidget(std::size_t row) const { return boxes_[row]; }
QWidget* DateCalculatorDialog::okWidget() const { return cmdFedCalOK_; }
QWidget* DateCalculatorDialog::cancelWidget() const { return cmdFedCalCancel_; }

void DateCalculatorDialog::refresh() {
    for (auto [box, text] : boxTexts_) {
        if (IsEmptyDateText(*text))
            box->clear();
        else
            box->setText(QString::fromStdString(*text));
    }
    for (auto [label, text] : labelTexts_) label->setText(QString::fromStdString(*text));
}

void DateCalculatorDialog::follow(const Step& step, bool deferFocus) {
    refresh();
    if (step.close) {
        if (record_.gbCalendarOK)
            accept();
        else
            QDialog::reject();
        return;
    }
    QWidget* target = step.focus;
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

bool DateCalculatorDialog::eventFilter(QObject* watched, QEvent* event) {
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (!box) return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::FocusIn) {
        SelectAllMasked(box);
    } else if (event->type() == QEvent::FocusOut && activated_ && IsLeaving(*static_cast<QFocusEvent*>(event))) {
        for (std::size_t row = 0; row < boxes_.size(); ++row)
            if (box == boxes_[row]) guarded([this, row] { leave(row); });
    }
    return QDialog::eventFilter(watched, event);
}

void DateCalculatorDialog::SelectAllMasked(QLineEdit* box) {
    // The caret goes to the start; a field holding typed characters has them all selected.
    QTimer::singleShot(0, box, [box = QPointer<QLineEdit>(box)] {
        if (!box || !box->hasFocus()) return;
        if (IsEmptyDateText(box->displayText().toStdString()))
            box->setCursorPosition(0);
        else
            box->selectAll();
    });
}

void DateCalculatorDialog::leave(std::size_t row) {
    const Step step = leaveSession(row, boxes_[row]->displayText().toStdString());
    refusalPending_ = step.focus != nullptr;
    follow(step, true);
}

bool DateCalculatorDialog::buttonMayAct() {
    QWidget* focused = focusWidget();
    for (std::size_t row = 0; row < boxes_.size(); ++row) {
        if (focused && focused->hasFocus() && focused == boxes_[row]) {
            // A button pressed by its access key: the field is left now.
            leave(row);
            return !refusalPending_ && isVisible();
        }
    }
    const bool refused = refusalPending_;
    refusalPending_ = false;
    return !refused;
}

void DateCalculatorDialog::onOk() {
    if (!buttonMayAct()) return;
    follow(okSession(), false);
}

void DateCalculatorDialog::onCancel() { follow(cancelSession(), false); }

void DateCalculatorDialog::reject() {
    // Escape and the window's close button are Cancel.
    guarded([this] { onCancel(); });
}
