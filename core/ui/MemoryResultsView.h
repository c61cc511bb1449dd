#pragma once
// A results page held in memory: what the command line and the tests hand to the tolerance
// tests, and read back afterwards.

#include "engine/RuntimeError.h"
#include "ui/ResultsView.h"

#include <array>
#include <cstddef>
#include <string>

namespace tallex {

struct LabelState {
    bool visible = false;
    std::string caption;
    LabelColour colour = LabelColour::Black;
};

class MemoryResultsView final : public ResultsView {
public:
    // Starts with the 0.25 option selected unless another is given.
    explicit MemoryResultsView(int initialTolerance = kToleranceQuarter) : selected_(initialTolerance) {
        if (initialTolerance != kToleranceNone) RequireOption(initialTolerance);
        options_.fill(true);
    }

    void setLabelVisible(ResultsLabel label, bool visible) override { at(label).visible = visible; }
    void setLabelCaption(ResultsLabel label, const std::string& caption) override { at(label).caption = caption; }
    void setLabelColour(ResultsLabel label, LabelColour colour) override { at(label).colour = colour; }

    void selectTolerance(int index) override {
        RequireOption(index);
        selected_ = index;
    }
    int selectedTolerance() const override { return selected_; }
    void setToleranceOptionVisible(int index, bool visible) override {
        RequireOption(index);
        options_[static_cast<std::size_t>(index)] = visible;
    }

    void setToleranceFrameVisible(bool visible) override { frameVisible_ = visible; }
    bool toleranceFrameVisible() const override { return frameVisible_; }
    void setReimbursementButtonVisible(bool visible) override { buttonVisible_ = visible; }

    const LabelState& label(ResultsLabel label) const { return labels_[Index(label)]; }
    bool toleranceOptionVisible(int index) const {
        RequireOption(index);
        return options_[static_cast<std::size_t>(index)];
    }
    bool reimbursementButtonVisible() const { return buttonVisible_; }

private:
    static std::size_t Index(ResultsLabel label) { return static_cast<std::size_t>(label); }
    static void RequireOption(int index) {
        if (index < kToleranceZero || index > kToleranceQuarter) Raise(RuntimeErrorCode::SubscriptOutOfRange);
    }
    LabelState& at(ResultsLabel label) { return labels_[Index(label)]; }

    std::array<LabelState, 5> labels_{};
    std::array<bool, 3> options_{};
    int selected_;
    bool frameVisible_ = false;
    bool buttonVisible_ = false;
};

}  // namespace tallex
