// SPDX-License-Identifier: MIT
#pragma once
// Runs a check in a child process under limits: a read that never returns or that eats all memory
// then fails that one check instead of freezing or ending the test program, and a write can meet a
// file-size limit or folder permissions that mean nothing to root.

#include "sanitizers.h"

#include <csignal>
#include <cstdio>
#include <functional>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

struct ChildLimits {
    int seconds = 120;               // then the child is ended: it hung
    long memoryMB = 512;             // how far its address space may grow (not under AddressSanitizer,
                                     // whose shadow memory needs all of it)
    rlim_t fileSize = RLIM_INFINITY; // the largest file it may write; SIGXFSZ is ignored
    bool asNobody = false;           // as root, run as the user "nobody", to whom permissions apply
};

namespace guarded_child_detail {
inline long addressSpaceBytes() {
    long pages = 0;
    if (std::FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld", &pages) != 1)
            pages = 0;
        std::fclose(f);
    }
    return pages * ::sysconf(_SC_PAGESIZE);
}
} // namespace guarded_child_detail

// Empty when the check returned true in the child; otherwise how it failed.
inline std::string inGuardedChild(const std::function<bool()>& check, const ChildLimits& limits = {}) {
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child < 0)
        return "fork failed";
    if (child == 0) {
        ::alarm(unsigned(limits.seconds));
        std::signal(SIGXFSZ, SIG_IGN);
#ifndef VERASCO_TEST_SANITIZED
        const rlim_t memory =
            rlim_t(guarded_child_detail::addressSpaceBytes() + limits.memoryMB * 1024 * 1024);
        const rlimit as{memory, memory};
        ::setrlimit(RLIMIT_AS, &as);
#endif
        if (limits.fileSize != RLIM_INFINITY) {
            const rlimit fsize{limits.fileSize, limits.fileSize};
            ::setrlimit(RLIMIT_FSIZE, &fsize);
        }
        constexpr uid_t Nobody = 65534;
        if (limits.asNobody && ::geteuid() == 0 && (::setgid(Nobody) != 0 || ::setuid(Nobody) != 0))
            ::_exit(3);
        ::_exit(check() ? 0 : 1);
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child)
        return "lost the child";
    if (WIFEXITED(status))
        return WEXITSTATUS(status) == 0
                   ? ""
                   : "the check failed (exit " + std::to_string(WEXITSTATUS(status)) + ")";
    if (WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM)
        return "the check hung";
    return "the check ended by signal " + std::to_string(WTERMSIG(status)) + " (out of memory?)";
}
