#pragma once
// Builds folder files from a description, for tests, the fuzzer seeds and the benchmark: the
// header, an index tree, one message-info record per message and each message's block chain,
// laid out as the mail program writes them.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dbx/dbx_reader.h"

namespace vorn::test {

struct DbxMessage {
  std::string text;  // raw message; empty text gets pointer 0 and no block
  MessageKind kind = MessageKind::Mail;
  bool direct = true;
  uint8_t dataOffset = 4;  // where an indirect pointer sits in the record's data area
  size_t blockSize = 512;  // text bytes per block; the last block holds the rest
  std::vector<int32_t> blockLengths;  // explicit L values instead of blockSize (must sum to the text's size)
  std::optional<uint8_t> pointerAttribute;    // the pointer slot's attribute byte instead of 0x84/0x04
  std::optional<uint8_t> neighbourAttribute;  // slot 4 of mail, slot 3 of news
  bool freed = false;  // deleted: left out of the balanced tree, its blocks in the free list
};

struct DbxNode {
  struct Entry {
    size_t message;  // index into DbxDescription::messages
    std::shared_ptr<DbxNode> child;
  };
  std::shared_ptr<DbxNode> firstChild;
  std::vector<Entry> entries;
  std::optional<int32_t> storedValues;  // the count the parent stores for this subtree
};

struct DbxDescription {
  std::vector<DbxMessage> messages;
  std::shared_ptr<DbxNode> root;  // null: a balanced tree over the messages in order
  size_t entriesPerNode = 51;     // for the balanced tree
  std::optional<int32_t> headerCount;  // default: the number of index entries
};

struct DbxImage {
  std::vector<unsigned char> bytes;
  std::vector<int32_t> nodeOffsets;                 // in walk order, root first
  std::vector<int32_t> recordOffsets;               // per message
  std::vector<std::vector<int32_t>> blockOffsets;   // per message
};

DbxImage WriteDbx(const DbxDescription& description);

// The bytes the extraction writes for a message text: unchanged, plus CR LF unless it ends in LF
// or is empty.
std::string ExtractedText(const std::string& text);
// What survives of a freed message's text: each block loses its first 4 bytes to the free list.
std::string FreedText(const DbxMessage& message);

std::shared_ptr<DbxNode> Leaf(std::vector<size_t> messages);
void Put32(std::vector<unsigned char>& bytes, size_t offset, int32_t value);

}  // namespace vorn::test
