#include "restore/staged_replace.h"

#include <algorithm>

#include "platform/folder_path.h"
#include "platform/text.h"

namespace vorn {
namespace {

constexpr int kFolderAttempts = 1000;

std::string ParentOf(const std::string& path) {
  const size_t slash = path.rfind('\\');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

bool Contains(const std::vector<std::string>& names, const std::string& name) {
  // Names compare as the file system does, without regard to case.
  return std::any_of(names.begin(), names.end(), [&](const std::string& n) { return EqualsIgnoringAsciiCase(n, name); });
}

// Moves the read-only files below from to the same places below to; true when none is left.
bool PutBackReadOnly(FileSystem& files, const std::string& from, const std::string& to) {
  bool all = true;
  for (const auto& entry : files.List(from, "*")) {
    const std::string source = from + "\\" + entry.name;
    const std::string target = to + "\\" + entry.name;
    if (entry.isDirectory) {
      if (!files.IsDirectory(target) && files.CreateDirectory(target) != FsResult::Ok) {
        all = false;
        continue;
      }
      all = PutBackReadOnly(files, source, target) && all;
      // A folder made only for files that were not read-only goes again.
      if (files.List(target, "*").empty()) files.RemoveDirectory(target);
    } else if (entry.attributes & fileattr::kReadOnly) {
      if (!files.IsDirectory(target)) files.DeleteFile(target);
      if (files.MoveFile(source, target) != FsResult::Ok) all = false;
    }
  }
  return all;
}

}  // namespace

FolderBeside CreateFolderBeside(FileSystem& files, const std::string& path, const std::string& tag) {
  // The folder replaced and the one beside it are entered: neither may be a link.
  const std::string parent = ParentOf(path);
  if (!parent.empty()) {
    const RealFolder folder = CreateRealFolderPath(files, parent, parent);
    if (!folder.ready) return {{}, folder.link};
  }
  if (std::string link = files.FirstLinkAlong(path, path); !link.empty()) return {{}, std::move(link)};
  for (int n = 1; n <= kFolderAttempts; ++n) {
    const std::string candidate = path + tag + std::to_string(n);
    const FsResult made = files.CreateDirectory(candidate);
    if (made == FsResult::Ok) return {candidate, {}};
    if (made != FsResult::AlreadyExists) return {};
  }
  return {};
}

StagedReplace::StagedReplace(FileSystem& files, std::string target) : files_(files), target_(std::move(target)) {
  FolderBeside staging = CreateFolderBeside(files_, target_, "~vorn-new");
  staging_ = std::move(staging.path);
  link_ = std::move(staging.link);
}

StagedReplace::~StagedReplace() {
  if (!staging_.empty()) DeleteTree(files_, staging_);
}

bool StagedReplace::Commit(const std::vector<std::string>& replaced, bool keepReadOnly) {
  if (staging_.empty()) return false;
  if (!files_.IsDirectory(target_) && files_.CreateDirectory(target_) != FsResult::Ok) return false;
  std::vector<std::string> incoming;
  for (const auto& entry : files_.List(staging_, "*")) incoming.push_back(entry.name);
  std::vector<std::string> leaving;
  for (const auto& entry : files_.List(target_, "*"))
    if (Contains(replaced, entry.name) || Contains(incoming, entry.name)) leaving.push_back(entry.name);

  const std::string holding = leaving.empty() ? std::string() : CreateFolderBeside(files_, target_, "~vorn-old").path;
  if (!leaving.empty() && holding.empty()) return false;
  std::vector<std::string> held, moved;
  bool ok = true;
  for (const auto& name : leaving) {
    if (files_.MoveFile(target_ + "\\" + name, holding + "\\" + name) != FsResult::Ok) {
      ok = false;
      break;
    }
    held.push_back(name);
  }
  for (size_t i = 0; ok && i < incoming.size(); ++i) {
    if (files_.MoveFile(staging_ + "\\" + incoming[i], target_ + "\\" + incoming[i]) != FsResult::Ok) {
      ok = false;
      break;
    }
    moved.push_back(incoming[i]);
  }
  if (ok) {
    if (holding.empty()) return true;
    if (keepReadOnly && !PutBackReadOnly(files_, holding, target_))
      unrestored_ = holding;  // what could not go back stays where it can be found
    else
      DeleteTree(files_, holding);
    return true;
  }
  for (auto name = moved.rbegin(); name != moved.rend(); ++name)
    files_.MoveFile(target_ + "\\" + *name, staging_ + "\\" + *name);
  for (auto name = held.rbegin(); name != held.rend(); ++name)
    files_.MoveFile(holding + "\\" + *name, target_ + "\\" + *name);
  // Whatever could not go back stays in the holding folder rather than being lost.
  if (!holding.empty() && files_.RemoveDirectory(holding) != FsResult::Ok) unrestored_ = holding;
  return false;
}

}  // namespace vorn
