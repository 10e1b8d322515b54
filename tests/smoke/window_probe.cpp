// window_probe COMMAND [DESKTOP]: looks at the running vorn.exe from outside, as a user would.
//   users    prints the entries of the main window's user list, one per line (UTF-8)
//   restore  chooses Restore, clicks the first user and prints the Store Root shown and
//            whether OK is enabled ("ok" or "no ok")
//   backup   the same with Backup, then presses OK (returns while the backup runs)
//   destination  opens the destination dialog from the menu, prints its selected option and
//            text box, presses OK and prints "closed" once the dialog is gone
//   setting NAME  prints the program's setting NAME (text or number)
//   restore-to USER  chooses Restore, clicks the user of that name and presses OK (returns while
//            the restore runs)
//   answer TITLE BUTTON  waits for a message box or the folder picker of that title, prints its
//            text and presses BUTTON (ok, cancel, yes or no; none only waits)
//   exinfo BUTTON  waits for the backup information dialog, prints its size and fields and
//            presses BUTTON (detail or ok; none only waits)
//   close    asks the main window to close
// DESKTOP names the (Wine virtual) desktop vorn.exe runs on (after the command's own arguments). Exit code 1 when the main
// window is not there.
#include <cstring>
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

HWND WaitForWindow(const wchar_t* windowClass, bool present, const wchar_t* title = nullptr) {
  for (int attempt = 0; attempt < 600; ++attempt) {  // 30 s: a restore unpacks before its next question
    HWND window = FindWindowW(windowClass, title);
    if ((window && IsWindowVisible(window)) == present) return window;
    Sleep(50);
  }
  return nullptr;
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

int RestoreTo(HWND main, const std::string& user) {
  HWND option = GetDlgItem(main, ids::kForm1Option1First + 2);
  SendMessageW(main, WM_COMMAND, MAKEWPARAM(ids::kForm1Option1First + 2, BN_CLICKED), reinterpret_cast<LPARAM>(option));
  HWND list = GetDlgItem(main, ids::kForm1List1);
  const int index = static_cast<int>(SendMessageW(list, LB_FINDSTRINGEXACT, -1,
                                                  reinterpret_cast<LPARAM>(vorn::Wide(user).c_str())));
  if (index < 0) return 1;
  SendMessageW(list, LB_SETCURSEL, index, 0);
  SendMessageW(main, WM_COMMAND, MAKEWPARAM(ids::kForm1List1, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
  HWND ok = GetDlgItem(main, ids::kForm1Ok);
  if (!IsWindowEnabled(ok)) return 1;
  PostMessageW(main, WM_COMMAND, MAKEWPARAM(ids::kForm1Ok, BN_CLICKED), reinterpret_cast<LPARAM>(ok));
  return 0;
}

BOOL CALLBACK PrintStatic(HWND child, LPARAM) {
  wchar_t name[32] = {};
  GetClassNameW(child, name, 32);
  if (std::wstring(name) == L"Static" && !Text(child).empty()) Print(Text(child) + "\n");
  return TRUE;
}

// Message boxes and the folder picker are standard dialogs named by their title.
int Answer(const std::wstring& title, const std::wstring& button) {
  HWND dialog = WaitForWindow(L"#32770", true, title.c_str());
  if (!dialog) return 1;
  EnumChildWindows(dialog, PrintStatic, 0);
  if (button == L"none") return 0;
  const int id = button == L"ok" ? IDOK : button == L"cancel" ? IDCANCEL : button == L"yes" ? IDYES : IDNO;
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
  return WaitForWindow(L"#32770", false, title.c_str()) ? 1 : 0;
}

int AnswerBackupInfo(const std::wstring& button) {
  HWND dialog = WaitForWindow(ids::kExInfoClass, true);
  if (!dialog) return 1;
  RECT outer;
  GetWindowRect(dialog, &outer);
  Print(std::to_string(outer.right - outer.left) + "x" + std::to_string(outer.bottom - outer.top) + "\n");
  for (int i = 0; i < 8; ++i) Print(Text(GetDlgItem(dialog, ids::kExInfoField1First + i)) + "\n");
  Print(Text(GetDlgItem(dialog, ids::kExInfoLabel3)) + "\n");
  if (button == L"none") return 0;
  const int id = button == L"detail" ? ids::kExInfoDetail : IDOK;
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
  if (button == L"detail") return 0;
  return WaitForWindow(ids::kExInfoClass, false) ? 1 : 0;
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
  // The command's own arguments come before the desktop.
  const int operands = command == L"answer" ? 2 : command == L"restore-to" || command == L"exinfo" ? 1 : 0;
  if (argc > 2 + operands) {
    HDESK desktop = OpenDesktopW(argv[2 + operands], 0, FALSE, GENERIC_ALL);
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
  } else if (command == L"restore-to" && argc > 2) {
    return RestoreTo(main, vorn::Narrow(argv[2]));
  } else if (command == L"answer" && argc > 3) {
    return Answer(argv[2], argv[3]);
  } else if (command == L"exinfo" && argc > 2) {
    return AnswerBackupInfo(argv[2]);
  } else if (command == L"close") {
    PostMessageW(main, WM_CLOSE, 0, 0);
  } else {
    return 2;
  }
  return 0;
}
