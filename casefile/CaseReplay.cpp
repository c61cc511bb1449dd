#include "CaseReplay.h"

#include "CaseChoices.h"
#include "CaseUser.h"

#include "calendar/DateCheck.h"
#include "calendar/PaymentDateCalendar.h"
#include "compliance/DisclosureResults.h"
#include "compliance/Reimbursement.h"
#include "compliance/ReimbursementScreen.h"
#include "construction/ConstChoices.h"
#include "construction/ConstLoanTerms.h"
#include "construction/ConstPermanentTerms.h"
#include "construction/ConstPhase.h"
#include "construction/ConstReimbursement.h"
#include "construction/ConstResults.h"
#include "construction/ConstructionDateCalendar.h"
#include "engine/Format.h"
#include "engine/NumberText.h"
#include "entry/LoanTerms.h"
#include "schedule/ScheduleCellCheck.h"
#include "schedule/ScheduleCellStore.h"
#include "schedule/ScheduleOddDaysQuietPeriod.h"
#include "schedule/SchedulePage.h"
#include "shell/BasicInfo.h"
#include "ui/Clock.h"

#include <algorithm>
#include <array>
#include <functional>
#include <numeric>

namespace tallex::casefile {

namespace {

[[noreturn]] void Refuse(std::string_view key, const std::string& message) {
    throw CaseFault{{std::string(key), message}};
}

const std::string& StreamLabel(int k) {
    static const StreamArray<std::string> labels = [] {
        StreamArray<std::string> l;
        for (int n = 1; n <= kMaxStreams; ++n) l[n] = std::to_string(n);
        return l;
    }();
    return labels[k];
}

std::string StreamKey(int k) { return "schedule[" + std::to_string(k) + "]"; }

const char* const kSingleHasNoCalendar =
    "a single advance / single payment loan is timed by its unit_period: the payment schedule's Calendar is not "
    "available for it";
const char* const kNoConstructionEnd =
    "a construction loan times a payment from the loan date, the construction period end date and the payment "
    "date: give construction.construction_end_date";

int ToleranceIndex(const std::string& tolerance) {
    const int index = ChoiceIndex(kToleranceKeys, tolerance);
    return index < 0 ? kToleranceQuarter : index;
}

class CaseRunner {
public:
    CaseRunner(const CaseFile& c, CaseOutcome& out, LoanRecord& record, const Clock& clock,
               CaseProgress* progress = nullptr)
        : c_(c),
          out_(out),
          r_(record),
          clock_(clock),
          progress_(progress),
          user_(r_, c.aprUnderstatementCausedByFc, c.aprOverstatementCausedByFc) {}

    // The whole case, on an outcome renewed first.
    void Run() {
        // A case reaches only the rows it types and the one after them; the next case on this
        // record empties just those.
        ResetLoanRecord(r_, out_.rowsInUse);
        out_.rowsInUse = std::min(kMaxStreams, static_cast<int>(c_.schedule.size()) + 2);
        // The results page starts as the program loads it: the construction-only results page
        // with the .25 tolerance selected, the other with none (the tests select one, except for
        // a single payment in days).
        const bool constructionOnlyPage =
            c_.kind != "regular" && c_.construction && c_.construction->disclosure == "separately";
        out_.view = MemoryResultsView{constructionOnlyPage ? kToleranceQuarter : kToleranceNone};
        out_.identity = {};
        out_.scheduleRows = 0;
        out_.enteredRows.clear();
        out_.reimbursed = false;
        out_.adjustedPaymentsShown = false;
        out_.notes.clear();
        Pages();
        out_.notes = user_.notes();
    }

    // Up to the page before the results, on the record as it is.
    void RunToResults() {
        stopBeforeResults_ = true;
        Pages();
    }

    CasePage page() const { return page_; }
    const CaseUser& user() const { return user_; }

private:
    void Pages() {
        page_ = CasePage::BasicInformation;
        BasicInformation();
        if (c_.kind == "regular") {
            page_ = CasePage::LoanTerms;
            LoanTerms();
            ScheduleAndResults();
        } else {
            page_ = CasePage::ConstructionTerms;
            ConstructionLoanTerms();
            page_ = CasePage::ConstructionPhase;
            ConstructionPhase();
            page_ = CasePage::ConstructionInterest;
            ConstructionInterest();
            if (ConstructionOnly(r_.construction)) {
                if (stopBeforeResults_) return;
                page_ = CasePage::ConstructionResults;
                ConstructionResults();
            } else {
                ScheduleAndResults();
            }
        }
        if (stopBeforeResults_) return;
        page_ = CasePage::Reimbursement;
        Reimbursement();
    }

