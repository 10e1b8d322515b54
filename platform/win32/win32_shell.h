#pragma once
#include "platform/shell.h"

namespace vorn {

class Win32Shell : public Shell {
 public:
  // unattended: no progress window, no questions (existing files are replaced), no error boxes.
  explicit Win32Shell(bool unattended = false) : unattended_(unattended) {}
  int FileTransfer(WindowHandle owner, const std::string& destinationFolder, const std::string& source) override;

 private:
  bool unattended_;
};

}  // namespace vorn
