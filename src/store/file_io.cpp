#include "file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

namespace dorvel {

namespace {

std::string ErrnoText(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

bool WriteAll(int fd, std::string_view bytes) {
    const char* p = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
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

}  // namespace

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
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
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
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
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

    static std::atomic<unsigned> sequence{0};
    const std::string temp =
        path + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(sequence.fetch_add(1));
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0)
        return {WriteStatus::Failed, ErrnoText(temp.c_str())};

    // Keep the permissions of the file we replace.
    struct stat old {};
    if (::stat(path.c_str(), &old) == 0)
        ::fchmod(fd, old.st_mode & 07777);

    bool ok = WriteAll(fd, bytes);
    std::string detail;
    if (!ok)
        detail = ErrnoText(temp.c_str());
    if (ok && ::fdatasync(fd) != 0) {
        ok = false;
        detail = ErrnoText("fdatasync");
    }
    if (::close(fd) != 0 && ok) {
        ok = false;
        detail = ErrnoText("close");
    }
    if (ok && ::rename(temp.c_str(), path.c_str()) != 0) {
        ok = false;
        detail = ErrnoText(path.c_str());
    }
    if (!ok) {
        ::unlink(temp.c_str());
        return {WriteStatus::Failed, detail};
    }
    const int dir = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        // The new file is in place; a failed folder sync only weakens the
        // guarantee against power loss, so it does not turn the write into a failure.
        ::fsync(dir);
        ::close(dir);
    }
    return {};
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