    // The payment schedule and its Continue; then the results page, unless the replay stops
    // before it.
    void ScheduleAndResults() {
        page_ = CasePage::Schedule;
        Schedule();
        if (stopBeforeResults_) return;
        page_ = CasePage::Results;
        Results();
    }

    // Typing a text key by key through a page's key filter: a key refused with a message ends
    // the case with it; a key refused silently (a length or decimal limit) as well, because the
    // page would hold something other than what the case says.
    template <class KeyFilter>
    std::string Type(std::string_view key, const std::string& text, KeyFilter filter) {
        user_.at(key);
        std::string typed;
        for (char ch : text) {
            const auto [accepted, message] = filter(typed, static_cast<unsigned char>(ch));
            if (!accepted) RefuseKey(key, text, typed, ch, message);
            typed += ch;
        }
        return typed;
    }

    [[noreturn]] static void RefuseKey(std::string_view key, const std::string& text, const std::string& typed, char ch,
                                       const std::string& message) {
        if (!message.empty()) Refuse(key, message);
        std::string refusal = "\"" + text;
        refusal.append("\" cannot be typed into this field: it refuses '").append(1, ch);
        refusal.append("' after \"").append(typed).append("\"");
        Refuse(key, refusal);
    }

    // The loan terms boxes, typed as Type does, into one box the filter sees as it grows (the
    // caret at its end): three boxes of every case go through here, a key at a time.
    using LoanTermsKey = KeyVerdict (*)(LoanTermsState&, const EditState&, int);
    std::string TypeLoanTerms(std::string_view key, const std::string& text, LoanTermsKey fn,
                              const std::string& message = "") {
        user_.at(key);
        LoanTermsState scratch;
        EditState box;
        box.text.reserve(text.size());
        for (char ch : text) {
            box.selStart = static_cast<int>(box.text.size());
            const KeyVerdict v = fn(scratch, box, static_cast<unsigned char>(ch));
            if (!v.accepted)
                RefuseKey(key, text, box.text, ch, v.message.empty() || message.empty() ? v.message : message);
            box.text += ch;
        }
        return std::move(box.text);
    }

    std::string TypeDigits(std::string_view key, const std::string& text, const std::string& message) {
        return Type(key, text, [&](const std::string&, int ch) {
            return std::pair<bool, std::string>{ch >= '0' && ch <= '9', message};
        });
    }

    void BasicInformation() {
        out_.identity = {c_.preparer, c_.date, c_.borrower, c_.account, c_.lender, c_.creditor};
        if (out_.identity.creditor.empty()) out_.identity.creditor = c_.lender;  // as leaving the lender box does
        if (!c_.date.empty()) {
            user_.at("date");
            const std::string date = CheckDate(r_, c_.date);
            if (r_.giDateError != 0) Refuse("date", "Invalid date.  Type a valid date in mm-dd-yyyy format.");
            out_.identity.date = date;
        }
        if (c_.kind == "regular") {
            r_.gsLoanType = kRegularLoanType;
            r_.gbAppendixJ = true;
            r_.gbConstruction = false;
        } else {
            r_.gbAppendixJ = false;
            r_.gbConstruction = true;
        }
    }

    void SecuredFlags(bool securedByDefault) {
        // The pre-1995 box is hidden and cleared while the loan is not secured by real estate.
        const bool secured = c_.securedByRealEstate.value_or(securedByDefault);
        SetSecuredByRealEstate(r_, secured);
        SetDatePre093095(r_, c_.loanDateBefore1995);
    }

