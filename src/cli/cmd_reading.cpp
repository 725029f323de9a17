// vrellix-cli reading NAME... [--count N]: the readings of names, a line each,
// for scripts and for looking a reading up.
#include <cstdio>
#include <string>

#include "cli/commands.h"
#include "cli/console.h"
#include "cli/reading_setup.h"
#include "reading/suggestions.h"

namespace vrellix::cli {

namespace {

constexpr long long kDefaultCount = 5;

ExitCode Run(const ParsedArgs& args) {
  const auto count = static_cast<std::size_t>(args.Integer("--count").value_or(kDefaultCount));
  ReadingSetup readings;
  ExitCode code = ExitCode::kDone;
  for (const std::string& name : args.arguments) {
    const ReadingSuggestion suggestion = SuggestReadings(readings.Provider(), name, count);
    std::string line;
    for (const std::string& reading : suggestion.readings) line += (line.empty() ? "" : "\t") + reading;
    Print(stdout, "%s\n", line.c_str());
    if (suggestion.outcome == ReadingSuggestion::Outcome::kUnavailable) {
      Print(stderr, "%s: %s\n", name.c_str(), suggestion.reason.c_str());
      code = ExitCode::kFailed;
    }
  }
  return code;
}

}  // namespace

const Command& ReadingCommand() {
  static const Command command{
      "reading",
      "prints the readings of names, best first",
      {"reading NAME... [--count N]"},
      "Prints for each NAME one line: its readings in the form a reading field\n"
      "takes (hiragana, at most 16 characters), best first, separated by tabs; an\n"
      "empty line when there is none. Readings the user taught (vrellix-cli learn,\n"
      "or the window program) come first; the others come from MeCab's best\n"
      "analyses with the IPA dictionary. A name with kanji on a system without\n"
      "readings gets an empty line, the reason on stderr and exit status 1.\n",
      {{{Text("NAME", "a name"), "a title, artist or track name (UTF-8)", true}},
       {Option("--count", {Integer("N", "a number of readings", 1, 20)}, "at most N readings a name (5 without it)")}},
      {"vrellix-cli reading 米津玄師 夜に駆ける --count 3"},
      Run,
  };
  return command;
}

}  // namespace vrellix::cli
