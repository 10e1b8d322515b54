#include "platform/win32/window_calls.h"

#include "platform/win32/family_functions.h"

namespace vorn::win32 {

SystemText::SystemText(const std::string& utf8) {
  if (IsNtFamily())
    wide_ = Wide(utf8);
  else
    ansi_ = Ansi(utf8);
}

void* SystemText::data() { return IsNtFamily() ? static_cast<void*>(wide_.data()) : static_cast<void*>(ansi_.data()); }

UINT FamilyMessage(UINT wide, UINT ansi) { return IsNtFamily() ? wide : ansi; }

ATOM AddWindowClass(WNDCLASSEXA windowClass) {
  windowClass.cbSize = sizeof windowClass;
  if (!IsNtFamily()) return RegisterClassExA(&windowClass);
  const std::wstring name = Wide(windowClass.lpszClassName);
  WNDCLASSEXW wide{sizeof wide,           windowClass.style,   windowClass.lpfnWndProc, windowClass.cbClsExtra,
                   windowClass.cbWndExtra, windowClass.hInstance, windowClass.hIcon,     windowClass.hCursor,
                   windowClass.hbrBackground, nullptr,          name.c_str(),            windowClass.hIconSm};
  return Nt().RegisterClassExW(&wide);
}

void RemoveWindowClass(const char* name, HINSTANCE instance) {
  if (IsNtFamily())
    Nt().UnregisterClassW(Wide(name).c_str(), instance);
  else
    UnregisterClassA(name, instance);
}

HWND MakeWindow(DWORD exStyle, const char* windowClass, const std::string& text, DWORD style, int x, int y,
                int width, int height, HWND parent, HMENU menu, HINSTANCE instance, void* parameter) {
  if (IsNtFamily())
    return Nt().CreateWindowExW(exStyle, Wide(windowClass).c_str(), Wide(text).c_str(), style, x, y, width, height,
                                parent, menu, instance, parameter);
  return CreateWindowExA(exStyle, windowClass, Ansi(text).c_str(), style, x, y, width, height, parent, menu, instance,
                         parameter);
}

LRESULT DefaultProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return IsNtFamily() ? Nt().DefWindowProcW(window, message, wParam, lParam)
                      : DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CallProcedure(WNDPROC procedure, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return IsNtFamily() ? Nt().CallWindowProcW(procedure, window, message, wParam, lParam)
                      : CallWindowProcA(procedure, window, message, wParam, lParam);
}

WNDPROC ReplaceProcedure(HWND window, WNDPROC procedure) {
  const auto value = reinterpret_cast<LONG_PTR>(procedure);
#ifdef _WIN64
  return reinterpret_cast<WNDPROC>(IsNtFamily() ? Nt().SetWindowLongPtrW(window, GWLP_WNDPROC, value)
                                                : SetWindowLongPtrA(window, GWLP_WNDPROC, value));
#else
  return reinterpret_cast<WNDPROC>(IsNtFamily() ? Nt().SetWindowLongW(window, GWLP_WNDPROC, value)
                                                : SetWindowLongA(window, GWLP_WNDPROC, value));
#endif
}

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return IsNtFamily() ? Nt().SendMessageW(window, message, wParam, lParam)
                      : SendMessageA(window, message, wParam, lParam);
}

std::string TextOf(HWND window) {
  if (IsNtFamily()) {
    std::wstring text(Nt().GetWindowTextLengthW(window) + 1, L'\0');
    Nt().GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
    return NarrowZ(text.c_str());
  }
  std::string text(GetWindowTextLengthA(window) + 1, '\0');
  GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
  return FromAnsi(text.c_str());
}

void SetText(HWND window, const std::string& text) {
  if (IsNtFamily())
    Nt().SetWindowTextW(window, Wide(text).c_str());
  else
    SetWindowTextA(window, Ansi(text).c_str());
}

std::string ItemText(HWND control, UINT lengthMessage, UINT textMessage, int index) {
  const LRESULT length = Send(control, lengthMessage, index, 0);
  if (length < 0) return {};
  // A length in code page 932 bytes on the 98 family, in UTF-16 units on the 2000 family.
  std::wstring buffer(static_cast<size_t>(length) + 1, L'\0');
  Send(control, textMessage, index, reinterpret_cast<LPARAM>(buffer.data()));
  if (IsNtFamily()) return NarrowZ(buffer.c_str());
  return FromAnsi(reinterpret_cast<const char*>(buffer.c_str()));
}

BOOL AppendMenuText(HMENU menu, UINT flags, UINT_PTR id, const std::string& text) {
  if (IsNtFamily()) return Nt().AppendMenuW(menu, flags, id, Wide(text).c_str());
  return AppendMenuA(menu, flags, id, Ansi(text).c_str());
}

BOOL WaitNextMessage(MSG& message) {
  return IsNtFamily() ? Nt().GetMessageW(&message, nullptr, 0, 0) : GetMessageA(&message, nullptr, 0, 0);
}

BOOL TakeMessage(MSG& message, UINT remove) {
  return IsNtFamily() ? Nt().PeekMessageW(&message, nullptr, 0, 0, remove)
                      : PeekMessageA(&message, nullptr, 0, 0, remove);
}

void Dispatch(const MSG& message) {
  if (IsNtFamily())
    Nt().DispatchMessageW(&message);
  else
    DispatchMessageA(&message);
}

bool DialogMessage(HWND window, MSG& message) {
  return IsNtFamily() ? Nt().IsDialogMessageW(window, &message) : IsDialogMessageA(window, &message);
}

bool Accelerator(HWND window, HACCEL accelerators, MSG& message) {
  return IsNtFamily() ? Nt().TranslateAcceleratorW(window, accelerators, &message)
                      : TranslateAcceleratorA(window, accelerators, &message);
}

}  // namespace vorn::win32