    void LoanTerms() {
        LoanTermsState state;
        const LoanTermsChoice choice{c_.loanType == "single" ? 1 : 0, FrequencyIndex(c_)};
        const LoanTermsLayoutView layout = LoanTermsLayout(r_, state, choice);
        LoanTermsEntries e;
        e.choice = choice;
        e.unitPeriodShown = layout.unitPeriodShown;
        e.unitPeriodCaption = layout.unitPeriodCaption;
        e.amountFinanced = TypeLoanTerms("amount_financed", c_.amountFinanced, AmountFinancedKey);
        e.disclosedApr = TypeLoanTerms("disclosed_apr", c_.disclosedApr, DisclosedAprKey);
        e.financeCharge = TypeLoanTerms("disclosed_finance_charge", c_.disclosedFinanceCharge, FinanceChargeKey);
        if (layout.unitPeriodShown) {
            LoanTermsState scratch;
            e.unitPeriod = Type("unit_period", c_.unitPeriod, [&](const std::string&, int ch) {
                const KeyVerdict v = UnitPeriodKey(scratch, layout.unitPeriodCaption, ch);
                return std::pair<bool, std::string>{v.accepted, v.message};
            });
        }
        // A frequency without a unit-period box has nothing to type there: a value is ignored.
        // Leaving each box in tab order, as the user does.
        const std::pair<LoanTermsField, std::pair<const char*, std::string*>> boxes[] = {
            {LoanTermsField::AmountFinanced, {"amount_financed", &e.amountFinanced}},
            {LoanTermsField::DisclosedApr, {"disclosed_apr", &e.disclosedApr}},
            {LoanTermsField::FinanceCharge, {"disclosed_finance_charge", &e.financeCharge}},
            {LoanTermsField::UnitPeriod, {"unit_period", &e.unitPeriod}},
        };
        for (const auto& [field, box] : boxes) {
            if (field == LoanTermsField::UnitPeriod && !layout.unitPeriodShown) continue;
            user_.at(box.first);
            const FieldLeave leave = LeaveLoanTermsField(r_, state, field, *box.second, choice);
            if (leave.newText) *box.second = *leave.newText;
            KeepLoanTerms(e, state);
            if (!leave.message.empty()) Refuse(box.first, leave.message);
        }
        SecuredFlags(false);
        const LoanTermsContinueResult result = LoanTermsContinue(r_, state, e);
        KeepLoanTerms(e, state);
        if (result.refusal) {
            const char* key = "amount_financed";
            for (const auto& [field, box] : boxes)
                if (field == result.refusal->field) key = box.first;
            Refuse(key, result.refusal->message);
        }
    }

    // The schedule page: each stream typed cell by cell, dates through the calculator, then
    // Continue (the whole-schedule check and the solver).
    void Schedule() {
        // The page's first load labels its streams and clears the schedule, which the reset at the
        // start of the case has done already. Only the rows this case can reach need a label: the
        // grid labels a new row when it is added, and nothing reads a label beyond the last row.
        const int rows = static_cast<int>(c_.schedule.size());
        for (int k = 1; k <= std::min(rows + 1, kMaxStreams); ++k) r_.gaPymtCol0[k] = StreamLabel(k);
        const ScheduleActivation activation = ActivateSchedule(r_);
        const bool single = r_.giPymtFreq == kFreqEqualMonthsSingle || r_.giPymtFreq == kFreqActualDaysSingle;
        if (single && rows > 1) Refuse("schedule", "a single advance / single payment loan has one payment stream");
        const Clock& clock = clock_;
        // The keys cells are entered under, composed in buffers kept for the whole schedule: every
        // cell names its key before it is checked, but only a refusal reads it.
        std::string key;
        std::string cellKey;
        const auto keyOf = [&](const char* column) -> std::string_view { return cellKey.assign(key).append(column); };
        for (int k = 1; k <= rows; ++k) {
            const CaseStream& s = c_.schedule[static_cast<std::size_t>(k - 1)];
            key = StreamKey(k);
            ScheduleOddDaysQuietPeriod quiet(clock);
            Cell(quiet, k, 1, s.amount, keyOf(".amount"), activation);
            Cell(quiet, k, 2, s.payments, keyOf(".payments"), activation);
            if (s.hasDates()) {
                if (single) Refuse(key + ".loan_date", kSingleHasNoCalendar);
                PaymentCalendar(clock, k, s, key);
            } else if (k == 1 && c_.construction && !c_.construction->amortizationDate.empty() &&
                       s.unitPeriods.empty() && s.oddDays.empty()) {
                if (single) Refuse("construction.amortization_date", kSingleHasNoCalendar);
                const CaseConstruction& cc = *c_.construction;
                ConstructionCalendar(clock, k,
                                     {{{cc.loanDate, "construction.loan_date"},
                                       {cc.constructionEndDate, "construction.construction_end_date"},
                                       {cc.amortizationDate, "construction.amortization_date"}}},
                                     "construction.amortization_date");
            } else {
                Cell(quiet, k, 3, s.unitPeriods, keyOf(".unit_periods"), activation);
                Cell(quiet, k, 4, s.oddDays, keyOf(".odd_days"), activation);
            }
        }
        if (stopBeforeResults_) return;  // Continue is the user's
        const int rowCount = std::max(rows, 1);
        out_.scheduleRows = rowCount;
        user_.at("schedule");
        const std::array<std::string, 4> current{r_.gaPymtAmt[rowCount], r_.gaNumPymts[rowCount],
                                                 r_.gaUnitPeriods[rowCount], r_.gaOddDays[rowCount]};
        const ScheduleContinueOutcome outcome =
            ScheduleContinue(r_, user_, rowCount, std::to_string(rowCount), current);
        if (!outcome.proceed) Refuse("schedule", "the payment schedule cannot be continued");
    }

