#pragma once

#include <dirent.h>
#include <sys/types.h>

#include <optional>
#include <string>
#include <string_view>

namespace dorvel {

enum class WriteStatus {
    Written,
    ReadOnly,  // the file exists and may not be written; it is left as it was
    Failed,    // creating, writing, syncing or renaming failed; the old file is intact
    // The new file is in place, but the folder could not be synced: after a
    // power loss the old file may come back. Writing the same again is safe.
    Unsynced,
};

struct WriteResult {
    WriteStatus status = WriteStatus::Written;
    std::string detail;  // what went wrong (system error text), empty when written
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
// A read-only file is not touched (ReadOnly). The temporary file has a name
// no other process can hold and stays locked while it is written, so the
// copies a killed writer left of `path` are recognised and removed here.
WriteResult WriteFileAtomic(const std::string& path, std::string_view bytes);

// Why the files of `folder` cannot be listed or reached (UTF-8, for the
// user: missing, not a folder, no permission), or nothing when they can.
std::optional<std::string> FolderProblem(const std::string& folder);

// Removes a file; a missing file counts as removed.
bool RemoveFile(const std::string& path);

// Creates the folder (one level) when it is missing.
bool EnsureFolder(const std::string& path);

std::string JoinPath(std::string_view folder, std::string_view name);

// The system calls through which the file layer reads, replaces and lists
// files and takes the folder lock, in one table. Tests install a table whose
// entries fail the way a failing disk does (EIO on a read, on a sync) to see
// that no such failure is passed off as success.
struct FileCalls {
    int (*open)(const char* path, int flags, mode_t mode);
    ssize_t (*read)(int fd, void* buffer, size_t size);
    ssize_t (*write)(int fd, const void* buffer, size_t size);
    int (*fdatasync)(int fd);
    int (*fsync)(int fd);
    int (*rename)(const char* from, const char* to);
    DIR* (*opendir)(const char* path);
};

// The system's own calls.
FileCalls SystemFileCalls();
// The calls in use: the system's own unless a test installed others.
const FileCalls& Sys();

// Installs `calls` for its lifetime (tests only; one at a time).
class ScopedFileCalls {
  public:
    explicit ScopedFileCalls(const FileCalls& calls);
    ~ScopedFileCalls();
    ScopedFileCalls(const ScopedFileCalls&) = delete;
    ScopedFileCalls& operator=(const ScopedFileCalls&) = delete;

  private:
    FileCalls calls_;
    const FileCalls* previous_;
};

}  // namespace dorvel
