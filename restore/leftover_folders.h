#pragma once
// Folders an interrupted restore leaves beside a Store Root: a power cut between moving the old
// mail out (into "~vorn-old") and the new one in (from "~vorn-new") leaves both on disk. They
// are found and named at start-up, and never deleted by the program.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace vorn {

struct LeftoverFolder {
  std::string path;
  bool formerMail = false;  // "~vorn-old": the mail the Store Root held before the restore
  size_t files = 0;
  uint64_t bytes = 0;
};

std::vector<LeftoverFolder> FindLeftoverFolders(const FileSystem& files, const std::string& storeRoot);
// The start-up message naming each folder and what it holds.
std::string LeftoverFoldersText(const std::vector<LeftoverFolder>& folders);

}  // namespace vorn
