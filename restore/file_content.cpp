#include "restore/file_content.h"

namespace vorn {
namespace {

constexpr int kNameAttempts = 100;

// A name beside path that nothing uses yet.
std::string FreeNameBeside(const FileSystem& files, const std::string& path, const std::string& tag) {
  for (int n = 0; n < kNameAttempts; ++n) {
    std::string candidate = path + "." + tag + std::to_string(n);
    if (!files.Exists(candidate)) return candidate;
  }
  return {};
}

}  // namespace

bool ReplaceFileContent(FileSystem& files, const std::string& path, const std::string& bytes) {
  // A read-only file is one its owner does not want changed.
  if (files.Attributes(path).value_or(0) & fileattr::kReadOnly) return false;
  const std::string fresh = FreeNameBeside(files, path, "new");
  if (fresh.empty()) return false;
  auto output = files.OpenWrite(fresh);
  if (!output) return false;
  const bool written = output->Write(bytes.data(), bytes.size());
  if (!output->Close() || !written) {
    files.DeleteFile(fresh);
    return false;
  }
  if (!files.Exists(path)) {
    if (files.MoveFile(fresh, path) == FsResult::Ok) return true;
    files.DeleteFile(fresh);
    return false;
  }
  // The old content steps aside until the new one is in its place.
  const std::string old = FreeNameBeside(files, path, "old");
  if (old.empty() || files.MoveFile(path, old) != FsResult::Ok) {
    files.DeleteFile(fresh);
    return false;
  }
  if (files.MoveFile(fresh, path) != FsResult::Ok) {
    files.MoveFile(old, path);
    files.DeleteFile(fresh);
    return false;
  }
  files.DeleteFile(old);
  return true;
}

}  // namespace vorn
