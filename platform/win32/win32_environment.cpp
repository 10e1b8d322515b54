#include "platform/win32/win32_environment.h"

#include "platform/win32/windows_api.h"
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/codepage.h"
#include "platform/text.h"
#include "platform/win32/family_functions.h"

namespace vorn {

namespace {

// Text a function writes into a buffer of the size it is given, returning its length, or the
// size it needs when the buffer is too small; the buffer grows until the text fits. 0 is the
// function's failure. The text is read up to its NUL: in code page 932 the length is of bytes
// on Windows but of characters under Wine, and twice it leaves room for either.
template <typename Char, typename Fill>
std::optional<std::basic_string<Char>> FilledText(Fill fill) {
  std::basic_string<Char> buffer(MAX_PATH, Char{});
  for (;;) {
    const DWORD size = static_cast<DWORD>(buffer.size());
    const DWORD n = fill(buffer.data(), size);
    if (n == 0) return std::nullopt;
    if (2 * n < size) return std::basic_string<Char>(buffer.c_str());
    buffer.resize(2 * static_cast<size_t>(n) + 2);
  }
}

// On the 98 family the variable is looked up in the environment block, which also serves Wine
// right (its GetEnvironmentVariableA cuts a double-byte value short).
std::optional<std::string> VariableOf98(const std::string& name) {
  char* block = GetEnvironmentStrings();
  if (!block) return std::nullopt;
  const std::string ansiName = win32::Ansi(name);
  std::optional<std::string> value;
  for (const char* entry = block; *entry && !value; entry += std::strlen(entry) + 1) {
    const char* equals = std::strchr(entry + 1, '=');  // a drive's own entry starts with "="
    if (equals && EqualsIgnoringAsciiCase(std::string_view(entry, equals - entry), ansiName))
      value = win32::FromAnsi(equals + 1);
  }
  FreeEnvironmentStringsA(block);
  return value;
}

}  // namespace

std::optional<std::string> Win32Environment::Variable(const std::string& name) const {
  if (!win32::IsNtFamily()) return VariableOf98(name);
  const std::wstring wideName = Wide(name);
  SetLastError(ERROR_SUCCESS);
  auto value = FilledText<wchar_t>(
      [&](wchar_t* buffer, DWORD size) { return win32::Nt().GetEnvironmentVariableW(wideName.c_str(), buffer, size); });
  if (value) return Narrow(*value);
  if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
  return std::string();  // set, but empty
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
  const bool nt = win32::IsNtFamily();
  const std::wstring widePath = Wide(path);
  const std::string ansiPath = win32::Ansi(path);
  DWORD ignored = 0;
  DWORD size = nt ? win32::Nt().GetFileVersionInfoSizeW(widePath.c_str(), &ignored)
                  : GetFileVersionInfoSizeA(ansiPath.c_str(), &ignored);
  if (size == 0) return std::nullopt;
  std::vector<BYTE> block(size);
  if (!(nt ? win32::Nt().GetFileVersionInfoW(widePath.c_str(), 0, size, block.data())
           : GetFileVersionInfoA(ansiPath.c_str(), 0, size, block.data())))
    return std::nullopt;
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT fixedSize = 0;
  auto root = reinterpret_cast<void**>(&fixed);
  if (!(nt ? win32::Nt().VerQueryValueW(block.data(), L"\\", root, &fixedSize)
           : VerQueryValueA(block.data(), "\\", root, &fixedSize)) ||
      !fixed || fixedSize < sizeof(VS_FIXEDFILEINFO))
    return std::nullopt;
  return FileVersion{HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS), HIWORD(fixed->dwFileVersionLS),
                     LOWORD(fixed->dwFileVersionLS)};
}

bool Win32Environment::PathSearchFinds(const std::string& fullPath) const {
  char found[MAX_PATH];
  char* filePart = nullptr;
  return SearchPathA(nullptr, Utf8ToCp932(fullPath).c_str(), nullptr, MAX_PATH, found, &filePart) != 0;
}

