#include "restore/safety_copy.h"

namespace vorn {
namespace {
constexpr int kSafetyNameAttempts = 1000;
}  // namespace

std::string SafetyName(const std::string& path) {
  return path.substr(0, path.size() < 3 ? 0 : path.size() - 3) + "dat";
}

std::optional<std::string> MoveToSafetyName(FileSystem& files, const std::string& path) {
  const std::string first = SafetyName(path);
  const std::string stem = first.substr(0, first.size() - 4);  // without ".dat"
  for (int n = 1; n <= kSafetyNameAttempts; ++n) {
    const std::string candidate = n == 1 ? first : stem + " (" + std::to_string(n) + ").dat";
    if (files.Exists(candidate)) continue;
    switch (files.MoveFile(path, candidate)) {
      case FsResult::Ok: return candidate;
      case FsResult::AlreadyExists: continue;
      default: return std::nullopt;
    }
  }
  return std::nullopt;
}

bool ReplaceKeepingSafetyCopy(FileSystem& files, const std::string& source, const std::string& target) {
  std::optional<std::string> safety;
  if (files.Exists(target)) {
    safety = MoveToSafetyName(files, target);
    if (!safety) return false;
  }
  if (files.CopyFile(source, target, false) == FsResult::Ok) return true;
  files.DeleteFile(target);
  if (safety) files.MoveFile(*safety, target);
  return false;
}

}  // namespace vorn
