#include "report/ReportText.h"

#include "compliance/ComplianceTests.h"
#include "compliance/Reimbursement.h"
#include "engine/Format.h"
#include "engine/NumberText.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <stdexcept>

namespace tallex {

namespace {

const std::string kPrefix = "      ";
const std::string kTitleRule = "  " + std::string(85, '_');
const std::string kConstructionReimbRule = "  " + std::string(78, '_');

std::string Money(double value) { return Format(value, "Currency"); }

// A schedule cell shown as money when it holds a number, as typed otherwise.
std::string MoneyText(const std::string& text) {
    const auto value = NumericTextValue(text);
    return value ? Money(*value) : text;
}

std::string Percent(double percent, const char* pattern) { return Format(percent / 100.0, pattern); }

std::string Trimmed(const std::string& text) {
    const auto b = text.find_first_not_of(' ');
    if (b == std::string::npos) return "";
    return text.substr(b, text.find_last_not_of(' ') - b + 1);
}

// A whole number at the end of a line: a blank in the sign's place and one after it.
std::string NumberItem(long value) { return (value < 0 ? "" : " ") + std::to_string(value) + " "; }

// The date field in the short date form when it holds a date, else as typed.
std::string ShortDate(const std::string& text) {
    if (text.size() != 10 || text[2] != '-' || text[5] != '-') return text;
    for (int i : {0, 1, 3, 4, 6, 7, 8, 9})
        if (text[static_cast<std::size_t>(i)] < '0' || text[static_cast<std::size_t>(i)] > '9') return text;
    const int month = std::atoi(text.substr(0, 2).c_str());
    const int day = std::atoi(text.substr(3, 2).c_str());
    const int year = std::atoi(text.substr(6, 4).c_str());
    try {
        return FormatShortDate(year, month, day);
    } catch (const std::invalid_argument&) {
        return text;
    }
}

const char* FrequencyWording(int code) {
    switch (code) {
    case 1: return "Monthly (Installment Loan)";
    case 2: return "Multiples of a Month (Installment Loan)";
    case 3: return "Semi-Monthly (Installment Loan)";
    case 4: return "Actual Days (Installment Loan)";
    case 5: return "Equal Months (Single Payment Loan)";
    case 6: return "Actual Days (Single Payment Loan)";
    default: return nullptr;
    }
}

class ReportBuilder {
public:
    ReportBuilder(const LoanRecord& record, const ReportIdentity& identity, const std::string& version,
                  bool construction)
        : r_(record),
          id_(identity),
          version_(version),
          construction_(construction),
          streams_((record.gbConstruction && record.gbConstOptDisc) ? 1 : record.giGridRowCount) {}

    std::vector<std::string> Build() {
        Header();
        if (construction_)
            ConstructionInput();
        else
            RegularInput();
        if (!Output()) return std::move(lines_);
        ToleranceResults();
        if (construction_) AdviceBlock();
        Schedule();
        const bool aprAdjustment = r_.gdAPRAdjFinal < -1;
        const bool fcAdjustment = r_.gdFCAdjustment < -1;
        if (aprAdjustment || fcAdjustment) {
            Reimbursement(aprAdjustment);
            Notes(aprAdjustment, fcAdjustment);
        }
        return std::move(lines_);
    }

private:
    void Raw(std::string line) { lines_.push_back(std::move(line)); }
    void Line(const std::string& text) { lines_.push_back(kPrefix + text); }
    void Blank(int count = 1) {
        for (int i = 0; i < count; ++i) lines_.emplace_back();
    }

    void Header() {
        Raw(" Sensitive Information");
        Raw("                   TALLEX - Version " + version_);
        Blank();
        Raw(construction_ ? "     APR Disclosure Documentation (Real Estate Construction Loan)         "
                          : "                     APR Disclosure Documentation ");
        Raw(kTitleRule);
        Blank();
        Line("Prepared By:          " + id_.preparer);
        Line("Date:                 " + ShortDate(id_.date));
        Line("Borrower's Name:      " + id_.borrower);
        Line("Account Number:       " + id_.account);
        Line("Name of Lender:       " + id_.lender);
        Line("Original Creditor:    " + id_.creditor);
        Blank(2);
        Raw("    Loan Information - Original Input");
        Blank();
    }

    bool AprErrorCausedByFC() const { return r_.giAPRUnderByFC == kAnswerYes || r_.giAPROverByFC == kAnswerYes; }

