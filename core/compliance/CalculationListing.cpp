#include "compliance/CalculationListing.h"

#include "engine/Format.h"

#include <cctype>
#include <string>

namespace tallex {

namespace {

struct ListingRow {
    const char* description;
    const char* symbol;
    const char* field;
    std::size_t fixedLength;
};

// Blank-and-description take 29 characters, the symbol 8, the field name the rest of the row's
// fixed text.
constexpr std::size_t kDescriptionWidth = 29;
constexpr std::size_t kSymbolWidth = 8;

constexpr std::array<ListingRow, kListingRows> kRows{{
    {"Amt Financd:", "P + S", "gdAmtFinanced", 58},
    {"", "P", "gdAmount", 58},
    {"Disclosed APR:", "W", "gdDisclAPR", 58},
    {"ADJUSTED Disclosed APR:", "", "gdDisclAPR_Adjusted", 58},
    {"Present Value:", "PVAL", "dPval", 57},
    {"ADJUSTED Present Value:", "", "gdPval_Adjusted", 58},
    {"Correct APR:", "APU", "gdCalcAPR", 58},
    {"APR Diff:", "APRDIFF", "gdAPRDiff", 58},
    {"Discl Fin Chg:", "FC", "gdEstFinanceChg", 58},
    {"Correct Fin Chg:", "T - P", "dFnceChg", 57},
    {"Fin Chg Diff:", "FDIFF", "dFinanceChgDiff", 57},
    {"", "R", "gdEstRate", 58},
    {"", "U", "gdDaysinUnitPd", 58},
    {"", "YR", "gdDaysinYr", 58},
    {"", "S", "gdPymtAbsValue", 58},
    {"", "T", "gdPymtsLessAdv", 58},
    {"", "U1", "gdUnitPdFraction", 58},
    {"", "T + S", "gdTotPymts", 58},
    {"", "APR", "gdIteratedAPR", 58},
    {"", "PMT", "dPymt", 57},
    {"", "Q", "dAdvPerStream", 57},
    {"", "TMONS", "dMonths", 57},
    {"", "ACTDAYS", "dActDays", 57},
    {"", "TOL", "dTolerance", 57},
    {"", "NPTOTAL", "iNPTotal", 57},
    {"", "ADV", "dAdvances", 57},
    {"", "TEMPW", "dTempAPR", 57},
    {"", "UP", "dUnitPeriodTot", 57},
    {"", "FINAL", "dFinal", 57},
    {"", "", "dUnitPeriods", 57},
    {"", "", "gdOddDays", 58},
}};

std::string PadRight(std::string text, std::size_t width) {
    if (text.size() < width) text.append(width - text.size(), ' ');
    return text;
}

std::string FixedText(const ListingRow& row) {
    std::string text = PadRight(std::string(" ") + row.description, kDescriptionWidth);
    text += PadRight(row.symbol, kSymbolWidth);
    return PadRight(text + row.field, row.fixedLength);
}

std::string Trim(std::string text) {
    text.erase(0, text.find_first_not_of(' '));
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

std::array<double, kListingRows> Values(const LoanRecord& r) {
    return {r.gdAmtFinanced,
            r.gdAmount,
            r.gdDisclAPR,
            r.gdDisclAPR_Adjusted,
            r.dPval,
            r.gdPval_Adjusted,
            r.gdCalcAPR,
            r.gdAPRDiff,
            r.gdEstFinanceChg,
            r.dFnceChg,
            r.dFinanceChgDiff,
            r.gdEstRate,
            r.gdDaysinUnitPd,
            r.gdDaysinYr,
            r.gdPymtAbsValue,
            r.gdPymtsLessAdv,
            r.gdUnitPdFraction,
            r.gdTotPymts,
            r.gdIteratedAPR,
            r.dPymt,
            r.dAdvPerStream,
            r.dMonths,
            r.dActDays,
            r.dTolerance,
            static_cast<double>(r.iNPTotal),
            r.dAdvances,
            r.dTempAPR,
            r.dUnitPeriodTot,
            r.dFinal,
            r.dUnitPeriods,
            r.gdOddDays};
}

}  // namespace

CalculationListingText CalculationListing(const LoanRecord& r) {
    CalculationListingText listing;
    listing.lblHeadr1 = "                              DOS    Windows                    ";
    listing.lblHeadr2 = " Description               Variable  Variable            Value";

    const std::array<double, kListingRows> values = Values(r);
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        std::string value = NumberToText(values[i], true);
        if (i == 0) value = Trim(value);
        if (i == 1) value += "  (used in dPval calculation)";
        listing.rows[i] = FixedText(kRows[i]) + value;
    }

    listing.lblDebugMsg_APR = r.gsDebugMsgAPR;
    listing.lblDebugMsg_FinanceCharge = r.gsDebugMsgFC;
    listing.lblToleranceAmt = "Finance Charge Tolerance =  $" + std::to_string(r.giFCTolerance);
    if (!r.gbIrregular) listing.lblLoanTerm = r.gbTermOver10Yrs ? "Loan term > 10 years" : "Loan term < or = 10 years";
    listing.lblSubjToReimb = r.gbSubjToReimb ? "Subject to Reimbursement" : "NOT Subject to Reimbursement";
    listing.lblIrregular = r.gbIrregular ? "Irregular loan" : "Regular loan";
    if (r.gbSecuredByRealEstate) {
        listing.lblSecuredByRealEstate = "Secured by Real Estate or Dwelling";
        listing.lblDatePre_093095 = r.gbDatePre_093095 ? "Loan date before 09/30/95" : "NOT Loan date before 09/30/95";
    } else {
        listing.lblSecuredByRealEstate = "NOT Secured by Real Estate or Dwelling";
    }
    return listing;
}

bool CalculationListingAllowed(std::string_view preparedBy) {
    std::string text = Trim(std::string(preparedBy));
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text == "SHOW CALC" || text == "CALC SHOW";
}

}  // namespace tallex
