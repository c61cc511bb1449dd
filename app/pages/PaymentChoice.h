#pragma once
// The loan type and payment frequency of a loan's payments, as the loan terms page asks them and
// the construction interest page asks them for the permanent phase: two frames of options and,
// under them, the unit period with the Calendar button, shown for some frequencies. Which
// frequencies and captions a loan type offers is the core's (entry/LoanTerms.h); a change of
// either choice asks first while a schedule was entered, and then empties the schedule page.

#include "pages/PageLayout.h"

#include "entry/LoanTerms.h"

#include <QString>

#include <functional>

class EntryForm;
class PageHost;
class QGroupBox;

class PaymentChoice {
public:
    // The user changed a choice and, asked, agreed: the page follows the new choice.
    using Changed = std::function<void(tallex::ChoiceGroup group, int index)>;

    // Builds the frames and the unit period row on `page` around the page's unit period box; the
    // first loan type is captioned `installmentCaption` (its access key differs between the
    // pages). Loan type and frequency start at their first options.
    PaymentChoice(PageHost& host, EntryForm& form, QWidget* page, const QString& installmentCaption,
                  QLineEdit* unitPeriod);

    // Adds the two frames side by side and, under them, the unit period row (which keeps its
    // height when its controls are hidden, so that nothing below it moves) to the page's column.
    void addTo(QVBoxLayout* column) const;
    // The loan type frame's options, for a note under them.
    QVBoxLayout* loanTypeLayout() const { return loanTypeLayout_; }

    // Connects the options and the unit period box: `changed` runs, guarded, once a change is
    // agreed. The page connects its own reactions to the unit period box first: they run first.
    void connectTo(QWidget* page, Changed changed);

    // The choice the user last agreed to.
    const tallex::LoanTermsChoice& choice() const { return choice_; }
    // An agreed change: the record forgets the calendar's unit periods (and, for a new loan type,
    // stream 1's timing); a new loan type starts at its first frequency.
    void take(tallex::ChoiceGroup group, int index);
    // Shows a choice as given (an opened case): nothing is asked and the record is left alone.
    void select(const tallex::LoanTermsChoice& choice);

    // Shows the frequencies, the unit period and the Calendar button as the core lays them out
    // for the choice; `emptyUnitPeriod` empties the unit period when it is shown.
    void show(const tallex::LoanTermsLayoutView& view, bool emptyUnitPeriod);
    // Hides both frames and the unit period row's controls (a construction-only loan).
    void hide();

    QGroupBox* loanTypeFrame() const { return fraLoanType_; }
    QGroupBox* frequencyFrame() const { return fraPymtFreq_; }
    QRadioButton* loanTypeOption(int index) const { return optLoanType_[index]; }
    QRadioButton* frequencyOption(int index) const { return optPymtFreq_[index]; }
    QLabel* unitPeriodLabel() const { return lblUnitPeriod_; }
    QPushButton* calendarButton() const { return cmdFedCal_; }

private:
    // False when the choice stays: the option chosen already, or a change the user cancelled
    // (the option chosen before is checked again).
    bool agreed(tallex::ChoiceGroup group, int index);

    PageHost& host_;
    QGroupBox* fraLoanType_ = nullptr;
    QGroupBox* fraPymtFreq_ = nullptr;
    QRadioButton* optLoanType_[2] = {};
    QRadioButton* optPymtFreq_[4] = {};
    QLabel* lblUnitPeriod_ = nullptr;
    QLineEdit* unitPeriod_ = nullptr;
    QPushButton* cmdFedCal_ = nullptr;
    QHBoxLayout* frames_ = nullptr;
    QVBoxLayout* loanTypeLayout_ = nullptr;
    QWidget* unitRow_ = nullptr;
    tallex::LoanTermsChoice choice_;
};
