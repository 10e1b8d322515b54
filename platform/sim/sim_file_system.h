#pragma once
// A file system over a host folder: the Windows path "C:\Data\x" is <host>/C/Data/x.
// Names resolve without regard to case, as on Windows. Host symbolic links are the links
// (reparse points). Attributes other than the folder and link bits live in memory; a read-only file refuses writes, renames and deletion.
#include <filesystem>
#include <map>
#include <set>
#include <unordered_map>

#include "platform/file_system.h"

namespace vorn {

class SimFileSystem : public FileSystem {
 public:
  explicit SimFileSystem(std::filesystem::path hostRoot);

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
  std::vector<DirEntry> List(const std::string& folder, const std::string& pattern) const override;
  std::unique_ptr<InputFile> OpenRead(const std::string& path) const override;
  std::unique_ptr<OutputFile> OpenWrite(const std::string& path) override;
  std::unique_ptr<OutputFile> CreateNewFile(const std::string& path, FsResult& result) override;
  std::string FirstLinkAlong(const std::string& path, const std::string& from) const override;

  // The host file behind a Windows path (for tests and tools); empty when the path is not absolute.
  std::filesystem::path HostPath(const std::string& windowsPath) const;
  // Test helper: the file is held open by another program, so renaming or deleting it is denied.
  void MarkInUse(const std::string& path);

 private:
  // Names of one host folder by their upper-case form, as of the folder's modification time.
  // Another program's change within the same tick of that time is found by its exact name only.
  struct FolderIndex {
    std::filesystem::file_time_type stamp;
    std::unordered_map<std::string, std::string> byUpperName;
    uint64_t lastUse = 0;
  };
  // Folders indexed at most; the one used least recently goes first, so that writing many files
  // into folder after folder holds the names of only a few of them in memory.
  static constexpr size_t kIndexedFolders = 8;
  // The entry of `folder` named `name`, matched exactly first and then without regard to case.
  std::filesystem::path Resolve(const std::filesystem::path& folder, const std::string& name) const;
  void NoteChange(const std::filesystem::path& host, bool added);
  bool Locked(const std::filesystem::path& host) const;
  std::filesystem::path root_;
  std::map<std::filesystem::path, uint32_t> attributes_;
  std::set<std::filesystem::path> inUse_;
  mutable std::map<std::filesystem::path, FolderIndex> folderIndex_;
  mutable uint64_t indexUses_ = 0;
};

}  // namespace vorn
