// dorvel-cli: the program's engine without windows.
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <iostream>
#include <map>
#include <string>

#include "cli.h"
#include "store/calendar.h"
#include "store/data_folder.h"

namespace {

using namespace dorvel::cli;

const std::map<std::string, int (*)(Context&, const Args&)>& Commands() {
    static const std::map<std::string, int (*)(Context&, const Args&)> commands = {
        // clang-format off
        {"certificate", RunCertificate},
        {"decode", RunDecode},
        {"download", RunDownload},
        {"export", RunExport},
        {"import", RunImport},
        {"mail", RunMail},
        {"patients", RunPatients},
        {"readings", RunReadings},
        {"report", RunReport},
        {"stats", RunStats},
        // clang-format on
    };
    return commands;
}

void Usage(std::ostream& out) {
    out << "Aufruf: dorvel-cli [--data DIR] [--today YYYY-MM-DD] COMMAND ...\n"
           "Befehle:";
    for (const auto& [name, fn] : Commands())
        out << ' ' << name;
    out << '\n';
}

std::string WorkingFolder() {
    char buffer[4096];
    if (::getcwd(buffer, sizeof buffer) != nullptr)
        return buffer;
    return ".";
}

}  // namespace

int main(int argc, char** argv) {
    // A file-size limit (ulimit -f) then makes a write fail with EFBIG, which
    // the writers report and recover from, instead of killing the program
    // halfway through replacing a file.
    std::signal(SIGXFSZ, SIG_IGN);
    Context ctx{dorvel::ResolveDataFolder(WorkingFolder()), dorvel::Clock::FromEnvironment(),
                std::cout, std::cerr};
    int i = 1;
    for (; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--data" && i + 1 < argc) {
            ctx.dataFolder = argv[++i];
        } else if (arg == "--today" && i + 1 < argc) {
            const auto date = dorvel::ParseIsoDate(argv[++i]);
            if (!date)
                return Fail(ctx, std::string("--today: kein Datum (YYYY-MM-DD): ") + argv[i]);
            ctx.clock = dorvel::Clock(date);
        } else if (arg == "--help" || arg == "-h") {
            Usage(std::cout);
            return kExitOk;
        } else {
            break;
        }
    }
    if (i >= argc) {
        Usage(std::cerr);
        return kExitError;
    }
    const auto command = Commands().find(argv[i]);
    if (command == Commands().end()) {
        Usage(std::cerr);
        return Fail(ctx, std::string("unbekannter Befehl: ") + argv[i]);
    }
    Args args(argv + i + 1, argv + argc);
    return command->second(ctx, args);
}
