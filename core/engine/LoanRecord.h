#pragma once
// The whole calculation state of one loan. The entry pages write the lender's disclosed
// figures, the loan's options and the payment schedule into it; the solver, the compliance
// tests, the reimbursement and construction computations write their working values and
// results back; results pages, reports and the calculation listing read it.
//
// There is one record per loan, passed by reference; the core keeps no copy of its own.
// Field names carry their kind: gd/d double, gi/i 16-bit integer, gs string, gb flag,
// gc currency, ga array. Schedule arrays are indexed 1..360; element 0 is never used.

#include "engine/Currency.h"

#include <array>
#include <cstdint>
#include <string>

namespace tallex {

inline constexpr int kMaxStreams = 360;

template <class T>
using StreamArray = std::array<T, kMaxStreams + 1>;

// Answers to "Was the APR error caused by the finance charge error?".
inline constexpr std::int16_t kNotAsked = 99;
inline constexpr std::int16_t kAnswerYes = -1;
inline constexpr std::int16_t kAnswerNo = 0;

// Payment frequency codes (giPymtFreq).
enum PaymentFrequency : std::int16_t {
    kFreqMonthly = 1,
    kFreqMultiplesOfMonth = 2,
    kFreqSemiMonthly = 3,
    kFreqActualDaysInstallment = 4,
    kFreqEqualMonthsSingle = 5,
    kFreqActualDaysSingle = 6,
    kFreqConstructionOnly = 7,
};

// The construction screens' choices that the interest estimate and its texts depend on.
struct ConstructionChoices {
    std::int16_t optInterestType = 0;  // 0 interest on advances, 1 on the entire commitment
    std::int16_t optIntAccrl = 0;      // 0 360/360, 1 365/365, 2 365/360, 3 other
    std::int16_t optOther = 0;         // with "other": 0 term in months, 1 in days
    bool chkIntReserve = false;        // interest reserve
    std::int16_t optDiscType = 0;      // 0 construction disclosed separately, 1 with permanent financing
};

// Every field of the record but the schedule arrays; kept apart so that a reset can renew them
// in one assignment while the large arrays are emptied in place.
struct LoanRecordFields {
    // Loan kind and period basis
    std::string gsLoanType;
    bool gbAppendixJ = false;
    bool gbConstruction = false;
    std::int16_t giPymtFreq = 0;
    double gdDaysinUnitPd = 0;
    double gdDaysinYr = 0;
    double dMonths = 0;
    bool gbSecuredByRealEstate = false;
    bool gbDatePre_093095 = false;
    bool gbSingleAdvance = false;
    bool gbConstOptDisc = false;
    std::string gsPymtFreqText;

    // Disclosed figures
    double gdAmount = 0;
    double gdEstFinanceChg = 0;
    double gdDisclAPR = 0;

    // Payment schedule counts (the columns themselves are in LoanRecord)
    std::int16_t giPymtRows = 0;
    std::int16_t giPVStreams = 0;
    // Rows of the payment schedule grid at this moment; the solver sums this many streams.
    std::int16_t giGridRowCount = 0;
    std::int16_t giCurPymtRow = 0;
    std::int16_t giGridRow = 0;

    // While set, the present value takes amounts and counts from the alternate schedule
    bool gbUseAltSchedule = false;

    // Solver working values
    double gdUnitPdFraction = 0;
    double gdEstRate = 0;
    double gdIteratedAPR = 0;
    double gdIterDiff = 0;
    double gdPVRate = 0;
    double gdPVSum = 0;
    double gdPVAtEst = 0;
    Currency gcPymtAmount{};
    double gdNumPymts = 0;
    double dUnitPeriods = 0;
    double gdOddDays = 0;
    double gdOnePlusRate = 0;
    double gdStreamPV = 0;
    // Set when a run had to be ended without converging; callers clear it before a run.
    bool gbSolverFailed = false;
    // Passes of the last solver run (shown by the command line).
    int iSolverPasses = 0;

    // Results
    double gdPymtsLessAdv = 0;
    double gdCalcAPR = 0;
    double dPval = 0;
    double gdPymtAbsValue = 0;
    double gdAmtFinanced = 0;
    double dFnceChg = 0;
    double gdTotPymts = 0;
    double gdAPRDiff = 0;
    double dFinanceChgDiff = 0;
    double dFinal = 0;
    double dActDays = 0;
    double dAdvances = 0;
    double gdDisclAPR_Adjusted = 0;
    double gdPval_Adjusted = 0;
    double dPymt = 0;
    double dTolerance = 0;
    std::int16_t iNPTotal = 0;
    double dTempAPR = 0;
    double dUnitPeriodTot = 0;
    double dAdvPerStream = 0;
    bool gbScheduleChanged = false;
    bool gbBackFromReimb = false;

