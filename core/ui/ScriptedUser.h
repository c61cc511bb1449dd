#pragma once
// A user that answers from a script and records every prompt: the command line and the tests
// use it where the desktop program shows a message box.

#include "ui/UserSeam.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace tallex {

struct Prompt {
    std::string text;
    short style = 0;
    short answer = 0;
};

class ScriptedUser final : public UserSeam {
public:
    // Answers are taken in order; when none is left, a message gets OK, a question No and the
    // offer to save Cancel, unless a fallback decides.
    void queue(short answer) { answers_.push_back(answer); }
    void setFallback(std::function<short(const std::string&, short)> fallback) { fallback_ = std::move(fallback); }

    short show(const std::string& text, short style) override {
        short answer;
        if (!answers_.empty()) {
            answer = answers_.front();
            answers_.pop_front();
        } else if (fallback_) {
            answer = fallback_(text, style);
        } else {
            answer = DefaultAnswer(style);
        }
        prompts_.push_back({text, style, answer});
        return answer;
    }

    const std::vector<Prompt>& prompts() const { return prompts_; }
    void clear() {
        prompts_.clear();
        answers_.clear();
    }

    static short DefaultAnswer(short style) {
        switch (style) {
        case kStyleYesNoCritical:
        case kStyleYesNoQuestion: return kAnswerNoButton;
        case kStyleSaveDiscardCancel: return kAnswerCancel;
        default: return kAnswerOk;
        }
    }

private:
    std::deque<short> answers_;
    std::function<short(const std::string&, short)> fallback_;
    std::vector<Prompt> prompts_;
};

}  // namespace tallex
