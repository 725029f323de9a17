// The console as the command line needs it. One implementation per platform.
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "timing/stop_event.h"

namespace vrellix::cli {

// Messages are UTF-8: have the console show them as such (Windows consoles
// default to the OEM code page; terminals elsewhere already take UTF-8), and
// write line ends as they stand, so a pipe or file gets the same bytes on
// every platform. The console is put back as it was when the process ends
// (returning from main, exit(), Ctrl-C, the console window closed).
void UseUtf8Output();

// Writes UTF-8 text to stdout or stderr: to a console as the characters it
// stands for, anywhere else as the bytes themselves.
void Write(std::FILE* stream, std::string_view text);

// printf into Write.
#if defined(__GNUC__)
__attribute__((format(printf, 2, 3)))
#endif
void Print(std::FILE* stream, const char* format, ...);

// The arguments after the program's name, in UTF-8 as the rest of the program
// takes them (Windows hands main() the ANSI code page; its wide command line
// holds what was typed).
std::vector<std::string> CommandLineArguments(int argc, char** argv);

// True when standard error is a terminal (a console on Windows), where a
// progress line may redraw itself; false for a pipe or a file.
bool StderrIsTerminal();

// word as the usual shell of the platform reads it back as one argument: as it
// is when nothing in it is special, quoted otherwise ('' on POSIX systems,
// "" for cmd.exe on Windows).
std::string ShellQuoted(const std::string& word);

// Ctrl-C as a stop request: while an InterruptToStop lives, an interrupt from
// the terminal sets the given StopEvent instead of ending the process, so the
// exchange under way can finish.
class InterruptToStop {
 public:
  explicit InterruptToStop(StopEvent& stop);
  ~InterruptToStop();
  InterruptToStop(const InterruptToStop&) = delete;
  InterruptToStop& operator=(const InterruptToStop&) = delete;

 private:
  struct Impl;
  std::unique_ptr<Impl> m_impl;
};

}  // namespace vrellix::cli
