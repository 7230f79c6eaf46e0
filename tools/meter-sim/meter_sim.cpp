// dorvel-meter-sim: answers the meter's serial protocol on a pseudo-terminal.
//
// Prints the device path of the terminal on the first line of standard output,
// then serves requests until a signal ends it (SIGTERM, SIGINT, SIGHUP); its
// standard input is not read, so a script may start it with </dev/null.
// "S" is answered with a header and the stored records, "ERS" with the erase
// acknowledgement (after which the memory is empty). Bytes are paced at the
// real 4800-baud line rate unless --fast is given. --chatter and --echo make
// it a device that is no meter at all.
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Options {
    std::string recordsFile;
    int generate = -1;
    unsigned seed = 1;
    int users = 2;
    char headerForm = 's';  // 's': 'S', three digits, CR LF; 'n': digits, CR LF
    size_t chunk = 16;
    bool fast = false;
    int baud = 4800;
    bool silent = false;
    long stallAfter = -1;  // stop sending after this many reply bytes
    int noise = 0;         // bytes of noise put into the records
    int wrongCount = -1;   // count announced instead of the real one
    long cutShort = 0;     // bytes left off the end of the reply
    std::string eraseReply = "ERS";
    long vanishAfter = -1;  // close the terminal after this many reply bytes and exit
    std::string mode;       // octal permission bits for the device
    bool chatter = false;   // keeps sending position sentences, answers nothing
    bool echo = false;      // sends back what it receives, answers nothing
    bool help = false;
};

const char* const kUsage =
    "Aufruf: dorvel-meter-sim [--records FILE | --generate N] [--seed S] [--users U]\n"
    "  [--header s|n] [--chunk BYTES] [--fast] [--baud B]\n"
    "  [--silent] [--stall-after N] [--noise N] [--wrong-count N] [--cut-short N]\n"
    "  [--erase-reply TEXT] [--vanish-after N] [--mode OCTAL] [--chatter | --echo]\n";

void Help() {
    std::cout
        << kUsage
        << "\n"
           "Ein virtuelles Messgerät an einem Pseudo-Terminal. Die erste Zeile der Ausgabe\n"
           "nennt das Gerät (z. B. /dev/pts/3); \"S\" wird mit den Messwerten beantwortet,\n"
           "\"ERS\" löscht sie. --chatter sendet ständig Positionssätze wie ein GPS-Empfänger,\n"
           "--echo schickt jedes Byte zurück wie ein Modem; beide antworten nie als Messgerät.\n"
           "\n"
           "Das Programm läuft, bis ein Signal es beendet: Strg+C (SIGINT), kill (SIGTERM)\n"
           "oder SIGHUP. Die Standardeingabe wird nicht gelesen; ein Start mit </dev/null\n"
           "beendet es nicht.\n";
}

// One position sentence of a GPS receiver: 4800 baud, 8N1, like the meter.
const char* const kChatterSentence =
    "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47\r\n";

std::string Digits(int value, int width) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%0*d", width, value);
    return buffer;
}

// Plausible readings of a few users, in the order a meter keeps them.
std::string GenerateRecords(int count, unsigned seed, int users) {
    std::mt19937 rng(seed);
    std::string out;
    for (int i = 0; i < count; ++i) {
        const int user = (users > 1 && i % users == users - 1) ? 121 : 1 + i % std::max(users, 1);
        const int yy = 20 + static_cast<int>(rng() % 6);
        const int month = 1 + static_cast<int>(rng() % 12);
        const int day = 1 + static_cast<int>(rng() % 28);
        out += Digits(user, 3) + Digits(static_cast<int>(rng() % 5), 1) + Digits(yy, 2) +
               Digits(month, 2) + Digits(day, 2) + Digits(static_cast<int>(rng() % 24), 2) +
               Digits(static_cast<int>(rng() % 60), 2) +
               Digits(40 + static_cast<int>(rng() % 400), 3) +
               Digits(180 + static_cast<int>(rng() % 120), 3) + "00";
    }
    return out;
}

bool ReadRecords(const std::string& path, std::string& records) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::string token;
    std::ostringstream all;
    // Records may stand one a line or back to back.
    while (in >> token)
        all << token;
    records = all.str();
    records.resize(records.size() / 22 * 22);
    return true;
}

struct Meter {
    Options opt;
    std::string records;
    int master = -1;
    int slave = -1;  // held open so the master never sees a hang-up between clients
    long sentInReply = 0;
    bool vanished = false;

