#pragma once
// The machine's own file system as the program sees it, and command-line paths turned into its paths.
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace vorn::cli {

std::unique_ptr<FileSystem> OpenHostFiles();
std::string HostToProgramPath(const std::string& argument);
// The program's standard output and error.
std::ostream& StandardOutput();
std::ostream& StandardError();
// The command-line arguments in UTF-8, program name excluded.
std::vector<std::string> Utf8Arguments(int argc, char** argv);

}  // namespace vorn::cli
