#pragma once
// The byte streams the LHA codec reads from and writes to; the caller adapts files to them.
#include <cstddef>
#include <cstdint>
#include <optional>

namespace vorn::lha {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Reads up to size bytes; returns the count, 0 at the end; nullopt on a read error.
  virtual std::optional<size_t> Read(void* buffer, size_t size) = 0;
};

class ByteSink {
 public:
  virtual ~ByteSink() = default;
  virtual bool Write(const void* data, size_t size) = 0;
};

// Reports how far one member has come: bytes of its original data handled so far, of total.
// Returning false asks the codec to stop.
class Progress {
 public:
  virtual ~Progress() = default;
  virtual bool Advance(uint64_t done, uint64_t total) = 0;
};

}  // namespace vorn::lha