    void Cell(ScheduleOddDaysQuietPeriod& quiet, int k, int column, const std::string& text, std::string_view key,
              const ScheduleActivation& activation) {
        if (activation.readOnly[static_cast<std::size_t>(column)] && k == 1) {
            // A cell the page fills itself and does not let the user change.
            const std::string& fixed = column == 2   ? r_.gaNumPymts[1]
                                       : column == 3 ? r_.gaUnitPeriods[1]
                                                     : r_.gaOddDays[1];
            if (!text.empty() && Val(text) != Val(fixed))
                Refuse(key, "is fixed at " + fixed + " for this loan and cannot be changed");
            return;
        }
        if (text.empty()) return;  // the user tabs past an empty cell
        user_.at(key);
        // Only the value is stored: the grid's shown text is nobody's to read here.
        const ScheduleCellResult result = ScheduleCellCheck(r_, user_, quiet, k, column, text, CellText::NotShown);
        if (result.cancel) Refuse(key, result.message.empty() ? "the cell is refused" : result.message);
        ScheduleCellStore(r_, std::to_string(k), column, result.cellValue);
    }

    // Types the dates into a calculator and presses OK. A calculator that refuses is left only by
    // Cancel, which zeroes its results and hands its page nothing; the case ends with the refusal
    // (the key the dates were typed under names it).
    template <class Calendar, class TypeDates>
    void PressCalendarOk(Calendar& calendar, TypeDates typeDates, const std::string& key, const char* refusal) {
        bool closed = false;
        try {
            typeDates();
            closed = calendar.ok(user_).close;
        } catch (const CaseFault&) {
            calendar.cancel();
            throw;
        }
        if (!closed) {
            calendar.cancel();
            Refuse(key, refusal);
        }
    }

    // The schedule's Calendar for a stream's own dates: a construction loan measures them with the
    // three-date calculator, from its construction period's end.
    void PaymentCalendar(const Clock& clock, int k, const CaseStream& s, const std::string& key) {
        if (r_.gbConstruction) {
            const CaseConstruction& cc = *c_.construction;
            if (cc.constructionEndDate.empty()) Refuse(key, kNoConstructionEnd);
            ConstructionCalendar(clock, k,
                                 {{{s.loanDate, key + ".loan_date"},
                                   {cc.constructionEndDate, "construction.construction_end_date"},
                                   {s.firstPaymentDate, key + ".first_payment_date"}}},
                                 key);
            return;
        }
        r_.giGridRow = static_cast<std::int16_t>(k);
        r_.gbCalendarOK = false;
        PaymentDateCalendar calendar(r_, clock);
        calendar.activate();
        PressCalendarOk(
            calendar,
            [&] {
                user_.at(key + ".loan_date");
                calendar.leaveField(PaymentDateCalendar::Field::kLoanDate, s.loanDate, user_);
                user_.at(key + ".first_payment_date");
                calendar.leaveField(PaymentDateCalendar::Field::kEndDate, s.firstPaymentDate, user_);
                user_.at(key);
            },
            key, "the payment date calculator did not accept the dates");
        TakeCalendarResult(r_, k, 3);
    }

