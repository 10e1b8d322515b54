#include "restore/address_book_restore.h"

#include "restore/safety_copy.h"

namespace vorn {
namespace {

constexpr const char* kWabFileKey = "Software\\Microsoft\\WAB\\WAB4\\Wab File Name";
constexpr const char* kQuestion = "アドレス帳をインポートしますか？\u3000\u3000\u3000";

}  // namespace

void ReWab(RestoreContext& run) {
  FileSystem& files = run.files();
  const std::string setWab = run.state.restoreFolder + "\\Wab";
  std::string name;
  for (const auto& entry : files.List(setWab, "*"))
    if (!entry.isDirectory) name += entry.name;
  if (name.empty() || !files.Exists(setWab + "\\" + name)) return;
  if (run.Show(kQuestion, "アドレス帳の復元", MsgIcon::Question, MsgButtons::YesNo, 0, true) != MsgAnswer::Yes) return;

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
