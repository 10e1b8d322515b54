#include "restore/address_book_restore.h"

#include "platform/text.h"
#include "restore/safety_copy.h"
#include "set/set_layout.h"

namespace vorn {
namespace {

constexpr const char* kWabFileKey = "Software\\Microsoft\\WAB\\WAB4\\Wab File Name";
constexpr const char* kQuestion = "アドレス帳をインポートしますか？\u3000\u3000\u3000";

// Files the shell puts into folders it shows, which no backup wrote.
bool IsShellFile(const DirEntry& entry) {
  return (entry.attributes & (fileattr::kHidden | fileattr::kSystem)) || EqualsIgnoringAsciiCase(entry.name, "Thumbs.db") ||
         EqualsIgnoringAsciiCase(entry.name, "desktop.ini");
}

}  // namespace

void ReWab(RestoreContext& run) {
  FileSystem& files = run.files();
  const std::string setWab = SetLayout(run.state.restoreFolder).WabFolder();
  std::vector<std::string> names;
  for (const auto& entry : files.List(setWab, "*"))
    if (!entry.isDirectory && !IsShellFile(entry)) names.push_back(entry.name);
  if (names.empty()) return;
  // A set holds one address book file; with more it is not clear which one is meant.
  if (names.size() > 1) {
    run.report.failures.push_back("セットの Wab フォルダにファイルが " + std::to_string(names.size()) +
                                  " 個あるため、アドレス帳を復元しませんでした");
    return;
  }
  const std::string& name = names.front();
  if (run.Show({kQuestion, "アドレス帳の復元", MsgIcon::Question, MsgButtons::YesNo, 0, true}) != MsgAnswer::Yes) return;

  const std::string current = run.app.reg.RegReadText(RegRoot::CurrentUser, kWabFileKey, "");
  const size_t slash = current.rfind('\\');
  if (slash == std::string::npos) {
    run.report.failures.push_back("アドレス帳の場所がレジストリにありません");
    return;
  }
  std::optional<std::string> safety;
  if (files.Exists(current)) {
    safety = MoveToSafetyName(files, current);
    if (!safety) {
      run.report.failures.push_back(current + " を退避できないため、アドレス帳を復元しませんでした");
      return;
    }
  }
  // The set's file is copied under the current file's name, so the registry keeps pointing at
  // it; the set itself is not renamed.
  const std::string setFile = setWab + "\\" + name;
  files.CopyFile(setFile, current, false);
  const auto restored = files.FileSize(current);
  if (restored && restored == files.FileSize(setFile)) return;
  files.DeleteFile(current);
  if (safety) files.MoveFile(*safety, current);
  run.report.failures.push_back(current + " にアドレス帳を復元できませんでした");
}

}  // namespace vorn
