#include "window/progress_logic.h"

#include <utility>

#include "messages/messages.h"

namespace vrellix {

ProgressLogic::ProgressLogic(ProgressView& view) : m_view(view), m_windowThread(std::this_thread::get_id()) {}

void ProgressLogic::BeginJob() { ++m_nJob; }

void ProgressLogic::EndJob() { ++m_nJob; }

bool ProgressLogic::DoModal() { return m_view.RunModal(); }

void ProgressLogic::OnInitDialog() {
  m_shownStatus = messages::kProgressStatusLabel;
  m_view.SetStatusText(m_shownStatus);
  m_view.SetAbortText(messages::kAbortButton);
}

void ProgressLogic::OnStatusTimer() {
  // Set only when the text changed, so the line is not redrawn every tick.
  std::string status = Status();
  if (status == m_shownStatus) return;
  m_shownStatus = std::move(status);
  m_view.SetStatusText(m_shownStatus);
}

void ProgressLogic::OnAbort() {
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
  Post([this, max]() { m_view.SetRange(max); });
}

void ProgressLogic::SetPosition(int position) {
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

void ProgressLogic::OnProgressStop() {
  if (!m_view.IsOpen()) return;
  m_view.ShowMessage({messages::kJobFailed, MessageIcon::kError, MessageButtons::kOk});
  m_view.Close(false);
}

void ProgressLogic::OnProgressSuccess() {
  if (!m_view.IsOpen()) return;
  m_view.ShowMessage({messages::kJobSucceeded, MessageIcon::kInformation, MessageButtons::kOk});
  m_view.Close(true);
}

}  // namespace vrellix