    void RegularInput() {
        Line("Amount Financed:              " + RightAligned(Money(r_.gdAmount), 23));
        Line("Disclosed (Estimated) APR:      " + RightAligned(Percent(r_.gdDisclAPR, "#,##0.0000 %"), 23));
        Line("Disclosed Finance Charge:     " + RightAligned(Money(r_.gdEstFinanceChg), 23));
        Line(std::string("Loan Secured by Real Estate or Dwelling:          ") +
             (r_.gbSecuredByRealEstate ? "Yes" : "No"));
        Line(std::string("Loan Date Earlier than 9/30/95:                   ") + (r_.gbDatePre_093095 ? "Yes" : "No"));
        if (AprErrorCausedByFC()) Line("APR Error Caused by Finance Charge Error:         Yes");
        Blank();
        const char* wording = FrequencyWording(r_.giPymtFreq);
        Line(std::string("Payment Frequency:         ") + (wording ? wording : "Other"));
    }

    bool WholeMonthAccrual() const {
        return r_.giAccrualMethod == 1 || r_.giAccrualMethod == 2 ||
               (r_.giAccrualMethod == 7 && r_.construction.optOther == 0);
    }
    bool DayCountAccrual() const {
        return (r_.giAccrualMethod >= 3 && r_.giAccrualMethod <= 6) ||
               (r_.giAccrualMethod == 7 && r_.construction.optOther == 1);
    }

    void Measure(const std::string& label, double value) { Line(label + RightAligned(Format(value, "####0"), 8)); }

    void DaysMeasure(const char* belowYearLabel) {
        Line("Number of Days in ");
        Measure(r_.gdDaysinUnitPd < 365 ? belowYearLabel : "  Unit Period:                                    ",
                r_.gdDaysinUnitPd);
    }

    void PeriodsAndOddDays() {
        Measure("Number of Unit Periods:                           ", r_.dUnitPeriods);
        Measure("Number of Odd Days:                               ", r_.gdOddDays);
    }

    void ConstructionInput() {
        Line("Commitment Amount:                 " + RightAligned(Money(r_.gdCommitmentAmt), 23));
        Line("Annual Simple Interest Rate:         " +
             RightAligned(Percent(r_.gdSimpleIntRate, "#,###,###,##0.00 %"), 23));
        Line("Prepaid Finance Charge:            " + RightAligned(Money(r_.gdPrepaidFinChg), 23));
        Line("Subsequently Paid Finance Charge:  " + RightAligned(Money(r_.gdSubseqFinChg), 23));
        Blank();
        Line("Construction-Phase ");
        switch (r_.giAccrualMethod) {
        case 1: Line("  Accrual System:               Whole Months (360/360)"); break;
        case 2: Line("  Accrual System:               Whole Months (360/360) - Compounded Interest"); break;
        case 3: Line("  Accrual System:               Actual Days (365/365)"); break;
        case 4: Line("  Accrual System:               Actual Days (365/365) - Compounded Interest"); break;
        case 5: Line("  Accrual System:               Actual Days (365/360)"); break;
        case 6: Line("  Accrual System:               Actual Days (365/360) - Compounded Interest"); break;
        default: Line("  Accrual System:               Other"); break;
        }
        const bool separately = r_.construction.optDiscType == 0;
        if (separately) {
            if (WholeMonthAccrual()) {
                Line("Number of Months in ");
                Measure("  Construction Phase:                             ", r_.dMonths);
            } else if (DayCountAccrual()) {
                DaysMeasure("  Construction Phase:                             ");
                PeriodsAndOddDays();
            }
        } else if (r_.giPymtFreq == kFreqEqualMonthsSingle) {
            Line("Number of Months in ");
            Measure("  Construction/Permanent Phases:                  ", r_.dMonths);
            PeriodsAndOddDays();
        } else if (r_.giPymtFreq == kFreqActualDaysSingle) {
            DaysMeasure("  Construction/Permanent Phases:                  ");
            PeriodsAndOddDays();
        }
        Blank();
        Line("Construction Interest:             " + RightAligned(Money(r_.gdEstConstInterest), 23));
        Line("Disclosed (Estimated) APR:           " + RightAligned(Percent(r_.gdDisclAPR, "##,###,##0.0000 %"), 23));
        Line("Disclosed Finance Charge:          " + RightAligned(Money(r_.gdEstFinanceChg), 23));
        Line(std::string("Loan Secured by Real Estate or Dwelling:               ") +
             (r_.gbSecuredByRealEstate ? "Yes" : "No"));
        Line(std::string("Loan Date Earlier than 9/30/95:                        ") +
             (r_.gbDatePre_093095 ? "Yes" : "No"));
        if (AprErrorCausedByFC()) Line("APR Error Caused by Finance Charge Error:              Yes");
        Blank();
        if (!separately) {
            if (const char* wording = FrequencyWording(r_.giPymtFreq))
                Line(std::string("Payment Frequency:                  ") + wording);
        } else {
            Line("Payment Frequency:                  Construction-Only Loan");
        }
    }

