#include "KnownMessages.h"

#include <regex>
#include <set>

namespace tallex::fuzz {

namespace {

// Money as the "Currency" format writes it, and a number in its shortest text.
const std::string kMoney = R"(-?\$[0-9]{1,3}(,[0-9]{3})*\.[0-9]{2})";
const std::string kNumber = R"(-?[0-9]*\.?[0-9]+(E[-+][0-9]{2,3})?)";

bool Matches(const std::string& text, const std::regex& pattern) { return std::regex_match(text, pattern); }

}  // namespace

bool IsCellMessage(const std::string& text) {
    static const std::set<std::string> fixed = {
        "Enter a payment amount using the following format: #,###.##",
        "Enter a payment amount that is more than 0.",
        "For number of payments, enter a valid integer.",
        "For number of payments, enter a number greater than 0.",
        "Enter a valid integer for unit periods.",
        "Unit periods must be greater than 0.",
        "When days in unit period are less than 365, unit periods must be 1.",
        "Enter a valid integer for odd days.",
        "Odd days must be less than 365.",
        "When days in unit period are less than 365, odd days must be 0.",
    };
    static const std::regex oddDays(R"(Odd days must be less than or equal to days in unit period \[)" + kNumber +
                                    R"(\] or 0\.)");
    return fixed.count(text) == 1 || Matches(text, oddDays);
}

bool IsContinueMessage(const std::string& text) {
    static const std::set<std::string> fixed = {
        "Enter payment amount and number of payments before going to next screen.",
        "Enter number of payments before going to next screen.",
        "Enter the unit periods before going to next screen.",
        "Enter the odd days before going to next screen.",
        "Before going to next screen you must enter dates in calendar in order to calculate unit periods and odd "
        "days. ",
        "Enter the number of unit periods.",
        "Enter the number of odd days.",
        // The solver's own note (the limit of its passes is this program's choice).
        "The APR cannot be computed for this payment schedule: the calculation does not settle on a rate.  "
        "Check the payment amounts, numbers of payments, unit periods and odd days.",
    };
    static const std::regex advance(
        "Payment stream #[0-9]+ cannot contain a negative payment amount if the number of negative payments is one "
        "and unit periods and odd days both equal zero\\.This advance should be treated as part of the amount "
        "financed and not as a negative payment\\.");
    static const std::regex regular(R"(Total of payments \[)" + kMoney +
                                    R"(\] must not be less than amount financed \[)" + kMoney + R"(\]\.)");
    static const std::regex construction(
        R"(The sum of the payments \[)" + kMoney + R"(\] must not be less than the sum of the advances \[)" + kMoney +
        R"(\]\.(\r\n\r\n\(Note that the sum of the payments does not include( estimated construction interest or the )"
        R"(subsequently paid finance charge\.\)| the subsequently paid finance charge\.\)| estimated construction )"
        R"(interest\.\)))?)");
    return fixed.count(text) == 1 || Matches(text, advance) || Matches(text, regular) || Matches(text, construction);
}

bool IsAprQuestion(const std::string& text) {
    static const std::set<std::string> fixed = {
        "The program has determined that the APR for this loan is understated and the finance charge is also "
        "understated,  but within the tolerance allowed by 226.18(d)(1).\r\n\r\nWas the APR error caused by the "
        "finance charge error?\r\n\r\n",
        "The program has determined that the APR for this loan is overstated and the finance charge is also "
        "overstated.\r\n\r\nWas the APR error caused by the finance charge error?\r\n\r\n",
    };
    return fixed.count(text) == 1;
}

bool IsAprReason(const std::string& text) {
    static const std::set<std::string> fixed = {
        "",
        "*** APR Understatement Violation:   APR is understated by more than 1/8% for Regular, Non-real estate loan.",
        "*** APR Understatement Violation:   APR is understated by more than 1/4% for Irregular, Non-real estate "
        "loan.",
        "*** APR Understatement Violation:   APR is understated but finance charge is not understated.",
        "*** APR Understatement Violation:  Disclosed finance charge is understated by more than the tolerance "
        "amount.",
        "*** APR Understatement Violation:  ADJUSTED present value of payments minus the amount financed is greater "
        "than the finance charge understatement.",
        "*** APR Overstatement Violation",
        "*** APR Overstatement Violation:   APR is overstated but finance charge is not overstated.",
        "*** APR Overstatement Violation:   Amount financed minus ADJUSTED present value of payments is greater than "
        "the finance charge overstatement.",
    };
    return fixed.count(text) == 1;
}

bool IsFinanceChargeReason(const std::string& text) {
    static const std::set<std::string> fixed = {
        "",
        "*** Finance Charge Understatement Violation:  Disclosed finance charge plus the tolerance amount is less "
        "than the correct finance charge.",
        "*** Finance Charge Overstatement Violation:  Disclosed finance charge minus the tolerance amount is greater "
        "than than the correct finance charge.",
    };
    return fixed.count(text) == 1;
}

}  // namespace tallex::fuzz
