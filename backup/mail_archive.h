#pragma once
// Packs the identity's mail store into the set's "Mail.lzh" with one archiver call.
#include <string>

#include "backup/backup_set.h"

namespace vorn {

class RunContext;

// The archiver's command line: switches, the archive, the program folder and the Store Root
// (both with a trailing backslash), then the file list "*.*" and an empty entry.
std::string MailArchiveCommandLine(const std::string& archivePath, const std::string& programFolder,
                                   const std::string& storeRoot);

// Packs the mail store with the main window as the archiver's owner. On an archiver failure
// shows its message and ends the program.
void LHA(RunContext& run, const BackupSet& set);

}  // namespace vorn
