#pragma once
// Constants of the -lh5- family's block format, shared by its encoder and decoder.
namespace vorn::lha::lzh {

constexpr int kMaxMatch = 256;
constexpr int kMinMatch = 3;
constexpr int kCharCodes = 256 + kMaxMatch - kMinMatch + 1;  // literals and match lengths: 510
constexpr int kCharBits = 9;       // bits of the char-table size fields
constexpr int kTempCodes = 19;     // code lengths 0..16 plus the three run codes
constexpr int kTempBits = 5;
constexpr int kMaxCodeLength = 16;

constexpr int PositionCodes(int dictionaryBits) { return dictionaryBits + 1; }
constexpr int PositionBits(int dictionaryBits) { return dictionaryBits >= 14 ? 5 : 4; }

}  // namespace vorn::lha::lzh
