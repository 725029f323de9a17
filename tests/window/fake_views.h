// The window logic's views without a toolkit. The views record what they are
// told; a FakeUser answers their message boxes and acts in their modal windows
// from a script, one step each, in order. A window that comes up with no step
// for it is counted and closed the cautious way (No, ｷｬﾝｾﾙ, the close box),
// so a test can fail, never hang.
#pragma once

#include <array>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "album/album.h"
#include "window/menu_model.h"
#include "window/progress_logic.h"
#include "window/port_settings_view.h"
#include "window/progress_view.h"
#include "window/reading_choice_view.h"
#include "window/titler_view.h"
#include "window/track_edit_view.h"

namespace vrellix::testing {

// The labels of a menu, a submenu's after its own as "label > item".
std::vector<std::string> Labels(const Menu& menu);

class FakeProgressView;

struct ShownBox {
  std::string text;
  MessageIcon icon = MessageIcon::kInformation;
  MessageButtons buttons = MessageButtons::kOk;
  bool defaultNo = false;
  bool operator==(const ShownBox& other) const {
    return text == other.text && icon == other.icon && buttons == other.buttons && defaultNo == other.defaultNo;
  }
};

class FakeUser {
 public:
  using ProgressAction = std::function<void(FakeProgressView&)>;

  // Closes the next message box with answer.
  void AnswerBox(Answer answer);
  // Runs action on the next track edit dialog: true presses OK, false ｷｬﾝｾﾙ.
  void EditTrack(std::function<bool(TrackEdit&)> action);
  // Runs action on the next 通信設定 dialog: true presses OK, false ｷｬﾝｾﾙ.
  void EditPorts(std::function<bool(PortSettingsEdit&)> action);
  // Runs action on the next よみを一括推定 dialog: true presses OK, false ｷｬﾝｾﾙ.
  void ChooseReadings(std::function<bool(ReadingChoices&)> action);
  // Acts in the open progress window once ready (if given) returns true.
  void InProgress(ProgressAction action, std::function<bool()> ready = nullptr);

  // Every box shown, in the order they came up.
  const std::vector<ShownBox>& Boxes() const { return m_boxes; }
  std::vector<std::string> Texts() const;
  // What each track edit dialog showed when it came up.
  const std::vector<TrackEdit>& Edits() const { return m_edits; }
  // What each 通信設定 dialog showed when it came up.
  const std::vector<PortSettingsEdit>& PortEdits() const { return m_portEdits; }
  // What each よみを一括推定 dialog showed when it came up.
  const std::vector<ReadingChoices>& ReadingDialogs() const { return m_readingDialogs; }
  bool Done() const { return m_steps.empty(); }
  // Windows that came up with no step for them, and steps that did not fit.
  int Unexpected() const { return m_unexpected; }

  // For the views, on the window thread.
  void BoxShown(const Message& message);
  Answer BoxAnswer(const Message& message);
  bool TrackEditAnswer(TrackEdit& edit);
  bool PortEditAnswer(PortSettingsEdit& edit);
  bool ReadingChoiceAnswer(ReadingChoices& choices);
  // Runs the next step if it is a progress action that is ready.
  bool ActInProgress(FakeProgressView& view);
  void CountUnexpected() { ++m_unexpected; }

 private:
  struct Step {
    enum Kind { kBox, kTrackEdit, kPortEdit, kProgress, kReadingChoice } kind;
    Answer answer = Answer::kOk;
    std::function<bool(TrackEdit&)> edit;
    std::function<bool(PortSettingsEdit&)> portEdit;
    ProgressAction act;
    std::function<bool()> ready;
    std::function<bool(ReadingChoices&)> choose;
  };

  std::deque<Step> m_steps;
  std::vector<ShownBox> m_boxes;
  std::vector<TrackEdit> m_edits;
  std::vector<PortSettingsEdit> m_portEdits;
  std::vector<ReadingChoices> m_readingDialogs;
  int m_unexpected = 0;
};

class FakeTitlerView final : public TitlerView {
 public:
  explicit FakeTitlerView(FakeUser& user) : m_user(user) {}

  // What the screen holds; a test types into it directly.
  std::map<TextField, std::string> texts;
  std::array<EditedRow, kTrackCount> rows;
  std::map<Control, bool> enabled{
      {Control::kLoad, true}, {Control::kSave, true}, {Control::kStart, true}, {Control::kExit, true}};
  // The answer to every file question; nothing: the user cancels.
  std::optional<std::string> fileName;
  std::vector<FileQuestion> fileQuestions;
  std::vector<std::string> proposedNames;  // what each file question proposed
  std::string caption = "Vrellix";
  std::map<TextField, FieldMarks> marks;
  // Where the focus was put: a field (row -1) or a row's cell.
  struct Focus {
    TextField field;
    int row;
    TrackColumn column;
    bool operator==(const Focus& other) const {
      return field == other.field && row == other.row && column == other.column;
    }
  };
  std::optional<Focus> focus;
  struct Dump {
    std::string verdict;
    std::string dump;
  };
  std::vector<Dump> dumps;

