#include "platform/win32/win32_environment.h"

#include "platform/win32/windows_api.h"
#include <shlobj.h>

#include <map>
#include <vector>

#include "platform/codepage.h"
#include "platform/win32/wide_text.h"

namespace vorn {

std::optional<std::string> Win32Environment::Variable(const std::string& name) const {
  const std::wstring wideName = Wide(name);
  std::wstring value(64, L'\0');
  for (;;) {
    SetLastError(ERROR_SUCCESS);
    DWORD n = GetEnvironmentVariableW(wideName.c_str(), value.data(), static_cast<DWORD>(value.size()));
    if (n == 0) {
      if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
      return std::string();
    }
    if (n < value.size()) return Narrow(value.substr(0, n));
    value.resize(n);
  }
}

std::optional<OsVersionInfo> Win32Environment::OsVersion() const {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;  // 148 bytes
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!GetVersionExA(&info)) return std::nullopt;
#pragma GCC diagnostic pop
  return OsVersionInfo{info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion};
}

std::optional<FileVersion> Win32Environment::ExecutableVersion(const std::string& path) const {
  const std::wstring widePath = Wide(path);
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeW(widePath.c_str(), &ignored);
  if (size == 0) return std::nullopt;
  std::vector<BYTE> block(size);
  if (!GetFileVersionInfoW(widePath.c_str(), 0, size, block.data())) return std::nullopt;
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT fixedSize = 0;
  if (!VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixedSize) || !fixed ||
      fixedSize < sizeof(VS_FIXEDFILEINFO))
    return std::nullopt;
  return FileVersion{HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS), HIWORD(fixed->dwFileVersionLS),
                     LOWORD(fixed->dwFileVersionLS)};
}

bool Win32Environment::PathSearchFinds(const std::string& fullPath) const {
  char found[MAX_PATH];
  char* filePart = nullptr;
  return SearchPathA(nullptr, Utf8ToCp932(fullPath).c_str(), nullptr, MAX_PATH, found, &filePart) != 0;
}

std::string Win32Environment::SpecialFolder(const std::string& name) const {
  // The scripting shell's special folder names.
  static const std::map<std::string, int> kFolders = {
      {"AllUsersDesktop", CSIDL_COMMON_DESKTOPDIRECTORY},
      {"AllUsersStartMenu", CSIDL_COMMON_STARTMENU},
      {"AllUsersPrograms", CSIDL_COMMON_PROGRAMS},
      {"AllUsersStartup", CSIDL_COMMON_STARTUP},
      {"Desktop", CSIDL_DESKTOPDIRECTORY},
      {"Favorites", CSIDL_FAVORITES},
      {"Fonts", CSIDL_FONTS},
      {"MyDocuments", CSIDL_PERSONAL},
      {"NetHood", CSIDL_NETHOOD},
      {"PrintHood", CSIDL_PRINTHOOD},
      {"Programs", CSIDL_PROGRAMS},
      {"Recent", CSIDL_RECENT},
      {"SendTo", CSIDL_SENDTO},
      {"StartMenu", CSIDL_STARTMENU},
      {"Startup", CSIDL_STARTUP},
      {"Templates", CSIDL_TEMPLATES},
  };
  for (const auto& [folderName, csidl] : kFolders) {
    if (CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, folderName.c_str(), -1, name.c_str(), -1) != CSTR_EQUAL)
      continue;
    wchar_t path[MAX_PATH];
    if (SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path) != S_OK) return {};
    return NarrowZ(path);
  }
  return {};
}

std::string Win32Environment::ProgramFolder() const {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  return Narrow(path.substr(0, path.find_last_of(L'\\')));
}

}  // namespace vorn
