#include "tools/temp_file_cleanup.h"

#include <optional>

namespace vorn {
namespace {

const char* const kShellFoldersKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char* const kTitle = "一時ファイルの削除";

bool IsLink(const DirEntry& entry) { return entry.attributes & fileattr::kReparsePoint; }

std::string DeletedText(int deleted) { return std::to_string(deleted) + " 個のファイルを削除しました。"; }

}  // namespace

int DeleteEmptyTemporaryFiles(RunContext& c) {
  int deleted = 0;
  const std::string cacheValue = c.app.reg.RegReadText(RegRoot::CurrentUser, kShellFoldersKey, "Cache");
  if (!cacheValue.empty()) {
    const std::string cache = cacheValue + "\\Content.IE5";
    // Through a linked folder the files listed would be another folder's.
    if (const std::string link = c.files().FirstLinkAlong(cache, ""); !link.empty()) {
      c.Show({DeletedText(0) + "\r\n一時ファイルのフォルダの途中にリンク (ジャンクション) があるため、削除しませんでした。\r\n" +
                  link,
              kTitle, MsgIcon::Warning});
      return 0;
    }
    std::optional<RunGuard> waiting;  // the hourglass from the first folder on
    for (const auto& folder : c.files().List(cache, "*")) {
      if (!folder.isDirectory || IsLink(folder)) continue;
      if (!waiting) waiting.emplace(c.app.runState);
      const std::string path = cache + "\\" + folder.name;
      for (const auto& file : c.files().List(path, "*")) {
        if (file.isDirectory || IsLink(file) || file.size != 0) continue;
        if (c.files().DeleteFile(path + "\\" + file.name) == FsResult::Ok) ++deleted;
      }
    }
  }
  c.Show({DeletedText(deleted), kTitle, MsgIcon::Information});
  return deleted;
}

}  // namespace vorn
