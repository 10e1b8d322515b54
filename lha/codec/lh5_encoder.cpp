#include "lha/codec/lh5_encoder.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#include "lha/codec/huffman_lengths.h"
#include "lha/codec/lzh_format.h"

namespace vorn::lha {
namespace {

using namespace lzh;

constexpr int kDictionaryBits = 13;
constexpr int kDictionary = 1 << kDictionaryBits;
constexpr int kPositionCodes = PositionCodes(kDictionaryBits);
constexpr int kPositionBits = PositionBits(kDictionaryBits);
constexpr int kBufferSize = 1 << 15;  // positions + 1 fit the 16-bit chain links
constexpr int kHashBits = 15;
constexpr int kMaxChain = 96;         // candidates tried per position
// A match this long is good enough that the lazy look for a longer one tries a quarter of them.
constexpr int kGoodLength = 16;
constexpr int kFarThreeMatch = 2048;  // a 3-byte match further back costs more than its literals
constexpr size_t kChunkCodes = 4096;                // blocks are made of whole chunks of codes
constexpr size_t kBufferedCodes = 8 * kChunkCodes;  // codes gathered before they are split into blocks
// Bytes the codes gathered take at most: 44 bits a code, and the tables of at most one block a chunk.
constexpr size_t kMaxBlockBytes = kBufferedCodes * 44 / 8 + (kBufferedCodes / kChunkCodes) * 2048;

// MSB-first bits into a byte buffer handed to the sink in large pieces; beyond the flush mark the
// buffer holds all the blocks of the codes gathered.
class BitWriter {
 public:
  explicit BitWriter(ByteSink& out) : out_(out), bytes_(kFlushAt + kMaxBlockBytes) {}
  void Put(int n, uint32_t value) {
    acc_ = (acc_ << n) | value;
    count_ += n;
    if (count_ >= 32) {
      count_ -= 32;
      const uint32_t word = static_cast<uint32_t>(acc_ >> count_);
      bytes_[used_] = static_cast<uint8_t>(word >> 24);
      bytes_[used_ + 1] = static_cast<uint8_t>(word >> 16);
      bytes_[used_ + 2] = static_cast<uint8_t>(word >> 8);
      bytes_[used_ + 3] = static_cast<uint8_t>(word);
      used_ += 4;
    }
  }
  bool Flush(bool final) {
    if (final) {
      while (count_ >= 8) {
        count_ -= 8;
        bytes_[used_++] = static_cast<uint8_t>(acc_ >> count_);
      }
      if (count_ > 0) bytes_[used_++] = static_cast<uint8_t>(acc_ << (8 - count_));
      count_ = 0;
    }
    if (used_ < (final ? 1u : kFlushAt)) return ok_;
    ok_ = ok_ && out_.Write(bytes_.data(), used_);
    written_ += used_;
    used_ = 0;
    return ok_;
  }
  uint64_t Written() const { return written_ + used_ + count_ / 8; }

 private:
  static constexpr size_t kFlushAt = 1 << 16;
  ByteSink& out_;
  std::vector<uint8_t> bytes_;
  size_t used_ = 0;
  uint64_t acc_ = 0;
  int count_ = 0;
  uint64_t written_ = 0;
  bool ok_ = true;
};

int BitLength(unsigned v) { return std::bit_width(v); }

}  // namespace

struct Lh5Encoder::State {
  explicit State(ByteSink& out) : bits(out) {
    codes.reserve(kBufferedCodes);
  }

  BitWriter bits;
  std::vector<uint8_t> window = std::vector<uint8_t>(kBufferSize + kMaxMatch);
  // Hash chains of buffer positions, stored as position + 1 so that 0 means none.
  std::vector<uint16_t> prev = std::vector<uint16_t>(kBufferSize);
  std::vector<uint16_t> head = std::vector<uint16_t>(1 << kHashBits);
  int pos = 0, end = 0;
  // Lazy evaluation: a match found at pos - 1 waits for the search at pos.
  int pendingLength = 0, pendingDistance = 0;
  bool pendingLiteral = false;

  struct Code {
    uint16_t symbol;
    uint16_t offset;
  };
  std::vector<Code> codes;

  static uint32_t Hash(const uint8_t* p) {
    const uint32_t three = p[0] | (p[1] << 8) | (p[2] << 16);
    return (three * 2654435761u) >> (32 - kHashBits);
  }

