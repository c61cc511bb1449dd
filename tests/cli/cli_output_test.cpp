// The verdicts of a batch in each output format, read back as a reader would: JSON lines, a CSV
// table (RFC 4180, no cell that a spreadsheet would run as a formula) and a spreadsheet (its
// sheets' XML unzipped); `check` and `batch` agreeing on the keys and their order.

#include "BatchOutput.h"
#include "cli_support.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>
#include <nlohmann/json.hpp>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tallex::cli {
namespace {

using namespace tallex::clitest;
namespace fs = std::filesystem;

const std::string kExamples = TALLEX_EXAMPLES;

// Three cases: the worked example (1,000 for 12 x 88.85: APR 12.0026 %, finance charge 66.20)
// whose account would run as a formula; the same loan disclosed at 13 % with a finance charge
// of 80.00, both overstated beyond their tolerances (1/8 point; $5 on $1,000); a case refused.
std::string ThreeCases(const TempFolder& folder) {
    nlohmann::json accurate = nlohmann::json::parse(ReadFile(kExamples + "/regular-monthly.json"));
    accurate["account"] = "=cmd|' /C calc'!A0";
    nlohmann::json overstated = accurate;
    overstated["account"] = "-7";
    overstated["disclosed_apr"] = "13.00";
    overstated["disclosed_finance_charge"] = "80.00";
    const std::string path = folder / "cases.jsonl";
    WriteFile(path, accurate.dump() + "\n" + overstated.dump() + "\n" +
                        R"({"account":"+1 ,\"quoted\"","amount_financed":"12a"})" + "\n");
    return path;
}

const char* const kRefusal = "For amount financed, enter numbers, minus sign or decimal point only.";

