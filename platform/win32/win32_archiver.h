#pragma once
// The archiver library "unlha32.dll", loaded by name at the first call.
#include "platform/archiver.h"

namespace vorn {

class Win32Archiver : public Archiver {
 public:
  // Result when the library or its entry cannot be loaded.
  static constexpr int32_t kLibraryMissing = 0x8010;

  ~Win32Archiver() override;
  int32_t Unlha(WindowHandle window, const std::string& commandLine, std::string* output,
                uint32_t outputSize) override;

 private:
  void* library_ = nullptr;
  void* entry_ = nullptr;
};

}  // namespace vorn
