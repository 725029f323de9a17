// The commands of vrellix-cli: what each one is (name, summary, help, syntax,
// examples) and how a command line reaches one of them.
#pragma once

#include <string>
#include <vector>

#include "cli/arg_parser.h"

namespace vrellix::cli {

// How vrellix-cli ends: the process's exit status.
enum class ExitCode : int {
  kDone = 0,
  kFailed = 1,         // refused or failed
  kUsage = 2,          // bad arguments
  kInterrupted = 130,  // the shell's code for "ended by SIGINT"
};

struct Command {
  const char* name;
  const char* summary;                // one line for the list of commands
  std::vector<const char*> synopsis;  // each form, after "vrellix-cli "
  const char* description;            // what it does, wrapped, ending in '\n'
  Syntax syntax;
  std::vector<const char*> examples;  // whole command lines
  // Runs the command on arguments that passed the syntax; returns the exit code.
  ExitCode (*run)(const ParsedArgs& args);
};

// Every command, in the order the help lists them.
const std::vector<const Command*>& Commands();

// The command of that name, or nullptr.
const Command* FindCommand(const std::string& name);

// "vrellix-cli <version>\n".
std::string VersionText();

// The program's usage and list of commands.
std::string OverviewText();

// A command's help: usage, description, arguments, options, examples.
std::string HelpText(const Command& command);

// Prints "vrellix-cli NAME: message" and the command's usage on stderr;
// returns ExitCode::kUsage.
ExitCode UsageError(const Command& command, const std::string& message);

// Parses args (those after the command's name) and runs the command, or prints
// its help or the error. Returns the exit code.
ExitCode RunCommand(const Command& command, const std::vector<std::string>& args);

// The whole command line after the program's name: a command, help, or the
// version. Returns the exit code.
ExitCode RunCommandLine(const std::vector<std::string>& args);

}  // namespace vrellix::cli
