// window_probe COMMAND [ARGUMENTS] DESKTOP: looks at the running vorn.exe from outside, as a
// user would. DESKTOP names the (Wine virtual) desktop vorn.exe runs on; it comes after the
// command's own arguments.
//   users          the entries of the main window's user list, one per line (UTF-8)
//   restore        chooses Restore, clicks the first user, prints the Store Root shown and
//                  whether OK is enabled ("ok" or "no ok")
//   backup         the same with Backup, then presses OK (returns while the backup runs)
//   idle           waits until a run that has shown itself has ended (OK enabled again, no
//                  box of the run open)
//   active         the window that is active in vorn.exe, the desktop's foreground window,
//                  whether the main window's caption is drawn active (read from the screen)
//                  and the id of the control with the focus
//   windows        every top-level window of vorn.exe, to tell what is in the way
//   place          whether the main window sits inside the work area, off its top-left corner
//   destination    opens the destination dialog from the menu and prints its selected
//                  option, text box, whether the box is read-only and its look: whether it
//                  is centred on the main window, whether both show Vorn's icon and the id
//                  of the control with the focus
//   tab N          presses Tab N times in the active box, printing the focus after each
//   underscore     whether option 0 of the destination dialog draws the underscore of its
//                  caption "...\Vorn_bkup" (see CheckUnderscore)
//   destination-ok presses OK in the destination dialog and prints "closed" once it is gone
//   message        waits for a message box owned by the main window and prints its title,
//                  its text and whether it is centred on the main window
//   message-ok     presses the message box's OK
//   restore-to USER  chooses Restore, clicks the user of that name and presses OK (returns
//                  while the restore runs)
//   answer TITLE BUTTON  waits for a message box or the folder picker of that title, prints its
//                  text and presses BUTTON (ok, cancel, yes or no; none only waits)
//   exinfo BUTTON  waits for the backup information dialog, prints its size, fields, whether
//                  its current environment wraps, and its look (as destination's) and presses
//                  BUTTON (detail or ok; none only waits)
//   compression    chooses the menu item "Mailファイルの圧縮(&U)" (which does nothing while disabled)
//   help           chooses the help menu's contents item
//   mail           opens the support mail sheet from the menu, waits for its fade-in and prints
//                  the selected subject, the sheet's alpha ("alpha N", or "opaque" when not
//                  layered) and its look (as destination's)
//   mail-ok        presses the open sheet's OK and prints "closed" once the sheet is gone
//   title          the caption of the first visible dialog (such as the installer's window)
//   close          asks the main window to close
//   main-state     the chosen mode ("mode 1" or "mode 2", nothing for none), the Store Root
//                  shown ("text1 ..."), "ok on/off" and "list on/off"
//   image1         double-clicks the main window's picture (the hidden switch of the folder scan)
//   opt-...        the options window's commands, listed in options_probe.h
//   end-desktop    closes the desktop itself, as Wine does when it thinks nobody uses it
// Without a desktop:
//   setting NAME   the program's setting NAME (text or number)
//   running        the number of running vorn.exe processes
//   record FILE TEXT  writes TEXT to FILE (UTF-8): a stand-in handler that shows what it was given
// Exit code 1 when the window the command needs is not there, 2 for a bad command line.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tests/smoke/options_probe.h"
#include "tests/smoke/probe_support.h"
#include "ui/win32/control_ids.h"
#include "ui/win32/vorn_icon.h"

#include <tlhelp32.h>

