#pragma once
// The fixed choices of a case file and the page options they stand for, in the pages' order:
// the one table every reader, writer and replay of a case uses.

#include <array>
#include <string>
#include <string_view>

namespace tallex::casefile {

struct CaseFile;

// The basic information page's loan type and the loan terms page's kind of loan.
inline constexpr std::array<std::string_view, 2> kKindKeys{"regular", "construction"};
inline constexpr std::array<std::string_view, 2> kLoanTypeKeys{"installment", "single"};
// The payment frequency options of an installment loan and of a single advance, single payment.
inline constexpr std::array<std::string_view, 4> kInstallmentFrequencyKeys{"monthly", "multiples_of_month",
                                                                           "semi_monthly", "actual_days"};
inline constexpr std::array<std::string_view, 2> kSingleFrequencyKeys{"whole_months", "actual_days"};
// The construction loan terms' options: how the construction phase is disclosed and what the
// interest is charged on; the construction phase's accrual and its term basis for "other".
inline constexpr std::array<std::string_view, 2> kDisclosureKeys{"separately", "with_permanent"};
inline constexpr std::array<std::string_view, 2> kInterestOnKeys{"advances", "commitment"};
inline constexpr std::array<std::string_view, 2> kTermBasisKeys{"months", "days"};
inline constexpr std::array<std::string_view, 4> kAccrualKeys{"360/360", "365/365", "365/360", "other"};
// The reimbursement tolerance options, in the results page's order (0, 1/8, 1/4 point).
inline constexpr std::array<std::string_view, 3> kToleranceKeys{"0", "0.125", "0.25"};

// The frequency option of the case's loan type (0 for an unknown key).
int FrequencyIndex(const CaseFile& c);
// The key of a frequency option; the last option for an index beyond the list.
std::string_view FrequencyKey(bool single, int index);
// The index of a choice in its table, -1 when absent.
template <std::size_t N>
constexpr int ChoiceIndex(const std::array<std::string_view, N>& table, std::string_view key) {
    for (std::size_t i = 0; i < N; ++i)
        if (table[i] == key) return static_cast<int>(i);
    return -1;
}

}  // namespace tallex::casefile
