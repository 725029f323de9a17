#include "cli/enter_resume.h"

#include <charconv>
#include <cstdio>

#include "cli/console.h"
#include "messages/messages.h"

namespace vrellix::cli {

namespace {

constexpr char kTrackPrefix[] = "track:";

bool IsFromValue(const std::string& text) { return ParseFromValue(text).has_value(); }

}  // namespace

std::optional<JobPlace> ParseFromValue(const std::string& text) {
  if (text == "start") return JobPlace{};
  const std::string prefix = kTrackPrefix;
  if (text.compare(0, prefix.size(), prefix) != 0) return std::nullopt;
  const char* const begin = text.data() + prefix.size();
  const char* const end = text.data() + text.size();
  int number = 0;
  const auto [stop, error] = std::from_chars(begin, end, number);
  if (begin == end || stop != end || error != std::errc() || number < 1 || number > kTrackCount) return std::nullopt;
  return JobPlace::Track(number);
}

ValueSpec FromValue() { return CheckedText("WHERE", "'start' or 'track:N' with N from 1 to 50", IsFromValue); }

std::string ContinueCommand(const ParsedArgs& args, const JobPlace& place) {
  const std::string& file = args.arguments.at(0);
  std::string command = "vrellix-cli enter";
  // A name that starts with '-' must follow "--", after the options.
  const bool fileLast = file.size() > 1 && file[0] == '-';
  if (!fileLast) command += " " + ShellQuoted(file);
  for (const OptionUse& use : args.uses) {
    if (std::string(use.option->name) == "--from") continue;
    command += std::string(" ") + use.option->name;
    // A value that looks like an option stays the option's after '='.
    const bool joined = use.values.size() == 1 && !use.values[0].text.empty() && use.values[0].text[0] == '-';
    for (const Value& value : use.values) command += (joined ? "=" : " ") + ShellQuoted(value.text);
  }
  if (!place.IsStart()) command += " --from " + std::string(kTrackPrefix) + std::to_string(place.track);
  if (fileLast) command += " -- " + ShellQuoted(file);
  return command;
}

void PrintWhereItStopped(const ParsedArgs& args, const JobPlace& place, bool deviceInstruction) {
  std::fprintf(stderr, "%s\n", messages::StoppedAt(PlaceLabel(place)).c_str());
  if (deviceInstruction) std::fprintf(stderr, "%s\n", messages::kReturnToPlaylist);
  std::fprintf(stderr, "%s: %s\n", place.IsStart() ? "to start again" : "to continue from there",
               ContinueCommand(args, place).c_str());
}

}  // namespace vrellix::cli