// Every kind of input a batch reads, from a file or standard input: the cases in input order,
// each named by its line, file or row, checked or refused. A case file may start with a
// byte-order mark. The tape carries a byte-order mark, CR LF line ends and quoted cells holding
// commas, doubled quotes and a line break. And the exit codes a script branches on. check: 0 no
// violation, 1 a violation, 2 bad input or an unreadable file; batch: 0 every case checked, 1 a
// case refused, 2 nothing to run.
TEST(cli_batch_input, each_kind_of_input_gives_its_cases_in_order_and_its_exit_code) {
    TempFolder folder;
    // The worked example (1,000 for 12 x 88.85: APR 12.0026 %, finance charge 66.20) disclosed
    // right, and disclosed at 13 % with 80.00: both beyond their tolerances (1/8 point; $5).
    nlohmann::json worked = nlohmann::json::parse(ReadFile(kExamples + "/regular-monthly.json"));
    nlohmann::json refused = worked;
    refused["account"] = "J-2";
    refused["amount_financed"] = "12a";
    nlohmann::json overstated = worked;
    overstated["disclosed_apr"] = "13.00";
    overstated["disclosed_finance_charge"] = "80.00";
    WriteFile(folder / "cases.jsonl", worked.dump() + "\n\n" + refused.dump() + "\n");
    WriteFile(folder / "checked.jsonl", worked.dump() + "\n" + overstated.dump() + "\n");
    WriteFile(folder / "one.json", worked.dump(2));
    WriteFile(folder / "bom.json", "\xEF\xBB\xBF" + worked.dump(2));
    WriteFile(folder / "overstated.json", overstated.dump(2));
    fs::create_directory(folder / "cases");
    WriteFile(folder / "cases/b.json", refused.dump(2));
    WriteFile(folder / "cases/a.json", worked.dump(2));
    WriteFile(folder / "cases/notes.txt", "not a case");
    WriteFile(folder / "tape.csv",
              "\xEF\xBB\xBF"
              "account,borrower,kind,amount_financed,disclosed_apr,disclosed_finance_charge,loan_type,"
              "frequency,schedule.1.amount,schedule.1.payments,schedule.1.unit_periods,schedule.1.odd_days\r\n"
              "\"T-1, first\",\"Doe,\r\nJane \"\"J\"\"\",regular,1000.00,12.00,66.20,installment,monthly,"
              "88.85,12,1,0\r\n"
              "T-2,x,regular,1000.00,12.00,66.20,installment,monthly,88.85,12.5,1,0\r\n"
              ",y,regular,12a,12.00,66.20,installment,monthly,88.85,12,1,0\r\n");
    WriteFile(folder / "blank.jsonl", "\n  \n");
    WriteFile(folder / "header-only.csv", "account,amount_financed\r\n");
    WriteFile(folder / "unknown-column.csv", "account,amount_finance\r\n1,1000\r\n");
    fs::create_directory(folder / "empty");
    // A case: its name, its account ("" for none) and whether it was checked.
    struct Case {
        std::string name, account;
        bool checked;
    };
    const std::vector<Case> lines = {{"line 1", "100-2001", true}, {"line 3", "J-2", false}};
    const std::vector<Case> tape = {{"row 1", "T-1, first", true}, {"row 2", "T-2", false}, {"row 3", "", false}};
    struct Row {
        std::string args;
        int code;
        std::optional<std::vector<Case>> cases = std::nullopt;  // the verdict lines, where checked
    } const rows[] = {
        {"batch " + (folder / "cases.jsonl"), 1, lines},
        {"batch - < " + (folder / "cases.jsonl"), 1, lines},
        {"batch - --input-format jsonl < " + (folder / "cases.jsonl"), 1, lines},
        {"batch " + (folder / "cases"), 1, {{{"a.json", "100-2001", true}, {"b.json", "J-2", false}}}},
        {"batch " + (folder / "one.json"), 0, {{{"one.json", "100-2001", true}}}},
        {"batch " + (folder / "bom.json"), 0, {{{"bom.json", "100-2001", true}}}},
        {"batch - --input-format json < " + (folder / "one.json"), 0, {{{"-", "100-2001", true}}}},
        {"batch " + (folder / "tape.csv"), 1, tape},
        {"batch - --input-format csv < " + (folder / "tape.csv"), 1, tape},
        {"batch --input-format csv " + (folder / "tape.csv"), 1, tape},
        {"batch " + (folder / "checked.jsonl"), 0},  // a violation is a verdict, not a failure
        {"batch " + (folder / "missing.jsonl"), 2},
        {"batch " + (folder / "blank.jsonl"), 2},
        {"batch - < " + (folder / "blank.jsonl"), 2},
        {"batch " + (folder / "empty"), 2},
        {"batch " + (folder / "header-only.csv"), 2},
        {"batch " + (folder / "unknown-column.csv"), 2},
        {"check " + (folder / "one.json"), 0},
        {"check " + (folder / "overstated.json"), 1},
        {"check - < " + (folder / "overstated.json"), 1},
        {"check " + (folder / "cases.jsonl"), 2},  // several cases are no case file
        {"report " + (folder / "overstated.json"), 0},
    };
    for (const Row& row : rows) {
        std::string out;
        EXPECT_EQ(RunCli(row.args, out), row.code) << row.args;
        if (!row.cases) continue;
        const std::vector<std::string> verdicts = Lines(out);
        ASSERT_EQ(verdicts.size(), row.cases->size()) << row.args << ": " << out;
        for (std::size_t n = 0; n < verdicts.size(); ++n) {
            const Case& c = (*row.cases)[n];
            const auto v = nlohmann::json::parse(verdicts[n], nullptr, false);
            ASSERT_TRUE(v.is_object()) << row.args << ": " << verdicts[n];
            EXPECT_EQ(v.value("case", ""), c.name) << row.args;
            EXPECT_EQ(v["account"].is_null() ? "" : v.value("account", "?"), c.account) << row.args << ": " << c.name;
            EXPECT_EQ(v.value("apr_verdict", ""), c.checked ? "accurate" : "") << row.args << ": " << verdicts[n];
        }
    }
    // A row the tape reader itself refuses keeps its own account, not that of the case before it.
    WriteFile(folder / "reader-refused.csv", "account,kind\r\nT-5,regular\r\nT-6,lease\r\n");
    std::string out;
    EXPECT_EQ(RunCli("batch --jobs 1 " + (folder / "reader-refused.csv"), out), 1);
    const std::vector<std::string> verdicts = Lines(out);
    ASSERT_EQ(verdicts.size(), 2u) << out;
    EXPECT_EQ(nlohmann::json::parse(verdicts[1]).value("account", ""), "T-6") << verdicts[1];
}

