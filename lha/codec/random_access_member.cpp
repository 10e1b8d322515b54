#include "lha/codec/random_access_member.h"

#include <algorithm>
#include <cstring>

#include "lha/codec/crc16.h"
#include "lha/codec/lha_methods.h"
#include "lha/codec/macbinary.h"

namespace vorn::lha {
namespace {

class Discard : public ByteSink {
 public:
  bool Write(const void*, size_t) override { return true; }
};

}  // namespace

// Gathers the decoder's output, which arrives in order, into pages for the cache.
class RandomAccessMember::PageSink : public ByteSink {
 public:
  // The decoder produces from `position` on; `before` holds the page's bytes before it.
  PageSink(RandomAccessMember& owner, uint64_t position, const uint8_t* before)
      : owner_(owner), at_(position), index_(position / kPageSize) {
    filling_.reserve(kPageSize);
    filling_.assign(before, before + position % kPageSize);
  }

  bool Write(const void* data, size_t size) override {
    const auto* bytes = static_cast<const uint8_t*>(data);
    while (size > 0) {
      const size_t take = std::min(size, kPageSize - filling_.size());
      filling_.insert(filling_.end(), bytes, bytes + take);
      bytes += take;
      size -= take;
      at_ += take;
      if (filling_.size() == kPageSize || at_ == owner_.size()) {
        owner_.CachePage(index_++, std::move(filling_));
        filling_.clear();
        filling_.reserve(kPageSize);
      }
    }
    return true;
  }
  uint64_t at() const { return at_; }

