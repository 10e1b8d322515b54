#pragma once
// Decoder of the static-Huffman LZ methods -lh4- to -lh7- (they differ in dictionary size).
#include <cstdint>

#include "lha/codec/buffered_source.h"

namespace vorn::lha {

enum class DecodeResult { Ok, Damaged, WriteFailed, Stopped };

// Reads `packedSize` bytes of compressed data from `in` and writes `originalSize` bytes to `out`,
// folding them into `crc`. dictionaryBits: 13 (lh4, lh5), 15 (lh6), 16 (lh7).
DecodeResult DecodeLzh(int dictionaryBits, BufferedSource& in, uint64_t packedSize, uint64_t originalSize,
                       ByteSink& out, uint16_t& crc, Progress* progress);

}  // namespace vorn::lha
