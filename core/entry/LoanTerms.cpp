#include "entry/LoanTerms.h"

#include "engine/CheckedMath.h"
#include "engine/Format.h"
#include "engine/NumberText.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace tallex {

namespace {

constexpr const char* kAprRangeMessage = "Disclosed APR must be between 1 and 9999.";
constexpr const char* kMoneyBoxFormat = "$###,###,###,###.00";

bool IsDigitKey(int key) { return key >= '0' && key <= '9'; }

// The text that stays when the key replaces the selection.
std::string Unselected(const EditState& box) {
    std::string rest = box.text;
    const auto start = static_cast<std::size_t>(std::max(0, box.selStart));
    if (start < rest.size()) rest.erase(start, static_cast<std::size_t>(std::max(0, box.selLength)));
    return rest;
}

// True when the text holds a "." followed by at least `digits` digits ("*.##*" for 2).
bool HasDecimals(std::string_view text, int digits) {
    for (std::size_t dot = text.find('.'); dot != std::string_view::npos; dot = text.find('.', dot + 1)) {
        int run = 0;
        for (std::size_t i = dot + 1; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) ++run;
        if (run >= digits) return true;
    }
    return false;
}

KeyVerdict Refuse(std::string message = {}) { return {false, std::move(message)}; }

// The digit rules shared by the two money boxes.
KeyVerdict MoneyKey(const EditState& box, int key, bool minusAllowed, const char* message) {
    if (key == kKeyBackspace) return {};
    const bool digit = IsDigitKey(key);
    if (!digit && key != '.' && !(minusAllowed && key == '-')) return Refuse(message);
    if (key == '.') {
        if (Unselected(box).find('.') != std::string::npos) return Refuse();
        return {};
    }
    if (!digit) return {};

    const std::string& text = box.text;
    const std::size_t length = text.size();
    const std::size_t dot = text.find('.');
    const bool nothingSelected = box.selLength == 0;
    const auto caret = static_cast<std::size_t>(std::max(0, box.selStart));
    if (dot == std::string::npos) {
        if (nothingSelected && length == 12) return Refuse();
        return {};
    }
    if (nothingSelected && caret <= dot) {
        if ((length == 14 && HasDecimals(text, 2)) || (length == 13 && HasDecimals(text, 1))) return Refuse();
    }
    // Two decimals are the most a money box holds; a digit right after the point may still
    // replace what follows.
    if (caret >= dot + 2 && HasDecimals(text, 2)) return Refuse();
    return {};
}

std::string ToLower(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::string Trim(std::string_view text) {
    std::size_t b = 0, e = text.size();
    while (b < e && std::isspace(static_cast<unsigned char>(text[b]))) ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(text[e - 1]))) --e;
    return std::string(text.substr(b, e - b));
}

double NumericValue(std::string_view text) { return NumericTextValue(text).value_or(0.0); }

// A money text taken to whole cents the way the "Fixed" format does, then read back.
double FixedAmount(std::string_view text) { return FixedRoundTrip(NumericValue(text)); }

bool InRange(double value, double low, double high) { return value >= low && value <= high; }

enum class UnitPeriodKind { None, MultipleMonths, InstallmentDays, LoanTermMonths, SingleDays };

UnitPeriodKind KindOf(LoanTermsChoice choice) {
    if (choice.singlePayment())
        return choice.frequency == 0 ? UnitPeriodKind::LoanTermMonths : UnitPeriodKind::SingleDays;
    switch (choice.frequency) {
    case 1: return UnitPeriodKind::MultipleMonths;
    case 3: return UnitPeriodKind::InstallmentDays;
    default: return UnitPeriodKind::None;
    }
}

std::string UnitPeriodRangeMessage(const LoanTermsEntries& entries) {
    std::string message = "For " + UnitPeriodWords(entries.unitPeriodCaption);
    switch (KindOf(entries.choice)) {
    case UnitPeriodKind::MultipleMonths: return message + ", enter a number from 2 to 12.";
    case UnitPeriodKind::LoanTermMonths: return message + ", enter a number greater than 0.";
    default: return message + ", enter a number from 1 to 365.";
    }
}

bool IsMoneyBox(LoanTermsField field) {
    return field == LoanTermsField::AmountFinanced || field == LoanTermsField::FinanceCharge;
}

