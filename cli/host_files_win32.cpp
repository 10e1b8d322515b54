#ifdef _WIN32
#include <windows.h>
// windows.h first
#include <shellapi.h>

#include "cli/host_files.h"
#include "platform/codepage.h"
#include "platform/win32/win32_file_system.h"

namespace vorn::cli {

std::unique_ptr<FileSystem> OpenHostFiles() { return std::make_unique<Win32FileSystem>(); }

std::string HostToProgramPath(const std::string& argument) {
  std::u16string wide = Utf8ToUtf16(argument);
  wchar_t full[32768];
  DWORD n = GetFullPathNameW(reinterpret_cast<const wchar_t*>(wide.c_str()), 32768, full, nullptr);
  if (n == 0 || n >= 32768) return argument;
  std::string path = Utf16ToUtf8(std::u16string(reinterpret_cast<const char16_t*>(full), n));
  while (path.size() > 3 && path.back() == '\\') path.pop_back();
  return path;
}

std::vector<std::string> Utf8Arguments(int, char**) {
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> args;
  for (int i = 1; i < count; ++i) args.push_back(Utf16ToUtf8(reinterpret_cast<const char16_t*>(wide[i])));
  LocalFree(wide);
  return args;
}

}  // namespace vorn::cli
#endif
