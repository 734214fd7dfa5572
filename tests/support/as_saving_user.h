#pragma once
// Saves made as a user whom permissions bind. Root may write any file and folder, so a test
// run as root hands the save to a child process that has given root up for an ordinary user;
// the child can also save under a file size limit, as on a full disk, while the test's own
// process keeps its limits. Everything the child is to reach must be given to that user.

#include <grp.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>

namespace pendra2::testing {

// Root saves as this one: "nobody" on most systems, which needs no entry in the user list.
inline constexpr uid_t kOrdinaryUser = 65534;
inline constexpr int kNoOrdinaryUser = 125;

// The folder and all it holds, links themselves included, for the user the child saves as.
inline void GiveToSavingUser(const std::filesystem::path& folder) {
  if (geteuid() != 0) return;
  std::error_code ec;
  [[maybe_unused]] int ignored = lchown(folder.c_str(), kOrdinaryUser, kOrdinaryUser);
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder, ec)) {
    ignored = lchown(entry.path().c_str(), kOrdinaryUser, kOrdinaryUser);
  }
}

// What `save` returned in the child (0..120), -1 when it did not end by itself, or nothing
// when no ordinary user could be taken (the caller skips). A `sizeLimit` of 0 is none.
inline std::optional<int> SaveAsUser(const std::function<int()>& save, rlim_t sizeLimit = 0) {
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child == 0) {
    if (geteuid() == 0 &&
        (setgroups(0, nullptr) != 0 || setgid(kOrdinaryUser) != 0 || setuid(kOrdinaryUser) != 0)) {
      _exit(kNoOrdinaryUser);
    }
    if (sizeLimit != 0) {
      std::signal(SIGXFSZ, SIG_IGN);  // a write past the limit fails instead of ending us
      const rlimit limit{sizeLimit, sizeLimit};
      if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(kNoOrdinaryUser);
    }
    _exit(save());  // the test's own clean-up stays with the parent
  }
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
  if (WEXITSTATUS(status) == kNoOrdinaryUser) return std::nullopt;
  return WEXITSTATUS(status);
}

}  // namespace pendra2::testing
