#pragma once
// Extraction of every message of one folder file into numbered raw message files: mail as
// ".eml", news as ".nws", each kind numbered from 00000 in index order.
#include <cstdint>
#include <string>

#include "dbx/dbx_error.h"
#include "dbx/dbx_file.h"
#include "dbx/dbx_reader.h"
#include "platform/file_system.h"
#include "platform/ui_services.h"

namespace vorn {

// Drives the options window's progress bar during a run.
class ExtractionProgress {
 public:
  virtual ~ExtractionProgress() = default;
  // The bar appears with the header's message count as its maximum.
  virtual void Begin(int32_t maximum) = 0;
  // Message files closed so far; never below 0 nor above the maximum given to Begin.
  virtual void Update(int32_t value) = 0;
  // The run is over; `named` is the number of file names made. The window lifts a bar whose
  // value is below `named` to its message-count label, then hides it.
  virtual void End(int32_t named) = 0;
};

// The run's counters, 16-bit as the program keeps them: a run ends when one would pass 32,767.
struct ExtractionCounters {
  int16_t written = 0;  // message files closed
  int16_t news = 0;     // next ".nws" number
  int16_t mail = 0;     // next ".eml" number
  int32_t Named() const { return int32_t{news} + mail; }
};

struct ExtractionResult {
  int32_t messageCount = 0;  // the header's count; 0 when the file could not be read
  ExtractionCounters counters;
  DbxError error = DbxError::None;  // why the run ended early
};

// "00007.eml", "00123.nws": the last five characters of "0000" followed by the number.
std::string MessageFileName(int16_t number, MessageKind kind);

// The per-message loop over an open folder file; `outputFolder` ends with "\".
DbxError ExtractMessages(DbxFile& file, FileSystem& files, const std::string& outputFolder, int32_t progressMaximum,
                         ExtractionProgress& progress, ExtractionCounters& counters);

// Opens the folder file, reads its count, starts the progress and, when the count is not 0,
// extracts its messages into `outputFolder` (ending with "\"). Used by ExtractFolder and vorn-cli.
ExtractionResult ExtractFile(FileSystem& files, const std::string& folderFilePath, const std::string& outputFolder,
                             ExtractionProgress& progress);
// The same over a folder file already open (a member of an archive, for instance).
ExtractionResult ExtractFile(DbxFile& file, FileSystem& files, const std::string& outputFolder,
                             ExtractionProgress& progress);

// What a Convert run needs from the options window, the identity and the settings.
struct ExtractFolderRequest {
  std::string storeRoot;           // Store Root shown in the options window
  std::string hotmailAccountName;  // the selected identity's Hotmail account name; may be empty
  std::string folderName;          // text of the selected folder node
  std::string backupPath;          // the backup destination setting
  std::string userFolderName;      // the chosen user's name after MakeSetFolderName
};

// The folder name as one safe path component below "Eml_Nws": characters Windows does not allow in
// a name (the separators among them) become "_", and a name of only dots and blanks, which would
// name "Eml_Nws" itself or its parent, becomes as many "_".
std::string ExtractionFolderName(const std::string& folderName);
// BackupPath\user\Eml_Nws\folder\ (with the trailing "\"), the folder name made safe.
std::string ExtractionOutputFolder(const std::string& backupPath, const std::string& userFolderName,
                                   const std::string& folderName);

// The Hotmail account's copy of a folder ("Account - folder.dbx") when it exists, else "folder.dbx".
std::string ResolveFolderFile(const FileSystem& files, const std::string& storeRoot,
                              const std::string& hotmailAccountName, const std::string& folderName);

// One Convert run over the selected folder, ending with the completion message and a beep; a run
// that ended early says why and which file it could not read or write.
ExtractionResult ExtractFolder(FileSystem& files, UiServices& ui, const ExtractFolderRequest& request,
                               ExtractionProgress& progress);

}  // namespace vorn
