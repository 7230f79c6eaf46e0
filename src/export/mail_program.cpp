#include "mail_program.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstring>
#include <thread>

extern char** environ;

namespace dorvel::exports {

namespace {

// The documented exit codes of xdg-email.
std::string ExitCodeText(int code) {
    switch (code) {
        case 1:
            return "der Aufruf wurde nicht verstanden";
        case 2:
            return "eine angehängte Datei wurde nicht gefunden";
        case 3:
            return "es ist kein E-Mail-Programm eingerichtet";
        case 4:
            return "das E-Mail-Programm meldet einen Fehler";
        case 5:
            return "keine Berechtigung";
        default:
            if (code < 0)
                return "das Programm wurde durch Signal " + std::to_string(-code) + " beendet";
            return "Fehler " + std::to_string(code);
    }
}

void NoteEnd(MailRun& run, int status) {
    run.pid = -1;
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) {
        run.state = MailRun::State::HandedOver;
        return;
    }
    run.state = MailRun::State::Failed;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
}

}  // namespace

MailRun StartMailProgram(const std::vector<std::string>& arguments) {
    MailRun run;
    if (arguments.empty()) {
        run.detail = "kein Programm";
        return run;
    }
    std::vector<char*> argv;
    argv.reserve(arguments.size() + 1);
    for (const std::string& a : arguments)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    // The program gets the signals' usual meaning back, whatever we ignore.
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    sigaddset(&defaults, SIGXFSZ);
    posix_spawnattr_setsigdefault(&attr, &defaults);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGDEF);

    pid_t pid = -1;
    const int error = posix_spawnp(&pid, argv[0], nullptr, &attr, argv.data(), environ);
    posix_spawnattr_destroy(&attr);
    if (error != 0) {
        run.state = error == ENOENT ? MailRun::State::Missing : MailRun::State::Failed;
        run.detail = arguments[0] + ": " + std::strerror(error);
        return run;
    }
    run.state = MailRun::State::Running;
    run.pid = pid;
    return run;
}

void PollMailProgram(MailRun& run) {
    if (run.state != MailRun::State::Running)
        return;
    int status = 0;
    pid_t ended = 0;
    do {
        ended = ::waitpid(run.pid, &status, WNOHANG);
    } while (ended < 0 && errno == EINTR);
    if (ended == run.pid) {
        NoteEnd(run, status);
    } else if (ended < 0) {
        // Someone else collected it; it did start, which is all we can say.
        run.pid = -1;
        run.state = MailRun::State::HandedOver;
    }
}

void WaitForMailProgram(MailRun& run, std::chrono::milliseconds limit) {
    const auto until = std::chrono::steady_clock::now() + limit;
    PollMailProgram(run);
    while (run.state == MailRun::State::Running && std::chrono::steady_clock::now() < until) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        PollMailProgram(run);
    }
}

std::string MailProblemText(const MailRun& run, const std::string& mailFolder) {
    std::string text;
    if (run.state == MailRun::State::Missing) {
        text =
            "Das E-Mail-Programm kann nicht aufgerufen werden: xdg-email fehlt. Bitte das "
            "Paket xdg-utils und ein E-Mail-Programm installieren.";
    } else if (!run.detail.empty()) {
        text = "Das E-Mail-Programm kann nicht gestartet werden (" + run.detail + ").";
    } else {
        text = "Die E-Mail konnte nicht übergeben werden: " + ExitCodeText(run.exitCode) + ".";
    }
    return text + " Die Dateien liegen in " + mailFolder + ".";
}

}  // namespace dorvel::exports
