#include "lha/codec/macbinary.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace vorn::lha {
namespace {

constexpr size_t kHeaderSize = MacBinaryUnwrapper::kWrapperSize;
constexpr size_t kNameLengthAt = 0x01, kNameAt = 0x02, kNameRoom = 63;
constexpr size_t kDataForkAt = 0x53, kResourceForkAt = 0x57, kModifiedAt = 0x5F, kCommentAt = 0x63,
                 kVersion2At = 0x65;
constexpr int64_t kMacEpochToUnix = 2082844800;  // seconds from 1904-01-01 to 1970-01-01
constexpr int64_t kWidestZoneOffset = 14 * 3600;  // Mac times are local time, the member's UTC

uint32_t Be32(const uint8_t* p) {
  return (static_cast<uint32_t>(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
}

bool AllZero(const uint8_t* p, size_t n) {
  return std::all_of(p, p + n, [](uint8_t b) { return b == 0; });
}

}  // namespace

MacBinaryUnwrapper::MacBinaryUnwrapper(ByteSink& out, const MemberHeader& header) : out_(out), header_(header) {
  decided_ = !MayApply(header);
}

bool MacBinaryUnwrapper::MayApply(const MemberHeader& header) {
  return header.osId == 'm' && header.originalSize >= kHeaderSize && !header.path.empty();
}

// The checks that tell MacLHA's own header from a MacBinary file that was packed as it is.
std::optional<uint64_t> MacBinaryUnwrapper::WrappedFork(const MemberHeader& header, const uint8_t* h) {
  if (!MayApply(header)) return std::nullopt;
  if (h[0] != 0 || h[0x4A] != 0 || h[0x52] != 0 || !AllZero(h + kCommentAt, 2) ||
      !AllZero(h + kVersion2At, kHeaderSize - kVersion2At))
    return std::nullopt;
  const std::string& name = header.path.back();
  const size_t nameLength = h[kNameLengthAt];
  if (nameLength > kNameRoom || nameLength != name.size() || std::memcmp(h + kNameAt, name.data(), nameLength) != 0 ||
      !AllZero(h + kNameAt + nameLength, kNameRoom - nameLength))
    return std::nullopt;
  const uint64_t dataFork = Be32(h + kDataForkAt), resourceFork = Be32(h + kResourceForkAt);
  if (((dataFork + resourceFork + kHeaderSize + 127) & ~uint64_t{127}) != header.originalSize) return std::nullopt;
  const int64_t modified = static_cast<int64_t>(Be32(h + kModifiedAt)) - kMacEpochToUnix;
  if (modified < 0 || std::abs(modified - header.modified) > kWidestZoneOffset) return std::nullopt;
  // The resource fork follows the data fork directly, so either fork starts right after the header.
  return dataFork > 0 ? dataFork : resourceFork;
}

bool MacBinaryUnwrapper::Write(const void* data, size_t size) {
  auto bytes = static_cast<const uint8_t*>(data);
  if (!decided_) {
    const size_t take = std::min(size, kHeaderSize - head_.size());
    head_.insert(head_.end(), bytes, bytes + take);
    bytes += take;
    size -= take;
    if (head_.size() < kHeaderSize) return true;
    decided_ = true;
    pass_ = WrappedFork(header_, head_.data());
    if (!pass_ && !out_.Write(head_.data(), head_.size())) return false;
    head_.clear();
  }
  if (!pass_) return out_.Write(bytes, size);
  const size_t passed = static_cast<size_t>(std::min<uint64_t>(*pass_, size));
  *pass_ -= passed;
  return passed == 0 || out_.Write(bytes, passed);
}

bool MacBinaryUnwrapper::Finish() {
  if (head_.empty()) return true;
  const bool ok = out_.Write(head_.data(), head_.size());
  head_.clear();
  return ok;
}

}  // namespace vorn::lha
