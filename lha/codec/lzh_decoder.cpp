#include "lha/codec/lzh_decoder.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
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
  BitReader(BufferedSource& in, uint64_t limit, uint64_t startByte = 0)
      : in_(in), remaining_(limit), end_(startByte + limit) {}

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
  // Bits of the member's data consumed so far, counted from its start.
  uint64_t BitPosition() const { return (end_ - remaining_) * 8 + padBits_ - static_cast<uint64_t>(count_); }

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
  uint64_t end_;
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

struct LzhDecoder::State {
  State(int dictionaryBits, BufferedSource& in, uint64_t packedSize, uint64_t originalSize, uint64_t startByte)
      : dictionary(size_t{1} << dictionaryBits),
        positionCodes(PositionCodes(dictionaryBits)),
        positionBits(PositionBits(dictionaryBits)),
        originalSize(originalSize),
        bits(in, packedSize - std::min(startByte, packedSize), std::min(startByte, packedSize)),
        buffer(dictionary + kChunk + kMaxMatch + 16) {}

  static constexpr size_t kChunk = 1 << 15;
  const size_t dictionary;
  const int positionCodes;
  const int positionBits;
  const uint64_t originalSize;
  BitReader bits;
  HuffmanTable temp{8}, chars{12}, positions{8};
  // [history | new output]
  std::vector<uint8_t> buffer;
  size_t pos = 0, flushed = 0;
  uint64_t produced = 0;
  uint16_t crc = 0;
  uint32_t blockRemaining = 0;

  bool Flush(ByteSink& out) {
    crc = UpdateCrc16(crc, buffer.data() + flushed, pos - flushed);
    if (!out.Write(buffer.data() + flushed, pos - flushed)) return false;
    std::memmove(buffer.data(), buffer.data() + pos - dictionary, dictionary);
    pos = flushed = dictionary;
    return true;
  }
};

LzhDecoder::LzhDecoder(int dictionaryBits, BufferedSource& in, uint64_t packedSize, uint64_t originalSize,
                       uint16_t crc)
    : state_(std::make_unique<State>(dictionaryBits, in, packedSize, originalSize, 0)) {
  // The history starts as blanks, as other decoders assume.
  std::memset(state_->buffer.data(), ' ', state_->dictionary);
  state_->pos = state_->flushed = state_->dictionary;
  state_->crc = crc;
}

LzhDecoder::LzhDecoder(int dictionaryBits, BufferedSource& in, uint64_t packedSize, uint64_t originalSize,
                       const LzhResumePoint& point)
    : state_(std::make_unique<State>(dictionaryBits, in, packedSize, originalSize, point.bitPosition / 8)) {
  State& s = *state_;
  std::memset(s.buffer.data(), ' ', s.dictionary);
  const size_t kept = std::min(point.history.size(), s.dictionary);
  std::memcpy(s.buffer.data() + s.dictionary - kept, point.history.data() + point.history.size() - kept, kept);
  s.pos = s.flushed = s.dictionary;
  s.produced = point.produced;
  s.crc = point.crc;
  s.bits.Get(static_cast<int>(point.bitPosition % 8));
}

LzhDecoder::~LzhDecoder() = default;

uint64_t LzhDecoder::produced() const { return state_->produced; }
uint16_t LzhDecoder::crc() const { return state_->crc; }

DecodeResult LzhDecoder::Run(uint64_t until, ByteSink& out, Progress* progress, LzhBlockStarts* starts) {
  State& s = *state_;
  BitReader& bits = s.bits;
  std::vector<uint8_t>& buffer = s.buffer;
  const uint64_t goal = std::min(until, s.originalSize);
  while (s.produced < goal) {
    if (s.blockRemaining == 0) {
      if (bits.Overrun()) return DecodeResult::Damaged;
      if (starts && starts->Wanted(s.produced)) {
        if (!s.Flush(out)) return DecodeResult::WriteFailed;
        starts->Keep({bits.BitPosition(), s.produced, s.crc, {buffer.begin(), buffer.begin() + s.dictionary}});
      }
      s.blockRemaining = bits.Get(16);
      if (s.blockRemaining == 0) return DecodeResult::Damaged;
      if (!ReadSmallTable(bits, s.temp, kTempCodes, kTempBits, 3) || !ReadCharTable(bits, s.temp, s.chars) ||
          !ReadSmallTable(bits, s.positions, s.positionCodes, s.positionBits, -1))
        return DecodeResult::Damaged;
    }
    --s.blockRemaining;
    int code = s.chars.Decode(bits);
    if (code < 0) return DecodeResult::Damaged;
    if (code < 256) {
      buffer[s.pos++] = static_cast<uint8_t>(code);
      ++s.produced;
    } else {
      size_t length = static_cast<size_t>(code - 256 + kMinMatch);
      int p = s.positions.Decode(bits);
      if (p < 0) return DecodeResult::Damaged;
      size_t distance = (p <= 1 ? static_cast<size_t>(p) : (size_t{1} << (p - 1)) + bits.Get(p - 1)) + 1;
      length = static_cast<size_t>(std::min<uint64_t>(length, s.originalSize - s.produced));
      uint8_t* dst = buffer.data() + s.pos;
      const uint8_t* src = dst - distance;
      if (distance >= 8) {
        for (size_t i = 0; i < length; i += 8) std::memcpy(dst + i, src + i, 8);
      } else {
        for (size_t i = 0; i < length; ++i) dst[i] = src[i];
      }
      s.pos += length;
      s.produced += length;
    }
    if (s.pos >= s.dictionary + State::kChunk) {
      if (!s.Flush(out)) return DecodeResult::WriteFailed;
      if (progress && !progress->Advance(s.produced, s.originalSize)) return DecodeResult::Stopped;
    }
  }
  if (bits.Overrun() || bits.ReadFailed()) return DecodeResult::Damaged;
  if (!s.Flush(out)) return DecodeResult::WriteFailed;
  if (progress && !progress->Advance(s.produced, s.originalSize)) return DecodeResult::Stopped;
  return DecodeResult::Ok;
}

DecodeResult DecodeLzh(int dictionaryBits, BufferedSource& in, uint64_t packedSize, uint64_t originalSize,
                       ByteSink& out, uint16_t& crc, Progress* progress) {
  LzhDecoder decoder(dictionaryBits, in, packedSize, originalSize, crc);
  const DecodeResult result = decoder.Run(originalSize, out, progress);
  crc = decoder.crc();
  return result;
}

}  // namespace vorn::lha
