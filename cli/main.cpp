// tallex-cli: the headless front end over the TALLEX core.

#include "AprCommand.h"
#include "CaseCommands.h"

#include <CLI/CLI.hpp>

#include <iostream>
#include <unistd.h>

int main(int argc, char** argv) {
    CLI::App app{"TALLEX: check Truth in Lending APR and finance charge disclosures"};
    app.require_subcommand(1);
    tallex::cli::AprOptions aprOptions;
    CLI::App* apr = tallex::cli::AddAprCommand(app, aprOptions);
    tallex::cli::CaseCommandOptions caseOptions;
    CLI::App *check = nullptr, *report = nullptr, *batch = nullptr;
    tallex::cli::AddCaseCommands(app, caseOptions, check, report, batch);
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        std::cerr << "tallex-cli: " << e.what() << "\n";
        return 2;
    }
    try {
        if (apr->parsed()) return tallex::cli::RunAprCommand(aprOptions, std::cout, std::cerr);
        if (check->parsed()) return tallex::cli::RunCheckCommand(caseOptions, std::cout, std::cerr);
        if (report->parsed()) return tallex::cli::RunReportCommand(caseOptions, std::cout, std::cerr);
        if (batch->parsed()) return tallex::cli::RunBatchCommand(caseOptions, std::cin, std::cout, std::cerr, ::isatty(2) != 0);
    } catch (const std::exception& e) {
        std::cerr << "tallex-cli: " << e.what() << "\n";
        return 2;
    }
    return 2;
}
