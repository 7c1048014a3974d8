// SPDX-License-Identifier: MIT
#include "player_process.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace verasco::head {
namespace {

constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

volatile sig_atomic_t pendingSignal = 0;
volatile sig_atomic_t childPid = 0;

void OnEndingSignal(int signal) {
    if (pendingSignal == 0)
        pendingSignal = signal;
    const pid_t child = childPid;
    if (child > 0)
        kill(child, signal);
}

sigset_t EndingSignalSet() {
    sigset_t set;
    sigemptyset(&set);
    for (int s : kEndingSignals)
        sigaddset(&set, s);
    return set;
}

[[noreturn]] void StartChild(const std::string& program, const std::vector<std::string>& arguments,
                             const std::string& folder, const sigset_t& previousMask) {
    for (int s : kEndingSignals)
        std::signal(s, SIG_DFL);
    sigprocmask(SIG_SETMASK, &previousMask, nullptr);
    // The player goes too when the head is killed outright.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& a : arguments)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    if (chdir(folder.c_str()) == 0)
        execv(program.c_str(), argv.data());
    std::fprintf(stderr, "cannot start %s: %s\n", program.c_str(), std::strerror(errno));
    _exit(127);
}

} // namespace

void InstallSignalForwarding() {
    struct sigaction action {};
    action.sa_handler = OnEndingSignal;
    sigemptyset(&action.sa_mask);
    for (int s : kEndingSignals)
        sigaction(s, &action, nullptr);
}

int PendingSignal() {
    return pendingSignal;
}

int RunAndWait(const std::string& program, const std::vector<std::string>& arguments,
               const std::string& folder, const std::string& temporaryFolder) {
    // The head reads TMPDIR only before this, and runs one thread: the child inherits the change.
    if (setenv("TMPDIR", temporaryFolder.c_str(), 1) != 0)
        throw std::runtime_error(std::string("cannot start the player: ") + std::strerror(errno));
    // No signal may slip in between the start of the child and the moment the head knows it.
    const sigset_t ending = EndingSignalSet();
    sigset_t previous;
    sigprocmask(SIG_BLOCK, &ending, &previous);
    const pid_t pid = fork();
    if (pid == 0)
        StartChild(program, arguments, folder, previous);
    if (pid < 0) {
        const int error = errno;
        sigprocmask(SIG_SETMASK, &previous, nullptr);
        throw std::runtime_error(std::string("cannot start the player: ") + std::strerror(error));
    }
    childPid = pid;
    if (pendingSignal != 0)
        kill(pid, pendingSignal);
    sigprocmask(SIG_SETMASK, &previous, nullptr);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR)
            throw std::runtime_error(std::string("lost the player: ") + std::strerror(errno));
    }
    childPid = 0;
    return status;
}

void DieBy(int signal) {
    std::signal(signal, SIG_DFL);
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, signal);
    sigprocmask(SIG_UNBLOCK, &set, nullptr);
    raise(signal);
    _exit(128 + signal);
}

void ExitLike(int waitStatus) {
    if (WIFSIGNALED(waitStatus))
        DieBy(WTERMSIG(waitStatus));
    std::exit(WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : 1);
}

} // namespace verasco::head
