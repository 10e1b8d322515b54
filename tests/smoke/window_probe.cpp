// window_probe COMMAND [DESKTOP]: looks at the running vorn.exe from outside, as a user would.
//   users    prints the entries of the main window's user list, one per line (UTF-8)
//   restore  chooses Restore, clicks the first user and prints the Store Root shown and
//            whether OK is enabled ("ok" or "no ok")
//   backup   the same with Backup, then presses OK (returns while the backup runs)
//   destination  opens the destination dialog from the menu, prints its selected option and
//            text box, presses OK and prints "closed" once the dialog is gone
//   setting NAME  prints the program's setting NAME (text or number)
//   close    asks the main window to close
//   main-state  prints the chosen mode ("mode 1" or "mode 2", nothing for none), the Store Root
//            shown ("text1 ..."), "ok on/off" and "list on/off"
//   image1   double-clicks the main window's picture (the hidden switch of the folder scan)
//   opt-...  the options window's commands, listed in options_probe.h, with their arguments
//            after DESKTOP
// DESKTOP names the (Wine virtual) desktop vorn.exe runs on (after NAME for setting). Exit code 1 when the main
// window is not there.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "tests/smoke/options_probe.h"
#include "tests/smoke/probe_support.h"
#include "ui/win32/control_ids.h"

namespace {

namespace ids = vorn::win32ui;
using vorn::probe::Print;
using vorn::probe::Text;
using vorn::probe::WaitForWindow;

void PrintUsers(HWND main) {
  HWND list = GetDlgItem(main, ids::kForm1List1);
  const int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    std::wstring item(SendMessageW(list, LB_GETTEXTLEN, i, 0) + 1, L'\0');
    SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(item.data()));
    Print(vorn::NarrowZ(item.c_str()) + "\n");
  }
}

// What a click does: the control changes, then tells its parent. (BM_CLICK would depend on
// which window is active.)
void PickFirstUser(HWND main, int mode) {
  HWND option = GetDlgItem(main, ids::kForm1Option1First + mode);
  SendMessageW(main, WM_COMMAND, MAKEWPARAM(ids::kForm1Option1First + mode, BN_CLICKED),
               reinterpret_cast<LPARAM>(option));
  HWND list = GetDlgItem(main, ids::kForm1List1);
  SendMessageW(list, LB_SETCURSEL, 0, 0);
  SendMessageW(main, WM_COMMAND, MAKEWPARAM(ids::kForm1List1, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
  Print(Text(GetDlgItem(main, ids::kForm1Text1)) + "\n");
  Print(IsWindowEnabled(GetDlgItem(main, ids::kForm1Ok)) ? "ok\n" : "no ok\n");
}

int ChooseDestinationDefault(HWND main) {
  PostMessageW(main, WM_COMMAND, MAKEWPARAM(ids::kForm1MenuChSave, 0), 0);
  HWND dialog = WaitForWindow(ids::kFrmBkpthClass, true);
  if (!dialog) return 1;
  for (int index = 0; index < 2; ++index)
    if (SendMessageW(GetDlgItem(dialog, ids::kFrmBkpthOption1First + index), BM_GETCHECK, 0, 0) == BST_CHECKED)
      Print("option " + std::to_string(index) + "\n");
  Print(Text(GetDlgItem(dialog, ids::kFrmBkpthText1)) + "\n");
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  if (WaitForWindow(ids::kFrmBkpthClass, false)) return 1;
  Print("closed\n");
  return 0;
}

int PrintSetting(const std::wstring& name) {
  wchar_t text[1024] = {};
  DWORD type = 0, size = sizeof text - sizeof(wchar_t);
  if (RegGetValueW(HKEY_CURRENT_USER, L"Software\\Vorn", name.c_str(), RRF_RT_REG_SZ | RRF_RT_REG_DWORD, &type, text,
                   &size) != ERROR_SUCCESS)
    return 1;
  if (type == REG_DWORD) {
    DWORD number = 0;
    std::memcpy(&number, text, sizeof number);
    Print(std::to_string(number) + "\n");
  } else {
    Print(vorn::NarrowZ(text) + "\n");
  }
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring command = argc > 1 ? argv[1] : L"";
  if (command == L"setting") return argc > 2 ? PrintSetting(argv[2]) : 2;
  if (argc > 2) {
    HDESK desktop = OpenDesktopW(argv[2], 0, FALSE, GENERIC_ALL);
    if (!desktop || !SetThreadDesktop(desktop)) return 1;
  }
  HWND main = FindWindowW(ids::kForm1Class, nullptr);
  if (!main || !IsWindowVisible(main)) return 1;
  if (command == L"users") {
    PrintUsers(main);
  } else if (command == L"restore") {
    PickFirstUser(main, 2);
  } else if (command == L"backup") {
    PickFirstUser(main, 1);
    HWND ok = GetDlgItem(main, ids::kForm1Ok);
    if (!IsWindowEnabled(ok)) return 1;
    PostMessageW(main, WM_COMMAND, MAKEWPARAM(ids::kForm1Ok, BN_CLICKED), reinterpret_cast<LPARAM>(ok));
  } else if (command == L"destination") {
    return ChooseDestinationDefault(main);
  } else if (command == L"close") {
    PostMessageW(main, WM_CLOSE, 0, 0);
  } else if (command == L"main-state") {
    for (int mode = 1; mode <= 2; ++mode)
      if (SendMessageW(GetDlgItem(main, ids::kForm1Option1First + mode), BM_GETCHECK, 0, 0) == BST_CHECKED)
        Print("mode " + std::to_string(mode) + "\n");
    Print("text1 " + Text(GetDlgItem(main, ids::kForm1Text1)) + "\n");
    Print(IsWindowEnabled(GetDlgItem(main, ids::kForm1Ok)) ? "ok on\n" : "ok off\n");
    Print(IsWindowEnabled(GetDlgItem(main, ids::kForm1List1)) ? "list on\n" : "list off\n");
  } else if (command == L"image1") {
    vorn::probe::Notify(main, ids::kForm1Image1, STN_DBLCLK);
  } else {
    std::vector<std::wstring> arguments(argv + std::min(argc, 3), argv + argc);
    return vorn::probe::RunOptionsCommand(main, command, arguments);
  }
  return 0;
}