// One box of the completeness check: empty, not a number, zero.
std::optional<LoanTermsRefusal> RequireNumber(const std::string& text, LoanTermsField field, const char* empty,
                                              const char* notNumber, const char* zero) {
    if (text.empty()) return LoanTermsRefusal{empty, field, true};
    if (!IsNumericText(text)) return LoanTermsRefusal{notNumber, field, true};
    if (NumericValue(text) == 0.0) return LoanTermsRefusal{zero, field, true};
    return std::nullopt;
}

}  // namespace

KeyVerdict AmountFinancedKey(LoanTermsState& state, const EditState& box, int key) {
    state.entryBad = false;
    return MoneyKey(box, key, true, "For amount financed, enter numbers, minus sign or decimal point only.");
}

KeyVerdict FinanceChargeKey(LoanTermsState& state, const EditState& box, int key) {
    state.entryBad = false;
    return MoneyKey(box, key, false, "For disclosed finance charge, enter numbers or decimal point only.");
}

KeyVerdict DisclosedAprKey(LoanTermsState& state, const EditState& box, int key) {
    state.entryBad = false;
    if (key == kKeyBackspace) return {};
    const bool digit = IsDigitKey(key);
    if (!digit && key != '.') return Refuse("For disclosed APR, enter numbers or decimal point only.");

    const std::string rest = Unselected(box);
    if (key == '.' && rest.empty()) return {};
    if (key == '0' && rest.empty()) return Refuse();
    if (key == '.') return rest.find('.') != std::string::npos ? Refuse() : KeyVerdict{};

    const std::string& text = box.text;
    const std::size_t dot = text.find('.');
    const bool nothingSelected = box.selLength == 0;
    const auto caret = static_cast<std::size_t>(std::max(0, box.selStart));
    if (dot != std::string::npos && caret >= dot + 2 && HasDecimals(text, 6)) return Refuse();
    if (dot == std::string::npos && nothingSelected && text.size() == 4) return Refuse();
    if (dot != std::string::npos && nothingSelected && caret <= dot && dot == 3) return Refuse();
    return {};
}

KeyVerdict UnitPeriodKey(LoanTermsState& state, std::string_view unitPeriodCaption, int key) {
    state.entryBad = false;
    if (key == kKeyBackspace || IsDigitKey(key)) return {};
    return Refuse("For " + UnitPeriodWords(unitPeriodCaption) + ", enter numbers only.");
}

std::string UnitPeriodWords(std::string_view unitPeriodCaption) {
    if (!unitPeriodCaption.empty()) unitPeriodCaption.remove_suffix(1);
    return ToLower(unitPeriodCaption);
}

bool LoanTermsFieldCheck(LoanRecord& record, LoanTermsField field, std::string_view text, LoanTermsChoice choice) {
    bool valid = true;
    switch (field) {
    case LoanTermsField::AmountFinanced: valid = NumericTextCheck(text, false) != kNotNumeric; break;
    case LoanTermsField::DisclosedApr: valid = IsNumericText(text) && InRange(NumericValue(text), 1, 9999); break;
    case LoanTermsField::FinanceCharge: valid = text.empty() || IsNumericText(text); break;
    case LoanTermsField::UnitPeriod: {
        const double value = Val(text);
        switch (KindOf(choice)) {
        case UnitPeriodKind::MultipleMonths: valid = InRange(value, 2, 12); break;
        case UnitPeriodKind::InstallmentDays:
        case UnitPeriodKind::SingleDays: valid = InRange(value, 1, 365); break;
        case UnitPeriodKind::LoanTermMonths: valid = value >= 1; break;
        case UnitPeriodKind::None: break;
        }
        break;
    }
    }
    if (!valid) record.giNumCheck = 1;
    return valid;
}

FieldLeave LeaveLoanTermsField(LoanRecord& record, LoanTermsState& state, LoanTermsField field, std::string_view text,
                               LoanTermsChoice choice) {
    FieldLeave out;
    if (field == LoanTermsField::DisclosedApr && Val(text) > 9999) {
        state.validFlag(field) = false;
        state.entryBad = true;
        out.message = kAprRangeMessage;
        return out;
    }
    bool checked = false;
    if (!state.entryBad) {
        state.validFlag(field) = LoanTermsFieldCheck(record, field, text, choice);
        checked = true;
    }
    state.entryBad = !state.validFlag(field);
    if (IsMoneyBox(field)) {
        if (const auto value = NumericTextValue(text)) out.newText = Format(*value, kMoneyBoxFormat);
    }
    if (field == LoanTermsField::DisclosedApr && checked && !state.validFlag(field)) out.message = kAprRangeMessage;
    return out;
}

