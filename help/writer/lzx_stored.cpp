#include "help/writer/lzx_stored.h"

#include <stdexcept>

#include "help/writer/byte_builder.h"

namespace vorn::help {
namespace {

constexpr uint32_t kUncompressedBlock = 3;

// LZX packs its bits most significant first into 16-bit little-endian words.
class BitWriter {
 public:
  explicit BitWriter(ByteBuilder& out) : out_(out) {}
  void Put(uint32_t value, int bits) {
    for (int i = bits - 1; i >= 0; --i) {
      word_ = static_cast<uint16_t>((word_ << 1) | ((value >> i) & 1));
      if (++used_ == 16) Flush();
    }
  }
  // An uncompressed block's header is followed by zero bits up to the next word.
  void PadToWord() {
    if (used_ > 0) Put(0, 16 - used_);
  }

 private:
  void Flush() {
    out_.U16(word_);
    word_ = 0;
    used_ = 0;
  }
  ByteBuilder& out_;
  uint16_t word_ = 0;
  int used_ = 0;
};

}  // namespace

LzxStream EncodeStoredLzx(const std::string& data) {
  if (data.size() % kLzxFrameSize != 0) throw std::logic_error("LZX data must be whole frames");
  LzxStream stream;
  ByteBuilder out;
  for (size_t frame = 0; frame * kLzxFrameSize < data.size(); ++frame) {
    stream.frameOffsets.push_back(out.size());
    BitWriter bits(out);
    // After a reset the stream starts with the flag of the x86 call translation, off here.
    if (frame % kLzxFramesPerReset == 0) bits.Put(0, 1);
    // One uncompressed block per frame: type, 24-bit length, padding, the three repeated
    // match offsets (unused, the initial 1), then the bytes. A frame is even-sized, so no
    // padding byte follows it.
    bits.Put(kUncompressedBlock, 3);
    bits.Put(kLzxFrameSize >> 8, 16);
    bits.Put(kLzxFrameSize & 0xFF, 8);
    bits.PadToWord();
    for (int offset = 0; offset < 3; ++offset) out.U32(1);
    out.Bytes(std::string_view(data).substr(frame * kLzxFrameSize, kLzxFrameSize));
  }
  stream.bytes = out.Take();
  return stream;
}

}  // namespace vorn::help
