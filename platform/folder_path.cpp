#include "platform/folder_path.h"

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

bool DeleteTree(FileSystem& files, const std::string& folder) {
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
