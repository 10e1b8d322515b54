#include "ui/win32/view_support.h"

#include <vector>

#include "platform/win32/wide_text.h"
#include "platform/win32/win32_ui_services.h"

namespace vorn::win32ui {

HFONT UiFont() {
  // Made once; every control of every window uses it for the life of the process.
  static HFONT font = [] {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
      return CreateFontIndirectW(&metrics.lfMessageFont);
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  }();
  return font;
}

ATOM RegisterWindowClass(const wchar_t* name, WNDPROC procedure, HICON icon) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hIcon = icon;
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = name;
  return RegisterClassExW(&windowClass);
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

HWND CreateTopLevel(const wchar_t* windowClass, const std::string& caption, DWORD style, HWND owner, HMENU menu,
                    int width, int height, void* view) {
  RECT frame{0, 0, width, height};
  AdjustWindowRectEx(&frame, style, menu != nullptr, 0);
  return CreateWindowExW(0, windowClass, Wide(caption).c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT,
                         frame.right - frame.left, frame.bottom - frame.top, owner, menu, GetModuleHandleW(nullptr),
                         view);
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
  if (static_cast<bool>(IsWindowVisible(control)) != visible) ShowWindow(control, visible ? SW_SHOW : SW_HIDE);
}

void SyncButton(HWND control, const Button& button, bool enabled) {
  SetWindowTextIfChanged(control, button.caption);
  SyncEnabledVisible(control, button.enabled && enabled, button.visible);
}

void SyncTextBox(HWND control, const TextBox& box) {
  SetWindowTextIfChanged(control, box.text);
  SyncEnabledVisible(control, box.enabled, box.visible);
}

void SyncListBox(HWND control, const ListBox& list) {
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
  SyncEnabledVisible(control, list.enabled, list.visible);
}

void SyncOption(HWND control, const OptionGroup& group, int index) {
  SendMessageW(control, BM_SETCHECK, group.selected == index ? BST_CHECKED : BST_UNCHECKED, 0);
  SyncEnabledVisible(control, group.enabled, true);
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
