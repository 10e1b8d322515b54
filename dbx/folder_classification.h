#pragma once
// Decides from its messages whether a folder file is a news folder or a mail folder, for the
// scan that fills the mail-store tree and its registry cache.
#include <optional>
#include <string>

#include "dbx/dbx_error.h"
#include "platform/file_system.h"
#include "platform/ui_services.h"

namespace vorn {

struct FolderClassification {
  std::optional<std::string> mailEntry;  // file name with ".dbx", for the mail folder list
  std::optional<std::string> newsEntry;  // file name without ".dbx", for the news folder list
  DbxError error = DbxError::None;       // the file could not be read to its decision
};

// `path` is the full path of one folder file. An empty folder (header count below 1) is a mail
// folder; otherwise the first record with a direct pointer decides, and a mail record with an
// indirect pointer lists the file as mail on the way. A folder is listed at most once per list.
FolderClassification ClassifyFolderFile(const FileSystem& files, const std::string& path);

// The message the scan shows for the folder file at `path` that could not be classified, naming
// the file; `helpFile` is the program's help file.
MessageSpec FolderScanErrorMessage(const std::string& path, DbxError error, const std::string& helpFile);

}  // namespace vorn
