#pragma once
// Folder files held in memory, with or without seeking, and an output that collects its bytes.
#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "dbx/dbx_file.h"
#include "platform/file_system.h"

namespace vorn::test {

class MemoryInput : public InputFile {
 public:
  MemoryInput(const std::vector<unsigned char>& bytes, bool seekable) : bytes_(bytes), seekable_(seekable) {}
  std::optional<size_t> Read(void* buffer, size_t size) override {
    size_t n = std::min(size, bytes_.size() - std::min(position_, bytes_.size()));
    std::memcpy(buffer, bytes_.data() + position_, n);
    position_ += n;
    return n;
  }
  uint64_t Size() const override { return bytes_.size(); }
  bool Seek(uint64_t offset) override {
    if (!seekable_) return false;
    position_ = offset;
    return true;
  }

 private:
  const std::vector<unsigned char>& bytes_;
  bool seekable_;
  size_t position_ = 0;
};

// `bytes` must outlive the file.
inline std::unique_ptr<DbxFile> OpenMemory(const std::vector<unsigned char>& bytes, bool seekable = true) {
  return DbxFile::Open([&bytes, seekable] { return std::make_unique<MemoryInput>(bytes, seekable); });
}

class MemoryOutput : public OutputFile {
 public:
  explicit MemoryOutput(size_t capacity = SIZE_MAX) : capacity_(capacity) {}
  bool Write(const void* data, size_t size) override {
    if (text.size() + size > capacity_) return false;
    text.append(static_cast<const char*>(data), size);
    return true;
  }
  bool Close() override { return true; }
  std::string text;

 private:
  size_t capacity_;
};

}  // namespace vorn::test
