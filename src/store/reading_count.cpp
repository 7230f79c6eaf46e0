#include "reading_count.h"

#include "file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <string_view>

#include "patient_list.h"
#include "reading.h"

namespace dorvel {

namespace {

// A whole number of records, so that full reads leave no partial record
// to carry over, and large enough that system calls cost little.
constexpr size_t kBlockSize = kRecordSize * 8192;
// Pieces of a block small enough for the first-level cache, whole records each.
constexpr size_t kPieceSize = kRecordSize * 256;

bool IsWhiteSpace(unsigned char c) {
    return c == ' ' || static_cast<unsigned char>(c - '\t') < 5;  // \t \n \v \f \r
}

// Position of the first white-space byte, or `size`. Stored records are
// digits and letters, so a stretch whose smallest byte lies above the
// blank holds none; that test needs no branch per byte and the compiler
// makes it sixteen bytes at a time. Only a stretch that fails it is looked
// at byte by byte.
size_t FirstWhiteSpace(const char* bytes, size_t size) {
    constexpr size_t kStretch = 256;
    const auto byte = [bytes](size_t at) { return static_cast<unsigned char>(bytes[at]); };
    size_t at = 0;
    for (; at + kStretch <= size; at += kStretch) {
        unsigned char lowest = 0xFF;
        for (size_t i = 0; i < kStretch; ++i)
            lowest = std::min(lowest, byte(at + i));
        if (lowest > ' ')
            continue;
        for (size_t i = 0; i < kStretch; ++i) {
            if (IsWhiteSpace(byte(at + i)))
                return at + i;
        }
    }
    for (; at < size; ++at) {
        if (IsWhiteSpace(byte(at)))
            return at;
    }
    return size;
}

FileReadingCount Unreadable(const std::string& path, int error) {
    FileReadingCount result;
    result.unreadable = true;
    result.detail = path + ": " + std::strerror(error);
    return result;
}

class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }

  private:
    int fd_;
};

}  // namespace

FileReadingCount CountFileReadings(const std::string& path) {
    // Through the file layer's calls, so a failing disk is seen here as in
    // every other read.
    const FileDescriptor fd(Sys().open(path.c_str(), O_RDONLY | O_CLOEXEC, 0));
    if (fd.get() < 0) {
        if (errno == ENOENT)
            return {};
        return Unreadable(path, errno);
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0)
        return Unreadable(path, errno);
    if (!S_ISREG(st.st_mode)) {
        FileReadingCount result;
        result.unreadable = true;
        result.detail = path + ": not a regular file";
        return result;
    }
    ::posix_fadvise(fd.get(), 0, 0, POSIX_FADV_SEQUENTIAL);

    // The loader never looks past one work buffer, and neither do we.
    const std::unique_ptr<char[]> block(new char[kBlockSize]);
    FileReadingCount result;
    size_t carried = 0;  // bytes of a record cut by the previous read
    size_t left = kWorkBufferSize;
    bool ended = false;
    while (!ended && left > 0) {
        const ssize_t n =
            Sys().read(fd.get(), block.get() + carried, std::min(kBlockSize - carried, left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return Unreadable(path, errno);
        }
        if (n == 0)
            break;
        left -= static_cast<size_t>(n);
        size_t filled = carried + static_cast<size_t>(n);
        // Each piece is searched for white space and counted while it is
        // still in the nearest cache.
        for (size_t start = 0; start < filled; start += kPieceSize) {
            size_t end = std::min(filled, start + kPieceSize);
            const size_t from = std::max(start, carried);
            const size_t space = from + FirstWhiteSpace(block.get() + from, end - from);
            if (space < end) {
                end = filled = space;
                ended = true;  // the file is one text token
            }
            result.count += CountedReadings(std::string_view(block.get() + start, end - start));
        }
        const size_t whole = filled - filled % kRecordSize;
        carried = filled - whole;
        std::memmove(block.get(), block.get() + whole, carried);
    }
    return result;
}

}  // namespace dorvel
