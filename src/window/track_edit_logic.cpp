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

void TrackEditLogic::OnSuggestReading() {
  if (!m_pReadings) return;
  const std::optional<std::string> reading =
      m_pReadings->SuggestReading(m_view, AlbumField{AlbumField::Kind::kTrackYomi, Number()},
                                  m_view.Text(TrackEditField::kName), m_view.Text(TrackEditField::kYomi));
  if (reading) m_view.ReplaceText(TrackEditField::kYomi, *reading);
}

void TrackEditLogic::OnConvertName(KanaStyle style) {
  if (!m_pReadings) return;
  const std::optional<std::string> name = m_pReadings->ConvertName(
      m_view, AlbumField{AlbumField::Kind::kTrackName, Number()}, m_view.Text(TrackEditField::kName), style);
  if (name) m_view.ReplaceText(TrackEditField::kName, *name);
}

Menu TrackEditLogic::FieldMenu(TrackEditField field) {
  if (!m_pReadings) return {};
  if (field == TrackEditField::kYomi) return {{messages::kSuggestReadingItem, [this] { OnSuggestReading(); }}};
  return {{messages::kToHiraganaItem, [this] { OnConvertName(KanaStyle::kHiragana); }},
          {messages::kToKatakanaItem, [this] { OnConvertName(KanaStyle::kKatakana); }}};
}

Menu TrackEditLogic::DialogMenu() {
  Menu menu = FieldMenu(TrackEditField::kYomi);
  for (MenuItem& item : FieldMenu(TrackEditField::kName)) menu.push_back(std::move(item));
  return menu;
}

}  // namespace vrellix
