#include "app_win32/field_marks_win32.h"

#include <commctrl.h>

#include <string>

#include "app_win32/control_hooks.h"
#include "app_win32/win32_text.h"

namespace vrellix::win32 {

namespace {

const COLORREF kFaultColour = RGB(204, 0, 0);

// Where each code point of the text starts, in UTF-16 units, and the end.
std::vector<int> CodePointStarts(const std::wstring& text) {
  std::vector<int> starts;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] >= 0xDC00 && text[i] <= 0xDFFF && i > 0) continue;  // the second half of a pair
    starts.push_back(static_cast<int>(i));
  }
  starts.push_back(static_cast<int>(text.size()));
  return starts;
}

// A wavy line from left to right along y.
void WavyLine(HDC dc, int left, int right, int y) {
  std::vector<POINT> points;
  for (int x = left, k = 0; x <= right; x += 2, ++k) points.push_back({x, y + (k % 2 == 0 ? 0 : -2)});
  if (points.size() > 1) Polyline(dc, points.data(), static_cast<int>(points.size()));
}

}  // namespace

FieldMarkDisplay::~FieldMarkDisplay() {
  if (m_tooltip) DestroyWindow(m_tooltip);
}

void FieldMarkDisplay::Attach(HWND dialog, const std::vector<HWND>& edits) {
  m_dialog = dialog;
  m_tooltip = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog, nullptr, GetModuleHandleW(nullptr),
                              nullptr);
  // Several lines, one for each fault.
  if (m_tooltip) SendMessageW(m_tooltip, TTM_SETMAXTIPWIDTH, 0, 600);
  for (HWND edit : edits) {
    ControlHooks hooks;
    hooks.afterPaint = [this](HWND painted) { Paint(painted); };
    HookControl(edit, std::move(hooks));
  }
}

void FieldMarkDisplay::Show(HWND edit, HWND count, const FieldMarks& marks) {
  SetWindowTextUtf8(count, marks.count);
  const bool was = m_red.count(count) != 0;
  if (marks.tooLong) m_red.insert(count); else m_red.erase(count);
  if (marks.tooLong != was) InvalidateRect(count, nullptr, TRUE);
  m_faults[edit] = marks.faults;
  InvalidateRect(edit, nullptr, FALSE);
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

void FieldMarkDisplay::Paint(HWND edit) const {
  const auto found = m_faults.find(edit);
  if (found == m_faults.end() || found->second.empty()) return;
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(edit, text.data(), static_cast<int>(text.size()))));
  const std::vector<int> starts = CodePointStarts(text);
  const int points = static_cast<int>(starts.size()) - 1;
  DWORD selFrom = 0, selTo = 0;
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&selFrom), reinterpret_cast<LPARAM>(&selTo));
  RECT area;
  SendMessageW(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&area));

  HDC dc = GetDC(edit);
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
  SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(edit, WM_GETFONT, 0, 0)));
  HPEN pen = CreatePen(PS_SOLID, 1, kFaultColour);
  SelectObject(dc, pen);
  SetTextColor(dc, kFaultColour);
  SetBkColor(dc, GetSysColor(COLOR_WINDOW));
  // The caret blinks by inverting: it must not be up while this draws.
  HideCaret(edit);
  for (const FieldMarks::Span& span : found->second) {
    for (int point = span.start; point < span.start + span.length && point < points; ++point) {
      const int from = starts[static_cast<std::size_t>(point)];
      const int units = starts[static_cast<std::size_t>(point) + 1] - from;
      const LRESULT at = SendMessageW(edit, EM_POSFROMCHAR, static_cast<WPARAM>(from), 0);
      if (at == -1) continue;  // scrolled out of sight
      const int x = static_cast<short>(LOWORD(at));
      const int y = static_cast<short>(HIWORD(at));
      SIZE size;
      GetTextExtentPoint32W(dc, text.data() + from, units, &size);
      // A selected character keeps the selection's colours; only the line marks it.
      const bool selected = static_cast<DWORD>(from) >= selFrom && static_cast<DWORD>(from) < selTo;
      if (!selected) {
        const RECT cell{x, y, x + size.cx, y + size.cy};
        ExtTextOutW(dc, x, y, ETO_OPAQUE | ETO_CLIPPED, &cell, text.data() + from, static_cast<UINT>(units), nullptr);
      }
      WavyLine(dc, x, x + size.cx, y + size.cy - 1);
    }
  }
  ShowCaret(edit);
  RestoreDC(dc, saved);
  DeleteObject(pen);
  ReleaseDC(edit, dc);
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
