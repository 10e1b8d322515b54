#include "lha/codec/crc16.h"

#include <array>

namespace vorn::lha {
namespace {

// Four tables let the loop fold four bytes per step.
using Tables = std::array<std::array<uint16_t, 256>, 4>;

constexpr Tables MakeTables() {
  Tables t{};
  for (unsigned i = 0; i < 256; ++i) {
    uint16_t c = static_cast<uint16_t>(i);
    for (int k = 0; k < 8; ++k) c = static_cast<uint16_t>((c & 1) ? (c >> 1) ^ 0xA001 : c >> 1);
    t[0][i] = c;
  }
  for (unsigned i = 0; i < 256; ++i)
    for (int k = 1; k < 4; ++k) t[k][i] = static_cast<uint16_t>((t[k - 1][i] >> 8) ^ t[0][t[k - 1][i] & 0xFF]);
  return t;
}

constexpr Tables kTables = MakeTables();

}  // namespace

uint16_t UpdateCrc16(uint16_t crc, const void* data, size_t size) {
  const auto* p = static_cast<const uint8_t*>(data);
  while (size >= 4) {
    uint32_t x = crc ^ (p[0] | (p[1] << 8));
    crc = kTables[3][x & 0xFF] ^ kTables[2][(x >> 8) & 0xFF] ^ kTables[1][p[2]] ^ kTables[0][p[3]];
    p += 4;
    size -= 4;
  }
  while (size--) crc = static_cast<uint16_t>((crc >> 8) ^ kTables[0][(crc ^ *p++) & 0xFF]);
  return crc;
}

}  // namespace vorn::lha
