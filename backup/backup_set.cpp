#include "backup/backup_set.h"

#include "backup/damaged_folder_lines.h"
#include "core/run_context.h"
#include "core/environment_discovery.h"
#include "platform/codepage.h"
#include "platform/folder_path.h"
#include "set/set_layout.h"

namespace vorn {
namespace {

std::string InfoLine(const char* label, const std::string& value) {
  return std::string("\"").append(label).append(value).append("\"\r\n");
}

}  // namespace

std::string UserFolderParent(const RunContext& run) {
  if (run.DestinationChoice() == 1) return run.app.settings.backupPath + "\\";
  return run.env().desktopFolder + "\\" + kBackupFolderName + "\\";
}

int ShellFileTransfer(const RunContext& run, const std::string& destinationFolder, const std::string& source) {
  return run.app.platform.shell.FileTransfer(run.Owner(), destinationFolder, source);
}

BackupSet PrepareBackupSet(RunContext& run) {
  App& app = run.app;
  FileSystem& files = run.files();
  EnvironmentRecord& env = run.env();
  env.selectedUserName = MakeSetFolderName(env.selectedUserName);
  const std::string parent = UserFolderParent(run);
  const SetLayout layout(parent + env.selectedUserName);
  if (env.IsNt()) {
    CreateFolderPath(files, layout.RegFolder() + "\\");
  } else {
    // One level at a time: a missing ancestor of the backup root stays missing.
    CreateOneFolder(files, run.DestinationChoice() == 1 ? app.settings.backupPath : parent);
    CreateOneFolder(files, layout.UserFolder());
    CreateOneFolder(files, layout.RegFolder());
  }
  BackupSet set;
  if (run.Switches().saveAddressBook) {
    set.wabBackupFolder = layout.WabFolder();
    if (env.IsNt())
      CreateFolderPath(files, set.wabBackupFolder + "\\");
    else
      CreateOneFolder(files, set.wabBackupFolder);
  }
  set.userBackupFolder = layout.UserFolder();
  return set;
}

bool WriteBackupInfo(RunContext& run, const BackupSet& set) {
  App& app = run.app;
  app.settings.backupPath = run.StoredBackupPath();
  // The kind is not needed before this point, so it is determined here, where it is printed.
  DetectOsKind(app.platform.environment, app.env);
  const EnvironmentRecord& env = app.env;
  const Clock& clock = app.platform.clock;
  std::string text = InfoLine("Date       :", clock.FormatDateTime(clock.Now())) + InfoLine("OS         :", env.osKind) +
                     InfoLine("OE         :", env.oeVersion) + InfoLine("StoreRoot  :", env.storeRootFolder) +
                     InfoLine("UserName   :", env.selectedUserName) +
                     InfoLine("UserID     :", env.selectedIdentityGuid);
  if (!env.addressBookMissing) text += InfoLine("WabPath    :", env.wabFilePath);
  text += InfoLine("BackupPath :", TrimAtNul(app.settings.backupPath));
  // Readers take the first eight lines by position: a line of a shorter file would be read as a field.
  if (!env.addressBookMissing) text += DamagedFolderLines(app.platform.files, env.storeRootFolder);
  auto file = app.platform.files.OpenWrite(set.Layout().InfoFile());
  if (!file) return false;
  const std::string ansi = Utf8ToCp932(text);
  const bool written = file->Write(ansi.data(), ansi.size());
  return file->Close() && written;
}

}  // namespace vorn