  void Insert(int at) {
    uint32_t h = Hash(&window[at]);
    prev[at] = head[h];
    head[h] = static_cast<uint16_t>(at + 1);
  }

  static int MatchLength(const uint8_t* a, const uint8_t* b, int limit) {
    int len = 0;
    while (len + 8 <= limit) {
      uint64_t x, y;
      std::memcpy(&x, a + len, 8);
      std::memcpy(&y, b + len, 8);
      if (x != y) return len + (__builtin_ctzll(x ^ y) >> 3);
      len += 8;
    }
    while (len < limit && a[len] == b[len]) ++len;
    return len;
  }

  // Longest earlier match at `at` within the window, limited by the bytes available.
  int LongestMatch(int at, int available, int shorterThan, int& distance) {
    const int limit = std::min(available, kMaxMatch);
    if (limit < kMinMatch) return 0;
    const uint8_t* here = &window[at];
    int best = std::max(shorterThan, kMinMatch - 1);
    int candidate = prev[at] - 1;
    const int lowest = at - kDictionary;
    const int tries = shorterThan >= kGoodLength ? kMaxChain / 4 : kMaxChain;
    for (int chain = tries; candidate >= 0 && candidate >= lowest && chain > 0; --chain) {
      const uint8_t* there = &window[candidate];
      // Only a candidate that agrees where a longer match must (its first two bytes and the two
      // ending at the length to beat) is measured.
      uint16_t tailThere, tailHere, headThere, headHere;
      std::memcpy(&tailThere, there + best - 1, 2);
      std::memcpy(&tailHere, here + best - 1, 2);
      std::memcpy(&headThere, there, 2);
      std::memcpy(&headHere, here, 2);
      if (tailThere == tailHere && headThere == headHere) {
        int len = MatchLength(here, there, limit);
        if (len > best) {
          best = len;
          distance = at - candidate;
          if (len == limit) break;  // nothing longer exists
        }
      }
      candidate = prev[candidate] - 1;
    }
    if (best == kMinMatch && distance > kFarThreeMatch) return 0;
    return best > std::max(shorterThan, kMinMatch - 1) ? best : 0;
  }

  void EmitLiteral(uint8_t c) {
    codes.push_back({c, 0});
    if (codes.size() == kBufferedCodes) FlushCodes();
  }

  void EmitMatch(int length, int distance) {
    codes.push_back({static_cast<uint16_t>(length - kMinMatch + 256), static_cast<uint16_t>(distance - 1)});
    if (codes.size() == kBufferedCodes) FlushCodes();
  }

  // Processes positions while `keep` bytes of lookahead remain (0 at the end of input).
  void Process(int keep) {
    while (end - pos > keep) {
      const int available = end - pos;
      if (available >= kMinMatch) Insert(pos);
      int distance = 0;
      int length = pendingLength == kMaxMatch ? 0 : LongestMatch(pos, available, pendingLength, distance);
      if (pendingLength >= kMinMatch && length == 0) {
        // The match found one byte back wins; its first byte was pos - 1.
        EmitMatch(pendingLength, pendingDistance);
        int stop = pos - 1 + pendingLength;
        for (++pos; pos < stop; ++pos)
          if (end - pos >= kMinMatch) Insert(pos);
        pendingLength = 0;
        pendingLiteral = false;
        continue;
      }
      if (pendingLiteral) EmitLiteral(window[pos - 1]);
      pendingLength = length;
      pendingDistance = distance;
      pendingLiteral = true;
      ++pos;
    }
  }

  // Moves the last window of history to the front of the buffer.
  void Slide() {
    const int shift = pos - kDictionary - 1;
    if (shift <= 0) return;
    std::memmove(window.data(), window.data() + shift, end - shift);
    std::memmove(prev.data(), prev.data() + shift, (end - shift) * sizeof(uint16_t));
    auto rebase = [shift](uint16_t& v) { v = static_cast<uint16_t>(v > shift ? v - shift : 0); };
    for (auto& v : head) rebase(v);
    for (int i = 0; i < end - shift; ++i) rebase(prev[i]);
    pos -= shift;
    end -= shift;
  }

  void WritePtLengths(const uint8_t* lengths, int n, int countBits, int specialIndex) {
    while (n > 0 && lengths[n - 1] == 0) --n;
    bits.Put(countBits, n);
    for (int i = 0; i < n;) {
      int k = lengths[i++];
      if (k <= 6) bits.Put(3, k);
      else bits.Put(k - 3, (1u << (k - 3)) - 2);
      if (i == specialIndex) {
        while (i < 6 && lengths[i] == 0) ++i;
        bits.Put(2, i - 3);
      }
    }
  }

