#pragma once
// Whole-path folder creation and removal over the file system service: creation as the
// system's MakeSureDirectoryPathExists does it.
#include <string>

#include "platform/file_system.h"

namespace vorn {

// Creates every missing folder along path; the last one only when path ends with a backslash
// (so a file's path creates the folders it needs). A drive ("C:\") or a share
// ("\\server\share\") is never created. True when every folder up to the last backslash exists.
bool CreateFolderPath(FileSystem& files, const std::string& path);

// Deletes a folder with everything in it, read-only files included, going on past what cannot
// go. A link inside is removed as a link: what it points at is not the folder's. False when
// anything stays.
bool DeleteTree(FileSystem& files, const std::string& folder);

}  // namespace vorn
