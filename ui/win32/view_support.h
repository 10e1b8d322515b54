#pragma once
// What the Win32 views share: windows and controls that look and behave like those of a
// Japanese 2000/XP program (the system's dialog font, Vorn's icon, the focus kept as a dialog
// keeps it), and bringing controls in line with the state of a form's controls.
#include <string>

#include "platform/win32/window_calls.h"
#include "platform/win32/windows_api.h"
#include <commctrl.h>
#include "ui/controls.h"

namespace vorn::win32ui {

struct Box {
  int x, y, width, height;
};

// The system's dialog font ("MS Shell Dlg") at 9 point, the font Japanese 2000/XP programs
// show their windows in: on a Japanese system its UI Gothic.
HFONT UiFont();
HWND CreateControl(HWND parent, const char* windowClass, const std::string& text, DWORD style, int id,
                   const Box& box);
// Registers the window class of a view with what every window of the program has: Vorn's
// icon, the arrow pointer and the dialog colour.
ATOM RegisterWindowClass(const char* name, WNDPROC procedure);
// A top-level window whose client area is width x height. It carries Vorn's icon and, as a
// dialog does, gives the focus back to the control that had it whenever it is active again.
HWND CreateTopLevel(const char* windowClass, const std::string& caption, DWORD style, HWND owner, HMENU menu,
                    int width, int height, void* view);
// The first control of window in tab order that can take the focus; null when none can.
HWND FirstTabStop(HWND window);
// Puts the focus on control now when window is active, or else when it is active again
// (on the first control in tab order when control cannot take the focus then).
void GiveFocus(HWND window, HWND control);
// Makes window the active window again when the system left no window of ours active (the
// program still holds the foreground); its focus comes back as CreateTopLevel keeps it.
void Reactivate(HWND window);
// The program's picture (Vorn's icon) into an owner-drawn static.
void DrawEnvelopePicture(const DRAWITEMSTRUCT& item);
// The view stored by CreateTopLevel.
template <typename View>
View* ViewOf(HWND window) {
  return reinterpret_cast<View*>(GetWindowLongPtrA(window, GWLP_USERDATA));
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
// enabled: whether what holds the control (a frame, a busy window) lets it be used.
void SyncListBox(HWND control, const ListBox& list, bool enabled = true);
// One option button of a group. Only the selected one is a tab stop, as in a dialog, so that
// Tab enters the group at the selected option (at index firstShown while the selected one
// has no button).
void SyncOption(HWND control, const OptionGroup& group, int index, bool enabled = true, int firstShown = 0);
void SyncCheckBox(HWND control, const CheckBox& box, bool enabled);
void SyncComboBox(HWND control, const ComboBox& combo, bool enabled);
// A tab of a tab control, an item of a tree view (insert as TVM_INSERTITEM takes it, but its text).
void InsertTab(HWND tabs, int index, const std::string& caption);
HTREEITEM InsertTreeItem(HWND tree, TVINSERTSTRUCTA insert, const std::string& text);
// A tree view's TVN_SELCHANGED of either family (NMTREEVIEWA and W differ only in their texts' type).
bool IsTreeSelectionChange(const NMHDR& header);
void SyncLabel(HWND control, const Label& label);
void SyncMenuItem(HMENU menu, int id, const MenuItem& item);
// Keeps the hourglass over the window while the program says it is busy.
bool KeepWaitCursor();

}  // namespace vorn::win32ui
