// The commands of vrellix-cli: what each one is (name, summary, help, syntax,
// examples) and how a command line reaches one of them.
#pragma once

#include <string>
#include <vector>

#include "cli/arg_parser.h"

namespace vrellix::cli {

constexpr int kExitDone = 0;
constexpr int kExitFailed = 1;  // refused or failed
constexpr int kExitUsage = 2;   // bad arguments
constexpr int kExitInterrupted = 130;  // the shell's code for "ended by SIGINT"

struct Command {
  const char* name;
  const char* summary;                // one line for the list of commands
  std::vector<const char*> synopsis;  // each form, after "vrellix-cli "
  const char* description;            // what it does, wrapped, ending in '\n'
  Syntax syntax;
  std::vector<const char*> examples;  // whole command lines
  // Runs the command on arguments that passed the syntax; returns the exit code.
  int (*run)(const ParsedArgs& args);
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
// returns kExitUsage.
int UsageError(const Command& command, const std::string& message);

// Parses args (those after the command's name) and runs the command, or prints
// its help or the error. Returns the exit code.
int RunCommand(const Command& command, const std::vector<std::string>& args);

// The whole command line after the program's name: a command, help, or the
// version. Returns the exit code.
int RunCommandLine(const std::vector<std::string>& args);

}  // namespace vrellix::cli
