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

// The whole run; the main window shows the hourglass meanwhile (its RunGuard). The switches
// come from the main window's menus (App::MainWindow).
BackupOutcome RunBackup(App& app);

// The data steps of a run on each family, in the order the run calls them.
void BkupMain2000(App& app, const BackupSet& set);
void BkupMain98(App& app, const BackupSet& set);
void CopyMailFolder(App& app, const BackupSet& set);
void Bkup_Wab(App& app, const BackupSet& set);
void Bkup_Favo(App& app, const BackupSet& set);
void OpenBackupFolder(App& app);

}  // namespace vorn
