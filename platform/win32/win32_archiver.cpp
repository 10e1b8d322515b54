#include "platform/win32/win32_archiver.h"

#include <vector>

#include "platform/codepage.h"
#include "platform/win32/windows_api.h"

namespace vorn {
namespace {

using UnlhaEntry = int(WINAPI*)(HWND, LPCSTR, LPSTR, DWORD);

}  // namespace

Win32Archiver::~Win32Archiver() {
  if (library_) FreeLibrary(static_cast<HMODULE>(library_));
}

int32_t Win32Archiver::Unlha(WindowHandle window, const std::string& commandLine, std::string* output,
                             uint32_t outputSize) {
  if (!entry_) {
    // The system's library search decides where the library comes from.
    if (!library_) library_ = LoadLibraryA("unlha32.dll");
    if (library_) entry_ = reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library_), "Unlha"));
    if (!entry_) return kLibraryMissing;
  }
  std::vector<char> buffer(outputSize + 1, '\0');
  const std::string line = Utf8ToCp932(commandLine);
  int result = reinterpret_cast<UnlhaEntry>(entry_)(reinterpret_cast<HWND>(window), line.c_str(),
                                                    outputSize ? buffer.data() : nullptr, outputSize);
  if (output) *output = Cp932ToUtf8(buffer.data());
  return result;
}

}  // namespace vorn
