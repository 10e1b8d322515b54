#include "tests/regedit/wine_programs.h"

#include "platform/codepage.h"
#include "platform/win32/win32_handles.h"

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
  win32::Handle thread(process.hThread), running(process.hProcess);
  DWORD status = static_cast<DWORD>(-1);
  if (WaitForSingleObject(running.get(), 120000) == WAIT_OBJECT_0) GetExitCodeProcess(running.get(), &status);
  return static_cast<int>(status);
}

}  // namespace vorn::regtest
