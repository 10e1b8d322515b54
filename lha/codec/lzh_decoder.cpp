#include "lha/codec/lzh_decoder.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "lha/codec/crc16.h"
#include "lha/codec/lzh_format.h"

namespace vorn::lha {
namespace {

using namespace lzh;

// MSB-first bit reader over at most `limit` bytes of `in`. Past the limit it reads zero bits and
// remembers it, so damaged data cannot run on beyond its member.
class BitReader {
 public:
  BitReader(BufferedSource& in, uint64_t limit) : in_(in), remaining_(limit) {}

  uint32_t Peek(int n) {
    if (count_ < n) Refill();
    return static_cast<uint32_t>(bits_ >> (64 - n));
  }
  void Drop(int n) {
    bits_ <<= n;
    count_ -= n;
  }
  uint32_t Get(int n) {
    if (n == 0) return 0;
    uint32_t v = Peek(n);
    Drop(n);
    return v;
  }
  // True once bits beyond the member's data have been consumed.
  bool Overrun() const { return padBits_ > static_cast<uint64_t>(count_); }
  bool ReadFailed() const { return in_.failed(); }

 private:
  void Refill() {
    if (remaining_ >= 8 && count_ <= 56) {
      auto [data, size] = in_.Peek(8);
      if (size == 8) {
        // Eight bytes at once; only the whole bytes that fit are taken.
        uint64_t next = 0;
        for (int i = 0; i < 8; ++i) next = (next << 8) | data[i];
        const int take = (64 - count_) / 8;
        next >>= count_;
        if (take < 8) next &= ~((uint64_t{1} << (64 - count_ - take * 8)) - 1);
        bits_ |= next;
        count_ += take * 8;
        in_.Consume(take);
        remaining_ -= take;
        return;
      }
    }
    while (count_ <= 56) {
      if (remaining_ > 0) {
        auto [data, size] = in_.Peek(static_cast<size_t>(std::min<uint64_t>(remaining_, (64 - count_) / 8)));
        if (size > 0) {
          for (size_t i = 0; i < size; ++i) {
            bits_ |= static_cast<uint64_t>(data[i]) << (56 - count_);
            count_ += 8;
          }
          in_.Consume(size);
          remaining_ -= size;
          continue;
        }
        remaining_ = 0;  // truncated archive: the rest reads as zeros and shows as an overrun
      }
      count_ += 8;
      padBits_ += 8;
    }
  }

  BufferedSource& in_;
  uint64_t remaining_;
  uint64_t bits_ = 0;
  int count_ = 0;
  uint64_t padBits_ = 0;
};

// Canonical Huffman decoding table: a direct table for short codes, a counted walk for long ones.
class HuffmanTable {
 public:
  explicit HuffmanTable(int tableBits) : tableBits_(tableBits), table_(size_t{1} << tableBits) {}

  void SetSingle(int symbol) {
    std::fill(table_.begin(), table_.end(), static_cast<uint16_t>(symbol << 5));
  }

  // False for lengths that over-subscribe the code space. Unused code space decodes as an error.
  bool Build(const uint8_t* lengths, int n) {
    std::array<uint16_t, kMaxCodeLength + 1> counts{};
    for (int i = 0; i < n; ++i) counts[lengths[i]]++;
    counts[0] = 0;
    int left = 1;
    for (int len = 1; len <= kMaxCodeLength; ++len) {
      left = (left << 1) - counts[len];
      if (left < 0) return false;
    }
    counts_ = counts;
    std::array<uint32_t, kMaxCodeLength + 2> next{};
    std::array<uint16_t, kMaxCodeLength + 2> offsets{};
    for (int len = 1; len <= kMaxCodeLength; ++len) {
      next[len + 1] = (next[len] + counts[len]) << 1;
      offsets[len + 1] = static_cast<uint16_t>(offsets[len] + counts[len]);
    }
    sorted_.assign(n, 0);
    std::fill(table_.begin(), table_.end(), kInvalid);
    for (int symbol = 0; symbol < n; ++symbol) {
      int len = lengths[symbol];
      if (len == 0) continue;
      sorted_[offsets[len]++] = static_cast<uint16_t>(symbol);
      uint32_t code = next[len]++;
      if (len <= tableBits_) {
        uint32_t first = code << (tableBits_ - len), last = (code + 1) << (tableBits_ - len);
        std::fill(table_.begin() + first, table_.begin() + last, static_cast<uint16_t>((symbol << 5) | len));
      } else {
        table_[code >> (len - tableBits_)] = kLong;
      }
    }
    return true;
  }

  // The next symbol, or -1 where the bits match no code.
  int Decode(BitReader& bits) const {
    uint16_t entry = table_[bits.Peek(tableBits_)];
    if (entry < kLong) {
      bits.Drop(entry & 31);
      return entry >> 5;
    }
    if (entry == kInvalid) return -1;
    uint32_t window = bits.Peek(kMaxCodeLength);
    int code = 0, first = 0, index = 0;
    for (int len = 1; len <= kMaxCodeLength; ++len) {
      code |= (window >> (kMaxCodeLength - len)) & 1;
      int count = counts_[len];
      if (code - first < count) {
        bits.Drop(len);
        return sorted_[index + code - first];
      }
      index += count;
      first = (first + count) << 1;
      code <<= 1;
    }
    return -1;
  }