// The manners of a command-line tool: the usage when no subcommand is given or asked for, the
// version, the nearest subcommand to a mistyped one with the usage after it, and each help with
// its options' names, its defaults and its exit codes. Each row: arguments, exit code, texts the
// output holds (standard error after standard output).
TEST(cli_manners, usage_version_help_and_the_nearest_subcommand) {
    const std::string usage = "TALLEX: check Truth in Lending APR and finance charge disclosures";
    const std::string unknown = "tallex-cli: unknown subcommand ";
    struct Row {
        std::string args;
        int code;
        std::vector<std::string> texts;
    } const rows[] = {
        {"", 2, {usage}},
        {"help", 0, {usage}},
        {"--help",
         0,
         {usage,
          "Exit codes: check 0 no violation, 1 a violation, 2 bad input or an unreadable file; batch 0 every "
          "case checked, 1 a case refused, 2 cannot run (unreadable input, no cases at all)."}},
        {"--version", 0, {"tallex-cli " TALLEX_VERSION "\n"}},
        {"chek x.json", 2, {unknown + "'chek'; did you mean 'check'?\n", usage}},
        {"hlep", 2, {unknown + "'hlep'; did you mean 'help'?\n", usage}},
        {"spreadsheet", 2, {unknown + "'spreadsheet'\n", usage}},
        {"help chek", 2, {unknown + "'chek'; did you mean 'check'?\n", usage}},
        {"help batch",
         0,
         {"Check every case of a .jsonl file, a folder of .json files, a .json case file or a .csv loan tape"}},
        {"apr --help",
         0,
         {"Exit codes: 0 the APR was computed, 2 bad arguments or no APR could be computed.", "Days in the unit period",
          "Days in the year"}},
        {"check --help", 0, {"- reads standard input", "Exit codes: 0 no violation, 1 a violation"}},
        {"report --help",
         0,
         {"-o,--output TEXT", "(default: standard output)", "Exit codes: 0 the report was written"}},
        {"batch --help",
         0,
         {".jsonl one JSON case per line, .json one case file, .csv a loan tape, a folder of *.json; any other "
          "name is read as JSON lines",
          "-o,--output TEXT", "(default: csv or xlsx when -o's name ends so, else jsonl)",
          "Verdict file, written whole or not at all (default, or -: standard output; not for xlsx)",
          "(default: by the name's ending; jsonl for standard input)",
          "--jobs INT:INT in [1 - 64]=", "Exit codes: 0 every case was checked, 1 a case was refused"}},
    };
    for (const Row& row : rows) {
        std::string out;
        EXPECT_EQ(RunCli(row.args, out, clitest::Stderr::Kept), row.code) << row.args;
        for (const std::string& text : row.texts)
            EXPECT_NE(out.find(text), std::string::npos) << row.args << ": " << text << " in " << out;
    }
}

