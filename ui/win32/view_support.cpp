#include "ui/win32/view_support.h"

#include <algorithm>
#include <cwchar>

#include "platform/win32/wide_text.h"
#include "platform/win32/win32_ui_services.h"
#include "ui/win32/vorn_icon.h"

namespace vorn::win32ui {

namespace {

// Where a window keeps its own procedure and the control that had the focus when it was last
// deactivated.
constexpr wchar_t kProcedureProperty[] = L"Vorn.Procedure";
constexpr wchar_t kFocusProperty[] = L"Vorn.Focus";

bool CanTakeFocus(HWND window, HWND control) {
  return control && IsChild(window, control) && IsWindowVisible(control) && IsWindowEnabled(control);
}

// What DefDlgProc does for a dialog: the focus leaves with the activation and comes back with
// it, to the same control. (DefWindowProc would put it on the window itself, where no key
// but the menu's works.)
LRESULT CALLBACK KeepFocus(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto procedure = reinterpret_cast<WNDPROC>(GetPropW(window, kProcedureProperty));
  if (message == WM_ACTIVATE && LOWORD(wParam) == WA_INACTIVE) {
    HWND focus = GetFocus();
    if (focus && IsChild(window, focus)) SetPropW(window, kFocusProperty, focus);
  } else if (message == WM_NCDESTROY) {
    RemovePropW(window, kFocusProperty);
    RemovePropW(window, kProcedureProperty);
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
  }
  const LRESULT result = CallWindowProcW(procedure, window, message, wParam, lParam);
  if (message == WM_ACTIVATE && LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam)) {
    HWND saved = static_cast<HWND>(GetPropW(window, kFocusProperty));
    if (HWND focus = CanTakeFocus(window, saved) ? saved : FirstTabStop(window)) SetFocus(focus);
  }
  return result;
}

int IconSize(int metric) { return GetSystemMetrics(metric); }

}  // namespace

HFONT UiFont() {
  // Made once; every control of every window uses it for the life of the process.
  static HFONT font = [] {
    LOGFONTW face{};
    HDC screen = GetDC(nullptr);
    face.lfHeight = -MulDiv(9, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    face.lfWeight = FW_NORMAL;
    face.lfCharSet = SHIFTJIS_CHARSET;
    wcscpy(face.lfFaceName, L"MS Shell Dlg");
    HFONT made = CreateFontIndirectW(&face);
    return made ? made : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  }();
  return font;
}

HWND CreateControl(HWND parent, const wchar_t* windowClass, const std::string& text, DWORD style, int id,
                   const Box& box) {
  DWORD exStyle = 0;
  if (windowClass == std::wstring(L"EDIT") || windowClass == std::wstring(L"LISTBOX")) exStyle = WS_EX_CLIENTEDGE;
  HWND control = CreateWindowExW(exStyle, windowClass, Wide(text).c_str(), WS_CHILD | WS_VISIBLE | style, box.x,
                                 box.y, box.width, box.height, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                                 nullptr);
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(UiFont()), FALSE);
  return control;
}

ATOM RegisterWindowClass(const wchar_t* name, WNDPROC procedure) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hIcon = VornIcon(IconSize(SM_CXICON));
  windowClass.hIconSm = VornIcon(IconSize(SM_CXSMICON));
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = name;
  return RegisterClassExW(&windowClass);
}

HWND CreateTopLevel(const wchar_t* windowClass, const std::string& caption, DWORD style, HWND owner, HMENU menu,
                    int width, int height, void* view) {
  RECT frame{0, 0, width, height};
  AdjustWindowRectEx(&frame, style, menu != nullptr, 0);
  HWND window = CreateWindowExW(0, windowClass, Wide(caption).c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT,
                                frame.right - frame.left, frame.bottom - frame.top, owner, menu,
                                GetModuleHandleW(nullptr), view);
  if (!window) return nullptr;
  // Also for a class registered without them.
  SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(VornIcon(IconSize(SM_CXICON))));
  SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(VornIcon(IconSize(SM_CXSMICON))));
  SetPropW(window, kProcedureProperty, reinterpret_cast<HANDLE>(GetWindowLongPtrW(window, GWLP_WNDPROC)));
  SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(KeepFocus));
  return window;
}

HWND FirstTabStop(HWND window) {
  for (HWND control = GetWindow(window, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT))
    if ((GetWindowLongW(control, GWL_STYLE) & WS_TABSTOP) && CanTakeFocus(window, control)) return control;
  return nullptr;
}

