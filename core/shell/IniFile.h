#pragma once
// A plain INI text ("[Section]" lines, "Key=Value" lines) that a user can also edit by hand.
// Reading and writing follow the private-profile rules the settings file was made for: section
// and key names match without regard to letter case, blanks around names and values do not
// count, a value is read into a buffer of 255 characters (so at most 254 come back), and a
// write replaces the value in place or appends the key to its section, leaving every other line
// (comments, unknown sections and keys) as it was.
//
// The text lives in memory; loading and saving the file is the caller's business.

#include <string>
#include <string_view>
#include <vector>

namespace tallex {

class IniFile {
public:
    IniFile() = default;
    // Lines may end with CR LF or LF.
    static IniFile Parse(std::string_view text);

    // The value of the key in the section; the default when the key is missing or its value is
    // empty.
    std::string Read(std::string_view section, std::string_view key, std::string_view defaultValue) const;

    // Sets the key's value, adding the section and the key when they are missing. A value that
    // holds a line break cannot be kept on one line: false, and nothing is changed.
    bool Write(std::string_view section, std::string_view key, std::string_view value);

    // The whole text, each line ending with LF.
    std::string Text() const;

    static constexpr std::size_t kMaxValueLength = 254;

private:
    std::vector<std::string> lines_;
};

}  // namespace tallex
