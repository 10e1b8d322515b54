#include "platform/win32/win32_archiver.h"

#include <vector>

#include "platform/codepage.h"

namespace vorn {

int32_t Win32Archiver::Unlha(WindowHandle window, const std::string& commandLine, std::string* output,
                             uint32_t outputSize) {
  if (!entry_) {
    // The system's library search decides where the library comes from.
    if (!library_) library_ = win32::Module(LoadLibraryA("unlha32.dll"));
    if (library_) entry_ = reinterpret_cast<UnlhaEntry>(reinterpret_cast<void*>(GetProcAddress(library_.get(), "Unlha")));
    if (!entry_) return kLibraryMissing;
  }
  std::vector<char> buffer(outputSize + 1, '\0');
  const std::string line = Utf8ToCp932(commandLine);
  int result = entry_(reinterpret_cast<HWND>(window), line.c_str(), outputSize ? buffer.data() : nullptr, outputSize);
  if (output) *output = Cp932ToUtf8(buffer.data());
  return result;
}

}  // namespace vorn
