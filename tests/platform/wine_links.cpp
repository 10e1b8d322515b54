#include "tests/platform/wine_links.h"

#include "platform/win32/wide_text.h"
#include "platform/win32/windows_api.h"

namespace vorn {
namespace {

// Wine makes no links of its own, but shows a Unix symbolic link to an existing file or folder
// as that file or folder: links are made and removed on the Unix side, by running ln and rm
// there. Those programs cannot be waited for, so their effect is awaited instead.
using UnixFileName = char*(CDECL*)(LPCWSTR);

std::string UnixPath(const std::string& windowsPath) {
  auto convert = reinterpret_cast<UnixFileName>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (!convert) return {};
  char* unix = convert(Wide(windowsPath).c_str());
  if (!unix) return {};
  std::string path = unix;
  HeapFree(GetProcessHeap(), 0, unix);
  return path;
}

bool Visible(const std::string& path) { return GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES; }

bool RunUnixUntil(const std::wstring& program, const std::string& arguments, const std::string& path, bool visible) {
  std::wstring line = program + L" " + Wide(arguments);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process;
  if (!CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return false;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  for (int wait = 0; wait < 500; ++wait, Sleep(10))
    if (Visible(path) == visible) return true;
  return false;
}

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

}  // namespace

bool MakeWineLink(const std::string& link, const std::string& target) {
  const std::string unixLink = UnixPath(link), unixTarget = UnixPath(target);
  if (unixLink.empty() || unixTarget.empty()) return false;
  return RunUnixUntil(L"Z:\\bin\\ln", "-s " + Quoted(unixTarget) + " " + Quoted(unixLink), link, true);
}

void RemoveWineLink(const std::string& link) {
  const std::string unixLink = UnixPath(link);
  if (!unixLink.empty()) RunUnixUntil(L"Z:\\bin\\rm", "-f " + Quoted(unixLink), link, false);
}

}  // namespace vorn
