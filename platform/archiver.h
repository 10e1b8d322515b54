#pragma once
#include <cstdint>
#include <string>

#include "platform/window_handle.h"

namespace vorn {

// The LHA archiver library's one entry: a command line in its syntax; 0 = success.
// output receives at most outputSize - 1 characters of the archiver's messages when not null.
class Archiver {
 public:
  virtual ~Archiver() = default;
  virtual int32_t Unlha(WindowHandle window, const std::string& commandLine, std::string* output,
                        uint32_t outputSize) = 0;
};

}  // namespace vorn
