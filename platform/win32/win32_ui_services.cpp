#include "platform/win32/win32_ui_services.h"

#include "platform/win32/windows_api.h"
#include <shlobj.h>

#include <utility>

#include "platform/win32/family_functions.h"
#include "platform/win32/window_calls.h"
#include "platform/win32/window_placement.h"

namespace vorn {
namespace {

constexpr UINT kHelpContextCommand = 0x000F;  // HH_HELP_CONTEXT

bool waitCursorShown = false;

// The help file of the message box on screen; its Help button callback has no other way in.
std::string currentHelpFile;

using HtmlHelpWide = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);
using HtmlHelpAnsi = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);

// HTML Help lives in hhctrl.ocx, which a bare system may lack; loaded on first use and kept
// for the life of the process, since help windows may outlive any caller.
FARPROC HtmlHelpEntry() {
  static FARPROC entry = [] {
    HMODULE module = LoadLibraryA("hhctrl.ocx");
    return module ? GetProcAddress(module, win32::IsNtFamily() ? "HtmlHelpW" : "HtmlHelpA") : nullptr;
  }();
  return entry;
}

void OpenHelp(HWND owner, const std::string& helpFile, int context) {
  FARPROC entry = HtmlHelpEntry();
  if (!entry) return;
  const auto data = static_cast<DWORD_PTR>(context);
  if (win32::IsNtFamily())
    reinterpret_cast<HtmlHelpWide>(reinterpret_cast<void*>(entry))(owner, Wide(helpFile).c_str(), kHelpContextCommand, data);
  else
    reinterpret_cast<HtmlHelpAnsi>(reinterpret_cast<void*>(entry))(owner, win32::Ansi(helpFile).c_str(),
                                                                   kHelpContextCommand, data);
}

void CALLBACK MessageBoxHelp(LPHELPINFO info) {
  OpenHelp(static_cast<HWND>(info->hItemHandle), currentHelpFile, static_cast<int>(info->dwContextId));
}

UINT IconStyle(MsgIcon icon) {
  switch (icon) {
    case MsgIcon::Critical:
      return MB_ICONERROR;
    case MsgIcon::Question:
      return MB_ICONQUESTION;
    case MsgIcon::Warning:
      return MB_ICONWARNING;
    case MsgIcon::Information:
      return MB_ICONINFORMATION;
    case MsgIcon::None:
      break;
  }
  return 0;
}

UINT ButtonStyle(MsgButtons buttons) {
  switch (buttons) {
    case MsgButtons::OkCancel:
      return MB_OKCANCEL;
    case MsgButtons::YesNo:
      return MB_YESNO;
    case MsgButtons::YesNoCancel:
      return MB_YESNOCANCEL;
    case MsgButtons::RetryCancel:
      return MB_RETRYCANCEL;
    case MsgButtons::Ok:
      break;
  }
  return MB_OK;
}

MsgAnswer Answer(int result) {
  switch (result) {
    case IDOK:
      return MsgAnswer::Ok;
    case IDYES:
      return MsgAnswer::Yes;
    case IDNO:
      return MsgAnswer::No;
    case IDRETRY:
      return MsgAnswer::Retry;
    default:
      return MsgAnswer::Cancel;
  }
}

constexpr UINT_PTR kFlashEndTimer = 0x564E;  // "VN"

// Some systems (Wine) flash a caption by turning it over once and leave it turned when the
// count runs out; stopping the flash once the three are over draws the caption as it is.
// Where the system counts the flashes itself, the stop comes after them and changes nothing.
void CALLBACK EndFlash(HWND window, UINT, UINT_PTR timer, DWORD) {
  KillTimer(window, timer);
  FLASHWINFO stop{};
  stop.cbSize = sizeof stop;
  stop.hwnd = window;
  stop.dwFlags = FLASHW_STOP;
  FlashWindowEx(&stop);
}

// Selects the initial folder once the picker is ready.
int CALLBACK BrowseCallback(HWND picker, UINT message, LPARAM, LPARAM initialFolder) {
  if (message == BFFM_INITIALIZED)
    win32::Send(picker, win32::FamilyMessage(BFFM_SETSELECTIONW, BFFM_SETSELECTIONA), TRUE, initialFolder);
  return 0;
}

// The box's parameters of either family; the texts are the family's own.
template <typename Params, typename Text>
Params MessageParams(const MessageSpec& message, const Text* text, const Text* title) {
  Params params{};
  params.cbSize = sizeof params;
  params.hwndOwner = message.owner ? reinterpret_cast<HWND>(message.owner) : GetActiveWindow();
  params.hInstance = GetModuleHandleA(nullptr);
  params.lpszText = text;
  params.lpszCaption = title;
  params.dwStyle = IconStyle(message.icon) | ButtonStyle(message.buttons) | (message.foreground ? MB_SETFOREGROUND : 0);
  if (message.helpButton) {
    params.dwStyle |= MB_HELP;
    params.dwContextHelpId = static_cast<DWORD_PTR>(message.helpContext);
    params.lpfnMsgBoxCallback = MessageBoxHelp;
  }
  return params;
}

}  // namespace

