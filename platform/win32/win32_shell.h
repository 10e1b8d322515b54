#pragma once
#include "platform/shell.h"

namespace vorn {

class Win32Shell : public Shell {
 public:
  int FileTransfer(WindowHandle owner, const std::string& destinationFolder, const std::string& source) override;
};

}  // namespace vorn
