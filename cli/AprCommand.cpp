#include "AprCommand.h"

#include "engine/AprSolver.h"
#include "engine/Format.h"
#include "engine/LoanRecord.h"
#include "engine/NumberText.h"
#include "engine/RuntimeError.h"

#include <memory>
#include <ostream>
#include <sstream>

namespace tallex::cli {

CLI::App* AddAprCommand(CLI::App& app, AprOptions& options) {
    CLI::App* cmd = app.add_subcommand("apr", "Compute the actuarial APR of a payment schedule");
    cmd->add_option("--amount", options.amount, "Amount financed")->required();
    cmd->add_option("--apr", options.disclosedApr, "Disclosed APR in percent (the solver's start)");
    cmd->add_option("--unit-days", options.unitDays, "Days in the unit period");
    cmd->add_option("--year-days", options.yearDays, "Days in the year");
    cmd->add_option("--stream", options.streams, "AMOUNT,COUNT,UNITPERIODS,ODDDAYS (repeatable)")
        ->required();
    return cmd;
}

namespace {
bool SplitStream(const std::string& text, std::string (&parts)[4]) {
    std::istringstream in(text);
    std::string part;
    int n = 0;
    while (std::getline(in, part, ',')) {
        if (n == 4) return false;
        parts[n++] = part;
    }
    return n == 4;
}
}  // namespace

int RunAprCommand(const AprOptions& options, std::ostream& out, std::ostream& err) {
    if (!IsNumericText(options.amount) || !IsNumericText(options.disclosedApr)) {
        err << "tallex-cli apr: --amount and --apr must be numbers\n";
        return 2;
    }
    if (options.streams.size() > static_cast<std::size_t>(kMaxStreams)) {
        err << "tallex-cli apr: at most " << kMaxStreams << " streams\n";
        return 2;
    }
    auto record = std::make_unique<LoanRecord>();
    record->gdAmount = Val(options.amount);
    record->gdDisclAPR = Val(options.disclosedApr);
    record->gdDaysinUnitPd = options.unitDays;
    record->gdDaysinYr = options.yearDays;
    int k = 0;
    for (const std::string& stream : options.streams) {
        std::string parts[4];
        if (!SplitStream(stream, parts)) {
            err << "tallex-cli apr: --stream '" << stream << "' must be AMOUNT,COUNT,UNITPERIODS,ODDDAYS\n";
            return 2;
        }
        for (const std::string& p : parts) {
            if (!IsNumericText(p)) {
                err << "tallex-cli apr: --stream '" << stream << "': '" << p << "' is not a number\n";
                return 2;
            }
        }
        ++k;
        record->gaPymtAmt[k] = parts[0];
        record->gaNumPymts[k] = parts[1];
        record->gaUnitPeriods[k] = parts[2];
        record->gaOddDays[k] = parts[3];
    }
    record->giGridRowCount = static_cast<std::int16_t>(k);
    try {
        SolveAPR(*record);
    } catch (const RuntimeError& e) {
        err << "tallex-cli apr: run-time error " << e.number() << ": " << e.description() << "\n";
        return 2;
    }
    if (record->gbSolverFailed) {
        err << "tallex-cli apr: the APR could not be computed: no rate makes the payments worth the amount financed\n";
        return 2;
    }
    out << Format(record->gdCalcAPR, "0.0000") << "\n";
    out << "passes=" << record->iSolverPasses << "\n";
    return 0;
}

}  // namespace tallex::cli
