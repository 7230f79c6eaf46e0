#include "support/print_service.h"

#include <cups/cups.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

namespace dorvel::test {

namespace fs = std::filesystem;

namespace {

constexpr const char* kCupsd = "/usr/sbin/cupsd";
constexpr const char* kServerBin = "/usr/lib/cups";
constexpr const char* kPdfBackend = "/usr/lib/cups/backend/cups-pdf";
constexpr const char* kPdfPpd = "/usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd";

std::string Quoted(const std::string& text) {
    return "'" + text + "'";
}

bool Accepts(const std::string& socketPath) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0)
        return false;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, socketPath.c_str(), sizeof address.sun_path - 1);
    const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return ok;
}

// Turns what the queue sends (PostScript from the queue's filters) into a
// PDF, one file per job, as the PDF printer's own backend does.
constexpr const char* kStandIn = R"(#!/bin/sh
[ $# -ge 5 ] || exit 0
out=${DEVICE_URI#pdf-out:}
gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=pdfwrite -sOutputFile="$out/.job_$1" "${6:--}" &&
  mv "$out/.job_$1" "$out/job_$1.pdf"
)";

}  // namespace

std::string PrivatePrintService::Missing() {
    std::string missing;
    if (!fs::exists(kCupsd) || !fs::exists("/usr/sbin/lpadmin"))
        missing += " cups";
    if (!fs::exists(kPdfBackend) || !fs::exists(kPdfPpd) || !fs::exists("/usr/bin/gs"))
        missing += " printer-driver-cups-pdf";
    return missing.empty() ? missing : missing.substr(1);
}

PrivatePrintService::PrivatePrintService() {
    socket_ = folder_.File("cups.sock");
    if (const char* server = std::getenv("CUPS_SERVER")) {
        hadServer_ = true;
        previousServer_ = server;
    }
}

PrivatePrintService::~PrivatePrintService() {
    Stop();
    if (hadServer_)
        ::setenv("CUPS_SERVER", previousServer_.c_str(), 1);
    else
        ::unsetenv("CUPS_SERVER");
    cupsSetServer(nullptr);
}

std::string PrivatePrintService::WriteConfiguration() {
    const std::string& dir = folder_.path();
    // As root the service's filters run as the user lp: they need to reach
    // the spool below this folder and write their temporary files.
    fs::permissions(dir, fs::perms(0755));
    for (const char* sub :
         {"etc", "spool", "cache", "state", "log", "out", "pdf-conf", "pdf-spool"})
        fs::create_directories(folder_.File(sub));
    fs::create_directories(folder_.File("tmp"));
    fs::permissions(folder_.File("tmp"), fs::perms(01777));

    folder_.Write("cupsd.conf", "Listen " + socket_ + R"(
Browsing No
DefaultShared No
WebInterface No
LogLevel warn
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
)");
    std::string files =
        "ServerRoot " + folder_.File("etc") + "\nRequestRoot " + folder_.File("spool") +
        "\nCacheDir " + folder_.File("cache") + "\nStateDir " + folder_.File("state") +
        "\nTempDir " + folder_.File("tmp") + "\nErrorLog " + folder_.File("log/error_log") +
        "\nAccessLog " + folder_.File("log/access_log") + "\nPageLog " +
        folder_.File("log/page_log") + "\nPrintcap " + folder_.File("printcap") + "\n";

    // The printer makes no copies of its own: the service's filters do, as
    // for many real printers, so the PDF shows every copy.
    std::ifstream ppd(kPdfPpd, std::ios::binary);
    folder_.Write("queue.ppd", std::string(std::istreambuf_iterator<char>(ppd), {}) +
                                   "*cupsManualCopies: True\n");

    ownBackend_ = false;
    if (::geteuid() == 0) {
        folder_.Write("pdf-conf/cups-pdf.conf",
                      "Out " + folder_.File("out") + "\nAnonDirName " + folder_.File("out") +
                          "\nSpool " + folder_.File("pdf-spool") + "\nLog " + folder_.File("log") +
                          "\nGSTmp " + folder_.File("tmp") + "\nLabel 2\n");
        // The backend reads its configuration from /etc/cups only: a mount
        // namespace of the service alone lays this folder's over it.
        ownBackend_ = RunCommand("unshare --mount --propagation private sh -c " +
                                 Quoted("mount --bind " + folder_.File("pdf-conf") + " /etc/cups") +
                                 " 2>/dev/null") == 0;
    }
    if (ownBackend_) {
        folder_.Write("cups-files.conf", files);
        return "cups-pdf:/";
    }
    // The stand-in: the system's filters and helpers, the fixture's backend.
    const std::string bin = folder_.File("bin");
    fs::create_directories(bin + "/backend");
    for (const auto& entry : fs::directory_iterator(kServerBin)) {
        if (entry.path().filename() != "backend")
            fs::create_directory_symlink(entry.path(),
                                         bin + "/" + entry.path().filename().string());
    }
    // As root without the namespace the backend runs as the user lp.
    fs::permissions(folder_.File("out"), fs::perms(0777));
    folder_.Write("bin/backend/pdf-out", kStandIn);
    fs::permissions(bin + "/backend/pdf-out", fs::perms(0755));
    folder_.Write("cups-files.conf", files + "ServerBin " + bin + "\n");
    return "pdf-out:" + folder_.File("out");
}

