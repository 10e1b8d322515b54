#pragma once
// A file about to be replaced by the restore first moves to its safety name beside it: the
// name without its last three characters, then "dat" (x.wab becomes x.dat). When that name is
// taken, the next free one ("x (2).dat", "x (3).dat", ...), so no earlier safety copy is lost.
#include <optional>
#include <string>

#include "platform/file_system.h"

namespace vorn {

std::string SafetyName(const std::string& path);
// The safety name the file was moved to; nullopt when it could not be moved (it stays as it was).
std::optional<std::string> MoveToSafetyName(FileSystem& files, const std::string& path);
// Copies source over target, target first kept under its safety name. When the copy fails the
// target is put back. False when target is not the source's copy afterwards.
bool ReplaceKeepingSafetyCopy(FileSystem& files, const std::string& source, const std::string& target);

}  // namespace vorn