    // Compliance state
    std::int16_t giFCTolerance = 0;
    bool gbIrregular = false;
    bool gbAPRUnderViol = false;
    bool gbAPROverViol = false;
    bool gbFCUnderViol = false;
    bool gbFCOverViol = false;
    std::int16_t giAPRUnderByFC = kNotAsked;
    std::int16_t giAPROverByFC = kNotAsked;
    bool gbTermOver10Yrs = false;
    bool gbSubjToReimb = false;
    std::string gsDebugMsgAPR;
    std::string gsDebugMsgFC;

    // Reimbursement
    double gdAdjustedAPR = 0;
    double gdFCAdjAPR = 0;
    double gdAdjAmount = 0;
    double gdAdjPV = 0;
    double gdAdjPVDiff = 0;
    double gdProrateFactor = 0;
    double gdAPRAdjFinal = 0;
    double gdFCAdjAmount = 0;
    double gdFCAdjTotal = 0;
    double gdFCAdjustment = 0;
    std::int16_t giRateChangePymts = 0;
    double gdLumpSumPR = 0;
    double gdLumpSum = 0;
    // The APR adjustment as of the final payment date came to less than a dollar owed: no APR
    // reimbursement, while the APR understatement the tests found (gbAPRUnderViol) stands.
    bool gbNoAPRReimbOwed = false;
    // The reimbursement page shows the lump sums of the prior-payments count it last accepted.
    bool gbLumpSumsShown = false;

    // Construction loan
    ConstructionChoices construction{};
    double gdCommitmentAmt = 0;
    double gdSimpleIntRate = 0;
    double gdPrepaidFinChg = 0;
    double gdSubseqFinChg = 0;
    double gdConstTimePeriod = 0;
    std::int16_t giAccrualMethod = 0;
    double gdConstMonths = 0;
    double gdConstDays = 0;
    double gdConstDaysinYr = 0;
    double gdConstIntBase = 0;
    double gdConstIntRate = 0;
    double gdEstConstInterest = 0;
    double gdConstDisclPymt = 0;
    double gdConstDisclFinalPymt = 0;

    // Calendar hand-over and working values
    std::string gsLoanDate;
    std::string gsEndDate;
    std::string gsAmortPymtDate;
    std::string gsCalendarStamp;
    double gdCalUnitPeriods = 0;
    double gdCalOddDays = 0;
    double gdCalActualDays = 0;
    double gdCalPermMonths = 0;
    double gdCalDayGap = 0;
    std::int16_t giDayBasis = 0;
    std::int16_t giWorkYear = 0;
    std::int16_t giWorkMonth = 0;
    std::int16_t giLeapYear = 0;
    std::int16_t giDateError = 0;
    bool gbCalendarOK = false;
    bool gbCalendarCancel = false;
    bool gbCalFilledSchedule = false;

    // Entry rules' working flags
    bool gbIntegerEntry = false;
    std::int16_t giNumCheck = 0;

    // Message scratch
    std::string gsMsgText;
    std::int16_t giMsgStyle = 0;
    std::int16_t giMsgResult = 0;
    // The line break of multi-line messages; fixed for the life of the program, so a reset keeps it.
    std::string gsCrLf = "\r\n";
    // Set while the error screen is (or has been) up; field-leave checks are skipped meanwhile.
    bool gbErrorShown = false;
};

struct LoanRecord : LoanRecordFields {
    // Payment schedule, kept column-wise as typed (streams 1..360)
    StreamArray<std::string> gaPymtCol0{};
    StreamArray<std::string> gaPymtAmt{};
    StreamArray<std::string> gaNumPymts{};
    StreamArray<std::string> gaUnitPeriods{};
    StreamArray<std::string> gaOddDays{};
    StreamArray<double> gaPymtDbl{};
    // Alternate schedule used while results and reimbursement rewrite the amounts
    StreamArray<Currency> gaAltPymtAmt{};
    StreamArray<double> gaAltNumPymts{};
    StreamArray<std::string> gaSaveAmt{};
    StreamArray<std::string> gaSaveNum{};
};

// The "new loan" reset: texts empty, numbers and flags 0, both "caused by the finance charge
// error" answers 99, the schedule columns empty for streams 1..360.
void ResetLoanRecord(LoanRecord& record);

// The same reset for a record whose schedule arrays hold nothing beyond stream `rowsInUse`
// (a batch knows how far its last case reached); only streams 1..rowsInUse are emptied.
void ResetLoanRecord(LoanRecord& record, int rowsInUse);

// The two flags of the "secured by real estate" and "loan date before 09/30/95" boxes. The date
// counts only for a loan secured by real estate: clearing "secured" clears it, and setting it on
// a loan that is not secured leaves it clear.
void SetSecuredByRealEstate(LoanRecord& record, bool secured);
void SetDatePre093095(LoanRecord& record, bool before);

}  // namespace tallex
