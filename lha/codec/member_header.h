#pragma once
// One member header of an LHA archive: reading levels 0 to 3, writing level 2.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "lha/codec/buffered_source.h"

namespace vorn::lha {

struct MemberHeader {
  std::string method;  // five characters, "-lh5-"
  uint64_t packedSize = 0;    // bytes of member data after the header
  uint64_t originalSize = 0;
  int64_t modified = 0;       // seconds since 1970-01-01 UTC
  uint32_t attributes = 0x20;  // MS-DOS attribute bits
  uint16_t crc = 0;           // CRC-16 of the original data
  uint8_t level = 2;
  uint8_t osId = 'M';
  // Path components in the archive's code page (932), folders first; for "-lhd-" the folder itself.
  std::vector<std::string> path;

  // A folder entry, by the method table (see lha_methods.h).
  bool IsDirectory() const;
};

// EndWithoutMark: the data ends where a header or the end mark should follow, as in an archive
// cut at a member boundary.
enum class HeaderRead { Member, End, EndWithoutMark, Damaged };

// Reads the next header; End at the archive's end mark.
HeaderRead ReadMemberHeader(BufferedSource& in, MemberHeader& header);

// The level-2 header bytes for a member, header CRC included.
std::string EncodeLevel2Header(const MemberHeader& header);

// Splits a stored name into components at "\", "/" and 0xFF, never inside a double-byte character.
std::vector<std::string> SplitStoredPath(const std::string& cp932);

}  // namespace vorn::lha
