// window_probe COMMAND [DESKTOP]: looks at the running vorn.exe from outside, as a user would.
//   users    prints the entries of the main window's user list, one per line (UTF-8)
//   restore  chooses Restore, clicks the first user and prints the Store Root shown and
//            whether OK is enabled ("ok" or "no ok")
//   close    asks the main window to close
// DESKTOP names the (Wine virtual) desktop vorn.exe runs on. Exit code 1 when the main
// window is not there.
#include <string>

#include "platform/win32/wide_text.h"
#include "platform/win32/windows_api.h"
#include "ui/win32/control_ids.h"

namespace {

namespace ids = vorn::win32ui;

void Print(const std::string& text) {
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

std::string Text(HWND window) {
  wchar_t text[1024] = {};
  SendMessageW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
  return vorn::NarrowZ(text);
}

void PrintUsers(HWND main) {
  HWND list = GetDlgItem(main, ids::kForm1List1);
  const int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    std::wstring item(SendMessageW(list, LB_GETTEXTLEN, i, 0) + 1, L'\0');
    SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(item.data()));
    Print(vorn::NarrowZ(item.c_str()) + "\n");
  }
}

// What a click does: the control changes, then tells its parent.
void PickFirstUserForRestore(HWND main) {
  SendMessageW(GetDlgItem(main, ids::kForm1Option1First + 2), BM_CLICK, 0, 0);
  HWND list = GetDlgItem(main, ids::kForm1List1);
  SendMessageW(list, LB_SETCURSEL, 0, 0);
  SendMessageW(main, WM_COMMAND, MAKEWPARAM(ids::kForm1List1, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
  Print(Text(GetDlgItem(main, ids::kForm1Text1)) + "\n");
  Print(IsWindowEnabled(GetDlgItem(main, ids::kForm1Ok)) ? "ok\n" : "no ok\n");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring command = argc > 1 ? argv[1] : L"";
  if (argc > 2) {
    HDESK desktop = OpenDesktopW(argv[2], 0, FALSE, GENERIC_ALL);
    if (!desktop || !SetThreadDesktop(desktop)) return 1;
  }
  HWND main = FindWindowW(ids::kForm1Class, nullptr);
  if (!main || !IsWindowVisible(main)) return 1;
  if (command == L"users") {
    PrintUsers(main);
  } else if (command == L"restore") {
    PickFirstUserForRestore(main);
  } else if (command == L"close") {
    PostMessageW(main, WM_CLOSE, 0, 0);
  } else {
    return 2;
  }
  return 0;
}
