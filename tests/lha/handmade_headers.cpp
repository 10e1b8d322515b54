#include "tests/lha/handmade_headers.h"

#include "lha/codec/crc16.h"

namespace vorn::lha::test {

std::string Le(uint64_t value, int bytes) {
  std::string out;
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
  return out;
}

uint16_t Crc(const std::string& data) { return UpdateCrc16(0, data.data(), data.size()); }

std::string Level0(const std::string& method, const std::string& name, const std::string& packed,
                   uint64_t original, uint16_t crc, uint8_t attributes) {
  std::string body = method + Le(packed.size(), 4) + Le(original, 4) + Le(kDosStamp, 4) +
                     static_cast<char>(attributes) + '\0' + static_cast<char>(name.size()) + name + Le(crc, 2);
  uint8_t sum = 0;
  for (char c : body) sum = static_cast<uint8_t>(sum + static_cast<uint8_t>(c));
  return std::string(1, static_cast<char>(body.size())) + static_cast<char>(sum) + body + packed;
}

std::string Ext(uint8_t type, const std::string& data) { return static_cast<char>(type) + data; }

std::string Sized(int level, const std::vector<std::string>& extensions, const std::string& data, uint32_t time,
                  char os, bool sizeShort, const std::string& method) {
  const int width = level == 3 ? 4 : 2;
  std::string chain;
  for (const auto& ext : extensions) chain += Le(ext.size() + width, width) + ext;
  chain += Le(0, width);
  const size_t baseSize = level == 3 ? 28 : 24;
  const size_t total = baseSize + chain.size();
  std::string head = level == 3 ? Le(4, 2) : Le(sizeShort ? total - 2 : total, 2);
  head += method + Le(data.size(), 4) + Le(data.size(), 4) + Le(time, 4) + '\x20' + static_cast<char>(level) +
          Le(Crc(data), 2) + os;
  if (level == 3) head += Le(total, 4);
  return head + chain + data;
}

std::string MacBinary(const std::string& name, const std::string& dataFork, const std::string& resourceFork,
                      uint32_t unixTime) {
  auto be32 = [](uint32_t v) {
    return std::string{static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
                       static_cast<char>(v)};
  };
  std::string header(128, '\0');
  header[1] = static_cast<char>(name.size());
  header.replace(2, name.size(), name);
  header.replace(0x41, 8, "TEXTttxt");
  header.replace(0x53, 4, be32(static_cast<uint32_t>(dataFork.size())));
  header.replace(0x57, 4, be32(static_cast<uint32_t>(resourceFork.size())));
  header.replace(0x5F, 4, be32(unixTime + 2082844800u + 9 * 3600));
  std::string wrapped = header + dataFork + resourceFork;
  return wrapped + std::string((128 - wrapped.size() % 128) % 128, '\0');
}

}  // namespace vorn::lha::test
