#include "shell/StartupSettings.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace tallex {

namespace {

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

}  // namespace

bool ShowStartupIntro(const IniFile& ini) { return ini.Read(kOptionsSection, "Startup Intro", "Yes") != "No"; }

RememberedEntries ReadRememberedEntries(const IniFile& ini) {
    RememberedEntries entries;
    entries.userName = ini.Read(kProgramSection, "UserName", "");
    entries.lenderName = ini.Read(kProgramSection, "LenderName", "");
    entries.creditorName = ini.Read(kProgramSection, "OriginalCreditorName", "");
    entries.formMaximized = EqualsIgnoringCase(ini.Read(kProgramSection, "FormMaximized", ""), "TRUE");
    entries.construction = EqualsIgnoringCase(ini.Read(kProgramSection, "Type", "RegularAPR"), "Construction");
    return entries;
}

bool WriteRememberedEntries(IniFile& ini, const RememberedEntries& entries) {
    bool ok = true;
    ok &= ini.Write(kProgramSection, "UserName", entries.userName);
    ok &= ini.Write(kProgramSection, "LenderName", entries.lenderName);
    ok &= ini.Write(kProgramSection, "OriginalCreditorName", entries.creditorName);
    ok &= ini.Write(kProgramSection, "FormMaximized", entries.formMaximized ? "TRUE" : "FALSE");
    ok &= ini.Write(kProgramSection, "Type", entries.construction ? "Construction" : "RegularAPR");
    return ok;
}

}  // namespace tallex
