#include "support/file_faults.h"

#include <fcntl.h>

#include <cerrno>

namespace dorvel::test {

namespace {

// The seam takes plain function pointers, so what should fail lives here.
std::string failingReads;
bool failingSync = false;
int listingError = 0;

FileCalls FaultyCalls() {
    FileCalls calls = SystemFileCalls();
    calls.open = [](const char* path, int flags, mode_t mode) {
        if (!failingReads.empty() && (flags & (O_ACCMODE | O_DIRECTORY)) == O_RDONLY &&
            std::string_view(path).ends_with(failingReads)) {
            errno = EIO;
            return -1;
        }
        return SystemFileCalls().open(path, flags, mode);
    };
    calls.fsync = [](int fd) {
        errno = EIO;
        return failingSync ? -1 : SystemFileCalls().fsync(fd);
    };
    calls.opendir = [](const char* path) {
        errno = listingError;
        return listingError != 0 ? nullptr : SystemFileCalls().opendir(path);
    };
    return calls;
}

}  // namespace

FileFaults::FileFaults() : scope_(FaultyCalls()) {}

FileFaults::~FileFaults() {
    failingReads.clear();
    failingSync = false;
    listingError = 0;
}

void FileFaults::FailReading(const std::string& suffix) {
    failingReads = suffix;
}

void FileFaults::FailFolderSync() {
    failingSync = true;
}

void FileFaults::FailListing(int error) {
    listingError = error;
}

}  // namespace dorvel::test
