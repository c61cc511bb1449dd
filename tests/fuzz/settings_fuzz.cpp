// The settings file APR.INI as the program reads and rewrites it: any bytes as the file, then
// the basic information page's keys written back with names typed by the user.
//
// Invariants:
//  - reading never fails: every key gives its value (at most 254 characters, blanks around it
//    and matching quotes taken off) or its default, and the start-up option is "Yes" unless the
//    file says exactly "No";
//  - saving and loading again changes nothing that is read;
//  - a write is read back as written (within the reading rules above), leaves every other key
//    as it was, and refuses a value with a line break without changing anything.

#include "FuzzSupport.h"

#include "shell/IniFile.h"
#include "shell/StartupSettings.h"

#include <array>
#include <cctype>
#include <string>
#include <string_view>

using namespace tallex;
using tallex::fuzz::Printable;

namespace {

constexpr std::array<std::array<const char*, 2>, 6> kKeys{{{"Options", "Startup Intro"},
                                                           {"TALLEX", "UserName"},
                                                           {"TALLEX", "LenderName"},
                                                           {"TALLEX", "OriginalCreditorName"},
                                                           {"TALLEX", "FormMaximized"},
                                                           {"TALLEX", "Type"}}};

std::array<std::string, kKeys.size()> ReadAll(const IniFile& ini) {
    std::array<std::string, kKeys.size()> values;
    for (std::size_t k = 0; k < kKeys.size(); ++k) values[k] = ini.Read(kKeys[k][0], kKeys[k][1], "<default>");
    return values;
}

// What reading gives back for a value written as `value`.
std::string ReadBack(std::string_view value) {
    while (!value.empty() && std::isspace(static_cast<unsigned char>(value.front()))) value.remove_prefix(1);
    while (!value.empty() && std::isspace(static_cast<unsigned char>(value.back()))) value.remove_suffix(1);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return value.empty() ? "<default>" : std::string(value.substr(0, IniFile::kMaxValueLength));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tallex::fuzz::FuzzInput in(data, size);
    tallex::fuzz::RunGuarded([&] {
        // The value to write comes first, the file is the rest.
        const std::size_t key = in.Byte() % kKeys.size();
        const std::string value = in.TextLike({"Jane Examiner", "", "  padded  ", "\"quoted\"", "line\nbreak", "No",
                                               "TRUE", "Construction", "=", "[TALLEX]", ";comment"},
                                              300);
        IniFile ini = IniFile::Parse(in.Rest());
        const auto before = ReadAll(ini);
        for (const std::string& v : before) FUZZ_CHECK(v.size() <= IniFile::kMaxValueLength, Printable(v));
        FUZZ_CHECK(ShowStartupIntro(ini) == (before[0] != "No"), Printable(before[0]));
        (void)ReadRememberedEntries(ini);
        FUZZ_CHECK(ReadAll(IniFile::Parse(ini.Text())) == before, "a value reads differently after saving");

        const std::string textBefore = ini.Text();
        const bool written = ini.Write(kKeys[key][0], kKeys[key][1], value);
        const bool lineBreak = value.find_first_of("\r\n") != std::string::npos;
        FUZZ_CHECK(written != lineBreak && (written || ini.Text() == textBefore), Printable(value));
        auto expected = before;
        if (written) expected[key] = ReadBack(value);
        FUZZ_CHECK(ReadAll(ini) == expected, "after writing \"" << Printable(value) << "\" to " << kKeys[key][1]);
        FUZZ_CHECK(ReadAll(IniFile::Parse(ini.Text())) == expected, "the written file reads differently after saving");
    });
    return 0;
}
