#ifdef _WIN32
#include "platform/win32/windows_api.h"

#include <ostream>
#include <streambuf>

#include "cli/host_files.h"
#include "platform/win32/family_functions.h"
#include "platform/win32/win32_file_system.h"

namespace vorn::cli {
namespace {

// Standard output or error, written with WriteFile: the C++ library's streams on the runtime's
// files need a function the 98 family's runtime lacks (_fstat64). Line ends become CR LF, as the
// runtime's text mode writes them.
class StandardHandleBuffer : public std::streambuf {
 public:
  explicit StandardHandleBuffer(DWORD which) : which_(which) {}

 protected:
  int overflow(int c) override {
    if (c == traits_type::eof()) return 0;
    const char character = static_cast<char>(c);
    return Put(&character, 1) ? c : traits_type::eof();
  }
  std::streamsize xsputn(const char* data, std::streamsize size) override { return Put(data, size) ? size : 0; }

 private:
  bool Put(const char* data, std::streamsize size) {
    std::string text;
    for (std::streamsize i = 0; i < size; ++i) data[i] == '\n' ? text += "\r\n" : text += data[i];
    DWORD written = 0;
    return WriteFile(GetStdHandle(which_), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
           written == text.size();
  }

  DWORD which_;
};

}  // namespace

std::unique_ptr<FileSystem> OpenHostFiles() { return std::make_unique<Win32FileSystem>(); }

std::ostream& StandardOutput() {
  static StandardHandleBuffer buffer(STD_OUTPUT_HANDLE);
  static std::ostream stream(&buffer);
  return stream;
}

std::ostream& StandardError() {
  static StandardHandleBuffer buffer(STD_ERROR_HANDLE);
  static std::ostream stream(&buffer);
  return stream;
}

std::string HostToProgramPath(const std::string& argument) {
  std::string path;
  if (win32::IsNtFamily()) {
    std::wstring full(32768, L'\0');
    const DWORD n = win32::Nt().GetFullPathNameW(Wide(argument).c_str(), 32768, full.data(), nullptr);
    if (n == 0 || n >= 32768) return argument;
    path = Narrow(full.substr(0, n));
  } else {
    char full[MAX_PATH];
    const DWORD n = GetFullPathNameA(win32::Ansi(argument).c_str(), MAX_PATH, full, nullptr);
    if (n == 0 || n >= MAX_PATH) return argument;
    path = win32::FromAnsi(full);
  }
  while (path.size() > 3 && path.back() == '\\') path.pop_back();
  return path;
}

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
  std::vector<std::string> args;
  if (!win32::IsNtFamily()) {  // the runtime's arguments, in code page 932
    for (int i = 1; i < argc; ++i) args.push_back(win32::FromAnsi(argv[i]));
    return args;
  }
  int count = 0;
  wchar_t** wide = win32::Nt().CommandLineToArgvW(GetCommandLineW(), &count);
  for (int i = 1; i < count; ++i) args.push_back(Narrow(wide[i]));
  LocalFree(wide);
  return args;
}

}  // namespace vorn::cli
#endif
