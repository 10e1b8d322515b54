#pragma once
// Member headers assembled byte by byte, in the forms other LHA tools write.
#include <cstdint>
#include <string>
#include <vector>

namespace vorn::lha::test {

std::string Le(uint64_t value, int bytes);
uint16_t Crc(const std::string& data);

// 2001-02-03 04:05:06 as an MS-DOS stamp: time in the low word, date in the high word.
constexpr uint32_t kDosStamp = ((4u << 11) | (5u << 5) | 3u) | ((((2001u - 1980) << 9) | (2u << 5) | 3u) << 16);
constexpr int64_t kDosStampUnix = 981173106;

// A level-0 member: the name in the base header, then the packed data.
std::string Level0(const std::string& method, const std::string& name, const std::string& packed,
                   uint64_t original, uint16_t crc, uint8_t attributes = 0x20);

// An extended header: its type byte and data.
std::string Ext(uint8_t type, const std::string& data);

// A level-2 or level-3 member stored as it is ("-lh0-" unless given): the base fields, then the
// extended headers, then the data. sizeShort states a level-2 header two bytes short, as OS-9 LHA
// does.
std::string Sized(int level, const std::vector<std::string>& extensions, const std::string& data, uint32_t time,
                  char os, bool sizeShort = false, const std::string& method = "-lh0-");

// MacLHA's MacBinary wrapping of a file: a 128-byte header, the data fork, the resource fork and
// padding, with the modification time in Tokyo's local time.
std::string MacBinary(const std::string& name, const std::string& dataFork, const std::string& resourceFork,
                      uint32_t unixTime);

}  // namespace vorn::lha::test
