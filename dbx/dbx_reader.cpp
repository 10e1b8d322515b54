#include "dbx/dbx_reader.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <unordered_set>

namespace vorn {

namespace {

constexpr int64_t kMessageCountOffset = 0xC4;
constexpr int64_t kIndexRootOffset = 0xE4;

constexpr int64_t kNodeFirstChild = 0x08;
constexpr int64_t kNodeEntryCount = 0x11;
constexpr int64_t kNodeFirstChildValues = 0x14;
constexpr int64_t kNodeEntries = 0x18;
constexpr int64_t kEntrySize = 12;

constexpr int64_t kRecordSlotCount = 0x0A;
constexpr int64_t kRecordSlots = 0x0C;
constexpr int64_t kMailPointerSlot = 0x18;  // slot 3
constexpr int64_t kNewsPointerSlot = 0x1C;  // slot 4
constexpr uint8_t kMessagePointerAttribute = 4;
constexpr uint8_t kDirectValueBit = 0x80;

constexpr int64_t kBlockLength = 0x08;
constexpr int64_t kBlockNext = 0x0C;
constexpr int64_t kBlockText = 0x10;
constexpr size_t kCopyChunk = 64 * 1024;

// Every read can fail; the first failure ends the operation.
#define DBX_TRY(expression)                                                      \
  do {                                                                           \
    if (DbxError error_ = (expression); error_ != DbxError::None) return error_; \
  } while (false)

class IndexWalk {
 public:
  IndexWalk(DbxFile& file, std::vector<int32_t>& offsets) : file_(file), offsets_(offsets) {}

  DbxError Walk(int32_t node, int depth) {
    if (depth > kMaxIndexDepth) return DbxError::IndexTooDeep;
    if (visited_.size() >= kMaxIndexNodes) return DbxError::IndexTooLarge;
    if (!visited_.insert(node).second) return DbxError::IndexLoop;

    int32_t firstChild = 0;
    uint8_t entryCount = 0;
    int32_t firstChildValues = 0;
    DBX_TRY(file_.ReadInt32(int64_t{node} + kNodeFirstChild, firstChild));
    DBX_TRY(file_.ReadByte(int64_t{node} + kNodeEntryCount, entryCount));
    DBX_TRY(file_.ReadInt32(int64_t{node} + kNodeFirstChildValues, firstChildValues));
    if (firstChildValues > 0) DBX_TRY(Walk(firstChild, depth + 1));

    for (int16_t i = 1; i <= entryCount; ++i) {
      unsigned char entry[kEntrySize];
      DBX_TRY(file_.ReadAt(int64_t{node} + kNodeEntries + kEntrySize * (i - 1), entry, sizeof entry));
      if (offsets_.size() >= kMaxIndexRecords) return DbxError::IndexTooLarge;
      offsets_.push_back(DecodeInt32(entry));
      int32_t child = DecodeInt32(entry + 4);
      int32_t childValues = DecodeInt32(entry + 8);
      if (childValues > 0) DBX_TRY(Walk(child, depth + 1));
    }
    return DbxError::None;
  }

 private:
  DbxFile& file_;
  std::vector<int32_t>& offsets_;
  std::unordered_set<int32_t> visited_;
};

// Gathers the small blocks of a message into large writes. The buffer is left uninitialised:
// filling 64 KB with zeros for every message cost more than copying a short mail.
class MessageWriter {
 public:
  explicit MessageWriter(OutputFile& out) : out_(out), buffer_(new unsigned char[kCopyChunk]) {}

  // Room for `size` bytes (at most kCopyChunk), writing out what is held when needed.
  unsigned char* Reserve(size_t size) {
    if (used_ + size > kCopyChunk && !Flush()) return nullptr;
    return buffer_.get() + used_;
  }
  void Commit(size_t size) { used_ += size; }
  bool Flush() {
    bool ok = used_ == 0 || out_.Write(buffer_.get(), used_);
    used_ = 0;
    return ok;
  }

