// Reads arbitrary bytes as an LHA archive, and packs them and reads them back.
#include <cstdlib>
#include <cstring>
#include <string>

#include "lha/codec/lha_reader.h"
#include "lha/codec/lha_writer.h"
#include "lha/codec/macbinary.h"
#include "lha/codec/member_name.h"
#include "lha/unlha_command.h"

namespace {

using namespace vorn::lha;

class Source : public ByteSource {
 public:
  Source(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  std::optional<size_t> Read(void* buffer, size_t size) override {
    size = std::min(size, size_ - at_);
    std::memcpy(buffer, data_ + at_, size);
    at_ += size;
    return size;
  }

 private:
  const uint8_t* data_;
  size_t size_, at_ = 0;
};

// Keeps the output; refuses more than a bound so that tiny inputs claiming huge sizes end quickly.
class BoundedSink : public ByteSink {
 public:
  bool Write(const void* data, size_t size) override {
    if (bytes.size() + size > kLimit) return false;
    bytes.append(static_cast<const char*>(data), size);
    return true;
  }
  static constexpr size_t kLimit = 1 << 18;
  std::string bytes;
};

void ReadAsArchive(const uint8_t* data, size_t size) {
  Source source(data, size);
  LhaReader reader(source);
  MemberHeader header;
  for (int members = 0; members < 1000 && reader.Next(header) == HeaderRead::Member; ++members) {
    SafeMemberPath(header);
    DisplayName(header);
    BoundedSink sink;
    // A folder entry has no data, whatever size its header claims; a MacLHA member may unpack to
    // its data fork alone.
    const bool whole = !header.IsDirectory() && !MacBinaryUnwrapper::MayApply(header);
    if (reader.Extract(&sink) == ExtractResult::Ok && whole && sink.bytes.size() != header.originalSize)
      std::abort();
  }
}

void RoundTrip(const uint8_t* data, size_t size) {
  BoundedSink archive;
  LhaWriter writer(archive, nullptr);
  MemberHeader header;
  header.path = {"f"};
  if (writer.AddFile(header, [&] { return std::make_unique<Source>(data, size); }) != AddResult::Ok) std::abort();
  writer.Finish();
  Source packed(reinterpret_cast<const uint8_t*>(archive.bytes.data()), archive.bytes.size());
  LhaReader reader(packed);
  BoundedSink unpacked;
  if (reader.Next(header) != HeaderRead::Member || reader.Extract(&unpacked) != ExtractResult::Ok ||
      unpacked.bytes.size() != size || (size > 0 && std::memcmp(unpacked.bytes.data(), data, size) != 0))
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ReadAsArchive(data, size);
  RoundTrip(data, size);
  vorn::unlha::ParseCommand(std::string(reinterpret_cast<const char*>(data), size));
  return 0;
}