void GiveFocus(HWND window, HWND control) {
  if (GetActiveWindow() == window) {
    if (HWND focus = CanTakeFocus(window, control) ? control : FirstTabStop(window)) SetFocus(focus);
  } else {
    SetPropW(window, kFocusProperty, control);
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
  auto create = reinterpret_cast<CREATESTRUCTW*>(lParam);
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
}

std::string WindowText(HWND window) {
  int length = GetWindowTextLengthW(window);
  std::wstring text(length + 1, L'\0');
  GetWindowTextW(window, text.data(), length + 1);
  text.resize(wcslen(text.c_str()));
  return Narrow(text);
}

void SetWindowTextIfChanged(HWND window, const std::string& text) {
  // Setting an edit control's text moves its caret; only touch it when it differs.
  if (WindowText(window) != text) SetWindowTextW(window, Wide(text).c_str());
}

void SyncEnabledVisible(HWND control, bool enabled, bool visible) {
  if (static_cast<bool>(IsWindowEnabled(control)) != enabled) EnableWindow(control, enabled);
  // The control's own state: IsWindowVisible also says no for every control of a window not yet shown.
  const bool shown = GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE;
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
  const int length = GetWindowTextLengthW(control);
  SendMessageW(control, EM_SETSEL, length, length);
  SendMessageW(control, EM_SCROLLCARET, 0, 0);
}

void SyncListBox(HWND control, const ListBox& list, bool enabled) {
  const int count = static_cast<int>(SendMessageW(control, LB_GETCOUNT, 0, 0));
  bool same = count == static_cast<int>(list.items.size());
  for (int i = 0; same && i < count; ++i) {
    std::wstring item(SendMessageW(control, LB_GETTEXTLEN, i, 0) + 1, L'\0');
    SendMessageW(control, LB_GETTEXT, i, reinterpret_cast<LPARAM>(item.data()));
    item.resize(wcslen(item.c_str()));
    same = Narrow(item) == list.items[i];
  }
  if (!same) {
    SendMessageW(control, WM_SETREDRAW, FALSE, 0);
    SendMessageW(control, LB_RESETCONTENT, 0, 0);
    for (const auto& item : list.items)
      SendMessageW(control, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(item).c_str()));
    SendMessageW(control, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(control, nullptr, TRUE);
  }
  if (SendMessageW(control, LB_GETCURSEL, 0, 0) != list.selected) SendMessageW(control, LB_SETCURSEL, list.selected, 0);
  SyncEnabledVisible(control, list.enabled && enabled, list.visible);
}

void SyncOption(HWND control, const OptionGroup& group, int index, bool enabled, int firstShown) {
  SendMessageW(control, BM_SETCHECK, group.selected == index ? BST_CHECKED : BST_UNCHECKED, 0);
  const bool tabStop = group.selected == index || (group.selected < firstShown && index == firstShown);
  const LONG style = GetWindowLongW(control, GWL_STYLE);
  if (static_cast<bool>(style & WS_TABSTOP) != tabStop)
    SetWindowLongW(control, GWL_STYLE, tabStop ? style | WS_TABSTOP : style & ~WS_TABSTOP);
  SyncEnabledVisible(control, group.ItemEnabled(index) && enabled, true);
}

void SyncCheckBox(HWND control, const CheckBox& box, bool enabled) {
  SetWindowTextIfChanged(control, box.caption);
  SendMessageW(control, BM_SETCHECK, box.checked ? BST_CHECKED : BST_UNCHECKED, 0);
  SyncEnabledVisible(control, box.enabled && enabled, box.visible);
}

void SyncComboBox(HWND control, const ComboBox& combo, bool enabled) {
  const int count = static_cast<int>(SendMessageW(control, CB_GETCOUNT, 0, 0));
  bool same = count == static_cast<int>(combo.items.size());
  for (int i = 0; same && i < count; ++i) {
    std::wstring item(SendMessageW(control, CB_GETLBTEXTLEN, i, 0) + 1, L'\0');
    SendMessageW(control, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()));
    same = NarrowZ(item.c_str()) == combo.items[static_cast<size_t>(i)];
  }
  if (!same) {
    SendMessageW(control, CB_RESETCONTENT, 0, 0);
    for (const auto& item : combo.items)
      SendMessageW(control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(item).c_str()));
  }
  if (SendMessageW(control, CB_GETCURSEL, 0, 0) != combo.selected) SendMessageW(control, CB_SETCURSEL, combo.selected, 0);
  SyncEnabledVisible(control, combo.enabled && enabled, true);
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
