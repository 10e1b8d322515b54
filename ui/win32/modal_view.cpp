#include "ui/win32/modal_view.h"

#include <map>
#include <set>

#include "platform/win32/window_placement.h"
#include "ui/win32/view_support.h"

namespace vorn::win32ui {
namespace {

std::map<std::type_index, ModalViewFactory>& Factories() {
  static std::map<std::type_index, ModalViewFactory> factories;
  return factories;
}

}  // namespace

bool RegisterModalView(std::type_index formClass, ModalViewFactory factory) {
  return Factories().emplace(formClass, factory).second;
}

std::unique_ptr<ModalView> MakeModalView(ModalForm& form) {
  auto found = Factories().find(typeid(form));
  return found == Factories().end() ? nullptr : found->second(form);
}

void ModalView::CreateDialogWindow(const char* windowClass, const std::string& caption, HWND owner, int width,
                                   int height) {
  static std::set<std::string> registered;
  if (registered.insert(windowClass).second) RegisterWindowClass(windowClass, WindowProc);
  window_ = CreateTopLevel(windowClass, caption, WS_POPUP | WS_CAPTION | WS_SYSMENU, owner, nullptr, width, height,
                           static_cast<ModalView*>(this));
}

LRESULT CALLBACK ModalView::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  RememberView(window, message, lParam);
  ModalView* view = ViewOf<ModalView>(window);
  if (!view || !view->window_) return win32::DefaultProcedure(window, message, wParam, lParam);
  switch (message) {
    case DM_GETDEFID:  // OK is every dialog's default button
      return MAKELRESULT(IDOK, DC_HASDEFID);
    case WM_SETCURSOR:
      if (KeepWaitCursor()) return TRUE;
      break;
    case WM_NEXTDLGCTL: {
      // What the dialog manager asks of a dialog for an access key of a frame or a label: the
      // focus on that control, then on the next one in tab order (the frame's first control).
      HWND next = lParam ? reinterpret_cast<HWND>(wParam) : GetNextDlgTabItem(window, GetFocus(), wParam != 0);
      if (next) SetFocus(next);
      return 0;
    }
  }
  return view->Handle(message, wParam, lParam);
}

void ModalView::RunModal(HWND owner) {
  HWND firstFocus = Create(owner);
  win32::CentreOnOwner(window_, owner);
  form_.hwnd = reinterpret_cast<WindowHandle>(window_);
  form_.Form_Load();
  Sync();
  if (owner) EnableWindow(owner, FALSE);
  ShowWindow(window_, SW_SHOWNORMAL);
  GiveFocus(window_, firstFocus);
  MSG message;
  bool quit = false;
  while (!form_.closed) {
    if (win32::WaitNextMessage(message) <= 0) {
      quit = true;
      break;
    }
    if (PreTranslate(message) || win32::DialogMessage(window_, message)) continue;
    TranslateMessage(&message);
    win32::Dispatch(message);
  }
  // The owner is enabled again before the dialog goes, so it takes the activation back, and
  // with it the focus it had.
  if (owner) EnableWindow(owner, TRUE);
  DestroyWindow(window_);
  if (owner) Reactivate(owner);
  window_ = nullptr;
  form_.hwnd = 0;
  if (quit) PostQuitMessage(static_cast<int>(message.wParam));
}

}  // namespace vorn::win32ui
