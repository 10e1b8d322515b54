#pragma once
// vorn-cli: `vorn-cli <area> <command> ...`; each area is one file and one line in main.cpp's table.
#include <iosfwd>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace vorn::cli {

struct Context {
  FileSystem& files;
  std::ostream& out;
  std::ostream& err;
  // The program's Windows path for a path given on the command line (relative to the current folder).
  std::string (*programPath)(const std::string& argument);
};

// Runs one area's command (args: the command and its arguments); returns the exit status.
using AreaEntry = int (*)(Context& context, const std::vector<std::string>& args);

}  // namespace vorn::cli
