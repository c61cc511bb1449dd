// Loan tapes read as CSV: each row is the case the equivalent case file holds, refused with the
// key and message the case file reader gives; what is not CSV, a header naming no case key and
// cells beyond the size limits are refused with the row or column named, and the rows after a
// refused one are still read.

#include "CaseFile.h"
#include "CaseReplay.h"
#include "LoanTape.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace tallex::casefile {
namespace {

struct Tape {
    std::optional<CaseError> header;
    std::vector<TapeRow> rows;
    std::vector<std::uint64_t> bytesAfter;  // BytesRead after each row
};

Tape ReadTape(const std::string& text) {
    std::istringstream in(text);
    LoanTapeReader reader(in);
    Tape tape;
    if ((tape.header = reader.ReadHeader())) return tape;
    TapeRow row;
    while (reader.Next(row)) {
        tape.rows.push_back(row);
        tape.bytesAfter.push_back(reader.BytesRead());
    }
    EXPECT_EQ(reader.BytesRead(), text.size()) << "the whole tape is read";
    return tape;
}

std::string CaseJson(const std::string& json) {
    CaseFile c;
    const auto error = ParseCase(json, c);
    EXPECT_FALSE(error) << json << ": " << (error ? error->key + ": " + error->message : "");
    return CaseToJson(c);
}

std::string ErrorText(const std::optional<CaseError>& error) {
    return error ? error->key + ": " + error->message : "(none)";
}

// A row of the columns given, empty but for its account.
std::string EmptyRow(const std::string& account, const std::string& columns) {
    return account + std::string(static_cast<std::size_t>(std::count(columns.begin(), columns.end(), ',')), ',');
}

TEST(loan_tape, a_row_is_the_case_its_case_file_holds) {
    struct Expected {
        long number;
        long line;
        std::string identity;
        std::string json;  // the equivalent case file
    };
    struct Row {
        const char* what;
        std::string tape;
        std::vector<Expected> rows;
    };
    const Row rows[] = {
        {"quoted cells: a comma, doubled quotes, a line break and a letter beyond ASCII inside; LF line ends",
         "account,borrower,amount_financed,disclosed_apr,schedule.1.amount,schedule.1.payments\n"
         "\"100-1\",\"Do\xC3\xAB, \"\"Jack\"\"\nJr.\",1000.00,12.00,88.85,12\n"
         "100-2,\"\",\"1,000\",,,\n",
         {{1, 2, "100-1",
           R"({"account":"100-1","borrower":"Do\u00eb, \"Jack\"\nJr.","amount_financed":"1000.00","disclosed_apr":"12.00",)"
           R"("schedule":[{"amount":"88.85","payments":"12"}]})"},
          {2, 4, "100-2", R"({"account":"100-2","amount_financed":"1,000"})"}}},
        {"a byte-order mark, CR LF line ends, booleans in any letter case, empty cells not given",
         "\xEF\xBB\xBF"
         "account,secured_by_real_estate,loan_date_before_1995_09_30,disclosed_finance_charge,"
         "answers.apr_understatement_caused_by_fc,answers.apr_overstatement_caused_by_fc\r\n"
         "A1,TRUE,False,,true,\r\n"
         "A2,,,66.20,,fALSE\r\n",
         {{1, 2, "A1",
           R"({"account":"A1","secured_by_real_estate":true,"loan_date_before_1995_09_30":false,)"
           R"("answers":{"apr_understatement_caused_by_fc":true}})"},
          {2, 3, "A2",
           R"({"account":"A2","disclosed_finance_charge":"66.20","answers":{"apr_overstatement_caused_by_fc":false}})"}}},
        {"several streams up to the first empty one, dates instead of periods, a single payment's frequency and "
         "its default; lone CR line ends; no account column",
         "amount_financed,loan_type,frequency,unit_period,schedule.1.amount,schedule.1.payments,"
         "schedule.1.unit_periods,schedule.1.odd_days,schedule.2.amount,schedule.2.payments,schedule.2.loan_date,"
         "schedule.2.first_payment_date,schedule.3.amount,schedule.3.payments\r"
         "5000,installment,semi_monthly,,-1000,1,2,0,200,35,01-15-2026,03-01-2026,205,1\r"
         "2500,single,actual_days,180,2624,1,,,,,,,,\r"
         "2000,single,,6,2100,1,,,,,,,,\r",
         {{1, 2, "row 1",
           R"({"amount_financed":"5000","loan_type":"installment","frequency":"semi_monthly","schedule":[)"
           R"({"amount":"-1000","payments":"1","unit_periods":"2","odd_days":"0"},)"
           R"({"amount":"200","payments":"35","loan_date":"01-15-2026","first_payment_date":"03-01-2026"},)"
           R"({"amount":"205","payments":"1"}]})"},
          {2, 3, "row 2",
           R"({"amount_financed":"2500","loan_type":"single","frequency":"actual_days","unit_period":"180",)"
           R"("schedule":[{"amount":"2624","payments":"1"}]})"},
          {3, 4, "row 3",
           R"({"amount_financed":"2000","loan_type":"single","unit_period":"6",)"
           R"("schedule":[{"amount":"2100","payments":"1"}]})"}}},
        {"construction terms and reimbursement",
         "kind,disclosed_apr,construction.commitment,construction.simple_rate,construction.disclosure,"
         "construction.interest_on,construction.accrual,construction.interest_reserve,construction.time_period,"
         "construction.estimated_interest,reimbursement.tolerance,reimbursement.prior_payments\n"
         "construction,10.50,100000.00,10,with_permanent,commitment,other,TRUE,18,4500.00,.125,3\n",
         {{1, 2, "row 1",
           R"({"kind":"construction","disclosed_apr":"10.50","construction":{"commitment":"100000.00",)"
           R"("simple_rate":"10","disclosure":"with_permanent","interest_on":"commitment","accrual":"other",)"
           R"("interest_reserve":true,"time_period":"18","estimated_interest":"4500.00"},)"
           R"("reimbursement":{"tolerance":"0.125","prior_payments":3}})"}}},
        {"blank lines and rows of empty cells give no case but keep their numbers; no line end at the end",
         "account,amount_financed\n"
         "\n"
         "B1,100\n"
         ",\n"
         "\"\",\"\"\n"
         "B2,200",
         {{2, 3, "B1", R"({"account":"B1","amount_financed":"100"})"},
          {5, 6, "B2", R"({"account":"B2","amount_financed":"200"})"}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const Tape tape = ReadTape(row.tape);
        ASSERT_FALSE(tape.header) << ErrorText(tape.header);
        ASSERT_EQ(tape.rows.size(), row.rows.size());
        for (std::size_t i = 0; i < row.rows.size(); ++i) {
            const TapeRow& got = tape.rows[i];
            const Expected& want = row.rows[i];
            EXPECT_EQ(got.number, want.number);
            EXPECT_EQ(got.line, want.line) << "row " << want.number;
            EXPECT_EQ(got.identity, want.identity);
            ASSERT_FALSE(got.error) << "row " << want.number << ": " << ErrorText(got.error);
            EXPECT_EQ(CaseToJson(got.caseFile), CaseJson(want.json)) << "row " << want.number;
        }
    }
}

// A header of `n` columns "account".
std::string Columns(std::size_t n) {
    std::string header = "account";
    for (std::size_t k = 1; k < n; ++k) header += ",account";
    return header + "\n";
}

// A tape whose columns cannot all be read into a case is refused before its first row.
TEST(loan_tape, a_header_naming_no_case_key_refuses_the_tape) {
    struct Row {
        std::string tape;
        std::string key;
        const char* message;
    };
    const Row rows[] = {
        {"account,amont_financed\n", "amont_financed", "unknown column (column 2); did you mean \"amount_financed\"?"},
        {"Amount Financed\n", "Amount Financed", "unknown column (column 1); did you mean \"amount_financed\"?"},
        {"schedule.1.amount,schedule.2.amonut\n", "schedule.2.amonut",
         "unknown column (column 2); did you mean \"schedule.2.amount\"?"},
        {"schedule[1].amount\n", "schedule[1].amount",
         "unknown column (column 1); did you mean \"schedule.1.amount\"?"},
        {"schedule.0.amount\n", "schedule.0.amount", "unknown column (column 1); did you mean \"schedule.1.amount\"?"},
        {"construction.rate\n", "construction.rate", "unknown column (column 1)"},
        {"account;amount_financed\n", "account;amount_financed",
         "unknown column (column 1) (the columns of a tape are separated by commas)"},
        {"account,kind,account\n", "account", "duplicate column (columns 1 and 3)"},
        {"schedule.1.amount,schedule.3.amount\n", "schedule.3.amount",
         "stream 2 has no columns (streams are numbered from 1 without gaps)"},
        // A long name is cut at a character's start.
        {std::string(79, 'x') + "\xC3\xA9z\n", std::string(79, 'x') + "...", "unknown column (column 1)"},
        {"schedule.361.amount\n", "schedule.361.amount", "the schedule holds at most 360 streams (column 1)"},
        {"account,,kind\n", "(header)", "column 2 has no name"},
        {"account,\xE9\n", "(header)", "column 2: the name is not UTF-8 text"},
        {"acc\"ount\n", "(header)",
         "the header, column 1: a quote in a cell that does not start with one (a cell holding quotes is written in "
         "quotes, each quote doubled)"},
        {"\naccount\n", "(header)", "the first line is empty: it names the columns"},
        {Columns(4096), "account", "duplicate column (columns 1 and 2)"},  // as many columns as a header may have
        {Columns(4097), "(header)", "the header names 4097 columns, more than a case has keys"},
        {"", "(tape)", "the tape is empty: its first line names the columns"},
        {"\xEF\xBB\xBF", "(tape)", "the tape is empty: its first line names the columns"},
        {std::string("\xFF\xFE"
                     "a\0c\0",
                     6),
         "(tape)", "the tape is UTF-16 text; save it as CSV in UTF-8"},
        {"answers.apr_understatement_caused_by_f\n", "answers.apr_understatement_caused_by_f",
         "unknown column (column 1); did you mean \"answers.apr_understatement_caused_by_fc\"?"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.tape);
        std::istringstream in(row.tape);
        LoanTapeReader reader(in);
        const auto error = reader.ReadHeader();
        ASSERT_TRUE(error);
        EXPECT_EQ(error->key, row.key);
        EXPECT_EQ(error->message, row.message);
        TapeRow next;
        EXPECT_FALSE(reader.Next(next)) << "no row of a refused tape is read";
    }
}

// A cell's value is refused as the same value in a case file is: the same key and message. The
// row after it is still read.
TEST(loan_tape, a_row_is_refused_as_its_case_file_is) {
    struct Row {
        const char* columns;
        const char* cells;
        const char* json;  // the same values in a case file
        const char* key;
    };
    const Row rows[] = {
        {"kind", "lease", R"({"kind":"lease"})", "kind"},
        {"frequency", "weekly", R"({"frequency":"weekly"})", "frequency"},
        {"loan_type,frequency", "single,monthly", R"({"loan_type":"single","frequency":"monthly"})", "frequency"},
        {"construction.disclosure,kind", "Separately,construction",
         R"({"construction":{"disclosure":"Separately"},"kind":"construction"})", "construction.disclosure"},
        {"secured_by_real_estate", "yes", R"({"secured_by_real_estate":"yes"})", "secured_by_real_estate"},
        {"loan_date_before_1995_09_30", "nope", R"({"loan_date_before_1995_09_30":"nope"})",
         "loan_date_before_1995_09_30"},  // as long as "true", not it
        {"answers.apr_understatement_caused_by_fc", "1", R"({"answers":{"apr_understatement_caused_by_fc":1}})",
         "answers.apr_understatement_caused_by_fc"},
        {"reimbursement.prior_payments", "-1", R"({"reimbursement":{"prior_payments":-1}})",
         "reimbursement.prior_payments"},
        {"reimbursement.prior_payments", "1.5", R"({"reimbursement":{"prior_payments":1.5}})",
         "reimbursement.prior_payments"},
        {"reimbursement.prior_payments", "32768", R"({"reimbursement":{"prior_payments":32768}})",
         "reimbursement.prior_payments"},
        {"reimbursement.tolerance", "0.5", R"({"reimbursement":{"tolerance":"0.5"}})", "reimbursement.tolerance"},
        {"schedule.1.amount,schedule.1.unit_periods,schedule.1.loan_date,schedule.1.first_payment_date",
         "1,1,01-01-2026,02-01-2026",
         R"({"schedule":[{"amount":"1","unit_periods":"1","loan_date":"01-01-2026","first_payment_date":"02-01-2026"}]})",
         "schedule[1]"},
        {"schedule.1.amount,schedule.2.amount,schedule.2.loan_date", "1,2,01-01-2026",
         R"({"schedule":[{"amount":"1"},{"amount":"2","loan_date":"01-01-2026"}]})", "schedule[2]"},
        {"kind,construction.accrual", "construction,other",
         R"({"kind":"construction","construction":{"accrual":"other"}})", "construction.estimated_interest"},
        {"kind", "construction", R"({"kind":"construction"})", "construction"},
        {"construction.commitment", "100", R"({"construction":{"commitment":"100"}})", "construction"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.columns + std::string(" / ") + row.cells);
        CaseFile c;
        const auto expected = ParseCase(row.json, c);
        ASSERT_TRUE(expected) << "the case file is refused too";
        EXPECT_EQ(expected->key, row.key);
        // The refused row, then a row of the same columns left empty but for the account.
        const std::string columns = std::string("account,") + row.columns;
        const Tape tape = ReadTape(columns + "\nR1," + row.cells + "\n" + EmptyRow("G2", columns) + "\n");
        ASSERT_FALSE(tape.header) << ErrorText(tape.header);
        ASSERT_EQ(tape.rows.size(), 2u);
        EXPECT_EQ(tape.rows[0].identity, "R1");
        ASSERT_TRUE(tape.rows[0].error);
        EXPECT_EQ(tape.rows[0].error->key, expected->key);
        EXPECT_EQ(tape.rows[0].error->message, expected->message);
        EXPECT_EQ(tape.rows[1].identity, "G2");
        EXPECT_FALSE(tape.rows[1].error) << ErrorText(tape.rows[1].error);
    }
}

// What a case file cannot hold: CSV that does not read, a cell that is not UTF-8, a row of the
// wrong width, a stream after an empty one. The row is named, the next row still read.
TEST(loan_tape, a_row_that_is_no_case_is_refused_and_passed) {
    struct Row {
        const char* columns;
        std::string row;
        const char* key;
        const char* message;
    };
    const char* kThree = "account,borrower,amount_financed";
    const Row rows[] = {
        {kThree, "A,Jo \"Jack\" Doe,1", "(row)",
         "row 1, column 2 (borrower): a quote in a cell that does not start with one (a cell holding quotes is "
         "written in quotes, each quote doubled)"},
        {kThree, "A,\"Jo\" Doe,1", "(row)",
         "row 1, column 2 (borrower): text after the closing quote of a quoted cell"},
        {kThree, "A,Jo,1,", "(row)", "row 1 has 4 cells; the header names 3 columns"},
        {kThree, "A,Jo", "(row)", "row 1 has 2 cells; the header names 3 columns"},
        {kThree, "A,Jos\xE9,1", "borrower", "is not UTF-8 text (save the tape as CSV in UTF-8)"},
        {kThree, ",\xE9,", "borrower", "is not UTF-8 text (save the tape as CSV in UTF-8)"},  // no ASCII in a cell
        {"account,schedule.1.payments,schedule.2.amount", "A,,5", "schedule[2]",
         "follows stream 1, which is empty: a row's schedule ends at its first empty stream"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.row);
        const std::string columns = row.columns;
        const Tape tape = ReadTape(columns + "\n" + row.row + "\n" + EmptyRow("B", columns) + "\n");
        ASSERT_FALSE(tape.header) << ErrorText(tape.header);
        ASSERT_EQ(tape.rows.size(), 2u);
        ASSERT_TRUE(tape.rows[0].error);
        EXPECT_EQ(tape.rows[0].error->key, row.key);
        EXPECT_EQ(tape.rows[0].error->message, row.message);
        EXPECT_EQ(tape.rows[1].number, 2);
        EXPECT_EQ(tape.rows[1].identity, "B");
        EXPECT_FALSE(tape.rows[1].error) << ErrorText(tape.rows[1].error);
    }
    // A quote left open takes the rest of the tape into its cell.
    const Tape open = ReadTape("account,borrower\nA,\"Jo\nB,Bo\n");
    ASSERT_EQ(open.rows.size(), 1u);
    ASSERT_TRUE(open.rows[0].error);
    EXPECT_EQ(open.rows[0].error->message,
              "row 1, column 2 (borrower): a quoted cell is not closed before the end of the tape");
}

// A cell or a row may hold up to 10 MB; one byte more is refused, the rest of it passed over and
// the next row read.
TEST(loan_tape, a_cell_or_row_beyond_10_mb_is_refused) {
    constexpr std::size_t kLimit = 10 * 1024 * 1024;
    struct Row {
        const char* what;
        std::string columns;
        std::string row;
        const char* message;  // "" when the row is read
    };
    const Row rows[] = {
        {"a cell of 10 MB", "account", std::string(kLimit, 'a'), ""},
        {"a cell of 10 MB and a byte", "account", std::string(kLimit + 1, 'a'),
         "row 1, column 1 (account): the cell is longer than 10 MB (10485760 bytes)"},
        {"a quoted cell of 10 MB and a byte, quotes counted", "account", "\"" + std::string(kLimit - 1, 'a') + "\"",
         "row 1, column 1 (account): the cell is longer than 10 MB (10485760 bytes)"},
        {"a row of 10 MB", "account,borrower", std::string(kLimit / 2, 'a') + "," + std::string(kLimit / 2 - 1, 'b'),
         ""},
        {"a row of 10 MB and a byte", "account,borrower",
         std::string(kLimit / 2, 'a') + "," + std::string(kLimit / 2, 'b'),
         "row 1 is longer than 10 MB (10485760 bytes)"},
        {"a row of 10 MB and a byte in line breaks", "account,borrower", "a,\"" + std::string(kLimit - 3, '\n') + "\"",
         "row 1 is longer than 10 MB (10485760 bytes)"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const Tape tape = ReadTape(row.columns + "\r\n" + row.row + "\r\n" + EmptyRow("next", row.columns) + "\r\n");
        ASSERT_FALSE(tape.header) << ErrorText(tape.header);
        ASSERT_EQ(tape.rows.size(), 2u);
        if (*row.message) {
            ASSERT_TRUE(tape.rows[0].error);
            EXPECT_EQ(tape.rows[0].error->key, "(row)");
            EXPECT_EQ(tape.rows[0].error->message, row.message);
            EXPECT_EQ(tape.rows[0].identity, "row 1");
        } else {
            EXPECT_FALSE(tape.rows[0].error) << ErrorText(tape.rows[0].error);
            EXPECT_EQ(tape.rows[0].caseFile.account.size(), kLimit - (row.columns == "account" ? 0 : kLimit / 2));
        }
        EXPECT_EQ(tape.rows[1].identity, "next");
        EXPECT_FALSE(tape.rows[1].error) << ErrorText(tape.rows[1].error);
    }
}

// The tape is read in pieces: a CR LF, a doubled quote or a quoted line break split between two
// of them reads as it does in one. Shifting every row of a tape of many pieces a byte at a time
// puts each byte of a row on a piece's edge once, whatever the pieces' size.
TEST(loan_tape, rows_read_the_same_wherever_the_pieces_of_the_tape_end) {
    const std::string header = "account,borrower,amount_financed\r\n";
    const std::string row = "A,\"say \"\"hi\"\"\r\n\",100\r\n";
    for (std::size_t shift = 0; shift < row.size(); ++shift) {
        SCOPED_TRACE("shift " + std::to_string(shift));
        std::string tape = header + std::string(shift, ',') + "\r\n";  // a blank row, of `shift` + 1 cells
        const std::size_t rowCount = 200 * 1024 / row.size();
        for (std::size_t n = 0; n < rowCount; ++n) tape += row;
        const Tape read = ReadTape(tape);
        ASSERT_FALSE(read.header) << ErrorText(read.header);
        ASSERT_EQ(read.rows.size(), rowCount);
        for (std::size_t n = 0; n < rowCount; ++n) {
            const TapeRow& r = read.rows[n];
            ASSERT_FALSE(r.error) << "row " << r.number << ": " << ErrorText(r.error);
            ASSERT_EQ(r.number, static_cast<long>(n + 2));
            ASSERT_EQ(r.line, static_cast<long>(3 + 2 * n)) << "row " << r.number;
            ASSERT_EQ(r.caseFile.borrower, "say \"hi\"\r\n") << "row " << r.number;
            ASSERT_EQ(r.caseFile.amountFinanced, "100") << "row " << r.number;
            ASSERT_EQ(read.bytesAfter[n], header.size() + shift + 2 + (n + 1) * row.size()) << "row " << r.number;
        }
    }
}

// The example tape of the documentation: its nine rows run but the one shown refused.
TEST(loan_tape, the_example_tape_runs_but_its_refused_row) {
    std::ifstream in(std::string(TALLEX_EXAMPLES) + "/loan-tape.csv", std::ios::binary);
    ASSERT_TRUE(in);
    LoanTapeReader reader(in);
    ASSERT_FALSE(reader.ReadHeader());
    TapeRow row;
    int rows = 0;
    std::vector<std::string> refused;
    while (reader.Next(row)) {
        ++rows;
        CaseOutcome outcome;
        if (const auto error = row.error ? row.error : RunCase(row.caseFile, outcome))
            refused.push_back(row.identity + " " + ErrorText(error));
    }
    EXPECT_EQ(rows, 9);
    ASSERT_EQ(refused.size(), 1u);
    EXPECT_TRUE(refused[0].starts_with("100-3009 frequency: ")) << refused[0];
}

}  // namespace
}  // namespace tallex::casefile
