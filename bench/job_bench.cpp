// Timing of the real entry job over a pseudo-terminal whose far end answers
// every packet at once: what each key costs beyond the fixed 142 ms reply wait
// and the command delay, and the CPU time per key. Not a test; POSIX only.
//
//   vrellix-job-bench [--delay MS] [FILE.csv]
#include <poll.h>
#include <pty.h>
#include <sys/resource.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "album/album_csv.h"
#include "job/job_plan.h"
#include "job/job_runner.h"
#include "link/clock.h"
#include "link/keys.h"
#include "link/serial_port.h"
#include "validate/input_checks.h"

using namespace vrellix;

namespace {

// Answers each 8-byte packet with ACK as soon as it is complete.
class InstantResponder {
 public:
  bool Open() {
    char name[256] = {};
    if (openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0) return false;
    m_name = name;
    termios raw{};
    tcgetattr(m_slave, &raw);
    cfmakeraw(&raw);
    tcsetattr(m_slave, TCSANOW, &raw);
    m_thread = std::thread([this] { Serve(); });
    return true;
  }
  ~InstantResponder() {
    m_quit = true;
    if (m_thread.joinable()) m_thread.join();
    if (m_master >= 0) close(m_master);
    if (m_slave >= 0) close(m_slave);
  }
  const std::string& Name() const { return m_name; }

 private:
  void Serve() {
    int pending = 0;
    while (!m_quit) {
      pollfd fd{m_master, POLLIN, 0};
      if (poll(&fd, 1, 200) <= 0) continue;  // the timeout only serves the quit flag
      std::uint8_t buffer[64];
      const ssize_t got = read(m_master, buffer, sizeof buffer);
      if (got <= 0) continue;
      for (pending += static_cast<int>(got); pending >= kPacketSize; pending -= kPacketSize) {
        const std::uint8_t ack = ACK;
        [[maybe_unused]] const ssize_t written = write(m_master, &ack, 1);
      }
    }
  }

  int m_master = -1;
  int m_slave = -1;
  std::string m_name;
  std::atomic<bool> m_quit{false};
  std::thread m_thread;
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
    const CsvResult loaded = LoadAlbumCsv(file, edited, CountUnenterable);
    if (!loaded.ok) return std::fprintf(stderr, "%s\n", loaded.message.c_str()), 1;
    const StartCheckResult checked = RunStartChecks(edited);
    if (checked.outcome != StartCheckResult::kReady) return std::fprintf(stderr, "%s\n", checked.message.c_str()), 1;
    album = checked.album;
    for (int row = 0; row < kTrackCount; ++row) checks[static_cast<std::size_t>(row)] = edited.rows[static_cast<std::size_t>(row)].checked;
  }
  const JobPlan plan = PlanJob(album, checks, delay);

  InstantResponder responder;
  if (!responder.Open()) return std::fprintf(stderr, "openpty failed\n"), 1;
  std::unique_ptr<SerialChannel> port = OpenTransmitterPort(responder.Name());
  if (!port) return std::fprintf(stderr, "cannot open %s\n", responder.Name().c_str()), 1;

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
