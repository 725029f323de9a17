#include "cli/progress_line.h"

#include "cli/console.h"

namespace vrellix::cli {

namespace {

constexpr int kBarWidth = 20;

std::string Bar(int done, int of) {
  const int filled = of > 0 ? static_cast<int>(static_cast<long long>(done) * kBarWidth / of) : 0;
  std::string bar(static_cast<std::size_t>(filled), '#');
  bar.append(static_cast<std::size_t>(kBarWidth - filled), '-');
  return bar;
}

}  // namespace

ProgressLine::ProgressLine(const JobProgress& progress, std::FILE* out, bool redraw)
    : m_progress(progress), m_out(out), m_bRedraw(redraw) {}

void ProgressLine::SetStatus(const std::string& text) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_strStatus = text;
}

void ProgressLine::ShowWarning(const std::string& text) {
  std::lock_guard<std::mutex> lock(m_mutex);
  // Below the redrawn line, which the next Draw starts again.
  Print(m_out, "%s%s\n", m_bRedraw && m_bDrawn ? "\n" : "", text.c_str());
  std::fflush(m_out);
}

void ProgressLine::Write(const std::string& bar, int keys, const std::string& times) {
  Print(m_out, "%s[%s] %d/%d %s  %s%s", m_bRedraw ? "\r" : "", bar.c_str(), keys, m_progress.KeysPlanned(),
        m_strStatus.c_str(), times.c_str(), m_bRedraw ? "\x1b[K" : "\n");
  m_bDrawn = true;
  std::fflush(m_out);
}

void ProgressLine::Draw() {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (!m_bRedraw && m_bDrawn && m_strStatus == m_strLastStatus) return;
  m_strLastStatus = m_strStatus;
  const int keys = m_progress.KeysSent();
  Write(Bar(keys, m_progress.KeysPlanned()), keys,
        FormatMinutesSeconds(m_progress.ElapsedMs()) + ", about " + FormatMinutesSeconds(m_progress.LeftMs()) +
            " left");
}

void ProgressLine::Finish(bool succeeded) {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (succeeded) {
    const int keys = m_progress.KeysPlanned();
    Write(Bar(keys, keys), keys, "done in " + FormatMinutesSeconds(m_progress.ElapsedMs()));
  }
  if (m_bRedraw && m_bDrawn) Print(m_out, "\n");
  m_bDrawn = false;
  std::fflush(m_out);
}

}  // namespace vrellix::cli
