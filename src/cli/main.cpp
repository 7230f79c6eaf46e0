// dorvel-cli: the program's engine without windows.
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <iostream>
#include <string>

#include "cli.h"
#include "store/calendar.h"
#include "store/data_folder.h"

namespace {

using namespace dorvel::cli;

void Usage(std::ostream& out) {
    out << "Aufruf: dorvel-cli [--data DIR] [--today YYYY-MM-DD] BEFEHL ...\n"
           "        dorvel-cli BEFEHL --help\n"
           "        dorvel-cli --version\n"
           "Befehle:\n";
    for (const Command& command : Commands()) {
        out << "  " << command.name;
        if (!command.arguments.empty())
            out << ' ' << command.arguments;
        out << '\n';
    }
}

void CommandHelp(std::ostream& out, const Command& command) {
    out << UsageLine(command) << "\n\n" << command.help;
}

bool AsksForHelp(const Args& args) {
    return std::any_of(args.begin(), args.end(),
                       [](const std::string& a) { return a == "--help" || a == "-h"; });
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
        } else if (arg == "--version") {
            std::cout << "dorvel-cli " DORVEL_VERSION "\n";
            return kExitOk;
        } else {
            break;
        }
    }
    if (i >= argc) {
        Usage(std::cerr);
        return kExitError;
    }
    const Command* command = FindCommand(argv[i]);
    if (command == nullptr) {
        Usage(std::cerr);
        return Fail(ctx, std::string("unbekannter Befehl: ") + argv[i]);
    }
    const Args args(argv + i + 1, argv + argc);
    if (AsksForHelp(args)) {
        CommandHelp(std::cout, *command);
        return kExitOk;
    }
    return command->run(ctx, args);
}
