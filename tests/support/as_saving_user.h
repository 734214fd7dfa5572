#pragma once
// A save made by a user whom permissions bind: as root, by a child process that has become
// user 65534, to whom `folder` and all it holds are given first. A limit on the size of the
// files written stands for a full disk.

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

// What `save` returned (0..99), -1 when it did not end by itself, or nothing when no such
// user could be taken (the caller skips).
inline std::optional<int> SaveAsUser(const std::filesystem::path& folder,
                                     const std::function<int()>& save, rlim_t sizeLimit = 0) {
  constexpr uid_t kNobody = 65534;
  const bool root = geteuid() == 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    [[maybe_unused]] const int given = root ? lchown(entry.path().c_str(), kNobody, kNobody) : 0;
  }
  [[maybe_unused]] const int given = root ? lchown(folder.c_str(), kNobody, kNobody) : 0;
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child == 0) {
    const rlimit limit{sizeLimit, sizeLimit};
    std::signal(SIGXFSZ, SIG_IGN);  // a write past the limit fails instead of ending the child
    if ((root && (setgroups(0, nullptr) || setgid(kNobody) || setuid(kNobody))) ||
        (sizeLimit != 0 && setrlimit(RLIMIT_FSIZE, &limit) != 0)) {
      _exit(100);
    }
    _exit(save());  // the test's own clean-up stays with the parent
  }
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status) == 100 ? std::nullopt : std::optional<int>(WEXITSTATUS(status));
}

}  // namespace pendra2::testing
