#pragma once
// A message or question of the compliance pages, shown through the user seam with the
// record's message scratch kept in step (the listing and the error screen read it).

#include "engine/LoanRecord.h"
#include "ui/UserSeam.h"

#include <string>

namespace tallex {

// Sets gsMsgText and giMsgStyle, shows the text, and returns the answer (also in giMsgResult).
inline short ShowUserMessage(LoanRecord& record, UserSeam& user, const std::string& text, MessageStyle style) {
    record.gsMsgText = text;
    record.giMsgStyle = style;
    record.giMsgResult = user.show(text, style);
    return record.giMsgResult;
}

}  // namespace tallex
