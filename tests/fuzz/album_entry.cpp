// Whatever album the Start checks accept, the real job enters it on the device
// model exactly, without a key the device would refuse.
//
// Input: lines. Line 1 holds flags: its byte r (r < 50) odd unticks row r, its
// byte 50 picks what the device's fields hold before. Lines 2 to 104 are the
// album's fields in file order (title, reading, artist, then each track's name
// and reading), as code page 932 bytes where they decode, else as they are.
#include <array>
#include <string>

#include "fuzz_support.h"
#include "sim/simulated_run.h"
#include "text/text_codec.h"
#include "validate/input_checks.h"

namespace {

using vrellix::fuzz::Escaped;
using vrellix::fuzz::Require;

std::string AsEdited(const std::string& bytes) {
  const std::optional<std::string> utf8 = vrellix::Cp932ToUtf8(bytes);
  return utf8 ? *utf8 : bytes;
}

std::string OldText(unsigned char choice) {
  switch (choice % 4) {
    case 0: return "OLD";
    case 1: return "";
    case 2: return *vrellix::Utf8ToCp932("古いテキスト");
    default: return *vrellix::Utf8ToCp932("ああああああああああああああああ");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::string> lines =
      vrellix::fuzz::SplitAtNewlines(std::string_view(reinterpret_cast<const char*>(data), size));
  const std::string& flags = lines[0];
  const auto field = [&lines](std::size_t index) {
    return index + 1 < lines.size() ? AsEdited(lines[index + 1]) : std::string();
  };

  vrellix::EditedAlbum edited;
  edited.title = field(0);
  edited.yomi = field(1);
  edited.artist = field(2);
  for (std::size_t r = 0; r < vrellix::kTrackCount; ++r) {
    edited.rows[r].name = field(2 * r + 3);
    edited.rows[r].yomi = field(2 * r + 4);
    edited.rows[r].checked = !(r < flags.size() && (static_cast<unsigned char>(flags[r]) & 1));
  }

  const vrellix::StartCheckResult checked = vrellix::RunStartChecks(edited);
  if (checked.outcome != vrellix::StartCheckResult::Outcome::kReady) return 0;
  std::array<bool, vrellix::kTrackCount> checks{};
  for (std::size_t r = 0; r < vrellix::kTrackCount; ++r) checks[r] = edited.rows[r].checked;

  vrellix::sim::SimulatorOptions options;
  options.oldText = OldText(flags.size() > 50 ? static_cast<unsigned char>(flags[50]) : 0);
  const vrellix::sim::SimulatedRun run = vrellix::sim::RunSimulatedJob(checked.album, checks, options, 0);
  if (!run.Passed()) {
    std::string album = Escaped(checked.album.Title) + "|" + Escaped(checked.album.Yomi) + "|" +
                        Escaped(checked.album.Artist);
    for (std::size_t r = 0; r < vrellix::kTrackCount; ++r) {
      const vrellix::AlbumTrack& track = checked.album.Tracks[r];
      if (checks[r] && !track.Name.empty()) album += " " + std::to_string(r + 1) + ":" + Escaped(track.Name) + "," + Escaped(track.Yomi);
    }
    vrellix::fuzz::Fail(std::string("accepted album not entered exactly (job ") +
                        (run.jobSucceeded ? "succeeded" : "failed") + "): " + album + "\n" +
                        vrellix::sim::FormatMismatches(run) + vrellix::sim::FormatHeldFields(run));
  }
  return 0;
}
