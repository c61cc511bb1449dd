#pragma once
// The only way the core talks to the user: a message or a question, with the message-box
// style numbers the pages use, and the answer the user gave. The desktop program shows a
// message box; tests and the command line answer from a script and record every prompt.

#include <string>

namespace tallex {

// Buttons and icon of a message.
enum MessageStyle : short {
    kStyleCritical = 16,           // OK, critical icon
    kStyleYesNoCritical = 20,      // Yes/No, critical icon
    kStyleSaveDiscardCancel = 35,  // Yes (Save) / No (Discard) / Cancel, question icon: unsaved entries
    kStyleYesNoQuestion = 36,      // Yes/No, question icon
    kStyleExclamation = 48,        // OK, exclamation icon: a refused input
    kStyleOkCancelWarning = 49,    // OK/Cancel, exclamation icon: OK deletes entered data
    kStyleInformation = 64,        // OK, information icon
};

// The answer.
enum MessageAnswer : short {
    kAnswerOk = 1,
    kAnswerCancel = 2,
    kAnswerYesButton = 6,
    kAnswerNoButton = 7,
};

class UserSeam {
public:
    virtual ~UserSeam() = default;
    // Shows the text with the style's buttons and icon; returns the button chosen.
    virtual short show(const std::string& text, short style) = 0;
};

}  // namespace tallex
