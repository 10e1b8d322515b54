#include "tools/favorites_relocation.h"

#include <algorithm>
#include <vector>

#include "platform/folder_path.h"
#include "platform/codepage.h"
#include "tools/file_moves.h"

namespace vorn {
namespace {

const char* const kProfileVariable = "%USERPROFILE%";
const char* const kTitle = "お気に入りの移動";

struct MovedEntry {
  std::string from;
  std::string to;
  bool isFolder = false;
  bool copied = false;  // moved by a copy: the original goes once everything is in place
};

class FavoritesMove {
 public:
  FavoritesMove(FileSystem& files, std::string oldFolder, std::string newFolder)
      : files_(files), old_(std::move(oldFolder)), new_(std::move(newFolder)) {}

  // Moves every entry; on a failure puts back what moved and returns the entry that could not.
  std::string MoveAll() {
    createdNew_ = !files_.IsDirectory(new_);
    CreateFolderPath(files_, new_ + "\\");
    std::vector<DirEntry> entries = files_.List(old_, "*");
    std::stable_partition(entries.begin(), entries.end(), [](const DirEntry& e) { return !e.isDirectory; });
    for (const auto& entry : entries) {
      MovedEntry moved{old_ + "\\" + entry.name, "", entry.isDirectory};
      const std::string name = FreeName(files_, new_, entry.name, entry.isDirectory);
      moved.to = new_ + "\\" + name;
      if (name != entry.name) renamed_.push_back(entry.name + " → " + name);
      if (files_.MoveFile(moved.from, moved.to) != FsResult::Ok) {
        // A link is moved by a rename only: a copy would take what it points at, and removing the
        // original would empty that.
        if (entry.attributes & fileattr::kReparsePoint) {
          PutBack();
          return entry.name;
        }
        FsResult copied = entry.isDirectory ? CopyTreeVerified(files_, moved.from, moved.to)
                                            : CopyFileVerified(files_, moved.from, moved.to);
        if (copied != FsResult::Ok) {
          PutBack();
          return entry.name;
        }
        moved.copied = true;
      }
      moved_.push_back(moved);
    }
    return {};
  }

  // Undoes MoveAll; returns the entries that stay at the new folder.
  std::vector<std::string> PutBack() {
    std::vector<std::string> stranded;
    for (auto it = moved_.rbegin(); it != moved_.rend(); ++it) {
      if (!(it->copied ? Remove(*it, it->to) : files_.MoveFile(it->to, it->from) == FsResult::Ok))
        stranded.push_back(it->to);
    }
    moved_.clear();
    renamed_.clear();
    if (createdNew_) files_.RemoveDirectory(new_);
    return stranded;
  }

  // Removes the originals of what was copied, then the old folder; returns what stays there.
  std::vector<std::string> RemoveOld() {
    std::vector<std::string> left;
    for (const auto& moved : moved_) {
      if (!moved.copied) continue;
      if (!Remove(moved, moved.from)) left.push_back(moved.from);
    }
    if (files_.RemoveDirectory(old_) != FsResult::Ok && left.empty()) left.push_back(old_);
    return left;
  }

  const std::vector<std::string>& renamed() const { return renamed_; }

 private:
  // One side of a copied entry, removed whole.
  bool Remove(const MovedEntry& entry, const std::string& path) {
    return entry.isFolder ? DeleteTree(files_, path) : DeleteFileForced(files_, path) == FsResult::Ok;
  }

  FileSystem& files_;
  std::string old_;
  std::string new_;
  bool createdNew_ = false;
  std::vector<MovedEntry> moved_;
  std::vector<std::string> renamed_;
};

std::string Lines(const std::vector<std::string>& items) {
  std::string text;
  for (const auto& item : items) text += "\r\n  " + item;
  return text;
}

// The setting as stored: below the profile folder on the 2000 family relative to it, which the
// shell expands only in a REG_EXPAND_SZ value.
bool WriteFavoritesSetting(RunContext& c, const std::string& folder) {
  const std::string& profile = c.env().userProfileFolder;
  std::string stored = folder;
  if (c.env().IsNt() && !profile.empty() && folder.compare(0, profile.size(), profile) == 0)
    stored = kProfileVariable + folder.substr(profile.size());
  if (stored.compare(0, 13, kProfileVariable) != 0)
    return c.app.reg.RegWriteValue(RegRoot::CurrentUser, kUserShellFoldersKey, "Favorites", stored);
  const std::string ansi = Utf8ToCp932(stored);
  RegValue value{regtype::kExpandSz, {}};
  value.data.assign(ansi.begin(), ansi.end());
  value.data.push_back(0);
  return c.app.reg.Store().WriteValue(RegRoot::CurrentUser, kUserShellFoldersKey, "Favorites", value);
}

}  // namespace

void RelocateFavorites(RunContext& c, std::string& shownFolder) {
  std::string current = c.app.reg.RegReadText(RegRoot::CurrentUser, kUserShellFoldersKey, "Favorites");
  if (current.compare(0, 13, kProfileVariable) == 0) current = c.env().userProfileFolder + current.substr(13);
  c.env().favoritesFolder = current;

  const std::string chosen = c.app.platform.ui.BrowseForFolder(
      c.Owner(), "お気に入りの保存場所変更\r\n現在のお気に入りフォルダを移動します", current, 1);
  if (chosen.empty() || SamePath(chosen, current)) return;
  // Also "C:\Favorites2" for "C:\Favorites": the test is on the text, as it always was.
  if (chosen.size() >= current.size() && SamePath(chosen.substr(0, current.size()), current)) {
    c.Show({"Favorites フォルダを移動できません。受け側のフォルダは、送り側フォルダのサブフォルダです。", "エラー",
              MsgIcon::Critical});
    return;
  }
  const std::string target = chosen + (chosen.back() == '\\' ? "Favorites" : "\\Favorites");
  shownFolder = target;
  if (SamePath(target, current)) return;
  if (!c.files().IsDirectory(current)) {
    c.Show({"お気に入りフォルダが見つかりません。\r\n" + current, "エラー", MsgIcon::Critical});
    return;
  }

  FavoritesMove move(c.files(), current, target);
  const std::string failed = move.MoveAll();
  if (!failed.empty()) {
    shownFolder = current;
    c.Show({"お気に入りを移動できませんでした: " + failed + "\r\n移動したものは元に戻しました。", "エラー",
         MsgIcon::Critical});
    return;
  }
  const std::vector<std::string> renamed = move.renamed();
  if (!WriteFavoritesSetting(c, target)) {
    const std::vector<std::string> stranded = move.PutBack();
    shownFolder = current;
    std::string text = "お気に入りの場所をレジストリに書き込めませんでした。\r\n移動したものは元に戻しました。";
    if (!stranded.empty()) text += "\r\n次のものは戻せませんでした:" + Lines(stranded);
    c.Show({text, "エラー", MsgIcon::Critical});
    return;
  }
  c.env().favoritesFolder = target;  // what this run of the program saves from now on
  const std::vector<std::string> left = move.RemoveOld();
  std::string text = "お気に入りを移動しました。\r\n" + target;
  if (!renamed.empty()) text += "\r\n\r\n同じ名前があったため、次の名前で移動しました:" + Lines(renamed);
  if (!left.empty()) text += "\r\n\r\n元の場所から削除できなかったもの (移動先にもあります):" + Lines(left);
  c.Show({text, kTitle, left.empty() ? MsgIcon::Information : MsgIcon::Warning});
}

}  // namespace vorn
