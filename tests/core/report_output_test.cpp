// How the report is printed and saved: page breaks, fonts, failure messages, atomic saving; the
// lines the golden reports do not hold.

#include "construction/ConstChoices.h"
#include "engine/LoanRecord.h"
#include "report/AtomicFile.h"
#include "report/OutputPlan.h"
#include "report/ReportText.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace {
// Set, the next write() of this program fails with EINTR before writing anything, as a write to a
// file system a signal can interrupt does; the others go straight to the system.
std::atomic<bool> gInterruptNextWrite{false};
// Set, the next close() releases the file but reports EIO, as a network file system does when
// the data it deferred cannot be stored.
std::atomic<bool> gFailNextClose{false};
}  // namespace

extern "C" ssize_t write(int fd, const void* data, size_t size) {
    if (gInterruptNextWrite.exchange(false)) {
        errno = EINTR;
        return -1;
    }
    return ::syscall(SYS_write, fd, data, size);
}

extern "C" int close(int fd) {
    const long closed = ::syscall(SYS_close, fd);
    if (!gFailNextClose.exchange(false)) return static_cast<int>(closed);
    errno = EIO;
    return -1;
}

namespace tallex {
namespace {

const std::string kRule = "  " + std::string(85, '_');

// The lines that only some loans print and the golden reports do not hold, each as the report
// rules word it: the payment frequency of the other codes (a construction loan's uses the same
// wording), the answer that the finance charge error caused the APR error, a construction loan's
// other accrual systems, and figures of less than a dollar that still count as a finance charge
// or a payment. A regular loan when `appendixJ`.
TEST(report_lines, wording_of_each_case) {
    const std::string p(6, ' ');  // every line's margin
    const auto freq = [](std::int16_t code) { return [code](LoanRecord& r) { r.giPymtFreq = code; }; };
    const auto accrual = [](std::int16_t code) { return [code](LoanRecord& r) { r.giAccrualMethod = code; }; };
    struct Row {
        bool appendixJ;
        std::function<void(LoanRecord&)> set;
        std::string line;
    } const rows[] = {
        {true, freq(2), p + "Payment Frequency:         Multiples of a Month (Installment Loan)"},
        {true, freq(3), p + "Payment Frequency:         Semi-Monthly (Installment Loan)"},
        {true, freq(4), p + "Payment Frequency:         Actual Days (Installment Loan)"},
        {true, freq(5), p + "Payment Frequency:         Equal Months (Single Payment Loan)"},
        {true, freq(6), p + "Payment Frequency:         Actual Days (Single Payment Loan)"},
        {true, freq(9), p + "Payment Frequency:         Other"},
        // Code 9 lists the lump sums the reimbursement page showed.
        {true,
         [](LoanRecord& r) {
             r.giPymtFreq = 9;
             r.gbAPRUnderViol = r.gbLumpSumsShown = true;
             r.gdAPRAdjFinal = -5;
         },
         p + "Lump Sum Method:" + std::string(21 + 13, ' ') + "$0.00"},
        // An APR adjustment of exactly a dollar reimburses nothing: the report's one rule is its title's.
        {true,
         [](LoanRecord& r) {
             r.gbAPRUnderViol = true;
             r.gdAPRAdjFinal = -1;
         },
         kRule},
        // A construction loan's reimbursement title has a shorter rule.
        {false, [](LoanRecord& r) { r.gdAPRAdjFinal = -5; }, "  " + std::string(78, '_')},
        {true, [](LoanRecord& r) { r.giAPRUnderByFC = kAnswerYes; },
         p + "APR Error Caused by Finance Charge Error:         Yes"},
        {true, [](LoanRecord& r) { r.giAPROverByFC = kAnswerYes; },
         p + "APR Error Caused by Finance Charge Error:         Yes"},
        {true, [](LoanRecord& r) { r.gbSecuredByRealEstate = r.gbDatePre_093095 = true; },
         p + "Loan Date Earlier than 9/30/95:                   Yes"},
        {false, accrual(2), p + "  Accrual System:               Whole Months (360/360) - Compounded Interest"},
        {false, accrual(3), p + "  Accrual System:               Actual Days (365/365)"},
        {false, accrual(4), p + "  Accrual System:               Actual Days (365/365) - Compounded Interest"},
        {false, accrual(6), p + "  Accrual System:               Actual Days (365/360) - Compounded Interest"},
        {false, accrual(7), p + "  Accrual System:               Other"},
        {false, accrual(7), p + "Number of Months in "},  // "other" measured in months
        {false,
         [](LoanRecord& r) {
             r.giAccrualMethod = 7;
             r.construction.optOther = 1;
         },
         p + "Number of Days in "},
        // Actual days: the odd days after the unit periods.
        {false,
         [](LoanRecord& r) {
             r.giAccrualMethod = 3;
             r.gdOddDays = 12;
         },
         p + "Number of Odd Days:" + std::string(31, ' ') + "      12"},
        // Disclosed with the permanent phase in equal months: the unit periods of both phases.
        {false,
         [](LoanRecord& r) {
             r.construction.optDiscType = 1;
             r.giPymtFreq = kFreqEqualMonthsSingle;
             r.dUnitPeriods = 7;
         },
         p + "Number of Unit Periods:" + std::string(27, ' ') + "       7"},
        {false, [](LoanRecord& r) { r.dMonths = 18; },
         p + "One payment of principal of $0.00 and interest due monthly"},
        // Interest on the whole commitment over a month or less: one payment.
        {false,
         [](LoanRecord& r) {
             r.construction.optInterestType = kInterestOnCommitment;
             r.gdConstDisclPymt = 105000;
         },
         p + "The final payment is $105,000.00"},
        {false, [](LoanRecord& r) { r.giAPROverByFC = kAnswerYes; },
         p + "APR Error Caused by Finance Charge Error:              Yes"},
        {false, [](LoanRecord&) {}, p + "Loan Secured by Real Estate or Dwelling:               No"},
        {false, [](LoanRecord& r) { r.dFnceChg = 0.5; }, p + "FINANCE CHARGE:" + std::string(38, ' ') + "$0.50"},
        // A reimbursement row of blank cells whose adjusted payment is 50 cents: a payment, not an advance.
        {true,
         [](LoanRecord& r) {
             r.gbAPRUnderViol = true;
             r.gdAPRAdjFinal = -5;
             r.giGridRowCount = 1;
             r.gaPymtDbl[1] = 0.5;
         },
         p + std::string(38, ' ') + "$0.50" + std::string(30, ' ')},
        {false,
         [](LoanRecord& r) {
             r.gbFCOverViol = true;
             r.dFinanceChgDiff = -12.5;
         },
         p + "** VIOLATION **  Finance Charge is overstated by:     " + std::string(17, ' ') + "$12.50"},
        // With its permanent financing a construction loan lists every row of the schedule.
        {false,
         [](LoanRecord& r) {
             r.giGridRowCount = 2;
             std::tie(r.gaPymtCol0[2], r.gaPymtAmt[2], r.gaNumPymts[2], r.gaUnitPeriods[2], r.gaOddDays[2]) =
                 std::tuple("2", "250", "12", "1", "0");
         },
         p + "    2" + std::string(15, ' ') + "$250.00" + std::string(10, ' ') + "12" + std::string(11, ' ') + "1" +
             std::string(10, ' ') + "0"},
        // Code 4 lists the lump sums too.
        {true,
         [](LoanRecord& r) {
             r.giPymtFreq = 4;
             r.gbAPRUnderViol = r.gbLumpSumsShown = true;
             r.gdAPRAdjFinal = -5;
         },
         p + "Lump Sum Method:" + std::string(21 + 13, ' ') + "$0.00"},
    };
    for (const Row& row : rows) {
        LoanRecord r;
        r.gbAppendixJ = row.appendixJ;
        r.gbConstruction = !row.appendixJ;
        row.set(r);
        const std::vector<std::string> lines = WriteReport(r, {}, "");
        EXPECT_EQ(std::count(lines.begin(), lines.end(), row.line), 1) << row.line;
    }
}

// A single payment loan states its term among the disclosures: the caption in a column of 30,
// the figure right-aligned in the 23 after it, as every line of that block.
TEST(report_lines, the_term_of_a_single_payment_loan) {
    struct Row {
        std::int16_t frequency;
        std::string caption, figure, other;
    } const rows[] = {
        {kFreqActualDaysSingle, "Days in Unit Period:", "180", "Months in Payment Period:"},
        {kFreqEqualMonthsSingle, "Months in Payment Period:", "18", "Days in Unit Period:"},
    };
    for (const Row& row : rows) {
        LoanRecord r;
        r.gbAppendixJ = true;
        r.giPymtFreq = row.frequency;
        r.gdDaysinUnitPd = 180;
        r.dMonths = 18;
        const std::vector<std::string> lines = WriteReport(r, {}, "");
        const std::string expected = std::string(6, ' ') + row.caption + std::string(30 - row.caption.size(), ' ') +
                                     std::string(23 - row.figure.size(), ' ') + row.figure;
        EXPECT_EQ(std::count(lines.begin(), lines.end(), expected), 1) << expected;
        EXPECT_TRUE(std::none_of(lines.begin(), lines.end(), [&](const std::string& l) {
            return l.find(row.other) != std::string::npos;
        })) << row.other;
    }
}

TEST(report_plan, only_the_second_and_later_rules_start_a_page) {
    const std::vector<std::string> lines = {
        " Sensitive Information",
        "                   TALLEX - Version 6.2.0",
        "",
        "                     APR Disclosure Documentation ",
        kRule,
        "",
        "    Loan Information - Original Input",
        "      Amount Financed:   $1.00",
        "       ",
        kRule,
        "      a line with 51 " + std::string(51, '_'),
        "  " + std::string(78, '_'),
        "    DISCLOSURE INFORMATION - OUTPUT  ",
    };
    const auto plan = PlanPrintedReport(lines);
    ASSERT_EQ(plan.size(), lines.size());
    std::vector<std::size_t> breaks;
    for (std::size_t i = 0; i < plan.size(); ++i)
        if (plan[i].newPageBefore) breaks.push_back(i);
    EXPECT_EQ(breaks, (std::vector<std::size_t>{9, 11}));

    struct Row {
        std::size_t line;
        int size;
        bool emphasis;
    };
    for (const Row& row : {Row{0, 8, true}, Row{1, 16, true}, Row{2, 11, false}, Row{3, 14, true}, Row{6, 13, true},
                           Row{7, 11, false}, Row{12, 13, true}}) {
        EXPECT_EQ(plan[row.line].pointSize, row.size) << "line " << row.line << ": " << lines[row.line];
        EXPECT_EQ(plan[row.line].headingEmphasis, row.emphasis) << "line " << row.line;
        EXPECT_EQ(plan[row.line].text, lines[row.line]);
    }
}

TEST(report_font, the_first_courier_family_wins_else_the_fallback) {
    EXPECT_EQ(ChooseReportFont({"DejaVu Sans", "courier 10 pitch", "Courier New"}, "Mono"), "courier 10 pitch");
    EXPECT_EQ(ChooseReportFont({"Liberation Mono", "Times"}, "Liberation Mono"), "Liberation Mono");
    EXPECT_EQ(ChooseReportFont({"My Courier"}, "Mono"), "Mono");
    EXPECT_EQ(ChooseReportFont({}, "Mono"), "Mono");
}

TEST(report_failure, messages_name_the_path_that_failed) {
    EXPECT_EQ(ReportFailureMessage(true, 61, "Disk full"), "Unable to print report to file.  Error # 61 - Disk full");
    EXPECT_EQ(ReportFailureMessage(false, 482, "Printer error"),
              "Unable to print report.  Error # 482 - Printer error");
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<std::string> FolderEntries(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* d = ::opendir(folder.c_str())) {
        while (const dirent* e = ::readdir(d))
            if (std::string(e->d_name) != "." && std::string(e->d_name) != "..") names.push_back(e->d_name);
        ::closedir(d);
    }
    return names;
}

class atomic_file : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/tallex-atomic-XXXXXX";
        ASSERT_NE(::mkdtemp(tmpl), nullptr);
        folder_ = tmpl;
    }
    void TearDown() override {
        for (const std::string& name : FolderEntries(folder_)) ::unlink((folder_ + "/" + name).c_str());
        ::rmdir(folder_.c_str());
    }
    std::string folder_;
};

