#include "shell/CommonScreen.h"

namespace tallex {

bool EnterKeyCheck(int key, UserSeam& user) {
    if (key != 13) return false;
    user.show(kUseTabKeyMessage, kStyleExclamation);
    return true;
}

bool CheckBoxKey(int virtualKeyCode) { return virtualKeyCode == 88 || virtualKeyCode == 120; }

bool ConfirmNewLoan(LoanRecord& record, const SessionFlags& session, UserSeam& user) {
    if (session.gbBasicInfoFresh) {
        record.giMsgResult = kAnswerYesButton;
        return true;
    }
    record.gsMsgText = "Start a new loan?  (Discard current data?) ";
    record.giMsgStyle = kStyleYesNoQuestion;
    record.giMsgResult = user.show(record.gsMsgText, record.giMsgStyle);
    return record.giMsgResult == kAnswerYesButton;
}

bool NewLoan(LoanRecord& record, SessionFlags& session, UserSeam& user) {
    if (!ConfirmNewLoan(record, session, user)) return false;
    ResetLoanRecord(record);
    session.gbBasicInfoFresh = true;
    return true;
}

void ClearCalendarDates(LoanRecord& record) {
    record.gsLoanDate.clear();
    record.gsEndDate.clear();
    record.gsAmortPymtDate.clear();
}

}  // namespace tallex
