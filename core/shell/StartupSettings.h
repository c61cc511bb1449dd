#pragma once
// The settings file APR.INI: the start-up option of [Options] and the basic information page's
// remembered entries in [TALLEX]. This is the meaning of the keys and values; where the file
// lives and how it is saved is the program's business.

#include "shell/IniFile.h"

#include <string>
#include <string_view>

namespace tallex {

inline constexpr const char* kSettingsFileName = "APR.INI";
inline constexpr const char* kOptionsSection = "Options";
inline constexpr const char* kProgramSection = "TALLEX";

// [Options] "Startup Intro": the splash is skipped only for exactly "No" (letter case counts).
bool ShowStartupIntro(const IniFile& ini);

// A key of the [TALLEX] section: its value, or the default when it is missing or empty.
std::string ReadSetting(const IniFile& ini, std::string_view key, std::string_view defaultValue);
// Writes a key of the [TALLEX] section; false when the value cannot be kept on one line.
bool WriteSetting(IniFile& ini, std::string_view key, std::string_view value);

// What the basic information page remembers between runs.
struct RememberedEntries {
    std::string userName;
    std::string lenderName;
    std::string creditorName;
    bool formMaximized = false;  // "TRUE" in any letter case
    bool construction = false;   // "Type" = "Construction" in any letter case; anything else is regular
};

RememberedEntries ReadRememberedEntries(const IniFile& ini);

// Writes the five keys ("UserName", "LenderName", "OriginalCreditorName", "FormMaximized" as
// "TRUE"/"FALSE", "Type" as "RegularAPR"/"Construction"); false when a value could not be kept
// (a name holding a line break), the other keys being written all the same.
bool WriteRememberedEntries(IniFile& ini, const RememberedEntries& entries);

}  // namespace tallex
