#pragma once
// A backup run's set: its folders, made before the data steps, and its information file
// "Reg\VornInfo.dat", written last.
#include <string>

#include "set/set_layout.h"

namespace vorn {

class RunContext;

struct BackupSet {
  std::string userBackupFolder;  // parent + user folder name, no trailing backslash
  std::string wabBackupFolder;   // userBackupFolder + "\Wab"; empty when the address book is not saved

  SetLayout Layout() const { return SetLayout(userBackupFolder); }
};

// The folder that holds the user folders, with its trailing backslash, by the destination choice
// as stored now.
std::string UserFolderParent(const RunContext& run);

// The shell's copy of a file, a folder or a wildcard pattern into a folder, owned by the run's
// window; the shell's result code.
int ShellFileTransfer(const RunContext& run, const std::string& destinationFolder, const std::string& source);

// Turns the selected user name into its folder form and creates the set's folders.
BackupSet PrepareBackupSet(RunContext& run);
// Writes the information file, the last file of a set, with the destination as stored now. True
// when it was written completely.
bool WriteBackupInfo(RunContext& run, const BackupSet& set);

}  // namespace vorn
