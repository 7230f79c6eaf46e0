#include "meter_sim.h"

#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

namespace dorvel::test {

MeterSim::MeterSim(const std::string& program, const std::vector<std::string>& options) {
    int in[2];
    int out[2];
    if (::pipe(in) != 0 || ::pipe(out) != 0)
        return;
    pid_ = ::fork();
    if (pid_ == 0) {
        // The simulator runs until signalled: a test that crashes must not leave it behind.
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        ::dup2(in[0], STDIN_FILENO);
        ::dup2(out[1], STDOUT_FILENO);
        ::close(in[0]);
        ::close(in[1]);
        ::close(out[0]);
        ::close(out[1]);
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(program.c_str()));
        for (const std::string& o : options)
            argv.push_back(const_cast<char*>(o.c_str()));
        argv.push_back(nullptr);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    ::close(in[0]);
    ::close(out[1]);
    stdinFd_ = in[1];
    char c = 0;
    while (::read(out[0], &c, 1) == 1 && c != '\n')
        device_ += c;
    ::close(out[0]);
}

void MeterSim::CloseInput() {
    if (stdinFd_ >= 0)
        ::close(stdinFd_);
    stdinFd_ = -1;
}

bool MeterSim::Running() {
    if (pid_ <= 0)
        return false;
    if (::waitpid(pid_, nullptr, WNOHANG) == 0)
        return true;
    pid_ = -1;  // reaped: never signal a number another process may get
    return false;
}

MeterSim::~MeterSim() {
    if (stdinFd_ >= 0)
        ::close(stdinFd_);
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
    }
}

}  // namespace dorvel::test
