#include "platform/win32/win32_shell.h"

#include "platform/win32/windows_api.h"
#include <shellapi.h>

#include "platform/win32/wide_text.h"
#include "platform/win32/window_placement.h"

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
  // Attended: the shell's own progress, questions and error messages.
  operation.fFlags = unattended_ ? FOF_NOCONFIRMATION | FOF_NOCONFIRMMKDIR | FOF_NOERRORUI | FOF_SILENT : 0;
  const win32::CentredBoxes centred;  // the shell's questions and error boxes
  return SHFileOperationW(&operation);
}

}  // namespace vorn
