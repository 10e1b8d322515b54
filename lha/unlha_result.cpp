#include "lha/unlha_result.h"

namespace vorn::unlha {

const char* DescribeResult(int32_t code) {
  switch (code) {
    case kOk: return "success";
    case kBadCommand: return "command line not understood";
    case kArchiveNotFound: return "archive not found or not readable";
    case kArchiveDamaged: return "archive damaged or truncated";
    case kCrcMismatch: return "CRC mismatch";
    case kUnsupportedMethod: return "unsupported compression method";
    case kUnsafeName: return "unsafe member name skipped";
    case kCannotWriteArchive: return "cannot write the archive";
    case kCannotReadFile: return "cannot read a file to pack";
    case kFileChanged: return "a file changed while it was packed";
    case kCannotWriteFile: return "cannot create an unpacked file or folder";
    case kNoMatchingFiles: return "no matching files";
    case kFolderNotFound: return "folder not found";
    case kNameNotStorable: return "file name not representable in code page 932";
    case kFileExists: return "existing file kept";
    case kStopped: return "stopped";
    case kLinkNotFollowed: return "member skipped: a link stands where it goes";
    default: return "unknown error";
  }
}

}  // namespace vorn::unlha
