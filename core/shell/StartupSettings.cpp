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

std::string ReadSetting(const IniFile& ini, std::string_view key, std::string_view defaultValue) {
    return ini.Read(kProgramSection, key, defaultValue);
}

bool WriteSetting(IniFile& ini, std::string_view key, std::string_view value) {
    return ini.Write(kProgramSection, key, value);
}

bool ShowStartupIntro(const IniFile& ini) { return ini.Read(kOptionsSection, "Startup Intro", "Yes") != "No"; }

RememberedEntries ReadRememberedEntries(const IniFile& ini) {
    RememberedEntries entries;
    entries.userName = ReadSetting(ini, "UserName", "");
    entries.lenderName = ReadSetting(ini, "LenderName", "");
    entries.creditorName = ReadSetting(ini, "OriginalCreditorName", "");
    entries.formMaximized = EqualsIgnoringCase(ReadSetting(ini, "FormMaximized", ""), "TRUE");
    entries.construction = EqualsIgnoringCase(ReadSetting(ini, "Type", "RegularAPR"), "Construction");
    return entries;
}

bool WriteRememberedEntries(IniFile& ini, const RememberedEntries& entries) {
    bool ok = true;
    ok &= WriteSetting(ini, "UserName", entries.userName);
    ok &= WriteSetting(ini, "LenderName", entries.lenderName);
    ok &= WriteSetting(ini, "OriginalCreditorName", entries.creditorName);
    ok &= WriteSetting(ini, "FormMaximized", entries.formMaximized ? "TRUE" : "FALSE");
    ok &= WriteSetting(ini, "Type", entries.construction ? "Construction" : "RegularAPR");
    return ok;
}

}  // namespace tallex
