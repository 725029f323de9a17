// The track edit dialog's behaviour, apart from how it draws: the texts it
// opens with, the fields' marks as the user types, the checks of OK, and
// よみを推定 and かなに変換 in its menus. Each toolkit's dialog implements
// TrackEditView, owns one TrackEditLogic and calls its handlers.
#pragma once

#include "window/menu_model.h"
#include "window/reading_actions.h"
#include "window/titler_view.h"
#include "window/track_edit_view.h"

namespace vrellix {

class TrackEditLogic {
 public:
  // edit: what the dialog shows, and after OK what the user typed (untrimmed).
  // readings: where よみを推定 and かなに変換 come from; nullptr: the dialog
  // offers neither. view, edit and readings outlive the logic.
  TrackEditLogic(TrackEditView& view, TrackEdit& edit, ReadingActions* readings);

  // Once the view's controls exist: the number and the texts, the marks of
  // both fields, the focus in the name.
  void OnInitDialog();
  // Whenever either field's text changes: the marks of both fields
  // (the name CheckMode::kGeneral, the reading CheckMode::kReading).
  void OnTextChanged();
  // OK: refuses, with a warning and the dialog left open, a name or reading
  // over 32 bytes or a reading without a name; asks, No by default, before it
  // takes characters the device cannot enter (No: the dialog stays open on the
  // field at fault); otherwise edit takes the texts as typed and the dialog
  // closes with OK.
  void OnOk();

  // What a field's own context menu offers after the toolkit's items, built
  // as it opens: よみを推定 with the name's readings on the reading, かなに変換
  // with the name in kana on the name; empty without readings.
  Menu FieldMenu(TrackEditField field);
  // Both fields' items in one menu, for a dialog whose fields keep the
  // system's menu.
  Menu DialogMenu();

 private:
  int Number() const;

  TrackEditView& m_view;
  TrackEdit& m_edit;
  ReadingActions* m_pReadings;
};

}  // namespace vrellix
