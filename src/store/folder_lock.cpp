#include "folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <thread>

#include "file_io.h"

namespace dorvel {

namespace {

// The holder's host and process id, always this many bytes (blank-padded,
// ending in a line feed), so the file is overwritten in place and never
// truncated.
constexpr size_t kOwnerRecordSize = 128;

std::string OwnerRecord() {
    char host[256] = {};
    ::gethostname(host, sizeof host - 1);
    std::string owner = std::string(host) + " " + std::to_string(::getpid());
    owner.resize(kOwnerRecordSize - 1, ' ');
    owner += '\n';
    return owner;
}

}  // namespace

DataFolderLock::DataFolderLock(const std::string& dataFolder, std::chrono::milliseconds timeout) {
    const std::string path = JoinPath(dataFolder, kLockFileName);
    // Never through a link: a link named like the lock file would otherwise
    // have every writer create or write a file outside the data folder.
    const int fd = Sys().open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) {
        const int error = errno;
        problem_ = error == ELOOP ? "Die Sperrdatei " + path +
                                        " ist ein symbolischer Verweis; bitte entfernen Sie ihn, "
                                        "dann kann wieder gespeichert werden."
                                  : "Die Sperrdatei " + path +
                                        " kann nicht angelegt werden: " + std::strerror(error);
        return;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        problem_ = "Die Sperrdatei " + path + " ist keine gewöhnliche Datei.";
        ::close(fd);
        return;
    }
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            break;
        if (errno != EWOULDBLOCK && errno != EINTR) {
            problem_ =
                "Der Datenordner kann nicht gesperrt werden: " + std::string(std::strerror(errno));
            ::close(fd);
            return;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            problem_ =
                "Der Datenordner wird gerade von einem anderen Programm benutzt. "
                "Bitte versuchen Sie es gleich noch einmal.";
            ::close(fd);
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    fd_ = fd;
    // A file with a second name (a hard link from elsewhere) is only locked,
    // never written.
    if (st.st_nlink == 1) {
        const std::string owner = OwnerRecord();
        [[maybe_unused]] const ssize_t n = ::pwrite(fd_, owner.data(), owner.size(), 0);
    }
}

DataFolderLock::~DataFolderLock() {
    if (fd_ >= 0) {
        ::flock(fd_, LOCK_UN);
        ::close(fd_);
    }
}

}  // namespace dorvel
