#include "app_win32/field_marks_win32.h"

#include <commctrl.h>

#include "app_win32/win32_text.h"

namespace vrellix::win32 {

namespace {

const COLORREF kFaultColour = RGB(204, 0, 0);

}  // namespace

FieldMarkDisplay::~FieldMarkDisplay() {
  if (m_tooltip) DestroyWindow(m_tooltip);
}

void FieldMarkDisplay::Attach(HWND dialog) {
  m_dialog = dialog;
  m_tooltip = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog, nullptr, GetModuleHandleW(nullptr),
                              nullptr);
  // Several lines, one for each fault.
  if (m_tooltip) SendMessageW(m_tooltip, TTM_SETMAXTIPWIDTH, 0, 600);
}

void FieldMarkDisplay::Show(HWND edit, HWND count, const FieldMarks& marks) {
  SetWindowTextUtf8(count, marks.count);
  const auto mark = [this](HWND control, bool on) {
    const bool was = m_red.count(control) != 0;
    if (on) m_red.insert(control); else m_red.erase(control);
    if (on != was) InvalidateRect(control, nullptr, TRUE);
  };
  mark(count, marks.tooLong);
  mark(edit, !marks.faults.empty());
  if (!m_tooltip) return;
  std::wstring tip = Wide(marks.tip);
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = m_dialog;
  tool.uId = reinterpret_cast<UINT_PTR>(edit);
  tool.lpszText = tip.data();
  if (m_tools.insert(edit).second) {
    SendMessageW(m_tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  } else {
    SendMessageW(m_tooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

bool FieldMarkDisplay::SetColour(HWND control, HDC dc) const {
  if (!m_red.count(control)) return false;
  SetTextColor(dc, kFaultColour);
  return true;
}

int WindowDpi(HWND window) {
  static const auto dpiForWindow = NewerUser32Function<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
  if (dpiForWindow) {
    if (const UINT dpi = dpiForWindow(window)) return static_cast<int>(dpi);
  }
  HDC dc = GetDC(window);
  const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(window, dc);
  return dpi;
}

HFONT CreateFixedWidthFont(HWND window) { return CreateFixedWidthFont(WindowDpi(window)); }

HFONT CreateFixedWidthFont(int dpi) {
  const int height = -MulDiv(9, dpi, 72);
  return CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, L"ＭＳ ゴシック");
}

}  // namespace vrellix::win32
