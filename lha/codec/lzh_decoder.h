#pragma once
// Decoder of the static-Huffman LZ methods -lh4- to -lh7- (they differ in dictionary size). It
// decodes on demand and can start again at any block it passed, for reading a member at any position.
#include <cstdint>
#include <memory>
#include <vector>

#include "lha/codec/buffered_source.h"

namespace vorn::lha {

enum class DecodeResult { Ok, Damaged, WriteFailed, Stopped };

// The start of a block, where decoding can begin again.
struct LzhResumePoint {
  uint64_t bitPosition = 0;      // bits of packed data before the block
  uint64_t produced = 0;         // original bytes before the block
  uint16_t crc = 0;              // CRC-16 of those bytes
  std::vector<uint8_t> history;  // the dictionary's bytes before the block
};

// Told of the blocks the decoder reaches, before it reads each block's tables.
class LzhBlockStarts {
 public:
  virtual ~LzhBlockStarts() = default;
  // Whether to keep a resume point at the block that starts after `produced` bytes.
  virtual bool Wanted(uint64_t produced) = 0;
  virtual void Keep(LzhResumePoint point) = 0;
};

class LzhDecoder {
 public:
  // dictionaryBits: 13 (lh4, lh5), 15 (lh6), 16 (lh7). `in` stands at the start of the packed
  // data; `crc` is where the CRC of the output starts from.
  LzhDecoder(int dictionaryBits, BufferedSource& in, uint64_t packedSize, uint64_t originalSize, uint16_t crc = 0);
  // From a resume point of the same member; `in` stands at packed byte point.bitPosition / 8.
  LzhDecoder(int dictionaryBits, BufferedSource& in, uint64_t packedSize, uint64_t originalSize,
             const LzhResumePoint& point);
  ~LzhDecoder();

  // Decodes until at least `until` bytes in all are produced (or all of them), writing each
  // produced byte to `out` once.
  DecodeResult Run(uint64_t until, ByteSink& out, Progress* progress = nullptr, LzhBlockStarts* starts = nullptr);
  uint64_t produced() const;
  // CRC-16 of everything produced since the start of the member.
  uint16_t crc() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// Reads `packedSize` bytes of compressed data from `in` and writes `originalSize` bytes to `out`,
// folding them into `crc`.
DecodeResult DecodeLzh(int dictionaryBits, BufferedSource& in, uint64_t packedSize, uint64_t originalSize,
                       ByteSink& out, uint16_t& crc, Progress* progress);

}  // namespace vorn::lha
