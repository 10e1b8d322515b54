#pragma once
// The scan of an identity's Store Root: which of its folder files are news groups and which are
// mail folders, for the mail-store tree and its registry cache.
#include <functional>
#include <string>
#include <vector>

#include "dbx/dbx_error.h"
#include "dbx/folder_damage.h"
#include "platform/file_system.h"

namespace vorn {

struct FolderScanLists {
  std::vector<std::string> news;  // news folder names: file names without ".dbx"
  std::vector<std::string> mail;  // file names with ".dbx" of mail folders and empty folders
  bool operator==(const FolderScanLists&) const = default;
};

// The mail program's five standard folders, which the tree always shows.
bool IsStandardFolderFile(const std::string& fileName);

// The names that list folders in one order wherever they come from: ASCII letters without regard to case.
void SortFolderNames(std::vector<std::string>& names);

// The Store Root's "*.dbx" files except "Folders.dbx", "Pop3uidl.dbx" and "Offline.dbx" (exact
// spelling), in name order.
std::vector<std::string> ListCandidateFiles(const FileSystem& files, const std::string& storeRoot);

// Classifies every candidate whose name ends in ".dbx" in any case. A file that cannot be read to
// its decision is reported with its full path and the scan goes on with the next one. Given
// `onDamaged`, a file the index reader cannot read whole goes there instead, with what recovery
// finds in it, and is listed by the kind of the messages found: news when most of them are news.
using FolderScanErrorHandler = std::function<void(const std::string& path, DbxError error)>;
using FolderDamageHandler = std::function<void(const std::string& path, const FolderDamage& damage)>;
FolderScanLists ClassifyCandidates(const FileSystem& files, const std::string& storeRoot,
                                   const std::vector<std::string>& candidates, const FolderScanErrorHandler& onError,
                                   const FolderDamageHandler& onDamaged = {});

}  // namespace vorn
