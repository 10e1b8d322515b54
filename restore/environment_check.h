#pragma once
// Compares the system and Outlook Express version a set was taken on with the running ones.
#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace vorn {

struct BackupEnvironmentCheck {
  bool match = false;
  // The information file's fields for the backup information dialog; nullopt without a file.
  std::optional<std::vector<std::string>> fields;
};

// A set from the same family (2000 or XP on the 2000 family, 98 or Me on the 98 family) sets
// sameOsFamily, from the other one clears it; it matches when the OE version text is the same
// as well. Without an information file it counts as different and sameOsFamily is untouched.
BackupEnvironmentCheck CheckBackupEnvironment(const FileSystem& files, const std::string& infoPath,
                                              const std::string& osFamily, const std::string& oeVersion,
                                              bool& sameOsFamily);

}  // namespace vorn
