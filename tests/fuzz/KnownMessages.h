#pragma once
// The messages the schedule and the results may show, written down from the rules themselves
// (not taken from the code), so a fuzz target can tell a known text from anything else.

#include <string>

namespace tallex::fuzz {

// A refusal of one schedule cell (its numbers filled in by the rule).
bool IsCellMessage(const std::string& text);
// A refusal of Continue on the schedule page, or the note that the APR cannot be computed.
bool IsContinueMessage(const std::string& text);
// A question of the APR tests ("Was the APR error caused by the finance charge error?").
bool IsAprQuestion(const std::string& text);
// The reason texts kept in gsDebugMsgAPR and gsDebugMsgFC (or empty).
bool IsAprReason(const std::string& text);
bool IsFinanceChargeReason(const std::string& text);

}  // namespace tallex::fuzz
