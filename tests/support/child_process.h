// Runs a program as a child process, with its output on pipes, and collects
// what it printed. POSIX only.
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace vrellix::testing {

struct ProcessResult {
  int exitCode = -1;  // 128 + signal number when killed by a signal
  std::string out;    // what ReadLine has not taken
  std::string err;
};

class ChildProcess {
 public:
  // Starts program in dir (empty: this process's directory) with stdin from
  // /dev/null.
  ChildProcess(const std::string& program, const std::vector<std::string>& args,
               const std::filesystem::path& dir = {}) {
    // Everything the child needs is made before fork: the tests have threads,
    // so only async-signal-safe calls may come between fork and exec.
    std::vector<std::string> words{program};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    const std::string where = dir.string();
    int out[2], err[2];
    if (pipe2(out, O_CLOEXEC) != 0) return;
    if (pipe2(err, O_CLOEXEC) != 0) {
      close(out[0]);
      close(out[1]);
      return;
    }
    m_pid = fork();
    if (m_pid == 0) {
      const int in = open("/dev/null", O_RDONLY);
      if (in < 0 || (!where.empty() && chdir(where.c_str()) != 0)) _exit(126);
      dup2(in, STDIN_FILENO);
      dup2(out[1], STDOUT_FILENO);
      dup2(err[1], STDERR_FILENO);
      execv(argv[0], argv.data());
      _exit(127);
    }
    close(out[1]);
    close(err[1]);
    m_outFd = out[0];
    m_errFd = err[0];
  }
  ~ChildProcess() {
    if (m_pid > 0 && !m_reaped) KillAndReap();
    CloseOutput();
  }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool Started() const { return m_pid > 0; }
  pid_t Pid() const { return m_pid; }
  void Signal(int signalNumber) {
    if (m_pid > 0 && !m_reaped) kill(m_pid, signalNumber);
  }

  // The standard output up to the next newline (without it); what there is
  // when the time runs out or the output ends first.
  std::string ReadLine(std::chrono::milliseconds within) {
    const auto deadline = std::chrono::steady_clock::now() + within;
    std::size_t end;
    while ((end = m_out.find('\n')) == std::string::npos && Pump(MsUntil(deadline))) {
    }
    const std::string line = m_out.substr(0, end);
    m_out.erase(0, end == std::string::npos ? end : end + 1);
    return line;
  }

  // Waits until the program ends and its output is closed; one that is still
  // running after the limit is killed, and the test fails.
  ProcessResult Wait(std::chrono::milliseconds limit = std::chrono::seconds(30)) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (Pump(MsUntil(deadline))) {
    }
    ProcessResult result;
    if (!Started()) return result;
    if (!m_reaped && !ReapWithin(MsUntil(deadline))) {
      ADD_FAILURE() << "the child process did not end within " << limit.count() << " ms; killed";
      KillAndReap();
    }
    CloseOutput();
    if (WIFEXITED(m_status)) result.exitCode = WEXITSTATUS(m_status);
    if (WIFSIGNALED(m_status)) result.exitCode = 128 + WTERMSIG(m_status);
    result.out = std::move(m_out);
    result.err = std::move(m_err);
    return result;
  }

 private:
  static int MsUntil(std::chrono::steady_clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
  }

  // Reads what the pipes give within timeoutMs. False once both are closed or
  // the time is up.
  bool Pump(int timeoutMs) {
    pollfd fds[2];
    nfds_t count = 0;
    if (m_outFd >= 0) fds[count++] = {m_outFd, POLLIN, 0};
    if (m_errFd >= 0) fds[count++] = {m_errFd, POLLIN, 0};
    if (count == 0) return false;
    const int ready = poll(fds, count, timeoutMs);
    if (ready < 0 && errno == EINTR) return true;
    if (ready <= 0) return false;
    for (nfds_t i = 0; i < count; ++i) {
      if (fds[i].revents == 0) continue;
      int& fd = fds[i].fd == m_outFd ? m_outFd : m_errFd;
      std::string& text = fds[i].fd == m_outFd ? m_out : m_err;
      char buffer[4096];
      const ssize_t n = read(fd, buffer, sizeof buffer);
      if (n > 0) {
        text.append(buffer, static_cast<std::size_t>(n));
      } else if (n == 0 || errno != EINTR) {
        close(fd);
        fd = -1;
      }
    }
    return true;
  }

  // Waits up to timeoutMs for the child's end; true once it ended.
  bool ReapWithin(int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
      const pid_t done = waitpid(m_pid, &m_status, WNOHANG);
      if (done == m_pid || (done < 0 && errno != EINTR)) return m_reaped = true;
      if (std::chrono::steady_clock::now() >= deadline) return false;
      poll(nullptr, 0, 5);
    }
  }

  void KillAndReap() {
    kill(m_pid, SIGKILL);
    while (waitpid(m_pid, &m_status, 0) < 0 && errno == EINTR) {
    }
    m_reaped = true;
  }

  void CloseOutput() {
    for (int* fd : {&m_outFd, &m_errFd}) {
      if (*fd >= 0) close(*fd);
      *fd = -1;
    }
  }

  pid_t m_pid = -1;
  int m_outFd = -1;
  int m_errFd = -1;
  int m_status = 0;
  bool m_reaped = false;
  std::string m_out;
  std::string m_err;
};

}  // namespace vrellix::testing