    // The output section; false when the report ends at the invalid-input line.
    bool Output() {
        Blank(2);
        Raw("    Disclosure Information - Output");
        Blank();
        if (construction_) {
            Line("Amount Financed:                   " + RightAligned(Money(r_.gdAmtFinanced), 23));
            if (r_.gdPrepaidFinChg > 0)
                Line("Prepaid Finance Charge:            " + RightAligned(Money(r_.gdPrepaidFinChg), 23));
            if (r_.dFnceChg > 0) Line("FINANCE CHARGE:                    " + RightAligned(Money(r_.dFnceChg), 23));
            Line("Total of Payments:                 " + RightAligned(Money(r_.gdTotPymts), 23));
            Line("ANNUAL PERCENTAGE RATE:              " + RightAligned(Percent(r_.gdCalcAPR, "#,##0.0000 %"), 23));
        } else {
            Line("Amount Financed:              " + RightAligned(Money(r_.gdAmtFinanced), 23));
            if (r_.dFnceChg > 0) Line("FINANCE CHARGE:               " + RightAligned(Money(r_.dFnceChg), 23));
            Line("Total of Payments:            " + RightAligned(Money(r_.gdTotPymts), 23));
            if (r_.giPymtFreq == kFreqEqualMonthsSingle)
                Line("Months in Payment Period:     " + RightAligned(Format(r_.dMonths, "####0"), 23));
            if (r_.giPymtFreq == kFreqActualDaysSingle)
                Line("Days in Unit Period:          " + RightAligned(Format(r_.gdDaysinUnitPd, "####0"), 23));
            Line("ANNUAL PERCENTAGE RATE:         " + RightAligned(Percent(r_.gdCalcAPR, "#,##0.0000 %"), 23));
        }
        Blank();
        if (r_.gdTotPymts < r_.gdAmtFinanced) {
            Line("** INVALID INPUT ** The total of payments is less than the amount financed.");
            return false;
        }
        return true;
    }

    void ToleranceResults() {
        if (r_.giAPRUnderByFC == kAnswerNo && !r_.gbAPRUnderViol)
            Line("APR is understated but considered accurate under 226.22(a)(5).");
        else if (r_.giAPROverByFC == kAnswerNo && !r_.gbAPROverViol)
            Line("APR is overstated but considered accurate under 226.22(a)(5).");
        if (r_.gbAPRUnderViol) {
            Blank();
            Line("** VIOLATION **  APR is understated by:                " +
                 RightAligned(Percent(r_.gdAPRDiff, "#,##0.0000 %"), 23));
            Blank();
        }
        if (r_.gbAPROverViol) {
            Line("** VIOLATION **  APR is overstated by:                 " +
                 RightAligned(Percent(-r_.gdAPRDiff, "#,##0.0000 %"), 23));
            Blank();
        }
        if (FinanceChargeObviousErrorRuleApplies(r_)) Line("(The 10 % obvious error rule applies)");
        if (r_.gbFCUnderViol) {
            Line("** VIOLATION **  Finance Charge is understated by:   " + RightAligned(Money(r_.dFinanceChgDiff), 23));
            Blank();
        }
        if (r_.gbFCOverViol) {
            Line(std::string(construction_ ? "** VIOLATION **  Finance Charge is overstated by:     "
                                           : "** VIOLATION **  Finance Charge is overstated by:    ") +
                 RightAligned(Money(-r_.dFinanceChgDiff), 23));
            Blank();
        }
        if (AprObviousErrorRuleApplies(r_)) Line("(The 10 % obvious error rule applies)");
    }