void UnitPeriodTextChanged(LoanRecord& record, std::string_view text) {
    if ((text == "365" && record.giPymtFreq == kFreqActualDaysSingle) ||
        (text == "12" && record.giPymtFreq == kFreqMultiplesOfMonth)) {
        record.gaUnitPeriods[1].clear();
        record.gaOddDays[1].clear();
    }
}

std::optional<LoanTermsRefusal> Check_Data_Entry(const LoanTermsEntries& entries) {
    if (auto r = RequireNumber(entries.amountFinanced, LoanTermsField::AmountFinanced, "Please input Amount Financed.",
                               "Please enter integers for Amount Financed.", "Amount Financed can't be zero."))
        return r;
    if (auto r = RequireNumber(entries.disclosedApr, LoanTermsField::DisclosedApr, "Please input Disclosed APR.",
                               "Please enter integers for Disclosed APR.", "Disclosed APR can't be zero."))
        return r;
    if (!entries.financeCharge.empty() && !IsNumericText(entries.financeCharge))
        return LoanTermsRefusal{"Please enter integers for Disclosed Finance Charge.", LoanTermsField::FinanceCharge,
                                true};
    if (!entries.unitPeriodShown) return std::nullopt;
    return RequireNumber(entries.unitPeriod, LoanTermsField::UnitPeriod, "Please input Unit Period.",
                         "Please enter integers for Unit Period.", "Enter Unit Period value greater than zero.");
}

std::array<std::string, 4> FrequencyCaptions(int loanType) {
    if (loanType == 1) return {"&Whole Number of Months", "&Actual Days", "", ""};
    return {"&Monthly", "M&ultiples of a Month", "S&emi-Monthly", "&Actual Days"};
}

LoanTermsLayoutView LoanTermsLayout(LoanRecord& record, LoanTermsState& state, LoanTermsChoice choice) {
    LoanTermsLayoutView view;
    view.frequencyCaptions = FrequencyCaptions(choice.loanType);
    view.frequencyShown = choice.singlePayment() ? std::array<bool, 4>{true, true, false, false}
                                                 : std::array<bool, 4>{true, true, true, true};
    bool& unitPeriodValid = state.validFlag(LoanTermsField::UnitPeriod);
    switch (KindOf(choice)) {
    case UnitPeriodKind::None: break;
    case UnitPeriodKind::MultipleMonths:
        view.unitPeriodCaption = "Months in Unit Period:";
        view.unitPeriodShown = true;
        unitPeriodValid = true;
        break;
    case UnitPeriodKind::InstallmentDays:
        view.unitPeriodCaption = "Days in Unit Period:";
        view.unitPeriodShown = true;
        unitPeriodValid = true;
        break;
    case UnitPeriodKind::LoanTermMonths:
        view.unitPeriodCaption = "Months in Loan Term:";
        view.unitPeriodShown = true;
        view.calendarShown = view.calendarEnabled = true;
        unitPeriodValid = true;
        record.giPymtFreq = kFreqEqualMonthsSingle;
        break;
    case UnitPeriodKind::SingleDays:
        view.unitPeriodCaption = "Days in Unit Period:";
        view.unitPeriodShown = true;
        view.calendarShown = view.calendarEnabled = true;
        unitPeriodValid = false;
        record.giPymtFreq = kFreqActualDaysSingle;
        break;
    }
    return view;
}

std::optional<std::string> ChoiceChangeQuestion(const LoanRecord& record, ChoiceGroup group) {
    if (record.gaPymtAmt[1].empty()) return std::nullopt;
    return std::string(group == ChoiceGroup::LoanType ? "Changing the loan type" : "Changing the payment frequency") +
           " will cause deletion of any payment information and calendar date(s) you may have entered.";
}

void ApplyChoiceChange(LoanRecord& record, ChoiceGroup group) {
    record.gdCalUnitPeriods = 0;
    record.gdCalOddDays = 0;
    if (group == ChoiceGroup::LoanType) {
        record.gaUnitPeriods[1] = "0";
        record.gaOddDays[1] = "0";
    }
}

std::optional<std::string> CalendarUnitPeriodText(const LoanRecord& record) {
    if (record.giPymtFreq == kFreqEqualMonthsSingle) return ShortestNumber(record.dMonths);
    if (record.giPymtFreq == kFreqActualDaysSingle) return ShortestNumber(record.gdDaysinUnitPd);
    return std::nullopt;
}

