// What the edit fields show while the user types, in Win32: the count beside
// each field (red when over the limit), each character the device cannot take
// drawn red with a red wavy line under it, as Qt's fields show them, and the
// faults as the field's tooltip. A plain edit control cannot colour single
// characters: the marks are drawn over it after it has painted itself.
#pragma once

#include <windows.h>

#include <map>
#include <set>
#include <vector>

#include "window/field_marks.h"

namespace vrellix::win32 {

class FieldMarkDisplay {
 public:
  ~FieldMarkDisplay();
  // Once the dialog's controls exist; the edit fields that show marks.
  void Attach(HWND dialog, const std::vector<HWND>& edits);
  void Show(HWND edit, HWND count, const FieldMarks& marks);
  // For WM_CTLCOLORSTATIC: sets the text colour of a marked count; false for
  // any other control.
  bool SetColour(HWND control, HDC dc) const;

 private:
  // Draws the marks over the field as it stands.
  void Paint(HWND edit) const;

  HWND m_dialog = nullptr;
  HWND m_tooltip = nullptr;
  std::set<HWND> m_tools;
  std::set<HWND> m_red;
  std::map<HWND, std::vector<FieldMarks::Span>> m_faults;
};

// "ＭＳ ゴシック" 9 pt (or wine's stand-in): every character one cell, so a
// count against a limit can be seen, sized for the window's monitor or for
// dpi. Deleted by the caller.
HFONT CreateFixedWidthFont(HWND window);
HFONT CreateFixedWidthFont(int dpi);

// A user32 function of Windows 10 1607 and later, looked up so that older
// systems still start the program; nullptr where there is none.
template <typename Function>
Function NewerUser32Function(const char* name) {
  const FARPROC found = GetProcAddress(GetModuleHandleW(L"user32.dll"), name);
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

// The dots per inch of the monitor the window is on (the system's where
// Windows cannot say per monitor).
int WindowDpi(HWND window);

}  // namespace vrellix::win32
