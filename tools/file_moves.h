#pragma once
// Moving files and folders also where a rename cannot go, to another drive, without ever losing
// the original before its copy is complete.
#include <string>

#include "platform/file_system.h"
#include "platform/folder_path.h"

namespace vorn {

// Path texts compared as Windows compares them: ASCII letters without regard to case, a
// trailing backslash ignored.
bool SamePath(const std::string& a, const std::string& b);
// True when `path` is `folder` or lies below it.
bool PathIsWithin(const std::string& path, const std::string& folder);

// `path` itself when nothing is there, else path + "2", path + "3", ... (for names of our own).
std::string UnusedPath(const FileSystem& files, const std::string& path);
// The name itself when it is free in `folder`, else "name (2).ext", "name (3).ext", ... ("name (2)"
// for a folder).
std::string FreeName(const FileSystem& files, const std::string& folder, const std::string& name, bool isFolder);

bool SameContent(const FileSystem& files, const std::string& a, const std::string& b);
// Copies a file to a name that must be free and checks the copy byte for byte; a copy that is
// not identical is removed again.
FsResult CopyFileVerified(FileSystem& files, const std::string& from, const std::string& to);
// Copies a folder with everything below it to a path that must be free, each file checked; on a
// failure everything copied is removed again. Links are refused: they would be followed.
FsResult CopyTreeVerified(FileSystem& files, const std::string& from, const std::string& to);
// Removes a file even when it is read-only.
FsResult DeleteFileForced(FileSystem& files, const std::string& path);

}  // namespace vorn