    // A date typed into a calculator field, and the case key it comes from.
    struct TypedDate {
        const std::string& text;
        std::string key;
    };

    // The three-date calculator: loan date, construction period end, amortization payment date;
    // `okKey` names the refusals of OK.
    void ConstructionCalendar(const Clock& clock, int k, const std::array<TypedDate, 3>& dates,
                              const std::string& okKey) {
        r_.giGridRow = static_cast<std::int16_t>(k);
        r_.gbCalendarOK = false;
        ConstructionDateCalendar calendar(r_, clock);
        calendar.activate();
        static constexpr ConstructionDateCalendar::Field fields[] = {ConstructionDateCalendar::Field::kLoanDate,
                                                                     ConstructionDateCalendar::Field::kConstrEndDate,
                                                                     ConstructionDateCalendar::Field::kAmortPymtDate};
        PressCalendarOk(
            calendar,
            [&] {
                for (std::size_t i = 0; i < dates.size(); ++i) {
                    user_.at(dates[i].key);
                    calendar.leaveField(fields[i], dates[i].text, user_);
                }
                user_.at(okKey);
            },
            okKey, "the construction date calculator did not accept the dates");
        TakeCalendarResult(r_, k, 3);
    }

    // The outcome keeps the verdict labels only: the figure captions would be composed for nobody.
    DisclosureInputs CaptionlessInputs() const {
        return DisclosureInputs{c_.preparer, c_.disclosedFinanceCharge, false};
    }

    void Results() {
        // The page refuses only a construction loan (its amount financed), whose figures come
        // from the construction entries; the caused-by answers name their own keys.
        user_.at(r_.gbConstruction ? "construction" : "answers");
        DisclosureInputs inputs = CaptionlessInputs();
        out_.enteredRows.resize(kMaxStreams + 1);
        std::iota(out_.enteredRows.begin(), out_.enteredRows.end(), 0);
        inputs.enteredRows = &out_.enteredRows;
        const DisclosureOutcome outcome = ComputeDisclosureResults(r_, out_.view, user_, inputs);
        if (outcome.refused) Refuse("construction", "the results page refused the loan");
    }

    void Reimbursement() {
        if (!r_.gbSubjToReimb) return;
        const bool constructionOnly = r_.gbConstruction && ConstructionOnly(r_.construction);
        const int index = c_.tolerance ? ToleranceIndex(*c_.tolerance) : out_.view.selectedTolerance();
        if (constructionOnly && index == kToleranceEighth)
            Refuse("reimbursement.tolerance", "the .125 % tolerance is not offered for a construction-only loan");
        if (index == kToleranceNone) {
            // The results page selects no tolerance for this loan (a single payment in days) and
            // would ask for one: the verdict stands without reimbursement figures.
            user_.note(
                "reimbursement.tolerance: no reimbursement tolerance was chosen (the results page selects "
                "none for this loan), so no reimbursement was computed");
            return;
        }
        user_.at("reimbursement");
        if (constructionOnly)
            StartConstReimbursement(r_, index);
        else
            StartReimbursement(r_, index);
        out_.adjustedPaymentsShown = ReimbursementActivation(r_, false).gridVisible;
        out_.reimbursed = true;
        if (c_.priorPayments) {
            user_.at("reimbursement.prior_payments");
            // Where the page asks for no prior payments there are no lump sums: the verdict stands
            // with them null, and says why the number given was not used.
            if (!ReimbursementOffersPriorPayments(r_)) {
                user_.note(
                    "reimbursement.prior_payments: the reimbursement page asks for no prior payments for "
                    "this loan (lump sums exist only for an APR adjustment owed on a loan of several "
                    "payments), so none were computed");
                return;
            }
            ShowAdjustments(r_, user_, std::to_string(*c_.priorPayments), constructionOnly ? 1 : out_.scheduleRows);
        }
    }

    // ---- construction pages ----

    std::string TypeMoney(std::string_view key, const std::string& text, const std::string& message) {
        return TypeLoanTerms(key, text, FinanceChargeKey, message);
    }

