#include "tests/dbx/dbx_writer.h"

#include <algorithm>
#include <functional>
#include <stdexcept>

namespace vorn::test {

namespace {

constexpr size_t kHeaderSize = 0x24BC;
constexpr size_t kNodeSize = 0x27C;
constexpr unsigned char kSignature[16] = {0xCF, 0xAD, 0x12, 0xFE, 0xC5, 0xFD, 0x74, 0x6F,
                                          0x66, 0xE3, 0xD1, 0x11, 0x9A, 0x4E, 0x00, 0xC0};
constexpr size_t kSlotCount = 6;
// Attributes the readers ignore, used to fill the slots around the pointer.
constexpr uint8_t kFiller = 0x96;

std::shared_ptr<DbxNode> Balanced(size_t first, size_t last, size_t perNode) {
  auto node = std::make_shared<DbxNode>();
  const size_t count = last - first;
  if (count <= perNode) {
    for (size_t m = first; m < last; ++m) node->entries.push_back({m, nullptr});
    return node;
  }
  // perNode separators and perNode + 1 subtrees sharing the rest as evenly as possible.
  const size_t rest = count - perNode;
  size_t next = first;
  auto subtree = [&](size_t i) {
    size_t size = rest / (perNode + 1) + (i < rest % (perNode + 1) ? 1 : 0);
    auto child = size ? Balanced(next, next + size, perNode) : nullptr;
    next += size;
    return child;
  };
  node->firstChild = subtree(0);
  for (size_t i = 1; i <= perNode; ++i) {
    size_t separator = next++;
    node->entries.push_back({separator, subtree(i)});
  }
  return node;
}

int32_t Values(const std::shared_ptr<DbxNode>& node) {
  if (!node) return 0;
  int32_t total = Values(node->firstChild);
  for (const auto& entry : node->entries) total += 1 + Values(entry.child);
  return total;
}

int32_t StoredValues(const std::shared_ptr<DbxNode>& node) {
  if (node && node->storedValues) return *node->storedValues;
  return Values(node);
}

std::vector<int32_t> BlockLengths(const DbxMessage& message) {
  if (!message.blockLengths.empty()) return message.blockLengths;
  std::vector<int32_t> lengths;
  for (size_t done = 0; done < message.text.size(); done += message.blockSize)
    lengths.push_back(static_cast<int32_t>(std::min(message.blockSize, message.text.size() - done)));
  return lengths;
}

void PutByte(std::vector<unsigned char>& bytes, size_t offset, uint8_t value) { bytes.at(offset) = value; }

}  // namespace

void Put32(std::vector<unsigned char>& bytes, size_t offset, int32_t value) {
  for (int i = 0; i < 4; ++i) bytes.at(offset + i) = static_cast<unsigned char>(static_cast<uint32_t>(value) >> (8 * i));
}

std::shared_ptr<DbxNode> Leaf(std::vector<size_t> messages) {
  auto node = std::make_shared<DbxNode>();
  for (size_t m : messages) node->entries.push_back({m, nullptr});
  return node;
}

std::string ExtractedText(const std::string& text) {
  return text.empty() || text.back() == '\n' ? text : text + "\r\n";
}

// The balanced tree over the messages that are not freed.
std::shared_ptr<DbxNode> LiveTree(const DbxDescription& description) {
  std::vector<size_t> live;
  for (size_t m = 0; m < description.messages.size(); ++m)
    if (!description.messages[m].freed) live.push_back(m);
  auto root = Balanced(0, live.size(), description.entriesPerNode);
  std::function<void(const std::shared_ptr<DbxNode>&)> renumber = [&](const std::shared_ptr<DbxNode>& node) {
    if (!node) return;
    renumber(node->firstChild);
    for (auto& entry : node->entries) {
      entry.message = live[entry.message];
      renumber(entry.child);
    }
  };
  renumber(root);
  return root;
}

std::string FreedText(const DbxMessage& message) {
  std::string text;
  size_t done = 0;
  for (int32_t length : BlockLengths(message)) {
    if (length > 4) text += message.text.substr(done + 4, static_cast<size_t>(length) - 4);
    done += static_cast<size_t>(length);
  }
  return ExtractedText(text);
}

DbxImage WriteDbx(const DbxDescription& description) {
  const auto root = description.root ? description.root : LiveTree(description);
  DbxImage image;
  size_t end = kHeaderSize;

  // Nodes first, in walk order.
  std::vector<std::shared_ptr<DbxNode>> nodes;
  std::function<void(const std::shared_ptr<DbxNode>&)> collect = [&](const std::shared_ptr<DbxNode>& node) {
    if (!node) return;
    nodes.push_back(node);
    collect(node->firstChild);
    for (const auto& entry : node->entries) collect(entry.child);
  };
  collect(root);
  std::vector<size_t> nodeOffsets;
  for (const auto& node : nodes) {
    nodeOffsets.push_back(end);
    end += std::max(kNodeSize, 0x18 + 12 * node->entries.size());
  }
  auto offsetOf = [&](const std::shared_ptr<DbxNode>& node) -> int32_t {
    if (!node) return 0;
    auto it = std::find(nodes.begin(), nodes.end(), node);
    return static_cast<int32_t>(nodeOffsets[it - nodes.begin()]);
  };

  // Then each message: its record, followed by its blocks.
  std::vector<std::vector<int32_t>> lengths;
  for (const auto& message : description.messages) {
    image.recordOffsets.push_back(static_cast<int32_t>(end));
    end += 0x0C + 4 * kSlotCount + message.dataOffset + 4u;
    lengths.push_back(BlockLengths(message));
    image.blockOffsets.emplace_back();
    for (int32_t length : lengths.back()) {
      image.blockOffsets.back().push_back(static_cast<int32_t>(end));
      end += 0x10 + std::max<size_t>(static_cast<size_t>(length), message.blockSize);
    }
  }
  auto& bytes = image.bytes;
  bytes.assign(end, 0);

  std::copy(std::begin(kSignature), std::end(kSignature), bytes.begin());
  Put32(bytes, 0xC4, description.headerCount.value_or(Values(root)));
  Put32(bytes, 0xE4, offsetOf(root));

  for (size_t n = 0; n < nodes.size(); ++n) {
    const auto& node = *nodes[n];
    const size_t at = nodeOffsets[n];
    if (node.entries.size() > 255) throw std::invalid_argument("a node holds at most 255 entries");
    Put32(bytes, at, static_cast<int32_t>(at));
    Put32(bytes, at + 0x08, offsetOf(node.firstChild));
    PutByte(bytes, at + 0x11, static_cast<uint8_t>(node.entries.size()));
    Put32(bytes, at + 0x14, StoredValues(node.firstChild));
    for (size_t i = 0; i < node.entries.size(); ++i) {
      const auto& entry = node.entries[i];
      Put32(bytes, at + 0x18 + 12 * i, image.recordOffsets.at(entry.message));
      Put32(bytes, at + 0x1C + 12 * i, offsetOf(entry.child));
      Put32(bytes, at + 0x20 + 12 * i, StoredValues(entry.child));
    }
  }
  image.nodeOffsets.assign(nodeOffsets.begin(), nodeOffsets.end());

  for (size_t m = 0; m < description.messages.size(); ++m) {
    const auto& message = description.messages[m];
    const size_t at = static_cast<size_t>(image.recordOffsets[m]);
    const auto& blocks = image.blockOffsets[m];
    const int32_t pointer = blocks.empty() ? 0 : blocks.front();

    uint8_t slots[kSlotCount] = {0x80, 0x81, kFiller, uint8_t(kFiller + 1), uint8_t(kFiller + 2), uint8_t(kFiller + 3)};
    int32_t values[kSlotCount] = {static_cast<int32_t>(m), 0, 0, 0, 0, 0};
    const uint8_t pointerAttribute = message.pointerAttribute.value_or(message.direct ? 0x84 : 0x04);
    const bool direct = pointerAttribute & 0x80;
    const int32_t pointerValue = direct ? pointer : message.dataOffset;
    if (direct && pointer > 0xFFFFFF) throw std::invalid_argument("a direct pointer holds 24 bits");
    if (message.kind == MessageKind::Mail) {
      slots[3] = pointerAttribute;
      values[3] = pointerValue;
      if (message.neighbourAttribute) slots[4] = *message.neighbourAttribute;
    } else if (message.kind == MessageKind::News) {
      slots[3] = message.neighbourAttribute.value_or(0x83);  // body lines
      values[3] = 1;
      slots[4] = pointerAttribute;
      values[4] = pointerValue;
    }
    const size_t dataArea = message.dataOffset + 4u;
    Put32(bytes, at, static_cast<int32_t>(at));
    Put32(bytes, at + 0x04, static_cast<int32_t>(dataArea));
    PutByte(bytes, at + 0x0A, kSlotCount);
    for (size_t k = 0; k < kSlotCount; ++k)
      Put32(bytes, at + 0x0C + 4 * k, static_cast<int32_t>(slots[k] | static_cast<uint32_t>(values[k]) << 8));
    Put32(bytes, at + 0x0C + 4 * kSlotCount + message.dataOffset, pointer);

    size_t done = 0;
    for (size_t b = 0; b < blocks.size(); ++b) {
      const size_t block = static_cast<size_t>(blocks[b]);
      const int32_t length = lengths[m][b];
      Put32(bytes, block, static_cast<int32_t>(block));
      Put32(bytes, block + 0x04, static_cast<int32_t>(std::max<size_t>(static_cast<size_t>(length), message.blockSize)));
      Put32(bytes, block + 0x08, length);
      Put32(bytes, block + 0x0C, b + 1 < blocks.size() ? blocks[b + 1] : 0);
      const size_t take = std::min(static_cast<size_t>(std::max(length, 0)), message.text.size() - done);
      std::copy_n(message.text.begin() + static_cast<std::ptrdiff_t>(done), take, bytes.begin() + static_cast<std::ptrdiff_t>(block + 0x10));
      done += take;
    }
  }
  // Freed blocks get the free list's header over their first 0x14 bytes, one list through all of them.
  int32_t nextFree = 0;
  for (size_t m = description.messages.size(); m-- > 0;) {
    if (!description.messages[m].freed) continue;
    for (size_t b = image.blockOffsets[m].size(); b-- > 0;) {
      const size_t block = static_cast<size_t>(image.blockOffsets[m][b]);
      const int32_t body = static_cast<int32_t>(std::max<size_t>(static_cast<size_t>(lengths[m][b]), description.messages[m].blockSize)) - 4;
      Put32(bytes, block + 0x04, body);
      Put32(bytes, block + 0x08, body + 0x14);
      Put32(bytes, block + 0x10, nextFree);
      nextFree = static_cast<int32_t>(block);
    }
  }
  Put32(bytes, 0x48, nextFree);
  return image;
}

}  // namespace vorn::test