namespace {

namespace ids = vorn::win32ui;

using vorn::probe::Notify;
using vorn::probe::Print;
using vorn::probe::Text;

std::string ClassOf(HWND window) {
  wchar_t name[256] = {};
  if (!window || !GetClassNameW(window, name, 256)) return "none";
  return vorn::NarrowZ(name);
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

// Polls for up to timeout milliseconds until found() returns a window (or, with present
// false, until it returns none).
template <typename Find>
HWND WaitFor(Find found, bool present = true, int timeout = 5000) {
  for (int waited = 0; waited < timeout; waited += 50) {
    HWND window = found();
    if (static_cast<bool>(window) == present) return window;
    Sleep(50);
  }
  return present ? nullptr : found();
}

// What a click does: the control changes, then tells its parent. Both are posted, so that
// vorn.exe handles them one after the other, as it does a click, with nothing of its own in
// between. (BM_CLICK would depend on which window is active.) True once OK is enabled.
bool PickUser(HWND main, int mode, int index) {
  HWND option = GetDlgItem(main, ids::kForm1Option1First + mode);
  PostMessageW(main, WM_COMMAND, MAKEWPARAM(ids::kForm1Option1First + mode, BN_CLICKED),
               reinterpret_cast<LPARAM>(option));
  HWND list = GetDlgItem(main, ids::kForm1List1);
  PostMessageW(list, LB_SETCURSEL, index, 0);
  PostMessageW(main, WM_COMMAND, MAKEWPARAM(ids::kForm1List1, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
  HWND ok = GetDlgItem(main, ids::kForm1Ok);
  return WaitFor([ok] { return IsWindowEnabled(ok) ? ok : nullptr; }, true, 3000);
}

void PickFirstUser(HWND main, int mode) {
  const bool ok = PickUser(main, mode, 0);
  Print(Text(GetDlgItem(main, ids::kForm1Text1)) + "\n");
  Print(ok ? "ok\n" : "no ok\n");
}

// Presses OK; returns while the run goes on (a short one may be over by then).
int StartRun(HWND main) {
  HWND ok = GetDlgItem(main, ids::kForm1Ok);
  if (!IsWindowEnabled(ok)) return 1;
  PostMessageW(main, WM_COMMAND, MAKEWPARAM(ids::kForm1Ok, BN_CLICKED), reinterpret_cast<LPARAM>(ok));
  return 0;
}

int RestoreTo(HWND main, const std::string& user) {
  HWND list = GetDlgItem(main, ids::kForm1List1);
  const int index = static_cast<int>(
      SendMessageW(list, LB_FINDSTRINGEXACT, -1, reinterpret_cast<LPARAM>(vorn::Wide(user).c_str())));
  if (index < 0 || !PickUser(main, 2, index)) return 1;
  return StartRun(main);
}

HWND VisibleWindowOfClass(const char* windowClass) {
  HWND window = FindWindowA(windowClass, nullptr);
  return window && IsWindowVisible(window) ? window : nullptr;
}

// A visible dialog box (message box, shell question) owned by owner.
HWND BoxOwnedBy(HWND owner) {
  HWND box = nullptr;
  while ((box = FindWindowExW(nullptr, box, L"#32770", nullptr)))
    if (IsWindowVisible(box) && GetWindow(box, GW_OWNER) == owner) return box;
  return nullptr;
}

GUITHREADINFO ThreadState(HWND window) {
  GUITHREADINFO state{};
  state.cbSize = sizeof state;
  GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &state);
  return state;
}

int FocusId(HWND window) {
  HWND focus = ThreadState(window).hwndFocus;
  return focus && GetParent(focus) ? GetDlgCtrlID(focus) : 0;
}

// Whether the caption is drawn as the active one, read from the screen like a user sees it:
// the pixel in the middle of the title bar against the two caption colours.
std::string CaptionLook(HWND window) {
  TITLEBARINFO bar{};
  bar.cbSize = sizeof bar;
  if (!GetTitleBarInfo(window, &bar)) return "unknown";
  HDC screen = GetDC(nullptr);
  const COLORREF pixel = GetPixel(screen, (bar.rcTitleBar.left + bar.rcTitleBar.right) / 2, bar.rcTitleBar.top + 2);
  ReleaseDC(nullptr, screen);
  const auto looksLike = [pixel](int colourIndex, int gradientIndex) {
    for (COLORREF colour : {GetSysColor(colourIndex), GetSysColor(gradientIndex)}) {
      const int distance = std::abs(GetRValue(pixel) - GetRValue(colour)) + std::abs(GetGValue(pixel) - GetGValue(colour)) +
                           std::abs(GetBValue(pixel) - GetBValue(colour));
      if (distance < 96) return true;
    }
    return false;
  };
  if (looksLike(COLOR_ACTIVECAPTION, COLOR_GRADIENTACTIVECAPTION)) return "active";
  if (looksLike(COLOR_INACTIVECAPTION, COLOR_GRADIENTINACTIVECAPTION)) return "inactive";
  return "unknown";
}

void PrintActive(HWND main) {
  Print("active " + ClassOf(ThreadState(main).hwndActive) + "\n");
  Print("foreground " + ClassOf(GetForegroundWindow()) + "\n");
  Print("caption " + CaptionLook(main) + "\n");
  Print("focus " + std::to_string(FocusId(main)) + "\n");
}

// What draw(dc) paints into a width x height bitmap like the screen's, as colours row by row.
template <typename Draw>
std::vector<COLORREF> Painted(int width, int height, Draw draw) {
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  draw(memory, screen);
  SelectObject(memory, old);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  std::vector<COLORREF> pixels(static_cast<size_t>(width) * height);
  GetDIBits(memory, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

// The pixels of a rectangle of the screen.
std::vector<COLORREF> ScreenPixels(const RECT& area) {
  const int width = area.right - area.left, height = area.bottom - area.top;
  return Painted(width, height, [&](HDC memory, HDC screen) {
    BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
  });
}

// Vorn's icon, drawn as the system draws it.
std::vector<COLORREF> VornIconPixels(int size) {
  return Painted(size, size, [size](HDC memory, HDC) {
    DrawIconEx(memory, 0, 0, vorn::win32ui::VornIcon(size), size, size, 0, nullptr, DI_NORMAL);
  });
}

// Whether the left end of the window's title bar shows Vorn's small icon, pixel for pixel
// (within a few steps of each colour, for a sheet a shade short of opaque).
bool ShowsVornIcon(HWND window) {
  const int size = GetSystemMetrics(SM_CXSMICON);
  RECT area;
  GetWindowRect(window, &area);
  area.right = std::min<LONG>(area.right, area.left + 4 * size);
  area.bottom = std::min<LONG>(area.bottom, area.top + GetSystemMetrics(SM_CYCAPTION) + 2 * GetSystemMetrics(SM_CYFRAME));
  const int width = area.right - area.left, height = area.bottom - area.top;
  if (width < size || height < size) return false;
  const std::vector<COLORREF> shown = ScreenPixels(area), icon = VornIconPixels(size);
  const auto alike = [](COLORREF a, COLORREF b) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= 6 && std::abs(GetGValue(a) - GetGValue(b)) <= 6 &&
           std::abs(GetBValue(a) - GetBValue(b)) <= 6;
  };
  for (int top = 0; top + size <= height; ++top)
    for (int left = 0; left + size <= width; ++left) {
      bool same = true;
      for (int y = 0; same && y < size; ++y)
        for (int x = 0; same && x < size; ++x)
          same = alike(shown[static_cast<size_t>(top + y) * width + left + x], icon[static_cast<size_t>(y) * size + x]);
      if (same) return true;
    }
  return false;
}

RECT WorkArea() {
  RECT area{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  return area;
}

// "centred" when the box's centre is within a pixel of its owner's, or when the box was moved
// just far enough to stay inside the work area.
std::string Centring(HWND box, HWND owner) {
  RECT inner, outer;
  GetWindowRect(box, &inner);
  GetWindowRect(owner, &outer);
  const RECT area = WorkArea();
  const int dx = (inner.left + inner.right) - (outer.left + outer.right);
  const int dy = (inner.top + inner.bottom) - (outer.top + outer.bottom);
  const bool fitsX = std::abs(dx) <= 2 || inner.left == area.left || inner.right == area.right;
  const bool fitsY = std::abs(dy) <= 2 || inner.top == area.top || inner.bottom == area.bottom;
  if (fitsX && fitsY) return "centred";
  return "off centre by " + std::to_string(dx / 2) + "," + std::to_string(dy / 2);
}

// What every dialog of the program shares: centred on the main window, Vorn's icon on both, and
// the id of the control with the focus.
void PrintDialogLook(HWND dialog, HWND main) {
  Print(Centring(dialog, main) + "\n");
  Print(std::string("icon ") + (ShowsVornIcon(dialog) && ShowsVornIcon(main) ? "vorn" : "other") + "\n");
  Print("focus " + std::to_string(FocusId(dialog)) + "\n");
}

void PrintPlacement(HWND main) {
  RECT frame;
  GetWindowRect(main, &frame);
  const RECT area = WorkArea();
  const bool inside = frame.left >= area.left && frame.top >= area.top && frame.right <= area.right &&
                      frame.bottom <= area.bottom;
  const bool corner = frame.left == area.left && frame.top == area.top;
  Print(std::string(inside ? "inside" : "outside") + " the work area, " + (corner ? "in" : "off") + " its corner\n");
}

HWND DestinationDialog() { return VisibleWindowOfClass(ids::kFrmBkpthClass); }

int OpenDestination(HWND main) {
  PostMessageW(main, WM_COMMAND, MAKEWPARAM(ids::kForm1MenuChSave, 0), 0);
  HWND dialog = WaitFor(DestinationDialog);
  if (!dialog) return 1;
  Sleep(300);  // until it has been drawn
  for (int index = 0; index < 2; ++index)
    if (SendMessageW(GetDlgItem(dialog, ids::kFrmBkpthOption1First + index), BM_GETCHECK, 0, 0) == BST_CHECKED)
      Print("option " + std::to_string(index) + "\n");
  HWND text = GetDlgItem(dialog, ids::kFrmBkpthText1);
  Print("text " + Text(text) + "\n");
  Print(std::string("read-only ") + (GetWindowLongW(text, GWL_STYLE) & ES_READONLY ? "yes" : "no") + "\n");
  PrintDialogLook(dialog, main);
  return 0;
}

// Tab as the keyboard sends it: to the control with the focus, through the box's own loop.
int PressTab(HWND main, int times) {
  HWND active = ThreadState(main).hwndActive;
  if (!active) return 1;
  for (int i = 0; i < times; ++i) {
    HWND focus = ThreadState(main).hwndFocus;
    PostMessageW(focus ? focus : active, WM_KEYDOWN, VK_TAB, 1);
    PostMessageW(focus ? focus : active, WM_KEYUP, VK_TAB, 0xC0000001);
    Sleep(150);
    if (i) Print(" ");
    Print(std::to_string(FocusId(active)));
  }
  Print("\n");
  return 0;
}

void SetCaption(HWND control, const std::wstring& text) {
  SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  UpdateWindow(control);
  Sleep(300);
}

// Whether option 0 draws the underscore of its caption "...\Vorn_bkup": the caption cut after
// the underscore and cut before it differ in the underscore's pixels, and the caption as it
// stands shows those same pixels. (Taken while the option has no focus, whose frame would
// follow the caption's width.)
int CheckUnderscore() {
  HWND dialog = DestinationDialog();
  if (!dialog) return 1;
  HWND option = GetDlgItem(dialog, ids::kFrmBkpthOption1First);
  wchar_t buffer[256] = {};
  GetWindowTextW(option, buffer, 256);
  const std::wstring full = buffer;
  const size_t underscore = full.find(L'_');
  if (underscore == std::wstring::npos) return 1;
  RECT area;
  GetWindowRect(option, &area);
  const std::vector<COLORREF> asItStands = ScreenPixels(area);
  SetCaption(option, full.substr(0, underscore + 1));
  const std::vector<COLORREF> withUnderscore = ScreenPixels(area);
  SetCaption(option, full.substr(0, underscore));
  const std::vector<COLORREF> withoutUnderscore = ScreenPixels(area);
  SetCaption(option, full);
  size_t drawn = 0, shown = 0;
  for (size_t i = 0; i < asItStands.size(); ++i) {
    if (((withUnderscore[i] ^ withoutUnderscore[i]) & 0xFFFFFF) == 0) continue;
    ++drawn;
    if (((withUnderscore[i] ^ asItStands[i]) & 0xFFFFFF) == 0) ++shown;
  }
  Print(drawn && shown == drawn ? "underscore drawn\n" : "underscore missing\n");
  return 0;
}

int PressDestinationOk() {
  HWND dialog = DestinationDialog();
  if (!dialog) return 1;
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  if (WaitFor(DestinationDialog, false)) return 1;
  Print("closed\n");
  return 0;
}

int ReadMessage(HWND main) {
  HWND box = WaitFor([main] { return BoxOwnedBy(main); }, true, 60000);
  if (!box) return 1;
  Sleep(300);
  Print("title " + Text(box) + "\n");
  HWND label = nullptr;
  while ((label = FindWindowExW(box, label, L"Static", nullptr)))
    if (!Text(label).empty()) Print("text " + Text(label) + "\n");
  Print(Centring(box, main) + "\n");
  return 0;
}

int PressMessageOk(HWND main) {
  HWND box = BoxOwnedBy(main);
  if (!box) return 1;
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
  return WaitFor([main] { return BoxOwnedBy(main); }, false) ? 1 : 0;
}

int WaitUntilIdle(HWND main) {
  HWND ok = GetDlgItem(main, ids::kForm1Ok);
  const auto running = [main, ok] { return IsWindowEnabled(ok) && !BoxOwnedBy(main) ? nullptr : ok; };
  return WaitFor(running, false, 120000) ? 1 : 0;
}

// Every top-level window of vorn.exe: class, visibility, owner's class and title.
void PrintWindows(HWND main) {
  DWORD vorn = 0;
  GetWindowThreadProcessId(main, &vorn);
  HWND window = nullptr;
  while ((window = FindWindowExW(nullptr, window, nullptr, nullptr))) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != vorn) continue;
    Print(ClassOf(window) + (IsWindowVisible(window) ? " visible" : " hidden") + " owner " +
          ClassOf(GetWindow(window, GW_OWNER)) + " " + Text(window) + "\n");
  }
}

// A restore unpacks the mail store before its next question.
constexpr int kRunStepTimeout = 30000;

BOOL CALLBACK PrintStatic(HWND child, LPARAM) {
  if (ClassOf(child) == "Static" && !Text(child).empty()) Print(Text(child) + "\n");
  return TRUE;
}

// Message boxes and the folder picker are standard dialogs named by their title.
int Answer(const std::wstring& title, const std::wstring& button) {
  const auto named = [&title] {
    HWND box = FindWindowW(L"#32770", title.c_str());
    return box && IsWindowVisible(box) ? box : nullptr;
  };
  HWND dialog = WaitFor(named, true, kRunStepTimeout);
  if (!dialog) return 1;
  EnumChildWindows(dialog, PrintStatic, 0);
  if (button == L"none") return 0;
  const int id = button == L"ok" ? IDOK : button == L"cancel" ? IDCANCEL : button == L"yes" ? IDYES : IDNO;
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
  return WaitFor(named, false, kRunStepTimeout) ? 1 : 0;
}

// Whether the label's word wrap breaks any of its lines, measured in the windows' own font.
bool WrapsALine(HWND label) {
  HDC dc = GetDC(label);
  LOGFONTW face{};
  face.lfHeight = -MulDiv(9, GetDeviceCaps(dc, LOGPIXELSY), 72);
  face.lfCharSet = SHIFTJIS_CHARSET;
  wcscpy(face.lfFaceName, L"MS Shell Dlg");
  HFONT font = CreateFontIndirectW(&face);
  HGDIOBJ old = SelectObject(dc, font);
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(label)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(label, text.data(), static_cast<int>(text.size()))));
  RECT area;
  GetClientRect(label, &area);
  RECT wrapped = area, unwrapped = area;
  DrawTextW(dc, text.c_str(), -1, &wrapped, DT_CALCRECT | DT_WORDBREAK);
  DrawTextW(dc, text.c_str(), -1, &unwrapped, DT_CALCRECT);
  SelectObject(dc, old);
  DeleteObject(font);
  ReleaseDC(label, dc);
  return wrapped.bottom > unwrapped.bottom || unwrapped.right > area.right;
}

int AnswerBackupInfo(HWND main, const std::wstring& button) {
  const auto shown = [] { return VisibleWindowOfClass(ids::kExInfoClass); };
  HWND dialog = WaitFor(shown, true, kRunStepTimeout);
  if (!dialog) return 1;
  Sleep(300);  // until it has been drawn
  RECT outer;
  GetWindowRect(dialog, &outer);
  Print(std::to_string(outer.right - outer.left) + "x" + std::to_string(outer.bottom - outer.top) + "\n");
  for (int i = 0; i < 8; ++i) Print(Text(GetDlgItem(dialog, ids::kExInfoField1First + i)) + "\n");
  Print(Text(GetDlgItem(dialog, ids::kExInfoLabel3)) + "\n");
  Print(WrapsALine(GetDlgItem(dialog, ids::kExInfoLabel3)) ? "label3 wraps\n" : "label3 unwrapped\n");
  PrintDialogLook(dialog, main);
  if (button == L"none") return 0;
  const int id = button == L"detail" ? ids::kExInfoDetail : IDOK;
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
  if (button == L"detail") return 0;
  return WaitFor(shown, false, kRunStepTimeout) ? 1 : 0;
}

// Opens the support mail sheet and waits until its fade-in has ended (it is not layered on the
// 98 family).
int OpenMailSheet(HWND main) {
  PostMessageW(main, WM_COMMAND, MAKEWPARAM(ids::kForm1MenuMail, 0), 0);
  HWND sheet = WaitFor([] { return VisibleWindowOfClass(ids::kMailmeClass); });
  if (!sheet) return 1;
  for (int index = 0; index < 4; ++index) {
    HWND option = GetDlgItem(sheet, ids::kMailmeOption1First + index);
    if (SendMessageW(option, BM_GETCHECK, 0, 0) == BST_CHECKED) Print(Text(option) + "\n");
  }
  if (!(GetWindowLongW(sheet, GWL_EXSTYLE) & WS_EX_LAYERED)) {
    Print("opaque\n");
  } else {
    BYTE alpha = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
      DWORD flags = 0;
      if (!GetLayeredWindowAttributes(sheet, nullptr, &alpha, &flags)) return 1;
      if (alpha >= 251) break;
      Sleep(50);
    }
    Print("alpha " + std::to_string(alpha) + "\n");
  }
  Sleep(300);  // until it has been drawn
  PrintDialogLook(sheet, main);
  return 0;
}

