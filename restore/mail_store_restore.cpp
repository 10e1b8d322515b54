#include "restore/mail_store_restore.h"

#include "restore/set_reading.h"
#include "restore/staged_replace.h"

namespace vorn {
namespace {

constexpr const char* kFolderList = "Folders.dbx";

MailStoreOutcome NotRestored(std::string problem, int32_t archiverResult = 0) {
  return {false, archiverResult, std::move(problem)};
}

// DelFiles: the files of the Store Root file list go as the new store moves in, and only once
// the new store is complete; if anything fails, they all stay.
MailStoreOutcome DelFiles(FileSystem& files, StagedReplace& staged, const std::vector<std::string>& storeRootFiles) {
  if (!files.Exists(staged.staging() + "\\" + kFolderList))
    return NotRestored(std::string("the set's mail store has no ") + kFolderList);
  if (!staged.Commit(storeRootFiles)) {
    std::string problem = "the Store Root could not take the new mail store";
    if (!staged.unrestored().empty()) problem += "; the former files are in " + staged.unrestored();
    return NotRestored(problem);
  }
  return {true, 0, {}};
}

}  // namespace

std::vector<std::string> ListStoreRootFiles(const FileSystem& files, const std::string& storeRoot) {
  std::vector<std::string> names;
  for (const auto& entry : files.List(storeRoot, "*.*"))
    if (!entry.isDirectory && !(entry.attributes & (fileattr::kHidden | fileattr::kSystem)))
      names.push_back(entry.name);
  return names;
}

std::string MeltCommandLine(const std::string& setFolder, const std::string& destination) {
  return "x -d1 -y1 \"" + MailArchivePath(setFolder) + "\" \"" + destination + "\"\\ *.*";
}

MailStoreOutcome RestoreMailArchive(FileSystem& files, Archiver& archiver, WindowHandle owner,
                                    const std::string& setFolder, const std::string& storeRoot,
                                    const std::vector<std::string>& storeRootFiles) {
  StagedReplace staged(files, storeRoot);
  if (staged.staging().empty()) return NotRestored("no staging folder beside " + storeRoot);
  // The archiver checks every member's CRC as it unpacks and fails on any damage.
  const int32_t result = archiver.Unlha(owner, MeltCommandLine(setFolder, staged.staging()), nullptr, 0);
  if (result != 0) return NotRestored("the archiver failed", result);
  return DelFiles(files, staged, storeRootFiles);
}

MailStoreOutcome RestoreMailCopy(FileSystem& files, Shell& shell, WindowHandle owner, const std::string& setFolder,
                                 const std::string& storeRoot, const std::vector<std::string>& storeRootFiles) {
  StagedReplace staged(files, storeRoot);
  if (staged.staging().empty()) return NotRestored("no staging folder beside " + storeRoot);
  const std::string mail = MailCopyFolder(setFolder);
  if (shell.FileTransfer(owner, staged.staging(), mail + "\\*.dbx") != 0) return NotRestored("the copy failed");
  for (const auto& entry : files.List(mail, "*.dbx")) {
    if (entry.isDirectory) continue;
    if (files.FileSize(staged.staging() + "\\" + entry.name) != entry.size)
      return NotRestored("the copy of " + entry.name + " is incomplete");
  }
  return DelFiles(files, staged, storeRootFiles);
}

}  // namespace vorn