  // Walks the char-code lengths as the temp code sees them: lengths and runs of zeros.
  template <typename Sink>
  static void WalkCharLengths(const uint8_t* lengths, Sink&& sink) {
    int n = kCharCodes;
    while (n > 0 && lengths[n - 1] == 0) --n;
    for (int i = 0; i < n;) {
      int k = lengths[i++];
      if (k != 0) {
        sink(k + 2, 0, 0);
        continue;
      }
      int run = 1;
      while (i < n && lengths[i] == 0) ++i, ++run;
      if (run <= 2) {
        for (int r = 0; r < run; ++r) sink(0, 0, 0);
      } else if (run <= 18) {
        sink(1, 4, run - 3);
      } else if (run == 19) {
        sink(0, 0, 0);
        sink(1, 4, 15);
      } else {
        sink(2, kCharBits, run - 20);
      }
    }
  }

  // The codes of one block and the bits they take.
  struct BlockPlan {
    std::array<uint8_t, kCharCodes> charLen{};
    std::array<uint8_t, kPositionCodes> posLen{};
    std::array<uint8_t, kTempCodes> tempLen{};
    int usedChars = 0, usedTemp = 0, usedPos = 0;
    uint64_t bits = 0;
  };

  // Symbol counts of a stretch of codes.
  struct Histogram {
    std::array<uint32_t, kCharCodes> chars{};
    std::array<uint32_t, kPositionCodes> positions{};
    void Add(const Histogram& other) {
      for (int i = 0; i < kCharCodes; ++i) chars[i] += other.chars[i];
      for (int i = 0; i < kPositionCodes; ++i) positions[i] += other.positions[i];
    }
  };
  std::vector<Histogram> chunkCounts = std::vector<Histogram>(kBufferedCodes / kChunkCodes);

  static BlockPlan Plan(const Histogram& counts) {
    BlockPlan plan;
    plan.usedChars = BuildHuffmanLengths(counts.chars.data(), kCharCodes, kMaxCodeLength, plan.charLen.data());
    plan.usedPos = BuildHuffmanLengths(counts.positions.data(), kPositionCodes, kMaxCodeLength, plan.posLen.data());
    uint64_t bits = 16 + kTempBits * 2 + kCharBits * 2 + kPositionBits * 2;
    if (plan.usedChars >= 2) {
      std::array<uint32_t, kTempCodes> tempFreq{};
      WalkCharLengths(plan.charLen.data(), [&](int code, int, int) { tempFreq[code]++; });
      plan.usedTemp = BuildHuffmanLengths(tempFreq.data(), kTempCodes, kMaxCodeLength, plan.tempLen.data());
      bits += kTempCodes * 4;
      WalkCharLengths(plan.charLen.data(), [&](int code, int extraBits, int) { bits += plan.tempLen[code] + extraBits; });
      for (int i = 0; i < kCharCodes; ++i) bits += uint64_t{counts.chars[i]} * plan.charLen[i];
    }
    if (plan.usedPos >= 2) {
      bits += kPositionCodes * 4;
      for (int i = 0; i < kPositionCodes; ++i)
        bits += uint64_t{counts.positions[i]} * (plan.posLen[i] + (i > 1 ? i - 1 : 0));
    }
    plan.bits = bits;
    return plan;
  }

  Histogram Counts(size_t firstChunk, size_t lastChunk) const {
    Histogram sum;
    for (size_t c = firstChunk; c < lastChunk; ++c) sum.Add(chunkCounts[c]);
    return sum;
  }

  // Writes the codes of chunks [first, last) as one block, or as two halves, each split again,
  // where that is smaller: a block's code then follows the statistics of its own stretch of data.
  void WriteBlocks(size_t first, size_t last) {
    const BlockPlan whole = Plan(Counts(first, last));
    if (last - first >= 2) {
      const size_t middle = first + (last - first) / 2;
      if (Plan(Counts(first, middle)).bits + Plan(Counts(middle, last)).bits < whole.bits) {
        WriteBlocks(first, middle);
        WriteBlocks(middle, last);
        return;
      }
    }
    WriteBlock(first * kChunkCodes, std::min(last * kChunkCodes, codes.size()), whole);
  }

