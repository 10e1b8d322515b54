#pragma once
// Whole-path folder creation over the file system service, as the system's
// MakeSureDirectoryPathExists does it.
#include <string>

#include "platform/file_system.h"

namespace vorn {

// Creates every missing folder along path; the last one only when path ends with a backslash
// (so a file's path creates the folders it needs). A drive ("C:\") or a share
// ("\\server\share\") is never created. True when every folder up to the last backslash exists.
bool CreateFolderPath(FileSystem& files, const std::string& path);

}  // namespace vorn
