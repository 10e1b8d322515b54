#pragma once
// A file read whole through the file system service.
#include <cstddef>
#include <limits>
#include <optional>
#include <string>

#include "platform/file_system.h"

namespace vorn {

// The file's bytes; nullopt when it cannot be opened or a read fails. Reading stops once at
// least limit bytes are in (a caller that needs only a file's head sets it).
std::optional<std::string> ReadWholeFile(const FileSystem& files, const std::string& path,
                                         size_t limit = std::numeric_limits<size_t>::max());

}  // namespace vorn