  void SetRow(int row, const std::string& name, const std::string& yomi, bool checked = true);

  std::string Text(TextField field) const override;
  void SetText(TextField field, const std::string& text) override { texts[field] = text; }
  // The fields replaced as if typed over (undoable), in order.
  std::vector<TextField> replaced;
  void ReplaceText(TextField field, const std::string& text) override {
    texts[field] = text;
    replaced.push_back(field);
  }
  void ShowFieldMarks(TextField field, const FieldMarks& shown) override { marks[field] = shown; }
  void FocusText(TextField field) override { focus = {field, -1, TrackColumn::kName}; }
  std::optional<TextField> selected;  // the field last selected to be typed over
  void SelectText(TextField field) override { selected = field; }
  void FocusTrack(int row, TrackColumn column) override { focus = {TextField::kTitle, row, column}; }
  int focusMoves = 0;  // times the focus went on to the next control
  void FocusNextControl() override { ++focusMoves; }
  int currentTrack = -1;
  int CurrentTrack() const override { return currentTrack; }
  std::string linkText;
  void SetLinkText(const std::string& text) override { linkText = text; }
  std::string CellText(int row, TrackColumn column) const override;
  void SetCellText(int row, TrackColumn column, const std::string& text) override;
  bool IsChecked(int row) const override { return Row(row).checked; }
  void SetChecked(int row, bool checked) override { Row(row).checked = checked; }
  std::map<int, std::string> trackMarks;  // each row's tooltip as last marked; empty: unmarked
  void MarkTrack(int row, const std::string& tip) override { trackMarks[row] = tip; }
  void EnableControl(Control control, bool on) override { enabled[control] = on; }
  std::optional<std::string> AskFileName(FileQuestion question, const std::string& proposed) override;
  void SetCaption(const std::string& text) override { caption = text; }
  bool EditTrack(TrackEdit& edit) override { return m_user.TrackEditAnswer(edit); }
  bool EditPortSettings(PortSettingsEdit& edit) override { return m_user.PortEditAnswer(edit); }
  bool ChooseReadings(ReadingChoices& choices) override { return m_user.ReadingChoiceAnswer(choices); }
  void ShowSimulatorDump(const std::string& verdict, const std::string& dump) override;
  int aboutBoxes = 0;
  void ShowAbout() override { ++aboutBoxes; }
  Answer ShowMessage(const Message& message) override;

 private:
  EditedRow& Row(int row);
  const EditedRow& Row(int row) const;

  FakeUser& m_user;
};

// The track edit dialog: what its fields hold, which a test types into, and
// how it was closed.
class FakeTrackEditView final : public TrackEditView {
 public:
  explicit FakeTrackEditView(FakeUser& user) : m_user(user) {}

  std::map<TrackEditField, std::string> texts;
  std::string number;
  std::map<TrackEditField, FieldMarks> marks;
  std::optional<TrackEditField> focus;
  std::vector<TrackEditField> replaced;  // the fields replaced as if typed over, in order
  std::optional<bool> closed;            // OK (true) or ｷｬﾝｾﾙ; nothing while open

  std::string Text(TrackEditField field) const override;
  void SetText(TrackEditField field, const std::string& text) override { texts[field] = text; }
  void ReplaceText(TrackEditField field, const std::string& text) override {
    texts[field] = text;
    replaced.push_back(field);
  }
  void SetNumber(const std::string& shown) override { number = shown; }
  void ShowFieldMarks(TrackEditField field, const FieldMarks& shown) override { marks[field] = shown; }
  void FocusText(TrackEditField field) override { focus = field; }
  std::optional<TrackEditField> selected;  // the field last selected to be typed over
  void SelectText(TrackEditField field) override { selected = field; }
  void Close(bool ok) override { closed = ok; }
  Answer ShowMessage(const Message& message) override;

 private:
  FakeUser& m_user;
};

// The 通信設定 dialog: its list, the port field as an editable list shows it
// (a picked entry's text, or what was typed) and the delay field.
class FakePortSettingsView final : public PortSettingsView {
 public:
  std::vector<std::string> entries;
  std::optional<int> picked;  // the entry picked; nothing: the field holds typed text
  std::string typed;
  int minDelay = 0;
  int maxDelay = 0;
  int delay = 0;
  bool focused = false;
  std::optional<bool> closed;

