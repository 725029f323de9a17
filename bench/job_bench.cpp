// Timing of the real entry job over a pseudo-terminal whose far end answers
// every packet at once: what each key costs beyond the fixed 142 ms reply wait
// and the command delay, and the CPU time per key. Not a test; POSIX only.
//
//   vrellix-job-bench [--delay MS] [FILE.csv]
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "album/album_csv.h"
#include "job/job_plan.h"
#include "job/job_runner.h"
#include "keys/keys.h"
#include "serial/serial_port.h"
#include "sim/pty_server.h"
#include "timing/clock.h"
#include "validate/input_checks.h"

using namespace vrellix;

namespace {

// Answers each 8-byte packet with ACK as soon as it is complete.
class AckEveryPacket final : public sim::LineAnswer {
 public:
  std::vector<sim::LineReply> ReceiveTimed(const std::uint8_t*, std::size_t count) override {
    std::vector<sim::LineReply> acks;
    for (m_pending += count; m_pending >= kPacket; m_pending -= kPacket) acks.push_back({ACK, 0});
    return acks;
  }
  bool LineClosed() const override { return false; }

 private:
  static constexpr std::size_t kPacket = kPacketSize;
  std::size_t m_pending = 0;
};

// The runner keeps the result; only a warning is worth showing.
class Silent final : public JobReporter {
 public:
  void SetRange(int) override {}
  void SetPosition(int) override {}
  void SetStatus(const std::string&) override {}
  bool PostResult(bool) override { return true; }
  void ShowWarning(const std::string& text) override { std::fprintf(stderr, "%s\n", text.c_str()); }
};

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
  int delay = 0;
  std::string file;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--delay" && i + 1 < argc) {
      delay = std::atoi(argv[++i]);
    } else {
      file = arg;
    }
  }

  Album album;
  std::array<bool, kTrackCount> checks{};
  if (file.empty()) {
    album.Title = "\x82\x50";  // １: the cheapest title there is
  } else {
    EditedAlbum edited;
    const AlbumFileResult loaded = LoadAlbumCsv(file, edited);
    if (!loaded.Ok()) return std::fprintf(stderr, "%s\n", AlbumFileMessage(loaded).c_str()), 1;
    const StartCheckResult checked = RunStartChecks(edited);
    if (checked.outcome != StartCheckResult::Outcome::kReady) {
      return std::fprintf(stderr, "%s\n", checked.message.c_str()), 1;
    }
    album = checked.album;
    for (int row = 0; row < kTrackCount; ++row) checks[static_cast<std::size_t>(row)] = edited.rows[static_cast<std::size_t>(row)].checked;
  }
  const JobPlan plan = PlanJob(album, checks, delay);

  AckEveryPacket acks;
  sim::PtyServer responder(acks);
  std::string error;
  if (!responder.Open(&error)) return std::fprintf(stderr, "%s\n", error.c_str()), 1;
  responder.Start();
  std::unique_ptr<SerialChannel> port = OpenTransmitterPort(responder.SlavePath());
  if (!port) return std::fprintf(stderr, "cannot open %s\n", responder.SlavePath().c_str()), 1;

  JobRunner runner(std::move(port), std::make_unique<SystemClock>(), delay);
  runner.SetAlbum(album, checks);
  Silent reporter;

  // No packet write time here: the pty takes the bytes at once.
  const std::int64_t fixedMs = plan.keys * (std::int64_t{kReplyWaitMs} + delay) + plan.pauseMs + kLineSettleMs;
  std::printf("%d keys, %lld ms of pauses, %d ms command delay: about %s expected\n", plan.keys,
              static_cast<long long>(plan.pauseMs), delay, FormatMinutesSeconds(fixedMs).c_str());
  const double cpuBefore = CpuSeconds();
  const auto started = std::chrono::steady_clock::now();
  if (!runner.Start(reporter)) return std::fprintf(stderr, "no worker thread\n"), 1;
  // Woken by the result, not polling: the CPU time is the job's.
  std::optional<bool> result;
  while (!result) result = runner.WaitForResult(std::chrono::hours(1));
  const double wallMs =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
  const double cpuMs = (CpuSeconds() - cpuBefore) * 1000.0;
  runner.Stop();
  const bool success = *result;

  std::printf("result: %s\n", success ? "success" : "failure");
  std::printf("wall %.0f ms; fixed waits %lld ms; added per key %.2f ms\n", wallMs,
              static_cast<long long>(fixedMs), (wallMs - static_cast<double>(fixedMs)) / plan.keys);
  std::printf("CPU %.1f ms in all (job and responder); %.3f ms per key\n", cpuMs, cpuMs / plan.keys);
  return success ? 0 : 1;
}