    void ConstructionLoanTerms() {
        const CaseConstruction& cc = *c_.construction;
        ConstLoanTermsActivate(r_);
        r_.construction.optDiscType = cc.disclosure == "separately" ? kDiscConstructionOnly : kDiscWithPermanent;
        r_.construction.optInterestType = cc.interestOn == "advances" ? kInterestOnAdvances : kInterestOnCommitment;
        ConstLoanTermsEntries e;
        e.loanAmt = TypeMoney("construction.commitment", cc.commitment, ConstLoanTermsKeyMessage(kTermsLoanAmt));
        e.simpleInt = TypeLoanTerms("construction.simple_rate", cc.simpleRate, DisclosedAprKey,
                                    ConstLoanTermsKeyMessage(kTermsSimpleInt));
        e.prepdFinChg = TypeMoney("construction.prepaid_finance_charge", cc.prepaidFinanceCharge,
                                  ConstLoanTermsKeyMessage(kTermsPrepdFinChg));
        e.subFinChg = TypeMoney("construction.subsequent_finance_charge", cc.subsequentFinanceCharge,
                                ConstLoanTermsKeyMessage(kTermsSubFinChg));
        e.loanAmt = ConstLoanTermsFieldCheck(kTermsLoanAmt, e.loanAmt).text;
        e.simpleInt = ConstLoanTermsFieldCheck(kTermsSimpleInt, e.simpleInt).text;
        e.prepdFinChg = ConstLoanTermsFieldCheck(kTermsPrepdFinChg, e.prepdFinChg).text;
        e.subFinChg = ConstLoanTermsFieldCheck(kTermsSubFinChg, e.subFinChg).text;
        KeepConstructionTerms(e);
        SecuredFlags(true);
        static const char* const keys[] = {"construction.commitment", "construction.simple_rate",
                                           "construction.prepaid_finance_charge",
                                           "construction.subsequent_finance_charge"};
        Deferred([&] { return ConstLoanTermsContinue(r_, user_, e); }, keys, 4);
    }

    // Runs a page's Continue whose refusal names the field that gets the focus.
    template <class Step>
    void Deferred(Step step, const char* const* keys, int keyCount) {
        user_.at("construction");
        user_.deferRefusals(true);
        ConstContinueResult result;
        try {
            result = step();
        } catch (...) {
            user_.deferRefusals(false);
            throw;
        }
        user_.deferRefusals(false);
        const std::string refusal = user_.takeRefusal();
        if (!result.passed || !refusal.empty()) {
            const int field = result.focusField;
            const std::string key = field >= 0 && field < keyCount ? keys[field] : "construction";
            Refuse(key, refusal.empty() ? result.message : refusal);
        }
    }

    void ConstructionPhase() {
        const CaseConstruction& cc = *c_.construction;
        ConstPhaseActivate(r_);
        if (const int accrual = ChoiceIndex(kAccrualKeys, cc.accrual); accrual >= 0)
            r_.construction.optIntAccrl = static_cast<std::int16_t>(accrual);
        r_.construction.chkIntReserve = cc.interestReserve;
        r_.construction.optOther = cc.termBasis == "days" ? kOtherActualDays : kOtherWholeMonths;
        const ConstPhaseLayout layout = ConstPhaseLayoutFor(r_.construction);

        ConstPhaseEntries e;
        if (!cc.timePeriod.empty() && !layout.timePeriodShown)
            Refuse("construction.time_period", "no construction period is entered for this accrual system");
        e.timePeriod = TypeDigits("construction.time_period", cc.timePeriod,
                                  ConstPhaseKeyMessage(kPhaseTimePeriod, layout.timePeriodLabel));
        if (e.timePeriod.empty() && layout.calendarShown && !cc.loanDate.empty() && !cc.constructionEndDate.empty())
            PhaseCalendar(e);
        const ConstUnitPeriodFields follow = ConstUnitPeriodsFollow(e.timePeriod);
        if (layout.unitPeriodsShown && follow.enabled) {
            // A period of a year of days: what the case types replaces what the calendar filled in.
            if (!cc.unitPeriods.empty())
                e.unitPeriods = TypeDigits("construction.unit_periods", cc.unitPeriods,
                                           ConstPhaseKeyMessage(kPhaseUnitPeriods, ""));
            if (!cc.oddDays.empty())
                e.oddDays = TypeDigits("construction.odd_days", cc.oddDays, ConstPhaseKeyMessage(kPhaseOddDays, ""));
        } else {
            if (e.unitPeriods.empty()) e.unitPeriods = layout.unitPeriodsShown ? follow.unitPeriods : "";
            if (e.oddDays.empty()) e.oddDays = layout.unitPeriodsShown ? follow.oddDays : "";
            if (!cc.unitPeriods.empty() && Val(cc.unitPeriods) != Val(e.unitPeriods))
                Refuse("construction.unit_periods", "is fixed at " + e.unitPeriods + " for this construction period");
            if (!cc.oddDays.empty() && Val(cc.oddDays) != Val(e.oddDays))
                Refuse("construction.odd_days", "is fixed at " + e.oddDays + " for this construction period");
        }
        static const char* const keys[] = {"construction.time_period", "construction.unit_periods",
                                           "construction.odd_days"};
        KeepConstructionPhase(e);
        Deferred([&] { return ConstPhaseContinue(r_, user_, e); }, keys, 3);
    }

