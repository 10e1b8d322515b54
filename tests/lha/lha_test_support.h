#pragma once
// In-memory streams and archive helpers for the LHA tests.
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "lha/codec/lha_reader.h"
#include "lha/codec/lha_writer.h"

namespace vorn::lha::test {

class MemorySource : public ByteSource {
 public:
  explicit MemorySource(std::string data) : data_(std::move(data)) {}
  std::optional<size_t> Read(void* buffer, size_t size) override {
    size = std::min(size, data_.size() - at_);
    std::memcpy(buffer, data_.data() + at_, size);
    at_ += size;
    return size;
  }

 private:
  std::string data_;
  size_t at_ = 0;
};

class MemorySink : public ByteSink {
 public:
  bool Write(const void* data, size_t size) override {
    bytes.append(static_cast<const char*>(data), size);
    return true;
  }
  std::string bytes;
};

struct UnpackedMember {
  MemberHeader header;
  ExtractResult result;
  std::string data;
};

// Every member of an archive, unpacked, and how the reading ended.
struct Unpacked {
  std::vector<UnpackedMember> members;
  HeaderRead end;
};
Unpacked UnpackAll(const std::string& archive);

// An archive of one member per (path, data) pair, packed by our writer.
std::string PackFiles(const std::vector<std::pair<std::vector<std::string>, std::string>>& files);

// Text that looks like mail: headers, Japanese ISO-2022-JP lines and base64 blocks.
std::string MailLikeText(size_t size, unsigned seed);
std::string RandomBytes(size_t size, unsigned seed);

// A fresh folder below the system's temporary folder, removed with the object.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

void WriteHostFile(const std::filesystem::path& path, const std::string& data);
std::string ReadHostFile(const std::filesystem::path& path);

}  // namespace vorn::lha::test
