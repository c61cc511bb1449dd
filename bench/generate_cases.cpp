// Writes N random loan cases as JSON lines, from a seed, for timing and soaking the batch
// command: mostly regular loans of 1 to 3 streams, some single payment and construction loans,
// and with --invalid a share of cases the pages would refuse or that are not even JSON.
//
//   generate_cases N [--seed S] [--invalid PERCENT] > cases.jsonl

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

namespace {

std::string Money(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.2f", v);
    return buf;
}

std::string RegularCase(std::mt19937_64& rng) {
    std::uniform_real_distribution<double> amount(500, 250000);
    std::uniform_real_distribution<double> apr(2, 24);
    std::uniform_int_distribution<int> streams(1, 3);
    const double principal = std::round(amount(rng) * 100) / 100;
    const double rate = apr(rng);
    const int count = streams(rng);
    const int term = std::uniform_int_distribution<int>(6, 360)(rng);
    const double i = rate / 1200;
    const double payment = principal * i / (1 - std::pow(1 + i, -term));
    // The disclosed figures: mostly right, sometimes understated or overstated.
    const double aprError =
        std::uniform_int_distribution<int>(0, 3)(rng) == 0 ? std::uniform_real_distribution<double>(-1, 1)(rng) : 0.0;
    const double fcError = std::uniform_int_distribution<int>(0, 3)(rng) == 0
                               ? std::uniform_real_distribution<double>(-300, 300)(rng)
                               : 0.0;
    const double financeCharge = std::max(1.0, payment * term - principal + fcError);
    std::string s =
        "{\"kind\":\"regular\",\"amount_financed\":\"" + Money(principal) + "\",\"disclosed_apr\":\"" +
        Money(std::max(1.0, rate + aprError)) + "\",\"disclosed_finance_charge\":\"" + Money(financeCharge) +
        "\",\"secured_by_real_estate\":" + (rng() % 2 ? "true" : "false") +
        ",\"answers\":{\"apr_understatement_caused_by_fc\":false,\"apr_overstatement_caused_by_fc\":false}" +
        ",\"schedule\":[";
    // The term split over the streams; the last stream's payment a little different.
    int left = term;
    for (int k = 0; k < count; ++k) {
        const int n = k == count - 1 ? left : std::max(1, left / (count - k));
        left -= n;
        if (n <= 0) break;
        if (k) s += ",";
        s += "{\"amount\":\"" + Money(payment + (k == count - 1 ? 0.37 : 0)) + "\",\"payments\":\"" +
             std::to_string(n) + "\"}";
        if (left <= 0) break;
    }
    return s + "]}";
}

std::string SingleCase(std::mt19937_64& rng) {
    const double principal = std::uniform_int_distribution<int>(1000, 50000)(rng);
    const int days = std::uniform_int_distribution<int>(30, 364)(rng);
    const double rate = std::uniform_real_distribution<double>(3, 18)(rng);
    const double payment = principal * (1 + rate / 100 * days / 365);
    return "{\"kind\":\"regular\",\"amount_financed\":\"" + Money(principal) + "\",\"disclosed_apr\":\"" + Money(rate) +
           "\",\"disclosed_finance_charge\":\"" + Money(payment - principal) +
           "\",\"loan_type\":\"single\",\"frequency\":\"actual_days\",\"unit_period\":\"" + std::to_string(days) +
           "\",\"schedule\":[{\"amount\":\"" + Money(payment) + "\",\"payments\":\"1\"}]}";
}

std::string ConstructionCase(std::mt19937_64& rng) {
    const int commitment = std::uniform_int_distribution<int>(50, 900)(rng) * 1000;
    const int months = std::uniform_int_distribution<int>(3, 24)(rng);
    return "{\"kind\":\"construction\",\"disclosed_apr\":\"" +
           Money(std::uniform_real_distribution<double>(4, 14)(rng)) +
           "\",\"disclosed_finance_charge\":\"\",\"construction\":{\"commitment\":\"" + std::to_string(commitment) +
           "\",\"simple_rate\":\"" + Money(std::uniform_real_distribution<double>(4, 12)(rng)) +
           "\",\"prepaid_finance_charge\":\"" + std::to_string(commitment / 100) + "\",\"interest_on\":\"" +
           (rng() % 2 ? "advances" : "commitment") + "\",\"time_period\":\"" + std::to_string(months) + "\"}}";
}

std::string InvalidCase(std::mt19937_64& rng) {
    switch (rng() % 6) {
    case 0: return "{\"kind\":\"regular\",";
    case 1: return "{\"kind\":\"regular\",\"amount_financed\":\"12a\"}";
    case 2: return "{\"kind\":\"regular\",\"amount_financed\":\"1000\",\"disclosed_apr\":\"0.5\"}";
    case 3:
        return "{\"kind\":\"regular\",\"amount_financed\":\"99999\",\"disclosed_apr\":\"9\",\"schedule\":[{\"amount\":"
               "\"10\",\"payments\":\"2\"}]}";
    case 4: return "[1,2,3]";
    default:
        return "{\"kind\":\"regular\",\"amount_financed\":\"1000\",\"disclosed_apr\":\"12\",\"schedule\":[{\"amount\":"
               "\"88.85\",\"payments\":\"12\",\"odd_days\":\"45\"}]}";
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: generate_cases N [--seed S] [--invalid PERCENT]\n");
        return 2;
    }
    const long count = std::atol(argv[1]);
    unsigned long seed = 20261206;
    int invalidPercent = 0;
    for (int a = 2; a + 1 < argc; a += 2) {
        if (!std::strcmp(argv[a], "--seed")) seed = std::strtoul(argv[a + 1], nullptr, 10);
        if (!std::strcmp(argv[a], "--invalid")) invalidPercent = std::atoi(argv[a + 1]);
    }
    std::mt19937_64 rng(seed);
    std::uniform_int_distribution<int> percent(0, 99);
    for (long n = 0; n < count; ++n) {
        std::string line;
        const int roll = percent(rng);
        if (roll < invalidPercent)
            line = InvalidCase(rng);
        else if (roll < invalidPercent + 8)
            line = SingleCase(rng);
        else if (roll < invalidPercent + 12)
            line = ConstructionCase(rng);
        else
            line = RegularCase(rng);
        std::fputs(line.c_str(), stdout);
        std::fputc('\n', stdout);
    }
    return 0;
}
