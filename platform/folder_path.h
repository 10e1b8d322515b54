#pragma once
// Whole-path folder creation and removal over the file system service: creation as the
// system's MakeSureDirectoryPathExists does it, and for folders to be written in, only through
// real folders.
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace vorn {

// Creates every missing folder along path; the last one only when path ends with a backslash
// (so a file's path creates the folders it needs). A drive ("C:\") or a share
// ("\\server\share\") is never created. True when every folder up to the last backslash exists.
bool CreateFolderPath(FileSystem& files, const std::string& path);

// Creates one folder, ignoring a trailing backslash and every failure.
void CreateOneFolder(FileSystem& files, const std::string& path);

// A name that would not name a folder of its own below its parent: empty, or only dots and blanks
// ("." is the folder itself, ".." its parent, and Windows drops trailing dots and blanks), becomes
// "_" for each of its characters (at least one); any other name is returned as it is.
std::string FolderNameOfItsOwn(const std::string& name);

// The folders of the folder path `path` from `from` on, each by its path ("C:\a", "C:\a\b"); a
// trailing backslash is ignored. `from` is `path` or a folder above it (compared without regard
// to ASCII case); when it is empty or neither, every folder after the drive or share.
std::vector<std::string> FoldersAlong(const std::string& path, const std::string& from);

struct RealFolder {
  bool ready = false;  // the folder is there, and every folder from `from` on is a real one
  std::string link;    // the link or junction that stopped it; empty when none did
};
// The folder made ready to be written in, the missing ones along it created: every folder from
// `from` on (see FileSystem::FirstLinkAlong), found or made, must be a real folder; below a link
// nothing is created. The folders above `from` are the caller's and may be links.
RealFolder CreateRealFolderPath(FileSystem& files, const std::string& folder, const std::string& from);

// Deletes a folder with everything in it, read-only files included, going on past what cannot
// go. A link inside is removed as a link: what it points at is not the folder's. A folder that is
// itself a link is refused: nothing is listed or deleted through it. False when anything stays.
bool DeleteTree(FileSystem& files, const std::string& folder);

}  // namespace vorn
