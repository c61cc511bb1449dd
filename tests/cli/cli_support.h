#pragma once
// What the command-line tests share: files read and written whole, a fresh folder, a command
// run as a process, and a reader of the CSV the command line writes.

#include <stdlib.h>
#include <sys/wait.h>
#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace tallex::clitest {

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

// The lines of a text, without their line ends.
inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// A fresh folder, removed with everything in it.
class TempFolder {
public:
    TempFolder() {
        char name[] = "/tmp/tallex-test-XXXXXX";
        if (::mkdtemp(name)) path_ = name;
    }
    ~TempFolder() {
        std::error_code ec;
        if (!path_.empty()) std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }
    std::vector<std::string> files() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(path_))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    std::string path_;
};

// Runs a shell command; returns its exit code, with its standard output in `out`.
inline int Run(const std::string& command, std::string& out) {
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return -1;
    std::array<char, 4096> buf{};
    out.clear();
    while (std::size_t n = std::fread(buf.data(), 1, buf.size(), pipe)) out.append(buf.data(), n);
    const int status = ::pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

enum class Stderr { Dropped, Kept };

// Runs `tallex-cli ARGS`; returns its exit code, with standard output (and, when kept, standard
// error after it) in `out`.
inline int RunCli(const std::string& args, std::string& out, Stderr err = Stderr::Dropped) {
    return Run(std::string(TALLEX_CLI) + " " + args + (err == Stderr::Kept ? " 2>&1" : " 2>/dev/null"), out);
}

// RFC 4180: records end in CR LF, a quoted field may hold commas, CR LF and doubled quotes.
// Returns false on text that breaks those rules (a bare LF, a stray quote, no final CR LF).
inline bool ParseCsv(const std::string& text, std::vector<std::vector<std::string>>& rows) {
    rows.clear();
    std::vector<std::string> row;
    std::string field;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == '"') {
            for (++i;; ++i) {
                if (i >= text.size()) return false;
                if (text[i] != '"') {
                    field += text[i];
                } else if (i + 1 < text.size() && text[i + 1] == '"') {
                    field += text[i++];
                } else {
                    ++i;
                    break;
                }
            }
        } else {
            while (i < text.size() && text[i] != ',' && text[i] != '\r' && text[i] != '\n') {
                if (text[i] == '"') return false;
                field += text[i++];
            }
        }
        if (i < text.size() && text[i] == ',') {
            ++i;
        } else if (text.compare(i, 2, "\r\n") == 0) {
            i += 2;
        } else {
            return false;
        }
        row.push_back(std::move(field));
        field.clear();
        if (text[i - 1] == '\n') rows.push_back(std::exchange(row, {}));
    }
    return row.empty();
}

}  // namespace tallex::clitest
