#pragma once
// Decides from its messages whether a folder file is a news folder or a mail folder, for the
// scan that fills the mail-store tree and its registry cache.
#include <optional>
#include <string>

#include "core/app.h"
#include "dbx/dbx_error.h"
#include "dbx/dbx_file.h"
#include "dbx/folder_damage.h"
#include "platform/file_system.h"

namespace vorn {

struct FolderClassification {
  std::optional<std::string> mailEntry;  // file name with ".dbx", for the mail folder list
  std::optional<std::string> newsEntry;  // file name without ".dbx", for the news folder list
  DbxError error = DbxError::None;       // the file could not be read to its decision
};

// Whether a file of a mail store is a folder file: its name ends in ".dbx" in any case and is none
// of the store's own files "Folders.dbx", "Pop3uidl.dbx" and "Offline.dbx" (exact spelling).
bool IsFolderFileName(const std::string& fileName);

// `path` is the full path of one folder file. An empty folder (header count below 1) is a mail
// folder; otherwise the first record with a direct pointer decides, and a mail record with an
// indirect pointer lists the file as mail on the way. A folder is listed at most once per list.
FolderClassification ClassifyFolderFile(const FileSystem& files, const std::string& path);
// The same over a folder file already open; `name` is its file name with ".dbx".
FolderClassification ClassifyFolderFile(DbxFile& file, const std::string& name);

// "news", "mail", "news and mail" (a mail record came before the deciding news record) or "neither".
const char* FolderKindName(const FolderClassification& folder);

// The message the scan shows for the folder file at `path` that could not be classified, naming
// the file.
Message FolderScanErrorMessage(const std::string& path, DbxError error);
// The message the scan shows instead for a folder file the index reader cannot read whole.
Message FolderDamageMessage(const std::string& path, const FolderDamage& damage);

}  // namespace vorn