  void FlushCodes() {
    if (codes.empty()) return;
    const size_t chunks = (codes.size() + kChunkCodes - 1) / kChunkCodes;
    for (size_t c = 0; c < chunks; ++c) {
      Histogram& counts = chunkCounts[c];
      counts = Histogram{};
      for (size_t i = c * kChunkCodes, last = std::min(codes.size(), i + kChunkCodes); i < last; ++i) {
        counts.chars[codes[i].symbol]++;
        if (codes[i].symbol >= 256) counts.positions[BitLength(codes[i].offset)]++;
      }
    }
    WriteBlocks(0, chunks);
    codes.clear();
    bits.Flush(false);
  }

  void WriteBlock(size_t first, size_t last, const BlockPlan& plan) {
    std::array<uint16_t, kCharCodes> charCode{};
    std::array<uint16_t, kPositionCodes> posCode{};
    std::array<uint16_t, kTempCodes> tempCode{};
    bits.Put(16, static_cast<uint32_t>(last - first));
    if (plan.usedChars >= 2) {
      if (plan.usedTemp >= 2) {
        WritePtLengths(plan.tempLen.data(), kTempCodes, kTempBits, 3);
      } else {
        bits.Put(kTempBits, 0);
        bits.Put(kTempBits, OnlyCode(plan.charLen.data()));
      }
      AssignCanonicalCodes(plan.tempLen.data(), kTempCodes, tempCode.data());
      int n = kCharCodes;
      while (n > 0 && plan.charLen[n - 1] == 0) --n;
      bits.Put(kCharBits, n);
      WalkCharLengths(plan.charLen.data(), [&](int code, int extraBits, int extra) {
        bits.Put(plan.tempLen[code], tempCode[code]);
        if (extraBits) bits.Put(extraBits, extra);
      });
      AssignCanonicalCodes(plan.charLen.data(), kCharCodes, charCode.data());
    } else {
      bits.Put(kTempBits, 0);
      bits.Put(kTempBits, 0);
      bits.Put(kCharBits, 0);
      bits.Put(kCharBits, codes[first].symbol);
    }
    if (plan.usedPos >= 2) {
      WritePtLengths(plan.posLen.data(), kPositionCodes, kPositionBits, -1);
      AssignCanonicalCodes(plan.posLen.data(), kPositionCodes, posCode.data());
    } else {
      size_t only = 0;
      for (size_t i = first; i < last; ++i)
        if (codes[i].symbol >= 256) only = BitLength(codes[i].offset);
      bits.Put(kPositionBits, 0);
      bits.Put(kPositionBits, static_cast<uint32_t>(only));
    }
    for (size_t i = first; i < last; ++i) {
      const Code& c = codes[i];
      bits.Put(plan.charLen[c.symbol], charCode[c.symbol]);
      if (c.symbol >= 256) {
        int p = BitLength(c.offset);
        bits.Put(plan.posLen[p], posCode[p]);
        if (p > 1) bits.Put(p - 1, c.offset & ((1u << (p - 1)) - 1));
      }
    }
  }

  // The one temp code a block's char lengths use, when they use only one.
  static int OnlyCode(const uint8_t* charLen) {
    int only = 0;
    WalkCharLengths(charLen, [&](int code, int, int) { only = code; });
    return only;
  }
};

Lh5Encoder::Lh5Encoder(ByteSink& out) : state_(std::make_unique<State>(out)) {}
Lh5Encoder::~Lh5Encoder() = default;

bool Lh5Encoder::Write(const void* data, size_t size) {
  State& s = *state_;
  const auto* p = static_cast<const uint8_t*>(data);
  while (size > 0) {
    if (s.end == kBufferSize) {
      s.Process(kMaxMatch);
      s.Slide();
    }
    size_t n = std::min<size_t>(size, kBufferSize - s.end);
    std::memcpy(s.window.data() + s.end, p, n);
    s.end += static_cast<int>(n);
    p += n;
    size -= n;
  }
  return s.bits.Flush(false);
}

bool Lh5Encoder::Finish() {
  State& s = *state_;
  s.Process(0);
  if (s.pendingLength >= kMinMatch) {
    s.EmitMatch(s.pendingLength, s.pendingDistance);
  } else if (s.pendingLiteral) {
    s.EmitLiteral(s.window[s.pos - 1]);
  }
  s.pendingLength = 0;
  s.pendingLiteral = false;
  s.FlushCodes();
  return s.bits.Flush(true);
}

uint64_t Lh5Encoder::PackedSize() const { return state_->bits.Written(); }

}  // namespace vorn::lha
