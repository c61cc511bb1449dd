#pragma once
// What every page of the wizard shares: the Enter key, the check-box key, New Loan and the
// clearing of the calculators' remembered dates.

#include "engine/LoanRecord.h"
#include "shell/Session.h"
#include "ui/UserSeam.h"

namespace tallex {

// The line break of every composed message.
inline constexpr const char* kCrLf = "\r\n";

inline constexpr const char* kUseTabKeyMessage = "Use the tab key to go to the next field.";

// Enter (13) in a text box, check box or option button is discarded with the tab-key message
// (style 48). Returns true when the key was Enter and has been dealt with.
bool EnterKeyCheck(int key, UserSeam& user);

// The virtual key codes that toggle a focused check box: 88 (X) and 120 (F9).
bool CheckBoxKey(int virtualKeyCode);

// Asks "Start a new loan?  (Discard current data?) " (style 36) unless the basic information
// page is fresh, in which case the answer is Yes without a question. The answer goes to
// giMsgResult; true for Yes.
bool ConfirmNewLoan(LoanRecord& record, const SessionFlags& session, UserSeam& user);

// The record's part of New Loan: after a Yes the record is reset and the basic information page
// is fresh again. Returns false (and changes nothing) when the user says No.
bool NewLoan(LoanRecord& record, SessionFlags& session, UserSeam& user);

// Empties the calculators' remembered dates (loan date, end date, first amortization payment).
void ClearCalendarDates(LoanRecord& record);

}  // namespace tallex