    void AdviceBlock() {
        const bool separately = r_.construction.optDiscType == 0;
        const bool onAdvances = r_.construction.optInterestType == 0;
        if (separately && onAdvances) {
            Line("The disclosure must state when interest is due and include the amount and");
            Line("timing of any Finance Charge paid separately after consummation, e.g.,");
            Blank();
            Line("One payment of principal of " + Trimmed(Money(r_.gdCommitmentAmt)) +
                 (r_.dMonths <= 1 ? " and interest due at maturity" : " and interest due monthly"));
            Blank();
            if (r_.gdSubseqFinChg != 0) {
                Line("One inspection fee due at maturity in the amount of " + Trimmed(Money(r_.gdSubseqFinChg)));
                Blank();
            }
        } else if (separately) {
            Line("The disclosure must include the timing and amount of interest and");
            Line("any finance charge paid separately after consummation, e.g.,");
            Blank();
            if (r_.dMonths <= 1)
                Line("The final payment is " + Money(r_.gdConstDisclPymt));
            else
                Line(NumberToText(r_.dMonths - 1, false) + " monthly payments of " + Money(r_.gdConstDisclPymt) +
                     " and a final payment of " + Money(r_.gdConstDisclFinalPymt));
            Blank();
        } else if (onAdvances) {
            Blank();
            Line("The disclosure must state when interest is due, e.g., monthly, and should");
            Line("include the amount and timing of any FC paid separately during construction.");
            Blank();
        } else {
            Blank();
            Line("The disclosure must include the timing and amount of interest and");
            Line("any finance charge paid during construction, e.g.,");
            Blank();
            // The interest and the later finance charge spread over the construction months,
            // rounded half up to cents; a phase of a month or less pays them in one payment
            // (nothing else sets a payment for a phase disclosed with its permanent financing).
            const double months = std::max(r_.gdConstMonths, 1.0);
            const double payment = std::floor((r_.gdEstConstInterest + r_.gdSubseqFinChg) / months * 100 + 0.5) / 100;
            if (r_.gdConstMonths <= 1)
                Line("One payment of " + Money(payment));
            else
                Line(NumberToText(r_.gdConstMonths, false) + " monthly payments of " + Money(payment));
            Blank();
        }
    }

    // From the payment schedule on, the APR understatement is the one still to reimburse: a
    // violation whose adjustment came to less than a dollar is listed as the tests found it
    // above, but has no reimbursement below.
    void Schedule() {
        if (r_.gdAPRAdjFinal < -1 && AprReimbursementOwed(r_)) {
            // The reimbursement table lists the schedule instead.
            Blank();
            return;
        }
        Blank();
        Line("Payment                        Number of    Whole Unit     Odd");
        Line("Stream      Payment Amount      Payments      Periods      Days");
        Line("-------  -------------------   ----------   -----------    ----");
        for (int i = 1; i <= streams_; ++i)
            Line(RightAligned(r_.gaPymtCol0[i], 5) + "  " + RightAligned(MoneyText(r_.gaPymtAmt[i]), 20) + "    " +
                 RightAligned(r_.gaNumPymts[i], 8) + "    " + RightAligned(r_.gaUnitPeriods[i], 8) + "      " +
                 RightAligned(r_.gaOddDays[i], 5));
        Blank();
    }

    void ReimbursementTitle() {
        Raw("       ");
        Raw(construction_ ? kConstructionReimbRule : kTitleRule);
        Blank();
        Line("             **  Truth in Lending Reimbursement Documentation  ** ");
        Blank();
        reimbursementTitleDone_ = true;
    }

    void Reimbursement(bool aprAdjustment) {
        if (aprAdjustment) ReimbursementTitle();
        if (AprReimbursementOwed(r_)) {
            Line(" Adjusted APR       Prorate Factor      APR Adjustment as of Final Payment Date");
            Line("--------------     ----------------     ---------------------------------------");
            Line(RightAligned(Percent(r_.gdAdjustedAPR, "#,##0.000 %"), 12) + "       " +
                 RightAligned(Format(r_.gdProrateFactor, "##.#########0"), 14) + "         " +
                 RightAligned(r_.gdAPRAdjFinal > -1 ? "" : Money(r_.gdAPRAdjFinal), 23));
            Blank();
            Line(" Pymt        Original           Adjusted          # of    Whole Unit  Odd");
            Line("Stream    Payment Amount     Payment Amount     Payments    Periods   Days");
            Line(construction_ ? "------  ------------------  ----------------   ---------- ----------  ----"
                               : "------  ------------------  ----------------   ---------- ----------- ----");
            for (int i = 1; i <= streams_; ++i)
                Line(RightAligned(r_.gaPymtCol0[i], 3) + "   " + RightAligned(MoneyText(r_.gaPymtAmt[i]), 18) + " " +
                     RightAligned(r_.gaPymtDbl[i] > 0 ? Money(r_.gaPymtDbl[i]) : "(Advance)", 18) + "      " +
                     RightAligned(r_.gaNumPymts[i], 5) + "     " + RightAligned(r_.gaUnitPeriods[i], 5) + "    " +
                     RightAligned(r_.gaOddDays[i], 5));
            const int f = r_.giPymtFreq;
            // The lump sums exist once the reimbursement page has shown them.
            if ((f == 1 || f == 2 || f == 3 || f == 4 || f == 9) && r_.gbLumpSumsShown) {
                Blank(2);
                Line("Lump Sum / Payment Reduction Method: " + RightAligned(Money(r_.gdLumpSumPR), 18));
                Line("             Payments 1 - " + NumberItem(r_.giRateChangePymts));
                Blank();
                Line("Lump Sum Method:                     " + RightAligned(Money(r_.gdLumpSum), 18));
                Line("             Payments 1 - " + NumberItem(r_.iNPTotal));
            }
        }
        if (!r_.gbFCUnderViol) {
            if (r_.gdAPRAdjFinal > -1 && AprReimbursementOwed(r_)) {
                Line("APR Adjustment:                 0.00     " + std::string(" Using APR of ") +
                     Trimmed(Percent(r_.gdAdjustedAPR, "##0.000 %")));
                Blank();
            }
            Blank();
        } else if (r_.gdFCAdjustment <= -1) {
            if (!reimbursementTitleDone_) ReimbursementTitle();
            Blank();
            Line("Finance Charge Adjustment (using APR of " + Trimmed(Format(r_.gdCalcAPR - r_.dTolerance, "##0.000")) +
                 " %):  " + RightAligned(Money(r_.gdFCAdjustment), 18));
            Blank();
        } else {
            Blank();
        }
        Blank(2);
    }

