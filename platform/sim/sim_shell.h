#pragma once
#include <vector>

#include "platform/file_system.h"
#include "platform/shell.h"

namespace vorn {

// The shell's copy over the simulated file system, answering Yes to every question it would
// ask (replacing files); each request is recorded.
class SimShell : public Shell {
 public:
  explicit SimShell(FileSystem& files) : files_(files) {}
  int FileTransfer(WindowHandle owner, const std::string& destinationFolder, const std::string& source) override;

  struct Transfer {
    std::string destinationFolder;
    std::string source;
    bool operator==(const Transfer&) const = default;
  };
  std::vector<Transfer> transfers;

 private:
  FileSystem& files_;
};

}  // namespace vorn
