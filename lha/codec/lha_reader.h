#pragma once
// Sequential reading of an LHA archive: member headers, then each member's data on demand.
#include <optional>

#include "lha/codec/buffered_source.h"
#include "lha/codec/member_header.h"

namespace vorn::lha {

enum class ExtractResult { Ok, CrcMismatch, Damaged, UnsupportedMethod, WriteFailed, Stopped };

class LhaReader {
 public:
  explicit LhaReader(ByteSource& archive) : in_(archive) {}

  // Moves to the next member, passing over what is left of the current one.
  HeaderRead Next(MemberHeader& header);
  // Bytes of the archive consumed so far: right after Next, where the member's data begins.
  uint64_t position() const { return in_.position(); }
  // Unpacks the current member into `out` (nullptr: only checks it) and checks its CRC.
  // A directory entry unpacks to nothing; a member MacLHA wrapped as MacBinary to its data fork.
  ExtractResult Extract(ByteSink* out, Progress* progress = nullptr);

  // Copies the current member's packed data unchanged, for carrying it into another archive.
  bool CopyPacked(ByteSink& out);

 private:
  BufferedSource in_;
  MemberHeader current_;
  uint64_t unread_ = 0;  // data bytes of the current member not yet consumed
  bool damaged_ = false;
};

}  // namespace vorn::lha
