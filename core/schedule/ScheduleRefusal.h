#pragma once
// How a schedule rule tells the user that it refused something: the message box of style 48
// (OK, exclamation icon), with the prompt and the answer kept in the record's message scratch.

#include "engine/LoanRecord.h"
#include "ui/UserSeam.h"

#include <string>

namespace tallex {

inline void ShowScheduleRefusal(LoanRecord& record, UserSeam& user, const std::string& text) {
    record.gsMsgText = text;
    record.giMsgStyle = kStyleExclamation;
    record.giMsgResult = user.show(text, kStyleExclamation);
}

}  // namespace tallex
