#pragma once
// The archiver library "unlha32.dll", loaded by name at the first call and freed with the object.
#include "platform/archiver.h"
#include "platform/win32/win32_handles.h"

namespace vorn {

class Win32Archiver : public Archiver {
 public:
  // Result when the library or its entry cannot be loaded.
  static constexpr int32_t kLibraryMissing = 0x8010;

  int32_t Unlha(WindowHandle window, const std::string& commandLine, std::string* output,
                uint32_t outputSize) override;

 private:
  using UnlhaEntry = int(WINAPI*)(HWND, LPCSTR, LPSTR, DWORD);

  win32::Module library_;
  UnlhaEntry entry_ = nullptr;
};

}  // namespace vorn
