// The よみを一括推定 dialog as the window logic sees it: the readings it would
// fill in, each with a check box, the chosen row's reading to pick from its
// candidates or type, the names it left unread and why, OK and ｷｬﾝｾﾙ.
#pragma once

#include <string>
#include <vector>

#include "album/album.h"
#include "window/message.h"

namespace vrellix {

// One reading the dialog offers to fill in.
struct ReadingChoice {
  AlbumField field;                     // the reading field
  std::string name;                     // the name it is the reading of (UTF-8)
  std::vector<std::string> candidates;  // best first
  std::string reading;                  // the one chosen or typed
  bool checked = true;                  // only a checked row is filled in
};

// What the dialog shows, and after OK what the user chose.
struct ReadingChoices {
  std::vector<ReadingChoice> rows;
  std::vector<std::string> skipped;  // a line for each name left unread, saying why
};

class ReadingChoiceView : public MessageView {
 public:
  // The list's rows (UTF-8) with their check boxes.
  virtual void SetRows(const std::vector<std::string>& texts, const std::vector<bool>& checked) = 0;
  virtual void SetRowText(int row, const std::string& text) = 0;
  virtual bool IsRowChecked(int row) const = 0;
  virtual void SelectRow(int row) = 0;
  // The reading field: the candidates it lists, and its text.
  virtual void SetCandidates(const std::vector<std::string>& candidates, const std::string& text) = 0;
  virtual std::string ReadingText() const = 0;
  // The names left unread, a line each; empty: none.
  virtual void SetSkipped(const std::vector<std::string>& lines) = 0;
  // Ends the dialog, with OK (true) or as cancelled.
  virtual void Close(bool ok) = 0;
};

}  // namespace vrellix
