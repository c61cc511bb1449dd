#pragma once
// A folder whose next write fails, for the file-fault tests: a 64 KiB tmpfs mounted over a fresh
// folder where mounting is permitted (as root), filled to its last block on request; otherwise
// the folder made read-only, which stops every writer but root. Where neither can make a write
// fail, canFail() is false and the test skips.

#include <dirent.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fcntl.h>
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

namespace tallex::faults {

class SmallDisk {
public:
    SmallDisk() {
        char folder[] = "/tmp/tallex-faults-XXXXXX";
        if (::mkdtemp(folder)) folder_ = folder;
        mounted_ = !folder_.empty() && ::mount("tmpfs", folder_.c_str(), "tmpfs", 0, "size=64k,mode=0700") == 0;
    }
    ~SmallDisk() {
        if (readOnly_) ::chmod(folder_.c_str(), 0700);
        for (const std::string& name : entries()) ::unlink((folder_ + "/" + name).c_str());
        if (mounted_) ::umount(folder_.c_str());
        if (!folder_.empty()) ::rmdir(folder_.c_str());
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    const std::string& folder() const { return folder_; }
    std::string path(const std::string& name) const { return folder_ + "/" + name; }
    bool mounted() const { return mounted_; }
    bool canFail() const { return mounted_ || ::geteuid() != 0; }

    // From now on writing fails: the file system is full (a file "filler" takes every free
    // block), or the folder is read-only.
    void fill() {
        if (!mounted_) {
            readOnly_ = ::chmod(folder_.c_str(), 0500) == 0;
            return;
        }
        const int fd = ::open(path("filler").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (fd < 0) return;
        const std::string block(4096, 'f');
        while (::write(fd, block.data(), block.size()) > 0) {}
        for (std::size_t size = block.size() / 2; size > 0; size /= 2)
            while (::write(fd, block.data(), size) > 0) {}
        ::close(fd);
    }

    // The error the next write meets: 61 "Disk full" on the full file system, 70 "Permission
    // denied" in the read-only folder.
    int expectedErrorNumber() const { return mounted_ ? 61 : 70; }
    std::string expectedErrorDescription() const { return mounted_ ? "Disk full" : "Permission denied"; }

    // The names in the folder, sorted, without the filler.
    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        if (DIR* d = ::opendir(folder_.c_str())) {
            while (const dirent* e = ::readdir(d)) {
                const std::string name = e->d_name;
                if (name != "." && name != "..") names.push_back(name);
            }
            ::closedir(d);
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    std::vector<std::string> files() const {
        std::vector<std::string> names = entries();
        std::erase(names, "filler");
        return names;
    }

private:
    std::string folder_;
    bool mounted_ = false;
    bool readOnly_ = false;
};

}  // namespace tallex::faults