 private:
  static constexpr uint16_t kLong = 0xFFFE, kInvalid = 0xFFFF;
  int tableBits_;
  std::vector<uint16_t> table_;
  std::array<uint16_t, kMaxCodeLength + 1> counts_{};
  std::vector<uint16_t> sorted_;
};

// A code length: three bits, and where those read 7, one more per following 1 bit.
int ReadLength(BitReader& bits) {
  int len = static_cast<int>(bits.Get(3));
  if (len == 7) {
    while (bits.Get(1) == 1) {
      if (++len > kMaxCodeLength) return -1;
    }
  }
  return len;
}

// The temp and position tables share one form: a count, then lengths; the temp table has
// a two-bit run of zero lengths after its third entry.
bool ReadSmallTable(BitReader& bits, HuffmanTable& table, int maxCodes, int countBits, int specialIndex) {
  int n = static_cast<int>(bits.Get(countBits));
  if (n == 0) {
    int symbol = static_cast<int>(bits.Get(countBits));
    if (symbol >= maxCodes) return false;
    table.SetSingle(symbol);
    return true;
  }
  if (n > maxCodes) return false;
  std::array<uint8_t, 32> lengths{};
  for (int i = 0; i < n;) {
    int len = ReadLength(bits);
    if (len < 0) return false;
    lengths[i++] = static_cast<uint8_t>(len);
    if (i == specialIndex) i += static_cast<int>(bits.Get(2));
  }
  return table.Build(lengths.data(), maxCodes);
}

bool ReadCharTable(BitReader& bits, const HuffmanTable& temp, HuffmanTable& table) {
  int n = static_cast<int>(bits.Get(kCharBits));
  if (n == 0) {
    int symbol = static_cast<int>(bits.Get(kCharBits));
    if (symbol >= kCharCodes) return false;
    table.SetSingle(symbol);
    return true;
  }
  if (n > kCharCodes) return false;
  std::array<uint8_t, kCharCodes> lengths{};
  for (int i = 0; i < n;) {
    int code = temp.Decode(bits);
    if (code < 0) return false;
    int zeros = 0;
    if (code == 0) zeros = 1;
    else if (code == 1) zeros = static_cast<int>(bits.Get(4)) + 3;
    else if (code == 2) zeros = static_cast<int>(bits.Get(kCharBits)) + 20;
    else lengths[i++] = static_cast<uint8_t>(code - 2);
    if (zeros > n - i) return false;
    i += zeros;
  }
  return table.Build(lengths.data(), n);
}

}  // namespace

DecodeResult DecodeLzh(int dictionaryBits, BufferedSource& in, uint64_t packedSize, uint64_t originalSize,
                       ByteSink& out, uint16_t& crc, Progress* progress) {
  const size_t dictionary = size_t{1} << dictionaryBits;
  const int positionCodes = PositionCodes(dictionaryBits);
  const int positionBits = PositionBits(dictionaryBits);
  constexpr size_t kChunk = 1 << 15;
  // [history | new output]; the history starts as blanks, as other decoders assume.
  std::vector<uint8_t> buffer(dictionary + kChunk + kMaxMatch + 16);
  std::memset(buffer.data(), ' ', dictionary);
  size_t pos = dictionary, flushed = dictionary;
  uint64_t produced = 0;

  BitReader bits(in, packedSize);
  HuffmanTable temp(8), chars(12), positions(8);
  uint32_t blockRemaining = 0;

  auto flush = [&]() -> bool {
    crc = UpdateCrc16(crc, buffer.data() + flushed, pos - flushed);
    if (!out.Write(buffer.data() + flushed, pos - flushed)) return false;
    std::memmove(buffer.data(), buffer.data() + pos - dictionary, dictionary);
    pos = flushed = dictionary;
    return true;
  };

  while (produced < originalSize) {
    if (blockRemaining == 0) {
      if (bits.Overrun()) return DecodeResult::Damaged;
      blockRemaining = bits.Get(16);
      if (blockRemaining == 0) return DecodeResult::Damaged;
      if (!ReadSmallTable(bits, temp, kTempCodes, kTempBits, 3) || !ReadCharTable(bits, temp, chars) ||
          !ReadSmallTable(bits, positions, positionCodes, positionBits, -1))
        return DecodeResult::Damaged;
    }
    --blockRemaining;
    int code = chars.Decode(bits);
    if (code < 0) return DecodeResult::Damaged;
    if (code < 256) {
      buffer[pos++] = static_cast<uint8_t>(code);
      ++produced;
    } else {
      size_t length = static_cast<size_t>(code - 256 + kMinMatch);
      int p = positions.Decode(bits);
      if (p < 0) return DecodeResult::Damaged;
      size_t distance = (p <= 1 ? static_cast<size_t>(p) : (size_t{1} << (p - 1)) + bits.Get(p - 1)) + 1;
      length = static_cast<size_t>(std::min<uint64_t>(length, originalSize - produced));
      uint8_t* dst = buffer.data() + pos;
      const uint8_t* src = dst - distance;
      if (distance >= 8) {
        for (size_t i = 0; i < length; i += 8) std::memcpy(dst + i, src + i, 8);
      } else {
        for (size_t i = 0; i < length; ++i) dst[i] = src[i];
      }
      pos += length;
      produced += length;
    }
    if (pos >= dictionary + kChunk) {
      if (!flush()) return DecodeResult::WriteFailed;
      if (progress && !progress->Advance(produced, originalSize)) return DecodeResult::Stopped;
    }
  }
  if (bits.Overrun() || bits.ReadFailed()) return DecodeResult::Damaged;
  if (!flush()) return DecodeResult::WriteFailed;
  if (progress && !progress->Advance(produced, originalSize)) return DecodeResult::Stopped;
  return DecodeResult::Ok;
}

}  // namespace vorn::lha
