// tallex-cli: the headless front end over the TALLEX core.

#include "AprCommand.h"

#include <CLI/CLI.hpp>

#include <iostream>

int main(int argc, char** argv) {
    CLI::App app{"TALLEX: check Truth in Lending APR and finance charge disclosures"};
    app.require_subcommand(1);
    tallex::cli::AprOptions aprOptions;
    CLI::App* apr = tallex::cli::AddAprCommand(app, aprOptions);
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        std::cerr << "tallex-cli: " << e.what() << "\n";
        return 2;
    }
    if (apr->parsed()) return tallex::cli::RunAprCommand(aprOptions, std::cout, std::cerr);
    return 2;
}
