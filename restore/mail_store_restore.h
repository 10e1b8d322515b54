#pragma once
// The mail store of a set into the receiving identity's Store Root, unpacked from "Mail.lzh" or
// copied from "Mail", always into a staging folder first: the Store Root's files are replaced
// only once the whole new store is there, and stay exactly as they were otherwise.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/archiver.h"
#include "platform/file_system.h"
#include "platform/shell.h"

namespace vorn {

// The files of the Store Root as a run finds them at its start ("*.*"), hidden and system files
// left out: what the new store replaces.
std::vector<std::string> ListStoreRootFiles(const FileSystem& files, const std::string& storeRoot);

// x -d1 -y1 "SET\Mail.lzh" "DESTINATION"\ *.*
std::string MeltCommandLine(const std::string& setFolder, const std::string& destination);

struct MailStoreOutcome {
  bool restored = false;
  int32_t archiverResult = 0;  // the archiver's own result when it failed, else 0
  std::string problem;         // what went wrong, when not restored
};

MailStoreOutcome RestoreMailArchive(FileSystem& files, Archiver& archiver, WindowHandle owner,
                                    const std::string& setFolder, const std::string& storeRoot,
                                    const std::vector<std::string>& storeRootFiles);
// Every "*.dbx" of the set's "Mail" folder, through the shell's copy.
MailStoreOutcome RestoreMailCopy(FileSystem& files, Shell& shell, WindowHandle owner, const std::string& setFolder,
                                 const std::string& storeRoot, const std::vector<std::string>& storeRootFiles);

}  // namespace vorn
