#include "platform/folder_path.h"

#include <algorithm>

#include "platform/text.h"

namespace vorn {
namespace {

// Where the folders of a path begin: after "C:\" or after "\\server\share\".
size_t FirstFolderStart(const std::string& path) {
  if (path.rfind("\\\\", 0) == 0) {
    size_t server = path.find('\\', 2);
    size_t share = server == std::string::npos ? std::string::npos : path.find('\\', server + 1);
    return share == std::string::npos ? path.size() : share + 1;
  }
  if (path.size() >= 3 && path[1] == ':' && path[2] == '\\') return 3;
  return path.rfind('\\', 0) == 0 ? 1 : 0;
}

std::string WithoutTrailingBackslash(const std::string& path) {
  return !path.empty() && path.back() == '\\' ? path.substr(0, path.size() - 1) : path;
}

}  // namespace

bool CreateFolderPath(FileSystem& files, const std::string& path) {
  const size_t start = FirstFolderStart(path);
  for (size_t at = path.find('\\', start); at != std::string::npos; at = path.find('\\', at + 1)) {
    const std::string folder = path.substr(0, at);
    if (!folder.empty() && !files.IsDirectory(folder)) files.CreateDirectory(folder);
  }
  const size_t last = path.rfind('\\');
  return last == std::string::npos || last < start || files.IsDirectory(path.substr(0, last));
}

void CreateOneFolder(FileSystem& files, const std::string& path) {
  const std::string folder = WithoutTrailingBackslash(path);
  if (!folder.empty() && !files.IsDirectory(folder)) files.CreateDirectory(folder);
}

std::string FolderNameOfItsOwn(const std::string& name) {
  if (name.find_first_not_of(". ") != std::string::npos) return name;
  return std::string(std::max<size_t>(name.size(), 1), '_');
}

std::vector<std::string> FoldersAlong(const std::string& path, const std::string& from) {
  std::string folder = path;
  const size_t start = FirstFolderStart(folder);
  while (folder.size() > start && folder.back() == '\\') folder.pop_back();
  std::string top = from;
  while (top.size() > start && top.back() == '\\') top.pop_back();
  const bool above = top.size() > start && top.size() <= folder.size() &&
                     EqualsIgnoringAsciiCase(folder.substr(0, top.size()), top) &&
                     (top.size() == folder.size() || folder[top.size()] == '\\');
  std::vector<std::string> folders;
  for (size_t end = above ? top.size() : start + 1; end <= folder.size(); ++end) {
    if ((end == folder.size() || folder[end] == '\\') && folder[end - 1] != '\\') folders.push_back(folder.substr(0, end));
  }
  return folders;
}

RealFolder CreateRealFolderPath(FileSystem& files, const std::string& folder, const std::string& from) {
  RealFolder result;
  if (!(result.link = files.FirstLinkAlong(folder, from)).empty()) return result;
  CreateFolderPath(files, folder + "\\");
  // Looked at again: what was made is what is there now.
  result.link = files.FirstLinkAlong(folder, from);
  result.ready = result.link.empty() && files.IsDirectory(folder);
  return result;
}

bool DeleteTree(FileSystem& files, const std::string& folder) {
  const auto attributes = files.Attributes(folder);
  if (attributes && (*attributes & fileattr::kReparsePoint)) return false;
  bool all = true;
  for (const auto& entry : files.List(folder, "*")) {
    const std::string path = folder + "\\" + entry.name;
    const bool link = entry.attributes & fileattr::kReparsePoint;
    if (entry.isDirectory) {
      all = (link ? files.RemoveDirectory(path) == FsResult::Ok : DeleteTree(files, path)) && all;
      continue;
    }
    if (entry.attributes & fileattr::kReadOnly) files.SetAttributes(path, entry.attributes & ~fileattr::kReadOnly);
    all = files.DeleteFile(path) == FsResult::Ok && all;
  }
  return files.RemoveDirectory(folder) == FsResult::Ok && all;
}

}  // namespace vorn
