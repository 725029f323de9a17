#include "fake_views.h"

#include <stdexcept>
#include <utility>

namespace vrellix::testing {

std::vector<std::string> Labels(const Menu& menu) {
  std::vector<std::string> labels;
  for (const MenuItem& item : menu) {
    labels.push_back(item.label);
    for (const MenuItem& sub : item.submenu) labels.push_back(item.label + " > " + sub.label);
  }
  return labels;
}

namespace {

// Ten seconds without anything to do in an open progress window: give up.
constexpr auto kGiveUp = std::chrono::seconds(10);

}  // namespace

void FakeUser::AnswerBox(Answer answer) { m_steps.push_back({Step::kBox, answer, nullptr, nullptr, nullptr, nullptr, nullptr}); }

void FakeUser::EditTrack(std::function<bool(TrackEdit&)> action) {
  m_steps.push_back({Step::kTrackEdit, Answer::kOk, std::move(action), nullptr, nullptr, nullptr, nullptr});
}

void FakeUser::EditPorts(std::function<bool(PortSettingsEdit&)> action) {
  m_steps.push_back({Step::kPortEdit, Answer::kOk, nullptr, std::move(action), nullptr, nullptr, nullptr});
}

void FakeUser::ChooseReadings(std::function<bool(ReadingChoices&)> action) {
  Step step{Step::kReadingChoice, Answer::kOk, nullptr, nullptr, nullptr, nullptr, std::move(action)};
  m_steps.push_back(std::move(step));
}

void FakeUser::InProgress(ProgressAction action, std::function<bool()> ready) {
  m_steps.push_back({Step::kProgress, Answer::kOk, nullptr, nullptr, std::move(action), std::move(ready), nullptr});
}

std::vector<std::string> FakeUser::Texts() const {
  std::vector<std::string> texts;
  for (const ShownBox& box : m_boxes) texts.push_back(box.text);
  return texts;
}

void FakeUser::BoxShown(const Message& message) { m_boxes.push_back({message.text, message.icon, message.buttons, message.defaultNo}); }

Answer FakeUser::BoxAnswer(const Message& message) {
  const bool yesNo = message.buttons == MessageButtons::kYesNo;
  const Answer cautious = yesNo ? Answer::kNo : Answer::kOk;
  if (m_steps.empty() || m_steps.front().kind != Step::kBox) {
    ++m_unexpected;
    return cautious;
  }
  const Answer answer = m_steps.front().answer;
  m_steps.pop_front();
  // The button must be on the box.
  if ((answer == Answer::kOk) == yesNo) {
    ++m_unexpected;
    return cautious;
  }
  return answer;
}

bool FakeUser::TrackEditAnswer(TrackEdit& edit) {
  m_edits.push_back(edit);
  if (m_steps.empty() || m_steps.front().kind != Step::kTrackEdit) {
    ++m_unexpected;
    return false;
  }
  const std::function<bool(TrackEdit&)> action = std::move(m_steps.front().edit);
  m_steps.pop_front();
  return action(edit);
}

bool FakeUser::ReadingChoiceAnswer(ReadingChoices& choices) {
  m_readingDialogs.push_back(choices);
  if (m_steps.empty() || m_steps.front().kind != Step::kReadingChoice) {
    ++m_unexpected;
    return false;
  }
  const std::function<bool(ReadingChoices&)> action = std::move(m_steps.front().choose);
  m_steps.pop_front();
  return action(choices);
}

bool FakeUser::PortEditAnswer(PortSettingsEdit& edit) {
  m_portEdits.push_back(edit);
  if (m_steps.empty() || m_steps.front().kind != Step::kPortEdit) {
    ++m_unexpected;
    return false;
  }
  const std::function<bool(PortSettingsEdit&)> action = std::move(m_steps.front().portEdit);
  m_steps.pop_front();
  return action(edit);
}

bool FakeUser::ActInProgress(FakeProgressView& view) {
  if (m_steps.empty() || m_steps.front().kind != Step::kProgress) return false;
  if (m_steps.front().ready && !m_steps.front().ready()) return false;
  const ProgressAction action = std::move(m_steps.front().act);
  m_steps.pop_front();
  action(view);
  return true;
}

void FakeTitlerView::SetRow(int row, const std::string& name, const std::string& yomi, bool checked) {
  Row(row) = {name, yomi, checked};
}

EditedRow& FakeTitlerView::Row(int row) {
  if (row < 0 || row >= kTrackCount) throw std::out_of_range("no such row");
  return rows[static_cast<std::size_t>(row)];
}

const EditedRow& FakeTitlerView::Row(int row) const {
  if (row < 0 || row >= kTrackCount) throw std::out_of_range("no such row");
  return rows[static_cast<std::size_t>(row)];
}

std::string FakeTitlerView::Text(TextField field) const {
  const auto text = texts.find(field);
  return text == texts.end() ? std::string() : text->second;
}

std::string FakeTitlerView::CellText(int row, TrackColumn column) const {
  return column == TrackColumn::kName ? Row(row).name : Row(row).yomi;
}

void FakeTitlerView::SetCellText(int row, TrackColumn column, const std::string& text) {
  (column == TrackColumn::kName ? Row(row).name : Row(row).yomi) = text;
}

std::optional<std::string> FakeTitlerView::AskFileName(FileQuestion question, const std::string& proposed) {
  fileQuestions.push_back(question);
  proposedNames.push_back(proposed);
  return fileName;
}

void FakeTitlerView::ShowSimulatorDump(const std::string& verdict, const std::string& dump) {
  dumps.push_back({verdict, dump});
}

Answer FakeTitlerView::ShowMessage(const Message& message) {
  m_user.BoxShown(message);
  return m_user.BoxAnswer(message);
}

std::string FakeTrackEditView::Text(TrackEditField field) const {
  const auto text = texts.find(field);
  return text == texts.end() ? std::string() : text->second;
}

Answer FakeTrackEditView::ShowMessage(const Message& message) {
  m_user.BoxShown(message);
  return m_user.BoxAnswer(message);
}

Answer FakeReadingChoiceView::ShowMessage(const Message& message) {
  m_user.BoxShown(message);
  return m_user.BoxAnswer(message);
}

std::string FakePortSettingsView::PortText() const {
  return picked ? entries.at(static_cast<std::size_t>(*picked)) : typed;
}

void FakeProgressView::RunPosted() {
  for (;;) {
    std::function<void()> fn;
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      if (m_posted.empty()) return;
      fn = std::move(m_posted.front());
      m_posted.pop_front();
    }
    fn();
  }
}

