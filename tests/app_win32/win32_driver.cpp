#include "win32_driver.h"

#include <commctrl.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <mutex>
#include <thread>

#include "app_win32/user_boxes.h"
#include "app_win32/win32_text.h"

namespace vrellix::win32::testing {

namespace {

struct Step {
  std::string caption;
  int controlId;
  std::function<void(HWND)> action;
  std::function<bool(HWND)> ready;
};
std::deque<Step> g_steps;
UINT_PTR g_stepTimer = 0;
bool g_inStep = false;

void CALLBACK OnStepTimer(HWND, UINT, UINT_PTR, DWORD) {
  // An action that opens a modal loop must have returned before another step
  // runs; of the steps waiting, the first whose dialog is up runs.
  if (g_inStep) return;
  for (auto step = g_steps.begin(); step != g_steps.end(); ++step) {
    HWND dialog = FindDialog(step->caption, step->controlId);
    if (!dialog || (step->ready && !step->ready(dialog))) continue;
    Step current = std::move(*step);
    g_steps.erase(step);
    g_inStep = true;
    current.action(dialog);
    g_inStep = false;
    return;
  }
}

struct FindRequest {
  std::wstring caption;
  int controlId;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM lParam) {
  auto* request = reinterpret_cast<FindRequest*>(lParam);
  if (!IsWindowVisible(window)) return TRUE;
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  if (!request->caption.empty() && request->caption != text) return TRUE;
  if (request->controlId != 0 && !GetDlgItem(window, request->controlId)) return TRUE;
  request->found = window;
  return FALSE;
}

std::mutex g_watchMutex;
std::string g_watchedTest;
std::chrono::steady_clock::time_point g_deadline = std::chrono::steady_clock::time_point::max();
std::once_flag g_watchStarted;

}  // namespace

ScriptedUser::ScriptedUser() {
  SetMessageBoxFunction([this](HWND, const Message& message) { return OnBox(message); });
  SetFileNameFunction([this](HWND, FileQuestion question, const std::string&) { return OnFile(question); });
}

ScriptedUser::~ScriptedUser() {
  SetMessageBoxFunction(nullptr);
  SetFileNameFunction(nullptr);
}

vrellix::Answer ScriptedUser::OnBox(const Message& message) {
  m_boxes.push_back(message);
  const bool yesNo = message.buttons == MessageButtons::kYesNo;
  if (m_answers.empty()) {
    ++m_unanswered;
    return yesNo ? vrellix::Answer::kNo : vrellix::Answer::kOk;
  }
  const auto [answer, whileShown] = m_answers.front();
  m_answers.pop_front();
  if (whileShown) whileShown();
  if (yesNo == (answer == vrellix::Answer::kOk)) ++m_unanswered;  // a button the box does not have
  return answer;
}

std::optional<std::string> ScriptedUser::OnFile(FileQuestion) {
  if (m_files.empty()) {
    ++m_unanswered;
    return std::nullopt;
  }
  std::optional<std::string> name = std::move(m_files.front());
  m_files.pop_front();
  return name;
}

std::vector<std::string> ScriptedUser::BoxTexts() const {
  std::vector<std::string> texts;
  for (const Message& box : m_boxes) texts.push_back(box.text);
  return texts;
}

HWND FindDialog(const std::string& caption, int controlId) {
  FindRequest request{Wide(caption), controlId, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), &MatchWindow, reinterpret_cast<LPARAM>(&request));
  return request.found;
}

void WhenDialog(const std::string& caption, int controlId, std::function<void(HWND)> action,
                std::function<bool(HWND)> ready) {
  if (!g_stepTimer) g_stepTimer = SetTimer(nullptr, 0, 15, &OnStepTimer);
  g_steps.push_back({caption, controlId, std::move(action), std::move(ready)});
}

int PendingSteps() { return static_cast<int>(g_steps.size()); }

void ClearSteps() { g_steps.clear(); }

bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    MSG msg;
    if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    } else {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
  }
  return true;
}

