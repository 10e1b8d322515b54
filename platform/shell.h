#pragma once
#include <string>

#include "platform/window_handle.h"

namespace vorn {

class Shell {
 public:
  virtual ~Shell() = default;
  // Copies a file, a folder with its content or every file matching a wildcard pattern
  // into destinationFolder, as the shell's file operation does; returns its result code (0 = done).
  virtual int FileTransfer(WindowHandle owner, const std::string& destinationFolder, const std::string& source) = 0;
};

}  // namespace vorn
