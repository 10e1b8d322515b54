#pragma once
// Checks around running mail programs and read-only mail files.
#include <string>

namespace vorn {

class App;
class FileSystem;
class Processes;

// Running processes whose executable name ends in "MSIMN.EXE"/"msimn.exe" for "Msimn.exe" or
// "WAB.EXE"/"wab.exe" for "Wab.exe"; any other name counts nothing.
int CountRunningProcesses(const Processes& processes, const std::string& programName);

// False only when the store's "Folders.dbx" is in use (renaming it is denied). The file is
// never left under its temporary name.
bool MailStoreFree(FileSystem& files, const std::string& storeRoot);

// Before a restore: Outlook Express must not be running. Shows why on failure.
bool CheckMailProgramBeforeRestore(App& app);

// Clears the read-only state of the files in every listed identity's Store Root and of the
// address book, and says so when it found any.
void RepairReadOnlyFiles(App& app);

}  // namespace vorn
