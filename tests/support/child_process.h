// Runs a program as a child process, with its output on pipes, and collects
// what it printed. One implementation per platform.
#pragma once

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace vrellix::testing {

struct ProcessResult {
  int exitCode = -1;  // POSIX: 128 + signal number when killed by a signal
  std::string out;    // what ReadLine has not taken
  std::string err;
  double cpuMs = 0;   // user and system time the child used
};

class ChildProcess {
 public:
  // Starts program in dir (empty: this process's directory) with its standard
  // input from the null device. Arguments arrive as given, spaces, quotes and
  // all (on Windows the command line is quoted the way the C runtime splits it).
  ChildProcess(const std::string& program, const std::vector<std::string>& args,
               const std::filesystem::path& dir = {});
  ~ChildProcess();  // kills a child that is still running
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool Started() const;
  int Pid() const;
  // POSIX only: sends a signal.
  void Signal(int signalNumber);

  // The standard output up to the next newline (without it); what there is
  // when the time runs out or the output ends first.
  std::string ReadLine(std::chrono::milliseconds within);

  // Waits until the program ends and its output is closed; one that is still
  // running after the limit is killed, and the test fails.
  ProcessResult Wait(std::chrono::milliseconds limit = std::chrono::seconds(30));

 private:
  struct Impl;
  std::unique_ptr<Impl> m_impl;
};

}  // namespace vrellix::testing
