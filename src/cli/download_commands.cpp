// download: a download or erase session against one serial device.
#include <QCoreApplication>
#include <cstdlib>
#include <ostream>

#include "cli.h"
#include "meter/messages.h"
#include "meter/meter_link.h"
#include "meter/serial_port.h"
#include "store/file_io.h"

namespace dorvel::cli {

namespace {

bool ParsePositive(const std::string& text, int& out) {
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || value < 1 || value > 1000000)
        return false;
    out = static_cast<int>(value);
    return true;
}

}  // namespace

int RunDownload(Context& ctx, const Args& args) {
    std::string device;
    std::string transcript;
    bool erase = false;
    SessionTiming timing;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--port" && hasValue) {
            device = args[++i];
        } else if (a == "--transcript" && hasValue) {
            transcript = args[++i];
        } else if (a == "--erase") {
            erase = true;
        } else if (a == "--timeout-ms" && hasValue) {
            if (!ParsePositive(args[++i], timing.responseMs))
                return UsageError(ctx, "download");
        } else if (a == "--attempts" && hasValue) {
            if (!ParsePositive(args[++i], timing.attempts))
                return UsageError(ctx, "download");
        } else if (a == "--watchdog-ms" && hasValue) {
            if (!ParsePositive(args[++i], timing.watchdogMs))
                return UsageError(ctx, "download");
        } else {
            return UsageError(ctx, "download");
        }
    }
    if (device.empty())
        return UsageError(ctx, "download");

    static int argc = 1;
    static char name[] = "dorvel-cli";
    static char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);

    SerialPort port;
    FixedPort chooser(port, device);
    MeterLink link(port, chooser, ctx.dataFolder, timing);
    int exitCode = kExitError;
    bool decoded = false;
    link.callbacks.confirm = [](const std::string&, const std::string&) { return true; };
    // A complete reply goes through the same printing as `decode`.
    link.SetDecoder([&](int count, const std::string&, const DecodeProgress&) {
        decoded = true;
        exitCode = ReportReply(ctx, link.session().rawReply());
        DecodeOutcome outcome;
        outcome.recordCount = count;
        return outcome;
    });
    SessionResult result;
    link.callbacks.finished = [&](const SessionResult& r) {
        result = r;
        QCoreApplication::exit(0);
    };
    QTimer::singleShot(0, &app, [&] {
        if (erase)
            link.session().Delete();
        else
            link.session().Receive();
    });
    app.exec();

    if (!transcript.empty()) {
        const WriteResult written = WriteFileAtomic(transcript, link.session().rawReply());
        if (!written.ok())
            return Fail(ctx, "kann " + transcript + " nicht schreiben: " + written.detail);
    }
    using Outcome = SessionResult::Outcome;
    switch (result.outcome) {
        case Outcome::Decoded:
            return decoded ? exitCode : kExitError;
        case Outcome::NoData:
            ctx.out << messages::kNoData << '\n';
            return kExitNoData;
        case Outcome::Erased:
            ctx.out << messages::kErased << '\n';
            return kExitErased;
        case Outcome::NoAnswer:
            ctx.out << result.message << '\n';
            return kExitNoAnswer;
        case Outcome::Interrupted:
            ctx.out << result.message << '\n';
            ctx.err << "dorvel-cli: " << LineFailureName(result.error.failure) << ": "
                    << "die Antwort des Messgeräts ist unvollständig\n";
            return kExitIncomplete;
        default:
            ctx.out << result.message << '\n';
            return kExitError;
    }
}

}  // namespace dorvel::cli
