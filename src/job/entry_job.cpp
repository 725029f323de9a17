#include "job/entry_job.h"

#include <system_error>
#include <utility>

#include "job/string_input.h"
#include "keys/keys.h"
#include "messages/messages.h"
#include "timing/timer_resolution.h"

namespace vrellix {

namespace {

using messages::kStatusArtist;
using messages::kStatusTitle;
using messages::kStatusTracks;
using messages::kStatusYomi;

std::thread CreateStdThread(std::function<void()> body) { return std::thread(std::move(body)); }

}  // namespace

EntryJob::EntryJob(EntryEngine& engine, JobReporter& reporter)
    : m_engine(engine), m_reporter(reporter), m_threadFactory(CreateStdThread) {}

EntryJob::~EntryJob() {
  // A worker left running would outlive the engine it types through.
  if (m_pInputThread) StopInputThread();
}

void EntryJob::SetAlbum(const Album& album, const std::array<bool, kTrackCount>& checks, int tracksBefore) {
  m_album = album;
  m_checks = checks;
  m_nTracksBefore = tracksBefore;
}

bool EntryJob::IsSelectedTrack(int row) const {
  return !m_album.Tracks[static_cast<std::size_t>(row)].Name.empty() &&
         m_checks[static_cast<std::size_t>(row)];
}

int EntryJob::CountSelectedTracks() const {
  int count = 0;
  for (int row = 0; row < kTrackCount; ++row) {
    if (IsSelectedTrack(row)) ++count;
  }
  return count;
}

bool EntryJob::StartInputThread() {
  // One job at a time: a second worker would type into the same fields.
  if (m_pInputThread) return false;
  {
    std::lock_guard<std::mutex> lock(m_doneMutex);
    m_bWorkerDone = false;
  }
  auto body = [this] {
    InputThreadProc();
    std::lock_guard<std::mutex> lock(m_doneMutex);
    m_bWorkerDone = true;
    m_doneChanged.notify_all();
  };
  try {
    m_pInputThread = std::make_unique<std::thread>(m_threadFactory(body));
  } catch (const std::system_error&) {
    std::lock_guard<std::mutex> lock(m_doneMutex);
    m_bWorkerDone = true;
    return false;
  }
  m_bThreadStopped = false;
  return true;
}

void EntryJob::StopInputThread(std::chrono::milliseconds limit) {
  StopEvent& stop = m_engine.Link().Stop();
  stop.Set();
  if (m_pInputThread) {
    if (!WaitForWorker(limit)) {
      m_reporter.ShowWarning(messages::kForcedStop);
      std::unique_lock<std::mutex> lock(m_doneMutex);
      m_doneChanged.wait(lock, [this] { return m_bWorkerDone; });
    }
    if (m_pInputThread->joinable()) m_pInputThread->join();
    m_pInputThread.reset();
  }
  stop.Reset();
  m_bThreadStopped = true;
}

bool EntryJob::WaitForWorker(std::chrono::milliseconds limit) {
  std::unique_lock<std::mutex> lock(m_doneMutex);
  return m_doneChanged.wait_for(lock, limit, [this] { return m_bWorkerDone; });
}

JobPlace EntryJob::Place() const {
  std::lock_guard<std::mutex> lock(m_placeMutex);
  return m_place;
}

void EntryJob::SetPlace(const JobPlace& place) {
  std::lock_guard<std::mutex> lock(m_placeMutex);
  m_place = place;
}

void EntryJob::HeadForTrackFrom(int row) {
  for (; row < kTrackCount; ++row) {
    if (IsSelectedTrack(row)) return SetPlace(JobPlace::Track(row + 1));
  }
}

int EntryJob::InputThreadProc() {
  // Every key's pauses are a few to a hundred milliseconds: they keep to the
  // estimate only with a fine timer.
  const FineTimerResolution fineTimer;
  m_nProgressPos = 0;
  SetPlace(JobPlace{});
  const int selected = CountSelectedTracks();
  bool succeeded;
  if (m_album.Title.empty() && m_album.Yomi.empty() && m_album.Artist.empty()) {
    m_reporter.SetRange(selected);
    m_reporter.SetStatus(kStatusTracks);
    succeeded = TrackInputProcess() == 1;
  } else {
    m_reporter.SetRange(selected + 3);
    succeeded = false;
    m_reporter.SetStatus(kStatusTitle);
    if (TitleInputProcess() == 1) {
      AdvanceProgress();
      SetPlace(JobPlace{JobPlace::Kind::kYomi, 0});
      m_reporter.SetStatus(kStatusYomi);
      if (YomiInputProcess() == 1) {
        AdvanceProgress();
        SetPlace(JobPlace{JobPlace::Kind::kArtist, 0});
        m_reporter.SetStatus(kStatusArtist);
        if (ArtistInputProcess() == 1) {
          AdvanceProgress();
          m_reporter.SetStatus(kStatusTracks);
          succeeded = TrackInputProcess() == 1;
        }
      }
    }
  }

  // A reply that comes after the last key belongs to no packet: some key
  // reached the device twice, so the device does not hold the album.
  if (succeeded && !m_engine.Link().LineSettled()) succeeded = false;

  StopEvent& stop = m_engine.Link().Stop();
  if (!stop.IsSet()) {
    if (!m_reporter.PostResult(succeeded)) {
      m_reporter.ShowWarning(succeeded ? messages::kSuccessPostFailed : messages::kStopPostFailed);
    }
    // Stay until the window thread has seen the result and stops the job.
    stop.Wait();
  }
  return 0;
}

int EntryJob::TitleInputProcess() {
  ResetEntryState();
  m_engine.m_nSymbolPos = 0;
  if (!Key(KEY_SELECT) || !Key(KEY_MENU_DOWN, 2) || !Key(KEY_SELECT)) return 0;
  Pause(kFieldMenuOpensMs);
  if (m_album.Title.empty()) return 1;
  if (!Key(KEY_SELECT)) return 0;
  Pause(kFieldOpensMs);
  if (!ReplaceFieldText(kEraseCountLong, m_album.Title)) return 0;
  Pause(kAlbumFieldStoredMs);
  return 1;
}

int EntryJob::YomiInputProcess() {
  ResetEntryState();
  if (m_album.Yomi.empty()) return 1;
  if (!Key(KEY_MENU_DOWN) || !Key(KEY_SELECT)) return 0;
  Pause(kFieldOpensMs);
  if (!ReplaceFieldText(kEraseCountYomi, m_album.Yomi)) return 0;
  Pause(kAlbumFieldStoredMs);
  return 1;
}

int EntryJob::ArtistInputProcess() {
  ResetEntryState();
  if (m_album.Artist.empty()) return 1;
  if (!Key(KEY_MENU_DOWN, 2) || !Key(KEY_SELECT)) return 0;
  Pause(kMenuOpensMs);
  if (!Key(KEY_SELECT)) return 0;
  Pause(kArtistFieldSelectedMs);
  Pause(kFieldOpensMs);
  if (!ReplaceFieldText(kEraseCountLong, m_album.Artist)) return 0;
  Pause(kAlbumFieldStoredMs);
  return 1;
}

int EntryJob::TrackInputProcess() {
  HeadForTrackFrom(0);
  if (!Key(KEY_BACK)) return 0;
  Pause(kBackToPlaylistsMs);
  if (!Key(KEY_SELECT)) return 0;
  Pause(kMenuOpensMs);
  if (!Key(KEY_MENU_DOWN) || !Key(KEY_SELECT)) return 0;

  const int selected = CountSelectedTracks();
  int begun = 0;
  for (int row = 0;;) {
    // Rows passed over on the way to a track belong to that track.
    HeadForTrackFrom(row);
    Pause(kTrackRowShownMs);
    if (row != 0 && !Key(KEY_MENU_DOWN)) return 0;
    if (IsSelectedTrack(row)) {
      ++begun;
      m_reporter.SetStatus(messages::TrackStatus(m_nTracksBefore + begun, m_nTracksBefore + selected));
      AdvanceProgress();
      if (!EnterTrack(m_album.Tracks[static_cast<std::size_t>(row)])) return 0;
    }
    ++row;
    // Rows after the last selected track are not visited.
    bool selectedBelow = false;
    for (int below = row; below < kTrackCount && !selectedBelow; ++below) {
      selectedBelow = IsSelectedTrack(below);
    }
    if (!selectedBelow) break;
  }
  return Key(KEY_BACK) ? 1 : 0;
}

bool EntryJob::EnterTrack(const AlbumTrack& track) {
  ResetEntryState();
  if (!Key(KEY_SELECT)) return false;
  Pause(kMenuOpensMs);
  if (!Key(KEY_MENU_DOWN) || !Key(KEY_SELECT)) return false;
  Pause(kFieldMenuOpensMs);
  if (!Key(KEY_SELECT)) return false;
  Pause(kFieldOpensMs);
  if (!ReplaceFieldText(kEraseCountLong, track.Name)) return false;
  Pause(kTrackFieldStoredMs);
  if (!track.Yomi.empty()) {
    ResetEntryState();
    if (!Key(KEY_MENU_DOWN) || !Key(KEY_SELECT)) return false;
    Pause(kFieldOpensMs);
    if (!ReplaceFieldText(kEraseCountYomi, track.Yomi)) return false;
    Pause(kTrackFieldStoredMs);
  }
  if (!Key(KEY_BACK)) return false;
  Pause(kBackToTrackListMs);
  return true;
}

bool EntryJob::ReplaceFieldText(int eraseCount, const std::string& text) {
  return Key(KEY_ERASE, eraseCount) && StringInputProcess(m_engine, text) == 1 &&
         Key(KEY_FINISH);
}

void EntryJob::AdvanceProgress() {
  ++m_nProgressPos;
  m_reporter.SetPosition(m_nProgressPos);
}

}  // namespace vrellix
