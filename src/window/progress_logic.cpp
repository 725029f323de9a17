#include "window/progress_logic.h"

#include <utility>

#include "messages/messages.h"

namespace vrellix {

ProgressLogic::ProgressLogic(ProgressView& view) : m_view(view), m_windowThread(std::this_thread::get_id()) {}

void ProgressLogic::BeginJob(JobTimeline timeline, const JobProgress* progress) {
  m_timeline = std::move(timeline);
  m_pJobProgress = progress;
  ++m_nJob;
}

void ProgressLogic::EndJob() {
  ++m_nJob;
  m_pJobProgress = nullptr;
}

bool ProgressLogic::DoModal() { return m_view.RunModal(); }

void ProgressLogic::OnInitDialog() {
  m_shownStatus = messages::kProgressStatusLabel;
  m_view.SetStatusText(m_shownStatus);
  m_view.SetAbortText(messages::kAbortButton);
  m_view.EnableAbort(true);
  m_ended = false;
  // Each run starts from an empty bar, whatever the last one reached.
  m_view.SetPosition(0);
  m_view.SetItemText("");
  m_shownTimes.clear();
  m_nShownKeys = -1;
  if (const JobProgress* progress = m_pJobProgress.load()) m_view.SetRange(progress->KeysPlanned());
  ShowTimes(false);
}

void ProgressLogic::OnStatusTimer() {
  // Set only when the text changed, so the line is not redrawn every tick.
  std::string status = Status();
  if (status != m_shownStatus) {
    m_shownStatus = std::move(status);
    m_view.SetStatusText(m_shownStatus);
    for (const PlannedStep& step : m_timeline.steps) {
      if (step.status == m_shownStatus) m_view.SetItemText(step.item);
    }
  }
  if (!m_ended) ShowTimes(false);
}

void ProgressLogic::ShowTimes(bool finished) {
  const JobProgress* progress = m_pJobProgress.load();
  if (!progress) return;
  const int keys = finished ? progress->KeysPlanned() : progress->KeysSent();
  if (keys != m_nShownKeys) {
    m_nShownKeys = keys;
    m_view.SetPosition(keys);
  }
  // On the clock the job runs on, so that a simulated job's virtual time
  // agrees with the estimate the question gave.
  const std::int64_t remaining = finished ? 0 : progress->LeftMs();
  std::string times =
      messages::ProgressTimes(FormatMinutesSeconds(progress->ElapsedMs()), FormatMinutesSeconds(remaining));
  if (times == m_shownTimes) return;
  m_shownTimes = std::move(times);
  m_view.SetTimeText(m_shownTimes);
}

void ProgressLogic::OnAbort() {
  // The result's own box closes the window.
  if (m_ended) return;
  const Answer answer = m_view.ShowMessage({messages::kAbortQuestion, MessageIcon::kWarning, MessageButtons::kYesNo});
  // A result that came while the question was up may have closed the window.
  if (answer == Answer::kYes && m_view.IsOpen()) m_view.Close(false);
}

bool ProgressLogic::Post(std::function<void()> fn) {
  const unsigned job = m_nJob.load();
  return m_view.Post([this, job, fn = std::move(fn)]() {
    if (job == m_nJob.load()) fn();
  });
}

void ProgressLogic::SetRange(int max) {
  // The bar follows the keys when the job's progress is measured.
  if (m_pJobProgress.load()) return;
  Post([this, max]() { m_view.SetRange(max); });
}

void ProgressLogic::SetPosition(int position) {
  if (m_pJobProgress.load()) return;
  Post([this, position]() { m_view.SetPosition(position); });
}

void ProgressLogic::SetStatus(const std::string& text) {
  std::lock_guard<std::mutex> lock(m_statusMutex);
  m_strStatus = text;
}

std::string ProgressLogic::Status() const {
  std::lock_guard<std::mutex> lock(m_statusMutex);
  return m_strStatus;
}

bool ProgressLogic::PostResult(bool success) {
  if (success) return Post([this]() { OnProgressSuccess(); });
  return Post([this]() { OnProgressStop(); });
}

void ProgressLogic::ShowWarning(const std::string& text) {
  const Message warning{text, MessageIcon::kWarning, MessageButtons::kOk};
  if (std::this_thread::get_id() == m_windowThread) {
    m_view.ShowMessage(warning);
    return;
  }
  // From the worker: never wait for the window thread, it may be waiting for
  // the worker. Not tagged: a forced stop's warning outlives its job.
  m_view.Post([this, warning]() { m_view.ShowMessage(warning); });
}

void ProgressLogic::JobEnded(bool success) {
  m_ended = true;
  ShowTimes(success);
  m_view.EnableAbort(false);
}

void ProgressLogic::OnProgressStop() {
  if (!m_view.IsOpen()) return;
  JobEnded(false);
  m_view.ShowMessage({messages::kJobFailedBox, MessageIcon::kError, MessageButtons::kOk});
  m_view.Close(false);
}

void ProgressLogic::OnProgressSuccess() {
  if (!m_view.IsOpen()) return;
  JobEnded(true);
  m_view.ShowMessage({messages::kJobSucceeded, MessageIcon::kInformation, MessageButtons::kOk});
  m_view.Close(true);
}

}  // namespace vrellix
