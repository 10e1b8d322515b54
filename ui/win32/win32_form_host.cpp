#include "ui/win32/win32_form_host.h"

#include "platform/win32/window_calls.h"
#include "ui/win32/form1_view.h"
#include "ui/win32/modal_view.h"

namespace vorn::win32ui {
namespace {

// The main window, and the thread that keeps the desktop it is on.
HWND watchedMainWindow = nullptr;
DWORD desktopThread = 0;

bool MainWindowGone() {
  if (!IsWindow(watchedMainWindow)) return true;
  // Wine, closing a virtual desktop it takes for unused, ends the thread of the desktop's own
  // window and leaves the windows on it where nobody can see or reach them.
  return desktopThread && GetWindowThreadProcessId(GetAncestor(watchedMainWindow, GA_PARENT), nullptr) != desktopThread;
}

// The program never lives on without its main window: a copy left running would refuse every
// later start. Closing the window ends the program through its WM_DESTROY; this check covers
// a window taken away from outside. It runs in whatever message loop is running, the main one
// or a modal box's; the quit it posts ends the boxes and the run at hand, then the main loop.
void CALLBACK WatchMainWindow(HWND, UINT, UINT_PTR, DWORD) {
  if (!watchedMainWindow || !MainWindowGone()) return;
  watchedMainWindow = nullptr;
  PostQuitMessage(0);
}

constexpr UINT kWatchInterval = 500;  // milliseconds

}  // namespace

Win32FormHost::Win32FormHost() = default;
Win32FormHost::~Win32FormHost() = default;

void Win32FormHost::Show(Form1& form) {
  if (!form1View_) form1View_ = std::make_unique<Form1View>(form);
  form1View_->Show();
  if (!watchedMainWindow) {
    watchedMainWindow = form1View_->window();
    desktopThread = GetWindowThreadProcessId(GetAncestor(watchedMainWindow, GA_PARENT), nullptr);
    SetTimer(nullptr, 0, kWatchInterval, WatchMainWindow);
  }
}

void Win32FormHost::ShowModal(ModalForm& dialog) {
  std::unique_ptr<ModalView> view = MakeModalView(dialog);
  if (!view) return;  // a dialog whose view was never registered cannot open
  view->RunModal(form1View_ ? form1View_->window() : nullptr);
  Refresh();
}

void Win32FormHost::Refresh() {
  if (form1View_) form1View_->Sync();
}

int Win32FormHost::RunMessageLoop() {
  MSG message;
  for (;;) {
    if (!win32::TakeMessage(message, PM_NOREMOVE)) {
      Refresh();
      WaitMessage();
      continue;
    }
    if (win32::WaitNextMessage(message) <= 0) return static_cast<int>(message.wParam);
    HWND main = form1View_ ? form1View_->window() : nullptr;
    if (main && win32::Accelerator(main, form1View_->accelerators(), message)) continue;
    if (main && win32::DialogMessage(main, message)) continue;
    TranslateMessage(&message);
    win32::Dispatch(message);
  }
}

}  // namespace vorn::win32ui
