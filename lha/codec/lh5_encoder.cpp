#include "lha/codec/lh5_encoder.h"

#include <algorithm>
#include <array>
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
constexpr int kMaxChain = 48;       // candidates tried per position
constexpr int kNiceLength = 128;    // a match this long ends the search
constexpr int kLazyLength = 32;     // no second look when the pending match is this long
constexpr int kFarThreeMatch = 2048;  // a 3-byte match further back costs more than its literals
constexpr int kBlockCodes = 16384;

class BitWriter {
 public:
  explicit BitWriter(ByteSink& out) : out_(out) { bytes_.reserve(kFlushAt + 16); }
  void Put(int n, uint32_t value) {
    acc_ = (acc_ << n) | value;
    count_ += n;
    while (count_ >= 8) {
      count_ -= 8;
      bytes_.push_back(static_cast<uint8_t>(acc_ >> count_));
    }
  }
  bool Flush(bool final) {
    if (final && count_ > 0) Put(8 - count_, 0);
    if (bytes_.size() < (final ? 1u : kFlushAt)) return ok_;
    ok_ = ok_ && out_.Write(bytes_.data(), bytes_.size());
    written_ += bytes_.size();
    bytes_.clear();
    return ok_;
  }
  uint64_t Written() const { return written_ + bytes_.size(); }

 private:
  static constexpr size_t kFlushAt = 1 << 16;
  ByteSink& out_;
  std::vector<uint8_t> bytes_;
  uint64_t acc_ = 0;
  int count_ = 0;
  uint64_t written_ = 0;
  bool ok_ = true;
};

int BitLength(unsigned v) {
  int n = 0;
  while (v) {
    ++n;
    v >>= 1;
  }
  return n;
}

}  // namespace

