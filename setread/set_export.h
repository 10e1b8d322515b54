#pragma once
// A backup set's mail exported without the mail program: every folder's messages as the window's
// extraction writes them (numbered .eml and .nws files in one folder per mail folder), or as one
// mbox file per folder. Nothing already in the output folder is written over.
#include <cstdint>
#include <string>
#include <vector>

#include "dbx/dbx_error.h"
#include "platform/file_system.h"

namespace vorn {

enum class ExportForm { MessageFiles, Mbox };

struct ExportedFolder {
  std::string label;    // where the folder file is in the set ("Mail.lzh: 受信トレイ.dbx")
  std::string output;   // the folder or mbox file written for it; empty when nothing was kept
  int32_t messages = 0; // messages written
  // The folder file could not be read to its end; what was written before stays, as the
  // window's extraction keeps it.
  DbxError error = DbxError::None;
  // The index could not be read and the messages were recovered from their block chains instead.
  bool recovered = false;
  int32_t cut = 0;      // recovered messages whose chain broke, written up to the break
  int32_t deleted = 0;  // freed messages recovered below "deleted"
  // The archive member's bytes are not the ones that were packed; nothing of it is kept.
  std::string memberDamage;
  bool Whole() const { return error == DbxError::None && memberDamage.empty(); }
};

struct SetExportOutcome {
  bool isSet = false;
  bool hasMail = false;
  bool outputCreated = false;
  std::string outputLink;  // the output folder is a link (never written through); empty when not
  std::vector<ExportedFolder> folders;
  std::string archiveProblem;  // the archive's further members could not be found
  bool Complete() const;
};

class SetExportProgress {
 public:
  virtual ~SetExportProgress() = default;
  virtual void Update(size_t foldersDone, size_t folders, int64_t messages) = 0;
};

// `userFolder` is the set's user folder; `outputFolder` is created when missing. A folder file
// whose header counts no message is listed with nothing written, as the extraction writes nothing.
SetExportOutcome ExportSetMail(FileSystem& files, const std::string& userFolder, const std::string& outputFolder,
                               ExportForm form, SetExportProgress& progress);

}  // namespace vorn
