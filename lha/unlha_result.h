#pragma once
// Results of the Unlha entry. 0 is success; each failure has its own code. When several
// members fail, the first failure's code is returned and the other members are still handled.
#include <cstdint>

namespace vorn::unlha {

constexpr int32_t kOk = 0;
constexpr int32_t kBadCommand = 0x8001;          // unknown command or switch, malformed line
constexpr int32_t kArchiveNotFound = 0x8002;     // the archive to read is missing or cannot be opened
constexpr int32_t kArchiveDamaged = 0x8003;      // damaged or truncated header or member data
constexpr int32_t kCrcMismatch = 0x8004;         // a member unpacked to data with another CRC
constexpr int32_t kUnsupportedMethod = 0x8005;   // a member packed with a method not read here
constexpr int32_t kUnsafeName = 0x8006;          // a member name that would leave the destination
constexpr int32_t kCannotWriteArchive = 0x8007;  // the archive cannot be created or written
constexpr int32_t kCannotReadFile = 0x8008;      // a file to pack cannot be read
constexpr int32_t kFileChanged = 0x8009;         // a file to pack changed while it was packed
constexpr int32_t kCannotWriteFile = 0x800A;     // an unpacked file or folder cannot be created
constexpr int32_t kNoMatchingFiles = 0x800B;     // nothing matched the file patterns
constexpr int32_t kFolderNotFound = 0x800C;      // a base folder does not exist
constexpr int32_t kNameNotStorable = 0x800D;     // a file name code page 932 cannot hold
constexpr int32_t kFileExists = 0x800E;          // an existing file was kept (no -y1)
constexpr int32_t kStopped = 0x800F;             // the progress callback asked to stop
// 0x8010 is the program's own: the library could not be loaded (see Win32Archiver).
constexpr int32_t kLinkNotFollowed = 0x8011;     // a member's place in the destination is a link

// A short English description of a result, for tools.
const char* DescribeResult(int32_t code);

}  // namespace vorn::unlha
