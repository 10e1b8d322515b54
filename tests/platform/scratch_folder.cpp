#include "tests/platform/scratch_folder.h"

#include "platform/whole_file.h"

namespace vorn {
namespace {

void AddTree(const FileSystem& files, const std::string& folder, const std::string& prefix,
             std::map<std::string, std::string>& tree) {
  for (const auto& entry : files.List(folder, "*")) {
    const std::string path = folder + "\\" + entry.name;
    if (entry.isDirectory) {
      tree[prefix + entry.name] = "<folder>";
      AddTree(files, path, prefix + entry.name + "\\", tree);
    } else {
      tree[prefix + entry.name] = ReadWholeFile(files, path).value_or("<unreadable>");
    }
  }
}

// Links go first, while their targets still exist: Wine cannot see a link to nothing.
void RemoveLinks(FileSystem& files, const std::string& folder, const std::function<void(const std::string&)>& removeLink) {
  for (const auto& entry : files.List(folder, "*")) {
    const std::string path = folder + "\\" + entry.name;
    if (entry.attributes & fileattr::kReparsePoint) removeLink(path);
    else if (entry.isDirectory) RemoveLinks(files, path, removeLink);
  }
}

}  // namespace

void RemoveTree(FileSystem& files, const std::string& folder,
                const std::function<void(const std::string&)>& removeLink) {
  if (removeLink) RemoveLinks(files, folder, removeLink);
  for (const auto& entry : files.List(folder, "*")) {
    std::string path = folder + "\\" + entry.name;
    if (entry.isDirectory) {
      RemoveTree(files, path);
    } else {
      files.SetAttributes(path, fileattr::kNormal);
      files.DeleteFile(path);
    }
  }
  files.RemoveDirectory(folder);
}

std::map<std::string, std::string> Tree(const FileSystem& files, const std::string& folder) {
  std::map<std::string, std::string> tree;
  AddTree(files, folder, "", tree);
  return tree;
}

}  // namespace vorn