struct Lh5Encoder::State {
  explicit State(ByteSink& out) : bits(out) {
    codes.reserve(kBlockCodes);
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
  std::array<uint32_t, kCharCodes> charFreq{};
  std::array<uint32_t, kPositionCodes> posFreq{};

  static uint32_t Hash(const uint8_t* p) {
    return ((p[0] << 10) ^ (p[1] << 5) ^ p[2]) & ((1 << kHashBits) - 1);
  }

  void Insert(int at) {
    uint32_t h = Hash(&window[at]);
    prev[at] = head[h];
    head[h] = static_cast<uint16_t>(at + 1);
  }

  // Longest earlier match at `at` within the window, limited by the bytes available.
  int LongestMatch(int at, int available, int shorterThan, int& distance) {
    const int limit = std::min(available, kMaxMatch);
    if (limit < kMinMatch) return 0;
    const uint8_t* here = &window[at];
    int best = std::max(shorterThan, kMinMatch - 1);
    int candidate = prev[at] - 1;
    const int lowest = at - kDictionary;
    for (int chain = kMaxChain; candidate >= 0 && candidate >= lowest && chain > 0; --chain) {
      const uint8_t* there = &window[candidate];
      if (there[best] == here[best] && there[0] == here[0] && there[1] == here[1]) {
        int len = 2;
        while (len < limit && there[len] == here[len]) ++len;
        if (len > best) {
          best = len;
          distance = at - candidate;
          if (len >= std::min(limit, kNiceLength)) break;
        }
      }
      candidate = prev[candidate] - 1;
    }
    if (best == kMinMatch && distance > kFarThreeMatch) return 0;
    return best > std::max(shorterThan, kMinMatch - 1) ? best : 0;
  }

  void EmitLiteral(uint8_t c) {
    codes.push_back({c, 0});
    charFreq[c]++;
    if (codes.size() == kBlockCodes) WriteBlock();
  }

  void EmitMatch(int length, int distance) {
    uint16_t offset = static_cast<uint16_t>(distance - 1);
    uint16_t symbol = static_cast<uint16_t>(length - kMinMatch + 256);
    codes.push_back({symbol, offset});
    charFreq[symbol]++;
    posFreq[BitLength(offset)]++;
    if (codes.size() == kBlockCodes) WriteBlock();
  }

  // Processes positions while `keep` bytes of lookahead remain (0 at the end of input).
  void Process(int keep) {
    while (end - pos > keep) {
      const int available = end - pos;
      if (available >= kMinMatch) Insert(pos);
      int distance = 0;
      int length = pendingLength >= kLazyLength ? 0 : LongestMatch(pos, available, pendingLength, distance);
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

  void WriteBlock() {
    if (codes.empty()) return;
    std::array<uint8_t, kCharCodes> charLen{};
    std::array<uint16_t, kCharCodes> charCode{};
    std::array<uint8_t, kPositionCodes> posLen{};
    std::array<uint16_t, kPositionCodes> posCode{};
    bits.Put(16, static_cast<uint32_t>(codes.size()));

    int usedChars = BuildHuffmanLengths(charFreq.data(), kCharCodes, kMaxCodeLength, charLen.data());
    if (usedChars >= 2) {
      std::array<uint32_t, kTempCodes> tempFreq{};
      WalkCharLengths(charLen.data(), [&](int code, int, int) { tempFreq[code]++; });
      std::array<uint8_t, kTempCodes> tempLen{};
      std::array<uint16_t, kTempCodes> tempCode{};
      int usedTemp = BuildHuffmanLengths(tempFreq.data(), kTempCodes, kMaxCodeLength, tempLen.data());
      if (usedTemp >= 2) {
        WritePtLengths(tempLen.data(), kTempCodes, kTempBits, 3);
      } else {
        int only = static_cast<int>(std::find_if(tempFreq.begin(), tempFreq.end(), [](uint32_t f) { return f; }) -
                                    tempFreq.begin());
        bits.Put(kTempBits, 0);
        bits.Put(kTempBits, only);
      }
      AssignCanonicalCodes(tempLen.data(), kTempCodes, tempCode.data());
      int n = kCharCodes;
      while (n > 0 && charLen[n - 1] == 0) --n;
      bits.Put(kCharBits, n);
      WalkCharLengths(charLen.data(), [&](int code, int extraBits, int extra) {
        bits.Put(tempLen[code], tempCode[code]);
        if (extraBits) bits.Put(extraBits, extra);
      });
      AssignCanonicalCodes(charLen.data(), kCharCodes, charCode.data());
    } else {
      bits.Put(kTempBits, 0);
      bits.Put(kTempBits, 0);
      bits.Put(kCharBits, 0);
      bits.Put(kCharBits, codes[0].symbol);
    }

    int usedPos = BuildHuffmanLengths(posFreq.data(), kPositionCodes, kMaxCodeLength, posLen.data());
    if (usedPos >= 2) {
      WritePtLengths(posLen.data(), kPositionCodes, kPositionBits, -1);
      AssignCanonicalCodes(posLen.data(), kPositionCodes, posCode.data());
    } else {
      int only = static_cast<int>(std::find_if(posFreq.begin(), posFreq.end(), [](uint32_t f) { return f; }) -
                                  posFreq.begin());
      bits.Put(kPositionBits, 0);
      bits.Put(kPositionBits, only == kPositionCodes ? 0 : only);
    }

    for (const Code& c : codes) {
      bits.Put(charLen[c.symbol], charCode[c.symbol]);
      if (c.symbol >= 256) {
        int p = BitLength(c.offset);
        bits.Put(posLen[p], posCode[p]);
        if (p > 1) bits.Put(p - 1, c.offset & ((1u << (p - 1)) - 1));
      }
    }
    codes.clear();
    charFreq.fill(0);
    posFreq.fill(0);
    bits.Flush(false);
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
  s.WriteBlock();
  return s.bits.Flush(true);
}

uint64_t Lh5Encoder::PackedSize() const { return state_->bits.Written(); }

}  // namespace vorn::lha
