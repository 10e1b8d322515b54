#pragma once
// CRC-16 of LHA members and level-2 headers (polynomial 0x8005 reflected, initial value 0).
#include <cstddef>
#include <cstdint>

namespace vorn::lha {

uint16_t UpdateCrc16(uint16_t crc, const void* data, size_t size);

}  // namespace vorn::lha
