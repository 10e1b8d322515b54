#include "tools/address_book_relocation.h"

#include "core/environment_discovery.h"
#include "core/help_contexts.h"
#include "core/mail_program_checks.h"
#include "platform/folder_path.h"
#include "tools/file_moves.h"

namespace vorn {
namespace {

constexpr int kHelpContext = help::IDH_WAB_RUNNING;
const char* const kTitle = "Vorn";

class AddressBookMove {
 public:
  AddressBookMove(RunContext& context, std::string source, std::string target)
      : c_(context), source_(std::move(source)), target_(std::move(target)) {}

  // Returns the reason when the address book stays where it was; empty when it moved or the
  // target turned out to be the address book itself.
  std::string Run() {
    FileSystem& files = c_.files();
    const std::string incoming = UnusedPath(files, target_ + ".vorn-new");
    if (CopyFileVerified(files, source_, incoming) != FsResult::Ok)
      return "移動先にアドレス帳をコピーできませんでした。";

    std::string replaced;
    if (files.Exists(target_)) {
      replaced = UnusedPath(files, target_ + ".vorn-old");
      if (files.MoveFile(target_, replaced) != FsResult::Ok) {
        DeleteFileForced(files, incoming);
        return "移動先の同名のファイルを置き換えられませんでした。";
      }
      // The target was the address book itself under another spelling of its path.
      if (!files.Exists(source_)) {
        files.MoveFile(replaced, target_);
        DeleteFileForced(files, incoming);
        sameFile_ = true;
        return {};
      }
    }
    auto putBack = [&] {
      if (!replaced.empty()) files.MoveFile(replaced, target_);
    };
    if (files.MoveFile(incoming, target_) != FsResult::Ok) {
      DeleteFileForced(files, incoming);
      putBack();
      return "移動先にアドレス帳を置けませんでした。";
    }
    if (!c_.app.reg.RegWriteValue(RegRoot::CurrentUser, kWabFileNameKey, "", target_)) {
      DeleteFileForced(files, target_);
      putBack();
      return "アドレス帳の場所をレジストリに書き込めませんでした。";
    }
    if (DeleteFileForced(files, source_) != FsResult::Ok) {
      // Still in use somewhere: the old place stays the one in effect, unless the registry
      // cannot be pointed back at it; then both files stay.
      if (!c_.app.reg.RegWriteValue(RegRoot::CurrentUser, kWabFileNameKey, "", source_)) {
        keptOldFile_ = true;
        return {};
      }
      DeleteFileForced(files, target_);
      putBack();
      return "元の場所のアドレス帳を削除できませんでした。使用中の可能性があります。";
    }
    if (!replaced.empty()) DeleteFileForced(files, replaced);
    return {};
  }

  // The new place is in effect but the old file could not be removed.
  bool keptOldFile() const { return keptOldFile_; }
  // The target was the address book itself: nothing moved.
  bool sameFile() const { return sameFile_; }

 private:
  RunContext& c_;
  std::string source_;
  std::string target_;
  bool keptOldFile_ = false;
  bool sameFile_ = false;
};

void ShowError(RunContext& c, const std::string& text) {
  c.Show({text, kTitle, MsgIcon::Critical, MsgButtons::Ok, kHelpContext});
}

}  // namespace

void RelocateAddressBook(RunContext& c, std::string& shownPath) {
  if (CountRunningProcesses(c.app.platform.processes, "Wab.exe") >= 1) {
    ShowError(c, "アドレス帳 (Wab.exe)が起動中です。\r\n終了して下さい。");
    return;
  }
  const std::string stored = c.app.reg.RegReadText(RegRoot::CurrentUser, kWabFileNameKey, "");
  if (stored.empty()) {
    c.env().addressBookMissing = true;
  } else {
    c.env().wabFilePath = stored;
  }
  const std::string source = c.env().wabFilePath;
  const size_t split = source.rfind('\\');
  if (source.empty() || split == std::string::npos || !FileExists(c.app.platform.environment, source)) {
    ShowError(c, "アドレス帳のファイルが見つかりません。\r\n" + source);
    return;
  }
  const std::string folder = source.substr(0, split), name = source.substr(split + 1);

  const std::string chosen = c.app.platform.ui.BrowseForFolder(c.Owner(), "アドレス帳の保存場所変更", folder, 1);
  if (chosen.empty()) return;
  CreateFolderPath(c.files(), chosen);
  const std::string target = chosen + (chosen.back() == '\\' ? "" : "\\") + name;
  shownPath = target;
  // A folder under the name would be moved aside like a file, without the question.
  if (c.files().IsDirectory(target)) {
    shownPath = source;
    ShowError(c, "移動先にアドレス帳と同じ名前のフォルダがあるため、移動できません。\r\n" + target);
    return;
  }

  if (FileExists(c.app.platform.environment, target)) {
    if (c.Show({"保存変更場所に同名のファイルが存在します。< " + name + " >\r\n上書きしてよろしいですか？", "問い合せ",
                  MsgIcon::Question, MsgButtons::YesNo}) != MsgAnswer::Yes) {
      shownPath = source;
      return;
    }
    if (SamePath(target, source)) return;
  }
  AddressBookMove move(c, source, target);
  const std::string failure = move.Run();
  if (failure.empty()) {
    // What this run of the program saves from now on (a backup, its information file).
    c.env().wabFilePath = c.app.reg.RegReadText(RegRoot::CurrentUser, kWabFileNameKey, "");
    c.env().addressBookMissing = c.env().wabFilePath.empty();
  }
  if (move.keptOldFile()) {
    ShowError(c, "アドレス帳を移動しましたが、元の場所のファイルを削除できませんでした。\r\n" + source);
    return;
  }
  if (failure.empty()) {
    if (!move.sameFile())
      c.Show({"アドレス帳を移動しました。\r\n" + target, "アドレス帳の移動", MsgIcon::Information, MsgButtons::Ok});
    return;
  }
  shownPath = source;
  ShowError(c, "アドレス帳を移動できませんでした。\r\n" + failure + "\r\nアドレス帳は元の場所のままです。\r\n" + source);
}

}  // namespace vorn
