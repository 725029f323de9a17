// The main window (dialog 102) in Win32: a view of TitlerLogic that only draws
// and passes the events on.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <array>
#include <string>

#include "app_win32/dialog_window.h"
#include "app_win32/field_marks_win32.h"
#include "app_win32/progress_window.h"
#include "window/titler_logic.h"
#include "window/titler_view.h"

namespace vrellix::win32 {

class TitlerWindow final : public DialogWindow, public TitlerView {
 public:
  // progress outlives the window.
  TitlerWindow(ProgressWindow& progress, const TitlerOptions& options);
  ~TitlerWindow() override;

  TitlerLogic& Logic() { return m_logic; }

  // TitlerView.
  std::string Text(TextField field) const override;
  void SetText(TextField field, const std::string& text) override;
  void ReplaceText(TextField field, const std::string& text) override;
  void ShowFieldMarks(TextField field, const FieldMarks& marks) override;
  void FocusText(TextField field) override;
  void FocusTrack(int row, TrackColumn column) override;
  void SelectText(TextField field) override;
  void FocusNextControl() override;
  int CurrentTrack() const override;
  std::string CellText(int row, TrackColumn column) const override;
  void SetCellText(int row, TrackColumn column, const std::string& text) override;
  bool IsChecked(int row) const override;
  void SetChecked(int row, bool checked) override;
  void MarkTrack(int row, const std::string& tip) override;
  void EnableControl(Control control, bool enabled) override;
  void SetCaption(const std::string& text) override;
  void SetLinkText(const std::string& text) override;
  std::optional<std::string> AskFileName(FileQuestion question, const std::string& proposed) override;
  bool EditTrack(TrackEdit& edit) override;
  bool EditPortSettings(PortSettingsEdit& edit) override;
  bool ChooseReadings(ReadingChoices& choices) override;
  void ShowSimulatorDump(const std::string& verdict, const std::string& dump) override;
  void ShowAbout() override;
  Answer ShowMessage(const Message& message) override;

 protected:
  void OnInitDialog() override;
  void OnCommand(int id, int code) override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

 private:
  void BuildTrackList();
  // The columns' widths for the list's present size and the monitor's dpi.
  void LayOutTrackColumns(int dpi);
  // Another monitor: the suggested place, the fixed-width font and (posted,
  // after the controls' new layout) the columns anew.
  void OnDpiChanged(int dpi, const RECT& suggested);
  void OnTrackListClick(const NMITEMACTIVATE& click);
  // The list's notifications: clicks, check marks, the marked rows' tips and colour.
  bool OnTrackListNotify(LPARAM lParam, INT_PTR& result);
  // Enter and F2 in the fields and on the list, the fields' context menus.
  void HookControls();
  // The list takes what the window grows by; the buttons and the line under
  // them keep to the bottom.
  void LayOut(int width, int height);

  ProgressWindow& m_progress;
  TitlerLogic m_logic;
  Menu m_systemMenu;  // what was added to the system menu
  SIZE m_templateSize{};    // the window's size as laid out, its smallest
  SIZE m_templateClient{};  // its client area's
  RECT m_listRect{};        // the list's, at that size (client coordinates)
  int m_buttonTop = 0;      // the buttons', at that size
  int m_linkTop = 0;        // the line's under them
  int m_dpi = 96;           // the monitor's, which those are in
  FieldMarkDisplay m_marks;
  std::array<std::string, kTrackCount> m_trackTips;  // each row's tooltip; empty: not marked
  HFONT m_fixedFont = nullptr;
  HBRUSH m_background = nullptr;
  HICON m_bigIcon = nullptr;
  HICON m_smallIcon = nullptr;
};

}  // namespace vrellix::win32
