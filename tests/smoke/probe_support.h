#pragma once
// What the probe's commands share: printing UTF-8, reading a window's text, clicking a control
// as a user would, and waiting for a window.
#include <string>

#include "platform/win32/wide_text.h"
#include "platform/win32/windows_api.h"

namespace vorn::probe {

inline void Print(const std::string& text) {
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

inline std::string Text(HWND window) {
  wchar_t text[1024] = {};
  SendMessageW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
  return NarrowZ(text);
}

// What a click does: the control changes, then tells its parent. (BM_CLICK would depend on
// which window is active.)
inline void Notify(HWND parent, int id, int code) {
  SendMessageW(parent, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(GetDlgItem(parent, id)));
}

// A visible top-level window of that class (and title, when given), waited for up to 30 seconds
// (a restore unpacks before its next question); null when none showed.
inline HWND WaitForWindow(const char* windowClass, const wchar_t* title = nullptr) {
  for (int attempt = 0; attempt < 600; ++attempt) {
    HWND window = FindWindowW(Wide(windowClass).c_str(), title);
    if (window && IsWindowVisible(window)) return window;
    Sleep(50);
  }
  return nullptr;
}

// Whether every window of that class (and title) has gone from the screen within 30 seconds. A
// window being destroyed is hidden first: hidden counts as gone.
inline bool WaitUntilGone(const char* windowClass, const wchar_t* title = nullptr) {
  for (int attempt = 0; attempt < 600; ++attempt) {
    HWND window = FindWindowW(Wide(windowClass).c_str(), title);
    if (!window || !IsWindowVisible(window)) return true;
    Sleep(50);
  }
  return false;
}

}  // namespace vorn::probe
