#pragma once
// The window functions of the running family, for every window of ours: the wide ones on the
// 2000 family (windows that hold any text), the A ones on the 98 family (text in code page 932).
// A window, its procedure and the message loop that serves it must be of the same kind, so all
// of them go through here. Class names are ASCII.
#include <string>

#include "platform/win32/windows_api.h"

namespace vorn::win32 {

// Text as a message or a control's structure of the running family takes it (LPWSTR or LPSTR).
class SystemText {
 public:
  explicit SystemText(const std::string& utf8);
  void* data();
  LPARAM lParam() { return reinterpret_cast<LPARAM>(data()); }

 private:
  std::wstring wide_;
  std::string ansi_;
};
// The message of the running family, of a pair that carries text.
UINT FamilyMessage(UINT wide, UINT ansi);

// The class's name, procedure, icons, cursor, brush and instance; cbSize is filled here.
ATOM AddWindowClass(WNDCLASSEXA windowClass);
void RemoveWindowClass(const char* name, HINSTANCE instance);
HWND MakeWindow(DWORD exStyle, const char* windowClass, const std::string& text, DWORD style, int x, int y,
                int width, int height, HWND parent, HMENU menu, HINSTANCE instance, void* parameter);
LRESULT DefaultProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CallProcedure(WNDPROC procedure, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Puts procedure in the window's place; returns the one it had.
WNDPROC ReplaceProcedure(HWND window, WNDPROC procedure);
LRESULT Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

std::string TextOf(HWND window);
void SetText(HWND window, const std::string& text);
// The text of item index of a list (LB_GETTEXTLEN, LB_GETTEXT) or combo box (CB_...).
std::string ItemText(HWND control, UINT lengthMessage, UINT textMessage, int index);
BOOL AppendMenuText(HMENU menu, UINT flags, UINT_PTR id, const std::string& text);

// The message loop: GetMessage, PeekMessage (removing or not), DispatchMessage, IsDialogMessage,
// TranslateAccelerator.
BOOL WaitNextMessage(MSG& message);
BOOL TakeMessage(MSG& message, UINT remove = PM_REMOVE);
void Dispatch(const MSG& message);
bool DialogMessage(HWND window, MSG& message);
bool Accelerator(HWND window, HACCEL accelerators, MSG& message);

}  // namespace vorn::win32
