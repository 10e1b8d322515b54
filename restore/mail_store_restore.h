#pragma once
// The mail store of a set into the receiving identity's Store Root, unpacked from "Mail.lzh" or
// copied from "Mail", always into a staging folder first and before anything else of the set is
// applied: the Store Root's files are replaced only once the whole new store is there, and stay
// exactly as they were otherwise.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/archiver.h"
#include "platform/file_system.h"
#include "platform/shell.h"
#include "restore/staged_replace.h"

namespace vorn {

// The files of the Store Root as a run finds them at its start ("*.*"), hidden and system files
// left out: what the new store replaces.
std::vector<std::string> ListStoreRootFiles(const FileSystem& files, const std::string& storeRoot);

// x -d1 -y1 "SET\Mail.lzh" "DESTINATION"\ *.*
std::string MeltCommandLine(const std::string& setFolder, const std::string& destination);

struct MailStoreOutcome {
  bool restored = false;       // staged: complete in the staging folder; committed: in the Store Root
  int32_t archiverResult = 0;  // the archiver's own result (or the damage found) when unpacking failed, else 0
  std::string problem;         // what went wrong, when not restored
  std::string unrestored;      // after a failed replacement: the folder holding former files not put back
  std::string link;            // the link or junction that kept the new store from being staged
};

// The whole archive into the staging folder: every member unpacked and its CRC checked by the
// archiver, and the archive's end mark found, so that no member is missing.
MailStoreOutcome StageMailArchive(FileSystem& files, Archiver& archiver, WindowHandle owner,
                                  const std::string& setFolder, const StagedReplace& staged);
// Every "*.dbx" of the set's "Mail" folder into the staging folder, through the shell's copy.
MailStoreOutcome StageMailCopy(FileSystem& files, Shell& shell, WindowHandle owner, const std::string& setFolder,
                               const StagedReplace& staged);
// DelFiles: the staged store takes the Store Root's place; the files of the Store Root file list
// go only once it is all in.
MailStoreOutcome CommitMailStore(StagedReplace& staged, const std::vector<std::string>& storeRootFiles);

}  // namespace vorn
