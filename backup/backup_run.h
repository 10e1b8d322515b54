#pragma once
// The backup run behind the main window's OK button in backup mode: prepares the set, saves
// the mail store, the registry exports, the address book and the Favorites, opens the backup
// root, writes the information file and flashes the window.
#include "backup/backup_set.h"

namespace vorn {

class App;
class RunContext;

struct BackupOutcome {
  BackupSet set;
  bool infoWritten = false;  // "Reg\VornInfo.dat" written completely
};

// The whole run; the main window shows the hourglass meanwhile (its RunGuard). The switches
// come from the main window's menus, each read when its step comes (RunContext::Switches).
BackupOutcome RunBackup(App& app);

// The data steps of a run on each family, in the order the run calls them.
void BkupMain2000(RunContext& run, const BackupSet& set);
void BkupMain98(RunContext& run, const BackupSet& set);
void CopyMailFolder(RunContext& run, const BackupSet& set);
void Bkup_Wab(RunContext& run, const BackupSet& set);
void Bkup_Favo(RunContext& run, const BackupSet& set);
void OpenBackupFolder(RunContext& run);

}  // namespace vorn
