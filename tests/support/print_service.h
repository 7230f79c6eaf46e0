#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

#include "support/temp_folder.h"

namespace dorvel::test {

// A print service of the test's own: a cupsd with its configuration, spool,
// logs and socket in a temporary folder, `CUPS_SERVER` pointing at it, and
// one PDF queue. The machine's own print service and its queues are never
// touched. As root the queue is the PDF printer's own backend, run with its
// configuration laid over /etc/cups in a mount namespace of the service
// alone; where that backend cannot run (it insists on root), a stand-in
// backend of the fixture turns what the queue sends into the PDF the same
// way.
class PrivatePrintService {
  public:
    static constexpr const char* kQueue = "Testdrucker";
    static constexpr const char* kLocation = "Prüfstand";

    // What is missing on this machine for the service, empty when nothing is.
    static std::string Missing();

    PrivatePrintService();
    ~PrivatePrintService();
    PrivatePrintService(const PrivatePrintService&) = delete;
    PrivatePrintService& operator=(const PrivatePrintService&) = delete;

    // Starts the service and adds the queue; false with `problem` told.
    bool Start(std::string* problem);
    // Stops the service; jobs and files stay.
    void Stop();
    bool running() const { return pid_ > 0; }

    // Runs a command of the print service's tools against this service
    // ("cupsdisable -r reason Testdrucker"); returns its exit status.
    int Run(const std::string& command, std::string* out = nullptr) const;
    // Waits until the queue has no job left and `count` PDFs are written;
    // false when that does not happen within `limit`.
    bool WaitForOutputs(size_t count, std::chrono::seconds limit) const;
    // The PDFs the queue has written, oldest job first.
    std::vector<std::string> Outputs() const;
    // The queue's jobs not yet finished.
    int ActiveJobs() const;
    // Whether the queue is the PDF printer's own backend (root) or the stand-in.
    bool ownBackend() const { return ownBackend_; }

  private:
    std::string WriteConfiguration();
    TempFolder folder_;
    std::string socket_;
    std::string previousServer_;
    bool hadServer_ = false;
    bool ownBackend_ = false;
    pid_t pid_ = -1;
};

}  // namespace dorvel::test
