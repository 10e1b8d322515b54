#include "backup/backup_run.h"

#include "backup/favorites_html.h"
#include "backup/mail_archive.h"
#include "backup/registry_exports.h"
#include "core/app.h"
#include "core/environment_discovery.h"
#include "core/help_contexts.h"
#include "core/run_context.h"
#include "platform/folder_path.h"

namespace vorn {
namespace {

// With "main user only" the address book and the Favorites folder belong to the main identity.
bool SavesUserData(RunContext& run) {
  App& app = run.app;
  if (!MainIdentityPresent(run.ListedIdentities(), app.env.mainIdentityGuid)) app.settings.mainUserOnly = 0;
  if (app.settings.mainUserOnly == 0) return true;
  return app.settings.mainUserOnly == 1 && app.env.selectedIdentityGuid == "{" + app.env.mainIdentityGuid + "}";
}

// Every folder file of the Store Root has its copy of the same size in the set's "Mail".
bool MailCopyComplete(const FileSystem& files, const std::string& storeRoot, const std::string& copy) {
  for (const auto& entry : files.List(storeRoot, "*.dbx")) {
    if (entry.isDirectory) continue;
    if (files.FileSize(copy + "\\" + entry.name) != entry.size) return false;
  }
  return true;
}

// A set written before in the other form keeps only the form just written, once that one is
// complete, so that no restore can take the older mail for the newer.
void RemoveOtherMailForm(RunContext& run, const BackupSet& set, bool archived) {
  FileSystem& files = run.files();
  const std::string copy = set.Layout().MailFolder();
  const std::string archive = set.Layout().MailArchive();
  if (archived) {
    if (files.IsDirectory(copy)) DeleteTree(files, copy);
  } else if (files.Exists(archive) && MailCopyComplete(files, run.env().storeRootFolder, copy)) {
    files.SetAttributes(archive, fileattr::kNormal);
    files.DeleteFile(archive);
  }
}

// BkupMain2000 and BkupMain98 differ only in the registry exports of their family. Each
// switch is read when its step comes, as the menus hold it then.
void BkupMain(RunContext& run, const BackupSet& set, void (*exportRegistry)(RunContext&, const BackupSet&)) {
  run.app.platform.ui.DoEvents();
  const bool archived = run.Switches().compressMail;
  if (archived)
    LHA(run, set);  // returns only when the archive is complete
  else
    CopyMailFolder(run, set);
  RemoveOtherMailForm(run, set, archived);
  exportRegistry(run, set);
  if (run.Switches().saveAddressBook) Bkup_Wab(run, set);
  if (run.Switches().saveFavorites) Bkup_Favo(run, set);
  if (run.app.settings.openFolderAfterBackup == 1) OpenBackupFolder(run);
}

}  // namespace

// The destination is read afresh here on purpose: the mail goes where the stored choice says
// when this step comes.
void CopyMailFolder(RunContext& run, const BackupSet& set) {
  App& app = run.app;
  FileSystem& files = run.files();
  const std::string mail = SetLayout(UserFolderParent(run) + app.env.selectedUserName).MailFolder();
  if (app.env.IsNt()) {
    CreateFolderPath(files, mail + "\\");
  } else {
    if (run.DestinationChoice() == 0) CreateOneFolder(files, UserFolderParent(run));
    CreateOneFolder(files, set.userBackupFolder);
    CreateOneFolder(files, mail);
  }
  ShellFileTransfer(run, mail, app.env.storeRootFolder + "\\*.dbx");
}

void Bkup_Wab(RunContext& run, const BackupSet& set) {
  if (run.env().wabFilePath.empty()) {
    run.Show({"レジストリにアドレス帳の所在情報が見つかりませんでした。\r\n処理を中止します。", "レジストリ エラー",
              MsgIcon::Information, MsgButtons::Ok, help::IDH_ADDRESS_BOOK_LOCATION});
    run.app.EndProgram();
  }
  if (SavesUserData(run)) ShellFileTransfer(run, set.wabBackupFolder, run.env().wabFilePath);
}

void Bkup_Favo(RunContext& run, const BackupSet& set) {
  App& app = run.app;
  const int16_t mode = app.settings.exportFavoritesHtml;
  if (mode != 0 && mode != 1) return;
  const std::string& favorites = app.env.favoritesFolder;
  // A folder that is gone would leave an empty bookmark file or no copy at all, and no word.
  const auto notSaved = [&run] {
    run.Show({"お気に入りを保存できませんでした", "レジストリ エラー", MsgIcon::Information, MsgButtons::Ok, help::IDH_FAVORITES_NOT_SAVED});
  };
  if (favorites.empty() || (mode == 1 && !app.platform.files.IsDirectory(favorites))) return notSaved();
  if (mode == 1) {
    if (!ExportFavoritesToHtml(app.platform.files, favorites, set.Layout().FavoritesHtml())) notSaved();
    return;
  }
  if (!SavesUserData(run)) return;
  if (!app.platform.files.IsDirectory(favorites)) return notSaved();
  ShellFileTransfer(run, set.userBackupFolder, favorites);
  app.platform.ui.DoEvents();
  const std::string desktopIni = set.Layout().FavoritesFolder() + "\\desktop.ini";
  app.platform.files.SetAttributes(desktopIni, fileattr::kNormal);
  app.platform.files.DeleteFile(desktopIni);
}

void OpenBackupFolder(RunContext& run) {
  const App& app = run.app;
  app.platform.processes.Start(
      app.env.systemFolder + "\\rundll32.exe url.dll,FileProtocolHandler " + app.settings.backupPath,
      WindowStyle::Normal);
}

void BkupMain2000(RunContext& run, const BackupSet& set) { BkupMain(run, set, ExportRegistry2000); }
void BkupMain98(RunContext& run, const BackupSet& set) { BkupMain(run, set, ExportRegistry98); }

BackupOutcome RunBackup(App& app) {
  RunContext run(app);
  BackupOutcome outcome;
  if (app.env.IsNt()) {
    // The destination as stored now: the 2000 family reads it afresh for each backup.
    LoadBackupPath(app.reg, app.env, app.settings);
    outcome.set = PrepareBackupSet(run);
    BkupMain2000(run, outcome.set);
  } else {
    // The 98 family keeps the destination as loaded at start-up or last set by its dialog.
    outcome.set = PrepareBackupSet(run);
    BkupMain98(run, outcome.set);
  }
  outcome.infoWritten = WriteBackupInfo(run, outcome.set);
  app.FlashMainWindow();
  return outcome;
}

}  // namespace vorn
