#include "app_win32/small_dialogs.h"

#include "app_win32/dialog_window.h"
#include "app_win32/user_boxes.h"
#include "app_win32/win32_text.h"
#include "messages/messages.h"
#include "resource.h"
#include "validate/input_checks.h"
#include "version/version.h"

namespace vrellix::win32 {

namespace {

class TrackEditDialog final : public DialogWindow {
 public:
  explicit TrackEditDialog(TrackEdit& edit) : m_edit(edit) {}

 protected:
  void OnInitDialog() override {
    SetWindowTextUtf8(Item(IDC_TRACK_NAME), m_edit.name);
    SetWindowTextUtf8(Item(IDC_TRACK_NUMBER), m_edit.number);
    SetWindowTextUtf8(Item(IDC_TRACK_YOMI), m_edit.yomi);
    SetFocus(Item(IDC_TRACK_NAME));
  }

  void OnCommand(int id, int code) override {
    if (id != IDOK) {
      DialogWindow::OnCommand(id, code);
      return;
    }
    const std::string name = WindowTextUtf8(Item(IDC_TRACK_NAME));
    const std::string yomi = WindowTextUtf8(Item(IDC_TRACK_YOMI));
    if (const auto fault = CheckTrackEdit(name, yomi)) {
      // The fields keep what the user typed, so it can be corrected.
      ShowMessageBox(Hwnd(), {*fault, MessageIcon::kWarning});
      return;
    }
    m_edit.name = name;
    m_edit.yomi = yomi;
    End(IDOK);
  }

 private:
  TrackEdit& m_edit;
};

class AboutBox final : public DialogWindow {
 public:
  AboutBox() { m_swallowEnterEscape = true; }

 protected:
  void OnInitDialog() override {
    // The template holds a placeholder number; the one shown is the build's.
    SetWindowTextUtf8(FindWindowExW(Hwnd(), nullptr, L"Static", L"Vrellix Version 1.0"),
                      std::string("Vrellix Version ") + kVersion);
  }
};

class SimulatorDump final : public DialogWindow {
 public:
  SimulatorDump(const std::string& verdict, const std::string& dump) : m_verdict(verdict), m_dump(dump) {}

 protected:
  void OnInitDialog() override {
    SetWindowTextUtf8(Item(IDC_VERDICT), m_verdict);
    SetWindowTextUtf8(Item(IDC_DUMP_LABEL), messages::kSimulatorHolds);
    // An edit control breaks lines only at CR LF.
    std::string text;
    for (char c : m_dump) {
      if (c == '\n') text += '\r';
      text += c;
    }
    SetWindowTextUtf8(Item(IDC_DUMP), text);
    SetFocus(Item(IDOK));
  }

 private:
  const std::string& m_verdict;
  const std::string& m_dump;
};

}  // namespace

bool RunTrackEditDialog(HWND owner, TrackEdit& edit) {
  TrackEditDialog dialog(edit);
  return dialog.DoModal(owner, IDD_TRACK_EDIT) == IDOK;
}

void RunAboutBox(HWND owner) {
  AboutBox about;
  about.DoModal(owner, IDD_ABOUTBOX);
}

void RunSimulatorDump(HWND owner, const std::string& verdict, const std::string& dump) {
  SimulatorDump dialog(verdict, dump);
  dialog.DoModal(owner, IDD_SIMULATOR_DUMP);
}

}  // namespace vrellix::win32
