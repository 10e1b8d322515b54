#pragma once
// An archive read member by member without unpacking it anywhere: the members in archive order,
// and each one's data as a file that reads at any position, unpacked on demand within a few
// megabytes of memory whatever the member's size.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/file_system.h"

namespace vorn::lha {
class LhaReader;
class RandomAccessMember;
struct MemberHeader;
}  // namespace vorn::lha

namespace vorn::unlha {

struct MemberInfo {
  std::string name;  // UTF-8, folders first, joined with "\"
  uint64_t size = 0;  // bytes of the original file
  uint64_t packedSize = 0;
  std::string method;  // "-lh5-"
  bool directory = false;
};

// A member's data. Reading fails where the data cannot be unpacked (damaged data, a method this
// reader does not know).
class MemberData : public InputFile {
 public:
  explicit MemberData(std::unique_ptr<lha::RandomAccessMember> member);
  ~MemberData() override;
  std::optional<size_t> Read(void* buffer, size_t size) override;
  uint64_t Size() const override;
  bool Seek(uint64_t offset) override;
  // Unpacks whatever was not read yet and checks the member's CRC: kOk, kCrcMismatch,
  // kArchiveDamaged or kUnsupportedMethod (unlha_result.h).
  int32_t Check();

 private:
  std::unique_ptr<lha::RandomAccessMember> member_;
  uint64_t position_ = 0;
};

class ArchiveMembers {
 public:
  // Null when the archive cannot be opened.
  static std::unique_ptr<ArchiveMembers> Open(const FileSystem& files, const std::string& archive);
  ~ArchiveMembers();

  enum class Step { Member, End, EndWithoutMark, Damaged };
  // The next member's header; Damaged when a header cannot be read, after which the archive's
  // further members cannot be found. EndWithoutMark: the file ends without the archive's end
  // mark, so members may be missing.
  Step Next(MemberInfo& member);
  // The current member's data, read through a handle of its own; null when the archive cannot be
  // opened again.
  std::unique_ptr<MemberData> OpenData() const;

 private:
  class Source;
  ArchiveMembers(const FileSystem& files, std::string archive, std::unique_ptr<Source> source);

  const FileSystem& files_;
  const std::string archive_;
  std::unique_ptr<Source> source_;
  std::unique_ptr<lha::LhaReader> reader_;
  std::unique_ptr<lha::MemberHeader> current_;
  uint64_t dataOffset_ = 0;
  uint64_t nextHeader_ = 0;
  bool damaged_ = false;
};

}  // namespace vorn::unlha
