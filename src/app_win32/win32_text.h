// The core speaks UTF-8; Windows' W functions speak UTF-16.
#pragma once

#include <windows.h>

#include <string>

namespace vrellix::win32 {

// Invalid input becomes U+FFFD rather than nothing.
std::wstring Wide(const std::string& utf8);
std::string Utf8(const std::wstring& wide);

std::string WindowTextUtf8(HWND window);
void SetWindowTextUtf8(HWND window, const std::string& text);
// Replaces an edit field's whole text as typing would, so that its undo
// brings the old text back.
void ReplaceTextUndoably(HWND edit, const std::string& text);
// Moves the dialog's focus to the edit field with its whole text selected.
void SelectWholeText(HWND dialog, HWND edit);

}  // namespace vrellix::win32
