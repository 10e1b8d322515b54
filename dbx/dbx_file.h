#pragma once
// A folder file opened for reading, with positioned reads checked against the file's end.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dbx/dbx_error.h"
#include "platform/file_system.h"

namespace vorn {

// The signed 32-bit little-endian number at `bytes`.
inline int32_t DecodeInt32(const unsigned char* bytes) {
  return static_cast<int32_t>(static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
                              static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24);
}

class DbxFile {
 public:
  using Opener = std::function<std::unique_ptr<InputFile>()>;

  // Null when the file cannot be opened.
  static std::unique_ptr<DbxFile> Open(const FileSystem& files, const std::string& path);
  // `open` yields a fresh handle at the file's start; it is called again only when the handle
  // cannot seek backwards.
  static std::unique_ptr<DbxFile> Open(Opener open);

  int64_t Size() const { return size_; }
  // Opens the same file afresh, at its start.
  const Opener& Reopener() const { return open_; }

  // Reads exactly `size` bytes at `position`. Positions must lie in 0..2^31-1 and the bytes
  // inside the file.
  DbxError ReadAt(int64_t position, void* out, size_t size);
  DbxError ReadInt32(int64_t position, int32_t& value);
  DbxError ReadByte(int64_t position, uint8_t& value);

 private:
  DbxFile(Opener open, std::unique_ptr<InputFile> input);
  DbxError MoveTo(uint64_t position);
  DbxError ReadFromInput(void* out, size_t size);

  Opener open_;
  std::unique_ptr<InputFile> input_;
  int64_t size_ = 0;
  uint64_t inputPosition_ = 0;
  // Recently read bytes: the index, the records and the small blocks sit close together.
  std::vector<unsigned char> window_;
  int64_t windowStart_ = 0;
  size_t windowLength_ = 0;
};

}  // namespace vorn
