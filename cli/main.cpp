// tallex-cli: the headless front end over the TALLEX core.

#include "AprCommand.h"
#include "CaseCommands.h"

#include "CaseKeys.h"

#include <CLI/CLI.hpp>

#include <unistd.h>
#include <iostream>
#include <string>
#include <vector>

namespace {

// The usage on `out`; with an unknown subcommand, first the line naming it and the nearest one.
int Usage(const CLI::App& app, std::ostream& out, const std::string& unknown, int code) {
    if (!unknown.empty()) {
        std::vector<std::string> names;
        for (const CLI::App* sub : app.get_subcommands({})) names.push_back(sub->get_name());
        names.emplace_back("help");
        out << "tallex-cli: unknown subcommand '" << unknown << "'";
        if (const std::string near = tallex::casefile::keys::NearestName(unknown, names); !near.empty())
            out << "; did you mean '" << near << "'?";
        out << "\n";
    }
    out << app.help();
    return code;
}

}  // namespace

int main(int argc, char** argv) {
    // Nothing here writes through C stdio: unsynchronised streams read and write a batch's
    // standard input and output several times faster.
    std::ios::sync_with_stdio(false);
    CLI::App app{"TALLEX: check Truth in Lending APR and finance charge disclosures"};
    app.name("tallex-cli");
    app.require_subcommand(1);
    app.set_version_flag("--version", std::string("tallex-cli ") + TALLEX_VERSION);
    app.footer(
        "Run 'tallex-cli SUBCOMMAND --help' for a subcommand's options and defaults.\n"
        "Exit codes: check 0 no violation, 1 a violation, 2 bad input or an unreadable file; "
        "batch 0 every case checked, 1 a case refused, 2 cannot run (unreadable input, no cases at all).");
    tallex::cli::AprOptions aprOptions;
    CLI::App* apr = tallex::cli::AddAprCommand(app, aprOptions);
    tallex::cli::CaseCommandOptions caseOptions;
    CLI::App *check = nullptr, *report = nullptr, *batch = nullptr;
    tallex::cli::AddCaseCommands(app, caseOptions, check, report, batch);

    // No subcommand, `help [SUBCOMMAND]` or a word that names none: the usage, before CLI11
    // would answer with a bare "not expected" line.
    if (argc < 2) return Usage(app, std::cerr, "", 2);
    const std::string first = argv[1];
    if (first == "help") {
        if (argc > 2) {
            for (const CLI::App* sub : app.get_subcommands({}))
                if (sub->get_name() == argv[2]) {
                    std::cout << sub->help();
                    return 0;
                }
            return Usage(app, std::cerr, argv[2], 2);
        }
        return Usage(app, std::cout, "", 0);
    }
    if (!first.empty() && first[0] != '-') {
        bool known = false;
        for (const CLI::App* sub : app.get_subcommands({})) known = known || sub->get_name() == first;
        if (!known) return Usage(app, std::cerr, first, 2);
    }

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForVersion& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        std::cerr << "tallex-cli: " << e.what() << "\n";
        return 2;
    }
    try {
        if (apr->parsed()) return tallex::cli::RunAprCommand(aprOptions, std::cout, std::cerr);
        if (check->parsed()) return tallex::cli::RunCheckCommand(caseOptions, std::cout, std::cerr);
        if (report->parsed()) return tallex::cli::RunReportCommand(caseOptions, std::cout, std::cerr);
        if (batch->parsed())
            return tallex::cli::RunBatchCommand(caseOptions, std::cin, std::cout, std::cerr, ::isatty(2) != 0);
    } catch (const std::exception& e) {
        std::cerr << "tallex-cli: " << e.what() << "\n";
        return 2;
    }
    return 2;
}
