#pragma once
// File system service. Paths are Windows paths in UTF-8 ("C:\Data\x.dbx").
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vorn {

namespace fileattr {
constexpr uint32_t kReadOnly = 0x01;
constexpr uint32_t kHidden = 0x02;
constexpr uint32_t kSystem = 0x04;
constexpr uint32_t kDirectory = 0x10;
constexpr uint32_t kArchive = 0x20;
constexpr uint32_t kNormal = 0x80;
constexpr uint32_t kReparsePoint = 0x400;  // a symbolic link, junction or other reparse point
}  // namespace fileattr

enum class FsResult { Ok, NotFound, AccessDenied, AlreadyExists, Failed };

struct DirEntry {
  std::string name;  // name only, no folder
  bool isDirectory = false;
  uint64_t size = 0;
  uint32_t attributes = 0;
  int64_t modified = 0;  // seconds since 1970-01-01 UTC
};

class InputFile {
 public:
  virtual ~InputFile() = default;
  // Reads up to size bytes; returns the count, 0 at the end; nullopt on a read error.
  virtual std::optional<size_t> Read(void* buffer, size_t size) = 0;
  virtual uint64_t Size() const = 0;
  // Moves the read position to offset bytes from the start; false when this file cannot seek
  // (readers then reopen the file and read forward).
  virtual bool Seek(uint64_t offset) {
    (void)offset;
    return false;
  }
};

class OutputFile {
 public:
  virtual ~OutputFile() = default;
  virtual bool Write(const void* data, size_t size) = 0;
  // Flushes and closes; false when anything written was lost.
  virtual bool Close() = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  virtual bool Exists(const std::string& path) const = 0;
  virtual bool IsDirectory(const std::string& path) const = 0;
  virtual std::optional<uint64_t> FileSize(const std::string& path) const = 0;
  // The attributes of the entry itself: a link reports kReparsePoint and is not followed.
  virtual std::optional<uint32_t> Attributes(const std::string& path) const = 0;
  virtual bool SetAttributes(const std::string& path, uint32_t attributes) = 0;
  virtual std::optional<int64_t> ModifiedTime(const std::string& path) const = 0;
  // A time the file system cannot hold is stored as the nearest one it can.
  virtual bool SetModifiedTime(const std::string& path, int64_t unixSeconds) = 0;
  // Creates one folder; its parent must exist.
  virtual FsResult CreateDirectory(const std::string& path) = 0;
  virtual FsResult RemoveDirectory(const std::string& path) = 0;
  virtual FsResult CopyFile(const std::string& from, const std::string& to, bool overwrite) = 0;
  // Rename or move within a volume; fails when the target exists or lies on another drive.
  virtual FsResult MoveFile(const std::string& from, const std::string& to) = 0;
  // Deletes a file, or a link that is not to a folder: the link itself, never its target (Wine
  // shows a Unix link to a file as that file, and deletes the file).
  virtual FsResult DeleteFile(const std::string& path) = 0;
  // Entries directly in folder whose names match a wildcard pattern ("*", "*.dbx"),
  // matched case-insensitively as Windows does; "." and ".." are never listed.
  virtual std::vector<DirEntry> List(const std::string& folder, const std::string& pattern = "*") const = 0;
  virtual std::unique_ptr<InputFile> OpenRead(const std::string& path) const = 0;
  // Creates or truncates; as on Windows, not a read-only, hidden or system file.
  virtual std::unique_ptr<OutputFile> OpenWrite(const std::string& path) = 0;
  // Creates a file that must not exist yet; never writes through a link. AlreadyExists when the
  // name is taken by anything, a link to nowhere included.
  virtual std::unique_ptr<OutputFile> CreateNewFile(const std::string& path, FsResult& result) = 0;
  // The first folder along the folder path `path`, from `from` on, that is a link, junction or
  // other reparse point; empty when there is none. `from` is `path` or a folder above it; empty,
  // every folder after the drive or share. A folder that is not there ends the search.
  virtual std::string FirstLinkAlong(const std::string& path, const std::string& from) const = 0;
};

}  // namespace vorn
