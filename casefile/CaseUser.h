#pragma once
// The user of a case file: answers the APR question from the case's answers, treats every
// refusal as the end of the case (naming the key being entered), and keeps every prompt.

#include "CaseFile.h"

#include "engine/LoanRecord.h"
#include "ui/UserSeam.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tallex::casefile {

// A refusal met while the case was entered: the key and the message the page would show.
struct CaseFault {
    CaseError error;
};

class CaseUser final : public UserSeam {
public:
    CaseUser(const LoanRecord& record, std::optional<bool> understatementAnswer,
             std::optional<bool> overstatementAnswer)
        : record_(record), understatement_(understatementAnswer), overstatement_(overstatementAnswer) {}

    // The key of the entry the next refusal belongs to. Copied into a buffer the case keeps, as
    // every box and cell names its key before it is entered.
    void at(std::string_view key) { key_.assign(key); }
    const std::string& key() const { return key_; }

    // Shows nothing: a question is answered from the case, a note is kept, a refusal throws
    // CaseFault.
    short show(const std::string& text, short style) override;

    const std::vector<std::string>& notes() const { return notes_; }
    // A note of the replay itself, kept with the information messages.
    void note(std::string text) { notes_.push_back(std::move(text)); }
    // The style the last refusal was shown with.
    short refusalStyle() const { return refusalStyle_; }

    // While deferring, a refusal is kept instead of thrown, so that the caller can name the field
    // the page puts the focus on.
    void deferRefusals(bool defer) { defer_ = defer; }
    std::string takeRefusal() { return std::exchange(refusal_, {}); }

private:
    const LoanRecord& record_;
    std::optional<bool> understatement_;
    std::optional<bool> overstatement_;
    std::string key_;
    std::vector<std::string> notes_;
    bool defer_ = false;
    std::string refusal_;
    short refusalStyle_ = kStyleExclamation;
};

}  // namespace tallex::casefile