// Each format goes to the file named, nothing left beside it; and but for a spreadsheet to
// standard output, with no -o or with -o -, as the same text. A file's format goes by its name's
// ending unless told; JSON lines by default.
TEST(cli_batch_output, each_format_to_a_file_or_standard_output) {
    TempFolder folder;
    const std::string cases = ThreeCases(folder);
    for (const std::string format : {"jsonl", "csv", "xlsx"}) {
        const std::string file = folder / ("v." + format);
        const std::string given = format == "jsonl" ? "" : " --format " + format;
        std::string out, none, dash;
        EXPECT_EQ(RunCli("batch " + cases + " -o " + file, out), 1) << format;
        EXPECT_EQ(out, "") << format;
        EXPECT_EQ(folder.files(), (std::vector<std::string>{"cases.jsonl", "v." + format})) << format;
        if (format == "xlsx") {
            EXPECT_EQ(ReadFile(file).substr(0, 2), "PK");  // a zip archive
            continue;
        }
        EXPECT_EQ(RunCli("batch " + cases + given, none), 1) << format;
        EXPECT_EQ(RunCli("batch " + cases + given + " -o -", dash), 1) << format;
        EXPECT_EQ(ReadFile(file), none) << format;
        EXPECT_EQ(dash, none) << format;
        std::filesystem::remove(file);
    }
}

// A header, then a record per case, each ending in CR LF: a text cell that would run as a formula
// neutralised and quoted, a negative number not (the quoting rules are AppendCsvField's), the
// refused case with its key and message. The worked example's APR is 12.0026 %; the overstated
// finance charge is 80 - 66.20 = 13.80 over.
TEST(cli_batch_output, csv_has_a_header_and_a_record_per_case) {
    TempFolder folder;
    std::string out;
    ASSERT_EQ(RunCli("batch " + ThreeCases(folder) + " --format csv", out), 1);
    const std::vector<std::string> rows = Lines(out);
    ASSERT_EQ(rows.size(), 4u) << out;
    for (const std::string& row : rows) EXPECT_TRUE(row.ends_with('\r')) << row;
    EXPECT_TRUE(rows[0].starts_with("case,account,schema_version,verdict,apr_verdict,fc_verdict,calc_apr,")) << rows[0];
    EXPECT_TRUE(rows[1].starts_with("line 1,\"'=cmd|' /C calc'!A0\",1,no_violation,accurate,accurate,12.00"))
        << rows[1];
    EXPECT_NE(rows[1].find(",\"[1,0]\","), std::string::npos) << rows[1];  // its stream: [unit periods,odd days]
    EXPECT_TRUE(rows[2].starts_with("line 2,\"'-7\",1,violation,")) << rows[2];
    EXPECT_NE(rows[2].find(",-13.8,"), std::string::npos) << rows[2];
    EXPECT_TRUE(rows[3].starts_with("line 3,\"'+1 ,\"\"quoted\"\"\",1,,")) << rows[3];
    EXPECT_TRUE(rows[3].ends_with(std::string(",amount_financed,\"") + kRefusal + "\"\r")) << rows[3];
}

