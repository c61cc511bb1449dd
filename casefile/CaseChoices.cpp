#include "CaseChoices.h"

#include "CaseFile.h"

#include <algorithm>

namespace tallex::casefile {

int FrequencyIndex(const CaseFile& c) {
    const bool single = c.loanType == "single";
    const int index =
        single ? ChoiceIndex(kSingleFrequencyKeys, c.frequency) : ChoiceIndex(kInstallmentFrequencyKeys, c.frequency);
    return std::max(index, 0);
}

std::string_view FrequencyKey(bool single, int index) {
    if (single) return kSingleFrequencyKeys[static_cast<std::size_t>(std::clamp(index, 0, 1))];
    return kInstallmentFrequencyKeys[static_cast<std::size_t>(std::clamp(index, 0, 3))];
}

}  // namespace tallex::casefile
