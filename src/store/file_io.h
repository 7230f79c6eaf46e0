#pragma once

#include <string>
#include <string_view>

namespace dorvel {

enum class WriteStatus {
    Written,
    ReadOnly,  // the file exists and may not be written; it is left as it was
    Failed,    // creating, writing, syncing or renaming failed; the old file is intact
};

struct WriteResult {
    WriteStatus status = WriteStatus::Written;
    std::string detail;  // system error text for Failed, empty otherwise
    bool ok() const { return status == WriteStatus::Written; }
};

enum class ReadStatus { Read, Missing, Failed };

struct ReadResult {
    ReadStatus status = ReadStatus::Missing;
    std::string bytes;
    std::string detail;
    bool ok() const { return status == ReadStatus::Read; }
};

bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);

// True when the file exists and must not be replaced: no write permission
// for us, or no write bit at all (the stand-in for a read-only attribute,
// which also holds for a process running as root).
bool IsReadOnlyFile(const std::string& path);

ReadResult ReadWholeFile(const std::string& path);

// Replaces `path` with `bytes` atomically: a temporary file in the same folder
// is written, synced and checked, then renamed over the old file and the
// folder synced. A crash leaves the old or the new file, never a torn one.
// A read-only file is not touched (ReadOnly).
WriteResult WriteFileAtomic(const std::string& path, std::string_view bytes);

// Removes a file; a missing file counts as removed.
bool RemoveFile(const std::string& path);

// Creates the folder (one level) when it is missing.
bool EnsureFolder(const std::string& path);

std::string JoinPath(std::string_view folder, std::string_view name);

}  // namespace dorvel
