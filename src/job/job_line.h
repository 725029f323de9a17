// What a front end runs its jobs on: a runner on the serial port or on the
// built-in simulator, and, where the device can be seen, what it holds after a
// job. The window logic takes a factory of these from its front end, so it
// needs to know nothing of the simulator.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "job/job_place.h"
#include "job/job_runner.h"

namespace vrellix {

// What the device holds after a job, as the window shows it (UTF-8).
struct DeviceReport {
  std::string verdict;  // whether it holds the album, and what is wrong if not
  std::string dump;     // every field as held
};

class JobLine {
 public:
  explicit JobLine(std::unique_ptr<JobRunner> runner) : m_pRunner(std::move(runner)) {}
  virtual ~JobLine() = default;
  JobLine(const JobLine&) = delete;
  JobLine& operator=(const JobLine&) = delete;

  JobRunner& Runner() { return *m_pRunner; }

  // True when the built-in simulator stands in for the device.
  virtual bool Simulated() const { return false; }
  // After a job that entered entry (headers: false when it continued from a
  // track and left the header fields out): what the device holds. Nothing where
  // the device cannot be seen, as on a serial port.
  virtual std::optional<DeviceReport> AfterJob(const AlbumToEnter& /*entry*/, bool /*headers*/) {
    return std::nullopt;
  }
  // After a failure or a stop, once the user has been told to take the device
  // back to the playlist list: a simulated device, which has no user, goes there.
  virtual void AfterStop() {}

 private:
  std::unique_ptr<JobRunner> m_pRunner;
};

// Makes a line for the command delay (ms).
using JobLineFactory = std::function<std::unique_ptr<JobLine>(int commandDelayMs)>;

}  // namespace vrellix
