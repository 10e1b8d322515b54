#include "lha/unlha_files.h"

#include <atomic>
#include <cstdint>
#include <cstdio>

namespace vorn::unlha {
namespace {

constexpr int kNameAttempts = 256;

// "~vr1a2b.tmp": eleven characters, from a sequence that starts where a stack address points, so
// that runs at the same time rarely try the same names; a name that is taken is simply passed over.
std::string FreshName() {
  static std::atomic<uint32_t> next{[] {
    int here = 0;
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&here) >> 4);
  }()};
  char name[16];
  std::snprintf(name, sizeof name, "~vr%04x.tmp", static_cast<unsigned>((next++ * 40503u) & 0xFFFF));
  return name;
}

}  // namespace

std::string WithoutTrailingBackslash(std::string folder) {
  while (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
  return folder;
}

std::string Join(const std::string& folder, const std::string& name) {
  return folder.back() == '\\' ? folder + name : folder + "\\" + name;
}

std::string FolderOf(const std::string& path) {
  const size_t cut = path.find_last_of('\\');
  if (cut == std::string::npos) return path;
  return cut <= 2 ? path.substr(0, cut + 1) : path.substr(0, cut);
}

std::unique_ptr<TempFile> TempFile::Create(FileSystem& files, const std::string& folder) {
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    const std::string path = Join(folder, FreshName());
    FsResult result = FsResult::Failed;
    auto out = files.CreateNewFile(path, result);
    if (out) return std::unique_ptr<TempFile>(new TempFile(files, path, std::move(out)));
    if (result != FsResult::AlreadyExists) return nullptr;
  }
  return nullptr;
}

TempFile::TempFile(FileSystem& files, std::string path, std::unique_ptr<OutputFile> out)
    : files_(files), path_(std::move(path)), out_(std::move(out)) {}

TempFile::~TempFile() {
  if (out_) out_->Close();
  if (ours_) files_.DeleteFile(path_);
}

bool TempFile::Close() {
  const bool closed = out_ && out_->Close();
  out_.reset();
  return closed;
}

bool TempFile::MoveTo(const std::string& target, std::string* leftOver) {
  if (out_ || !ReplaceFile(files_, path_, target, leftOver)) return false;
  ours_ = false;
  return true;
}

bool ReplaceFile(FileSystem& files, const std::string& from, const std::string& target, std::string* leftOver) {
  if (!files.Attributes(target)) return files.MoveFile(from, target) == FsResult::Ok;
  std::string aside;
  for (int attempt = 0; attempt < kNameAttempts && aside.empty(); ++attempt) {
    const std::string candidate = Join(FolderOf(target), FreshName());
    const FsResult moved = files.MoveFile(target, candidate);
    if (moved == FsResult::Ok) aside = candidate;
    else if (moved != FsResult::AlreadyExists) return false;
  }
  if (aside.empty()) return false;
  if (files.MoveFile(from, target) != FsResult::Ok) {
    files.MoveFile(aside, target);
    return false;
  }
  auto attributes = files.Attributes(aside);
  if (attributes && (*attributes & fileattr::kReadOnly)) files.SetAttributes(aside, *attributes & ~fileattr::kReadOnly);
  if (files.DeleteFile(aside) != FsResult::Ok && leftOver) *leftOver = aside;
  return true;
}

}  // namespace vorn::unlha
