// The command line as a process against the casefile library: `check`, `report` and a batch give
// for each case what the library gives for it, in the same keys and order.

#include "CaseFile.h"
#include "CaseReplay.h"
#include "Verdict.h"
#include "cli_support.h"

#include "report/ReportText.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <string>
#include <vector>

namespace tallex::cli {
namespace {

using namespace tallex::casefile;
using namespace tallex::clitest;

const std::string kExamples = TALLEX_EXAMPLES;

// A batch reuses one record: a case must come out exactly as it does alone on a fresh record,
// whatever ran before it (a long schedule before a short one, an advance before none, a refusal
// between). `check` and `report` give for each case file what the library gives.
TEST(cli_examples, check_report_and_batch_give_what_the_library_gives_each_case_alone) {
    std::vector<std::string> paths;
    for (const char* name : {"irregular-with-advance.json", "regular-monthly.json", "construction-only.json",
                             "single-payment-days.json", "construction-permanent.json"})
        paths.push_back(kExamples + "/" + name);
    for (const char* name : {"b-apr-understatement.json", "c-apr-and-fc-adjustment.json"})
        paths.push_back(std::string(TALLEX_GOLDEN) + "/" + name);
    // Twelve streams, then fewer after it.
    std::string longCase = R"({"kind":"regular","amount_financed":"10000","disclosed_apr":"9","schedule":[)";
    for (int k = 0; k < 12; ++k) longCase += std::string(k ? "," : "") + R"({"amount":"300","payments":"3"})";
    longCase += "]}";
    std::vector<std::string> lines{longCase};
    for (const std::string& path : paths) {
        lines.push_back(nlohmann::json::parse(ReadFile(path)).dump());
        lines.push_back(longCase);
        lines.push_back(R"({"kind":"regular","amount_financed":"12a"})");
        CaseFile c;
        CaseOutcome outcome;
        ASSERT_FALSE(ParseCase(ReadFile(path), c)) << path;
        ASSERT_FALSE(RunCase(c, outcome)) << path;
        const std::string name = std::filesystem::path(path).filename();
        std::string check, report;
        EXPECT_EQ(RunCli("check " + path, check), HasViolation(*outcome.record) ? 1 : 0) << path;
        EXPECT_EQ(nlohmann::ordered_json::parse(check).dump(), VerdictJson(outcome, name)) << path;
        ASSERT_EQ(RunCli("report " + path, report), 0) << path;
        EXPECT_EQ(report, JoinReportLines(WriteReport(*outcome.record, outcome.identity, TALLEX_VERSION))) << path;
    }
    TempFolder folder;
    std::string input;
    for (const std::string& l : lines) input += l + "\n";
    WriteFile(folder / "cases.jsonl", input);
    std::string out;
    ASSERT_EQ(RunCli("batch " + (folder / "cases.jsonl"), out), 1);  // the refused lines
    const std::vector<std::string> verdicts = Lines(out);
    ASSERT_EQ(verdicts.size(), lines.size());
    for (std::size_t n = 0; n < lines.size(); ++n) {
        CaseFile c;
        CaseOutcome alone;
        if (ParseCase(lines[n], c) || RunCase(c, alone))
            EXPECT_TRUE(nlohmann::json::parse(verdicts[n]).contains("error")) << lines[n];
        else
            EXPECT_EQ(verdicts[n], VerdictJson(alone, "line " + std::to_string(n + 1))) << lines[n];
    }
}

}  // namespace
}  // namespace tallex::cli
