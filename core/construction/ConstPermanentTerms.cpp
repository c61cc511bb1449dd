#include "construction/ConstPermanentTerms.h"

#include "construction/ConstChoices.h"
#include "construction/ConstInterestEstimate.h"
#include "construction/ConstSinglePayment.h"
#include "engine/CheckedMath.h"
#include "engine/Currency.h"
#include "engine/Format.h"
#include "engine/NumberText.h"
#include "schedule/ScheduleClear.h"

#include <cctype>
#include <cmath>
#include <optional>

namespace tallex {

namespace {

using checked::Add;
using checked::Mul;
using checked::Sub;

// optPymtFreq indexes
constexpr std::int16_t kInstallmentMonthly = 0;
constexpr std::int16_t kInstallmentMultiples = 1;
constexpr std::int16_t kInstallmentSemiMonthly = 2;
constexpr std::int16_t kInstallmentActualDays = 3;
constexpr std::int16_t kSingleWholeMonths = 0;

bool Blank(std::string_view text) { return text.find_first_not_of(' ') == std::string_view::npos; }

bool UnitPeriodInRange(const ConstPermanentChoice& p, double value) {
    if (p.singleAdvance) {
        if (p.frequency == kSingleWholeMonths) return value >= 1;
        return value >= 1 && value <= 365;
    }
    if (p.frequency == kInstallmentMultiples) return value >= 2 && value <= 12;
    if (p.frequency == kInstallmentActualDays) return value >= 1 && value <= 365;
    return true;  // the field is hidden
}

std::string UnitPeriodMessage(const ConstPermanentChoice& p) {
    std::string head;
    if (p.singleAdvance)
        head = p.frequency == kSingleWholeMonths ? "Enter a number greater than 0 for the "
                                                 : "Enter a number between 1 and 365 for the ";
    else
        head = p.frequency == kInstallmentMultiples ? "Enter a number between 2 and 12 for the "
                                                    : "Enter a number between 1 and 365 for the ";
    return head + CaptionWords(ConstUnitPeriodCaption(p)) + ".";
}

std::string FrequencyText(const ConstPermanentChoice& p) {
    if (p.singleAdvance) return p.frequency == kSingleWholeMonths ? "Whole Number of Months" : "Actual Days";
    switch (p.frequency) {
    case kInstallmentMonthly: return "Monthly";
    case kInstallmentMultiples: return "Multiples of a Month";
    case kInstallmentSemiMonthly: return "Semi-Monthly";
    default: return "Actual Days";
    }
}

// The permanent phase's unit period and year, as a regular loan's terms give them.
void SetPermanentFrequency(LoanRecord& r, const ConstPermanentChoice& p, double unitPeriod,
                           ConstInterestContinueResult& result) {
    if (!p.singleAdvance) {
        r.gdDaysinYr = 360;
        switch (p.frequency) {
        case kInstallmentMonthly:
            r.giPymtFreq = kFreqMonthly;
            r.gdDaysinUnitPd = 30;
            break;
        case kInstallmentMultiples:
            r.giPymtFreq = kFreqMultiplesOfMonth;
            r.dMonths = unitPeriod;
            r.gdDaysinUnitPd = Mul(r.dMonths, 30.0);
            break;
        case kInstallmentSemiMonthly:
            r.giPymtFreq = kFreqSemiMonthly;
            r.gdDaysinUnitPd = 15;
            break;
        default:
            r.giPymtFreq = kFreqActualDaysInstallment;
            r.gdDaysinUnitPd = unitPeriod;
            // A unit period of whole weeks runs on a 364-day year.
            r.gdDaysinYr = std::fmod(unitPeriod, 7.0) == 0 ? 364 : 365;
            break;
        }
        return;
    }
    // A single payment loan has one stream: any later ones go, with the schedule page.
    if (!Blank(r.gaPymtAmt[2])) {
        ScheduleClear(r);
        result.reloadSchedule = true;
    }
    if (p.frequency == kSingleWholeMonths) {
        SetWholeMonthsSinglePayment(r, unitPeriod);
    } else {
        r.giPymtFreq = kFreqActualDaysSingle;
        r.gdDaysinUnitPd = unitPeriod;
        r.gdDaysinYr = 365;
    }
}

}  // namespace

std::string ConstUnitPeriodCaption(const ConstPermanentChoice& p) {
    if (p.singleAdvance) return p.frequency == kSingleWholeMonths ? "Months in Loan Term:" : "Days in Unit Period:";
    if (p.frequency == kInstallmentMultiples) return "Months in Unit Period:";
    if (p.frequency == kInstallmentActualDays) return "Days in Unit Period:";
    return "";
}

ConstInterestActivation ConstInterestActivate(LoanRecord& r) {
    r.dPval = 0;
    r.gbSolverFailed = false;
    r.gdEstConstInterest = 0;
    EstimateConstInterest(r);
    ConstInterestActivation activation;
    activation.initialEstimate = Format(r.gdEstConstInterest, "Currency");
    activation.initialValueShown = r.construction.optIntAccrl != kAccrualOther;
    return activation;
}

ConstInterestLeave ConstInterestFieldCheck(int field, std::string_view text, const ConstPermanentChoice& p) {
    ConstInterestLeave leave;
    leave.text = std::string(text);
    switch (field) {
    case kInterestAmount:
        if (leave.text.empty()) leave.text = "0";
        // A money field: a decimal point is always allowed here.
        leave.valid = NumericTextCheck(leave.text, false) == kNumericOk;
        break;
    case kInterestDisclAPR: leave.valid = IsNumericText(text) && NumericTextValue(text).value_or(0) >= 1; break;
    case kInterestFinChg:
        leave.valid = text.empty() || IsNumericText(text);
        if (const std::optional<double> value = NumericTextValue(text)) leave.text = Format(*value, "$###,###,###.00");
        break;
    default: leave.valid = UnitPeriodInRange(p, Val(text)); break;
    }
    return leave;
}

std::optional<ConstInterestLeave> LeaveConstInterestField(EntryBadState& state, int field, std::string_view text,
                                                          const ConstPermanentChoice& choice) {
    if (state.entryBad) return std::nullopt;
    ConstInterestLeave leave = ConstInterestFieldCheck(field, text, choice);
    state.entryBad = !leave.valid;
    return leave;
}

std::string ConstInterestKeyMessage(int field, std::string_view unitPeriodCaption) {
    switch (field) {
    case kInterestAmount: return "Enter numbers, minus sign or decimal point only";
    case kInterestDisclAPR: return "For disclosed APR, enter numbers or decimal point only.";
    case kInterestFinChg: return "For disclosed finance charge, enter numbers or decimal point only.";
    default: return "Enter numbers only for the " + CaptionWords(unitPeriodCaption) + ".";
    }
}

AmountKeyVerdict ConstInterestAmountKey(std::string_view text, std::size_t caret, char key) {
    const bool digit = key >= '0' && key <= '9';
    if (!digit && key != '\b' && key != '.' && key != '-') return AmountKeyVerdict::RefuseWithMessage;
    const std::size_t point = text.find('.');
    if (key == '.' && point != std::string_view::npos) return AmountKeyVerdict::Refuse;
    if (digit && point != std::string_view::npos && caret > point + 1) {
        const bool twoDecimals = point + 2 < text.size() && std::isdigit(static_cast<unsigned char>(text[point + 1])) &&
                                 std::isdigit(static_cast<unsigned char>(text[point + 2]));
        if (twoDecimals) return AmountKeyVerdict::Refuse;
    }
    return AmountKeyVerdict::Accept;
}

ConstInterestContinueResult ConstInterestContinue(LoanRecord& r, UserSeam& user, const ConstInterestEntries& e) {
    ConstInterestContinueResult result;
    const ConstPermanentChoice& p = e.permanent;
    const bool constructionOnly = ConstructionOnly(r.construction);
    r.gbSingleAdvance = p.singleAdvance;

    auto refuse = [&](const std::string& message, int field) {
        ShowConstRefusal(r, user, message);
        result.check.passed = false;
        result.check.message = message;
        result.check.focusField = field;
        return result;
    };
    const std::string kDollars = "Enter dollar amount using the following format: #,###.##";
    if (!ConstInterestFieldCheck(kInterestAmount, e.amtInt, p).valid) return refuse(kDollars, kInterestAmount);
    if (!ConstInterestFieldCheck(kInterestDisclAPR, e.discAPR, p).valid)
        return refuse("Enter a number greater than or equal to 1 for disclosed or estimated APR.", kInterestDisclAPR);
    if (!ConstInterestFieldCheck(kInterestFinChg, e.finChg, p).valid) return refuse(kDollars, kInterestFinChg);
    const bool unitPeriodShown = !constructionOnly && !ConstUnitPeriodCaption(p).empty();
    if (unitPeriodShown &&
        (Blank(e.unitPeriod) || !ConstInterestFieldCheck(kInterestUnitPeriod, e.unitPeriod, p).valid))
        return refuse(UnitPeriodMessage(p), kInterestUnitPeriod);

    r.gdEstConstInterest = FixedAmount(e.amtInt.empty() ? "0" : e.amtInt);
    if (constructionOnly) {
        // One-half of the commitment, whatever the interest basis: the average amount advanced.
        r.gdConstIntBase = checked::Div(r.gdCommitmentAmt, 2.0);
        r.gdAmount = Sub(r.gdConstIntBase, r.gdPrepaidFinChg);
    } else {
        r.gdAmount = Sub(Sub(Sub(r.gdCommitmentAmt, r.gdEstConstInterest), r.gdPrepaidFinChg), r.gdSubseqFinChg);
    }
    r.gdDisclAPR = FieldNumber(e.discAPR);
    if (!e.finChg.empty()) r.gdEstFinanceChg = FixedAmount(e.finChg);

    if (constructionOnly) {
        const Currency payment =
            Currency::FromDouble(Add(Add(Mul(r.gdCommitmentAmt, 0.5), r.gdEstConstInterest), r.gdSubseqFinChg));
        // The schedule page, which labels its streams, is never shown for this loan; the row
        // gets its label here so the report and the listing name it.
        r.gaPymtCol0[1] = "1";
        r.gaPymtAmt[1] = ShortestNumber(payment.ToDouble());
        r.gaNumPymts[1] = "1";
        r.gaUnitPeriods[1] = ShortestNumber(r.gdCalUnitPeriods);
        r.gaOddDays[1] = ShortestNumber(r.gdCalOddDays);
        result.next = ConstInterestNext::ConstructionResults;
    } else {
        SetPermanentFrequency(r, p, unitPeriodShown ? Val(e.unitPeriod) : 0, result);
        result.next = ConstInterestNext::Schedule;
    }
    r.gsPymtFreqText = FrequencyText(p);
    r.gbBackFromReimb = false;
    return result;
}

}  // namespace tallex
