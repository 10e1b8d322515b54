// window_probe users|close [DESKTOP]: looks at the running vorn.exe from outside, as a user would.
//   users  prints the entries of the main window's user list, one per line (UTF-8)
//   close  asks the main window to close
// DESKTOP names the (Wine virtual) desktop vorn.exe runs on. Exit code 1 when the main
// window is not there.
#include <string>

#include "platform/win32/wide_text.h"
#include "platform/win32/windows_api.h"
#include "ui/win32/control_ids.h"

namespace {

void Print(const std::string& text) {
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring command = argc > 1 ? argv[1] : L"";
  if (argc > 2) {
    HDESK desktop = OpenDesktopW(argv[2], 0, FALSE, GENERIC_ALL);
    if (!desktop || !SetThreadDesktop(desktop)) return 1;
  }
  HWND main = FindWindowW(vorn::win32ui::kForm1Class, nullptr);
  if (!main || !IsWindowVisible(main)) return 1;
  if (command == L"close") {
    PostMessageW(main, WM_CLOSE, 0, 0);
    return 0;
  }
  if (command != L"users") return 2;
  HWND list = GetDlgItem(main, vorn::win32ui::kForm1List1);
  const int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    std::wstring item(SendMessageW(list, LB_GETTEXTLEN, i, 0) + 1, L'\0');
    SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(item.data()));
    Print(vorn::NarrowZ(item.c_str()) + "\n");
  }
  return 0;
}
