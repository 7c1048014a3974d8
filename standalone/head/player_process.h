// SPDX-License-Identifier: MIT
// Runs the package's player as a child process and passes on to it the signals that would end
// the head (interrupt, terminate, hang-up, quit), so that both end together and the head can
// still clean up.
#pragma once

#include <string>
#include <vector>

namespace verasco::head {

// Catches the ending signals from now on. Until a child runs, a caught signal is only noted.
void InstallSignalForwarding();
// The first ending signal caught so far, or 0.
int PendingSignal();

// Starts `program` with `arguments` (argv[1] onwards) in `folder`, with TMPDIR set to
// `temporaryFolder` and the rest of the head's environment, and waits for it; returns its wait
// status. Throws std::runtime_error when it cannot be started.
int RunAndWait(const std::string& program, const std::vector<std::string>& arguments,
               const std::string& folder, const std::string& temporaryFolder);

// Ends the head the way the child ended: the same exit code, or the same signal.
[[noreturn]] void ExitLike(int waitStatus);
// Ends the head by `signal`, as if it had not been caught.
[[noreturn]] void DieBy(int signal);

} // namespace verasco::head
