#include "backup/backup_run.h"

#include "backup/favorites_html.h"
#include "backup/mail_archive.h"
#include "backup/registry_exports.h"
#include "core/app.h"
#include "core/environment_discovery.h"
#include "core/help_contexts.h"
#include "platform/folder_path.h"

namespace vorn {
namespace {

// With "main user only" the address book and the Favorites folder belong to the main identity.
bool SavesUserData(App& app) {
  if (!MainIdentityPresent(app.MainWindow().identitySubkeys, app.env.mainIdentityGuid)) app.settings.mainUserOnly = 0;
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
void RemoveOtherMailForm(App& app, const BackupSet& set, bool archived) {
  FileSystem& files = app.platform.files;
  const std::string copy = set.Layout().MailFolder();
  const std::string archive = set.Layout().MailArchive();
  if (archived) {
    if (files.IsDirectory(copy)) DeleteTree(files, copy);
  } else if (files.Exists(archive) && MailCopyComplete(files, app.env.storeRootFolder, copy)) {
    files.SetAttributes(archive, fileattr::kNormal);
    files.DeleteFile(archive);
  }
}

// BkupMain2000 and BkupMain98 differ only in the registry exports of their family. Each
// switch is read when its step comes, as the menus hold it then.
void BkupMain(App& app, const BackupSet& set, void (*exportRegistry)(App&, const BackupSet&)) {
  app.platform.ui.DoEvents();
  const bool archived = app.MainWindow().switches.compressMail;
  if (archived)
    LHA(app, set);  // returns only when the archive is complete
  else
    CopyMailFolder(app, set);
  RemoveOtherMailForm(app, set, archived);
  exportRegistry(app, set);
  if (app.MainWindow().switches.saveAddressBook) Bkup_Wab(app, set);
  if (app.MainWindow().switches.saveFavorites) Bkup_Favo(app, set);
  if (app.settings.openFolderAfterBackup == 1) OpenBackupFolder(app);
}

}  // namespace

void CopyMailFolder(App& app, const BackupSet& set) {
  FileSystem& files = app.platform.files;
  const std::string mail = SetLayout(UserFolderParent(app) + app.env.selectedUserName).MailFolder();
  if (app.env.IsNt()) {
    CreateFolderPath(files, mail + "\\");
  } else {
    if (StoredDestinationChoice(app) == 0) CreateOneFolder(files, UserFolderParent(app));
    CreateOneFolder(files, set.userBackupFolder);
    CreateOneFolder(files, mail);
  }
  ShellFileTransfer(app, mail, app.env.storeRootFolder + "\\*.dbx");
}

void Bkup_Wab(App& app, const BackupSet& set) {
  if (app.env.wabFilePath.empty()) {
    app.ShowMessage({"レジストリにアドレス帳の所在情報が見つかりませんでした。\r\n処理を中止します。", "レジストリ エラー",
                     MsgIcon::Information, MsgButtons::Ok, help::IDH_ADDRESS_BOOK_LOCATION});
    app.EndProgram();
  }
  if (SavesUserData(app)) ShellFileTransfer(app, set.wabBackupFolder, app.env.wabFilePath);
}

void Bkup_Favo(App& app, const BackupSet& set) {
  const int16_t mode = app.settings.exportFavoritesHtml;
  if (mode != 0 && mode != 1) return;
  const std::string& favorites = app.env.favoritesFolder;
  // A folder that is gone would leave an empty bookmark file or no copy at all, and no word.
  const auto notSaved = [&app] {
    app.ShowMessage({"お気に入りを保存できませんでした", "レジストリ エラー", MsgIcon::Information, MsgButtons::Ok, help::IDH_FAVORITES_NOT_SAVED});
  };
  if (favorites.empty() || (mode == 1 && !app.platform.files.IsDirectory(favorites))) return notSaved();
  if (mode == 1) {
    if (!ExportFavoritesToHtml(app.platform.files, favorites, set.Layout().FavoritesHtml())) notSaved();
    return;
  }
  if (!SavesUserData(app)) return;
  if (!app.platform.files.IsDirectory(favorites)) return notSaved();
  ShellFileTransfer(app, set.userBackupFolder, favorites);
  app.platform.ui.DoEvents();
  const std::string desktopIni = set.Layout().FavoritesFolder() + "\\desktop.ini";
  app.platform.files.SetAttributes(desktopIni, fileattr::kNormal);
  app.platform.files.DeleteFile(desktopIni);
}

void OpenBackupFolder(App& app) {
  app.platform.processes.Start(
      app.env.systemFolder + "\\rundll32.exe url.dll,FileProtocolHandler " + app.settings.backupPath,
      WindowStyle::Normal);
}

void BkupMain2000(App& app, const BackupSet& set) { BkupMain(app, set, ExportRegistry2000); }
void BkupMain98(App& app, const BackupSet& set) { BkupMain(app, set, ExportRegistry98); }

BackupOutcome RunBackup(App& app) {
  BackupOutcome outcome;
  if (app.env.IsNt()) {
    LoadBackupPath(app.reg, app.env, app.settings);
    outcome.set = PrepareBackupSet(app);
    BkupMain2000(app, outcome.set);
  } else {
    // The 98 family keeps the destination as loaded at start-up or last set by its dialog.
    outcome.set = PrepareBackupSet(app);
    BkupMain98(app, outcome.set);
  }
  outcome.infoWritten = WriteBackupInfo(app, outcome.set);
  app.FlashMainWindow();
  return outcome;
}

}  // namespace vorn