namespace {

struct SpecialFolderName {
  const char* name;  // the scripting shell's
  int csidl;
  const char* shellFolder;  // its value in the registry's Shell Folders
  bool allUsers;            // of the machine (HKLM) rather than the user
};

// The scripting shell's special folder names.
constexpr SpecialFolderName kFolders[] = {
    {"AllUsersDesktop", CSIDL_COMMON_DESKTOPDIRECTORY, "Common Desktop", true},
    {"AllUsersStartMenu", CSIDL_COMMON_STARTMENU, "Common Start Menu", true},
    {"AllUsersPrograms", CSIDL_COMMON_PROGRAMS, "Common Programs", true},
    {"AllUsersStartup", CSIDL_COMMON_STARTUP, "Common Startup", true},
    {"Desktop", CSIDL_DESKTOPDIRECTORY, "Desktop", false},
    {"Favorites", CSIDL_FAVORITES, "Favorites", false},
    {"Fonts", CSIDL_FONTS, "Fonts", false},
    {"MyDocuments", CSIDL_PERSONAL, "Personal", false},
    {"NetHood", CSIDL_NETHOOD, "NetHood", false},
    {"PrintHood", CSIDL_PRINTHOOD, "PrintHood", false},
    {"Programs", CSIDL_PROGRAMS, "Programs", false},
    {"Recent", CSIDL_RECENT, "Recent", false},
    {"SendTo", CSIDL_SENDTO, "SendTo", false},
    {"StartMenu", CSIDL_STARTMENU, "Start Menu", false},
    {"Startup", CSIDL_STARTUP, "Startup", false},
    {"Templates", CSIDL_TEMPLATES, "Templates", false},
};

// The 98 family: the shell's answer, or where it has none (a folder of all users on a system
// without user profiles) the one the registry's Shell Folders keep.
std::string SpecialFolderOf98(const SpecialFolderName& folder) {
  char path[MAX_PATH] = {};
  if (SHGetSpecialFolderPathA(nullptr, path, folder.csidl, FALSE)) return win32::FromAnsi(path);
  HKEY key = nullptr;
  if (RegOpenKeyExA(folder.allUsers ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER,
                    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", 0, KEY_QUERY_VALUE,
                    &key) != ERROR_SUCCESS)
    return {};
  DWORD type = 0, size = sizeof path - 1;
  const LONG rc = RegQueryValueExA(key, folder.shellFolder, nullptr, &type, reinterpret_cast<BYTE*>(path), &size);
  RegCloseKey(key);
  if (rc != ERROR_SUCCESS || type != REG_SZ) return {};
  path[std::min<DWORD>(size, sizeof path - 1)] = '\0';
  return win32::FromAnsi(path);
}

}  // namespace

std::string Win32Environment::SpecialFolder(const std::string& name) const {
  for (const SpecialFolderName& folder : kFolders) {
    if (!EqualsIgnoringAsciiCase(folder.name, name)) continue;
    if (!win32::IsNtFamily()) return SpecialFolderOf98(folder);
    wchar_t path[MAX_PATH];
    if (win32::Nt().SHGetFolderPathW(nullptr, folder.csidl, nullptr, SHGFP_TYPE_CURRENT, path) != S_OK) return {};
    return NarrowZ(path);
  }
  return {};
}

std::string Win32Environment::ProgramFolder() const {
  std::optional<std::string> path;
  if (win32::IsNtFamily()) {
    if (auto text = FilledText<wchar_t>(
            [](wchar_t* buffer, DWORD size) { return win32::Nt().GetModuleFileNameW(nullptr, buffer, size); }))
      path = Narrow(*text);
  } else {
    if (auto text = FilledText<char>([](char* buffer, DWORD size) { return GetModuleFileNameA(nullptr, buffer, size); }))
      path = win32::FromAnsi(text->c_str());
  }
  return path ? path->substr(0, path->find_last_of('\\')) : std::string();
}

}  // namespace vorn
