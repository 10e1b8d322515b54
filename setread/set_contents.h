#pragma once
// What a backup set holds, for a look at it without the mail program: its files and each mail
// folder with its kind, message count and size.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "dbx/dbx_error.h"
#include "dbx/folder_damage.h"
#include "platform/file_system.h"
#include "setread/set_mail.h"

namespace vorn {

struct SetFileEntry {
  std::string path;    // below the user folder: "Reg\OE.reg"; a folder summed up ends with "\"
  uint64_t bytes = 0;
  size_t files = 1;    // files of a folder summed up
};

// The files at the top of the set and in its "Reg" and "Wab" folders one by one; every other
// folder ("Mail", "Favorites", an extraction's "Eml_Nws") summed up with the files below it.
std::vector<SetFileEntry> ListSetFiles(const FileSystem& files, const std::string& userFolder);

struct SetFolderSummary {
  SetFolderFile file;
  std::string kind;           // "mail", "news", "news and mail" or "neither", as the folder scan decides
  int32_t messageCount = 0;   // the folder file's header count
  DbxError error = DbxError::None;  // the folder file could not be read to its decision
  FolderDamage damage;        // the index reader cannot read it whole: what recovery finds
  std::string memberDamage;   // the archive member's bytes are not the ones that were packed
};

// Each folder file of the set's mail, reported as soon as it is read (archive members are
// unpacked in passing, to check them). Returns why the archive's further members could not be
// found, or empty.
std::string SummarizeSetMail(SetMailFolders& mail, const std::function<void(const SetFolderSummary&)>& each);

}  // namespace vorn