// Cases checked on many threads come out as from one: the same bytes, in input order, refused
// cases among them, for each input and format.
TEST(cli_batch_output, jobs_keep_the_order_and_the_bytes) {
    TempFolder folder;
    // 300 cases, the APR disclosed from 11.50 to 12.45 (the worked example's 12.0026 is within
    // 1/8 point of some), every seventh refused; the example tape (a refused row among its rows)
    // forty times over.
    nlohmann::json worked = nlohmann::json::parse(ReadFile(kExamples + "/regular-monthly.json"));
    std::string lines;
    for (int n = 1; n <= 300; ++n) {
        worked["disclosed_apr"] = std::to_string(1150 + n % 20 * 5).insert(2, ".");
        lines += (n % 7 == 0 ? std::string(R"({"amount_financed":"12a"})") : worked.dump()) + "\n";
    }
    WriteFile(folder / "cases.jsonl", lines);
    const std::string tape = ReadFile(kExamples + "/loan-tape.csv");
    const std::size_t body = tape.find('\n') + 1;
    std::string tapes = tape.substr(0, body);
    for (int n = 0; n < 40; ++n) tapes += tape.substr(body);
    WriteFile(folder / "tape.csv", tapes);
    // Standard input that pauses after a slow share of cases (threads take the cases in shares of
    // 1, 2, 4, ..., 32, then 64): ten cases of 360 streams of 30,000 payments (no finance charge
    // disclosed: the APR alone) open the 64 after the first 63; quick refused cases follow the
    // pause, and the threads done with them must wait for the slow share, not pass it.
    nlohmann::json slow = worked;
    slow["amount_financed"] = "100000.00";
    slow["disclosed_finance_charge"] = "";
    slow["schedule"] = nlohmann::json::array();
    for (int n = 0; n < 360; ++n)
        slow["schedule"].push_back(
            {{"amount", "0.01"}, {"payments", "30000"}, {"unit_periods", "1"}, {"odd_days", "0"}});
    const std::string refused = std::string(R"({"amount_financed":"12a"})") + "\n";
    std::string before, after;
    for (int n = 0; n < 63 + 64; ++n) before += n >= 63 && n < 73 ? slow.dump() + "\n" : refused;
    for (int n = 0; n < 24 * 64; ++n) after += refused;
    WriteFile(folder / "before.jsonl", before);
    WriteFile(folder / "after.jsonl", after);
    struct Row {
        std::string args;
        std::string name;  // of each case, before its number
        std::size_t cases;
        bool csv;
        std::string input = "";  // a command whose output is the standard input
    } const rows[] = {
        {"batch " + (folder / "cases.jsonl"), "line", 300, false},
        {"batch " + (folder / "tape.csv"), "row", 360, false},
        {"batch " + (folder / "tape.csv") + " --format csv", "row", 360, true},
        {"batch -", "line", 63 + 64 + 24 * 64, false,
         "{ cat " + (folder / "before.jsonl") + "; sleep 0.05; cat " + (folder / "after.jsonl") + "; } | "},
    };
    // A batch that never ends fails rather than hangs.
    const auto batch = [](const Row& row, const char* jobs, std::string& out) {
        return clitest::Run(row.input + "timeout 60 " + TALLEX_CLI + " " + row.args + jobs + " 2>/dev/null", out);
    };
    for (const Row& row : rows) {
        std::string one;
        EXPECT_EQ(batch(row, " --jobs 1", one), 1) << row.args;  // refused cases among them
        std::vector<std::string> verdicts = Lines(one);
        if (row.csv && !verdicts.empty()) verdicts.erase(verdicts.begin());  // the header
        ASSERT_EQ(verdicts.size(), row.cases) << row.args;
        for (std::size_t n = 0; n < row.cases; ++n) {
            const std::string name = row.name + " " + std::to_string(n + 1);
            EXPECT_TRUE(verdicts[n].starts_with(row.csv ? name + "," : R"({"case":")" + name + "\","))
                << row.args << ": " << verdicts[n];
        }
        for (const char* jobs : {" --jobs 2", " --jobs 7"}) {
            std::string many;
            EXPECT_EQ(batch(row, jobs, many), 1) << row.args << jobs;
            EXPECT_TRUE(many == one) << row.args << jobs;
        }
    }
}

// The XML of one cell ("B2") of a sheet, "" when it is not there.
std::string CellXml(const std::string& sheet, const std::string& ref) {
    const auto at = sheet.find("<c r=\"" + ref + "\"");
    if (at == std::string::npos) return "";
    const auto selfClosed = sheet.find("/>", at), end = sheet.find("</c>", at);
    if (selfClosed < sheet.find('>', at) + 1) return sheet.substr(at, selfClosed + 2 - at);
    return sheet.substr(at, end + 4 - at);
}

std::string Unzipped(const std::string& book, const std::string& part) {
    std::string out;
    Run("unzip -p " + book + " " + part, out);
    return out;
}

