#include "testing/child_process.h"

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <exception>

namespace statcrane::testing {
namespace {

ChildOutcome Run(const std::function<int()>& work, bool drop) {
  std::fflush(nullptr);
  const pid_t child = ::fork();
  if (child < 0) return {};
  if (child == 0) {
    int status = 99;
    try {
      if (drop && ::geteuid() == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) {
          std::fprintf(stderr, "cannot become nobody\n");
          ::_exit(98);
        }
      }
      status = work();
    } catch (const std::exception& error) {
      std::fprintf(stderr, "child: %s\n", error.what());
    } catch (...) {
      std::fprintf(stderr, "child: an exception\n");
    }
    std::fflush(nullptr);
    ::_exit(status);
  }
  int status = 0;
  ChildOutcome outcome;
  if (::waitpid(child, &status, 0) != child) return outcome;
  if (WIFEXITED(status)) {
    outcome.exited = true;
    outcome.status = WEXITSTATUS(status);
  } else if (WIFSIGNALED(status)) {
    outcome.signal = WTERMSIG(status);
  }
  return outcome;
}

}  // namespace

ChildOutcome RunInChild(const std::function<int()>& work) { return Run(work, false); }

ChildOutcome RunUnprivileged(const std::function<int()>& work) { return Run(work, true); }

void GiveToNobody(const std::filesystem::path& path) {
  if (::geteuid() != 0) return;
  if (::lchown(path.c_str(), kNobody, kNobody) != 0) return;
  std::error_code error;
  if (!std::filesystem::is_directory(std::filesystem::symlink_status(path, error))) return;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(path, error)) {
    if (::lchown(entry.path().c_str(), kNobody, kNobody) != 0) return;
  }
}

}  // namespace statcrane::testing
