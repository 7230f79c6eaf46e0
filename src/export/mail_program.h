#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

namespace dorvel::exports {

// One run of the mail program. It shows its compose window on its own; we
// learn only whether it could be started and how its hand-over ended.
struct MailRun {
    enum class State {
        Running,     // started, not ended yet (its window may stay open a while)
        HandedOver,  // ended with success
        Missing,     // the program is not installed (not on PATH)
        Failed,      // could not be started, or ended with an error
    };
    State state = State::Failed;
    pid_t pid = -1;
    int exitCode = 0;    // of a run that ended with an error; -N for signal N
    std::string detail;  // why a start failed
};

// Starts `arguments[0]`, looked up on PATH, with the arguments as they are:
// never through a shell.
MailRun StartMailProgram(const std::vector<std::string>& arguments);

// Notes, without waiting, whether a running program has ended.
void PollMailProgram(MailRun& run);

// Waits up to `limit` for a running program to end. One still running after
// it keeps the state Running: its window is open and it is in the user's hands.
void WaitForMailProgram(MailRun& run, std::chrono::milliseconds limit);

// What to tell the user about a run that is Missing or Failed (UTF-8): what
// went wrong, what to install, and where the files are.
std::string MailProblemText(const MailRun& run, const std::string& mailFolder);

}  // namespace dorvel::exports
