#include "print_service.h"

#include <cups/cups.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iterator>
#include <memory>

namespace dorvel::print {

namespace {

// How long a connection to the print service may take to open.
constexpr int kConnectMs = 10000;

struct HttpClose {
    void operator()(http_t* http) const { httpClose(http); }
};
using Connection = std::unique_ptr<http_t, HttpClose>;

struct IppDelete {
    void operator()(ipp_t* ipp) const { ippDelete(ipp); }
};
using Response = std::unique_ptr<ipp_t, IppDelete>;

std::string LastError() {
    const char* text = cupsLastErrorString();
    return text != nullptr ? text : "";
}

// Why no connection to the service could be made. The library keeps no
// reliable word of it; a local socket is asked again directly.
std::string WhyNoConnection() {
    const std::string server = cupsServer();
    std::string why = "keine Verbindung zu " + server;
    if (server.empty() || server.front() != '/')
        return why + ":" + std::to_string(ippPort());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    server.copy(address.sun_path, sizeof address.sun_path - 1);
    const bool reached =
        fd >= 0 && ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    const int error = errno;
    if (fd >= 0)
        ::close(fd);
    return reached ? why : why + " (" + std::strerror(error) + ")";
}

// What the queue says about itself.
struct QueueState {
    bool stopped = false;
    std::string message;  // the administrator's or the driver's reason
    std::string reasons;  // the state keywords, comma-separated
};

QueueState StateOf(http_t* http, const std::string& printer) {
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(),
                     "/printers/%s", printer.c_str());
    ipp_t* request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    static const char* const kWanted[] = {"printer-state", "printer-state-message",
                                          "printer-state-reasons"};
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                  static_cast<int>(std::size(kWanted)), nullptr, kWanted);
    QueueState state;
    const Response response(cupsDoRequest(http, request, "/"));
    if (!response)
        return state;
    if (ipp_attribute_t* a = ippFindAttribute(response.get(), "printer-state", IPP_TAG_ENUM))
        state.stopped = ippGetInteger(a, 0) == IPP_PSTATE_STOPPED;
    if (ipp_attribute_t* a =
            ippFindAttribute(response.get(), "printer-state-message", IPP_TAG_TEXT))
        state.message = ippGetString(a, 0, nullptr);
    if (ipp_attribute_t* a =
            ippFindAttribute(response.get(), "printer-state-reasons", IPP_TAG_KEYWORD)) {
        for (int i = 0; i < ippGetCount(a); ++i) {
            const std::string keyword = ippGetString(a, i, nullptr);
            if (keyword != "none")
                state.reasons += (state.reasons.empty() ? "" : ", ") + keyword;
        }
    }
    return state;
}

// The service's answer, with the queue's own reason where it gave one.
std::string Reason(const std::string& answer, const QueueState& queue) {
    const std::string& own = queue.message.empty() ? queue.reasons : queue.message;
    if (own.empty() || answer.find(own) != std::string::npos)
        return answer.empty() ? own : answer;
    return answer.empty() ? own : answer + " (" + own + ")";
}

}  // namespace

ServiceJob SendToPrinter(const std::string& printer, const QByteArray& pdf,
                         const ServiceJobOptions& options) {
    ServiceJob job;
    // A connection of its own: the service may have gone away since the
    // printers were listed, and a connection kept from then would only say so
    // in the middle of the job.
    const Connection http(httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC,
                                       cupsEncryption(), 1, kConnectMs, nullptr));
    if (!http) {
        job.reason = WhyNoConnection();
        return job;
    }

    cups_option_t* list = nullptr;
    int count = 0;
    const std::string copies = std::to_string(options.copies);
    count = cupsAddOption("copies", copies.c_str(), count, &list);
    // Copies of a certificate come as whole sets, page 1 to n, then again.
    if (options.copies > 1)
        count = cupsAddOption("multiple-document-handling", "separate-documents-collated-copies",
                              count, &list);
    if (!options.media.empty())
        count = cupsAddOption("media", options.media.c_str(), count, &list);
    job.jobId = cupsCreateJob(http.get(), printer.c_str(), options.title.c_str(), count, list);
    cupsFreeOptions(count, list);
    job.answer = ServiceAnswer::Refused;
    if (job.jobId == 0) {
        const std::string answer = LastError();
        job.reason = Reason(answer, StateOf(http.get(), printer));
        return job;
    }

    bool sent = cupsStartDocument(http.get(), printer.c_str(), job.jobId, options.title.c_str(),
                                  CUPS_FORMAT_PDF, 1) == HTTP_STATUS_CONTINUE;
    sent = sent && cupsWriteRequestData(http.get(), pdf.constData(),
                                        static_cast<size_t>(pdf.size())) == HTTP_STATUS_CONTINUE;
    // The document is finished in any case, so that the connection is free
    // for the questions below.
    const bool finished =
        cupsFinishDocument(http.get(), printer.c_str()) <= IPP_STATUS_OK_CONFLICTING;
    const std::string answer = LastError();
    const QueueState queue = StateOf(http.get(), printer);
    if (!sent || !finished || queue.stopped) {
        cupsCancelJob2(http.get(), printer.c_str(), job.jobId, 0);
        job.answer = sent && finished ? ServiceAnswer::Stopped : ServiceAnswer::Refused;
        job.reason =
            job.answer == ServiceAnswer::Stopped ? Reason({}, queue) : Reason(answer, queue);
        return job;
    }
    job.answer = ServiceAnswer::Queued;
    return job;
}

}  // namespace dorvel::print
