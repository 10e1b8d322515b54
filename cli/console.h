#pragma once
// Text and files at the command line's edge: arguments and output in the console's code page,
// host paths turned into the Windows paths the program's code works with.
#include <memory>
#include <string>

#include "platform/file_system.h"

namespace vorn::cli {

// A command-line argument as UTF-8.
std::string ArgumentText(const char* argument);
// Prints a UTF-8 line to standard output or standard error.
void PrintLine(const std::string& utf8);
void PrintError(const std::string& utf8);

// The local file system, and the path the program's code uses for a path given on the command line.
class HostFiles {
 public:
  HostFiles();
  ~HostFiles();
  FileSystem& files() { return *files_; }
  std::string ProgramPath(const std::string& argument) const;

 private:
  std::string root_;
  std::unique_ptr<FileSystem> files_;
};

}  // namespace vorn::cli