TEST(cli_batch_output, xlsx_has_loans_summary_and_refused_sheets) {
    TempFolder folder;
    const std::string cases = ThreeCases(folder);
    const std::string book = folder / "v.xlsx";
    std::string out;
    ASSERT_EQ(RunCli("batch " + cases + " --format xlsx -o " + book, out), 1);

    const std::string workbook = Unzipped(book, "xl/workbook.xml");
    const auto loansAt = workbook.find("<sheet name=\"Loans\" sheetId=\"1\"");
    ASSERT_NE(loansAt, std::string::npos) << workbook;
    EXPECT_LT(loansAt, workbook.find("<sheet name=\"Summary\" sheetId=\"2\""));
    EXPECT_LT(workbook.find("<sheet name=\"Summary\""), workbook.find("<sheet name=\"Refused\" sheetId=\"3\""));

    const std::string loans = Unzipped(book, "xl/worksheets/sheet1.xml");
    EXPECT_NE(loans.find("<pane ySplit=\"1\" topLeftCell=\"A2\" activePane=\"bottomLeft\" state=\"frozen\"/>"),
              std::string::npos);
    EXPECT_NE(loans.find("<autoFilter ref=\"A1:"), std::string::npos);
    EXPECT_NE(CellXml(loans, "A1").find("<t>case</t>"), std::string::npos) << CellXml(loans, "A1");
    EXPECT_NE(CellXml(loans, "H2").find("<v>1000</v>"), std::string::npos) << CellXml(loans, "H2");
    EXPECT_NE(CellXml(loans, "I2").find("<v>66.2</v>"), std::string::npos) << CellXml(loans, "I2");
    // The account is a string cell holding the text; no cell of any sheet is a formula.
    EXPECT_NE(CellXml(loans, "B2").find("t=\"inlineStr\"><is><t>=cmd|' /C calc'!A0</t>"), std::string::npos)
        << CellXml(loans, "B2");
    EXPECT_EQ(CellXml(loans, "A4"), "");  // the refused case is not a loan row
    // The violation row wears the highlight; the accurate one does not.
    const auto style = [](const std::string& xml) {
        const auto at = xml.find(" s=\"");
        return at == std::string::npos ? std::string() : xml.substr(at + 4, xml.find('"', at + 4) - at - 4);
    };
    EXPECT_NE(style(CellXml(loans, "A3")), style(CellXml(loans, "A2")));
    EXPECT_NE(style(CellXml(loans, "H3")), style(CellXml(loans, "H2")));
    // The highlight is red: a light red fill under dark red text.
    const std::string styles = Unzipped(book, "xl/styles.xml");
    EXPECT_NE(styles.find("<fgColor rgb=\"FFFFC7CE\"/>"), std::string::npos) << styles;
    EXPECT_NE(styles.find("<color rgb=\"FF9C0006\"/>"), std::string::npos) << styles;

    const std::string summary = Unzipped(book, "xl/worksheets/sheet2.xml");
    // The item column is 28 characters wide: 28 x 7 + 5 = 201 pixels, 201 / 7 in 256ths of a character.
    EXPECT_NE(summary.find("<col min=\"1\" max=\"1\" width=\"28.7109375\""), std::string::npos) << summary;
    // A figure's column is 14 characters wide: 14 x 7 + 5 = 103 pixels.
    EXPECT_NE(loans.find("<col min=\"8\" max=\"8\" width=\"14.7109375\""), std::string::npos) << loans;
    EXPECT_NE(CellXml(summary, "A2").find("<t>cases</t>"), std::string::npos) << summary;
    EXPECT_NE(CellXml(summary, "B2").find("<v>3</v>"), std::string::npos) << summary;
    EXPECT_NE(CellXml(summary, "B3").find("<v>2</v>"), std::string::npos) << summary;  // checked
    EXPECT_NE(CellXml(summary, "B4").find("<v>1</v>"), std::string::npos) << summary;  // failures
    EXPECT_NE(CellXml(summary, "B6").find("<v>1</v>"), std::string::npos) << summary;  // APR overstated

    const std::string refused = Unzipped(book, "xl/worksheets/sheet3.xml");
    EXPECT_NE(CellXml(refused, "A2").find("<t>line 3</t>"), std::string::npos) << refused;
    EXPECT_NE(CellXml(refused, "B2").find("<t>+1 ,\"quoted\"</t>"), std::string::npos) << refused;
    EXPECT_NE(CellXml(refused, "D2").find(std::string("<t>") + kRefusal + "</t>"), std::string::npos) << refused;
    for (const std::string* sheet : {&loans, &summary, &refused}) EXPECT_EQ(sheet->find("<f>"), std::string::npos);
    // The message column is 80 characters wide: 80 x 7 + 5 = 565 pixels.
    EXPECT_NE(refused.find("<col min=\"4\" max=\"4\" width=\"80.7109375\""), std::string::npos) << refused;
}

