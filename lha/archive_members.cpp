#include "lha/archive_members.h"

#include "lha/codec/lha_reader.h"
#include "lha/codec/member_name.h"
#include "lha/codec/random_access_member.h"
#include "lha/unlha_result.h"

namespace vorn::unlha {

// The archive file as the codec reads it.
class ArchiveMembers::Source : public lha::SeekableSource {
 public:
  explicit Source(std::unique_ptr<InputFile> file) : file_(std::move(file)) {}
  std::optional<size_t> Read(void* buffer, size_t size) override { return file_->Read(buffer, size); }
  bool Seek(uint64_t offset) override { return file_->Seek(offset); }
  uint64_t Size() const { return file_->Size(); }

 private:
  std::unique_ptr<InputFile> file_;
};

MemberData::MemberData(std::unique_ptr<lha::RandomAccessMember> member) : member_(std::move(member)) {}
MemberData::~MemberData() = default;

std::optional<size_t> MemberData::Read(void* buffer, size_t size) {
  auto got = member_->Read(position_, buffer, size);
  if (got) position_ += *got;
  return got;
}

uint64_t MemberData::Size() const { return member_->size(); }

bool MemberData::Seek(uint64_t offset) {
  position_ = offset;
  return true;
}

int32_t MemberData::Check() {
  switch (member_->Check()) {
    case lha::ExtractResult::Ok: return kOk;
    case lha::ExtractResult::CrcMismatch: return kCrcMismatch;
    case lha::ExtractResult::UnsupportedMethod: return kUnsupportedMethod;
    default: return kArchiveDamaged;
  }
}

std::unique_ptr<ArchiveMembers> ArchiveMembers::Open(const FileSystem& files, const std::string& archive) {
  auto file = files.IsDirectory(archive) ? nullptr : files.OpenRead(archive);
  if (!file) return nullptr;
  return std::unique_ptr<ArchiveMembers>(new ArchiveMembers(files, archive, std::make_unique<Source>(std::move(file))));
}

ArchiveMembers::ArchiveMembers(const FileSystem& files, std::string archive, std::unique_ptr<Source> source)
    : files_(files), archive_(std::move(archive)), source_(std::move(source)) {}

ArchiveMembers::~ArchiveMembers() = default;

ArchiveMembers::Step ArchiveMembers::Next(MemberInfo& member) {
  if (damaged_) return Step::Damaged;
  // The data of the member before is passed over by position, not read.
  if (nextHeader_ > source_->Size() || !source_->Seek(nextHeader_)) {
    damaged_ = true;
    return Step::Damaged;
  }
  reader_ = std::make_unique<lha::LhaReader>(*source_);
  auto header = std::make_unique<lha::MemberHeader>();
  switch (reader_->Next(*header)) {
    case lha::HeaderRead::End: return Step::End;
    case lha::HeaderRead::EndWithoutMark: return Step::EndWithoutMark;
    case lha::HeaderRead::Damaged: damaged_ = true; return Step::Damaged;
    case lha::HeaderRead::Member: break;
  }
  dataOffset_ = nextHeader_ + reader_->position();
  nextHeader_ = dataOffset_ + header->packedSize;
  member = MemberInfo{lha::DisplayName(*header), header->originalSize, header->packedSize, header->method,
                      header->IsDirectory()};
  current_ = std::move(header);
  return Step::Member;
}

std::unique_ptr<MemberData> ArchiveMembers::OpenData() const {
  if (!current_) return nullptr;
  auto file = files_.OpenRead(archive_);
  if (!file) return nullptr;
  return std::make_unique<MemberData>(
      std::make_unique<lha::RandomAccessMember>(std::make_unique<Source>(std::move(file)), dataOffset_, *current_));
}

}  // namespace vorn::unlha
