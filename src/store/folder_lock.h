#pragma once

#include <chrono>
#include <string>

namespace dorvel {

// Serialises the writers of one data folder: two running copies of the
// program, or two workstations on a shared folder, take turns to read,
// merge and replace a file. Held only around such a step, never across a
// serial transfer or a question to the user.
//
// The lock is an advisory lock on the file "dorvel.lock" in the folder. The
// kernel (or the file server) drops it when its holder dies, so a crashed
// copy never blocks the others. The file itself stays; it names the last
// holder for whoever investigates. It is never opened through a symbolic
// link and never truncated, so it cannot be turned against a file elsewhere.
class DataFolderLock {
  public:
    explicit DataFolderLock(const std::string& dataFolder,
                            std::chrono::milliseconds timeout = std::chrono::seconds(15));
    ~DataFolderLock();
    DataFolderLock(const DataFolderLock&) = delete;
    DataFolderLock& operator=(const DataFolderLock&) = delete;

    bool locked() const { return fd_ >= 0; }
    // Why the lock could not be taken (UTF-8), empty when locked.
    const std::string& problem() const { return problem_; }

  private:
    int fd_ = -1;
    std::string problem_;
};

inline constexpr const char* kLockFileName = "dorvel.lock";

}  // namespace dorvel
