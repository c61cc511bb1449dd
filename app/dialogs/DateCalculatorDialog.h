#pragma once
// The date calculator ("Fed Calendar"): a modal dialog with a box for each date, their weekdays
// and the actual days between two of them, in two forms, frmCalendar (two dates) and
// frmRecCalendar (three dates). Everything it decides is the calendar session's
// (calendar/DateCalculatorSession.h); the results reach the record when the dialog closes with
// OK, and closing it any other way is Cancel.
//
// DateCalculatorDialog is the dialog without its session: the widgets, the layout, the field
// leave and the buttons. DateCalculatorDialogOver<Session> joins it to the session of one form.

#include "calendar/DateCalculatorSession.h"

#include <QDialog>

#include <cstddef>
#include <iterator>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;

class DateCalculatorDialog : public QDialog {
    Q_OBJECT
public:
    // 6555 x 3705 twips.
    static constexpr int kWidth = 437;
    static constexpr int kHeight = 247;

    // One date of a form: a caption, the box, and the weekday to the right of the box (object names).
    struct DateRow {
        const char* caption;
        std::string_view captionText;
        const char* box;
        const char* weekday;
    };

    // What tells the forms apart.
    struct Form {
        const char* name;                // the dialog's object name
        std::span<const DateRow> rows;   // top to bottom, in the session's field order
        std::string_view weekdayText{};  // what the weekday labels say before the dialog is shown
        const char* daysNote = nullptr;  // a label to the right of the actual days, if any
        std::string_view daysNoteText{};
        int margin = 10;  // above and below the dialog's contents
        int spacing = 8;  // between the heading, the dates and the buttons
    };

    void reject() override;

    // A run-time error met inside the dialog, for the opener to report once the dialog is gone.
    struct Error {
        int number = 0;
        std::string description;
    };
    const std::optional<Error>& pendingError() const { return pendingError_; }

protected:
    // What the session decided, in widgets: where the focus goes (nowhere: it stays where the
    // user put it) and whether the dialog closes.
    struct Step {
        QWidget* focus = nullptr;
        bool close = false;
    };

    DateCalculatorDialog(const Form& form, tallex::LoanRecord& record, tallex::UserSeam& user, QWidget* parent);

    virtual Step activateSession() = 0;
    virtual Step leaveSession(std::size_t row, const std::string& text) = 0;
    virtual Step okSession() = 0;
    virtual Step cancelSession() = 0;

    QLineEdit* box(std::size_t row) const { return boxes_[row]; }
    QLabel* weekday(std::size_t row) const { return weekdays_[row]; }
    QLabel* actualDays() const { return lblActualDays_; }
    // Where a step can send the focus.
    QWidget* boxWidget(std::size_t row) const;
    QWidget* okWidget() const;
    QWidget* cancelWidget() const;

    // The box or label shows `text` (a session's display) each time the session has acted.
    void shows(QLineEdit* box, const std::string& text) { boxTexts_.emplace_back(box, &text); }
    void shows(QLabel* label, const std::string& text) { labelTexts_.emplace_back(label, &text); }

    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    tallex::UserSeam& user_;

private:
    void refresh();
    void follow(const Step& step, bool deferFocus);
    static void SelectAllMasked(QLineEdit* box);
    void leave(std::size_t row);
    bool buttonMayAct();
    void onOk();
    void onCancel();
    template <class Handler>
    void guarded(Handler&& handler) noexcept;

    tallex::LoanRecord& record_;
    bool activated_ = false;
    bool refusalPending_ = false;
    std::optional<Error> pendingError_;

    std::vector<QLineEdit*> boxes_;
    std::vector<QLabel*> weekdays_;
    QLabel* lblActualDays_ = nullptr;
    QPushButton* cmdFedCalOK_ = nullptr;
    QPushButton* cmdFedCalCancel_ = nullptr;
    std::vector<std::pair<QLineEdit*, const std::string*>> boxTexts_;
    std::vector<std::pair<QLabel*, const std::string*>> labelTexts_;
};

// The dialog over the session of one form (PaymentDateCalendar, ConstructionDateCalendar): each
// date row shows its field, and the focus goes where the session's outcome names.
template <class Session>
class DateCalculatorDialogOver : public DateCalculatorDialog {
protected:
    DateCalculatorDialogOver(const Form& form, tallex::LoanRecord& record, const tallex::Clock& clock,
                             tallex::UserSeam& user, QWidget* parent)
        : DateCalculatorDialog(form, record, user, parent), session_(record, clock) {
        const auto& display = session_.display();
        for (std::size_t row = 0; row < std::size(Session::kFields); ++row) {
            shows(box(row), display.*Session::kFields[row].text);
            shows(weekday(row), display.*Session::kFields[row].weekday);
        }
        shows(actualDays(), display.lblActualDays);
    }

    Step activateSession() override { return step(session_.activate()); }
    Step leaveSession(std::size_t row, const std::string& text) override {
        return step(session_.leaveField(static_cast<typename Session::Field>(row), text, user_));
    }
    Step okSession() override { return step(session_.ok(user_)); }
    Step cancelSession() override { return step(session_.cancel()); }

    Session session_;

private:
    Step step(const typename Session::Outcome& outcome) const {
        using Control = typename Session::Control;
        Step result{nullptr, outcome.close};
        if (outcome.focus == Control::cmdFedCalOK) result.focus = okWidget();
        if (outcome.focus == Control::cmdFedCalCancel) result.focus = cancelWidget();
        for (std::size_t row = 0; row < std::size(Session::kFields); ++row)
            if (outcome.focus == Session::kFields[row].box) result.focus = boxWidget(row);
        return result;
    }
};
