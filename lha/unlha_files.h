#pragma once
// The Unlha run's dealings with files: paths, streams over files, temporary files of its own and
// the replacement of an existing file.
#include <memory>
#include <string>

#include "lha/codec/byte_stream.h"
#include "platform/file_system.h"

namespace vorn::unlha {

// Windows bounds a path at MAX_PATH (260 with its NUL) for the ANSI functions the program uses:
// 259 bytes in code page 932. A folder's path leaves room for a file name of 8.3 form, as
// CreateDirectory demands.
constexpr size_t kMaxPathBytes = 259;
constexpr size_t kMaxFolderPathBytes = 247;

std::string WithoutTrailingBackslash(std::string folder);
std::string Join(const std::string& folder, const std::string& name);
// The folder part of a path, up to its last "\".
std::string FolderOf(const std::string& path);

class FileSource : public lha::ByteSource {
 public:
  explicit FileSource(std::unique_ptr<InputFile> file) : file_(std::move(file)) {}
  std::optional<size_t> Read(void* buffer, size_t size) override { return file_->Read(buffer, size); }

 private:
  std::unique_ptr<InputFile> file_;
};

class FileSink : public lha::ByteSink {
 public:
  explicit FileSink(OutputFile& file) : file_(file) {}
  bool Write(const void* data, size_t size) override { return file_.Write(data, size); }

 private:
  OutputFile& file_;
};

// A file of the run's own, created under a name nobody else holds in `folder` (short, so that it
// fits wherever a file may go). It is deleted with the object unless it was moved into place.
class TempFile {
 public:
  static std::unique_ptr<TempFile> Create(FileSystem& files, const std::string& folder);
  ~TempFile();
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  const std::string& path() const { return path_; }
  OutputFile& out() { return *out_; }
  // Flushes and closes; false when anything written was lost.
  bool Close();
  // Puts the closed file in place of `target` (see ReplaceFile); it is then no longer ours.
  bool MoveTo(const std::string& target, std::string* leftOver);

 private:
  TempFile(FileSystem& files, std::string path, std::unique_ptr<OutputFile> out);
  FileSystem& files_;
  std::string path_;
  std::unique_ptr<OutputFile> out_;
  bool ours_ = true;
};

// Moves `from` to `target`. An existing target is first moved aside under a fresh name and
// removed only once the new file is in its place; when that fails it is put back, so nothing
// is lost. A read-only target is replaced too. Should the old file not go away, its name is
// left in `leftOver`.
bool ReplaceFile(FileSystem& files, const std::string& from, const std::string& target, std::string* leftOver);

}  // namespace vorn::unlha
