#pragma once
// The restore rewrites a set's files only through a complete new copy.
#include <string>

#include "platform/file_system.h"

namespace vorn {

// Writes bytes to a new file beside path, then puts it in path's place; on any failure path
// keeps its old content and the new file is gone. A read-only file is not replaced.
bool ReplaceFileContent(FileSystem& files, const std::string& path, const std::string& bytes);

}  // namespace vorn
