#include "lha/codec/member_header.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "lha/codec/crc16.h"
#include "lha/codec/lha_methods.h"
#include "platform/civil_date.h"

namespace vorn::lha {
namespace {

constexpr size_t kBaseSize = 21;  // bytes up to and including the level byte, common to every level
constexpr size_t kMaxHeaderSize = 1 << 16;  // level 3 could state more; no real header comes near
constexpr uint8_t kExtCommon = 0x00, kExtFileName = 0x01, kExtDirName = 0x02, kExtAttributes = 0x40,
                  kExtWindowsTimes = 0x41, kExtLargeSizes = 0x42, kExtUnixTime = 0x54;

uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t Le32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24); }
uint64_t Le64(const uint8_t* p) { return Le32(p) | (static_cast<uint64_t>(Le32(p + 4)) << 32); }

void PutLe(std::string& out, uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// MS-DOS stamps carry no zone; they are taken as UTC.
int64_t FromDosTime(uint32_t stamp) {
  unsigned date = stamp >> 16, time = stamp & 0xFFFF;
  unsigned month = (date >> 5) & 15, day = date & 31;
  if (month < 1 || month > 12 || day < 1) return 0;
  int64_t days = DaysFromCivil(1980 + static_cast<int>(date >> 9), month, day);
  return days * 86400 + (time >> 11) * 3600 + ((time >> 5) & 63) * 60 + (time & 31) * 2;
}

int64_t FromFileTime(uint64_t filetime) {
  return static_cast<int64_t>(filetime / 10000000) - 11644473600LL;
}

bool IsLeadByte(uint8_t c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

bool IsSeparator(uint8_t c) { return c == '\\' || c == '/' || c == 0xFF; }

// A stored name ends at its first NUL: Amiga tools put a comment after it.
std::string UpToNul(const std::string& stored) { return stored.substr(0, stored.find('\0')); }

void SetPath(MemberHeader& header, const std::string& dir, const std::string& name) {
  for (const std::string& stored : {dir, name})
    for (auto& part : SplitStoredPath(UpToNul(stored))) header.path.push_back(std::move(part));
}

// Applies one extended header (type byte first, without its trailing size field).
// Returns false when the entry is malformed.
bool ApplyExtension(const uint8_t* ext, size_t size, MemberHeader& header, std::string& name, std::string& dir) {
  if (size < 1) return false;
  const uint8_t* data = ext + 1;
  size_t length = size - 1;
  switch (ext[0]) {
    case kExtFileName: name.assign(reinterpret_cast<const char*>(data), length); break;
    case kExtDirName: dir.assign(reinterpret_cast<const char*>(data), length); break;
    case kExtAttributes:
      if (length >= 2) header.attributes = Le16(data);
      break;
    case kExtWindowsTimes:
      if (length >= 16) header.modified = FromFileTime(Le64(data + 8));
      break;
    case kExtLargeSizes:
      if (length >= 16) {
        header.packedSize = Le64(data);
        header.originalSize = Le64(data + 8);
      }
      break;
    case kExtUnixTime:
      if (length >= 4) header.modified = Le32(data);
      break;
    default: break;
  }
  return true;
}

bool ValidMethod(const std::string& m) { return m.size() == 5 && m[0] == '-' && m[4] == '-'; }

HeaderRead ReadLevel0Or1(BufferedSource& in, const uint8_t* base, MemberHeader& header) {
  const size_t total = base[0] + 2u;
  if (total < 24) return HeaderRead::Damaged;
  std::array<uint8_t, 257> raw{};
  std::memcpy(raw.data(), base, kBaseSize);
  if (!in.ReadExact(raw.data() + kBaseSize, total - kBaseSize)) return HeaderRead::Damaged;
  uint8_t sum = 0;
  for (size_t i = 2; i < total; ++i) sum = static_cast<uint8_t>(sum + raw[i]);
  if (sum != raw[1]) return HeaderRead::Damaged;

  const size_t nameLength = raw[21];
  if (22 + nameLength + 2 > total) return HeaderRead::Damaged;
  std::string name(reinterpret_cast<const char*>(raw.data() + 22), nameLength);
  header.crc = Le16(raw.data() + 22 + nameLength);
  header.attributes = raw[19];
  header.modified = FromDosTime(Le32(raw.data() + 15));
  size_t after = 24 + nameLength;
  if (after < total) header.osId = raw[after];

  std::string dir;
  if (header.level == 1) {
    // Extended headers follow the base; the packed size counts them too.
    if (total < after + 3) return HeaderRead::Damaged;
    header.osId = raw[after];
    size_t next = Le16(raw.data() + total - 2);
    uint64_t extTotal = 0;
    std::vector<uint8_t> ext;
    while (next != 0) {
      if (next < 3) return HeaderRead::Damaged;
      extTotal += next;
      if (extTotal > header.packedSize) return HeaderRead::Damaged;
      ext.resize(next);
      if (!in.ReadExact(ext.data(), next)) return HeaderRead::Damaged;
      if (!ApplyExtension(ext.data(), next - 2, header, name, dir)) return HeaderRead::Damaged;
      next = Le16(ext.data() + next - 2);
    }
    if (extTotal > header.packedSize) return HeaderRead::Damaged;
    header.packedSize -= extTotal;
  }
  SetPath(header, dir, name);
  return HeaderRead::Member;
}

// Levels 2 and 3: the whole header's size up front, then a chain of extended headers whose size
// fields are `sizeBytes` wide (2 for level 2, 4 for level 3), the first one at `chainAt`.
HeaderRead ReadSizedHeader(BufferedSource& in, std::vector<uint8_t>& raw, size_t chainAt, int sizeBytes,
                           MemberHeader& header) {
  const size_t have = raw.size();
  const size_t total = sizeBytes == 2 ? Le16(raw.data()) : Le32(raw.data() + 24);
  if (total < chainAt + sizeBytes || total > kMaxHeaderSize) return HeaderRead::Damaged;
  raw.resize(total);
  if (!in.ReadExact(raw.data() + have, total - have)) return HeaderRead::Damaged;
  header.modified = Le32(raw.data() + 15);
  header.crc = Le16(raw.data() + 21);
  header.osId = raw[23];
  auto sizeAt = [&](size_t at) { return sizeBytes == 2 ? Le16(raw.data() + at) : Le32(raw.data() + at); };
  std::string name, dir;
  std::optional<uint16_t> headerCrc;
  size_t at = chainAt + sizeBytes;
  uint64_t next = sizeAt(chainAt);
  while (next != 0) {
    if (next < 1u + sizeBytes || next > kMaxHeaderSize) return HeaderRead::Damaged;
    // OS-9 LHA gives the size of a level-2 header without its first two bytes: its chain then
    // ends exactly two bytes beyond the stated size.
    if (sizeBytes == 2 && at + next == raw.size() + 2 && raw.size() == total) {
      raw.resize(total + 2);
      if (!in.ReadExact(raw.data() + total, 2)) return HeaderRead::Damaged;
    }
    if (at + next > raw.size()) return HeaderRead::Damaged;
    const uint8_t* ext = raw.data() + at;
    if (ext[0] == kExtCommon && next >= 3u + sizeBytes) {
      headerCrc = Le16(ext + 1);
      raw[at + 1] = raw[at + 2] = 0;  // the CRC is taken with its own field zeroed
    } else if (!ApplyExtension(ext, next - sizeBytes, header, name, dir)) {
      return HeaderRead::Damaged;
    }
    at += next;
    next = sizeAt(at - sizeBytes);
  }
  if (headerCrc && UpdateCrc16(0, raw.data(), raw.size()) != *headerCrc) return HeaderRead::Damaged;
  SetPath(header, dir, name);
  return HeaderRead::Member;
}

HeaderRead ReadLevel2(BufferedSource& in, const uint8_t* base, MemberHeader& header) {
  std::vector<uint8_t> raw(base, base + kBaseSize);
  return ReadSizedHeader(in, raw, 24, 2, header);
}

// Level 3 begins with the width of its size fields, always 4; the header's size follows the OS id.
HeaderRead ReadLevel3(BufferedSource& in, const uint8_t* base, MemberHeader& header) {
  if (Le16(base) != 4) return HeaderRead::Damaged;
  std::vector<uint8_t> raw(base, base + kBaseSize);
  raw.resize(28);
  if (!in.ReadExact(raw.data() + kBaseSize, 28 - kBaseSize)) return HeaderRead::Damaged;
  return ReadSizedHeader(in, raw, 28, 4, header);
}

}  // namespace

bool MemberHeader::IsDirectory() const {
  const auto known = FindMethod(method);
  return known && known->kind == MethodKind::Directory;
}

std::vector<std::string> SplitStoredPath(const std::string& stored) {
  std::vector<std::string> parts;
  std::string current;
  for (size_t i = 0; i < stored.size(); ++i) {
    auto c = static_cast<uint8_t>(stored[i]);
    if (IsLeadByte(c) && i + 1 < stored.size()) {
      current += stored[i];
      current += stored[++i];
    } else if (IsSeparator(c)) {
      if (!current.empty()) parts.push_back(std::move(current));
      current.clear();
    } else {
      current += stored[i];
    }
  }
  if (!current.empty()) parts.push_back(std::move(current));
  return parts;
}

HeaderRead ReadMemberHeader(BufferedSource& in, MemberHeader& header) {
  auto first = in.PeekByte();
  if (!first) return in.failed() ? HeaderRead::Damaged : HeaderRead::EndWithoutMark;
  if (*first == 0) return HeaderRead::End;
  uint8_t base[kBaseSize];
  if (!in.ReadExact(base, kBaseSize)) return HeaderRead::Damaged;
  header = MemberHeader{};
  header.method.assign(reinterpret_cast<const char*>(base + 2), 5);
  if (!ValidMethod(header.method)) return HeaderRead::Damaged;
  header.packedSize = Le32(base + 7);
  header.originalSize = Le32(base + 11);
  header.level = base[20];
  switch (header.level) {
    case 0:
    case 1: return ReadLevel0Or1(in, base, header);
    case 2: return ReadLevel2(in, base, header);
    case 3: return ReadLevel3(in, base, header);
    default: return HeaderRead::Damaged;
  }
}

std::string EncodeLevel2Header(const MemberHeader& header) {
  const bool large = header.packedSize > UINT32_MAX || header.originalSize > UINT32_MAX;
  std::string h;
  PutLe(h, 0, 2);  // total size, set below
  h += header.method;
  PutLe(h, large ? 0 : header.packedSize, 4);
  PutLe(h, large ? 0 : header.originalSize, 4);
  // The field is unsigned: it holds 1970 to 2106.
  PutLe(h, static_cast<uint32_t>(std::clamp<int64_t>(header.modified, 0, UINT32_MAX)), 4);
  h.push_back(0x20);
  h.push_back(2);
  PutLe(h, header.crc, 2);
  h.push_back(static_cast<char>(header.osId));

  // Each extended header is announced by the size field in front of it.
  auto extension = [&h](uint8_t type, const std::string& data) {
    PutLe(h, data.size() + 3, 2);
    h.push_back(static_cast<char>(type));
    h += data;
  };
  const size_t crcAt = h.size() + 3;
  extension(kExtCommon, std::string(2, '\0'));
  const bool directory = header.IsDirectory();
  const size_t folders = directory ? header.path.size() : (header.path.empty() ? 0 : header.path.size() - 1);
  extension(kExtFileName, directory || header.path.empty() ? std::string() : header.path.back());
  if (folders > 0) {
    std::string dir;
    for (size_t i = 0; i < folders; ++i) dir += header.path[i] + '\xFF';
    extension(kExtDirName, dir);
  }
  std::string attributes;
  PutLe(attributes, header.attributes & 0xFFFF, 2);
  extension(kExtAttributes, attributes);
  if (large) {
    std::string sizes;
    PutLe(sizes, header.packedSize, 8);
    PutLe(sizes, header.originalSize, 8);
    extension(kExtLargeSizes, sizes);
  }
  PutLe(h, 0, 2);
  // A low size byte of 0 would read as the end mark in older readers; one pad byte avoids it.
  if ((h.size() & 0xFF) == 0) h.push_back('\0');
  h[0] = static_cast<char>(h.size() & 0xFF);
  h[1] = static_cast<char>(h.size() >> 8);
  uint16_t crc = UpdateCrc16(0, h.data(), h.size());
  h[crcAt] = static_cast<char>(crc & 0xFF);
  h[crcAt + 1] = static_cast<char>(crc >> 8);
  return h;
}

}  // namespace vorn::lha
