#pragma once
// The two families of Windows the program runs on, and the functions only the 2000 family has.
// 98 and Me export most wide-character functions not at all or only as stubs that fail, so no
// binary of ours imports them: on the 2000 family each is looked up by name once, the first
// time any is needed; on the 98 family the Win32 layer calls the A functions instead, with its
// text in code page 932 (Ansi, FromAnsi).
#include "platform/win32/windows_api.h"
#include <shellapi.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <string>
#include <utility>

#include "platform/codepage.h"
#include "platform/win32/wide_text.h"

namespace vorn::win32 {

// library, function: every function the program calls only on the 2000 family.
#define VORN_NT_FUNCTIONS(X)                                                                                 \
  X(kernel32, CopyFileW) X(kernel32, CreateDirectoryW) X(kernel32, CreateFileW) X(kernel32, CreateProcessW) \
  X(kernel32, DeleteFileW) X(kernel32, FindFirstFileW) X(kernel32, FindNextFileW)                           \
  X(kernel32, GetDateFormatW) X(kernel32, GetEnvironmentVariableW) X(kernel32, GetFileAttributesExW)        \
  X(kernel32, GetFileAttributesW) X(kernel32, GetFullPathNameW) X(kernel32, GetModuleFileNameW)             \
  X(kernel32, GetTimeFormatW) X(kernel32, MoveFileW) X(kernel32, Process32FirstW)                           \
  X(kernel32, Process32NextW) X(kernel32, RemoveDirectoryW) X(kernel32, SetFileAttributesW)                 \
  X(version, GetFileVersionInfoSizeW) X(version, GetFileVersionInfoW) X(version, VerQueryValueW)            \
  X(shell32, CommandLineToArgvW) X(shell32, SHBrowseForFolderW) X(shell32, SHFileOperationW)                \
  X(shell32, SHGetFolderPathW) X(shell32, SHGetPathFromIDListW)                                             \
  X(user32, AppendMenuW) X(user32, CallWindowProcW) X(user32, CreateWindowExW) X(user32, DefWindowProcW)    \
  X(user32, DispatchMessageW) X(user32, GetMessageW) X(user32, GetWindowTextLengthW)                        \
  X(user32, GetWindowTextW) X(user32, IsDialogMessageW) X(user32, MessageBoxIndirectW)                      \
  X(user32, PeekMessageW) X(user32, RegisterClassExW) X(user32, SendMessageW)                               \
  X(user32, SetLayeredWindowAttributes) X(user32, SetWindowTextW) X(user32, TranslateAcceleratorW)          \
  X(user32, UnregisterClassW) VORN_NT_WINDOW_PROCEDURE(X)

// The 32-bit user32 has no ...LongPtr functions: the headers map them to the ...Long ones.
#ifdef _WIN64
#define VORN_NT_WINDOW_PROCEDURE(X) X(user32, SetWindowLongPtrW)
#else
#define VORN_NT_WINDOW_PROCEDURE(X) X(user32, SetWindowLongW)
#endif

struct NtFunctions {
#define VORN_NT_POINTER(library, name) decltype(&::name) name = nullptr;
  VORN_NT_FUNCTIONS(VORN_NT_POINTER)
#undef VORN_NT_POINTER
};

// True on the 2000 family (2000, XP and later), where every function of NtFunctions was found.
bool IsNtFamily();
// The 2000 family's functions; all null on the 98 family.
const NtFunctions& Nt();

// Text for the A functions of the 98 family, and back.
inline std::string Ansi(const std::string& utf8) { return Utf8ToCp932(utf8); }
inline std::string FromAnsi(const char* text) { return Cp932ToUtf8(text); }

// A function of one path (and more arguments): the wide one on the 2000 family, the A one on the 98.
template <typename Result, typename... Parameters, typename... Arguments>
Result WithPath(Result(WINAPI* wide)(LPCWSTR, Parameters...), Result(WINAPI* ansi)(LPCSTR, Parameters...),
                const std::string& path, Arguments&&... arguments) {
  if (IsNtFamily()) return wide(Wide(path).c_str(), std::forward<Arguments>(arguments)...);
  return ansi(Ansi(path).c_str(), std::forward<Arguments>(arguments)...);
}

// The same for a function of two paths.
template <typename Result, typename... Parameters, typename... Arguments>
Result WithPaths(Result(WINAPI* wide)(LPCWSTR, LPCWSTR, Parameters...),
                 Result(WINAPI* ansi)(LPCSTR, LPCSTR, Parameters...), const std::string& first,
                 const std::string& second, Arguments&&... arguments) {
  if (IsNtFamily()) return wide(Wide(first).c_str(), Wide(second).c_str(), std::forward<Arguments>(arguments)...);
  return ansi(Ansi(first).c_str(), Ansi(second).c_str(), std::forward<Arguments>(arguments)...);
}

}  // namespace vorn::win32
