#pragma once

#include <string>

#include "store/file_io.h"

namespace dorvel::test {

// Makes chosen system calls of the file layer fail through its own seam, the
// way a failing disk does; everything else reaches the real files. One at a time.
class FileFaults {
  public:
    FileFaults();
    ~FileFaults();

    // Opening a path that ends in `suffix` for reading fails with EIO.
    void FailReading(const std::string& suffix);
    // Syncing a folder fails with EIO.
    void FailFolderSync();
    // Listing a folder fails with `error`.
    void FailListing(int error);

  private:
    ScopedFileCalls scope_;
};

}  // namespace dorvel::test
