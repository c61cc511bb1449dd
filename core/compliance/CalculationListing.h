#pragma once
// The calculation listing: every input, working value and result of the last calculation beside
// its algebraic symbol and its field name, for checking a case by hand.

#include "engine/LoanRecord.h"

#include <array>
#include <string>
#include <string_view>

namespace tallex {

inline constexpr int kListingRows = 31;

struct CalculationListingText {
    std::string lblHeadr1;                       // 64 characters
    std::string lblHeadr2;                       // 62 characters
    std::array<std::string, kListingRows> rows;  // Label1(0..30)
    std::string lblDebugMsg_APR;
    std::string lblDebugMsg_FinanceCharge;
    std::string lblToleranceAmt;
    std::string lblLoanTerm;
    std::string lblSubjToReimb;
    std::string lblIrregular;
    std::string lblSecuredByRealEstate;
    std::string lblDatePre_093095;
};

// The listing of the record as it is now. Each row is a fixed text of 57 or 58 characters
// (description, symbol and field name in columns) followed by the value in the plain
// number-to-text form with its sign place; the amount financed is trimmed, and the amount row
// notes that it is the one used in the present value.
CalculationListingText CalculationListing(const LoanRecord& record);

// The Debug button that opens the listing is offered only when Prepared By, trimmed and in
// capitals, reads "SHOW CALC" or "CALC SHOW".
bool CalculationListingAllowed(std::string_view preparedBy);

}  // namespace tallex
