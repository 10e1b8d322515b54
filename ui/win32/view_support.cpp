#include "ui/win32/view_support.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/win32/win32_ui_services.h"
#include "ui/win32/vorn_icon.h"

namespace vorn::win32ui {

namespace {

// Where a window keeps its own procedure and the control that had the focus when it was last
// deactivated.
constexpr char kProcedureProperty[] = "Vorn.Procedure";
constexpr char kFocusProperty[] = "Vorn.Focus";

bool CanTakeFocus(HWND window, HWND control) {
  return control && IsChild(window, control) && IsWindowVisible(control) && IsWindowEnabled(control);
}

// What DefDlgProc does for a dialog: the focus leaves with the activation and comes back with
// it, to the same control. (DefWindowProc would put it on the window itself, where no key
// but the menu's works.)
LRESULT CALLBACK KeepFocus(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto procedure = reinterpret_cast<WNDPROC>(GetPropA(window, kProcedureProperty));
  if (message == WM_ACTIVATE && LOWORD(wParam) == WA_INACTIVE) {
    HWND focus = GetFocus();
    if (focus && IsChild(window, focus)) SetPropA(window, kFocusProperty, focus);
  } else if (message == WM_NCDESTROY) {
    RemovePropA(window, kFocusProperty);
    RemovePropA(window, kProcedureProperty);
    win32::ReplaceProcedure(window, procedure);
  }
  const LRESULT result = win32::CallProcedure(procedure, window, message, wParam, lParam);
  if (message == WM_ACTIVATE && LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam)) {
    HWND saved = static_cast<HWND>(GetPropA(window, kFocusProperty));
    if (HWND focus = CanTakeFocus(window, saved) ? saved : FirstTabStop(window)) SetFocus(focus);
  }
  return result;
}

int IconSize(int metric) { return GetSystemMetrics(metric); }

}  // namespace

