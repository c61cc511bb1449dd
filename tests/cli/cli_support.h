#pragma once
// What the command-line tests share: files read and written whole, the command line run as a
// process, and a reader of the CSV it writes.

#include <sys/wait.h>
#include <array>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
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

enum class Stderr { Dropped, Kept };

// Runs `tallex-cli ARGS` through the shell; returns its exit code, with standard output (and,
// when kept, standard error after it) in `out`.
inline int RunCli(const std::string& args, std::string& out, Stderr err = Stderr::Dropped) {
    const std::string command = std::string(TALLEX_CLI) + " " + args + (err == Stderr::Kept ? " 2>&1" : " 2>/dev/null");
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return -1;
    std::array<char, 4096> buf{};
    out.clear();
    while (std::size_t n = std::fread(buf.data(), 1, buf.size(), pipe)) out.append(buf.data(), n);
    const int status = ::pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
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
                if (text[i] == '"') {
                    if (i + 1 < text.size() && text[i + 1] == '"') {
                        field += '"';
                        ++i;
                    } else {
                        ++i;
                        break;
                    }
                } else {
                    field += text[i];
                }
            }
        } else {
            while (i < text.size() && text[i] != ',' && text[i] != '\r' && text[i] != '\n') {
                if (text[i] == '"') return false;
                field += text[i++];
            }
        }
        if (i < text.size() && text[i] == ',') {
            row.push_back(std::move(field));
            field.clear();
            ++i;
        } else if (text.compare(i, 2, "\r\n") == 0) {
            row.push_back(std::move(field));
            field.clear();
            rows.push_back(std::move(row));
            row.clear();
            i += 2;
        } else {
            return false;
        }
    }
    return row.empty() && field.empty();
}

}  // namespace tallex::clitest
