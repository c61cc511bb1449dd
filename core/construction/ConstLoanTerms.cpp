#include "construction/ConstLoanTerms.h"

#include "construction/ConstChoices.h"
#include "engine/Currency.h"
#include "engine/Format.h"
#include "engine/NumberText.h"
#include "schedule/ScheduleClear.h"

#include <optional>

namespace tallex {

namespace {

constexpr const char* kMoneyPattern = "$###,###,###,###.00";
constexpr const char* kRatePattern = "###,###,###,###.######";

std::string Shown(std::string_view text, const char* pattern) {
    const std::optional<double> value = NumericTextValue(text);
    return value ? Format(*value, pattern) : std::string(text);
}

bool Blank(std::string_view text) { return text.find_first_not_of(' ') == std::string_view::npos; }

}  // namespace

ConstFieldLeave ConstLoanTermsFieldCheck(int field, std::string_view text) {
    ConstFieldLeave leave;
    const bool numeric = NumericTextCheck(text, false) == kNumericOk;
    switch (field) {
    case kTermsLoanAmt:
        leave.valid = numeric;
        leave.text = Shown(text, kMoneyPattern);
        break;
    case kTermsSimpleInt:
        leave.valid = numeric && NumericTextValue(text).value_or(0) >= 1;
        leave.text = Shown(text, kRatePattern);
        break;
    default:
        leave.valid = text.empty() || numeric;
        leave.text = Shown(text, kMoneyPattern);
        break;
    }
    return leave;
}

std::string ConstLoanTermsKeyMessage(int field) {
    switch (field) {
    case kTermsLoanAmt: return "For loan commitment amount, enter numbers or decimal point only.";
    case kTermsSimpleInt: return "For annual simple interest rate, enter numbers or decimal point only.";
    case kTermsPrepdFinChg: return "For prepaid finance charge, enter numbers or decimal point only.";
    default: return "For subsequently paid finance charge, enter numbers or decimal point only.";
    }
}

std::string ConstLoanTypeText(const ConstructionChoices& c) {
    if (ConstructionOnly(c))
        return OnAdvances(c) ? "Construction Only Loan (Interest on Advances Only)"
                             : "Construction Only Loan (Interest on Entire Commitment Amount)";
    return OnAdvances(c) ? "Construction/Permanent Loan (Interest on Advances Only)"
                         : "Construction/Permanent Loan (Interest on Entire Commitment Amount)";
}

ConstContinueResult ConstLoanTermsContinue(LoanRecord& r, UserSeam& user, const ConstLoanTermsEntries& e) {
    ConstContinueResult result;
    auto refuse = [&](const std::string& message, int field) {
        ShowConstRefusal(r, user, message);
        result.passed = false;
        result.message = message;
        result.focusField = field;
        return result;
    };
    if (!ConstLoanTermsFieldCheck(kTermsLoanAmt, e.loanAmt).valid)
        return refuse("Enter loan commitment amount using the following format: #,###.##", kTermsLoanAmt);
    if (!ConstLoanTermsFieldCheck(kTermsSimpleInt, e.simpleInt).valid)
        return refuse("Annual simple interest rate must be greater than or equal to 1.", kTermsSimpleInt);
    if (!ConstLoanTermsFieldCheck(kTermsPrepdFinChg, e.prepdFinChg).valid)
        return refuse("Enter prepaid finance charge using the following format: #,###.##", kTermsPrepdFinChg);
    if (!ConstLoanTermsFieldCheck(kTermsSubFinChg, e.subFinChg).valid)
        return refuse("Enter subsequently paid finance charge using the following format: #,###.##", kTermsSubFinChg);

    r.gdCommitmentAmt = FixedAmount(e.loanAmt);
    r.gdSimpleIntRate = FieldNumber(e.simpleInt);
    r.gdPrepaidFinChg = e.prepdFinChg.empty() ? 0 : FixedAmount(e.prepdFinChg);
    r.gdSubseqFinChg = e.subFinChg.empty() ? 0 : FixedAmount(e.subFinChg);
    r.gsLoanType = ConstLoanTypeText(r.construction);
    r.gbConstOptDisc = ConstructionOnly(r.construction);

    // A construction-only loan must leave something to lend once the charges are counted; the
    // sum is taken in money, so that equal amounts cancel exactly.
    const std::int64_t lendable = Currency::FromDouble(r.gdCommitmentAmt).ticks() -
                                  Currency::FromDouble(r.gdPrepaidFinChg).ticks() +
                                  Currency::FromDouble(r.gdSubseqFinChg).ticks();
    if (r.gbConstOptDisc && lendable <= 0)
        return refuse(
            "The sum of loan commitment amount plus subsequently paid finance charge must be greater "
            "than the prepaid finance charge .",
            kTermsLoanAmt);
    return result;
}

void ConstLoanTermsActivate(LoanRecord& r) {
    r.gdAmount = 0;
    r.gdEstFinanceChg = 0;
    r.gdDaysinUnitPd = 0;
    r.gdDaysinYr = 0;
    r.gdDisclAPR = 0;
    r.dMonths = 0;
    r.gdCommitmentAmt = 0;
    r.gdPrepaidFinChg = 0;
    r.gdSimpleIntRate = 0;
    r.gdSubseqFinChg = 0;
}

DiscTypeChange ConstDiscTypeChange(LoanRecord& r, UserSeam& user, std::int16_t pressed) {
    if (pressed == r.construction.optDiscType) return DiscTypeChange::Unchanged;
    DiscTypeChange change = DiscTypeChange::Changed;
    if (!Blank(r.gaPymtAmt[1])) {
        const std::string question =
            "Changing the financing disclosure options will cause deletion of any payment information and "
            "calendar date(s) you may have entered.";
        r.gsMsgText = question;
        r.giMsgStyle = kStyleOkCancelWarning;
        r.giMsgResult = user.show(question, kStyleOkCancelWarning);
        if (r.giMsgResult != kAnswerOk) return DiscTypeChange::Unchanged;
        ScheduleClear(r);
        r.gsLoanDate.clear();
        r.gsEndDate.clear();
        r.gsAmortPymtDate.clear();
        change = DiscTypeChange::ChangedScheduleCleared;
    }
    r.construction.optDiscType = pressed;
    return change;
}

}  // namespace tallex
