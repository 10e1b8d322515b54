#include "backup/backup_run.h"

#include "backup/favorites_html.h"
#include "backup/mail_archive.h"
#include "backup/registry_exports.h"
#include "core/app.h"
#include "core/environment_discovery.h"
#include "ui/form1.h"

namespace vorn {
namespace {

// Disables the window's controls and shows the wait cursor for the life of the run.
class BusyWindow {
 public:
  explicit BusyWindow(App& app) : app_(app) { Set(true); }
  ~BusyWindow() { Set(false); }
  BusyWindow(const BusyWindow&) = delete;
  BusyWindow& operator=(const BusyWindow&) = delete;

 private:
  void Set(bool busy) {
    Form1& form = app_.form1();
    app_.platform.ui.SetWaitCursor(busy);
    form.busy = busy;
    for (Button& button : form.Command1) button.enabled = !busy;
  }
  App& app_;
};

// With "main user only" the address book and the Favorites folder belong to the main identity.
bool SavesUserData(App& app) {
  if (!MainIdentityPresent(app.form1().List2.items, app.env.mainIdentityGuid)) app.settings.mainUserOnly = 0;
  if (app.settings.mainUserOnly == 0) return true;
  return app.settings.mainUserOnly == 1 && app.env.selectedIdentityGuid == "{" + app.env.mainIdentityGuid + "}";
}

}  // namespace

void CopyMailFolder(App& app, const BackupSet& set) {
  FileSystem& files = app.platform.files;
  const std::string mail = UserFolderParent(app) + app.env.selectedUserName + "\\Mail";
  if (app.env.IsNt()) {
    CreateFolderPath(files, mail + "\\");
  } else {
    if (StoredDestinationChoice(app) == 0) CreateOneFolder(files, UserFolderParent(app));
    CreateOneFolder(files, set.userBackupFolder);
    CreateOneFolder(files, mail);
  }
  ShellFileTransfer(app, mail, app.env.storeRootFolder + "\\*.dbx");
}

void BackupAddressBook(App& app, const BackupSet& set) {
  if (app.env.wabFilePath.empty()) {
    app.ShowMessage({"レジストリにアドレス帳の所在情報が見つかりませんでした。\r\n処理を中止します。", "レジストリ エラー",
                     MsgIcon::Information, MsgButtons::Ok, 11});
    app.EndProgram();
  }
  if (SavesUserData(app)) ShellFileTransfer(app, set.wabBackupFolder, app.env.wabFilePath);
}

void BackupFavorites(App& app, const BackupSet& set) {
  if (app.settings.exportFavoritesHtml == 1) {
    WriteFavoritesHtml(app.platform.files, app.env.favoritesFolder, set.userBackupFolder + "\\Favorites.htm");
    return;
  }
  if (app.settings.exportFavoritesHtml != 0) return;
  if (app.env.favoritesFolder.empty()) {
    app.ShowMessage({"お気に入りを保存できませんでした", "レジストリ エラー", MsgIcon::Information, MsgButtons::Ok, 12});
    return;
  }
  if (!SavesUserData(app)) return;
  ShellFileTransfer(app, set.userBackupFolder, app.env.favoritesFolder);
  app.platform.ui.DoEvents();
  const std::string desktopIni = set.userBackupFolder + "\\Favorites\\desktop.ini";
  app.platform.files.SetAttributes(desktopIni, fileattr::kNormal);
  app.platform.files.DeleteFile(desktopIni);
}

void OpenBackupFolder(App& app) {
  app.platform.processes.Start(
      app.env.systemFolder + "\\rundll32.exe url.dll,FileProtocolHandler " + app.settings.backupPath,
      WindowStyle::Normal);
}

void BackupMain(App& app, const BackupSet& set) {
  Form1& form = app.form1();
  app.platform.ui.DoEvents();
  if (form.MnLHA.checked)
    PackMailStore(app, set);
  else
    CopyMailFolder(app, set);
  if (app.env.IsNt())
    ExportRegistry2000(app, set);
  else
    ExportRegistry98(app, set);
  if (form.MnWab.checked) BackupAddressBook(app, set);
  if (form.MnFavo.checked) BackupFavorites(app, set);
  app.platform.ui.SetWaitCursor(false);
  if (app.settings.openFolderAfterBackup == 1) OpenBackupFolder(app);
}

BackupOutcome RunBackup(App& app) {
  BusyWindow busy(app);
  // The 98 family keeps the destination as loaded at start-up or last set by its dialog.
  if (app.env.IsNt()) LoadBackupPath(app.reg, app.env, app.settings);
  BackupOutcome outcome;
  outcome.set = PrepareBackupSet(app);
  BackupMain(app, outcome.set);
  outcome.infoWritten = WriteBackupInfo(app, outcome.set);
  app.form1().Flash();
  return outcome;
}

void InstallBackup(App& app) {
  app.form1().runBackup = [&app] { RunBackup(app); };
}

}  // namespace vorn
