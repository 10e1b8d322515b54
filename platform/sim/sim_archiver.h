#pragma once
// The archiver library's command processor run directly over a file system.
#include "platform/archiver.h"
#include "platform/file_system.h"
#include "lha/unlha.h"

namespace vorn {

class SimArchiver : public Archiver {
 public:
  explicit SimArchiver(FileSystem& files, unlha::ProgressHook progress = {})
      : files_(files), progress_(std::move(progress)) {}
  int32_t Unlha(WindowHandle window, const std::string& commandLine, std::string* output,
                uint32_t outputSize) override;

 private:
  FileSystem& files_;
  unlha::ProgressHook progress_;
};

}  // namespace vorn
