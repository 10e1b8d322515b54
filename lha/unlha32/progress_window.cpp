#include "lha/unlha32/progress_window.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

#include "platform/win32/wide_text.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;  // this library's own module

namespace vorn {
namespace {

constexpr wchar_t kClassName[] = L"VornUnlhaProgress";
constexpr int kMargin = 12, kWidth = 360, kNameHeight = 20, kBarHeight = 18;
// The window shows the latest state at most this often: repainting on every block would slow the
// packing down, and the eye cannot follow faster changes anyway.
constexpr ULONGLONG kRefreshIntervalMs = 100;

HINSTANCE ThisModule() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

// The run cannot be cancelled from here: closing is ignored, the window goes when the call ends.
LRESULT CALLBACK ProgressProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) return 0;
  return DefWindowProcW(window, message, wParam, lParam);
}

int PercentOf(uint64_t done, uint64_t total) {
  if (total == 0) return 100;
  return static_cast<int>(std::min<uint64_t>(done, total) * 100 / total);
}

}  // namespace

ProgressWindow::ProgressWindow(HWND owner, std::wstring caption) : owner_(owner), caption_(std::move(caption)) {}

ProgressWindow::~ProgressWindow() {
  if (!window_) return;
  DestroyWindow(window_);
  UnregisterClassW(kClassName, ThisModule());
}

bool ProgressWindow::Create() {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = ProgressProc;
  windowClass.hInstance = ThisModule();
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kClassName;
  if (!RegisterClassExW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;

  const DWORD style = WS_POPUP | WS_CAPTION, exStyle = WS_EX_DLGMODALFRAME;
  RECT frame{0, 0, kWidth, kMargin * 3 + kNameHeight + kBarHeight};
  AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  RECT ownerRect{};
  GetWindowRect(owner_, &ownerRect);
  const int x = (ownerRect.left + ownerRect.right - width) / 2, y = (ownerRect.top + ownerRect.bottom - height) / 2;
  window_ = CreateWindowExW(exStyle, kClassName, caption_.c_str(), style, x, y, width, height, owner_, nullptr,
                            ThisModule(), nullptr);
  if (!window_) {
    UnregisterClassW(kClassName, ThisModule());
    return false;
  }
  const int inner = kWidth - 2 * kMargin;
  name_ = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX | SS_PATHELLIPSIS,
                          kMargin, kMargin, inner, kNameHeight, window_, nullptr, ThisModule(), nullptr);
  bar_ = CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE, kMargin, kMargin * 2 + kNameHeight, inner,
                         kBarHeight, window_, nullptr, ThisModule(), nullptr);
  SendMessageW(name_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  SendMessageW(bar_, PBM_SETRANGE32, 0, 100);
  ShowWindow(window_, SW_SHOWNORMAL);
  UpdateWindow(window_);
  return true;
}

void ProgressWindow::Update(const std::string& member, uint64_t done, uint64_t total) {
  if (!owner_ || createFailed_) return;
  const DWORD now = GetTickCount();  // the unsigned difference stays right across its wrap
  if (window_ && now - lastRefresh_ < kRefreshIntervalMs) return;
  if (!window_ && !Create()) {
    createFailed_ = true;
    return;
  }
  lastRefresh_ = now;
  if (member != member_) {
    member_ = member;
    SetWindowTextW(name_, Wide(member).c_str());
  }
  const int percent = PercentOf(done, total);
  if (percent != percent_) {
    percent_ = percent;
    SendMessageW(bar_, PBM_SETPOS, percent, 0);
  }
  PumpMessages();
}

// Lets the window and its owner repaint. A quit request is put back for the caller's own loop.
void ProgressWindow::PumpMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

}  // namespace vorn
