// The track edit dialog (dialog 129) as the window logic sees it: the track's
// number, its name and reading fields with their counts, OK and ｷｬﾝｾﾙ.
#pragma once

#include <string>

#include "window/field_marks.h"
#include "window/message.h"

namespace vrellix {

// The edit fields 1007 and 1008.
enum class TrackEditField { kName, kYomi };

class TrackEditView : public MessageView {
 public:
  // UTF-8 texts of the fields.
  virtual std::string Text(TrackEditField field) const = 0;
  virtual void SetText(TrackEditField field, const std::string& text) = 0;
  // Replaces the field's text as if the user had typed it over the whole, so
  // that the field's own undo brings the old text back.
  virtual void ReplaceText(TrackEditField field, const std::string& text) = 0;
  // The number field (1003), which the user cannot change.
  virtual void SetNumber(const std::string& number) = 0;
  // As TitlerView::ShowFieldMarks.
  virtual void ShowFieldMarks(TrackEditField field, const FieldMarks& marks) = 0;
  virtual void FocusText(TrackEditField field) = 0;
  // Puts the focus in the field with its whole text selected, to be typed over.
  virtual void SelectText(TrackEditField field) = 0;
  // Ends the dialog, with OK (true) or as cancelled.
  virtual void Close(bool ok) = 0;
};

}  // namespace vrellix