    // The construction phase page's Calendar: the period from the loan date to its end.
    void PhaseCalendar(ConstPhaseEntries& e) {
        const CaseConstruction& cc = *c_.construction;
        const Clock& clock = clock_;
        r_.gbCalendarOK = false;
        PaymentDateCalendar calendar(r_, clock);
        calendar.activate();
        PressCalendarOk(
            calendar,
            [&] {
                user_.at("construction.loan_date");
                calendar.leaveField(PaymentDateCalendar::Field::kLoanDate, cc.loanDate, user_);
                user_.at("construction.construction_end_date");
                calendar.leaveField(PaymentDateCalendar::Field::kEndDate, cc.constructionEndDate, user_);
            },
            "construction", "the payment date calculator did not accept the dates");
        if (WholeMonthAccrual(r_.construction) || !ConstructionOnly(r_.construction)) {
            e.timePeriod = ShortestNumber(r_.gdCalActualDays);
        } else {
            e.timePeriod = ShortestNumber(r_.gdDaysinUnitPd);
            e.unitPeriods = ShortestNumber(r_.gdCalUnitPeriods);
            e.oddDays = ShortestNumber(r_.gdCalOddDays);
        }
    }

    void ConstructionInterest() {
        const CaseConstruction& cc = *c_.construction;
        const ConstInterestActivation activation = ConstInterestActivate(r_);
        if (progress_) {
            progress_->initialEstimate = activation.initialEstimate;
            progress_->initialEstimateShown = activation.initialValueShown;
        }
        ConstInterestEntries e;
        e.permanent.singleAdvance = c_.loanType == "single";
        e.permanent.frequency = static_cast<std::int16_t>(FrequencyIndex(c_));
        const bool permanent = !ConstructionOnly(r_.construction);
        if (cc.estimatedInterest) {
            e.amtInt =
                Type("construction.estimated_interest", *cc.estimatedInterest, [&](const std::string& typed, int ch) {
                    const auto v = ConstInterestAmountKey(typed, typed.size(), static_cast<char>(ch));
                    return std::pair<bool, std::string>{v == tallex::AmountKeyVerdict::Accept,
                                                        v == tallex::AmountKeyVerdict::RefuseWithMessage
                                                            ? ConstInterestKeyMessage(kInterestAmount, "")
                                                            : ""};
                });
        } else {
            e.amtInt = activation.initialEstimate;
        }
        e.discAPR = TypeLoanTerms("disclosed_apr", c_.disclosedApr, DisclosedAprKey);
        e.finChg = TypeLoanTerms("disclosed_finance_charge", c_.disclosedFinanceCharge, FinanceChargeKey);
        const std::string caption = ConstUnitPeriodCaption(e.permanent);
        if (permanent && !caption.empty()) {
            e.unitPeriod =
                TypeDigits("unit_period", c_.unitPeriod, ConstInterestKeyMessage(kInterestUnitPeriod, caption));
        }
        e.amtInt = ConstInterestFieldCheck(kInterestAmount, e.amtInt, e.permanent).text;
        e.discAPR = ConstInterestFieldCheck(kInterestDisclAPR, e.discAPR, e.permanent).text;
        e.finChg = ConstInterestFieldCheck(kInterestFinChg, e.finChg, e.permanent).text;
        if (!e.unitPeriod.empty())
            e.unitPeriod = ConstInterestFieldCheck(kInterestUnitPeriod, e.unitPeriod, e.permanent).text;
        KeepConstructionInterest(e);
        // A construction phase disclosed separately goes on to its results from here.
        if (stopBeforeResults_ && !permanent) return;
        static const char* const keys[] = {"construction.estimated_interest", "disclosed_apr",
                                           "disclosed_finance_charge", "unit_period"};
        Deferred([&] { return ConstInterestContinue(r_, user_, e).check; }, keys, 4);
    }