    std::string DownloadReply() const {
        const int real = static_cast<int>(records.size() / 22);
        const int count = opt.wrongCount >= 0 ? opt.wrongCount : real;
        std::string header;
        if (opt.headerForm == 'n')
            header = std::to_string(count) + "\r\n";
        else
            header = "S" + Digits(count, 3) + "\r\n";
        std::string body = count == 0 && opt.wrongCount < 0 ? std::string() : records;
        if (opt.noise > 0 && !body.empty()) {
            std::mt19937 rng(opt.seed + 7);
            for (int i = 0; i < opt.noise; ++i)
                body[rng() % body.size()] = static_cast<char>("#?*\x7f"[rng() % 4]);
        }
        std::string reply = header + body;
        if (opt.cutShort > 0)
            reply.resize(reply.size() > static_cast<size_t>(opt.cutShort)
                             ? reply.size() - static_cast<size_t>(opt.cutShort)
                             : 0);
        return reply;
    }

    // Sends the reply chunk by chunk; each chunk leaves when its last byte
    // would have left a real 4800-baud line, measured from one start time so
    // that sleeping late never adds up.
    void Send(const std::string& reply) {
        using Clock = std::chrono::steady_clock;
        const auto start = Clock::now();
        const double secondsPerByte = 10.0 / opt.baud;
        size_t pos = 0;
        while (pos < reply.size()) {
            size_t n = std::min(opt.chunk, reply.size() - pos);
            if (opt.stallAfter >= 0) {
                if (sentInReply >= opt.stallAfter)
                    return;
                n = std::min<size_t>(n, static_cast<size_t>(opt.stallAfter - sentInReply));
            }
            if (opt.vanishAfter >= 0) {
                if (sentInReply >= opt.vanishAfter) {
                    Vanish();
                    return;
                }
                n = std::min<size_t>(n, static_cast<size_t>(opt.vanishAfter - sentInReply));
            }
            if (!opt.fast) {
                const auto due = start + std::chrono::duration_cast<Clock::duration>(
                                             std::chrono::duration<double>(
                                                 secondsPerByte * static_cast<double>(pos + n)));
                std::this_thread::sleep_until(due);
            }
            size_t done = 0;
            while (done < n) {
                const ssize_t w = ::write(master, reply.data() + pos + done, n - done);
                if (w < 0) {
                    if (errno == EINTR || errno == EAGAIN) {
                        std::this_thread::sleep_for(std::chrono::milliseconds(1));
                        continue;
                    }
                    return;
                }
                done += static_cast<size_t>(w);
            }
            pos += n;
            sentInReply += static_cast<long>(n);
        }
        if (opt.vanishAfter >= 0 && sentInReply >= opt.vanishAfter)
            Vanish();
    }

