#include "lha/codec/lha_writer.h"

#include <algorithm>

#include "lha/codec/crc16.h"
#include "lha/codec/lh5_encoder.h"

namespace vorn::lha {
namespace {

constexpr size_t kReadChunk = 1 << 16;

bool WriteString(ByteSink& out, const std::string& bytes) { return out.Write(bytes.data(), bytes.size()); }

}  // namespace

// Packed bytes of one member: in memory up to a limit, then in spill storage.
class Spool : public ByteSink {
 public:
  Spool(SpillStorage* spill, size_t limit) : spill_(spill), limit_(limit) {}
  ~Spool() override {
    if (spilled_) spill_->Discard();
  }
  bool Write(const void* data, size_t size) override {
    size_ += size;
    if (!spilled_ && (spill_ == nullptr || memory_.size() + size <= limit_)) {
      memory_.insert(memory_.end(), static_cast<const uint8_t*>(data), static_cast<const uint8_t*>(data) + size);
      return true;
    }
    if (!spilled_) {
      if (!spill_->Begin() || !spill_->Write(memory_.data(), memory_.size())) return false;
      spilled_ = true;
      memory_.clear();
      memory_.shrink_to_fit();
    }
    return spill_->Write(data, size);
  }
  uint64_t size() const { return size_; }
  bool CopyTo(ByteSink& out) {
    if (!spilled_) return out.Write(memory_.data(), memory_.size());
    auto in = spill_->ReadBack();
    if (!in) return false;
    std::vector<uint8_t> buffer(kReadChunk);
    uint64_t copied = 0;
    while (copied < size_) {
      auto n = in->Read(buffer.data(), buffer.size());
      if (!n || *n == 0 || !out.Write(buffer.data(), *n)) return false;
      copied += *n;
    }
    return copied == size_;
  }

 private:
  SpillStorage* spill_;
  size_t limit_;
  std::vector<uint8_t> memory_;
  uint64_t size_ = 0;
  bool spilled_ = false;
};

PackedMember::PackedMember() = default;
PackedMember::~PackedMember() = default;

LhaWriter::LhaWriter(ByteSink& archive, SpillStorage* spill, size_t memoryLimit)
    : archive_(archive), spill_(spill), memoryLimit_(memoryLimit) {}

AddResult LhaWriter::AddFile(MemberHeader header, const SourceOpener& open, Progress* progress) {
  auto member = Pack(std::move(header), open, spill_, memoryLimit_, progress);
  return Write(*member, open, progress);
}

std::unique_ptr<PackedMember> LhaWriter::Pack(MemberHeader header, const SourceOpener& open, SpillStorage* spill,
                                              size_t memoryLimit, Progress* progress) {
  auto member = std::make_unique<PackedMember>();
  auto fail = [&member](AddResult result) {
    member->result = result;
    member->packed.reset();
    return std::move(member);
  };
  auto source = open();
  if (!source) return fail(AddResult::ReadFailed);
  const uint64_t expected = header.originalSize;
  member->packed = std::make_unique<Spool>(spill, memoryLimit);
  Lh5Encoder encoder(*member->packed);
  std::vector<uint8_t> buffer(kReadChunk);
  uint64_t size = 0;
  uint16_t crc = 0;
  // Once the packed form is as long as the data read so far, the member will be stored;
  // the rest is then only read for its CRC.
  bool packing = true;
  for (;;) {
    auto n = source->Read(buffer.data(), buffer.size());
    if (!n) return fail(AddResult::ReadFailed);
    if (*n == 0) break;
    crc = UpdateCrc16(crc, buffer.data(), *n);
    size += *n;
    if (packing) {
      if (!encoder.Write(buffer.data(), *n)) return fail(AddResult::WriteFailed);
      packing = encoder.PackedSize() < size;
    }
    if (progress && !progress->Advance(size, std::max(expected, size))) return fail(AddResult::Stopped);
  }
  if (packing && !encoder.Finish()) return fail(AddResult::WriteFailed);
  header.originalSize = size;
  header.crc = crc;
  if (!packing || member->packed->size() >= size) {
    header.method = "-lh0-";
    header.packedSize = size;
    member->packed.reset();
  } else {
    header.method = "-lh5-";
    header.packedSize = member->packed->size();
  }
  member->header = std::move(header);
  return member;
}

AddResult LhaWriter::Write(PackedMember& member, const SourceOpener& open, Progress* progress) {
  if (member.result != AddResult::Ok) return member.result;
  if (!member.packed) return CopyStored(member.header, open, progress);
  if (!WriteString(archive_, EncodeLevel2Header(member.header)) || !member.packed->CopyTo(archive_))
    return AddResult::WriteFailed;
  const uint64_t size = member.header.originalSize;
  if (progress && !progress->Advance(size, size)) return AddResult::Stopped;
  return AddResult::Ok;
}

AddResult LhaWriter::CopyStored(const MemberHeader& header, const SourceOpener& open, Progress* progress) {
  auto source = open();
  if (!source) return AddResult::ReadFailed;
  if (!WriteString(archive_, EncodeLevel2Header(header))) return AddResult::WriteFailed;
  std::vector<uint8_t> buffer(kReadChunk);
  uint64_t copied = 0;
  uint16_t crc = 0;
  for (;;) {
    auto n = source->Read(buffer.data(), buffer.size());
    if (!n) return AddResult::ReadFailed;
    if (*n == 0) break;
    copied += *n;
    // The header is already out: a file that changed since the first pass cannot be mended.
    if (copied > header.originalSize) return AddResult::SourceChanged;
    crc = UpdateCrc16(crc, buffer.data(), *n);
    if (!archive_.Write(buffer.data(), *n)) return AddResult::WriteFailed;
    if (progress && !progress->Advance(copied, header.originalSize)) return AddResult::Stopped;
  }
  if (copied != header.originalSize || crc != header.crc) return AddResult::SourceChanged;
  if (progress && !progress->Advance(copied, copied)) return AddResult::Stopped;
  return AddResult::Ok;
}

bool LhaWriter::AddDirectory(MemberHeader header) {
  header.method = "-lhd-";
  header.packedSize = header.originalSize = 0;
  header.crc = 0;
  header.attributes |= 0x10;
  return WriteString(archive_, EncodeLevel2Header(header));
}

bool LhaWriter::Finish() {
  const char end = 0;
  return archive_.Write(&end, 1);
}

}  // namespace vorn::lha