  void SetPortEntries(const std::vector<std::string>& shown) override { entries = shown; }
  void ChoosePortEntry(int index) override { picked = index; }
  void SetPortText(const std::string& text) override {
    picked.reset();
    typed = text;
  }
  std::string PortText() const override;
  void SetDelayRange(int min, int max) override {
    minDelay = min;
    maxDelay = max;
  }
  void SetDelay(int ms) override { delay = ms; }
  int Delay() const override { return delay; }
  void FocusPort() override { focused = true; }
  std::string note;
  void SetPortNote(const std::string& text) override { note = text; }
  void Close(bool ok) override { closed = ok; }
};

// The よみを一括推定 dialog: its rows with their check boxes, the reading
// field, which a test types into, and the names left unread.
class FakeReadingChoiceView final : public ReadingChoiceView {
 public:
  explicit FakeReadingChoiceView(FakeUser& user) : m_user(user) {}

  std::vector<std::string> rows, candidates, skipped;
  std::vector<bool> checked;
  int selected = -1;
  std::string reading;
  std::optional<bool> closed;

  void SetRows(const std::vector<std::string>& texts, const std::vector<bool>& marks) override {
    rows = texts;
    checked = marks;
  }
  void SetRowText(int row, const std::string& text) override { rows.at(static_cast<size_t>(row)) = text; }
  bool IsRowChecked(int row) const override { return checked.at(static_cast<size_t>(row)); }
  void SelectRow(int row) override { selected = row; }
  void SetCandidates(const std::vector<std::string>& shown, const std::string& text) override {
    candidates = shown;
    reading = text;
  }
  std::string ReadingText() const override { return reading; }
  void SetSkipped(const std::vector<std::string>& lines) override { skipped = lines; }
  void Close(bool ok) override { closed = ok; }
  Answer ShowMessage(const Message& message) override;

 private:
  FakeUser& m_user;
};

// Its window thread is the thread that made it. RunModal pumps what was
// posted, ticks the status timer and lets the user act; a message box pumps
// what was posted and ticks the timer while it is up, as a toolkit's box does.
class FakeProgressView final : public ProgressView {
 public:
  explicit FakeProgressView(FakeUser& user) : m_user(user) {}

  ProgressLogic& Logic() { return m_logic; }

  // The user's actions while the window is open.
  void ClickAbort() { m_logic.OnAbort(); }
  void ClickCloseBox() { m_logic.OnAbort(); }  // as the views do
  // Runs what has been posted so far, in order.
  void RunPosted();

  int Range() const { return m_range; }
  int Position() const { return m_position; }
  // Every text the status line was given, in order.
  const std::vector<std::string>& StatusTexts() const { return m_statusTexts; }
  const std::string& AbortText() const { return m_abortText; }
  bool AbortEnabled() const { return m_abortEnabled; }
  // Every text the item and time lines were given, in order.
  const std::vector<std::string>& ItemTexts() const { return m_itemTexts; }
  const std::vector<std::string>& TimeTexts() const { return m_timeTexts; }
  int TimesOpened() const { return m_opened; }

  void SetRange(int max) override { m_range = max; }
  void SetPosition(int position) override { m_position = position; }
  void SetStatusText(const std::string& text) override { m_statusTexts.push_back(text); }
  void SetItemText(const std::string& text) override { m_itemTexts.push_back(text); }
  void SetTimeText(const std::string& text) override { m_timeTexts.push_back(text); }
  void SetAbortText(const std::string& text) override { m_abortText = text; }
  void EnableAbort(bool enabled) override { m_abortEnabled = enabled; }
  bool IsOpen() const override { return m_open; }
  void Close(bool ok) override;
  bool RunModal() override;
  bool Post(std::function<void()> fn) override;
  Answer ShowMessage(const Message& message) override;

 private:
  FakeUser& m_user;
  std::mutex m_mutex;
  std::condition_variable m_postedChanged;
  std::deque<std::function<void()>> m_posted;
  bool m_open = false;
  bool m_result = false;
  int m_opened = 0;
  int m_range = 100;
  int m_position = 0;
  std::vector<std::string> m_statusTexts;
  std::vector<std::string> m_itemTexts;
  std::vector<std::string> m_timeTexts;
  std::string m_abortText;
  bool m_abortEnabled = false;
  ProgressLogic m_logic{*this};
};

}  // namespace vrellix::testing
