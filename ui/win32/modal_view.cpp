#include "ui/win32/modal_view.h"

#include <algorithm>
#include <map>

namespace vorn::win32ui {
namespace {

std::map<std::type_index, ModalViewFactory>& Factories() {
  static std::map<std::type_index, ModalViewFactory> factories;
  return factories;
}

// Centred over the owner, but never beyond the work area's left or top edge (a dialog wider
// than its owner would otherwise start off the screen).
void CenterOver(HWND window, HWND owner) {
  RECT work, outer, inner;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  if (!owner || !GetWindowRect(owner, &outer)) outer = work;
  GetWindowRect(window, &inner);
  int width = inner.right - inner.left, height = inner.bottom - inner.top;
  const int x = std::max<int>(work.left, outer.left + (outer.right - outer.left - width) / 2);
  const int y = std::max<int>(work.top, outer.top + (outer.bottom - outer.top - height) / 2);
  SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

}  // namespace

bool RegisterModalView(std::type_index formClass, ModalViewFactory factory) {
  return Factories().emplace(formClass, factory).second;
}

std::unique_ptr<ModalView> MakeModalView(ModalForm& form) {
  auto found = Factories().find(typeid(form));
  return found == Factories().end() ? nullptr : found->second(form);
}

void ModalView::RunModal(HWND owner) {
  HWND firstFocus = Create(owner);
  CenterOver(window_, owner);
  form_.hwnd = reinterpret_cast<WindowHandle>(window_);
  form_.Form_Load();
  Sync();
  if (owner) EnableWindow(owner, FALSE);
  ShowWindow(window_, SW_SHOWNORMAL);
  SetFocus(firstFocus);
  MSG message;
  bool quit = false;
  while (!form_.closed) {
    if (GetMessageW(&message, nullptr, 0, 0) <= 0) {
      quit = true;
      break;
    }
    if (IsDialogMessageW(window_, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  // The owner is enabled again before the dialog goes, so it takes the activation back.
  if (owner) EnableWindow(owner, TRUE);
  DestroyWindow(window_);
  window_ = nullptr;
  form_.hwnd = 0;
  if (quit) PostQuitMessage(static_cast<int>(message.wParam));
}

}  // namespace vorn::win32ui
