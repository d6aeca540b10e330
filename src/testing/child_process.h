// Running part of a test in a forked child process: to bind a resource limit
// or a signal to that process alone, or to run as an unprivileged user.
// Permissions do not bind the superuser, so a test of them that runs as root
// (as it does here and in CI) drops to the user and group nobody (65534) in
// the child instead of being skipped.
#pragma once

#include <filesystem>
#include <functional>

namespace statcrane::testing {

inline constexpr unsigned kNobody = 65534;

struct ChildOutcome {
  bool exited = false;  // ended by exit, not by a signal
  int status = -1;      // its exit status
  int signal = 0;       // the signal that ended it
};

// Runs `work` in a child: its return value is the child's exit status;
// an exception is reported on stderr and gives 99.
ChildOutcome RunInChild(const std::function<int()>& work);
// The same as nobody when the test runs as root (as the current user
// otherwise).
ChildOutcome RunUnprivileged(const std::function<int()>& work);
// Gives `path` and everything in it to nobody when the test runs as root, so
// that an unprivileged child can use it.
void GiveToNobody(const std::filesystem::path& path);

}  // namespace statcrane::testing
