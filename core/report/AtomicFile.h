#pragma once
// Writing a whole file so that readers see either the old content or the new, never a part:
// the text goes to a private temporary file in the same folder, is flushed to disk and then
// renamed over the target. A failure leaves the target as it was and no temporary behind.

#include <optional>
#include <string>

namespace tallex {

// A file failure as the run-time reports it: error number and description
// (53 "File not found", 57 "Device I/O error", 61 "Disk full", 70 "Permission denied",
// 75 "Path/File access error", 76 "Path not found").
struct FileError {
    int number = 0;
    std::string description;
};

std::optional<FileError> WriteFileAtomically(const std::string& path, const std::string& contents);

// The run-time error for a system error code.
FileError FileErrorFromErrno(int error);

}  // namespace tallex