 private:
  OutputFile& out_;
  std::unique_ptr<unsigned char[]> buffer_;
  size_t used_ = 0;
};

// `lastByte` stays empty when the message has no block at all.
DbxError CopyBlockChain(DbxFile& file, int32_t pointer, MessageWriter& writer, std::optional<uint8_t>& lastByte) {
  std::unordered_set<int32_t> visited;
  int64_t copied = 0;
  for (int32_t block = pointer; block != 0;) {
    if (visited.size() >= kMaxBlocksPerMessage) return DbxError::MessageTooLong;
    if (!visited.insert(block).second) return DbxError::BlockLoop;
    unsigned char header[kBlockText - kBlockLength];
    DBX_TRY(file.ReadAt(int64_t{block} + kBlockLength, header, sizeof header));
    const int32_t length = DecodeInt32(header);
    const int32_t next = DecodeInt32(header + (kBlockNext - kBlockLength));
    if (length < 1) return DbxError::EmptyBlock;
    if (length > file.Size() - copied) return DbxError::MessageTooLong;
    // Check the whole block first, so a block that runs past the end adds nothing.
    const int64_t text = int64_t{block} + kBlockText;
    if (text > file.Size() || length > file.Size() - text) return DbxError::PastEndOfFile;
    for (int64_t done = 0; done < length;) {
      const size_t step = static_cast<size_t>(std::min<int64_t>(length - done, static_cast<int64_t>(kCopyChunk)));
      unsigned char* room = writer.Reserve(step);
      if (!room) return DbxError::WriteFailed;
      DBX_TRY(file.ReadAt(text + done, room, step));
      writer.Commit(step);
      lastByte = room[step - 1];
      done += static_cast<int64_t>(step);
    }
    copied += length;
    block = next;
  }
  return DbxError::None;
}

}  // namespace

DbxError ReadMessageCount(DbxFile& file, int32_t& count) { return file.ReadInt32(kMessageCountOffset, count); }

DbxError ReadIndexRoot(DbxFile& file, int32_t& root) { return file.ReadInt32(kIndexRootOffset, root); }

DbxError CollectMessageInfoOffsets(DbxFile& file, int32_t node, std::vector<int32_t>& offsets) {
  return IndexWalk(file, offsets).Walk(node, 0);
}

DbxError ClassifyMessageInfo(DbxFile& file, int32_t record, MessageInfo& info) {
  info = MessageInfo{};
  const int64_t base = record;
  uint8_t newsAttribute = 0;
  uint8_t mailAttribute = 0;
  DBX_TRY(file.ReadByte(base + kNewsPointerSlot, newsAttribute));
  DBX_TRY(file.ReadByte(base + kMailPointerSlot, mailAttribute));

  int64_t slot = 0;
  uint8_t attribute = 0;
  if ((newsAttribute & 0x0F) == kMessagePointerAttribute) {
    info.kind = MessageKind::News;
    slot = base + kNewsPointerSlot;
    attribute = newsAttribute;
  } else if ((mailAttribute & 0x0F) == kMessagePointerAttribute) {
    info.kind = MessageKind::Mail;
    slot = base + kMailPointerSlot;
    attribute = mailAttribute;
  } else {
    return DbxError::None;
  }

  if (attribute & kDirectValueBit) {
    int32_t value = 0;
    DBX_TRY(file.ReadInt32(slot + 1, value));
    info.direct = true;
    info.pointer = value & 0x00FFFFFF;
    return DbxError::None;
  }
  uint8_t dataOffset = 0;
  uint8_t slotCount = 0;
  DBX_TRY(file.ReadByte(slot + 1, dataOffset));
  DBX_TRY(file.ReadByte(base + kRecordSlotCount, slotCount));
  DBX_TRY(file.ReadInt32(base + kRecordSlots + 4 * int64_t{slotCount} + dataOffset, info.pointer));
  return DbxError::None;
}

DbxError CopyMessageText(DbxFile& file, int32_t pointer, OutputFile& out) {
  MessageWriter writer(out);
  std::optional<uint8_t> lastByte;
  const DbxError error = CopyBlockChain(file, pointer, writer, lastByte);
  const bool flushed = writer.Flush();
  if (error != DbxError::None) return error;
  if (!flushed) return DbxError::WriteFailed;
  // A message without any text stays an empty file.
  if (lastByte && *lastByte != '\n') {
    static const unsigned char kLineEnd[] = {'\r', '\n'};
    if (!out.Write(kLineEnd, sizeof kLineEnd)) return DbxError::WriteFailed;
  }
  return DbxError::None;
}

#undef DBX_TRY

}  // namespace vorn
