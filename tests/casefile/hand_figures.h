#pragma once
// Figures worked out independently of the program, for the case tests: the present value of a
// schedule at a rate per unit period and the APR that discounts it to the amount financed.

#include <cmath>
#include <vector>

namespace tallex::casefile {

struct Stream {
    double amount;
    int payments;
    int unitPeriods;
    int oddDays;
};

// Present value at a rate i per unit period of `unitDays` days: each stream's payments one unit
// period apart, the first of them unitPeriods whole periods and oddDays days after the loan date.
inline double PresentValue(const std::vector<Stream>& streams, double unitDays, double i) {
    double pv = 0;
    for (const Stream& s : streams) {
        const double annuityDue = (1 - std::pow(1 + i, -s.payments)) / i * (1 + i);
        pv += s.amount * annuityDue / (std::pow(1 + i, s.unitPeriods) * (1 + s.oddDays * i / unitDays));
    }
    return pv;
}

// The APR, by bisection on the rate per unit period.
inline double AprByBisection(double amountFinanced, const std::vector<Stream>& streams, double unitDays = 30,
                             double yearDays = 360) {
    double low = 1e-9, high = 1;
    for (int n = 0; n < 200; ++n) {
        const double mid = (low + high) / 2;
        (PresentValue(streams, unitDays, mid) > amountFinanced ? low : high) = mid;
    }
    return low * yearDays / unitDays * 100;
}

}  // namespace tallex::casefile
