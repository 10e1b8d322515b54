#pragma once
// The names of a backup set's files and folders below its user folder, and the rule that turns a
// user name into the user folder's name.
#include <string>

namespace vorn {

inline constexpr const char* kBackupInfoFileName = "VornInfo.dat";

// The user name as a folder name: each of / < > ? \ * ; ' becomes "_", and a name of only dots
// and blanks ("..", which would lead out of the destination), or none, becomes "_" for each.
std::string MakeSetFolderName(const std::string& userName);

}  // namespace vorn
