#include "cli/progress_line.h"

#include "cli/console.h"

namespace vrellix::cli {

ProgressLine::ProgressLine(const JobPlan& plan, int commandDelayMs, std::FILE* out, bool redraw)
    : m_plan{{}, plan.keys, plan.pauseMs},
      m_nCommandDelay(commandDelayMs),
      m_out(out),
      m_bRedraw(redraw) {}

void ProgressLine::SetRange(int max) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_nRange = max;
}

void ProgressLine::SetPosition(int position) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_nPosition = position;
}

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

void ProgressLine::Draw(std::chrono::steady_clock::duration elapsed) {
  std::lock_guard<std::mutex> lock(m_mutex);
  const std::string key = std::to_string(m_nPosition) + "/" + std::to_string(m_nRange) + " " + m_strStatus;
  if (!m_bRedraw && m_bDrawn && key == m_strLastKey) return;
  m_strLastKey = key;
  m_bDrawn = true;

  constexpr int kBarWidth = 20;
  const int filled = m_nRange > 0 ? m_nPosition * kBarWidth / m_nRange : 0;
  std::string bar(static_cast<std::size_t>(filled), '#');
  bar.append(static_cast<std::size_t>(kBarWidth - filled), '-');
  const std::int64_t leftMs = EstimateLeftMs(m_plan, m_nCommandDelay, m_nKeysDone.load(), m_nPauseDoneMs.load());
  const std::int64_t elapsedMs = std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count();
  Print(m_out, "%s[%s] %s  %s, about %s left%s", m_bRedraw ? "\r" : "", bar.c_str(), key.c_str(),
               FormatMinutesSeconds(elapsedMs).c_str(), FormatMinutesSeconds(leftMs).c_str(),
               m_bRedraw ? "\x1b[K" : "\n");
  std::fflush(m_out);
}

void ProgressLine::Finish() {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (m_bRedraw && m_bDrawn) Print(m_out, "\n");
  m_bDrawn = false;
  std::fflush(m_out);
}

}  // namespace vrellix::cli
