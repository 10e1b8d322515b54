#pragma once
// The backup run behind the main window's OK button in backup mode: prepares the set, saves
// the mail store, the registry exports, the address book and the Favorites, opens the backup
// root, writes the information file and flashes the window.
#include "backup/backup_set.h"

namespace vorn {

class App;

struct BackupOutcome {
  BackupSet set;
  bool infoWritten = false;  // "Reg\VornInfo.dat" written completely
};

// The whole run, with the window's controls disabled and the wait cursor shown meanwhile.
BackupOutcome RunBackup(App& app);
// Hands the main window's OK button in backup mode to RunBackup.
void InstallBackup(App& app);

// The data steps of a run, in the order the run calls them.
void BackupMain(App& app, const BackupSet& set);
void CopyMailFolder(App& app, const BackupSet& set);
void BackupAddressBook(App& app, const BackupSet& set);
void BackupFavorites(App& app, const BackupSet& set);
void OpenBackupFolder(App& app);

}  // namespace vorn