LoanTermsContinueResult LoanTermsContinue(LoanRecord& record, LoanTermsState& state, const LoanTermsEntries& entries) {
    LoanTermsContinueResult result;
    if ((result.refusal = Check_Data_Entry(entries))) return result;

    record.gsLoanDate.clear();
    record.gsEndDate.clear();
    record.gsAmortPymtDate.clear();
    record.gbSingleAdvance = entries.choice.singlePayment();

    bool& unitPeriodValid = state.validFlag(LoanTermsField::UnitPeriod);
    if (entries.unitPeriodShown) {
        LeaveLoanTermsField(record, state, LoanTermsField::UnitPeriod, entries.unitPeriod, entries.choice);
        if (Trim(entries.unitPeriod).empty()) unitPeriodValid = false;
    } else {
        unitPeriodValid = true;
        result.emptyUnitPeriod = true;
    }
    if (entries.financeCharge.empty()) state.validFlag(LoanTermsField::FinanceCharge) = true;

    if (!state.validFlag(LoanTermsField::AmountFinanced)) {
        result.refusal =
            LoanTermsRefusal{"For amount financed, enter a dollar amount using the following format: #,###.##",
                             LoanTermsField::AmountFinanced, false};
    } else if (!state.validFlag(LoanTermsField::DisclosedApr)) {
        result.refusal = LoanTermsRefusal{kAprRangeMessage, LoanTermsField::DisclosedApr, false};
    } else if (!state.validFlag(LoanTermsField::FinanceCharge)) {
        result.refusal = LoanTermsRefusal{"Enter dollar amount using the following format: #,###.##",
                                          LoanTermsField::FinanceCharge, false};
    } else if (!unitPeriodValid) {
        result.refusal = LoanTermsRefusal{UnitPeriodRangeMessage(entries), LoanTermsField::UnitPeriod, false};
    }
    if (result.refusal) return result;

    using checked::Mul;
    const double u = Val(entries.unitPeriod);
    const LoanTermsChoice choice = entries.choice;
    if (!choice.singlePayment()) {
        switch (choice.frequency) {
        case 0:
            record.giPymtFreq = kFreqMonthly;
            record.gdDaysinUnitPd = 30;
            record.gdDaysinYr = 360;
            break;
        case 1:
            record.giPymtFreq = kFreqMultiplesOfMonth;
            record.gdDaysinUnitPd = Mul(u, 30);
            record.gdDaysinYr = 360;
            record.dMonths = u;
            break;
        case 2:
            record.giPymtFreq = kFreqSemiMonthly;
            record.gdDaysinUnitPd = 15;
            record.gdDaysinYr = 360;
            break;
        default:
            record.giPymtFreq = kFreqActualDaysInstallment;
            record.gdDaysinUnitPd = u;
            record.gdDaysinYr = std::fmod(u, 7.0) == 0.0 ? 364 : 365;
            break;
        }
    } else if (choice.frequency == 0) {
        // 12 CFR 226, App. J(b)(5)(iii): a single advance repaid in one payment has a unit period
        // equal to the term, but never more than a year.
        record.giPymtFreq = kFreqEqualMonthsSingle;
        const double days = Mul(u, 30);
        record.gdDaysinUnitPd = days > 360 ? 360 : days;
        record.gdDaysinYr = 360;
        record.dMonths = u;
        const double years = std::floor(u / 12);
        record.gdCalUnitPeriods = years;
        record.gdCalOddDays = u > 11 ? Mul(u - 12 * years, 30) : 0;
    } else {
        record.giPymtFreq = kFreqActualDaysSingle;
        record.gdDaysinUnitPd = u;
        record.gdDaysinYr = 365;
    }

    result.reloadSchedule = choice.singlePayment() && !record.gaPymtAmt[2].empty();

    record.gdAmount = FixedAmount(entries.amountFinanced);
    record.gdDisclAPR = NumericValue(entries.disclosedApr);
    record.gdEstFinanceChg = entries.financeCharge.empty() ? 0.0 : FixedAmount(entries.financeCharge);

    static constexpr const char* kInstallmentTexts[] = {"Monthly", "Multiples of a Month", "Semi-Monthly",
                                                        "Actual Days"};
    static constexpr const char* kSingleTexts[] = {"Whole Number of Months", "Actual Days"};
    record.gsPymtFreqText = choice.singlePayment() ? kSingleTexts[choice.frequency == 0 ? 0 : 1]
                                                   : kInstallmentTexts[std::clamp(choice.frequency, 0, 3)];
    record.gbCalFilledSchedule = false;
    return result;
}

}  // namespace tallex