    void Vanish() {
        // The bytes sent so far reach the reader first, as those a pulled
        // adapter had already passed on: a hang-up would discard them. The
        // terminal takes a moment to queue what was written.
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        for (int waited = 0; waited < 1000; waited += 5) {
            int queued = 0;
            if (::ioctl(slave, FIONREAD, &queued) != 0 || queued == 0)
                break;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        ::close(slave);
        ::close(master);
        vanished = true;
    }

    // Written only when the terminal has room: nobody may be reading.
    void Chatter() const {
        const ssize_t w = ::write(master, kChatterSentence, std::strlen(kChatterSentence));
        (void)w;
    }

    void Serve(std::string& pending) {
        if (opt.echo) {
            Send(pending);
            pending.clear();
            return;
        }
        if (opt.chatter) {
            pending.clear();
            return;
        }
        for (;;) {
            if (pending.empty())
                return;
            if (pending[0] == 'S') {
                pending.erase(0, 1);
                if (!opt.silent) {
                    sentInReply = 0;
                    Send(DownloadReply());
                }
            } else if (pending[0] == 'E') {
                if (pending.size() < 3)
                    return;
                if (pending.compare(0, 3, "ERS") != 0) {
                    pending.erase(0, 1);
                    continue;
                }
                pending.erase(0, 3);
                if (!opt.silent) {
                    sentInReply = 0;
                    Send(opt.eraseReply);
                    records.clear();
                }
            } else {
                pending.erase(0, 1);
            }
            if (vanished)
                return;
        }
    }
};

bool ParseOptions(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto next = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
        auto number = [&](long& out) {
            const char* v = next();
            if (!v)
                return false;
            char* end = nullptr;
            out = std::strtol(v, &end, 10);
            return *end == '\0';
        };
        long n = 0;
        if (a == "--records") {
            const char* v = next();
            if (!v)
                return false;
            o.recordsFile = v;
        } else if (a == "--generate") {
            if (!number(n) || n < 0 || n > 999)
                return false;
            o.generate = static_cast<int>(n);
        } else if (a == "--seed") {
            if (!number(n))
                return false;
            o.seed = static_cast<unsigned>(n);
        } else if (a == "--users") {
            if (!number(n) || n < 1)
                return false;
            o.users = static_cast<int>(n);
        } else if (a == "--header") {
            const char* v = next();
            if (!v || (std::strcmp(v, "s") != 0 && std::strcmp(v, "n") != 0))
                return false;
            o.headerForm = v[0];
        } else if (a == "--chunk") {
            if (!number(n) || n < 1)
                return false;
            o.chunk = static_cast<size_t>(n);
        } else if (a == "--baud") {
            if (!number(n) || n < 1)
                return false;
            o.baud = static_cast<int>(n);
        } else if (a == "--fast") {
            o.fast = true;
        } else if (a == "--silent") {
            o.silent = true;
        } else if (a == "--stall-after") {
            if (!number(o.stallAfter))
                return false;
        } else if (a == "--noise") {
            if (!number(n))
                return false;
            o.noise = static_cast<int>(n);
        } else if (a == "--wrong-count") {
            if (!number(n) || n < 0 || n > 999)
                return false;
            o.wrongCount = static_cast<int>(n);
        } else if (a == "--cut-short") {
            if (!number(o.cutShort))
                return false;
        } else if (a == "--erase-reply") {
            const char* v = next();
            if (!v)
                return false;
            o.eraseReply = v;
        } else if (a == "--vanish-after") {
            if (!number(o.vanishAfter))
                return false;
        } else if (a == "--chatter") {
            o.chatter = true;
        } else if (a == "--echo") {
            o.echo = true;
        } else if (a == "--help") {
            o.help = true;
        } else if (a == "--mode") {
            const char* v = next();
            if (!v)
                return false;
            o.mode = v;
        } else {
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    Meter meter;
    if (!ParseOptions(argc, argv, meter.opt) || (meter.opt.chatter && meter.opt.echo)) {
        std::cerr << kUsage;
        return 1;
    }
    if (meter.opt.help) {
        Help();
        return 0;
    }
    if (!meter.opt.recordsFile.empty()) {
        if (!ReadRecords(meter.opt.recordsFile, meter.records)) {
            std::cerr << "dorvel-meter-sim: kann " << meter.opt.recordsFile << " nicht lesen\n";
            return 1;
        }
    } else {
        meter.records = GenerateRecords(meter.opt.generate < 0 ? 20 : meter.opt.generate,
                                        meter.opt.seed, meter.opt.users);
    }

    meter.master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (meter.master < 0 || ::grantpt(meter.master) != 0 || ::unlockpt(meter.master) != 0) {
        std::perror("dorvel-meter-sim: posix_openpt");
        return 1;
    }
    const char* name = ::ptsname(meter.master);
    if (name == nullptr) {
        std::perror("dorvel-meter-sim: ptsname");
        return 1;
    }
    const std::string device = name;
    meter.slave = ::open(device.c_str(), O_RDWR | O_NOCTTY);
    if (meter.slave < 0) {
        std::perror("dorvel-meter-sim: open");
        return 1;
    }
    termios tio{};
    if (::tcgetattr(meter.slave, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::tcsetattr(meter.slave, TCSANOW, &tio);
    }
    if (!meter.opt.mode.empty())
        ::chmod(device.c_str(),
                static_cast<mode_t>(std::strtol(meter.opt.mode.c_str(), nullptr, 8)));

    // A chattering device must never block on a terminal nobody reads.
    if (meter.opt.chatter)
        ::fcntl(meter.master, F_SETFL, ::fcntl(meter.master, F_GETFL) | O_NONBLOCK);

    std::cout << device << std::endl;

    // Serves until a signal's default action ends the process.
    std::string pending;
    // A chattering device sends one sentence after the other at its line rate.
    const int sentenceMs =
        meter.opt.fast ? 10
                       : static_cast<int>(std::strlen(kChatterSentence) * 10000 / meter.opt.baud);
    for (;;) {
        pollfd fds[1] = {{meter.master, POLLIN, 0}};
        const int r = ::poll(fds, 1, meter.opt.chatter ? sentenceMs : -1);
        if (r < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (meter.opt.chatter)
            meter.Chatter();
        if (fds[0].revents & POLLIN) {
            char buffer[256];
            const ssize_t n = ::read(meter.master, buffer, sizeof buffer);
            if (n > 0) {
                pending.append(buffer, static_cast<size_t>(n));
                meter.Serve(pending);
                if (meter.vanished)
                    return 0;
            }
        }
    }
    return 0;
}
