#include "support/mail_stub.h"

#include <sys/stat.h>

#include <cstdlib>
#include <sstream>

namespace dorvel::test {

namespace {
constexpr const char* kCallEnd = "--- end of call ---";
}

MailStub::MailStub(bool installed, int exitCode) {
    const char* path = std::getenv("PATH");
    oldPath_ = path != nullptr ? path : "";
    if (installed) {
        bin_.Write("xdg-email", "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done >> '" +
                                    bin_.File("calls.log") + "'\necho '" + kCallEnd + "' >> '" +
                                    bin_.File("calls.log") + "'\nexit " + std::to_string(exitCode) +
                                    "\n");
        ::chmod(bin_.File("xdg-email").c_str(), 0755);
        ::setenv("PATH", (bin_.path() + ":" + oldPath_).c_str(), 1);
    } else {
        ::setenv("PATH", bin_.path().c_str(), 1);
    }
}

MailStub::~MailStub() {
    ::setenv("PATH", oldPath_.c_str(), 1);
}

std::vector<std::vector<std::string>> MailStub::Calls() const {
    std::vector<std::vector<std::string>> calls;
    std::istringstream log(bin_.Read("calls.log"));
    std::vector<std::string> call;
    for (std::string line; std::getline(log, line);) {
        if (line == kCallEnd) {
            calls.push_back(std::move(call));
            call.clear();
        } else {
            call.push_back(line);
        }
    }
    return calls;
}

}  // namespace dorvel::test
