#include "tools/file_moves.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace vorn {
namespace {

std::string Comparable(const std::string& path) {
  std::string text = path;
  while (text.size() > 1 && text.back() == '\\') text.pop_back();
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

bool IsLink(const DirEntry& entry) { return entry.attributes & fileattr::kReparsePoint; }

}  // namespace

bool SamePath(const std::string& a, const std::string& b) { return Comparable(a) == Comparable(b); }

bool PathIsWithin(const std::string& path, const std::string& folder) {
  const std::string p = Comparable(path), f = Comparable(folder);
  if (p.compare(0, f.size(), f) != 0) return false;
  return p.size() == f.size() || f.back() == '\\' || p[f.size()] == '\\';
}

std::string UnusedPath(const FileSystem& files, const std::string& path) {
  std::string candidate = path;
  for (int n = 2; files.Exists(candidate); ++n) candidate = path + std::to_string(n);
  return candidate;
}

std::string FreeName(const FileSystem& files, const std::string& folder, const std::string& name, bool isFolder) {
  const size_t dot = isFolder ? std::string::npos : name.rfind('.');
  const std::string stem = dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
  const std::string extension = stem.size() == name.size() ? "" : name.substr(stem.size());
  std::string candidate = name;
  for (int n = 2; files.Exists(folder + "\\" + candidate); ++n)
    candidate = stem + " (" + std::to_string(n) + ")" + extension;
  return candidate;
}

bool SameContent(const FileSystem& files, const std::string& a, const std::string& b) {
  auto left = files.OpenRead(a);
  auto right = files.OpenRead(b);
  if (!left || !right || left->Size() != right->Size()) return false;
  std::vector<char> x(64 * 1024), y(64 * 1024);
  for (;;) {
    auto got = left->Read(x.data(), x.size());
    if (!got) return false;
    if (*got == 0) return true;
    size_t filled = 0;
    while (filled < *got) {
      auto more = right->Read(y.data() + filled, *got - filled);
      if (!more || *more == 0) return false;
      filled += *more;
    }
    if (!std::equal(x.begin(), x.begin() + static_cast<std::ptrdiff_t>(*got), y.begin())) return false;
  }
}

FsResult CopyFileVerified(FileSystem& files, const std::string& from, const std::string& to) {
  if (files.Exists(to)) return FsResult::AlreadyExists;
  FsResult copied = files.CopyFile(from, to, false);
  if (copied == FsResult::Ok && SameContent(files, from, to)) return FsResult::Ok;
  // Whatever a failed copy left at the free name is ours to remove.
  if (files.Exists(to)) DeleteFileForced(files, to);
  return copied == FsResult::Ok ? FsResult::Failed : copied;
}

FsResult CopyTreeVerified(FileSystem& files, const std::string& from, const std::string& to) {
  if (const auto attributes = files.Attributes(from); attributes && (*attributes & fileattr::kReparsePoint))
    return FsResult::Failed;
  if (FsResult made = files.CreateDirectory(to); made != FsResult::Ok) return made;
  for (const auto& entry : files.List(from, "*")) {
    const std::string source = from + "\\" + entry.name, target = to + "\\" + entry.name;
    FsResult copied = IsLink(entry)        ? FsResult::Failed
                      : entry.isDirectory ? CopyTreeVerified(files, source, target)
                                          : CopyFileVerified(files, source, target);
    if (copied != FsResult::Ok) {
      DeleteTree(files, to);
      return copied;
    }
  }
  return FsResult::Ok;
}

FsResult DeleteFileForced(FileSystem& files, const std::string& path) {
  auto attributes = files.Attributes(path);
  if (attributes && (*attributes & fileattr::kReadOnly)) files.SetAttributes(path, *attributes & ~fileattr::kReadOnly);
  FsResult deleted = files.DeleteFile(path);
  if (deleted != FsResult::Ok && attributes) files.SetAttributes(path, *attributes);
  return deleted;
}

}  // namespace vorn
