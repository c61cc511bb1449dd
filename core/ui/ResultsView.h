#pragma once
// The controls of a results page that the tolerance tests write: the five verdict labels, the
// reimbursement tolerance options with their frame, and the Reimbursement button. Both results
// pages (regular and construction-only) implement it over their widgets; the command line and
// the tests use MemoryResultsView and read it back.

#include <string>

namespace tallex {

// The verdict labels, named as on the pages.
enum class ResultsLabel {
    lblAPRViolation,
    lblAPRViolAmt,
    lblFinanceViolation,
    lblFinanceViolAmt,
    lblFinanceError,
};

// Label text colour as a colour number (red + 256 x green + 65536 x blue).
enum class LabelColour : int {
    Black = 0,      // an APR error that is treated as accurate
    DarkRed = 192,  // a violation
};

// optTolerance indices: reimbursement tolerances of 0, 0.125 and 0.25 percentage point.
inline constexpr int kToleranceNone = -1;  // no option selected
inline constexpr int kToleranceZero = 0;
inline constexpr int kToleranceEighth = 1;
inline constexpr int kToleranceQuarter = 2;

class ResultsView {
public:
    virtual ~ResultsView() = default;

    virtual void setLabelVisible(ResultsLabel label, bool visible) = 0;
    virtual void setLabelCaption(ResultsLabel label, const std::string& caption) = 0;
    virtual void setLabelColour(ResultsLabel label, LabelColour colour) = 0;

    // optTolerance(index): selecting one deselects the others. An index outside 0..2 raises
    // run-time error 9.
    virtual void selectTolerance(int index) = 0;
    // The selected index, or kToleranceNone.
    virtual int selectedTolerance() const = 0;
    virtual void setToleranceOptionVisible(int index, bool visible) = 0;

    // fraTolerance, the frame around the options.
    virtual void setToleranceFrameVisible(bool visible) = 0;
    virtual bool toleranceFrameVisible() const = 0;

    // cmdContinue, the "&Reimbursement" button.
    virtual void setReimbursementButtonVisible(bool visible) = 0;
};

}  // namespace tallex