HFONT UiFont() {
  // Made once; every control of every window uses it for the life of the process.
  static HFONT font = [] {
    LOGFONTA face{};
    HDC screen = GetDC(nullptr);
    face.lfHeight = -MulDiv(9, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    face.lfWeight = FW_NORMAL;
    face.lfCharSet = SHIFTJIS_CHARSET;
    strcpy(face.lfFaceName, "MS Shell Dlg");
    HFONT made = CreateFontIndirectA(&face);
    return made ? made : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  }();
  return font;
}

HWND CreateControl(HWND parent, const char* windowClass, const std::string& text, DWORD style, int id,
                   const Box& box) {
  DWORD exStyle = 0;
  if (windowClass == std::string("EDIT") || windowClass == std::string("LISTBOX")) exStyle = WS_EX_CLIENTEDGE;
  HWND control = win32::MakeWindow(exStyle, windowClass, text, WS_CHILD | WS_VISIBLE | style, box.x, box.y, box.width,
                                   box.height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   GetModuleHandleA(nullptr), nullptr);
  win32::Send(control, WM_SETFONT, reinterpret_cast<WPARAM>(UiFont()), FALSE);
  return control;
}

ATOM RegisterWindowClass(const char* name, WNDPROC procedure) {
  WNDCLASSEXA windowClass{};
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hIcon = VornIcon(IconSize(SM_CXICON));
  windowClass.hIconSm = VornIcon(IconSize(SM_CXSMICON));
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = name;
  return win32::AddWindowClass(windowClass);
}

HWND CreateTopLevel(const char* windowClass, const std::string& caption, DWORD style, HWND owner, HMENU menu,
                    int width, int height, void* view) {
  RECT frame{0, 0, width, height};
  AdjustWindowRectEx(&frame, style, menu != nullptr, 0);
  HWND window = win32::MakeWindow(0, windowClass, caption, style, CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
                                  frame.bottom - frame.top, owner, menu, GetModuleHandleA(nullptr), view);
  if (!window) return nullptr;
  // Also for a class registered without them.
  win32::Send(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(VornIcon(IconSize(SM_CXICON))));
  win32::Send(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(VornIcon(IconSize(SM_CXSMICON))));
  SetPropA(window, kProcedureProperty, reinterpret_cast<HANDLE>(win32::ReplaceProcedure(window, KeepFocus)));
  return window;
}

HWND FirstTabStop(HWND window) {
  for (HWND control = GetWindow(window, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT))
    if ((GetWindowLongA(control, GWL_STYLE) & WS_TABSTOP) && CanTakeFocus(window, control)) return control;
  return nullptr;
}

void GiveFocus(HWND window, HWND control) {
  if (GetActiveWindow() == window) {
    if (HWND focus = CanTakeFocus(window, control) ? control : FirstTabStop(window)) SetFocus(focus);
  } else {
    SetPropA(window, kFocusProperty, control);
  }
}

void Reactivate(HWND window) {
  if (!IsWindow(window) || !IsWindowEnabled(window) || GetActiveWindow()) return;
  DWORD process = 0;
  if (HWND foreground = GetForegroundWindow()) GetWindowThreadProcessId(foreground, &process);
  if (process == 0 || process == GetCurrentProcessId()) SetForegroundWindow(window);
}

void DrawEnvelopePicture(const DRAWITEMSTRUCT& item) {
  const RECT& area = item.rcItem;
  const int size = std::min<int>(area.right - area.left, area.bottom - area.top);
  DrawIconEx(item.hDC, area.left, area.top, VornIcon(size), size, size, 0, nullptr, DI_NORMAL);
}

void RememberView(HWND window, UINT message, LPARAM lParam) {
  if (message != WM_NCCREATE) return;
  auto create = reinterpret_cast<CREATESTRUCTA*>(lParam);  // the same place in either family's
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
}

std::string WindowText(HWND window) { return win32::TextOf(window); }

void SetWindowTextIfChanged(HWND window, const std::string& text) {
  // Setting an edit control's text moves its caret; only touch it when it differs.
  if (WindowText(window) != text) win32::SetText(window, text);
}

void SyncEnabledVisible(HWND control, bool enabled, bool visible) {
  if (static_cast<bool>(IsWindowEnabled(control)) != enabled) EnableWindow(control, enabled);
  // The control's own state: IsWindowVisible also says no for every control of a window not yet shown.
  const bool shown = GetWindowLongA(control, GWL_STYLE) & WS_VISIBLE;
  if (shown != visible) ShowWindow(control, visible ? SW_SHOW : SW_HIDE);
}

void SyncButton(HWND control, const Button& button, bool enabled) {
  SetWindowTextIfChanged(control, button.caption);
  SyncEnabledVisible(control, button.enabled && enabled, button.visible);
}

void SyncTextBox(HWND control, const TextBox& box) {
  SetWindowTextIfChanged(control, box.text);
  SyncEnabledVisible(control, box.enabled, box.visible);
}

void SyncPathBox(HWND control, const TextBox& box) {
  const bool changed = WindowText(control) != box.text;
  SyncTextBox(control, box);
  if (changed) ShowPathEnd(control);
}

void ShowPathEnd(HWND control) {
  const int length = GetWindowTextLengthA(control);  // at least the length in either family's units
  win32::Send(control, EM_SETSEL, length, length);
  win32::Send(control, EM_SCROLLCARET, 0, 0);
}

namespace {

// The items of a list or combo box (the messages of the one or the other) made the list's.
void SyncItems(HWND control, const std::vector<std::string>& items, const UINT messages[4]) {
  enum { kCount, kLength, kText, kAdd };
  const int count = static_cast<int>(win32::Send(control, messages[kCount]));
  bool same = count == static_cast<int>(items.size());
  for (int i = 0; same && i < count; ++i)
    same = win32::ItemText(control, messages[kLength], messages[kText], i) == items[static_cast<size_t>(i)];
  if (same) return;
  win32::Send(control, WM_SETREDRAW, FALSE);
  win32::Send(control, messages[kAdd] == LB_ADDSTRING ? LB_RESETCONTENT : CB_RESETCONTENT);
  for (const auto& item : items) win32::Send(control, messages[kAdd], 0, win32::SystemText(item).lParam());
  win32::Send(control, WM_SETREDRAW, TRUE);
  InvalidateRect(control, nullptr, TRUE);
}

}  // namespace

void SyncListBox(HWND control, const ListBox& list, bool enabled) {
  static constexpr UINT kMessages[4] = {LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT, LB_ADDSTRING};
  SyncItems(control, list.items, kMessages);
  if (win32::Send(control, LB_GETCURSEL) != list.selected) win32::Send(control, LB_SETCURSEL, list.selected);
  SyncEnabledVisible(control, list.enabled && enabled, list.visible);
}

void SyncOption(HWND control, const OptionGroup& group, int index, bool enabled, int firstShown) {
  win32::Send(control, BM_SETCHECK, group.selected == index ? BST_CHECKED : BST_UNCHECKED, 0);
  const bool tabStop = group.selected == index || (group.selected < firstShown && index == firstShown);
  const LONG style = GetWindowLongA(control, GWL_STYLE);
  if (static_cast<bool>(style & WS_TABSTOP) != tabStop)
    SetWindowLongA(control, GWL_STYLE, tabStop ? style | WS_TABSTOP : style & ~WS_TABSTOP);
  SyncEnabledVisible(control, group.ItemEnabled(index) && enabled, true);
}

void SyncCheckBox(HWND control, const CheckBox& box, bool enabled) {
  SetWindowTextIfChanged(control, box.caption);
  win32::Send(control, BM_SETCHECK, box.checked ? BST_CHECKED : BST_UNCHECKED, 0);
  SyncEnabledVisible(control, box.enabled && enabled, box.visible);
}

void SyncComboBox(HWND control, const ComboBox& combo, bool enabled) {
  static constexpr UINT kMessages[4] = {CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT, CB_ADDSTRING};
  SyncItems(control, combo.items, kMessages);
  if (win32::Send(control, CB_GETCURSEL) != combo.selected) win32::Send(control, CB_SETCURSEL, combo.selected);
  SyncEnabledVisible(control, combo.enabled && enabled, true);
}

void InsertTab(HWND tabs, int index, const std::string& caption) {
  win32::SystemText text(caption);
  TCITEMA item{};  // the same as the wide one but for the type of its text
  item.mask = TCIF_TEXT;
  item.pszText = static_cast<LPSTR>(text.data());
  win32::Send(tabs, win32::FamilyMessage(TCM_INSERTITEMW, TCM_INSERTITEMA), index, reinterpret_cast<LPARAM>(&item));
}

HTREEITEM InsertTreeItem(HWND tree, TVINSERTSTRUCTA insert, const std::string& caption) {
  win32::SystemText text(caption);
  insert.item.mask |= TVIF_TEXT;
  insert.item.pszText = static_cast<LPSTR>(text.data());
  return reinterpret_cast<HTREEITEM>(
      win32::Send(tree, win32::FamilyMessage(TVM_INSERTITEMW, TVM_INSERTITEMA), 0, reinterpret_cast<LPARAM>(&insert)));
}

bool IsTreeSelectionChange(const NMHDR& header) {
  return header.code == TVN_SELCHANGEDW || header.code == TVN_SELCHANGEDA;
}

void SyncLabel(HWND control, const Label& label) {
  SetWindowTextIfChanged(control, label.caption);
  SyncEnabledVisible(control, true, label.visible);
}

void SyncMenuItem(HMENU menu, int id, const MenuItem& item) {
  CheckMenuItem(menu, id, MF_BYCOMMAND | (item.checked ? MF_CHECKED : MF_UNCHECKED));
  EnableMenuItem(menu, id, MF_BYCOMMAND | (item.enabled ? MF_ENABLED : MF_GRAYED));
}

bool KeepWaitCursor() {
  if (!Win32UiServices::WaitCursorShown()) return false;
  SetCursor(LoadCursor(nullptr, IDC_WAIT));
  return true;
}

}  // namespace vorn::win32ui