 private:
  RandomAccessMember& owner_;
  uint64_t at_;
  uint64_t index_;
  std::vector<uint8_t> filling_;
};

RandomAccessMember::RandomAccessMember(std::unique_ptr<SeekableSource> archive, uint64_t dataOffset,
                                       const MemberHeader& header)
    : archive_(std::move(archive)), dataOffset_(dataOffset), header_(header), viewSize_(header.originalSize) {
  const auto method = FindMethod(header.method);
  if (method && method->kind == MethodKind::Stored) {
    kind_ = Kind::Stored;
    damaged_ = header.packedSize != header.originalSize;
  } else if (method && method->kind == MethodKind::Lzh) {
    kind_ = Kind::Lzh;
    dictionaryBits_ = method->dictionaryBits;
    resumeSpacing_ = std::max(kMinResumeSpacing, header.originalSize / (kResumeBytes >> dictionaryBits_) + 1);
  }
  if (kind_ != Kind::Unsupported && MacBinaryUnwrapper::MayApply(header)) {
    uint8_t head[MacBinaryUnwrapper::kWrapperSize];
    if (ReadData(0, head, sizeof head) == sizeof head) {
      if (auto fork = MacBinaryUnwrapper::WrappedFork(header, head)) {
        viewStart_ = sizeof head;
        viewSize_ = std::min(*fork, header.originalSize - viewStart_);
      }
    }
  }
}

RandomAccessMember::~RandomAccessMember() = default;

std::optional<size_t> RandomAccessMember::Read(uint64_t position, void* buffer, size_t size) {
  if (position >= viewSize_) return 0;
  return ReadData(viewStart_ + position, buffer, static_cast<size_t>(std::min<uint64_t>(size, viewSize_ - position)));
}

std::optional<size_t> RandomAccessMember::ReadData(uint64_t position, void* buffer, size_t size) {
  if (position >= header_.originalSize) return 0;
  size = static_cast<size_t>(std::min<uint64_t>(size, header_.originalSize - position));
  if (kind_ == Kind::Stored) return damaged_ ? std::nullopt : ReadStored(position, buffer, size);
  if (kind_ != Kind::Lzh) return std::nullopt;
  auto* out = static_cast<uint8_t*>(buffer);
  for (size_t done = 0; done < size;) {
    const uint64_t at = position + done;
    const std::vector<uint8_t>* page = DecodedPage(at / kPageSize);
    if (!page) return std::nullopt;
    const size_t offset = static_cast<size_t>(at % kPageSize);
    const size_t take = std::min(size - done, page->size() - offset);
    std::memcpy(out + done, page->data() + offset, take);
    done += take;
  }
  return size;
}

std::optional<size_t> RandomAccessMember::ReadStored(uint64_t position, void* buffer, size_t size) {
  if (!archive_->Seek(dataOffset_ + position)) return std::nullopt;
  auto* out = static_cast<uint8_t*>(buffer);
  for (size_t done = 0; done < size;) {
    auto got = archive_->Read(out + done, size - done);
    if (!got || *got == 0) return std::nullopt;
    done += *got;
  }
  return size;
}

const std::vector<uint8_t>* RandomAccessMember::DecodedPage(uint64_t index) {
  auto found = pages_.find(index);
  if (found == pages_.end()) {
    if (damaged_ || !PrepareDecoder(index)) {
      damaged_ = true;
      return nullptr;
    }
    const uint64_t end = std::min<uint64_t>((index + 1) * kPageSize, header_.originalSize);
    if (decoder_->Run(end, *sink_, nullptr, this) != DecodeResult::Ok) {
      damaged_ = true;
      decoder_.reset();
      return nullptr;
    }
    found = pages_.find(index);
    if (found == pages_.end()) return nullptr;
  }
  recentlyUsed_.splice(recentlyUsed_.begin(), recentlyUsed_, found->second.used);
  return &found->second.bytes;
}

bool RandomAccessMember::PrepareDecoder(uint64_t index) {
  auto after = std::upper_bound(
      resumePoints_.begin(), resumePoints_.end(), index,
      [](uint64_t page, const LzhResumePoint& point) { return page < point.produced / kPageSize; });
  const LzhResumePoint* point = after == resumePoints_.begin() ? nullptr : &*std::prev(after);
  const uint64_t pointAt = point ? point->produced : 0;
  if (decoder_ && sink_->at() / kPageSize <= index && sink_->at() >= pointAt) return true;
  return StartDecoder(point);
}

bool RandomAccessMember::StartDecoder(const LzhResumePoint* point) {
  decoder_.reset();
  sink_.reset();
  const uint64_t byte = point ? point->bitPosition / 8 : 0;
  if (byte > header_.packedSize || !archive_->Seek(dataOffset_ + byte)) return false;
  in_ = std::make_unique<BufferedSource>(*archive_);
  if (point) {
    decoder_ = std::make_unique<LzhDecoder>(dictionaryBits_, *in_, header_.packedSize, header_.originalSize, *point);
    const size_t before = static_cast<size_t>(point->produced % kPageSize);
    sink_ = std::make_unique<PageSink>(*this, point->produced, point->history.data() + point->history.size() - before);
  } else {
    decoder_ = std::make_unique<LzhDecoder>(dictionaryBits_, *in_, header_.packedSize, header_.originalSize);
    sink_ = std::make_unique<PageSink>(*this, 0, nullptr);
  }
  return true;
}

void RandomAccessMember::CachePage(uint64_t index, std::vector<uint8_t> bytes) {
  auto found = pages_.find(index);
  if (found != pages_.end()) {
    found->second.bytes = std::move(bytes);
    return;
  }
  if (pages_.size() >= kCachedPages) {
    pages_.erase(recentlyUsed_.back());
    recentlyUsed_.pop_back();
  }
  recentlyUsed_.push_front(index);
  pages_.emplace(index, Page{std::move(bytes), recentlyUsed_.begin()});
}

bool RandomAccessMember::Wanted(uint64_t produced) {
  return resumePoints_.empty() || produced >= resumePoints_.back().produced + resumeSpacing_;
}

void RandomAccessMember::Keep(LzhResumePoint point) { resumePoints_.push_back(std::move(point)); }

ExtractResult RandomAccessMember::Check() {
  if (checked_) return *checked_;
  if (kind_ == Kind::Unsupported) return *(checked_ = ExtractResult::UnsupportedMethod);
  if (damaged_) return *(checked_ = ExtractResult::Damaged);
  uint16_t crc = 0;
  if (kind_ == Kind::Stored) {
    std::vector<uint8_t> buffer(1 << 16);
    for (uint64_t done = 0; done < header_.originalSize;) {
      const size_t step = static_cast<size_t>(std::min<uint64_t>(buffer.size(), header_.originalSize - done));
      if (!ReadStored(done, buffer.data(), step)) return *(checked_ = ExtractResult::Damaged);
      crc = UpdateCrc16(crc, buffer.data(), step);
      done += step;
    }
  } else {
    // On from the furthest point decoded so far; the pages of the rest are not kept.
    const LzhResumePoint* last = resumePoints_.empty() ? nullptr : &resumePoints_.back();
    if (!decoder_ || (last && last->produced > sink_->at())) {
      if (!StartDecoder(last)) return *(checked_ = ExtractResult::Damaged);
    }
    Discard discard;
    const DecodeResult result = decoder_->Run(header_.originalSize, discard, nullptr, this);
    crc = decoder_->crc();
    decoder_.reset();
    sink_.reset();
    if (result != DecodeResult::Ok) {
      damaged_ = true;
      return *(checked_ = ExtractResult::Damaged);
    }
  }
  return *(checked_ = crc == header_.crc ? ExtractResult::Ok : ExtractResult::CrcMismatch);
}

}  // namespace vorn::lha
