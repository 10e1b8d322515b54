#pragma once
// The folder files of a backup set's mail data, one after the other: the members of "Mail.lzh",
// each read where it lies in the archive, or the files of the "Mail" folder.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "dbx/dbx_file.h"
#include "lha/archive_members.h"
#include "platform/file_system.h"

namespace vorn {

struct SetFolderFile {
  std::string fileName;  // "受信トレイ.dbx"
  std::string name;      // as the archive or the folder names it: the member's path, the file's name
  std::string label;     // where it is, for messages: "Mail.lzh: 受信トレイ.dbx" or "Mail\受信トレイ.dbx"
  uint64_t size = 0;
};

class SetMailFolders {
 public:
  // The set's "Mail.lzh" when it has one (as the restore takes it), else its "Mail" folder; null
  // when it has neither.
  static std::unique_ptr<SetMailFolders> Open(const FileSystem& files, const std::string& userFolder);
  ~SetMailFolders();

  // "Mail.lzh" or "Mail".
  const std::string& sourceName() const { return sourceName_; }
  // The number of folder files, known before they are read.
  size_t count() const { return count_; }

  enum class Step { Folder, End, Damaged };
  // The next folder file. Damaged: the archive's next header cannot be read, so its further
  // members cannot be found (see problem()).
  Step Next(SetFolderFile& folder);
  // The current folder file; null when it cannot be opened.
  std::unique_ptr<DbxFile> OpenFolder();
  // Once the current folder file was read: why its bytes are not the ones that were saved (a
  // damaged archive member), or empty. Unpacks what was not read yet to find out.
  std::string Damage();
  // Why the last step was Damaged.
  const std::string& problem() const { return problem_; }

 private:
  SetMailFolders(const FileSystem& files, std::string sourceName);
  bool NextMember(unlha::MemberInfo& member);

  const FileSystem& files_;
  const std::string sourceName_;
  size_t count_ = 0;
  std::string problem_;
  // A plain copy: the folder files' paths, in order.
  std::string copyFolder_;
  std::vector<std::string> copyNames_;
  size_t nextCopy_ = 0;
  // An archive.
  std::unique_ptr<unlha::ArchiveMembers> members_;
  std::string lastMember_;
  std::unique_ptr<unlha::MemberData> data_;
  std::string currentPath_;
};

}  // namespace vorn
