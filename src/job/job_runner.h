// Runs the entry job. A runner owns everything a job runs on: the byte channel
// (a serial port, the simulator, or a line that acknowledges every key), the
// clock, the stop event, the link, the engine and the job. Every front end, the
// plan, the simulated run and the bench start their jobs through one.
//
// A job's worker posts its result and then waits for a stop: a front end
// learns the result from its reporter or from WaitForResult, then calls Stop().
// RunToEnd ends that wait itself.
#pragma once

#include <array>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>

#include "album/album.h"
#include "entry/entry_engine.h"
#include "job/entry_job.h"
#include "job/job_place.h"
#include "job/job_reporter.h"
#include "keys/byte_channel.h"
#include "keys/key_link.h"
#include "timing/clock.h"
#include "timing/stop_event.h"

namespace vrellix {

class JobRunner {
 public:
  // Owns the channel and the clock (neither may be null).
  JobRunner(std::unique_ptr<ByteChannel> channel, std::unique_ptr<Clock> clock, int commandDelayMs);
  // Owns the channel (not null); the clock (the channel's own, say) outlives
  // the runner.
  JobRunner(std::unique_ptr<ByteChannel> channel, Clock& clock, int commandDelayMs);
  // Owns neither: both outlive the runner.
  JobRunner(ByteChannel& channel, Clock& clock, int commandDelayMs);
  // Stops a job that is still running.
  ~JobRunner();
  JobRunner(const JobRunner&) = delete;
  JobRunner& operator=(const JobRunner&) = delete;

  // The album and the rows' check marks of the next job, copied now, so the
  // worker never asks the front end for them.
  void SetAlbum(const Album& album, const std::array<bool, kTrackCount>& checks);
  // The same for a job that may continue from a track (ContinueFrom).
  void SetAlbum(const AlbumToEnter& entry);
  // Sees every key and pause of the jobs; nullptr for none. Set while idle.
  void SetObserver(LinkObserver* observer);
  void SetCommandDelay(int ms);
  // How the worker thread is created (tests make it fail).
  void SetThreadFactory(EntryJob::ThreadFactory factory);

  // Discards what the channel has received, then runs the job on a worker
  // thread that reports to reporter until Stop() returns. False, leaving the
  // runner idle, when the thread could not be created, and when a job has not
  // been stopped yet.
  bool Start(JobReporter& reporter);

  // The result of the job under way once it has been posted; nothing when
  // limit passes first.
  std::optional<bool> WaitForResult(std::chrono::milliseconds limit);

  // Sets the stop event and waits for the worker: the key under way finishes,
  // nothing more is sent, no result is posted after it. If the worker has not
  // ended within limit, warns "ＲＺＴ入力処理スレッド強制停止" through the
  // reporter and goes on waiting. Leaves the runner idle with the stop event
  // reset. Does nothing but that reset when no job runs.
  void Stop(std::chrono::milliseconds limit = kStopWaitLimit);

  // Discards what the channel has received and runs the job on the calling
  // thread to its end. The result, or nothing when the job was stopped (the
  // stop event set from elsewhere) and, without running anything, while a
  // worker exists. The stop event is reset afterwards.
  std::optional<bool> RunToEnd(JobReporter& reporter);

  // The result of the last job, kept after Stop(); nothing when it posted none.
  std::optional<bool> Result() const;
  // Where the last job was when it failed or was stopped: the field it was
  // entering, or the track it was on its way to (see job_place.h for what to
  // show and how to continue). Nothing after a success, or before any job ran.
  // Ask once Stop() or RunToEnd() has returned.
  std::optional<JobPlace> StoppedAt() const;
  // True while no worker exists: none was started, or Stop() collected the last.
  bool IsIdle() const { return m_job.m_bThreadStopped; }
  // The stop event, for a stop requested where Stop() cannot be called (a
  // signal, another thread). The job ends as after Stop(); Stop() still
  // collects the worker.
  StopEvent& StopSignal() { return m_stop; }
  // The clock the jobs' waits pass on, which their progress is timed by.
  Clock& JobClock() { return m_clock; }

 private:
  // Hands the job's reports to the front end's reporter and keeps the result.
  class ResultRelay final : public JobReporter {
   public:
    explicit ResultRelay(StopEvent& stop) : m_stop(stop) {}
    // endOnResult: the posted result also sets the stop event, so that the job
    // runs to its end on the calling thread.
    void Begin(JobReporter* reporter, bool endOnResult);
    void End() { m_reporter = nullptr; }
    std::optional<bool> WaitForResult(std::chrono::milliseconds limit);
    std::optional<bool> Result() const;

    void SetRange(int max) override;
    void SetPosition(int position) override;
    void SetStatus(const std::string& text) override;
    bool PostResult(bool success) override;
    void ShowWarning(const std::string& text) override;

   private:
    StopEvent& m_stop;
    JobReporter* m_reporter = nullptr;
    bool m_bEndOnResult = false;
    mutable std::mutex m_mutex;
    std::condition_variable m_posted;
    std::optional<bool> m_result;
  };

  void BeginJob(JobReporter& reporter, bool endOnResult);

  std::unique_ptr<ByteChannel> m_pOwnChannel;
  std::unique_ptr<Clock> m_pOwnClock;
  ByteChannel& m_channel;
  Clock& m_clock;
  StopEvent m_stop;
  bool m_bJobRan = false;
  ResultRelay m_relay{m_stop};
  KeyLink m_link;
  EntryEngine m_engine{m_link};
  EntryJob m_job{m_engine, m_relay};
};

}  // namespace vrellix