// A text cell holds valid UTF-8 as given, a stray byte replaced (each of an encoded surrogate's
// three too), and at most a cell's 32,767 characters (cut to end in "..."); a refused row fills
// its four columns only, though its verdict held a loan's row before (a batch reuses them); a
// full sheet goes on in the next; a workbook without its working files says so.
TEST(cli_batch_output, xlsx_cells_hold_what_a_spreadsheet_can) {
    TempFolder folder;
    const std::string book = folder / "cells.xlsx";
    auto sink = MakeXlsxSink(book, folder / "");
    casefile::CaseFile loan;
    ASSERT_FALSE(casefile::ParseCase(ReadFile(kExamples + "/regular-monthly.json"), loan));
    CaseOutcome outcome;
    ASSERT_FALSE(casefile::RunCase(loan, outcome));
    ComposedVerdict row;
    sink->Compose(outcome, "line 1", row);
    sink->Write(row);
    sink->ComposeRefused("caf\xC3\xA9", "\xC3(\xED\xA0\x80", "\xF4\x80\x80\x80", std::string(40000, 'a'), row);
    sink->Write(row);
    EXPECT_EQ(sink->Finish(BatchSummary{}), std::nullopt);
    const std::string refused = Unzipped(book, "xl/worksheets/sheet3.xml");
    EXPECT_NE(CellXml(refused, "A2").find("<t>caf\xC3\xA9</t>"), std::string::npos) << CellXml(refused, "A2");
    EXPECT_NE(CellXml(refused, "B2").find("<t>\xEF\xBF\xBD(\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD</t>"),
              std::string::npos)
        << CellXml(refused, "B2");
    EXPECT_NE(CellXml(refused, "C2").find("<t>\xF4\x80\x80\x80</t>"), std::string::npos) << CellXml(refused, "C2");
    EXPECT_NE(CellXml(refused, "D2").find("<t>" + std::string(32764, 'a') + "...</t>"), std::string::npos);
    EXPECT_EQ(CellXml(refused, "E2"), "");
    // A sheet holds 1,048,576 rows, its header one of them: the row after goes on "Refused 2",
    // under the header again.
    const std::string full = folder / "full.xlsx";
    sink = MakeXlsxSink(full, folder / "");
    sink->ComposeRefused("x", "", "", "", row);
    for (int k = 1; k < 1048576; ++k) sink->Write(row);
    sink->ComposeRefused("next", "", "", "", row);
    sink->Write(row);
    EXPECT_EQ(sink->Finish(BatchSummary{}), std::nullopt);
    EXPECT_NE(Unzipped(full, "xl/workbook.xml").find("<sheet name=\"Refused 2\""), std::string::npos);
    const std::string next = Unzipped(full, "xl/worksheets/sheet4.xml");
    EXPECT_NE(CellXml(next, "A1").find("<t>case</t>"), std::string::npos) << CellXml(next, "A1");
    EXPECT_NE(CellXml(next, "A2").find("<t>next</t>"), std::string::npos) << CellXml(next, "A2");
    // With no file descriptor left, no working file can be made.
    rlimit limit{};
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &limit), 0);
    const int lowestFree = ::dup(0);
    ::close(lowestFree);
    rlimit none = limit;
    none.rlim_cur = static_cast<rlim_t>(lowestFree);
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &none), 0);
    sink = MakeXlsxSink(folder / "lost.xlsx", folder / "");
    const std::optional<std::string> problem = sink->Finish(BatchSummary{});
    ::setrlimit(RLIMIT_NOFILE, &limit);
    EXPECT_EQ(problem, "cannot be written: no working file could be made for the spreadsheet");
}

