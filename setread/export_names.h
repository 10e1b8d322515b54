#pragma once
// Names of what an export writes below its output folder: one folder or one mbox file per mail
// folder, each a single valid name on Windows (so the export is the same on every system and can
// be copied there), never the name of anything already present.
#include <memory>
#include <optional>
#include <string>

#include "platform/file_system.h"

namespace vorn {

// The folder's name as one name Windows accepts, the way the backup makes a user's name a
// folder's: each character that cannot stand in a name (control characters and \ / : * ? " < > |)
// becomes "_", and so does each dot or blank at the end, which Windows would drop. A name left
// empty or of only dots and blanks becomes "_" for each of its characters, and a device name
// (CON, NUL, COM1 ...) gets a "_" after its stem.
std::string ValidFolderName(const std::string& name);

class ExportNames {
 public:
  ExportNames(FileSystem& files, const std::string& outputFolder);

  // Creates the folder for `name` below the output folder: name, then "name (2)", "name (3)" ...
  // when that is taken. Its path, or nullopt when no folder could be created.
  std::optional<std::string> CreateFolder(const std::string& name);
  // Creates the file name + extension in the same way; its path goes into `path`.
  std::unique_ptr<OutputFile> CreateFile(const std::string& name, const std::string& extension, std::string& path);

 private:
  static constexpr int kMaxTries = 1000;
  std::string Candidate(const std::string& name, int attempt, const std::string& extension) const;

  FileSystem& files_;
  const std::string outputFolder_;
};

}  // namespace vorn
