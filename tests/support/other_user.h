// Runs a piece of a test in a child process as an ordinary user ("nobody" when
// the test runs as root, which ignores the permission bits and a terminal's
// exclusive flag), and hands back what it said. POSIX only.
#pragma once

#include <pwd.h>
#include <grp.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <functional>
#include <optional>
#include <string>

namespace vrellix::testing {

inline bool RunsAsRoot() { return geteuid() == 0; }

// The body's text, or nothing when the child could not become the other user
// or did not end normally.
inline std::optional<std::string> RunAsOtherUser(const std::function<std::string()>& body) {
  int pipeFds[2];
  if (pipe(pipeFds) != 0) return std::nullopt;
  const pid_t pid = fork();
  if (pid == -1) return std::nullopt;
  if (pid == 0) {
    close(pipeFds[0]);
    if (RunsAsRoot()) {
      const passwd* nobody = getpwnam("nobody");
      if (!nobody || setgroups(0, nullptr) != 0 || setgid(nobody->pw_gid) != 0 || setuid(nobody->pw_uid) != 0) {
        _exit(125);
      }
    }
    const std::string text = body();
    const bool written = write(pipeFds[1], text.data(), text.size()) == static_cast<ssize_t>(text.size());
    _exit(written ? 0 : 124);
  }
  close(pipeFds[1]);
  std::string text;
  char buffer[512];
  for (;;) {
    const ssize_t n = read(pipeFds[0], buffer, sizeof buffer);
    if (n > 0) {
      text.append(buffer, static_cast<std::size_t>(n));
    } else if (n == 0 || errno != EINTR) {
      break;
    }
  }
  close(pipeFds[0]);
  int status = 0;
  while (waitpid(pid, &status, 0) == -1 && errno == EINTR) {
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
  return text;
}

}  // namespace vrellix::testing
