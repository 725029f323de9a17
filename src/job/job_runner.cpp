#include "job/job_runner.h"

#include <utility>

namespace vrellix {

JobRunner::JobRunner(std::unique_ptr<ByteChannel> channel, std::unique_ptr<Clock> clock, int commandDelayMs)
    : m_pOwnChannel(std::move(channel)),
      m_pOwnClock(std::move(clock)),
      m_channel(*m_pOwnChannel),
      m_clock(*m_pOwnClock),
      m_link(m_channel, m_clock, m_stop, commandDelayMs) {}

JobRunner::JobRunner(std::unique_ptr<ByteChannel> channel, Clock& clock, int commandDelayMs)
    : m_pOwnChannel(std::move(channel)),
      m_channel(*m_pOwnChannel),
      m_clock(clock),
      m_link(m_channel, m_clock, m_stop, commandDelayMs) {}

JobRunner::JobRunner(ByteChannel& channel, Clock& clock, int commandDelayMs)
    : m_channel(channel), m_clock(clock), m_link(m_channel, m_clock, m_stop, commandDelayMs) {}

JobRunner::~JobRunner() {
  // A worker left running would type through the parts that go with the runner.
  if (!IsIdle()) Stop();
}

void JobRunner::SetAlbum(const Album& album, const std::array<bool, kTrackCount>& checks) {
  m_job.SetAlbum(album, checks);
}

void JobRunner::SetAlbum(const AlbumToEnter& entry) { m_job.SetAlbum(entry.album, entry.checks, entry.tracksBefore); }

void JobRunner::SetObserver(LinkObserver* observer) { m_link.SetObserver(observer); }

void JobRunner::SetCommandDelay(int ms) { m_link.SetCommandDelay(ms); }

void JobRunner::SetThreadFactory(EntryJob::ThreadFactory factory) { m_job.SetThreadFactory(std::move(factory)); }

void JobRunner::BeginJob(JobReporter& reporter, bool endOnResult) {
  m_bJobRan = false;
  m_relay.Begin(&reporter, endOnResult);
  // Bytes left from before belong to no key of this job.
  m_channel.PurgeInput();
}

bool JobRunner::Start(JobReporter& reporter) {
  // A worker that posted its result still waits for its stop; another one
  // would type into the same fields.
  if (!IsIdle()) return false;
  BeginJob(reporter, false);
  if (m_job.StartInputThread()) {
    m_bJobRan = true;
    return true;
  }
  m_relay.End();
  return false;
}

std::optional<bool> JobRunner::WaitForResult(std::chrono::milliseconds limit) { return m_relay.WaitForResult(limit); }

void JobRunner::Stop(std::chrono::milliseconds limit) {
  m_job.StopInputThread(limit);
  m_relay.End();
}

std::optional<bool> JobRunner::RunToEnd(JobReporter& reporter) {
  if (!IsIdle()) return std::nullopt;
  BeginJob(reporter, true);
  m_bJobRan = true;
  m_job.InputThreadProc();
  m_stop.Reset();
  m_relay.End();
  return m_relay.Result();
}

std::optional<bool> JobRunner::Result() const { return m_relay.Result(); }

std::optional<JobPlace> JobRunner::StoppedAt() const {
  if (!m_bJobRan || m_relay.Result().value_or(false)) return std::nullopt;
  return m_job.Place();
}

void JobRunner::ResultRelay::Begin(JobReporter* reporter, bool endOnResult) {
  m_reporter = reporter;
  m_bEndOnResult = endOnResult;
  std::lock_guard<std::mutex> lock(m_mutex);
  m_result.reset();
}

std::optional<bool> JobRunner::ResultRelay::WaitForResult(std::chrono::milliseconds limit) {
  std::unique_lock<std::mutex> lock(m_mutex);
  m_posted.wait_for(lock, limit, [this] { return m_result.has_value(); });
  return m_result;
}

std::optional<bool> JobRunner::ResultRelay::Result() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_result;
}

void JobRunner::ResultRelay::SetRange(int max) {
  if (m_reporter) m_reporter->SetRange(max);
}

void JobRunner::ResultRelay::SetPosition(int position) {
  if (m_reporter) m_reporter->SetPosition(position);
}

void JobRunner::ResultRelay::SetStatus(const std::string& text) {
  if (m_reporter) m_reporter->SetStatus(text);
}

bool JobRunner::ResultRelay::PostResult(bool success) {
  const bool delivered = m_reporter ? m_reporter->PostResult(success) : true;
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_result = success;
  }
  m_posted.notify_all();
  // The job waits for a stop after its result; on the calling thread nobody
  // else would give it one.
  if (m_bEndOnResult) m_stop.Set();
  return delivered;
}

void JobRunner::ResultRelay::ShowWarning(const std::string& text) {
  if (m_reporter) m_reporter->ShowWarning(text);
}

}  // namespace vrellix