    void ConstructionResults() {
        user_.at("construction");
        const ConstResultsOutcome outcome = ConstResultsActivate(r_, out_.view, user_, CaptionlessInputs());
        if (outcome.refused || outcome.solverFailed)
            Refuse("construction", "the construction results refused the loan");
        out_.scheduleRows = 1;
    }

    // ---- what the pages hold, for a front end that shows the case ----

    void KeepLoanTerms(const LoanTermsEntries& e, const LoanTermsState& state) {
        if (!progress_) return;
        CaseFile& shown = progress_->entries;
        shown.amountFinanced = e.amountFinanced;
        shown.disclosedApr = e.disclosedApr;
        shown.disclosedFinanceCharge = e.financeCharge;
        shown.unitPeriod = e.unitPeriod;
        progress_->loanTerms = state;
    }

    void KeepConstructionTerms(const ConstLoanTermsEntries& e) {
        if (!progress_) return;
        CaseConstruction& shown = *progress_->entries.construction;
        shown.commitment = e.loanAmt;
        shown.simpleRate = e.simpleInt;
        shown.prepaidFinanceCharge = e.prepdFinChg;
        shown.subsequentFinanceCharge = e.subFinChg;
    }

    void KeepConstructionPhase(const ConstPhaseEntries& e) {
        if (!progress_) return;
        CaseConstruction& shown = *progress_->entries.construction;
        shown.timePeriod = e.timePeriod;
        shown.unitPeriods = e.unitPeriods;
        shown.oddDays = e.oddDays;
    }

    void KeepConstructionInterest(const ConstInterestEntries& e) {
        if (!progress_) return;
        CaseFile& shown = progress_->entries;
        shown.construction->estimatedInterest = e.amtInt;
        shown.disclosedApr = e.discAPR;
        shown.disclosedFinanceCharge = e.finChg;
        shown.unitPeriod = e.unitPeriod;
    }

    const CaseFile& c_;
    CaseOutcome& out_;
    LoanRecord& r_;
    const Clock& clock_;
    CaseProgress* progress_;
    CaseUser user_;
    CasePage page_ = CasePage::BasicInformation;
    bool stopBeforeResults_ = false;
};

}  // namespace

std::vector<int> RowsInEnteredOrder(const CaseOutcome& out) {
    std::vector<int> rows(static_cast<std::size_t>(std::max(out.scheduleRows, 0)));
    std::iota(rows.begin(), rows.end(), 1);
    if (out.enteredRows.empty()) return rows;  // the results never ordered them
    for (int k = 1; k <= out.scheduleRows; ++k) rows[static_cast<std::size_t>(out.enteredRows[k] - 1)] = k;
    return rows;
}

std::optional<CaseError> RunCase(const CaseFile& c, CaseOutcome& out) {
    const SystemClock clock;
    try {
        CaseRunner(c, out, *out.record, clock).Run();
    } catch (const CaseFault& fault) {
        return fault.error;
    }
    return std::nullopt;
}

CaseProgress ReplayToResults(const CaseFile& c, LoanRecord& record, const Clock& clock) {
    CaseProgress progress;
    progress.entries = c;
    CaseOutcome scratch;  // the identity and the counts of a full run; its own record stays unused
    CaseRunner runner(c, scratch, record, clock, &progress);
    try {
        runner.RunToResults();
    } catch (const CaseFault& fault) {
        progress.refusal = fault.error;
        progress.refusalStyle = runner.user().refusalStyle();
    }
    progress.page = runner.page();
    progress.notes = runner.user().notes();
    const ReportIdentity& shown = scratch.identity;
    progress.entries.preparer = shown.preparer;
    progress.entries.date = shown.date;
    progress.entries.borrower = shown.borrower;
    progress.entries.account = shown.account;
    progress.entries.lender = shown.lender;
    progress.entries.creditor = shown.creditor;
    return progress;
}

}  // namespace tallex::casefile
