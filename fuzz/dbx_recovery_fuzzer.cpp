// Recovers the messages of an arbitrary folder file into a file system that only counts what is
// written: the pass must end and write no more than the file holds (plus a line end per message).
// The index check and the counting pass of the folder scan run on it too, and count what was written.
#include <cstdlib>
#include <vector>

#include "dbx/folder_damage.h"
#include "dbx/message_recovery.h"
#include "fuzz/counting_output.h"
#include "tests/dbx/memory_files.h"

namespace {

size_t written = 0;

class CountingFiles : public vorn::FileSystem {
 public:
  bool Exists(const std::string&) const override { return false; }
  bool IsDirectory(const std::string&) const override { return true; }
  std::optional<uint64_t> FileSize(const std::string&) const override { return std::nullopt; }
  std::optional<uint32_t> Attributes(const std::string&) const override { return std::nullopt; }
  bool SetAttributes(const std::string&, uint32_t) override { return true; }
  std::optional<int64_t> ModifiedTime(const std::string&) const override { return std::nullopt; }
  bool SetModifiedTime(const std::string&, int64_t) override { return true; }
  vorn::FsResult CreateDirectory(const std::string&) override { return vorn::FsResult::Ok; }
  vorn::FsResult RemoveDirectory(const std::string&) override { return vorn::FsResult::Ok; }
  vorn::FsResult CopyFile(const std::string&, const std::string&, bool) override { return vorn::FsResult::Ok; }
  vorn::FsResult MoveFile(const std::string&, const std::string&) override { return vorn::FsResult::Ok; }
  vorn::FsResult DeleteFile(const std::string&) override { return vorn::FsResult::Ok; }
  std::string FirstLinkAlong(const std::string&, const std::string&) const override { return {}; }
  std::vector<vorn::DirEntry> List(const std::string&, const std::string&) const override { return {}; }
  std::unique_ptr<vorn::InputFile> OpenRead(const std::string&) const override { return nullptr; }
  std::unique_ptr<vorn::OutputFile> OpenWrite(const std::string&) override { return std::make_unique<vorn::fuzz::CountingOutput>(written); }
  std::unique_ptr<vorn::OutputFile> CreateNewFile(const std::string&, vorn::FsResult& result) override {
    result = vorn::FsResult::Ok;
    return std::make_unique<vorn::fuzz::CountingOutput>(written);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<unsigned char> bytes(data, data + size);
  const bool seekable = size % 2 == 0;  // odd sizes read without seeking
  CountingFiles files;
  written = 0;
  const vorn::DbxFile::Opener open = [&bytes, seekable] { return std::make_unique<vorn::test::MemoryInput>(bytes, seekable); };
  const vorn::RecoveryReport report = vorn::RecoverMessages(open, files, "C:\\out\\");
  const vorn::RecoveryReport counted = vorn::CountRecoverableMessages(open);
  if (counted.whole != report.whole || counted.cut != report.cut || counted.deleted != report.deleted) std::abort();
  if (auto file = vorn::DbxFile::Open(open)) vorn::InspectFolderFile(*file);
  // A block passed can be read again by a chain that leads back to it, but never twice by one chain.
  if (written > size * (size_t{1} + static_cast<size_t>(report.Found())) + 2 * static_cast<size_t>(report.Found()))
    std::abort();
  return 0;
}
