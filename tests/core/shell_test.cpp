// The settings file, the common page rules and the basic information page's rules.

#include "engine/LoanRecord.h"
#include "shell/BasicInfo.h"
#include "shell/CommonScreen.h"
#include "shell/IniFile.h"
#include "shell/StartupSettings.h"
#include "shell/StartupTexts.h"
#include "ui/ScriptedUser.h"

#include "TestLoans.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>

namespace tallex {
namespace {

TEST(ini_file, reads_names_without_regard_to_case_and_falls_back_to_the_default) {
    const IniFile ini = IniFile::Parse(
        "; remembered entries\r\n[tallex]\r\nusername = Pat Examiner \r\nLenderName=\r\nType=\"Construction\"\r\n"
        "FormMaximized=''\r\n[Options]\r\nStartup Intro=No\r\n");
    struct Row {
        const char *section, *key, *fallback, *expected;
    };
    const Row rows[] = {
        {"TALLEX", "UserName", "", "Pat Examiner"},
        {"TALLEX", "LenderName", "none", "none"},          // an empty value reads as the default
        {"TALLEX", "OriginalCreditorName", "x", "x"},      // a missing key too
        {"TALLEX", "Type", "RegularAPR", "Construction"},  // quotes are not part of the value
        {"TALLEX", "FormMaximized", "FALSE", "FALSE"},     // so quoted nothing is empty
        {"OPTIONS", "startup intro", "Yes", "No"},
        {"Missing", "UserName", "d", "d"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(ini.Read(row.section, row.key, row.fallback), row.expected) << row.section << "/" << row.key;
    // A bracket that is not closed names no section.
    EXPECT_EQ(IniFile::Parse("[Options]\n[TALLEX\nUserName=Pat\n").Read("TALLEX", "UserName", "d"), "d");
}

TEST(ini_file, writing_replaces_in_place_and_keeps_every_other_line) {
    IniFile ini = IniFile::Parse(
        "; note\n[Options]\nStartup Intro=No\n\n[TALLEX]\nusername=Old\nExtra=1\n\n[Other]\nA=B\n[Empty]\n");
    ASSERT_TRUE(ini.Write("TALLEX", "UserName", "New"));
    ASSERT_TRUE(ini.Write("TALLEX", "LenderName", "First Bank"));
    ASSERT_TRUE(ini.Write("Added", "Key", "V"));
    ASSERT_TRUE(ini.Write("Empty", "K", "W"));  // right under its header
    EXPECT_EQ(ini.Text(),
              "; note\n[Options]\nStartup Intro=No\n\n[TALLEX]\nusername=New\nExtra=1\nLenderName=First Bank\n\n"
              "[Other]\nA=B\n[Empty]\nK=W\n\n[Added]\nKey=V\n");
    EXPECT_FALSE(ini.Write("TALLEX", "UserName", "two\nlines"));
    EXPECT_EQ(ini.Read("TALLEX", "UserName", ""), "New");
    // A value comes back in at most 254 characters.
    ASSERT_TRUE(ini.Write("TALLEX", "UserName", std::string(300, 'n')));
    EXPECT_EQ(ini.Read("TALLEX", "UserName", ""), std::string(254, 'n'));
}

// The start-up intro is skipped only for exactly "No"; the window state and the loan kind
// are read whatever their letter case.
TEST(startup_settings, intro_window_state_and_loan_kind) {
    struct Row {
        const char* text;
        bool intro, maximized, construction;
    };
    const Row rows[] = {
        {"", true, false, false},
        {"[Options]\nStartup Intro=No\n[TALLEX]\nFormMaximized=true\nType=construction\n", false, true, true},
        {"[Options]\nStartup Intro=no\n[TALLEX]\nFormMaximized=yes\nType=Constructions\n", true, false, false},
    };
    for (const Row& row : rows) {
        const IniFile ini = IniFile::Parse(row.text);
        const RememberedEntries e = ReadRememberedEntries(ini);
        EXPECT_EQ(std::tuple(ShowStartupIntro(ini), e.formMaximized, e.construction),
                  std::tuple(row.intro, row.maximized, row.construction))
            << row.text;
    }
}

TEST(startup_settings, the_five_keys_round_trip) {
    IniFile ini = IniFile::Parse("[Options]\nStartup Intro=No\n");
    const RememberedEntries written{"Pat Examiner", "First Bank", "Original Lender Co", true, true};
    ASSERT_TRUE(WriteRememberedEntries(ini, written));
    EXPECT_EQ(ini.Text(),
              "[Options]\nStartup Intro=No\n\n[TALLEX]\nUserName=Pat Examiner\nLenderName=First Bank\n"
              "OriginalCreditorName=Original Lender Co\nFormMaximized=TRUE\nType=Construction\n");
    const RememberedEntries read = ReadRememberedEntries(IniFile::Parse(ini.Text()));
    EXPECT_EQ(std::tie(read.userName, read.creditorName, read.formMaximized, read.construction),
              std::tuple("Pat Examiner", "Original Lender Co", true, true));
    WriteRememberedEntries(ini, {"", "", "", false, false});
    EXPECT_EQ(ini.Read("TALLEX", "FormMaximized", "") + " " + ini.Read("TALLEX", "Type", ""), "FALSE RegularAPR");
}

TEST(common_screen, enter_shows_the_tab_key_message_and_other_keys_pass) {
    ScriptedUser user;
    EXPECT_FALSE(EnterKeyCheck('a', user));
    EXPECT_TRUE(EnterKeyCheck(13, user));
    test::ExpectPrompts(user, {"Use the tab key to go to the next field."}, 48);
    EXPECT_TRUE(CheckBoxKey(88) && CheckBoxKey(120));
    EXPECT_FALSE(CheckBoxKey(32));
}

TEST(common_screen, new_loan_asks_unless_fresh_and_keeps_the_record_on_No) {
    auto r = std::make_unique<LoanRecord>();
    SessionFlags session;
    ScriptedUser user;
    r->gdAmount = 1000;
    EXPECT_TRUE(NewLoan(*r, session, user));  // fresh: no question
    EXPECT_TRUE(user.prompts().empty());
    EXPECT_EQ(r->gdAmount, 0);

    r->gdAmount = 1000;
    session.gbBasicInfoFresh = false;
    user.queue(kAnswerNoButton);
    EXPECT_FALSE(NewLoan(*r, session, user));
    EXPECT_EQ(std::tie(r->gdAmount, r->giMsgResult), std::tuple(1000, 7));
    user.queue(kAnswerYesButton);
    EXPECT_TRUE(NewLoan(*r, session, user));
    test::ExpectPrompts(
        user, {"Start a new loan?  (Discard current data?) ", "Start a new loan?  (Discard current data?) "}, 36);
    EXPECT_EQ(std::tie(r->gdAmount, r->giAPRUnderByFC, session.gbBasicInfoFresh), std::tuple(0, 99, true));
}

TEST(basic_info, focus_goes_to_the_first_empty_box) {
    using B = BasicInfoField;
    struct Row {
        std::array<std::string, 5> texts;
        B expected;
    };
    const Row rows[] = {
        {{"", "", "", "", ""}, B::UserName},
        {{"Pat", "", "", "", ""}, B::Lender},
        {{"Pat", "Bank", "Bank", "", "7"}, B::Borrower},
        {{"Pat", "Bank", "Bank", "Lee", ""}, B::AccountNumber},
        {{"Pat", "Bank", "Bank", "Lee", "7"}, B::AccountDate},
    };
    for (const Row& row : rows)
        EXPECT_EQ(FirstEmptyField(row.texts), row.expected) << row.texts[0] << "," << row.texts[1];
    EXPECT_EQ(CreditorAfterLender("First Bank", ""), "First Bank");
    EXPECT_EQ(CreditorAfterLender("First Bank", "Old Creditor"), "Old Creditor");
}

TEST(basic_info, loan_kind_question_and_continue) {
    EXPECT_EQ(LoanKindSwitchQuestion(true),
              "Switching from regular APR to construction loan will cause the deletion of any data you have entered.");
    EXPECT_EQ(LoanKindSwitchQuestion(false),
              "Switching from construction loan to regular APR will cause the deletion of any data you have entered.");
    auto r = std::make_unique<LoanRecord>();
    SessionFlags session;
    BasicInfoContinue(*r, session, false);
    EXPECT_EQ(std::tie(r->gsLoanType, r->gbAppendixJ, r->gbConstruction, session.gbBasicInfoFresh),
              std::tuple("APR (Appendix J)", true, false, false));
    BasicInfoContinue(*r, session, true);
    EXPECT_EQ(std::tie(r->gbConstruction, r->gbAppendixJ), std::tuple(true, false));
}

TEST(startup_texts, second_copy_question_and_error_notice) {
    EXPECT_EQ(SecondInstanceQuestion(),
              "A previous instance of the APR program is already running.\r\n\r\n"
              "Do you really want to start a new instance of the APR program?");
    EXPECT_FALSE(AppVersion().empty());
    const std::string notice = ErrorNoticeText(11, "Division by zero", "");
    EXPECT_NE(notice.find("Error #: 11\r\nError Message: Division by zero\r\nActive Form: None"), std::string::npos)
        << notice;
    EXPECT_EQ(DisclaimerText(),
              "TALLEX computes annual percentage rates and reimbursement adjustments under Regulation Z"
              " (12 C.F.R. 226, Appendices D and J) to assist the examiner."
              " Its results carry no warranty of any kind and are not legal advice:"
              " the examiner must check every figure and every verdict before relying on it."
              " Any other method that meets the precise standards of Appendices D and J may be used instead.");
}

}  // namespace
}  // namespace tallex
