#include "lha/codec/buffered_source.h"

#include <cstring>

namespace vorn::lha {

BufferedSource::BufferedSource(ByteSource& source, size_t bufferSize) : source_(source), buffer_(bufferSize) {}

bool BufferedSource::Refill() {
  if (begin_ < end_) return true;
  begin_ = end_ = 0;
  if (failed_) return false;
  auto got = source_.Read(buffer_.data(), buffer_.size());
  if (!got) {
    failed_ = true;
    return false;
  }
  end_ = *got;
  return end_ > 0;
}

bool BufferedSource::ReadExact(void* buffer, size_t size) {
  auto* out = static_cast<uint8_t*>(buffer);
  while (size > 0) {
    if (!Refill()) return false;
    size_t n = std::min(size, end_ - begin_);
    std::memcpy(out, buffer_.data() + begin_, n);
    begin_ += n;
    position_ += n;
    out += n;
    size -= n;
  }
  return true;
}

std::pair<const uint8_t*, size_t> BufferedSource::Peek(size_t limit) {
  if (!Refill()) return {nullptr, 0};
  return {buffer_.data() + begin_, std::min(limit, end_ - begin_)};
}

bool BufferedSource::Skip(uint64_t size) {
  while (size > 0) {
    if (!Refill()) return false;
    size_t n = static_cast<size_t>(std::min<uint64_t>(size, end_ - begin_));
    begin_ += n;
    position_ += n;
    size -= n;
  }
  return true;
}

std::optional<uint8_t> BufferedSource::PeekByte() {
  if (!Refill()) return std::nullopt;
  return buffer_[begin_];
}

}  // namespace vorn::lha
