#include "restore/favorites_restore.h"

#include "core/environment_discovery.h"
#include "restore/favorites_import.h"
#include "restore/staged_replace.h"
#include "set/set_layout.h"

namespace vorn {
namespace {

constexpr const char* kShellFoldersKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
constexpr const char* kUserProfilePrefix = "%USERPROFILE%";
constexpr const char* kQuestion =
    "お気に入りファイルを復元します。既存のお気に入りファイルを削除しますか？\r\n\r\n"
    "             はい：削除して復元  いいえ：上書きで復元";

// Every file below source has a copy of its size at the same place below copy.
bool HoldsCopyOf(const FileSystem& files, const std::string& copy, const std::string& source) {
  for (const auto& entry : files.List(source, "*")) {
    const std::string from = source + "\\" + entry.name;
    const std::string to = copy + "\\" + entry.name;
    if (entry.isDirectory ? !HoldsCopyOf(files, to, from) : files.FileSize(to) != entry.size) return false;
  }
  return true;
}

// "はい": the set's Favorites replace the current ones; those that are read-only stay.
void ReplaceFavorites(RestoreContext& run, const std::string& source, const std::string& favorites) {
  FileSystem& files = run.files();
  StagedReplace staged(files, favorites);
  if (staged.staging().empty() || run.app.platform.shell.FileTransfer(run.Owner(), staged.staging(), source + "\\*.*") != 0 ||
      !HoldsCopyOf(files, staged.staging(), source)) {
    const std::string link = staged.link().empty() ? "" : "（リンクのため: " + staged.link() + "）";
    run.report.failures.push_back("お気に入りをコピーできませんでした" + link + "。現在のお気に入りはそのままです");
    return;
  }
  std::vector<std::string> replaced;
  for (const auto& entry : files.List(favorites, "*"))
    if (!(entry.attributes & fileattr::kReadOnly)) replaced.push_back(entry.name);
  if (!staged.Commit(replaced, true)) run.report.failures.push_back(favorites + " のお気に入りを置き換えられませんでした");
  if (!staged.unrestored().empty())
    run.report.failures.push_back("読み取り専用のお気に入りの一部を元の場所に戻せませんでした。次のフォルダにあります: " +
                                  staged.unrestored());
}

}  // namespace

std::string RestoreFavoritesFolder(const RestoreContext& run) {
  const std::string value = run.app.reg.RegReadText(RegRoot::CurrentUser, kShellFoldersKey, "Favorites");
  if (!run.env().IsNt()) return value;
  const std::string prefix = kUserProfilePrefix;
  if (value.compare(0, prefix.size(), prefix) == 0)
    return run.app.platform.environment.Variable("USERPROFILE").value_or("") + "\\Favorites";
  // Another spelling of a variable would otherwise name a folder that does not exist.
  return ExpandLeadingVariable(run.app.platform.environment, value);
}

void ReFavorites(RestoreContext& run) {
  FileSystem& files = run.files();
  const SetLayout set(run.state.restoreFolder);
  const std::string html = set.FavoritesHtml();
  const std::string folder = set.FavoritesFolder();
  if (files.Exists(html)) {
    std::string favorites = RestoreFavoritesFolder(run);
    if (favorites.empty()) favorites = run.env().favoritesFolder;
    FavoritesImportResult result;
    if (favorites.empty() || !ImportFavoritesHtml(files, html, favorites, result))
      run.report.failures.push_back("Favorites.htm をお気に入りに取り込めませんでした");
    for (const auto& failed : result.failed) run.report.failures.push_back(failed + " を作れませんでした");
    return;
  }
  if (!files.IsDirectory(folder)) return;
  const std::string favorites = RestoreFavoritesFolder(run);
  const MsgAnswer answer = run.Show({kQuestion, "確認", MsgIcon::Question, MsgButtons::YesNoCancel, 0});
  const RunGuard waiting = run.Waiting();
  if (answer != MsgAnswer::Cancel && favorites.empty())
    run.report.failures.push_back("お気に入りの場所がレジストリにありません");
  else if (answer == MsgAnswer::Yes)
    ReplaceFavorites(run, folder, favorites);
  else if (answer == MsgAnswer::No && (run.app.platform.shell.FileTransfer(run.Owner(), favorites, folder + "\\*.*") != 0 ||
                                       !HoldsCopyOf(files, favorites, folder)))
    run.report.failures.push_back("お気に入りをすべてはコピーできませんでした (" + favorites + ")");
}

}  // namespace vorn