bool FakeProgressView::Post(std::function<void()> fn) {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_posted.push_back(std::move(fn));
  }
  m_postedChanged.notify_all();
  return true;
}

void FakeProgressView::Close(bool ok) {
  m_open = false;
  m_result = ok;
}

bool FakeProgressView::RunModal() {
  m_open = true;
  m_result = false;
  ++m_opened;
  m_logic.OnInitDialog();
  auto giveUp = std::chrono::steady_clock::now() + kGiveUp;
  while (m_open) {
    RunPosted();
    if (!m_open) break;
    m_logic.OnStatusTimer();
    if (m_user.ActInProgress(*this)) {
      giveUp = std::chrono::steady_clock::now() + kGiveUp;
      continue;
    }
    if (std::chrono::steady_clock::now() > giveUp) {
      m_user.CountUnexpected();
      Close(false);
      break;
    }
    std::unique_lock<std::mutex> lock(m_mutex);
    m_postedChanged.wait_for(lock, std::chrono::milliseconds(kStatusTimerMs), [this] { return !m_posted.empty(); });
  }
  return m_result;
}

Answer FakeProgressView::ShowMessage(const Message& message) {
  m_user.BoxShown(message);
  // The box's own loop: what arrives while it is up is handled before the
  // user answers it.
  RunPosted();
  if (m_open) m_logic.OnStatusTimer();
  return m_user.BoxAnswer(message);
}

}  // namespace vrellix::testing
