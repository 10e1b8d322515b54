#include "platform/win32/win32_shell.h"

#include "platform/win32/windows_api.h"
#include <shellapi.h>

#include "platform/win32/family_functions.h"
#include "platform/win32/window_placement.h"

namespace vorn {

int Win32Shell::FileTransfer(WindowHandle owner, const std::string& destinationFolder, const std::string& source) {
  // The shell takes lists of paths, each NUL-terminated, the list ending in a second NUL.
  // Attended: the shell's own progress, questions and error messages.
  const FILEOP_FLAGS flags = unattended_ ? FOF_NOCONFIRMATION | FOF_NOCONFIRMMKDIR | FOF_NOERRORUI | FOF_SILENT : 0;
  const win32::CentredBoxes centred;  // the shell's questions and error boxes
  if (win32::IsNtFamily()) {
    const std::wstring from = Wide(source) + L'\0', to = Wide(destinationFolder) + L'\0';
    SHFILEOPSTRUCTW operation{reinterpret_cast<HWND>(owner), FO_COPY, from.c_str(), to.c_str(), flags, FALSE, nullptr,
                              nullptr};
    return win32::Nt().SHFileOperationW(&operation);
  }
  const std::string from = win32::Ansi(source) + '\0', to = win32::Ansi(destinationFolder) + '\0';
  SHFILEOPSTRUCTA operation{reinterpret_cast<HWND>(owner), FO_COPY, from.c_str(), to.c_str(), flags, FALSE, nullptr,
                            nullptr};
  return SHFileOperationA(&operation);
}

}  // namespace vorn
