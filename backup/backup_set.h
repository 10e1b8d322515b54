#pragma once
// A backup run's set: its folders, made before the data steps, and its information file
// "Reg\VornInfo.dat", written last.
#include <string>

#include "set/set_layout.h"

namespace vorn {

class App;

struct BackupSet {
  std::string userBackupFolder;  // parent + user folder name, no trailing backslash
  std::string regBackupFolder;   // userBackupFolder + "\Reg"
  std::string wabBackupFolder;   // userBackupFolder + "\Wab"; empty when the address book is not saved

  SetLayout Layout() const { return SetLayout(userBackupFolder); }
};

// "SV_Int" as stored: 1 when the user picked the destination, otherwise 0.
int StoredDestinationChoice(const App& app);
// The folder that holds the user folders, with its trailing backslash.
std::string UserFolderParent(const App& app);

// The shell's copy of a file, a folder or a wildcard pattern into a folder, owned by the main
// window; the shell's result code.
int ShellFileTransfer(App& app, const std::string& destinationFolder, const std::string& source);

// Turns the selected user name into its folder form and creates the set's folders.
BackupSet PrepareBackupSet(App& app);
// Writes the information file, the last file of a set. True when it was written completely.
bool WriteBackupInfo(App& app, const BackupSet& set);

}  // namespace vorn
