// Runs vrellix-cli as a child process in a directory of its own and collects
// what it printed. POSIX only, like the pseudo-terminal tests that use it.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <sstream>
#include <string>
#include <vector>

#include "support/scratch_dir.h"

namespace vrellix::testing {

struct ProcessResult {
  int exitCode = -1;  // 128 + signal number when killed by a signal
  std::string out;
  std::string err;
};

// Starts the command with stdin from /dev/null, stdout and stderr to files.
class ChildProcess {
 public:
  ChildProcess(const std::string& program, const std::vector<std::string>& args, const ScratchDir& dir)
      : m_outPath(dir.File(".out")), m_errPath(dir.File(".err")) {
    m_pid = fork();
    if (m_pid == 0) {
      if (chdir(dir.Path().c_str()) != 0) _exit(126);
      const int in = open("/dev/null", O_RDONLY);
      const int out = open(m_outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      const int err = open(m_errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      if (in < 0 || out < 0 || err < 0) _exit(126);
      dup2(in, 0);
      dup2(out, 1);
      dup2(err, 2);
      std::vector<char*> argv;
      argv.push_back(const_cast<char*>(program.c_str()));
      for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
      argv.push_back(nullptr);
      execv(program.c_str(), argv.data());
      _exit(127);
    }
  }

  bool Started() const { return m_pid > 0; }
  void Signal(int signalNumber) { kill(m_pid, signalNumber); }

  ProcessResult Wait() {
    ProcessResult result;
    int status = 0;
    while (waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) result.exitCode = 128 + WTERMSIG(status);
    result.out = ReadBytes(m_outPath);
    result.err = ReadBytes(m_errPath);
    return result;
  }

 private:
  pid_t m_pid = -1;
  std::string m_outPath;
  std::string m_errPath;
};

inline ProcessResult RunCli(const std::vector<std::string>& args, const ScratchDir& dir) {
  ChildProcess child(VRELLIX_CLI_PATH, args, dir);
  return child.Wait();
}

inline std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

}  // namespace vrellix::testing
