#include "window/track_edit_logic.h"

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "messages/messages.h"
#include "validate/input_checks.h"

namespace vrellix {

TrackEditLogic::TrackEditLogic(TrackEditView& view, TrackEdit& edit, ReadingActions* readings)
    : m_view(view), m_edit(edit), m_pReadings(readings) {}

int TrackEditLogic::Number() const { return std::atoi(m_edit.number.c_str()); }

void TrackEditLogic::OnInitDialog() {
  m_view.SetNumber(m_edit.number);
  m_view.SetText(TrackEditField::kName, m_edit.name);
  m_view.SetText(TrackEditField::kYomi, m_edit.yomi);
  OnTextChanged();
  m_view.FocusText(TrackEditField::kName);
}

void TrackEditLogic::OnTextChanged() {
  m_view.ShowFieldMarks(TrackEditField::kName, MarkField(m_view.Text(TrackEditField::kName), CheckMode::kGeneral));
  m_view.ShowFieldMarks(TrackEditField::kYomi, MarkField(m_view.Text(TrackEditField::kYomi), CheckMode::kReading));
}

void TrackEditLogic::OnOk() {
  const std::string name = m_view.Text(TrackEditField::kName);
  const std::string yomi = m_view.Text(TrackEditField::kYomi);
  if (const std::optional<std::string> fault = CheckTrackEdit(name, yomi)) {
    // The fields keep what the user typed, so it can be corrected.
    m_view.ShowMessage({*fault, MessageIcon::kWarning});
    return;
  }
  // An album file may hold what the device cannot take: the user may keep it,
  // once told, and correct it before entering.
  const std::vector<StartFault> faults = ListTrackFaults(Number(), name, yomi);
  if (!faults.empty()) {
    std::string lines;
    for (const StartFault& fault : faults) lines += fault.line + "\n";
    lines.pop_back();
    Message question{messages::KeepUnenterableQuestion(lines), MessageIcon::kWarning, MessageButtons::kYesNo};
    question.defaultNo = true;
    if (m_view.ShowMessage(question) != Answer::kYes) {
      m_view.FocusText(faults.front().place.kind == AlbumField::Kind::kTrackYomi ? TrackEditField::kYomi
                                                                            : TrackEditField::kName);
      return;
    }
  }
  m_edit.name = name;
  m_edit.yomi = yomi;
  m_view.Close(true);
}

Menu TrackEditLogic::FieldMenu(TrackEditField field) {
  if (!m_pReadings) return {};
  const std::string name = m_view.Text(TrackEditField::kName);
  const auto put = [this](TrackEditField into) {
    return [this, into](const std::string& text) { m_view.ReplaceText(into, text); };
  };
  if (field == TrackEditField::kYomi) {
    return {m_pReadings->ReadingItem(m_view, name, put(TrackEditField::kYomi),
                                     [this] { m_view.SelectText(TrackEditField::kYomi); })};
  }
  return m_pReadings->NameItems(m_view, AlbumField{AlbumField::Kind::kTrackName, Number()}, name, put(TrackEditField::kName));
}

Menu TrackEditLogic::DialogMenu() {
  Menu menu = FieldMenu(TrackEditField::kYomi);
  for (MenuItem& item : FieldMenu(TrackEditField::kName)) menu.push_back(std::move(item));
  return menu;
}

}  // namespace vrellix