bool PrivatePrintService::Start(std::string* problem) {
    if (socket_.size() >= sizeof(sockaddr_un::sun_path)) {
        *problem = "temporary folder too deep for a socket: " + socket_;
        return false;
    }
    const std::string device = WriteConfiguration();
    ::setenv("CUPS_SERVER", socket_.c_str(), 1);
    cupsSetServer(nullptr);  // read again from the environment

    const std::string conf = folder_.File("cupsd.conf");
    const std::string files = folder_.File("cups-files.conf");
    const std::string serve =
        std::string("exec ") + kCupsd + " -f -c " + Quoted(conf) + " -s " + Quoted(files);
    const std::string script =
        ownBackend_ ? "mount --bind " + Quoted(folder_.File("pdf-conf")) + " /etc/cups && " + serve
                    : serve;
    const std::string log = folder_.File("log/cupsd.out");
    pid_ = ::fork();
    if (pid_ == 0) {
        const int fd = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(fd, STDOUT_FILENO);
        ::dup2(fd, STDERR_FILENO);
        if (ownBackend_)
            ::execlp("unshare", "unshare", "--mount", "--propagation", "private", "sh", "-c",
                     script.c_str(), static_cast<char*>(nullptr));
        else
            ::execlp("sh", "sh", "-c", script.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!Accepts(socket_)) {
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_ ||
            std::chrono::steady_clock::now() > deadline) {
            pid_ = -1;
            *problem = "the print service did not start: " + folder_.Read("log/cupsd.out") +
                       folder_.Read("log/error_log");
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    std::string out;
    if (Run(std::string("lpadmin -p ") + kQueue + " -E -v " + Quoted(device) + " -P " +
                Quoted(folder_.File("queue.ppd")) + " -D 'PDF-Drucker' -L " + Quoted(kLocation) +
                // PostScript from this renderer keeps the glyphs' names, so the
                // PDF made from it still carries its text.
                " -o pdftops-renderer-default=pdftocairo 2>&1",
            &out) != 0) {
        *problem = "the queue could not be added: " + out;
        return false;
    }
    return true;
}

void PrivatePrintService::Stop() {
    if (pid_ <= 0)
        return;
    ::kill(pid_, SIGTERM);
    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (::waitpid(pid_, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    pid_ = -1;
}

int PrivatePrintService::Run(const std::string& command, std::string* out) const {
    // The administration tools live in sbin, which a user's PATH may lack.
    return RunCommand("PATH=/usr/sbin:/sbin:$PATH CUPS_SERVER=" + Quoted(socket_) + " " + command,
                      out);
}

int PrivatePrintService::ActiveJobs() const {
    cups_job_t* jobs = nullptr;
    const int count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, kQueue, 0, CUPS_WHICHJOBS_ACTIVE);
    cupsFreeJobs(count, jobs);
    return count;
}

std::vector<std::string> PrivatePrintService::Outputs() const {
    std::vector<std::pair<int, std::string>> found;
    for (const auto& entry : fs::directory_iterator(folder_.File("out"))) {
        const std::string name = entry.path().filename().string();
        const auto job = name.rfind("job_");
        if (entry.path().extension() == ".pdf" && job != std::string::npos)
            found.emplace_back(std::atoi(name.c_str() + job + 4), entry.path().string());
    }
    std::sort(found.begin(), found.end());
    std::vector<std::string> paths;
    for (auto& [job, path] : found)
        paths.push_back(std::move(path));
    return paths;
}

bool PrivatePrintService::WaitForOutputs(size_t count, std::chrono::seconds limit) const {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (ActiveJobs() != 0 || Outputs().size() < count) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

}  // namespace dorvel::test
