#include "folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <thread>

#include "file_io.h"

namespace dorvel {

DataFolderLock::DataFolderLock(const std::string& dataFolder, std::chrono::milliseconds timeout) {
    const std::string path = JoinPath(dataFolder, kLockFileName);
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) {
        problem_ =
            "Die Sperrdatei " + path + " kann nicht angelegt werden: " + std::strerror(errno);
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
    char host[256] = {};
    ::gethostname(host, sizeof host - 1);
    const std::string owner = std::string(host) + " " + std::to_string(::getpid()) + "\n";
    if (::ftruncate(fd_, 0) == 0) {
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