// The progress bar is drawn only when standard error is a terminal; it is full at the end whether
// the input is measured in bytes (a case file) or in cases (a folder of one case).
TEST(cli_batch_output, progress_bar_only_on_a_terminal) {
    std::string out;
    if (clitest::Run("command -v script >/dev/null", out) != 0) GTEST_SKIP() << "no script(1) to give a terminal";
    TempFolder folder;
    fs::create_directory(folder / "one");
    fs::copy_file(kExamples + "/regular-monthly.json", folder / "one/a.json");
    const std::string bar = "[" + std::string(40, '#') + "] 100% 1 cases";
    for (const std::string& input : {kExamples + "/regular-monthly.json", folder / "one"}) {
        const std::string args = "batch " + input + " -o " + (folder / "v.jsonl");
        clitest::Run("script -qec '" + std::string(TALLEX_CLI) + " " + args + "' /dev/null", out);
        EXPECT_NE(out.find(bar), std::string::npos) << input << ": " << out;
        RunCli(args, out, Stderr::Kept);
        EXPECT_EQ(out.find("] 100%"), std::string::npos) << input << ": " << out;
    }
    // The bar is drawn every thousand cases and at the end, the full one once only.
    const std::string line = nlohmann::json::parse(ReadFile(kExamples + "/regular-monthly.json")).dump() + "\n";
    for (const int cases : {999, 1000}) {
        std::string lines;
        for (int k = 0; k < cases; ++k) lines += line;
        WriteFile(folder / "many.jsonl", lines);
        clitest::Run("script -qec '" + std::string(TALLEX_CLI) + " batch " + (folder / "many.jsonl") + " -o " +
                         (folder / "v.jsonl") + "' /dev/null",
                     out);
        const std::string full = "[" + std::string(40, '#') + "] 100% " + std::to_string(cases) + " cases";
        const auto first = out.find(full);
        EXPECT_NE(first, std::string::npos) << cases << ": " << out;
        EXPECT_EQ(out.find(full, first + 1), std::string::npos) << cases << ": " << out;
    }
}

// An error no command foresaw ends the run as bad input does: one line naming the program, exit
// 2, and no file left, not even the temporary. Here checking threads cannot start: each asks for a
// stack of a terabyte (none starts), or of 8 GB in 20 GB of address space (two start, then not).
TEST(cli_manners, an_unforeseen_error_is_one_line_and_exit_2) {
    TempFolder folder;
    for (const std::string limits : {"ulimit -s 1073741824", "ulimit -s 8388608 && ulimit -v 20971520"}) {
        const std::string cli = limits + " 2>/dev/null && " + TALLEX_CLI;
        std::string out;
        if (clitest::Run(cli + " --version", out) != 0) GTEST_SKIP() << "no process starts under " << limits;
        const std::string args = " batch " + kExamples + "/regular-monthly.json --jobs 4 -o " + (folder / "v.jsonl");
        const int code = clitest::Run(cli + args + " 2>&1", out);
        if (code == 0) GTEST_SKIP() << "every thread started under " << limits;
        EXPECT_EQ(code, 2) << limits;
        EXPECT_EQ(out, std::string("tallex-cli: ") + std::strerror(EAGAIN) + "\n") << limits;
        EXPECT_EQ(folder.files(), std::vector<std::string>{}) << limits;
    }
}

}  // namespace
}  // namespace tallex::cli