void SetText(HWND dialog, int id, const std::string& text) {
  const std::wstring wide = Wide(text);
  SendMessageW(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}

std::string Text(HWND dialog, int id) { return WindowTextUtf8(GetDlgItem(dialog, id)); }

void Click(HWND dialog, int id) { SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

void ClickCell(HWND dialog, int listId, int row, int column) {
  HWND list = GetDlgItem(dialog, listId);
  SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
  RECT cell{};
  cell.top = column;
  cell.left = LVIR_LABEL;
  SendMessageW(list, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
  NMITEMACTIVATE click{};
  click.hdr.hwndFrom = list;
  click.hdr.idFrom = static_cast<UINT_PTR>(listId);
  click.hdr.code = NM_CLICK;
  click.iItem = row;
  click.iSubItem = column;
  click.ptAction = {(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2};
  SendMessageW(dialog, WM_NOTIFY, static_cast<WPARAM>(listId), reinterpret_cast<LPARAM>(&click));
}

namespace {

struct ProcessWindowSearch {
  DWORD pid;
  std::wstring caption;
  const std::function<bool(HWND)>* match;
  HWND found;
};

BOOL CALLBACK MatchProcessWindow(HWND window, LPARAM lParam) {
  auto* search = reinterpret_cast<ProcessWindowSearch*>(lParam);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid != search->pid || !IsWindowVisible(window)) return TRUE;
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  if (search->caption != text || !(*search->match)(window)) return TRUE;
  search->found = window;
  return FALSE;
}

BOOL CALLBACK CollectLongestStatic(HWND child, LPARAM lParam) {
  wchar_t className[32] = {};
  GetClassNameW(child, className, 32);
  if (lstrcmpiW(className, L"Static") != 0) return TRUE;
  auto* longest = reinterpret_cast<std::string*>(lParam);
  // WM_GETTEXT is carried across processes; GetWindowText is not.
  wchar_t text[1024] = {};
  SendMessageW(child, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
  std::string utf8 = Utf8(text);
  if (utf8.size() > longest->size()) *longest = std::move(utf8);
  return TRUE;
}

}  // namespace

HWND WaitForWindowOf(DWORD pid, const std::string& caption, const std::function<bool(HWND)>& match, int timeoutMs) {
  ProcessWindowSearch search{pid, Wide(caption), &match, nullptr};
  PumpUntil([&search]() {
    search.found = nullptr;
    EnumWindows(&MatchProcessWindow, reinterpret_cast<LPARAM>(&search));
    return search.found != nullptr;
  }, timeoutMs);
  return search.found;
}

std::string LongestStaticText(HWND window) {
  std::string longest;
  EnumChildWindows(window, &CollectLongestStatic, reinterpret_cast<LPARAM>(&longest));
  return longest;
}

UINT SystemMenuCommand(HWND window, const std::string& text) {
  HMENU menu = GetSystemMenu(window, FALSE);
  const std::wstring wanted = Wide(text);
  for (int item = 0; item < GetMenuItemCount(menu); ++item) {
    wchar_t label[128] = {};
    GetMenuStringW(menu, static_cast<UINT>(item), label, 128, MF_BYPOSITION);
    if (wanted == label) return GetMenuItemID(menu, item);
  }
  return 0;
}

void ArmWatchdog(const std::string& test, int seconds) {
  {
    std::lock_guard<std::mutex> lock(g_watchMutex);
    g_watchedTest = test;
    g_deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  }
  std::call_once(g_watchStarted, []() {
    std::thread([]() {
      for (;;) {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        std::lock_guard<std::mutex> lock(g_watchMutex);
        if (std::chrono::steady_clock::now() > g_deadline) {
          std::fprintf(stdout, "%s: hung; giving up\n", g_watchedTest.c_str());
          std::fflush(stdout);
          ExitProcess(3);
        }
      }
    }).detach();
  });
}

void DisarmWatchdog() {
  std::lock_guard<std::mutex> lock(g_watchMutex);
  g_deadline = std::chrono::steady_clock::time_point::max();
}

bool CaptureWindow(HWND window, const std::wstring& path) {
  RECT rect;
  if (!GetWindowRect(window, &rect)) return false;
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
  PumpUntil([] { return false; }, 300);  // lets the X server catch up
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  const bool copied = BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY) != FALSE;
  GdiFlush();
  const DWORD rowBytes = static_cast<DWORD>((width * 3 + 3) & ~3);
  const DWORD imageBytes = rowBytes * static_cast<DWORD>(height);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info.bmiHeader;
  file.bfSize = file.bfOffBits + imageBytes;
  std::ofstream out(path.c_str(), std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof file);
  out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
  out.write(static_cast<const char*>(bits), imageBytes);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return copied && out.good();
}

}  // namespace vrellix::win32::testing
