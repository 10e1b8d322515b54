#pragma once
// The read operations on a folder file: header, message index, message-info records and the
// block chain of a message's raw text. Every operation returns DbxError::None or why it stopped.
#include <cstdint>
#include <vector>

#include "dbx/dbx_error.h"
#include "dbx/dbx_file.h"
#include "platform/file_system.h"

namespace vorn {

enum class MessageKind { News, Mail, Unclassified };

struct MessageInfo {
  MessageKind kind = MessageKind::Unclassified;
  bool direct = false;   // the pointer was held in the attribute slot itself
  int32_t pointer = 0;   // file offset of the first data block; 0 for Unclassified
};

// Bounds that keep damaged files from running away; far above what a real folder holds.
constexpr int kMaxIndexDepth = 64;
constexpr size_t kMaxIndexNodes = size_t{1} << 20;
constexpr size_t kMaxIndexRecords = size_t{1} << 20;
constexpr size_t kMaxBlocksPerMessage = size_t{1} << 20;

DbxError ReadMessageCount(DbxFile& file, int32_t& count);
DbxError ReadIndexRoot(DbxFile& file, int32_t& root);
// Appends the record offsets of the subtree at `node` in index order; on an error the offsets
// found before it stay in the list.
DbxError CollectMessageInfoOffsets(DbxFile& file, int32_t node, std::vector<int32_t>& offsets);
DbxError ClassifyMessageInfo(DbxFile& file, int32_t record, MessageInfo& info);
// Writes the message text unchanged, then CR LF unless the text ends with a line feed; a message
// without any block (pointer 0) writes nothing. On an error the output holds the blocks copied before it.
DbxError CopyMessageText(DbxFile& file, int32_t pointer, OutputFile& out);

}  // namespace vorn
