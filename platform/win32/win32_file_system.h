#pragma once
// The local file system through the wide-character file functions.
#include "platform/file_system.h"

namespace vorn {

class Win32FileSystem : public FileSystem {
 public:
  bool Exists(const std::string& path) const override;
  bool IsDirectory(const std::string& path) const override;
  std::optional<uint64_t> FileSize(const std::string& path) const override;
  std::optional<uint32_t> Attributes(const std::string& path) const override;
  bool SetAttributes(const std::string& path, uint32_t attributes) override;
  std::optional<int64_t> ModifiedTime(const std::string& path) const override;
  bool SetModifiedTime(const std::string& path, int64_t unixSeconds) override;
  FsResult CreateDirectory(const std::string& path) override;
  FsResult RemoveDirectory(const std::string& path) override;
  FsResult CopyFile(const std::string& from, const std::string& to, bool overwrite) override;
  FsResult MoveFile(const std::string& from, const std::string& to) override;
  FsResult DeleteFile(const std::string& path) override;
  std::vector<DirEntry> List(const std::string& folder, const std::string& pattern = "*") const override;
  std::unique_ptr<InputFile> OpenRead(const std::string& path) const override;
  std::unique_ptr<OutputFile> OpenWrite(const std::string& path) override;
  std::unique_ptr<OutputFile> CreateNewFile(const std::string& path, FsResult& result) override;
  std::string FirstLinkAlong(const std::string& path, const std::string& from) const override;
};

}  // namespace vorn
