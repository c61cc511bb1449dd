#pragma once
// The loan terms page of a regular loan: what the lender disclosed (amount financed, APR,
// finance charge), the loan type and the payment frequency. These rules guard the entries in
// three layers (a key filter, a check on leaving a box, a completeness check on Continue) and,
// once everything passed, fix the unit-period basis of Regulation Z Appendix J
// (12 CFR 226, App. J(b)(3)-(5)): the frequency code, the days in the unit period and in the
// year. Nothing of the record's amounts or unit period is written before every check passed.
//
// The page moves texts between its boxes and these functions and shows what they return; every
// message is shown with style 48 (49 for the two confirmations) and the focus goes where the
// result says.

#include "engine/LoanRecord.h"
#include "entry/EntryBadState.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace tallex {

enum class LoanTermsField { AmountFinanced, DisclosedApr, FinanceCharge, UnitPeriod };

// The two option groups: loan type 0 installment, 1 single advance/single payment; the
// frequency is the index of the option chosen (0..3 installment, 0..1 single payment).
struct LoanTermsChoice {
    int loanType = 0;
    int frequency = 0;
    bool singlePayment() const { return loanType == 1; }
    friend bool operator==(const LoanTermsChoice&, const LoanTermsChoice&) = default;
};

// The four boxes as the page holds them.
struct LoanTermsEntries {
    std::string amountFinanced;
    std::string disclosedApr;
    std::string financeCharge;
    std::string unitPeriod;
    bool unitPeriodShown = false;
    std::string unitPeriodCaption;  // the caption of the unit-period label
    LoanTermsChoice choice;
};

// The page's own flags: one "valid" flag per box (all false when the page loads) and the flag
// that keeps a chain of focus changes from producing one message per box (EntryBadState: the
// page calls TextChanged whenever a box's text changes).
struct LoanTermsState : EntryBadState {
    std::array<bool, 4> valid{};
    bool& validFlag(LoanTermsField field) { return valid[static_cast<std::size_t>(field)]; }
    bool validFlag(LoanTermsField field) const { return valid[static_cast<std::size_t>(field)]; }
};

// Key codes as the key filters see them: the character typed, or one of these.
inline constexpr int kKeyBackspace = 8;
inline constexpr int kKeyEnter = 13;

// A box as the key finds it: its text and its selection (caret = selStart when nothing is
// selected).
struct EditState {
    std::string text;
    int selStart = 0;
    int selLength = 0;
};

// What a key press leads to: taken, or refused (silently when the message is empty).
struct KeyVerdict {
    bool accepted = true;
    std::string message;
};

// Key filters. Each first clears state.entryBad. Enter is not handled here: every box passes it
// to the common Enter rule before its own filter.
KeyVerdict AmountFinancedKey(LoanTermsState& state, const EditState& box, int key);
KeyVerdict FinanceChargeKey(LoanTermsState& state, const EditState& box, int key);
KeyVerdict DisclosedAprKey(LoanTermsState& state, const EditState& box, int key);
KeyVerdict UnitPeriodKey(LoanTermsState& state, std::string_view unitPeriodCaption, int key);

// "months in unit period" for the caption "Months in Unit Period:": the caption without its
// last character, in lower case; the words the unit-period messages quote.
std::string UnitPeriodWords(std::string_view unitPeriodCaption);

// The range check of one box: false (and giNumCheck = 1) when the amount financed is not a
// number, the APR is not a number or outside 1..9999, a finance charge was typed that is not
// a number, or the unit period is outside the range of the current choice (Multiples of a
// Month 2..12, installment or single Actual Days 1..365, Whole Number of Months at least 1).
bool LoanTermsFieldCheck(LoanRecord& record, LoanTermsField field, std::string_view text, LoanTermsChoice choice);

// Leaving a box: the field check (skipped while entryBad is set), then entryBad follows the
// box's flag. The money boxes come back rewritten as "$###,###,###,###.00" when they hold a
// number; the APR box reports "Disclosed APR must be between 1 and 9999." and keeps the focus.
struct FieldLeave {
    std::optional<std::string> newText;
    std::string message;  // non-empty: show it and put the focus back
};
FieldLeave LeaveLoanTermsField(LoanRecord& record, LoanTermsState& state, LoanTermsField field, std::string_view text,
                               LoanTermsChoice choice);

// While the unit-period text changes: "365" with frequency code 6, or "12" with code 2, empties
// stream 1's unit periods and odd days (they must come from the calendar again).
void UnitPeriodTextChanged(LoanRecord& record, std::string_view text);

// A refused entry: the message (style 48), the box that gets the focus, and whether the box is
// emptied.
struct LoanTermsRefusal {
    std::string message;
    LoanTermsField field = LoanTermsField::AmountFinanced;
    bool emptyField = false;
};

// The completeness check of Continue: the first empty, non-numeric or zero entry.
std::optional<LoanTermsRefusal> Check_Data_Entry(const LoanTermsEntries& entries);

// What the layout of the unit-period box and the Calendar button is for a choice.
struct LoanTermsLayoutView {
    std::array<std::string, 4> frequencyCaptions;
    std::array<bool, 4> frequencyShown{};
    std::string unitPeriodCaption;
    bool unitPeriodShown = false;
    bool calendarShown = false;
    bool calendarEnabled = false;
};

// The frequency captions of a loan type ("&Monthly" ... or "&Whole Number of Months" ...).
std::array<std::string, 4> FrequencyCaptions(int loanType);

// Applies a choice: the captions and visibility, the box emptied when it is shown, and for a
// single payment loan the frequency code (5 Whole Number of Months, 6 Actual Days) at once,
// because the calendar of this page needs it. Sets the unit-period flag where the choice fixes
// it.
LoanTermsLayoutView LoanTermsLayout(LoanRecord& record, LoanTermsState& state, LoanTermsChoice choice);

// Before another loan type or frequency is chosen: the question to ask with OK/Cancel (style
// 49) while stream 1 of the schedule has a payment amount; nothing to ask otherwise.
enum class ChoiceGroup { LoanType, Frequency };
std::optional<std::string> ChoiceChangeQuestion(const LoanRecord& record, ChoiceGroup group);

// After the choice changed: the calendar's unit periods and odd days are zeroed; a new loan
// type also sets stream 1's unit periods and odd days to "0". The page empties the unit-period
// box, refreshes the schedule and applies the layout.
void ApplyChoiceChange(LoanRecord& record, ChoiceGroup group);

// The unit-period text the calendar of this page hands back after OK: the months of the term
// for code 5, the days of the unit period for code 6; nullopt for any other code.
std::optional<std::string> CalendarUnitPeriodText(const LoanRecord& record);

// Continue. On success the record holds the loan's disclosed figures and unit-period basis:
// giPymtFreq, gdDaysinUnitPd, gdDaysinYr, dMonths (codes 2 and 5), gdCalUnitPeriods and
// gdCalOddDays (code 5), gdAmount, gdDisclAPR, gdEstFinanceChg (0 when not disclosed),
// gbSingleAdvance, gsPymtFreqText; the calendars' dates are emptied and gbCalFilledSchedule
// cleared. A refusal leaves those fields as they were.
struct LoanTermsContinueResult {
    std::optional<LoanTermsRefusal> refusal;
    bool emptyUnitPeriod = false;  // the hidden unit-period box is emptied
    bool reloadSchedule = false;   // a single payment loan had a second stream: clear the schedule
};
LoanTermsContinueResult LoanTermsContinue(LoanRecord& record, LoanTermsState& state, const LoanTermsEntries& entries);

}  // namespace tallex
