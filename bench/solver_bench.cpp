// Solver speed on schedules of 1, 12 and 360 streams.

#include "engine/AprSolver.h"
#include "engine/LoanRecord.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

std::unique_ptr<tallex::LoanRecord> MonthlyLoan(int streams) {
    auto r = std::make_unique<tallex::LoanRecord>();
    r->gdAmount = 100000;
    r->gdDisclAPR = 7.5;
    r->gdDaysinUnitPd = 30;
    r->gdDaysinYr = 360;
    for (int k = 1; k <= streams; ++k) {
        r->gaPymtAmt[k] = streams == 1 ? "700.00" : std::to_string(600 + k % 7 * 25) + ".00";
        r->gaNumPymts[k] = streams == 1 ? "360" : "1";
        r->gaUnitPeriods[k] = std::to_string(k);
        r->gaOddDays[k] = "12";
    }
    r->giGridRowCount = static_cast<std::int16_t>(streams);
    return r;
}

void BM_SolveAPR(benchmark::State& state) {
    auto record = MonthlyLoan(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        record->dPval = 0;
        record->gbSolverFailed = false;
        tallex::SolveAPR(*record);
        benchmark::DoNotOptimize(record->gdCalcAPR);
    }
}
BENCHMARK(BM_SolveAPR)->Arg(1)->Arg(12)->Arg(360);

}  // namespace
