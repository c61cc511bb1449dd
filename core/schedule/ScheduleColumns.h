#pragma once
// The columns of the payment schedule grid. Column 0 is the stream's label; the four others
// are the stream's text columns in the loan record.

namespace tallex {

enum ScheduleColumn : int {
    kColStreamLabel = 0,  // "Payment Stream #"   gaPymtCol0
    kColAmount = 1,       // "Payment Amount"     gaPymtAmt
    kColNumPayments = 2,  // "Number of Payments" gaNumPymts
    kColUnitPeriods = 3,  // "Unit Periods"       gaUnitPeriods
    kColOddDays = 4,      // "Odd Days"           gaOddDays
};

}  // namespace tallex
