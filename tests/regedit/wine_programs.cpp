#include "tests/regedit/wine_programs.h"

#include <windows.h>

#include "platform/codepage.h"

namespace vorn::regtest {

std::string TempFolder() {
  wchar_t buffer[MAX_PATH];
  DWORD n = GetTempPathW(MAX_PATH, buffer);
  std::string folder = Utf16ToUtf8(std::u16string(reinterpret_cast<const char16_t*>(buffer), n));
  while (!folder.empty() && folder.back() == '\\') folder.pop_back();
  return folder;
}

int RunAndWait(const std::string& commandLine) {
  std::u16string wide = Utf8ToUtf16(commandLine);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, reinterpret_cast<wchar_t*>(wide.data()), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process))
    return -1;
  DWORD waited = WaitForSingleObject(process.hProcess, 120000);
  DWORD status = static_cast<DWORD>(-1);
  if (waited == WAIT_OBJECT_0) GetExitCodeProcess(process.hProcess, &status);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return static_cast<int>(status);
}

}  // namespace vorn::regtest
