#pragma once
// `tallex-cli apr`: the APR of a schedule given on the command line.

#include <CLI/CLI.hpp>

#include <string>
#include <vector>

namespace tallex::cli {

struct AprOptions {
    std::string amount;
    std::string disclosedApr = "0";
    double unitDays = 30;
    double yearDays = 360;
    std::vector<std::string> streams;  // "AMOUNT,COUNT,UNITPERIODS,ODDDAYS"
};

// Registers the subcommand; `run` is set to the action to take when it was chosen.
CLI::App* AddAprCommand(CLI::App& app, AprOptions& options);

// Prints the APR (four decimals) and "passes=N"; returns the exit code. Bad arguments print
// one line on err naming the option and give 2: amounts and the APR must be plain numbers (no
// separators, which the solver would read as the end of the number), a stream's count a whole
// number from 1, its unit periods and odd days whole numbers from 0, the unit period and the
// year above 0.
int RunAprCommand(const AprOptions& options, std::ostream& out, std::ostream& err);

}  // namespace tallex::cli
