#include "cli/command.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "cli/commands.h"
#include "cli/console.h"
#include "version/version.h"

namespace vrellix::cli {

namespace {

constexpr const char* kProgram = "vrellix-cli";

std::string Placeholders(const std::vector<ValueSpec>& values) {
  std::string text;
  for (const ValueSpec& value : values) text += std::string(" ") + value.placeholder;
  return text;
}

// Two columns: the names, padded to the widest, then the help, whose further
// lines start under its first.
std::string Columns(const std::vector<std::pair<std::string, std::string>>& rows) {
  std::size_t width = 0;
  for (const auto& row : rows) width = std::max(width, row.first.size());
  std::string text;
  for (const auto& [left, help] : rows) {
    std::string line = "  " + left + std::string(width - left.size() + 2, ' ');
    for (char c : help) {
      line += c;
      if (c == '\n') line += std::string(width + 4, ' ');
    }
    text += line + "\n";
  }
  return text;
}

// A synopsis line that starts with a space goes on with the form above it.
std::string UsageLines(const Command& command) {
  std::string text;
  for (const char* form : command.synopsis) {
    const std::string program = form[0] == ' ' ? std::string(std::strlen(kProgram), ' ') : kProgram;
    text += std::string(text.empty() ? "usage: " : "       ") + program + " " + form + "\n";
  }
  return text;
}

ExitCode ProgramUsageError(const std::string& message) {
  Print(stderr, "%s: %s\nrun '%s help' for the list of commands\n", kProgram, message.c_str(), kProgram);
  return ExitCode::kUsage;
}

ExitCode UnknownCommand(const std::string& name) {
  std::vector<std::string> names;
  for (const Command* command : Commands()) names.push_back(command->name);
  const std::string hint = DidYouMean(ClosestNames(name, names));
  return ProgramUsageError("unknown command '" + name + "'" + (hint.empty() ? "" : "; " + hint));
}

ExitCode RunHelp(const ParsedArgs& args) {
  if (args.arguments.empty()) {
    Write(stdout, OverviewText().c_str());
    return ExitCode::kDone;
  }
  const Command* command = FindCommand(args.arguments[0]);
  if (!command) return UnknownCommand(args.arguments[0]);
  Write(stdout, HelpText(*command).c_str());
  return ExitCode::kDone;
}

ExitCode RunVersion(const ParsedArgs&) {
  Write(stdout, VersionText().c_str());
  return ExitCode::kDone;
}

// "help" and "version" are commands like the others, so that each has its help.
const Command& HelpCommand() {
  static const Command command{
      "help",
      "shows the help of a command",
      {"help [COMMAND]"},
      "Shows the list of commands, or a command's usage, options and examples;\n"
      "'vrellix-cli --help [COMMAND]' and 'vrellix-cli COMMAND --help' do the same.\n",
      {{{Text("COMMAND", "a command"), "the command whose help to show", false, true}}, {}},
      {"vrellix-cli help enter"},
      RunHelp,
  };
  return command;
}

const Command& VersionCommand() {
  static const Command command{
      "version", "prints the version", {"version"}, "Prints the program's name and version, as --version does.\n", {},
      {"vrellix-cli version"}, RunVersion,
  };
  return command;
}

}  // namespace

const std::vector<const Command*>& Commands() {
  static const std::vector<const Command*> commands{
      &KeyCommand(),   &CheckCommand(), &NormalizeCommand(), &ReadingsCommand(), &ReadingCommand(),
      &LearnCommand(), &ImportCueCommand(), &PlanCommand(),  &EnterCommand(),    &PortsCommand(),
      &SimulateCommand(), &HelpCommand(), &VersionCommand(),
  };
  return commands;
}

const Command* FindCommand(const std::string& name) {
  for (const Command* command : Commands()) {
    if (name == command->name) return command;
  }
  return nullptr;
}

std::string VersionText() { return std::string(kProgram) + " " + kVersion + "\n"; }

std::string OverviewText() {
  std::string text = std::string("usage: ") + kProgram + " COMMAND [ARGS]\n" +
                     "       " + kProgram + " help [COMMAND]\n" +
                     "       " + kProgram + " --version\n\ncommands:\n";
  std::vector<std::pair<std::string, std::string>> rows;
  for (const Command* command : Commands()) rows.emplace_back(command->name, command->summary);
  text += Columns(rows);
  text += std::string("\n") +
          "An option's value follows it as the next argument or after '=' (--delay 50 or\n"
          "--delay=50); '--' ends the options. '" + kProgram + " help COMMAND' or\n'" + kProgram +
          " COMMAND --help' shows a command's options and an example.\n";
  return text;
}

std::string HelpText(const Command& command) {
  std::string text = UsageLines(command) + "\n" + command.description;
  if (!command.syntax.arguments.empty()) {
    std::vector<std::pair<std::string, std::string>> rows;
    for (const ArgumentSpec& argument : command.syntax.arguments) {
      rows.emplace_back(std::string(argument.value.placeholder) + (argument.repeated ? "..." : ""), argument.help);
    }
    text += "\narguments:\n" + Columns(rows);
  }
  std::vector<std::pair<std::string, std::string>> rows;
  for (const OptionSpec& option : command.syntax.options) {
    const std::string names = option.shortName ? std::string(option.shortName) + ", " + option.name : option.name;
    rows.emplace_back(names + Placeholders(option.values), option.help);
  }
  rows.emplace_back("-h, --help", "shows this help");
  text += "\noptions:\n" + Columns(rows);
  text += command.examples.size() == 1 ? "\nexample:\n" : "\nexamples:\n";
  for (const char* example : command.examples) text += std::string("  ") + example + "\n";
  return text;
}

ExitCode UsageError(const Command& command, const std::string& message) {
  Print(stderr, "%s %s: %s\n%s(run '%s help %s' for more)\n", kProgram, command.name, message.c_str(),
               UsageLines(command).c_str(), kProgram, command.name);
  return ExitCode::kUsage;
}

ExitCode RunCommand(const Command& command, const std::vector<std::string>& args) {
  const ParseResult parsed = ParseArguments(command.syntax, args);
  if (!parsed.error.empty()) return UsageError(command, parsed.error);
  if (parsed.args.helpWanted) {
    Write(stdout, HelpText(command).c_str());
    return ExitCode::kDone;
  }
  return command.run(parsed.args);
}

ExitCode RunCommandLine(const std::vector<std::string>& args) {
  if (args.empty()) {
    Write(stderr, OverviewText().c_str());
    return ExitCode::kUsage;
  }
  const std::string& first = args[0];
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  if (first == "--version") return RunCommand(VersionCommand(), rest);
  if (first == "--help" || first == "-h") return RunCommand(HelpCommand(), rest);
  if (first.size() > 1 && first[0] == '-') return ProgramUsageError("unknown option '" + first + "'");
  const Command* command = FindCommand(first);
  if (!command) return UnknownCommand(first);
  return RunCommand(*command, rest);
}

}  // namespace vrellix::cli
