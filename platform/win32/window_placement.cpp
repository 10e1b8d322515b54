#include "platform/win32/window_placement.h"

#include <algorithm>
#include <string>

namespace vorn::win32 {
namespace {

// Marks a box already placed, so that moving it later by hand is not undone.
constexpr char kPlacedProperty[] = "Vorn.Placed";

RECT WorkAreaOf(HWND window) {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (!GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor))
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &monitor.rcWork, 0);
  return monitor.rcWork;
}

bool IsDialogBox(HWND window) {
  char name[16] = {};
  return GetClassNameA(window, name, 16) && std::string(name) == "#32770";
}

LRESULT CALLBACK CentreOnActivation(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE) {
    HWND box = reinterpret_cast<HWND>(wParam);
    HWND owner = GetWindow(box, GW_OWNER);
    if (owner && IsDialogBox(box) && !GetPropA(box, kPlacedProperty)) {
      SetPropA(box, kPlacedProperty, box);
      CentreOnOwner(box, owner);
    }
  } else if (code == HCBT_DESTROYWND) {
    RemovePropA(reinterpret_cast<HWND>(wParam), kPlacedProperty);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

void CentreOnOwner(HWND window, HWND owner) {
  const RECT work = WorkAreaOf(owner ? owner : window);
  RECT outer = work, inner;
  if (owner && !IsIconic(owner)) GetWindowRect(owner, &outer);
  GetWindowRect(window, &inner);
  const int width = inner.right - inner.left, height = inner.bottom - inner.top;
  const int left = std::max<int>(work.left, std::min<int>(outer.left + (outer.right - outer.left - width) / 2,
                                                          work.right - width));
  const int top = std::max<int>(work.top, std::min<int>(outer.top + (outer.bottom - outer.top - height) / 2,
                                                        work.bottom - height));
  SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

CentredBoxes::CentredBoxes()
    : hook_(SetWindowsHookExA(WH_CBT, CentreOnActivation, nullptr, GetCurrentThreadId())) {}

CentredBoxes::~CentredBoxes() {
  if (hook_) UnhookWindowsHookEx(hook_);
}

}  // namespace vorn::win32