int PressMailSheetOk() {
  HWND sheet = WaitFor([] { return VisibleWindowOfClass(ids::kMailmeClass); });
  if (!sheet) return 1;
  PostMessageW(sheet, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  if (WaitFor([] { return VisibleWindowOfClass(ids::kMailmeClass); }, false)) return 1;
  Print("closed\n");
  return 0;
}

int PrintDialogTitle() {
  for (HWND window = FindWindowW(L"#32770", nullptr); window; window = FindWindowExW(nullptr, window, L"#32770", nullptr)) {
    if (!IsWindowVisible(window)) continue;
    Print(Text(window) + "\n");
    return 0;
  }
  return 1;
}

int Record(const std::wstring& file, const std::wstring& text) {
  HANDLE out = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (out == INVALID_HANDLE_VALUE) return 1;
  const std::string utf8 = vorn::Narrow(text);
  DWORD written = 0;
  const bool ok = WriteFile(out, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
  CloseHandle(out);
  return ok ? 0 : 1;
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

int PrintRunning() {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return 1;
  int count = 0;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
    if (_wcsicmp(entry.szExeFile, L"vorn.exe") == 0) ++count;
  CloseHandle(snapshot);
  Print(std::to_string(count) + "\n");
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring command = argc > 1 ? argv[1] : L"";
  if (command == L"setting") return argc > 2 ? PrintSetting(argv[2]) : 2;
  if (command == L"running") return PrintRunning();
  if (command == L"record") return argc > 3 ? Record(argv[2], argv[3]) : 2;
  const int operands = command == L"answer"                                                      ? 2
                       : command == L"restore-to" || command == L"exinfo" || command == L"tab" ? 1
                                                                                                 : vorn::probe::OptionsOperands(command);
  if (argc < 2 + operands) return 2;
  if (argc > 2 + operands) {
    HDESK desktop = OpenDesktopW(argv[2 + operands], 0, FALSE, GENERIC_ALL);
    if (!desktop || !SetThreadDesktop(desktop)) return 1;
  }
  if (command == L"title") return PrintDialogTitle();
  HWND main = VisibleWindowOfClass(ids::kForm1Class);
  if (!main) return 1;
  // The desktop's own window is the main window's parent (the probe's GetDesktopWindow is the
  // one of the desktop it started on).
  if (command == L"end-desktop") return PostMessageW(GetAncestor(main, GA_PARENT), WM_CLOSE, 0, 0) ? 0 : 1;
  if (command == L"users") {
    PrintUsers(main);
  } else if (command == L"restore") {
    PickFirstUser(main, 2);
  } else if (command == L"backup") {
    PickFirstUser(main, 1);
    return StartRun(main);
  } else if (command == L"restore-to") {
    return RestoreTo(main, vorn::Narrow(argv[2]));
  } else if (command == L"answer") {
    return Answer(argv[2], argv[3]);
  } else if (command == L"exinfo") {
    return AnswerBackupInfo(main, argv[2]);
  } else if (command == L"idle") {
    return WaitUntilIdle(main);
  } else if (command == L"active") {
    PrintActive(main);
  } else if (command == L"windows") {
    PrintWindows(main);
  } else if (command == L"place") {
    PrintPlacement(main);
  } else if (command == L"destination") {
    return OpenDestination(main);
  } else if (command == L"tab") {
    return PressTab(main, _wtoi(argv[2]));
  } else if (command == L"underscore") {
    return CheckUnderscore();
  } else if (command == L"destination-ok") {
    return PressDestinationOk();
  } else if (command == L"message") {
    return ReadMessage(main);
  } else if (command == L"message-ok") {
    return PressMessageOk(main);
  } else if (command == L"compression") {
    SendMessageW(main, WM_COMMAND, MAKEWPARAM(ids::kForm1MenuLHA, 0), 0);
  } else if (command == L"help") {
    PostMessageW(main, WM_COMMAND, MAKEWPARAM(ids::kForm1MenuMokuji, 0), 0);
  } else if (command == L"mail") {
    return OpenMailSheet(main);
  } else if (command == L"mail-ok") {
    return PressMailSheetOk();
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
    Notify(main, ids::kForm1Image1, STN_DBLCLK);
  } else {
    std::vector<std::wstring> arguments(argv + 2, argv + std::min(argc, 2 + operands));
    return vorn::probe::RunOptionsCommand(main, command, arguments);
  }
  return 0;
}
