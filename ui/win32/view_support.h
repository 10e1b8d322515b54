#pragma once
// What the Win32 views share: creating controls in the UI font and bringing them in line
// with the state of a form's controls.
#include <string>

#include "platform/win32/windows_api.h"
#include "ui/controls.h"

namespace vorn::win32ui {

struct Box {
  int x, y, width, height;
};

HFONT UiFont();
// Registers a window class of the program: arrow cursor, dialog background, the icon if any.
ATOM RegisterWindowClass(const wchar_t* name, WNDPROC procedure, HICON icon = nullptr);
HWND CreateControl(HWND parent, const wchar_t* windowClass, const std::string& text, DWORD style, int id,
                   const Box& box);
// A top-level window whose client area is width x height.
HWND CreateTopLevel(const wchar_t* windowClass, const std::string& caption, DWORD style, HWND owner, HMENU menu,
                    int width, int height, void* view);
// The view stored by CreateTopLevel.
template <typename View>
View* ViewOf(HWND window) {
  return reinterpret_cast<View*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}
// Stores the view on WM_NCCREATE; call first in a window procedure.
void RememberView(HWND window, UINT message, LPARAM lParam);

std::string WindowText(HWND window);
void SetWindowTextIfChanged(HWND window, const std::string& text);
void SyncEnabledVisible(HWND control, bool enabled, bool visible);
void SyncButton(HWND control, const Button& button, bool enabled);
void SyncTextBox(HWND control, const TextBox& box);
// A text box showing a path: a new path shows its end, which is what tells paths apart.
void SyncPathBox(HWND control, const TextBox& box);
void ShowPathEnd(HWND control);
void SyncListBox(HWND control, const ListBox& list);
void SyncOption(HWND control, const OptionGroup& group, int index);
void SyncCheckBox(HWND control, const CheckBox& box, bool enabled);
void SyncComboBox(HWND control, const ComboBox& combo, bool enabled);
void SyncLabel(HWND control, const Label& label);
// The program's picture, a closed envelope, into an owner-drawn static.
void DrawEnvelopePicture(const DRAWITEMSTRUCT& item);
void SyncMenuItem(HMENU menu, int id, const MenuItem& item);
// Keeps the hourglass over the window while the program says it is busy.
bool KeepWaitCursor();

}  // namespace vorn::win32ui