MsgAnswer Win32UiServices::ShowMessage(const MessageSpec& message) {
  std::string outerHelpFile = std::exchange(currentHelpFile, message.helpFile);
  const win32::CentredBoxes centred;
  int result;
  if (win32::IsNtFamily()) {
    const std::wstring text = Wide(message.text), title = Wide(message.title);
    const auto params = MessageParams<MSGBOXPARAMSW>(message, text.c_str(), title.c_str());
    result = win32::Nt().MessageBoxIndirectW(&params);
  } else {
    const std::string text = win32::Ansi(message.text), title = win32::Ansi(message.title);
    const auto params = MessageParams<MSGBOXPARAMSA>(message, text.c_str(), title.c_str());
    result = MessageBoxIndirectA(&params);
  }
  currentHelpFile = std::move(outerHelpFile);
  return Answer(result);
}

void Win32UiServices::Beep() { MessageBeep(MB_OK); }

void Win32UiServices::Flash(WindowHandle window) {
  FLASHWINFO flash{};
  flash.cbSize = sizeof flash;
  flash.hwnd = reinterpret_cast<HWND>(window);
  flash.dwFlags = FLASHW_CAPTION;
  flash.uCount = 3;
  flash.dwTimeout = 0;  // the default rate
  FlashWindowEx(&flash);
  // Each flash turns the caption over and back at the caret's blink rate.
  if (flash.hwnd) SetTimer(flash.hwnd, kFlashEndTimer, 2 * flash.uCount * GetCaretBlinkTime() + 100, EndFlash);
}

void Win32UiServices::SetWaitCursor(bool on) {
  waitCursorShown = on;
  SetCursor(LoadCursor(nullptr, on ? IDC_WAIT : IDC_ARROW));
}

bool Win32UiServices::WaitCursorShown() { return waitCursorShown; }

void Win32UiServices::DoEvents() {
  MSG message;
  while (win32::TakeMessage(message)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));  // leave it for the main loop
      break;
    }
    TranslateMessage(&message);
    win32::Dispatch(message);
  }
  if (afterEvents_) afterEvents_();
}

namespace {

// The folder picker of either family, from the initial folder's full path (the picker selects
// only a full path; "\Mail" names Mail at the root of the current drive).
template <typename BrowseInfo, typename Char, typename FullPathName, typename Browse, typename PathFromList>
std::basic_string<Char> PickFolder(HWND owner, const Char* title, std::basic_string<Char> initial, unsigned flags,
                                   FullPathName fullPathName, Browse browseForFolder, PathFromList pathFromIdList) {
  if (!initial.empty()) {
    Char full[MAX_PATH];
    const DWORD length = fullPathName(initial.c_str(), MAX_PATH, full, nullptr);
    if (length > 0 && length < MAX_PATH) initial = full;
  }
  BrowseInfo browse{};
  browse.hwndOwner = owner;
  browse.pidlRoot = nullptr;  // the whole namespace
  browse.lpszTitle = title;
  browse.ulFlags = flags;
  browse.lpfn = BrowseCallback;
  browse.lParam = reinterpret_cast<LPARAM>(initial.c_str());
  const win32::CentredBoxes centred;
  PIDLIST_ABSOLUTE item = browseForFolder(&browse);
  if (!item) return {};
  Char path[MAX_PATH] = {};
  std::basic_string<Char> picked = pathFromIdList(item, path) ? path : std::basic_string<Char>();
  CoTaskMemFree(item);
  return picked;
}

}  // namespace

std::string Win32UiServices::BrowseForFolder(WindowHandle owner, const std::string& title,
                                             const std::string& initialFolder, unsigned flags) {
  HWND window = reinterpret_cast<HWND>(owner);
  if (win32::IsNtFamily()) {
    const win32::NtFunctions& nt = win32::Nt();
    return Narrow(PickFolder<BROWSEINFOW>(window, Wide(title).c_str(), Wide(initialFolder), flags, nt.GetFullPathNameW,
                                          nt.SHBrowseForFolderW, nt.SHGetPathFromIDListW));
  }
  return win32::FromAnsi(PickFolder<BROWSEINFOA>(window, win32::Ansi(title).c_str(), win32::Ansi(initialFolder), flags,
                                                 GetFullPathNameA, SHBrowseForFolderA, SHGetPathFromIDListA)
                             .c_str());
}

void Win32UiServices::ShowHelp(WindowHandle owner, const std::string& helpFile, int context) {
  OpenHelp(reinterpret_cast<HWND>(owner), helpFile, context);
}

void Win32UiServices::EndProgram() { ExitProcess(0); }

}  // namespace vorn
