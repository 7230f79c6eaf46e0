#pragma once

#include <string>
#include <vector>

#include "support/temp_folder.h"

namespace dorvel::test {

// A stand-in "xdg-email" put first on PATH for the life of the object: it
// records the arguments of every call and ends with the given exit code.
// With `installed` false PATH holds only an empty folder, so the mail
// program is missing.
class MailStub {
  public:
    explicit MailStub(bool installed = true, int exitCode = 0);
    ~MailStub();
    MailStub(const MailStub&) = delete;
    MailStub& operator=(const MailStub&) = delete;

    // The arguments of each call, in call order.
    std::vector<std::vector<std::string>> Calls() const;

  private:
    TempFolder bin_;
    std::string oldPath_;
};

}  // namespace dorvel::test
