#include "file_io.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

namespace dorvel {

namespace {

std::string ErrnoText(const char* what) {
    const int error = errno;  // before building the text can change it
    return std::string(what) + ": " + std::strerror(error);
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Constant, so it is in place before any other code can write a file.
constexpr FileCalls kSystemCalls{
    [](const char* path, int flags, mode_t mode) { return ::open(path, flags, mode); },
    ::read,
    ::write,
    ::fdatasync,
    ::fsync,
    ::rename,
    ::opendir,
};
std::atomic<const FileCalls*> activeCalls{&kSystemCalls};

bool WriteAll(int fd, std::string_view bytes) {
    const char* p = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = Sys().write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
    return true;
}

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Temporary copies of `name` are "<name>.tmp-<pid>-<digits or hex>".
constexpr std::string_view kTempInfix = ".tmp-";

bool IsTempNameOf(std::string_view candidate, std::string_view name) {
    if (candidate.size() <= name.size() + kTempInfix.size() || !candidate.starts_with(name) ||
        candidate.substr(name.size(), kTempInfix.size()) != kTempInfix) {
        return false;
    }
    const std::string_view tail = candidate.substr(name.size() + kTempInfix.size());
    const size_t dash = tail.find('-');
    if (dash == 0 || dash == std::string_view::npos || dash + 1 == tail.size())
        return false;
    return tail.substr(0, dash).find_first_not_of("0123456789") == std::string_view::npos &&
           tail.substr(dash + 1).find_first_not_of("0123456789abcdef") == std::string_view::npos;
}

// A writer keeps its temporary file locked until the file is renamed, and
// the kernel drops that lock when the writer dies. A temporary file of
// `path` whose lock can be taken was therefore left by a killed writer.
void RemoveLeftovers(const std::string& path) {
    const std::string folder = FolderOf(path);
    const std::string name = NameOf(path);
    std::vector<std::string> leftovers;
    if (DIR* dir = Sys().opendir(folder.c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            if (IsTempNameOf(entry->d_name, name))
                leftovers.push_back(JoinPath(folder, entry->d_name));
        }
        ::closedir(dir);
    }
    for (const std::string& leftover : leftovers) {
        const int fd =
            Sys().open(leftover.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0);
        if (fd < 0)
            continue;
        struct stat held {};
        struct stat named {};
        // Still the same file under that name once the lock is ours: it is
        // no writer's any more.
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &held) == 0 &&
            S_ISREG(held.st_mode) && ::lstat(leftover.c_str(), &named) == 0 &&
            SameFile(held, named)) {
            ::unlink(leftover.c_str());
        }
        ::close(fd);
    }
}

std::string RandomHex() {
    static std::atomic<uint64_t> sequence{0};
    uint64_t bits =
        sequence.fetch_add(1) ^
        static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) *
            0x9E3779B97F4A7C15ull;
    try {
        std::random_device device;
        bits ^= (static_cast<uint64_t>(device()) << 32) ^ device();
    } catch (...) {
        // The sequence and the clock still differ from call to call; the
        // exclusive create below catches what they cannot rule out.
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(bits));
    return text;
}

struct TempFile {
    int fd = -1;
    std::string path;
    std::string detail;
};

// Creates and locks a temporary file for `path` under a fresh name.
TempFile CreateTempFile(const std::string& path) {
    TempFile temp;
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp.path = path + std::string(kTempInfix) + std::to_string(::getpid()) + "-" + RandomHex();
        const int fd = Sys().open(temp.path.c_str(),
                                  O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            temp.detail = ErrnoText(temp.path.c_str());
            return temp;
        }
        // Without locks (a file system that has none) the file is still
        // written; it is then never mistaken for a leftover either.
        const bool locked = ::flock(fd, LOCK_EX) == 0;
        struct stat held {};
        struct stat named {};
        if (locked && (::fstat(fd, &held) != 0 || ::lstat(temp.path.c_str(), &named) != 0 ||
                       !SameFile(held, named))) {
            // Another writer took it for a leftover between our create and
            // our lock and removed it.
            ::close(fd);
            continue;
        }
        temp.fd = fd;
        return temp;
    }
    temp.detail = path + ": kein freier Name für eine temporäre Datei";
    return temp;
}

}  // namespace

FileCalls SystemFileCalls() {
    return kSystemCalls;
}

const FileCalls& Sys() {
    return *activeCalls.load();
}

ScopedFileCalls::ScopedFileCalls(const FileCalls& calls)
    : calls_(calls), previous_(activeCalls.exchange(&calls_)) {}

