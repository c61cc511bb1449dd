#pragma once
// What the command-line tests share: files read and written whole, a fresh folder and a command
// run as a process.

#include <stdlib.h>
#include <sys/wait.h>
#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
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

}  // namespace tallex::clitest
