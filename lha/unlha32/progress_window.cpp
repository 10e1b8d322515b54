#include "lha/unlha32/progress_window.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

#include "platform/win32/window_calls.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;  // this library's own module

namespace vorn {
namespace {

constexpr char kClassName[] = "VornUnlhaProgress";
constexpr int kMargin = 12, kWidth = 360, kNameHeight = 20, kBarHeight = 18;
// The window shows the latest state at most this often: repainting on every block would slow the
// packing down, and the eye cannot follow faster changes anyway.
constexpr ULONGLONG kRefreshIntervalMs = 100;

HINSTANCE ThisModule() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

// The run cannot be cancelled from here: closing is ignored, the window goes when the call ends.
LRESULT CALLBACK ProgressProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) return 0;
  return win32::DefaultProcedure(window, message, wParam, lParam);
}

int PercentOf(uint64_t done, uint64_t total) {
  if (total == 0) return 100;
  return static_cast<int>(std::min<uint64_t>(done, total) * 100 / total);
}

}  // namespace

ProgressWindow::ProgressWindow(HWND owner, std::string caption) : owner_(owner), caption_(std::move(caption)) {}

ProgressWindow::~ProgressWindow() {
  if (!window_) return;
  DestroyWindow(window_);
  win32::RemoveWindowClass(kClassName, ThisModule());
}

bool ProgressWindow::Create() {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);
  WNDCLASSEXA windowClass{};
  windowClass.lpfnWndProc = ProgressProc;
  windowClass.hInstance = ThisModule();
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kClassName;
  if (!win32::AddWindowClass(windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;

  const DWORD style = WS_POPUP | WS_CAPTION, exStyle = WS_EX_DLGMODALFRAME;
  RECT frame{0, 0, kWidth, kMargin * 3 + kNameHeight + kBarHeight};
  AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  RECT ownerRect{};
  GetWindowRect(owner_, &ownerRect);
  const int x = (ownerRect.left + ownerRect.right - width) / 2, y = (ownerRect.top + ownerRect.bottom - height) / 2;
  window_ = win32::MakeWindow(exStyle, kClassName, caption_, style, x, y, width, height, owner_, nullptr, ThisModule(),
                              nullptr);
  if (!window_) {
    win32::RemoveWindowClass(kClassName, ThisModule());
    return false;
  }
  const int inner = kWidth - 2 * kMargin;
  name_ = win32::MakeWindow(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX | SS_PATHELLIPSIS, kMargin,
                            kMargin, inner, kNameHeight, window_, nullptr, ThisModule(), nullptr);
  bar_ = win32::MakeWindow(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE, kMargin, kMargin * 2 + kNameHeight, inner,
                           kBarHeight, window_, nullptr, ThisModule(), nullptr);
  win32::Send(name_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  win32::Send(bar_, PBM_SETRANGE32, 0, 100);
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
    win32::SetText(name_, member);
  }
  const int percent = PercentOf(done, total);
  if (percent != percent_) {
    percent_ = percent;
    win32::Send(bar_, PBM_SETPOS, percent, 0);
  }
  PumpMessages();
}

// Lets the window and its owner repaint. A quit request is put back for the caller's own loop.
void ProgressWindow::PumpMessages() {
  MSG message;
  while (win32::TakeMessage(message)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    TranslateMessage(&message);
    win32::Dispatch(message);
  }
}

}  // namespace vorn
