// The command line's files when the disk fails it: a report or a verdict file written onto a
// full disk (or into a read-only folder) is reported with the run-time's message and leaves the
// earlier file whole, with nothing half-written beside it; a case file cut short or damaged is a
// one-line error naming the file, never a crash.

#include "cli_support.h"
#include "file_faults_disk.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace tallex::faults {
namespace {

using clitest::ReadFile;
using clitest::TempFolder;
using clitest::WriteFile;

// A case file as one line of a batch file (its line breaks are JSON white space).
std::string ReadFileAsLine(const std::string& path) {
    std::string text = ReadFile(path);
    for (char& c : text)
        if (c == '\n' || c == '\r') c = ' ';
    return text;
}

// Runs the command line; returns its exit code, with standard error (and output) in `out`.
int RunCli(const std::string& args, std::string& out) { return clitest::RunCli(args, out, clitest::Stderr::Kept); }

// The last line of an output (standard error's message, a batch's summary).
std::string LastLine(const std::string& text) { return text.empty() ? "" : clitest::Lines(text).back(); }

const std::string kExamples = TALLEX_EXAMPLES;
const std::string kGolden = TALLEX_GOLDEN;

TEST(report_file_fault, a_full_disk_keeps_the_earlier_report) {
    SmallDisk disk;
    if (!disk.canFail()) GTEST_SKIP() << "neither a mount nor a read-only folder stops a write here";
    const std::string report = disk.path("report.txt");
    std::string out;
    ASSERT_EQ(RunCli("report " + kExamples + "/regular-monthly.json -o " + report, out), 0) << out;
    const std::string earlier = ReadFile(report);
    ASSERT_NE(earlier.find("APR Disclosure Documentation"), std::string::npos);

    disk.fill();
    EXPECT_EQ(RunCli("report " + kGolden + "/b-apr-understatement.json -o " + report, out), 2);
    EXPECT_EQ(out, "tallex-cli: " + report + ": Unable to print report to file.  Error # " +
                       std::to_string(disk.expectedErrorNumber()) + " - " + disk.expectedErrorDescription() + "\n");
    EXPECT_EQ(ReadFile(report), earlier);
    EXPECT_EQ(disk.files(), std::vector<std::string>{"report.txt"});
}

TEST(batch_file_fault, a_full_disk_keeps_the_earlier_verdicts) {
    // The cases live on an ordinary disk; only the verdicts go to the small one.
    TempFolder folder;
    const std::string cases = folder / "cases.jsonl";
    std::string lines;
    for (int n = 0; n < 200; ++n) lines += ReadFileAsLine(kExamples + "/regular-monthly.json") + "\n";
    WriteFile(cases, lines);
    for (const std::string format : {"jsonl", "csv", "xlsx"}) {
        SmallDisk disk;
        if (!disk.canFail()) GTEST_SKIP() << "neither a mount nor a read-only folder stops a write here";
        const std::string verdicts = disk.path("verdicts." + format);
        WriteFile(verdicts, "{\"earlier\":true}\n");

        disk.fill();
        std::string out;
        EXPECT_EQ(RunCli("batch " + cases + " --format " + format + " -o " + verdicts, out), 2) << format;
        EXPECT_EQ(LastLine(out).rfind("tallex-cli: " + verdicts + ": cannot be written", 0), 0u) << out;
        EXPECT_EQ(ReadFile(verdicts), "{\"earlier\":true}\n") << format;
        EXPECT_EQ(disk.files(), std::vector<std::string>{"verdicts." + format});
    }
}

// Verdicts that cannot take the name given, a folder's: the rename's own message, and the folder
// alone left, nothing half-written beside it.
TEST(batch_file_fault, a_folder_of_the_name_given_is_left_alone) {
    TempFolder folder;
    std::filesystem::create_directory(folder / "verdicts");
    std::string out;
    EXPECT_EQ(RunCli("batch " + kExamples + "/regular-monthly.json -o " + (folder / "verdicts"), out), 2);
    EXPECT_EQ(LastLine(out), "tallex-cli: " + (folder / "verdicts") + ": cannot be written: Is a directory");
    EXPECT_EQ(folder.files(), std::vector<std::string>{"verdicts"});
}

// Damaged copies of a good case file: cut short at several places, and with bytes that no JSON
// text holds.
std::vector<std::pair<std::string, std::string>> DamagedCases() {
    const std::string good = ReadFile(kExamples + "/regular-monthly.json");
    const std::size_t end = good.rfind('}');
    return {
        {"empty", ""},
        {"cut-in-the-middle", good.substr(0, end / 2)},
        {"cut-before-the-last-brace", good.substr(0, end)},
        {"nul-in-the-middle", good.substr(0, end / 2) + std::string(1, '\0') + good.substr(end / 2)},
        {"invalid-utf8-in-a-name",
         good.substr(0, good.find("\"kind\"") + 2) + "\xff\xfe" + good.substr(good.find("\"kind\"") + 2)},
        {"binary", std::string("\x7f"
                               "ELF\x02\x01\x01\0\0\0",
                               10)},
    };
}

TEST(case_file_fault, a_damaged_case_file_is_one_line_naming_it) {
    TempFolder folder;
    for (const auto& [name, text] : DamagedCases()) {
        const std::string path = folder / (name + ".json");
        WriteFile(path, text);
        for (const char* command : {"check ", "report "}) {
            std::string out;
            EXPECT_EQ(RunCli(command + path, out), 2) << command << name;
            EXPECT_EQ(out.rfind("tallex-cli: " + path + ": (file): malformed JSON: ", 0), 0u)
                << command << name << ": " << out;
            EXPECT_EQ(out.find('\n'), out.size() - 1) << command << name << ": " << out;
        }
    }
    // A batch over the folder answers every file, each with its error.
    std::string out;
    const auto damaged = DamagedCases();
    EXPECT_EQ(RunCli("batch " + (folder / "") + " -o " + (folder / "verdicts.out"), out), 1) << out;
    EXPECT_EQ(LastLine(out), "cases " + std::to_string(damaged.size()) + ", checked 0, failures " +
                                 std::to_string(damaged.size()) +
                                 "; violations: APR understated 0, APR overstated 0, finance charge understated 0, "
                                 "finance charge overstated 0; subject to reimbursement 0");
    const std::vector<std::string> verdicts = clitest::Lines(ReadFile(folder / "verdicts.out"));
    EXPECT_EQ(verdicts.size(), damaged.size());
    for (const std::string& v : verdicts)
        EXPECT_TRUE(v.starts_with("{\"case\":\"") && v.find("\"error\":") != v.npos) << v;
}

}  // namespace
}  // namespace tallex::faults
