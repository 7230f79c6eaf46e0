#pragma once

#include <QByteArray>
#include <string>

namespace dorvel::print {

// What the system's print service made of a job handed to it.
enum class ServiceAnswer {
    Queued,       // the queue took the job and is not stopped
    Refused,      // the queue does not take jobs, or the job was not taken whole
    Stopped,      // the queue took the job but is stopped; the job was withdrawn again
    Unreachable,  // no print service answered
};

struct ServiceJob {
    ServiceAnswer answer = ServiceAnswer::Unreachable;
    int jobId = 0;
    std::string reason;  // the service's own words when not queued, UTF-8
    bool queued() const { return answer == ServiceAnswer::Queued; }
};

// The job as the service gets it beside the document.
struct ServiceJobOptions {
    std::string title;  // UTF-8
    int copies = 1;
    std::string media;  // the paper's name ("A4"); empty: the queue's default
};

// Hands a finished PDF to the print service's queue `printer`. A queue that
// refuses jobs, or that is stopped (its job would wait unseen and print at
// some later time), or a service that cannot be reached is answered with the
// service's reason; a stopped queue's job is cancelled so that what is
// reported as not printed never prints later.
ServiceJob SendToPrinter(const std::string& printer, const QByteArray& pdf,
                         const ServiceJobOptions& options);

}  // namespace dorvel::print
