#pragma once
// `tallex-cli check`, `report` and `batch`: case files through the core, as the pages would
// take them.

#include <CLI/CLI.hpp>

#include <iostream>
#include <string>

namespace tallex::cli {

// The most cases a batch checks at once: each job holds a window of cases and a record of its
// own, and memory must stay well under 100 MB.
inline constexpr int kMaxJobs = 64;
// Every core of the machine (1 when it cannot be told), at most kMaxJobs.
int DefaultJobs();

struct CaseCommandOptions {
    std::string input;             // a case file (check, report), or a .jsonl file or folder (batch)
    std::string output;            // -o: the report or verdict file; empty or "-": standard output
    std::string format = {};       // batch: jsonl, csv or xlsx; empty: by the output's ending
    std::string inputFormat = {};  // batch: jsonl, csv or json; empty: by the input's name
    int jobs = DefaultJobs();      // batch: cases checked at once
};

void AddCaseCommands(CLI::App& app, CaseCommandOptions& options, CLI::App*& check, CLI::App*& report, CLI::App*& batch);

// Each returns the exit code, 2 for bad input (one line on err naming case, key, message).
// check: 0 no violation, 1 a violation; report: 0 written; batch: 0 every case checked, 1 a case
// refused, 2 when it cannot run (unreadable input, unwritable output, no cases at all).
// An input of "-" is read from `in`.
int RunCheckCommand(const CaseCommandOptions& options, std::ostream& out, std::ostream& err,
                    std::istream& in = std::cin);
int RunReportCommand(const CaseCommandOptions& options, std::ostream& out, std::ostream& err,
                     std::istream& in = std::cin);
int RunBatchCommand(const CaseCommandOptions& options, std::istream& in, std::ostream& out, std::ostream& err,
                    bool progress);

}  // namespace tallex::cli
