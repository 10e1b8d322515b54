#include "tools/temp_file_cleanup.h"

#include <optional>

namespace vorn {
namespace {

const char* const kShellFoldersKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

bool IsLink(const DirEntry& entry) { return entry.attributes & fileattr::kReparsePoint; }

}  // namespace

int DeleteEmptyTemporaryFiles(MaintenanceContext& c) {
  int deleted = 0;
  const std::string cacheValue = c.reg.RegReadText(RegRoot::CurrentUser, kShellFoldersKey, "Cache");
  if (!cacheValue.empty()) {
    const std::string cache = cacheValue + "\\Content.IE5";
    std::optional<RunGuard> waiting;  // the hourglass from the first folder on
    for (const auto& folder : c.files.List(cache, "*")) {
      if (!folder.isDirectory || IsLink(folder)) continue;
      if (!waiting) waiting.emplace(c.runState);
      const std::string path = cache + "\\" + folder.name;
      for (const auto& file : c.files.List(path, "*")) {
        if (file.isDirectory || IsLink(file) || file.size != 0) continue;
        if (c.files.DeleteFile(path + "\\" + file.name) == FsResult::Ok) ++deleted;
      }
    }
  }
  c.Show({std::to_string(deleted) + " 個のファイルを削除しました。", "一時ファイルの削除", MsgIcon::Information});
  return deleted;
}

}  // namespace vorn
