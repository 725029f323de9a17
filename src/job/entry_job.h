// The entry job: a worker thread that types a whole album into the device,
// field by field, and reports its progress through a JobReporter.
#pragma once

#include <array>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "album/album.h"
#include "entry/entry_engine.h"
#include "job/job_place.h"
#include "job/job_reporter.h"

namespace vrellix {

// Time the window thread gives a stopped worker before it warns that the
// worker would not end.
constexpr std::chrono::milliseconds kStopWaitLimit{5000};

// Erase presses that clear a field: as many characters as it can hold.
constexpr int kEraseCountLong = 32;   // title, artist, track name
constexpr int kEraseCountYomi = 16;   // readings

// The job's pauses (ms), named for what the device is doing meanwhile: it
// takes no key before it is done.
constexpr int kMenuOpensMs = 500;             // KEY_SELECT opens the playlist's, the artist's or a track's menu
constexpr int kArtistFieldSelectedMs = 500;   // the artist field, a menu deeper than the others, starts to open
constexpr int kFieldMenuOpensMs = 1000;       // the menu of the album's or a track's fields opens
constexpr int kFieldOpensMs = 2000;           // a text field opens with its palette
constexpr int kAlbumFieldStoredMs = 2500;     // KEY_FINISH stores the album's title, reading or artist
constexpr int kTrackFieldStoredMs = 2000;     // KEY_FINISH stores a track's name or reading
constexpr int kBackToPlaylistsMs = 2000;      // KEY_BACK leaves the album's menus for the playlist list
constexpr int kTrackRowShownMs = 3000;        // the track list shows the row its cursor is on
constexpr int kBackToTrackListMs = 1000;      // KEY_BACK leaves a track's menus for the track list

class EntryJob {
 public:
  // Creates the thread that runs body; throws std::system_error when it cannot.
  using ThreadFactory = std::function<std::thread(std::function<void()> body)>;

  // The job sends through engine (and its link's stop event) and reports to
  // reporter; both must outlive the job.
  EntryJob(EntryEngine& engine, JobReporter& reporter);
  ~EntryJob();
  EntryJob(const EntryJob&) = delete;
  EntryJob& operator=(const EntryJob&) = delete;

  // The album to enter and the rows' check marks, copied when the job is set
  // up, so the worker never asks the window for them. tracksBefore: selected
  // tracks of the album before this job's first (AlbumToEnter), counted in
  // the status texts of its tracks.
  void SetAlbum(const Album& album, const std::array<bool, kTrackCount>& checks, int tracksBefore = 0);

  // Starts the worker running InputThreadProc. False when the thread could not
  // be created (the job stays idle) or a worker exists already.
  bool StartInputThread();

  // Signals the stop event and waits for the worker. If it has not ended within
  // limit, warns "ＲＺＴ入力処理スレッド強制停止" and goes on waiting (a thread
  // cannot be ended safely from outside). Leaves the job idle with the stop
  // event reset. Safe to call with no worker.
  void StopInputThread(std::chrono::milliseconds limit = kStopWaitLimit);

  // Waits until the worker has returned from InputThreadProc (without
  // stopping it). True when it has, or when there is no worker.
  bool WaitForWorker(std::chrono::milliseconds limit);

  // The worker's body: every step in order, then the result unless stopped,
  // then waits for the stop event. Returns 0. Success only when, after the
  // last key, the line stays quiet for kLineSettleMs (KeyLink::LineSettled).
  // May also be run directly on the calling thread (the reporter must then end
  // the wait, e.g. by setting the stop event when the result is posted).
  int InputThreadProc();

  // The four steps: 1 when done (also with nothing to enter), 0 when a key or
  // a string failed.
  int TitleInputProcess();
  int YomiInputProcess();
  int ArtistInputProcess();
  int TrackInputProcess();

  // Tracks that take part: a name and a ticked check mark.
  int CountSelectedTracks() const;
  bool IsSelectedTrack(int row) const;

  // The field the job is entering, or the track it is on its way to (the
  // header field's step, else the next selected track; the last one once every
  // track is done). Set anew by each job and kept after it ends, so that after
  // a failure or a stop it says where to continue.
  JobPlace Place() const;

  void SetThreadFactory(ThreadFactory factory) { m_threadFactory = std::move(factory); }

  int m_nProgressPos = 0;    // progress the worker has reached
  bool m_bThreadStopped = true;  // while no worker runs

 private:
  // Page, width, text and off-grid flags back to 0 as a field opens.
  void ResetEntryState() { m_engine.ResetEntryState(); }
  // True when every press was acknowledged.
  bool Key(int key, int times = 1) { return m_engine.PressKey(key, times) == 1; }
  void Pause(int ms) { m_engine.Link().Pause(ms); }
  void AdvanceProgress();
  void SetPlace(const JobPlace& place);
  // The place becomes the first selected track from row on, if there is one.
  void HeadForTrackFrom(int row);
  // Erase, enter the text and close the field.
  bool ReplaceFieldText(int eraseCount, const std::string& text);
  bool EnterTrack(const AlbumTrack& track);

  EntryEngine& m_engine;
  JobReporter& m_reporter;
  Album m_album;
  std::array<bool, kTrackCount> m_checks{};
  int m_nTracksBefore = 0;
  ThreadFactory m_threadFactory;

  mutable std::mutex m_placeMutex;
  JobPlace m_place;

  std::unique_ptr<std::thread> m_pInputThread;
  std::mutex m_doneMutex;
  std::condition_variable m_doneChanged;
  bool m_bWorkerDone = true;
};

}  // namespace vrellix
