#include "platform/win32/win32_shell.h"

#include "platform/win32/windows_api.h"
#include <shellapi.h>

#include "platform/win32/wide_text.h"

namespace vorn {

int Win32Shell::FileTransfer(WindowHandle owner, const std::string& destinationFolder, const std::string& source) {
  // The shell takes lists of paths, each NUL-terminated, the list ending in a second NUL.
  std::wstring from = Wide(source) + L'\0';
  std::wstring to = Wide(destinationFolder) + L'\0';
  SHFILEOPSTRUCTW operation{};
  operation.hwnd = reinterpret_cast<HWND>(owner);
  operation.wFunc = FO_COPY;
  operation.pFrom = from.c_str();
  operation.pTo = to.c_str();
  operation.fFlags = 0;  // the shell's own progress, questions and error messages
  return SHFileOperationW(&operation);
}

}  // namespace vorn
