#pragma once
// The construction date calculator ("Fed Calendar"): a modal dialog with the loan date, the
// construction period end date and the first amortization payment date, their weekdays and
// the actual days from the loan date to that payment. Everything it decides is the calendar
// session's (calendar/ConstructionDateCalendar.h); the results reach the record when the
// dialog closes with OK, and closing it any other way is Cancel.

#include "calendar/ConstructionDateCalendar.h"

#include <QDialog>

#include <optional>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

class frmRecCalendar : public QDialog {
    Q_OBJECT
public:
    // 6555 x 3705 twips.
    static constexpr int kWidth = 437;
    static constexpr int kHeight = 247;

    frmRecCalendar(tallex::LoanRecord& record, const tallex::Clock& clock, tallex::UserSeam& user,
                   QWidget* parent = nullptr);

    void reject() override;

    // A run-time error met inside the dialog, for the opener to report once the dialog is gone.
    struct Error {
        int number = 0;
        std::string description;
    };
    const std::optional<Error>& pendingError() const { return pendingError_; }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using Field = tallex::ConstructionDateCalendar::Field;
    QLineEdit* boxOf(Field field) const;
    void refresh();
    void follow(const tallex::ConstructionDateCalendar::Outcome& outcome, bool deferFocus);
    static void SelectAllMasked(QLineEdit* box);
    void leave(Field field);
    bool buttonMayAct();
    void onOk();
    void onCancel();
    template <class Handler>
    void guarded(Handler&& handler) noexcept;

    tallex::LoanRecord& record_;
    tallex::UserSeam& user_;
    tallex::ConstructionDateCalendar session_;
    bool activated_ = false;
    bool refusalPending_ = false;
    std::optional<Error> pendingError_;

    QLineEdit* mskLoanDate_ = nullptr;
    QLineEdit* mskConstrEndDate_ = nullptr;
    QLineEdit* mskAmortPymtDate_ = nullptr;
    QLabel* lblLoanWeekDay_ = nullptr;
    QLabel* lblConstrEndWeekDay_ = nullptr;
    QLabel* lblAmortPymtWeekDay_ = nullptr;
    QLabel* lblActualDays_ = nullptr;
    QPushButton* cmdFedCalOK_ = nullptr;
    QPushButton* cmdFedCalCancel_ = nullptr;
};