ScopedFileCalls::~ScopedFileCalls() {
    activeCalls.store(previous_);
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool FolderExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool IsReadOnlyFile(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return false;
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        return true;
    return ::access(path.c_str(), W_OK) != 0;
}

ReadResult ReadWholeFile(const std::string& path) {
    ReadResult result;
    const int fd = Sys().open(path.c_str(), O_RDONLY | O_CLOEXEC, 0);
    if (fd < 0) {
        result.status = errno == ENOENT ? ReadStatus::Missing : ReadStatus::Failed;
        result.detail = ErrnoText(path.c_str());
        return result;
    }
    struct stat st {};
    if (::fstat(fd, &st) == 0 && !S_ISREG(st.st_mode)) {
        ::close(fd);
        result.status = ReadStatus::Failed;
        result.detail = path + ": not a regular file";
        return result;
    }
    if (st.st_size > 0)
        result.bytes.reserve(static_cast<size_t>(st.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t n = Sys().read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            result.status = ReadStatus::Failed;
            result.detail = ErrnoText(path.c_str());
            result.bytes.clear();
            ::close(fd);
            return result;
        }
        if (n == 0)
            break;
        result.bytes.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    result.status = ReadStatus::Read;
    return result;
}

WriteResult WriteFileAtomic(const std::string& path, std::string_view bytes) {
    if (IsReadOnlyFile(path))
        return {WriteStatus::ReadOnly, path + ": read-only"};

    RemoveLeftovers(path);
    TempFile temp = CreateTempFile(path);
    if (temp.fd < 0)
        return {WriteStatus::Failed, temp.detail};
    const int fd = temp.fd;

    // Keep the permissions of the file we replace.
    struct stat old {};
    if (::stat(path.c_str(), &old) == 0)
        ::fchmod(fd, old.st_mode & 07777);

    bool ok = WriteAll(fd, bytes);
    std::string detail;
    if (!ok)
        detail = ErrnoText(temp.path.c_str());
    if (ok && Sys().fdatasync(fd) != 0) {
        ok = false;
        detail = ErrnoText("fdatasync");
    }
    // The lock on the temporary file must outlive the checked close until
    // the rename, or the file could be taken for a leftover just before.
    const int lockHolder = ::dup(fd);
    if (::close(fd) != 0 && ok) {
        ok = false;
        detail = ErrnoText("close");
    }
    if (ok && Sys().rename(temp.path.c_str(), path.c_str()) != 0) {
        ok = false;
        detail = ErrnoText(path.c_str());
    }
    if (!ok)
        ::unlink(temp.path.c_str());
    if (lockHolder >= 0)
        ::close(lockHolder);
    if (!ok)
        return {WriteStatus::Failed, detail};

    const std::string folder = FolderOf(path);
    const int dir = Sys().open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
    int synced = dir < 0 ? -1 : Sys().fsync(dir);
    const int error = errno;
    if (dir >= 0)
        ::close(dir);
    // A file system that cannot sync a folder at all (EINVAL) keeps its
    // renames by other means; there is nothing to report.
    if (synced != 0 && error == EINVAL)
        synced = 0;
    if (synced != 0) {
        return {WriteStatus::Unsynced,
                path + " ist ersetzt, aber der Ordner " + folder +
                    " konnte nicht auf den Datenträger geschrieben werden (" +
                    std::strerror(error) +
                    "); nach einem Stromausfall kann die vorige Fassung zurückkehren."};
    }
    return {};
}

std::optional<std::string> FolderProblem(const std::string& folder) {
    DIR* dir = Sys().opendir(folder.c_str());
    // Listing needs read permission, reaching the files search permission.
    const int error = dir == nullptr ? errno : ::access(folder.c_str(), X_OK) != 0 ? errno : 0;
    if (dir != nullptr)
        ::closedir(dir);
    if (error == 0)
        return std::nullopt;
    if (error == ENOENT)
        return "der Datenordner " + folder + " fehlt";
    if (error == ENOTDIR)
        return folder + " ist kein Ordner";
    return "der Datenordner " + folder + " kann nicht gelesen werden: " + std::strerror(error);
}

bool RemoveFile(const std::string& path) {
    return ::unlink(path.c_str()) == 0 || errno == ENOENT;
}

bool EnsureFolder(const std::string& path) {
    if (FolderExists(path))
        return true;
    return ::mkdir(path.c_str(), 0755) == 0 || (errno == EEXIST && FolderExists(path));
}

std::string JoinPath(std::string_view folder, std::string_view name) {
    std::string result(folder);
    if (!result.empty() && result.back() != '/')
        result += '/';
    result += name;
    return result;
}

}  // namespace dorvel
