#pragma once
// One member's original data read at any position without unpacking the member anywhere: stored
// data straight from the archive, packed data decoded on demand from the nearest point where
// decoding can start again, through a small cache of decoded pages. Memory stays within a few
// megabytes whatever the member's size.
#include <cstddef>
#include <cstdint>
#include <list>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

#include "lha/codec/buffered_source.h"
#include "lha/codec/lha_reader.h"
#include "lha/codec/lzh_decoder.h"
#include "lha/codec/member_header.h"

namespace vorn::lha {

class SeekableSource : public ByteSource {
 public:
  // Moves to `offset` bytes from the start; false when that fails.
  virtual bool Seek(uint64_t offset) = 0;
};

class RandomAccessMember : private LzhBlockStarts {
 public:
  // Decoded pages are no larger than the smallest dictionary (8 KB), so a page that a resume
  // point falls inside is completed from the history the point keeps.
  static constexpr size_t kPageSize = size_t{8} << 10;
  static constexpr size_t kCachedPages = 512;
  static constexpr size_t kResumeBytes = size_t{8} << 20;  // history kept for resume points in all
  static constexpr uint64_t kMinResumeSpacing = uint64_t{256} << 10;

  // `archive` reads the archive that holds the member, whose data begins at `dataOffset`.
  RandomAccessMember(std::unique_ptr<SeekableSource> archive, uint64_t dataOffset, const MemberHeader& header);
  ~RandomAccessMember() override;

  // The bytes unpacking gives: the member's data, or the fork of a member MacLHA wrapped.
  uint64_t size() const { return viewSize_; }
  // Up to `size` bytes at `position` (fewer only at the end); nullopt when the data cannot be
  // read there (a read error, damaged data, an unsupported method).
  std::optional<size_t> Read(uint64_t position, void* buffer, size_t size);
  // Reads whatever was not read yet and checks the member's CRC.
  ExtractResult Check();

 private:
  enum class Kind { Stored, Lzh, Unsupported };
  struct Page {
    std::vector<uint8_t> bytes;
    std::list<uint64_t>::iterator used;
  };
  class PageSink;

  std::optional<size_t> ReadData(uint64_t position, void* buffer, size_t size);
  std::optional<size_t> ReadStored(uint64_t position, void* buffer, size_t size);
  const std::vector<uint8_t>* DecodedPage(uint64_t index);
  // A decoder that will pass the start of page `index`: the running one, or a fresh one from
  // the last resume point before the page.
  bool PrepareDecoder(uint64_t index);
  bool StartDecoder(const LzhResumePoint* point);
  void CachePage(uint64_t index, std::vector<uint8_t> bytes);
  bool Wanted(uint64_t produced) override;
  void Keep(LzhResumePoint point) override;

  std::unique_ptr<SeekableSource> archive_;
  const uint64_t dataOffset_;
  const MemberHeader header_;
  Kind kind_ = Kind::Unsupported;
  int dictionaryBits_ = 0;
  uint64_t viewStart_ = 0;
  uint64_t viewSize_ = 0;
  std::optional<ExtractResult> checked_;
  bool damaged_ = false;

  std::unique_ptr<BufferedSource> in_;
  std::unique_ptr<LzhDecoder> decoder_;
  std::unique_ptr<PageSink> sink_;
  std::vector<LzhResumePoint> resumePoints_;  // ascending
  uint64_t resumeSpacing_ = kMinResumeSpacing;

  std::unordered_map<uint64_t, Page> pages_;
  std::list<uint64_t> recentlyUsed_;  // page indexes, most recent first
};

}  // namespace vorn::lha