TEST_F(atomic_file, replaces_the_whole_file) {
    const std::string path = folder_ + "/report.txt";
    ASSERT_FALSE(WriteFileAtomically(path, "old\r\n"));
    gInterruptNextWrite = true;  // a signal interrupts the write once: it is tried again
    ASSERT_FALSE(WriteFileAtomically(path, "new text\r\n"));
    EXPECT_FALSE(gInterruptNextWrite);
    EXPECT_EQ(ReadFile(path), "new text\r\n");
    EXPECT_EQ(FolderEntries(folder_), std::vector<std::string>{"report.txt"});

    // A close that fails is a failed save: the old text stays and no temporary is left behind.
    gFailNextClose = true;
    const auto unclosed = WriteFileAtomically(path, "lost\r\n");
    EXPECT_FALSE(gFailNextClose);
    ASSERT_TRUE(unclosed);
    EXPECT_EQ(unclosed->number, 57);
    EXPECT_EQ(ReadFile(path), "new text\r\n");
    EXPECT_EQ(FolderEntries(folder_), std::vector<std::string>{"report.txt"});
    // Nor does a rename that fails: a folder stands where the file should go.
    const std::string taken = folder_ + "/taken";
    ASSERT_EQ(::mkdir(taken.c_str(), 0700), 0);
    const auto unrenamed = WriteFileAtomically(taken, "lost\r\n");
    EXPECT_TRUE(unrenamed);
    std::vector<std::string> left = FolderEntries(folder_);
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"report.txt", "taken"}));
    ASSERT_EQ(::rmdir(taken.c_str()), 0);

    // A bare name is a file of the current folder.
    char here[4096];
    ASSERT_NE(::getcwd(here, sizeof here), nullptr);
    ASSERT_EQ(::chdir(folder_.c_str()), 0);
    const auto bare = WriteFileAtomically("bare.txt", "bare\r\n");
    ASSERT_EQ(::chdir(here), 0);
    EXPECT_FALSE(bare);
    EXPECT_EQ(ReadFile(folder_ + "/bare.txt"), "bare\r\n");
}

// A new file gets what an ordinary new file gets (0666 less the umask), a replaced one keeps its
// own permissions.
TEST_F(atomic_file, permissions_of_a_new_and_a_replaced_file) {
    const std::string path = folder_ + "/report.txt";
    const mode_t mask = ::umask(021);
    const auto written = WriteFileAtomically(path, "new\r\n");
    ::umask(mask);
    ASSERT_FALSE(written);
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0646u);
    ASSERT_EQ(::chmod(path.c_str(), 0604), 0);
    ASSERT_FALSE(WriteFileAtomically(path, "again\r\n"));
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0604u);
}

TEST_F(atomic_file, a_missing_folder_is_path_not_found) {
    // A file standing where the folder should be is no folder either.
    ASSERT_FALSE(WriteFileAtomically(folder_ + "/plain", "x"));
    for (const std::string& path : {folder_ + "/no/such/report.txt", folder_ + "/plain/report.txt"}) {
        const auto error = WriteFileAtomically(path, "x");
        ASSERT_TRUE(error) << path;
        EXPECT_EQ(std::tie(error->number, error->description), std::tuple(76, "Path not found")) << path;
    }
}

}  // namespace
}  // namespace tallex
