#pragma once
// Buffered reading of an archive: headers take exact byte counts, member data is taken in bulk.
#include <cstdint>
#include <memory>
#include <vector>

#include "lha/codec/byte_stream.h"

namespace vorn::lha {

class BufferedSource {
 public:
  explicit BufferedSource(ByteSource& source, size_t bufferSize = 1 << 16);

  // Copies exactly size bytes; false at a premature end or a read error (see failed()).
  bool ReadExact(void* buffer, size_t size);
  // Up to `limit` bytes that are ready in the buffer, refilled when empty; empty at the end.
  // The bytes stay valid until the next call; Consume() marks them used.
  std::pair<const uint8_t*, size_t> Peek(size_t limit);
  void Consume(size_t size) {
    begin_ += size;
    position_ += size;
  }
  bool Skip(uint64_t size);
  // One byte of lookahead; nullopt at the end.
  std::optional<uint8_t> PeekByte();
  bool failed() const { return failed_; }
  // Bytes consumed since the start.
  uint64_t position() const { return position_; }

 private:
  bool Refill();
  ByteSource& source_;
  std::vector<uint8_t> buffer_;
  size_t begin_ = 0, end_ = 0;
  bool failed_ = false;
  uint64_t position_ = 0;
};

}  // namespace vorn::lha