    void Notes(bool a, bool b) {
        Blank();
        Line("                            ** NOTE ** ");
        Blank();
        if (a && b) {
            Line("     When both an APR and Finance Charge Adjustment appear:");
            Blank();
            Line("     Compare the life of loan APR adjustment to the life of loan");
            Line("     Finance Charge adjustment.  Reimbursement is applicable only");
            Line("     to whichever one reflects a larger reimbursement amount.");
            Blank();
        }
        if (a) {
            Line("     For fixed-rate loans, the life of loan APR adjustment is the");
            Line("     APR ADJUSTMENT AS OF FINAL PAYMENT DATE.  For variable rate");
            Line("     loans the life of loan APR adjustment is the adjustment as of");
            Line("     the end of the first rate change period (i.e., the lump sum");
            Line("     value from the LUMP SUM / PAYMENT REDUCTION METHOD).");
            Blank();
        }
        Line("     The appropriate adjustment may be calculated by using either the");
        Line("     Lump Sum or Lump Sum/Payment Reduction method.");
        Blank();
        if (b) {
            Line("     To determine the \"payment reduction\" amount for a finance");
            Line("     charge adjustment, divide the FINANCE CHARGE ADJUSTMENT by the");
            Line("     number of payments to get the adjustment per payment.");
            Blank();
        }
        Line("     For variable rate loans, if the rate change date has not yet");
        Line("     occurred, the lump sum payment applicable to the entire rate");
        Line("     change period may be calculated as of the date of adjustment");
        Line("     (i.e., determine its present value for an APR adjustment or,");
        Line("     if applicable, calculate the prorated share of the finance");
        Line("     charge adjustment).");
        Blank();
        Line("     For single payment loans, adjust the payment or, if the payment");
        Line("     has not yet been made, the creditor may calculate the adjustment");
        Line("     as a lump sum payment as of the date of adjustment (i.e., its");
        Line("     present value is determined).");
    }

    const LoanRecord& r_;
    const ReportIdentity& id_;
    const std::string& version_;
    const bool construction_;
    // The schedule rows listed: every row of the grid, the one stream of a construction-only loan.
    const int streams_;
    bool reimbursementTitleDone_ = false;
    std::vector<std::string> lines_;
};

}  // namespace

std::string RightAligned(const std::string& text, std::size_t width) {
    if (text.size() >= width) return text.substr(0, width);
    return std::string(width - text.size(), ' ') + text;
}

std::vector<std::string> WriteRegularReport(const LoanRecord& record, const ReportIdentity& identity,
                                            const std::string& version) {
    return ReportBuilder(record, identity, version, false).Build();
}

std::vector<std::string> WriteConstructionReport(const LoanRecord& record, const ReportIdentity& identity,
                                                 const std::string& version) {
    return ReportBuilder(record, identity, version, true).Build();
}

std::vector<std::string> WriteReport(const LoanRecord& record, const ReportIdentity& identity,
                                     const std::string& version) {
    return record.gbAppendixJ ? WriteRegularReport(record, identity, version)
                              : WriteConstructionReport(record, identity, version);
}

std::string JoinReportLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

}  // namespace tallex
