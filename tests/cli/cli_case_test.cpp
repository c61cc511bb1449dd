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

// Every example through `check`, `report` and one batch over their folder.
TEST(cli_examples, check_report_and_batch_give_what_the_library_gives) {
    TempFolder folder;
    const char* names[] = {"construction-only.json", "construction-permanent.json", "irregular-with-advance.json",
                           "regular-monthly.json", "single-payment-days.json"};
    for (const char* name : names) std::filesystem::copy_file(kExamples + "/" + name, folder / name);
    std::string batch;
    ASSERT_EQ(RunCli("batch " + (folder / ""), batch), 0);
    const std::vector<std::string> lines = Lines(batch);
    ASSERT_EQ(lines.size(), std::size(names));
    for (std::size_t n = 0; n < lines.size(); ++n) {
        const std::string name = names[n];
        CaseFile c;
        CaseOutcome outcome;
        ASSERT_FALSE(ParseCase(ReadFile(folder / name), c)) << name;
        ASSERT_FALSE(RunCase(c, outcome)) << name;
        std::string check, report;
        const int code = RunCli("check " + (folder / name), check);
        EXPECT_EQ(code, HasViolation(*outcome.record) ? 1 : 0) << name;
        EXPECT_EQ(nlohmann::ordered_json::parse(check).dump(), VerdictJson(outcome, name)) << name;
        EXPECT_EQ(lines[n], VerdictJson(outcome, name)) << name;
        ASSERT_EQ(RunCli("report " + (folder / name), report), 0) << name;
        EXPECT_EQ(report, JoinReportLines(WriteReport(*outcome.record, outcome.identity, TALLEX_VERSION))) << name;
    }
}

// A batch reuses one record: a case must come out exactly as it does on a fresh record, whatever
// ran before it (a long schedule before a short one, an advance before none, a refusal between).
TEST(cli_batch, each_case_as_if_it_ran_alone) {
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
    for (const std::string& p : paths) {
        lines.push_back(nlohmann::json::parse(ReadFile(p)).dump());
        lines.push_back(longCase);
        lines.push_back(R"({"kind":"regular","amount_financed":"12a"})");
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
        nlohmann::json batchVerdict = nlohmann::json::parse(verdicts[n]);
        batchVerdict.erase("case");
        CaseFile c;
        CaseOutcome alone;
        if (ParseCase(lines[n], c) || RunCase(c, alone))
            EXPECT_TRUE(batchVerdict.contains("error")) << lines[n];
        else
            EXPECT_EQ(batchVerdict, nlohmann::json::parse(VerdictJson(alone))) << lines[n];
    }
}

}  // namespace
}  // namespace tallex::cli
