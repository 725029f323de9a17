// Continuing a stopped job from the command line: end to end on the simulated
// device; what enter prints to continue, read back by a real shell and the
// command's own parser; the --from values; the progress line's two forms.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "cli/album_input.h"
#include "cli/cli_process.h"
#include "cli/commands.h"
#include "cli/console.h"
#include "cli/enter_resume.h"
#include "cli/progress_line.h"
#include "job/job_plan.h"
#include "job/job_progress.h"
#include "messages/messages.h"
#include "sim/simulated_run.h"
#include "timing/virtual_clock.h"

namespace vrellix {
namespace {

using cli::ContinueCommand;
using cli::ParseFromValue;

cli::ParsedArgs ParseEnter(const std::vector<std::string>& args) {
  cli::ParseResult parsed = cli::ParseArguments(cli::EnterCommand().syntax, args);
  EXPECT_EQ(parsed.error, "");
  return parsed.args;
}

// Keys the job sends before the status text first reads `status`.
int KeysBefore(const JobPlan& plan, const std::string& status) {
  int keys = 0;
  for (const JobEvent& event : plan.events) {
    if (event.kind == JobEvent::Kind::kStatus && event.text == status) return keys;
    keys += event.kind == JobEvent::Kind::kKey;
  }
  ADD_FAILURE() << "no status " << status;
  return 0;
}

// A job fails inside track 2, the user puts the device back to the playlist
// list and runs the command that enter printed: the device holds the whole
// album, and no field before track 2 was entered twice.
TEST(EnterResumeTest, FailureInsideTrackTwoContinuesWithTheCommandItPrints) {
  const std::string file = VRELLIX_EXAMPLES "/album.csv";
  const std::optional<cli::CheckedAlbum> album = cli::LoadAlbumToEnter(file, JobPlace{});
  ASSERT_TRUE(album.has_value());
  // Ten keys into track 2, among the erase keys of its name; the key and its
  // retry are lost.
  const int packet = KeysBefore(PlanJob(album->album, album->checks, 0), messages::TrackStatus(2, 4)) + 10;
  sim::SimulatorOptions options;
  options.faults = {{sim::PacketFault::Kind::kLost, packet, 0, {}}, {sim::PacketFault::Kind::kLost, packet + 1, 0, {}}};
  sim::SimulatedDevice device(options);

  const sim::SimulatedRun failed = sim::RunJobOnDevice(device, album->album, album->checks, 0);
  ASSERT_FALSE(failed.jobSucceeded);
  ASSERT_EQ(failed.stoppedAt, JobPlace::Track(2));
  EXPECT_EQ(PlaceLabel(*failed.stoppedAt), "トラック2");
  const sim::DeviceModel left = device.Model();
  EXPECT_EQ(left.CurrentScreen(), sim::Screen::Field);
  EXPECT_EQ(left.OpenField(), sim::FieldId::TrackName);
  EXPECT_EQ(left.TrackRow(), 1);

  const std::string command = ContinueCommand(ParseEnter({file, "--delay", "0"}), *failed.stoppedAt);
  const std::string start = "vrellix-cli enter " + cli::ShellQuoted(file) + " ";
  ASSERT_EQ(command, start + "--delay 0 --from track:2");
  std::vector<std::string> words{file};
  std::istringstream split(command.substr(start.size()));
  for (std::string word; split >> word;) words.push_back(word);
  const std::optional<JobPlace> from = ParseFromValue(ParseEnter(words).Text("--from").value_or(""));
  ASSERT_EQ(from, JobPlace::Track(2));

  device.ReturnToPlaylistList();
  const std::optional<cli::CheckedAlbum> rest = cli::LoadAlbumToEnter(file, *from);
  ASSERT_TRUE(rest.has_value());
  const sim::SimulatedRun resumed = sim::RunJobOnDevice(device, rest->album, rest->checks, 0);
  EXPECT_TRUE(resumed.jobSucceeded);

  const sim::DeviceModel held = device.Model();
  EXPECT_TRUE(held.Errors().empty()) << held.Dump();
  for (const sim::FieldCheck& field : sim::CompareWithAlbum(held, album->album, album->checks)) {
    EXPECT_TRUE(field.Matches()) << sim::FieldLabel(field) << " holds " << field.held;
  }
  // Only the interrupted field was opened twice.
  for (sim::FieldId header : {sim::FieldId::Title, sim::FieldId::Yomi, sim::FieldId::Artist}) {
    EXPECT_EQ(held.OpenCount(header), 1);
  }
  const int nameOpens[] = {1, 2, 1, 1};
  for (int row = 0; row < 4; ++row) {
    EXPECT_EQ(held.OpenCount(sim::FieldId::TrackName, row), nameOpens[row]) << "track " << row + 1;
    EXPECT_EQ(held.OpenCount(sim::FieldId::TrackYomi, row), 1) << "track " << row + 1;
  }
}

TEST(EnterResumeTest, FromValues) {
  for (int n = 1; n <= kTrackCount; ++n) EXPECT_EQ(ParseFromValue("track:" + std::to_string(n)), JobPlace::Track(n));
  EXPECT_EQ(ParseFromValue("start"), JobPlace{});
  for (const char* bad : {"", "track:", "track:0", "track:51", "track:-1", "track:+2", "track:2x", "track: 2",
                          "track:99999999999", "Track:2", "track2", "start:1", "2"}) {
    EXPECT_FALSE(ParseFromValue(bad).has_value()) << bad;
  }
}

TEST(EnterResumeTest, ContinueCommandKeepsTheOptionsAndReplacesFrom) {
  const struct {
    std::vector<std::string> args;
    JobPlace place;
    const char* command;
  } cases[] = {
      {{"album.csv", "--port", "/dev/ttyUSB0"}, JobPlace::Track(2),
       "vrellix-cli enter album.csv --port /dev/ttyUSB0 --from track:2"},
      {{"my album.csv", "--delay=0", "--from", "track:2", "--yes"}, JobPlace::Track(3),
       "vrellix-cli enter 'my album.csv' --delay 0 --yes --from track:3"},
      {{"it's.csv", "--from", "track:4"}, JobPlace{JobPlace::Kind::kArtist, 0}, "vrellix-cli enter 'it'\\''s.csv'"},
      {{"--simulate", "--old", "", "--", "-a.csv"}, JobPlace::Track(1),
       "vrellix-cli enter --simulate --old '' --from track:1 -- -a.csv"},
      {{"アルバム.csv"}, JobPlace::Track(50), "vrellix-cli enter アルバム.csv --from track:50"},
  };
  for (const auto& c : cases) EXPECT_EQ(ContinueCommand(ParseEnter(c.args), c.place), c.command);
}

// Whatever the file is called and whichever options were given, the shell
// turns the printed command back into the same file, the same options and
// --from at the place.
TEST(EnterResumeTest, ContinueCommandReadsBackThroughTheShell) {
  struct Case {
    std::vector<std::string> args;
    JobPlace place;
  };
  std::mt19937 random(1307);
  auto word = [&random] {
    std::string text(std::uniform_int_distribution<std::size_t>(1, 10)(random), ' ');
    for (char& c : text) c = static_cast<char>(std::uniform_int_distribution<int>(1, 255)(random));
    // Often one of the characters a shell treats specially.
    static const char kSpecial[] = " '\"\\$`!*?~#&|;<>()[]{}\n\t-=";
    if (random() % 2) text[random() % text.size()] = kSpecial[random() % (sizeof kSpecial - 1)];
    return text;
  };
  std::vector<Case> cases;
  std::string script;
  for (int i = 0; i < 200; ++i) {
    Case c;
    c.args = {"--", word()};
    if (random() % 2) c.args.insert(c.args.begin(), {"--port", word()});
    if (random() % 2) c.args.insert(c.args.begin(), {"--delay", std::to_string(random() % 1000)});
    if (random() % 2) c.args.insert(c.args.begin(), "--yes");
    const int number = static_cast<int>(random() % (kTrackCount + 1));
    c.place = number == 0 ? JobPlace{JobPlace::Kind::kYomi, 0} : JobPlace::Track(number);
    const std::string command = ContinueCommand(ParseEnter(c.args), c.place);
    const std::string program = "vrellix-cli enter ";
    ASSERT_EQ(command.compare(0, program.size(), program), 0) << command;
    // Every word NUL-terminated, an empty word after each case.
    script += "printf '%s\\0' " + command.substr(program.size()) + "; printf '\\0'\n";
    cases.push_back(c);
  }
  testing::ChildProcess shell("/bin/sh", {"-c", script});
  const testing::ProcessResult run = shell.Wait();
  ASSERT_EQ(run.exitCode, 0) << run.err;

  std::size_t at = 0;
  for (const Case& c : cases) {
    std::vector<std::string> words;
    for (std::size_t end; (end = run.out.find('\0', at)) != std::string::npos && end != at; at = end + 1) {
      words.push_back(run.out.substr(at, end - at));
    }
    ++at;
    const cli::ParsedArgs original = ParseEnter(c.args);
    const cli::ParsedArgs back = ParseEnter(words);
    const std::string what = ContinueCommand(original, c.place);
    EXPECT_EQ(back.arguments, original.arguments) << what;
    EXPECT_EQ(back.Text("--port"), original.Text("--port")) << what;
    EXPECT_EQ(back.Integer("--delay"), original.Integer("--delay")) << what;
    EXPECT_EQ(back.Has("--yes"), original.Has("--yes")) << what;
    EXPECT_EQ(ParseFromValue(back.Text("--from").value_or("start")), c.place.IsStart() ? JobPlace{} : c.place)
        << what;
  }
}

// What a progress line writes, for each of its two forms, over a job of four
// keys of 159 ms; after success a last line with the time the job took.
std::string ProgressOutput(bool redraw, bool succeeded) {
  std::FILE* out = std::tmpfile();
  VirtualClock clock;
  JobProgress measured(JobPlan{{}, 4, 0}, 0, clock);
  cli::ProgressLine progress(measured, out, redraw);
  const auto wait = [&clock](int seconds) { clock.Sleep(seconds * 1000, nullptr); };
  progress.SetStatus("タイトル名入力中");
  progress.Draw();
  wait(1);
  progress.Draw();  // nothing changed
  measured.OnKey(0, KeyResult::kAcknowledged);
  progress.SetStatus("よみ入力中");
  wait(2);
  progress.Draw();
  progress.ShowWarning("warning");
  progress.Draw();  // nothing changed
  progress.Finish(succeeded);
  std::string text(static_cast<std::size_t>(std::ftell(out)), '\0');
  std::rewind(out);
  text.resize(std::fread(text.data(), 1, text.size(), out));
  std::fclose(out);
  return text;
}

TEST(EnterResumeTest, ProgressRedrawsOnlyOnATerminalAndSaysWhenItIsDone) {
  const std::string lines =
      "[--------------------] 0/4 タイトル名入力中  0:00, about 0:02 left\n"
      "[#####---------------] 1/4 よみ入力中  0:03, about 0:01 left\n"
      "warning\n";
  EXPECT_EQ(ProgressOutput(false, false), lines);
  EXPECT_EQ(ProgressOutput(false, true), lines + "[####################] 4/4 よみ入力中  done in 0:03\n");

  for (const bool succeeded : {false, true}) {
    const std::string redrawn = ProgressOutput(true, succeeded);
    EXPECT_EQ(std::count(redrawn.begin(), redrawn.end(), '\r'), succeeded ? 5 : 4) << redrawn;
    EXPECT_EQ(std::count(redrawn.begin(), redrawn.end(), '\n'), 3) << redrawn;  // warning, and the end
    EXPECT_NE(redrawn.find("left\x1b[K\nwarning\n\r"), std::string::npos) << redrawn;
    EXPECT_EQ(redrawn.substr(redrawn.size() - 4), "\x1b[K\n");
    EXPECT_EQ(redrawn.find("done in 0:03") != std::string::npos, succeeded) << redrawn;
  }
}

}  // namespace
}  // namespace vrellix
