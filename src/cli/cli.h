#pragma once

#include <iosfwd>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "store/clock.h"

namespace dorvel::cli {

struct Context {
    std::string dataFolder;
    Clock clock;
    std::ostream& out;
    std::ostream& err;
};

using Args = std::vector<std::string>;

// Exit codes shared by the commands.
inline constexpr int kExitOk = 0;
inline constexpr int kExitError = 1;
inline constexpr int kExitNoAnswer = 2;
inline constexpr int kExitIncomplete = 3;
inline constexpr int kExitNoData = 4;
inline constexpr int kExitErased = 5;
inline constexpr int kExitRejected = 6;

// Prints one line to standard error and returns kExitError.
int Fail(Context& ctx, const std::string& message);

// One command of the command line, its arguments and its help, kept in one
// table so that every command answers --help alike.
struct Command {
    std::string_view name;
    int (*run)(Context&, const Args&);
    std::string_view arguments;  // what follows the command's name
    std::string_view help;       // what it does and prints; lines end in '\n'
};
std::span<const Command> Commands();
const Command* FindCommand(std::string_view name);

// "Aufruf: NAME ARGUMENTS"
std::string UsageLine(const Command& command);
// The usage line of the named command as the one error line; kExitError.
int UsageError(Context& ctx, std::string_view command);

// Checks the ID and that the patient is known (a profile or a data file exists).
bool RequireKnownPatient(Context& ctx, const std::string& id);
bool RequireValidPatientId(Context& ctx, const std::string& id);

// Judges an accumulated meter reply, decodes a complete one into the
// received-data files and prints the users found; returns the exit code.
int ReportReply(Context& ctx, const std::string& reply);

int RunDecode(Context& ctx, const Args& args);
int RunDownload(Context& ctx, const Args& args);
int RunImport(Context& ctx, const Args& args);
int RunReadings(Context& ctx, const Args& args);
int RunPatients(Context& ctx, const Args& args);
int RunStats(Context& ctx, const Args& args);
int RunReport(Context& ctx, const Args& args);
int RunExport(Context& ctx, const Args& args);
int RunCertificate(Context& ctx, const Args& args);
int RunMail(Context& ctx, const Args& args);
int RunPrint(Context& ctx, const Args& args);

}  // namespace dorvel::cli
