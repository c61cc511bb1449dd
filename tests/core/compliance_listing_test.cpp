// The calculation listing: headings, 31 rows (blank + description in 29 columns, symbol in 8,
// field name to column 57 or 58, then the value in the plain number-to-text form with its sign
// place) and the status lines. The expected text below was laid out by hand.

#include "compliance/CalculationListing.h"
#include "engine/LoanRecord.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>

namespace tallex {
namespace {

// One complete case: every row holds a value (the zeros are the record's own), with a whole
// number, decimals, a fraction below one, a negative fraction and a value small enough for an
// exponent.
std::unique_ptr<LoanRecord> CompleteCase() {
    auto r = std::make_unique<LoanRecord>();
    r->gdAmtFinanced = r->gdAmount = 1000;
    r->gdDisclAPR = 11.5;
    r->gdDisclAPR_Adjusted = 11.505;
    r->dPval = 1002.75;
    r->gdPval_Adjusted = 1002.5;
    r->gdCalcAPR = 12.0026;
    r->gdAPRDiff = 0.5026;
    r->gdEstFinanceChg = r->dFnceChg = 66.2;
    r->dFinanceChgDiff = -0.25;
    r->gdEstRate = 0.01;
    r->gdDaysinUnitPd = 30;
    r->gdDaysinYr = 360;
    r->gdPymtsLessAdv = r->gdTotPymts = 1066.2;
    r->gdUnitPdFraction = 30.0 / 360.0;
    r->gdIteratedAPR = 0.0100021;
    r->dPymt = 12;
    r->dTolerance = 0.25;
    r->iNPTotal = 12;
    r->dAdvances = 0.000015;
    r->dTempAPR = 11.5;
    r->dUnitPeriodTot = 13;
    r->dFinal = 360;
    r->dUnitPeriods = 1;
    r->giFCTolerance = 5;
    r->gbAPRUnderViol = true;
    r->gbSubjToReimb = true;
    r->gsDebugMsgAPR = "*** APR Understatement Violation";  // shown as the tests left it
    return r;
}

TEST(calculation_listing, complete_case_matches_the_hand_laid_text) {
    const char* const expected[kListingRows] = {
        " Amt Financd:                P + S   gdAmtFinanced        1000",
        "                             P       gdAmount              1000  (used in dPval calculation)",
        " Disclosed APR:              W       gdDisclAPR            11.5",
        " ADJUSTED Disclosed APR:             gdDisclAPR_Adjusted   11.505",
        " Present Value:              PVAL    dPval                1002.75",
        " ADJUSTED Present Value:             gdPval_Adjusted       1002.5",
        " Correct APR:                APU     gdCalcAPR             12.0026",
        " APR Diff:                   APRDIFF gdAPRDiff             .5026",
        " Discl Fin Chg:              FC      gdEstFinanceChg       66.2",
        " Correct Fin Chg:            T - P   dFnceChg             66.2",
        " Fin Chg Diff:               FDIFF   dFinanceChgDiff     -.25",
        "                             R       gdEstRate             .01",
        "                             U       gdDaysinUnitPd        30",
        "                             YR      gdDaysinYr            360",
        "                             S       gdPymtAbsValue        0",
        "                             T       gdPymtsLessAdv        1066.2",
        "                             U1      gdUnitPdFraction      .0833333333333333",
        "                             T + S   gdTotPymts            1066.2",
        "                             APR     gdIteratedAPR         .0100021",
        "                             PMT     dPymt                12",
        "                             Q       dAdvPerStream        0",
        "                             TMONS   dMonths              0",
        "                             ACTDAYS dActDays             0",
        "                             TOL     dTolerance           .25",
        "                             NPTOTAL iNPTotal             12",
        "                             ADV     dAdvances            1.5E-05",
        "                             TEMPW   dTempAPR             11.5",
        "                             UP      dUnitPeriodTot       13",
        "                             FINAL   dFinal               360",
        "                                     dUnitPeriods         1",
        "                                     gdOddDays             0",
    };
    const CalculationListingText listing = CalculationListing(*CompleteCase());
    EXPECT_EQ(listing.lblHeadr1, "                              DOS    Windows                    ");
    EXPECT_EQ(listing.lblHeadr2, " Description               Variable  Variable            Value");
    for (int i = 0; i < kListingRows; ++i) EXPECT_EQ(listing.rows[i], expected[i]) << "Label1(" << i << ")";

    EXPECT_EQ(listing.lblDebugMsg_APR, "*** APR Understatement Violation");
    EXPECT_EQ(listing.lblDebugMsg_FinanceCharge, "");
    EXPECT_EQ(listing.lblToleranceAmt, "Finance Charge Tolerance =  $5");
    EXPECT_EQ(listing.lblSubjToReimb, "Subject to Reimbursement");
}

// Before any test has run the tolerance line ends in $0; the amount financed is trimmed even
// when negative.
TEST(calculation_listing, fresh_record) {
    LoanRecord r;
    r.gdAmtFinanced = -12.5;
    const CalculationListingText listing = CalculationListing(r);
    EXPECT_EQ(listing.lblToleranceAmt, "Finance Charge Tolerance =  $0");
    EXPECT_EQ(listing.rows[0], " Amt Financd:                P + S   gdAmtFinanced        -12.5");
    EXPECT_EQ(listing.lblSubjToReimb, "NOT Subject to Reimbursement");
}

TEST(calculation_listing, status_lines) {
    struct Case {
        bool irregular, overTenYears, secured, before093095;
        const char* term;
        const char* kind;
        const char* security;
        const char* date;
    };
    const Case cases[] = {
        {false, true, true, true, "Loan term > 10 years", "Regular loan", "Secured by Real Estate or Dwelling",
         "Loan date before 09/30/95"},
        {false, false, true, false, "Loan term < or = 10 years", "Regular loan", "Secured by Real Estate or Dwelling",
         "NOT Loan date before 09/30/95"},
        {true, false, false, false, "", "Irregular loan", "NOT Secured by Real Estate or Dwelling", ""},
    };
    for (const Case& c : cases) {
        LoanRecord r;
        r.gbIrregular = c.irregular;
        r.gbTermOver10Yrs = c.overTenYears;
        r.gbSecuredByRealEstate = c.secured;
        r.gbDatePre_093095 = c.before093095;
        r.gsDebugMsgFC = "*** Finance Charge Understatement Violation";
        const CalculationListingText listing = CalculationListing(r);
        SCOPED_TRACE(testing::Message() << "irregular " << c.irregular << " over ten years " << c.overTenYears
                                        << " secured " << c.secured << " pre-09/30/95 " << c.before093095);
        EXPECT_EQ(std::tie(listing.lblLoanTerm, listing.lblIrregular, listing.lblSecuredByRealEstate,
                           listing.lblDatePre_093095, listing.lblDebugMsg_FinanceCharge),
                  std::tuple(c.term, c.kind, c.security, c.date, "*** Finance Charge Understatement Violation"));
    }
}

}  // namespace
}  // namespace tallex
