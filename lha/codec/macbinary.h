#pragma once
// MacLHA packs Mac files as MacBinary: a 128-byte header, the data fork and the resource fork.
// Other systems want the data fork alone, as the peers unpack it.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "lha/codec/byte_stream.h"
#include "lha/codec/member_header.h"

namespace vorn::lha {

// Passes on only the data fork (the resource fork when there is no data fork) when the member's
// data begins with a MacBinary header that MacLHA wrote for it: one whose name, sizes and time
// agree with the member header. Anything else passes on unchanged.
class MacBinaryUnwrapper : public ByteSink {
 public:
  static constexpr size_t kWrapperSize = 128;  // MacBinary's header
  MacBinaryUnwrapper(ByteSink& out, const MemberHeader& header);
  bool Write(const void* data, size_t size) override;
  // Hands on what is still held back; call once the member's data has ended.
  bool Finish();

  // True when a member header says the data may be wrapped (it came from MacLHA).
  static bool MayApply(const MemberHeader& header);
  // For data whose first 128 bytes are `head`: the size of the fork passed on, which starts
  // right after them, when MacLHA wrapped the data; nullopt when it passes on unchanged.
  static std::optional<uint64_t> WrappedFork(const MemberHeader& header, const uint8_t* head);

 private:
  ByteSink& out_;
  const MemberHeader& header_;
  std::vector<uint8_t> head_;   // the first 128 bytes, until they are judged
  bool decided_ = false;
  std::optional<uint64_t> pass_;  // bytes of the fork still to pass on; nullopt: everything
};

}  // namespace vorn::lha
