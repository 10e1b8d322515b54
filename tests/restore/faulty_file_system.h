#pragma once
// A file system that passes everything to another one until a fault the test sets in: the disk
// fills up after a number of bytes, a rename is refused, or a folder lies on a read-only medium.
#include <functional>
#include <optional>

#include "platform/file_system.h"

namespace vorn {

class FaultyFileSystem : public FileSystem {
 public:
  explicit FaultyFileSystem(FileSystem& inner) : inner_(inner) {}

  // Bytes that can still be written (by file writes and copies) before the disk is full.
  std::optional<uint64_t> freeBytes;
  // Asked before every rename; true refuses it with access denied.
  std::function<bool(const std::string& from, const std::string& to)> refuseMove;
  int writesRefused = 0;
  // Nothing below this folder can be created, changed or removed.
  std::string readOnlyBelow;

  bool Exists(const std::string& p) const override { return inner_.Exists(p); }
  bool IsDirectory(const std::string& p) const override { return inner_.IsDirectory(p); }
  std::optional<uint64_t> FileSize(const std::string& p) const override { return inner_.FileSize(p); }
  std::optional<uint32_t> Attributes(const std::string& p) const override { return inner_.Attributes(p); }
  bool SetAttributes(const std::string& p, uint32_t a) override { return !Locked(p) && inner_.SetAttributes(p, a); }
  std::optional<int64_t> ModifiedTime(const std::string& p) const override { return inner_.ModifiedTime(p); }
  bool SetModifiedTime(const std::string& p, int64_t t) override { return inner_.SetModifiedTime(p, t); }
  FsResult CreateDirectory(const std::string& p) override {
    return Locked(p) ? FsResult::AccessDenied : inner_.CreateDirectory(p);
  }
  FsResult RemoveDirectory(const std::string& p) override {
    return Locked(p) ? FsResult::AccessDenied : inner_.RemoveDirectory(p);
  }
  FsResult CopyFile(const std::string& from, const std::string& to, bool overwrite) override {
    if (Locked(to)) return FsResult::AccessDenied;
    if (!Take(inner_.FileSize(from).value_or(0))) return FsResult::Failed;
    return inner_.CopyFile(from, to, overwrite);
  }
  FsResult MoveFile(const std::string& from, const std::string& to) override {
    if ((refuseMove && refuseMove(from, to)) || Locked(from) || Locked(to)) return FsResult::AccessDenied;
    return inner_.MoveFile(from, to);
  }
  FsResult DeleteFile(const std::string& p) override { return Locked(p) ? FsResult::AccessDenied : inner_.DeleteFile(p); }
  std::vector<DirEntry> List(const std::string& folder, const std::string& pattern) const override {
    return inner_.List(folder, pattern);
  }
  std::unique_ptr<InputFile> OpenRead(const std::string& p) const override { return inner_.OpenRead(p); }
  std::unique_ptr<OutputFile> OpenWrite(const std::string& p) override {
    if (Locked(p)) return nullptr;
    auto file = inner_.OpenWrite(p);
    if (!file) return nullptr;
    return std::make_unique<Output>(std::move(file), *this);
  }
  std::unique_ptr<OutputFile> CreateNewFile(const std::string& p, FsResult& result) override {
    if (Locked(p)) {
      result = FsResult::AccessDenied;
      return nullptr;
    }
    auto file = inner_.CreateNewFile(p, result);
    if (!file) return nullptr;
    return std::make_unique<Output>(std::move(file), *this);
  }
  std::string FirstLinkAlong(const std::string& p, const std::string& from) const override {
    return inner_.FirstLinkAlong(p, from);
  }

 private:
  class Output : public OutputFile {
   public:
    Output(std::unique_ptr<OutputFile> inner, FaultyFileSystem& owner) : inner_(std::move(inner)), owner_(owner) {}
    bool Write(const void* data, size_t size) override {
      if (!owner_.Take(size)) {
        lost_ = true;
        return false;
      }
      return inner_->Write(data, size);
    }
    bool Close() override { return inner_->Close() && !lost_; }

   private:
    std::unique_ptr<OutputFile> inner_;
    FaultyFileSystem& owner_;
    bool lost_ = false;
  };

  bool Locked(const std::string& p) const {
    return !readOnlyBelow.empty() && p.size() > readOnlyBelow.size() && p.compare(0, readOnlyBelow.size(), readOnlyBelow) == 0 &&
           p[readOnlyBelow.size()] == '\\';
  }

  bool Take(uint64_t size) {
    if (!freeBytes) return true;
    if (size > *freeBytes) {
      *freeBytes = 0;
      ++writesRefused;
      return false;
    }
    *freeBytes -= size;
    return true;
  }

  FileSystem& inner_;
};

}  // namespace vorn
