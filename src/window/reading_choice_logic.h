// The よみを一括推定 dialog's behaviour, apart from how it draws: each row
// shows the reading it would fill in; the row selected shows its candidates in
// the reading field, where another is picked or typed; OK takes the check
// marks and the readings, and refuses a checked reading the field would not
// take. Each toolkit's dialog implements ReadingChoiceView, owns one
// ReadingChoiceLogic and calls its handlers.
#pragma once

#include <string>

#include "window/reading_choice_view.h"

namespace vrellix {

// How a row reads: "トラック1のよみ: はるよ、こい (春よ、来い)".
std::string ReadingChoiceText(const ReadingChoice& choice);

class ReadingChoiceLogic {
 public:
  // choices: what the dialog shows, and after OK the choice. view and choices
  // outlive the logic.
  ReadingChoiceLogic(ReadingChoiceView& view, ReadingChoices& choices);

  // Once the view's controls exist: the rows, the first one selected, and the
  // names left unread.
  void OnInitDialog();
  // Another row selected (-1: none): the reading field shows its candidates and reading.
  void OnRowSelected(int row);
  // The reading field's text changed, picked or typed: the selected row takes it.
  void OnReadingChanged();
  // OK: a checked row whose reading the field would not take is selected and
  // named in a warning, and the dialog stays open; otherwise the choices take
  // the check marks and the dialog closes with OK.
  void OnOk();

 private:
  ReadingChoiceView& m_view;
  ReadingChoices& m_choices;
  int m_selected = -1;
};

}  // namespace vrellix
