#include "restore/leftover_folders.h"

#include <algorithm>

namespace vorn {
namespace {

constexpr const char* kHoldingTag = "~vorn-old";
constexpr const char* kStagingTag = "~vorn-new";

// Our folders are named the Store Root's name, the tag and a number.
bool NumberedAfter(const std::string& name, size_t prefix) {
  return name.size() > prefix &&
         std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix), name.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

std::vector<LeftoverFolder> FindLeftoverFolders(const FileSystem& files, const std::string& storeRoot) {
  std::vector<LeftoverFolder> found;
  const size_t slash = storeRoot.rfind('\\');
  if (storeRoot.empty() || slash == std::string::npos) return found;
  const std::string parent = storeRoot.substr(0, slash);
  const std::string name = storeRoot.substr(slash + 1);
  for (const char* tag : {kHoldingTag, kStagingTag}) {
    for (const auto& entry : files.List(parent, name + tag + "*")) {
      if (!entry.isDirectory || !NumberedAfter(entry.name, name.size() + std::string(tag).size())) continue;
      LeftoverFolder folder{parent + "\\" + entry.name, tag == kHoldingTag, 0, 0};
      for (const auto& file : files.List(folder.path, "*")) {
        if (file.isDirectory) continue;
        ++folder.files;
        folder.bytes += file.size;
      }
      found.push_back(folder);
    }
  }
  return found;
}

std::string LeftoverFoldersText(const std::vector<LeftoverFolder>& folders) {
  std::string text = "前回のリストアが途中で終わったため、次のフォルダが残っています。\r\n"
                     "Vorn はこれらのフォルダを削除しません。中身を確かめてから扱ってください。";
  for (const auto& folder : folders) {
    text += "\r\n\r\n" + folder.path + "\r\n";
    text += folder.formerMail ? "リストア前のメールデータ: " : "リストアするはずだったメールデータ: ";
    text += std::to_string(folder.files) + " 個のファイル (" + std::to_string(folder.bytes) + " バイト)";
  }
  return text;
}

}  // namespace vorn
