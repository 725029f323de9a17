#include "window/reading_choice_logic.h"

#include <cstddef>
#include <vector>

#include "messages/messages.h"
#include "text/trim.h"
#include "validate/input_checks.h"

namespace vrellix {
namespace {

// Why the reading field would not take text; empty when it would.
std::string Fault(const std::string& text) {
  const FieldCheck check = CheckFieldText(text, CheckMode::kReading);
  if (check.count == 0) return messages::kChosenReadingEmpty;
  if (!check.faults.empty()) return CharFaultText(check.faults.front().reason);
  if (check.count > check.limit) return messages::kReadingTooLong;
  return {};
}

}  // namespace

std::string ReadingChoiceText(const ReadingChoice& choice) {
  return messages::ReadingChoiceRow(FieldName(choice.field), choice.reading, choice.name);
}

ReadingChoiceLogic::ReadingChoiceLogic(ReadingChoiceView& view, ReadingChoices& choices)
    : m_view(view), m_choices(choices) {}

void ReadingChoiceLogic::OnInitDialog() {
  std::vector<std::string> texts;
  std::vector<bool> checked;
  for (const ReadingChoice& choice : m_choices.rows) {
    texts.push_back(ReadingChoiceText(choice));
    checked.push_back(choice.checked);
  }
  m_view.SetRows(texts, checked);
  m_view.SetSkipped(m_choices.skipped);
  if (m_choices.rows.empty()) return;
  m_view.SelectRow(0);
  OnRowSelected(0);
}

void ReadingChoiceLogic::OnRowSelected(int row) {
  m_selected = row >= 0 && static_cast<std::size_t>(row) < m_choices.rows.size() ? row : -1;
  if (m_selected < 0) {
    m_view.SetCandidates({}, "");
    return;
  }
  const ReadingChoice& choice = m_choices.rows[static_cast<std::size_t>(m_selected)];
  m_view.SetCandidates(choice.candidates, choice.reading);
}

void ReadingChoiceLogic::OnReadingChanged() {
  if (m_selected < 0) return;
  ReadingChoice& choice = m_choices.rows[static_cast<std::size_t>(m_selected)];
  choice.reading = m_view.ReadingText();
  m_view.SetRowText(m_selected, ReadingChoiceText(choice));
}

void ReadingChoiceLogic::OnOk() {
  for (std::size_t row = 0; row < m_choices.rows.size(); ++row) {
    const int index = static_cast<int>(row);
    m_choices.rows[row].reading = TrimWhite(m_choices.rows[row].reading);
    const std::string fault = m_view.IsRowChecked(index) ? Fault(m_choices.rows[row].reading) : std::string();
    if (fault.empty()) continue;
    m_view.SelectRow(index);
    OnRowSelected(index);
    m_view.ShowMessage({FieldName(m_choices.rows[row].field) + ": " + fault, MessageIcon::kWarning});
    return;
  }
  for (std::size_t row = 0; row < m_choices.rows.size(); ++row) {
    m_choices.rows[row].checked = m_view.IsRowChecked(static_cast<int>(row));
  }
  m_view.Close(true);
}

}  // namespace vrellix
