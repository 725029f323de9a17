#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "support/child_process.h"

namespace vrellix::testing {

namespace {

int MsUntil(std::chrono::steady_clock::time_point deadline) {
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
  return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

}  // namespace

struct ChildProcess::Impl {
  // Reads what the pipes give within timeoutMs. False once both are closed or
  // the time is up.
  bool Pump(int timeoutMs) {
    pollfd fds[2];
    nfds_t count = 0;
    if (outFd >= 0) fds[count++] = {outFd, POLLIN, 0};
    if (errFd >= 0) fds[count++] = {errFd, POLLIN, 0};
    if (count == 0) return false;
    const int ready = poll(fds, count, timeoutMs);
    if (ready < 0 && errno == EINTR) return true;
    if (ready <= 0) return false;
    for (nfds_t i = 0; i < count; ++i) {
      if (fds[i].revents == 0) continue;
      int& fd = fds[i].fd == outFd ? outFd : errFd;
      std::string& text = fds[i].fd == outFd ? out : err;
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
      const pid_t done = wait4(pid, &status, WNOHANG, &usage);
      if (done == pid || (done < 0 && errno != EINTR)) return reaped = true;
      if (std::chrono::steady_clock::now() >= deadline) return false;
      poll(nullptr, 0, 5);
    }
  }

  void KillAndReap() {
    kill(pid, SIGKILL);
    while (wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    reaped = true;
  }

  void CloseOutput() {
    for (int* fd : {&outFd, &errFd}) {
      if (*fd >= 0) close(*fd);
      *fd = -1;
    }
  }

  pid_t pid = -1;
  int outFd = -1;
  int errFd = -1;
  int status = 0;
  rusage usage{};
  bool reaped = false;
  std::string out;
  std::string err;
};

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& args,
                           const std::filesystem::path& dir)
    : m_impl(std::make_unique<Impl>()) {
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
  m_impl->pid = fork();
  if (m_impl->pid == 0) {
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
  m_impl->outFd = out[0];
  m_impl->errFd = err[0];
}

ChildProcess::~ChildProcess() {
  if (m_impl->pid > 0 && !m_impl->reaped) m_impl->KillAndReap();
  m_impl->CloseOutput();
}

bool ChildProcess::Started() const { return m_impl->pid > 0; }

int ChildProcess::Pid() const { return m_impl->pid; }

void ChildProcess::Signal(int signalNumber) {
  if (m_impl->pid > 0 && !m_impl->reaped) kill(m_impl->pid, signalNumber);
}

std::string ChildProcess::ReadLine(std::chrono::milliseconds within) {
  const auto deadline = std::chrono::steady_clock::now() + within;
  std::string& out = m_impl->out;
  std::size_t end;
  while ((end = out.find('\n')) == std::string::npos && m_impl->Pump(MsUntil(deadline))) {
  }
  const std::string line = out.substr(0, end);
  out.erase(0, end == std::string::npos ? end : end + 1);
  return line;
}

ProcessResult ChildProcess::Wait(std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (m_impl->Pump(MsUntil(deadline))) {
  }
  ProcessResult result;
  if (!Started()) return result;
  if (!m_impl->reaped && !m_impl->ReapWithin(MsUntil(deadline))) {
    ADD_FAILURE() << "the child process did not end within " << limit.count() << " ms; killed";
    m_impl->KillAndReap();
  }
  m_impl->CloseOutput();
  if (WIFEXITED(m_impl->status)) result.exitCode = WEXITSTATUS(m_impl->status);
  if (WIFSIGNALED(m_impl->status)) result.exitCode = 128 + WTERMSIG(m_impl->status);
  const rusage& u = m_impl->usage;
  result.cpuMs = (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1000.0 + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1000.0;
  result.out = std::move(m_impl->out);
  result.err = std::move(m_impl->err);
  return result;
}

}  // namespace vrellix::testing
