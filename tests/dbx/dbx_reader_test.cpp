#include <gtest/gtest.h>

#include <numeric>

#include "dbx/dbx_reader.h"
#include "tests/dbx/dbx_writer.h"
#include "tests/dbx/memory_files.h"

namespace vorn::test {
namespace {

std::vector<DbxMessage> Messages(size_t count) {
  std::vector<DbxMessage> messages(count);
  // Appended piece by piece: GCC 12's -Wrestrict misreads "literal" + std::string&& on 32-bit targets.
  for (size_t i = 0; i < count; ++i)
    (messages[i].text = "Subject: ").append(std::to_string(i)).append("\r\n\r\nbody\r\n");
  return messages;
}

// The messages (by description index) that the walk yields, in walk order.
std::vector<size_t> WalkOrder(const DbxImage& image, DbxError expected = DbxError::None) {
  auto file = OpenMemory(image.bytes);
  int32_t root = 0;
  EXPECT_EQ(ReadIndexRoot(*file, root), DbxError::None);
  std::vector<int32_t> offsets;
  EXPECT_EQ(CollectMessageInfoOffsets(*file, root, offsets), expected);
  std::vector<size_t> order;
  for (int32_t offset : offsets) {
    auto it = std::find(image.recordOffsets.begin(), image.recordOffsets.end(), offset);
    order.push_back(static_cast<size_t>(it - image.recordOffsets.begin()));
  }
  return order;
}

DbxMessage Text(std::string text, size_t blockSize) {
  DbxMessage message;
  message.text = std::move(text);
  message.blockSize = blockSize;
  return message;
}

std::string Copy(const std::vector<unsigned char>& bytes, int32_t pointer, DbxError expected = DbxError::None,
                 bool seekable = true) {
  auto file = OpenMemory(bytes, seekable);
  MemoryOutput out;
  EXPECT_EQ(CopyMessageText(*file, pointer, out), expected);
  return out.text;
}

MessageInfo Classify(const DbxImage& image, size_t message) {
  auto file = OpenMemory(image.bytes);
  MessageInfo info;
  EXPECT_EQ(ClassifyMessageInfo(*file, image.recordOffsets[message], info), DbxError::None);
  return info;
}

TEST(DbxIndexWalk, HeaderFieldsAndEmptyRoot) {
  DbxDescription description;
  description.root = Leaf({});
  description.headerCount = 7;
  DbxImage image = WriteDbx(description);
  auto file = OpenMemory(image.bytes);
  int32_t count = 0, root = 0;
  EXPECT_EQ(ReadMessageCount(*file, count), DbxError::None);
  EXPECT_EQ(count, 7);
  EXPECT_EQ(ReadIndexRoot(*file, root), DbxError::None);
  EXPECT_EQ(root, image.nodeOffsets[0]);
  EXPECT_TRUE(WalkOrder(image).empty());
}

TEST(DbxIndexWalk, TwoLevelTreeIsInOrder) {
  // root: first child {0,1}, entry 2 with child {3,4}, entry 5 without child, entry 6 with child {7}.
  DbxDescription description;
  description.messages = Messages(8);
  description.root = std::make_shared<DbxNode>();
  description.root->firstChild = Leaf({0, 1});
  description.root->entries = {{2, Leaf({3, 4})}, {5, nullptr}, {6, Leaf({7})}};
  EXPECT_EQ(WalkOrder(WriteDbx(description)), (std::vector<size_t>{0, 1, 2, 3, 4, 5, 6, 7}));
}

TEST(DbxIndexWalk, ChildrenWithoutStoredValuesAreNotVisited) {
  DbxDescription description;
  description.messages = Messages(5);
  description.root = std::make_shared<DbxNode>();
  description.root->firstChild = Leaf({0});
  description.root->firstChild->storedValues = 0;
  auto negative = Leaf({3});
  negative->storedValues = -5;
  description.root->entries = {{1, Leaf({2})}, {4, negative}};
  EXPECT_EQ(WalkOrder(WriteDbx(description)), (std::vector<size_t>{1, 2, 4}));
}

TEST(DbxIndexWalk, BalancedTreesOfManyShapesKeepMessageOrder) {
  for (size_t perNode : {1u, 2u, 3u, 51u, 255u}) {
    for (size_t count : {1u, 2u, 50u, 52u, 300u}) {
      DbxDescription description;
      description.messages = Messages(count);
      description.entriesPerNode = perNode;
      std::vector<size_t> expected(count);
      std::iota(expected.begin(), expected.end(), 0);
      EXPECT_EQ(WalkOrder(WriteDbx(description)), expected) << perNode << " per node, " << count << " messages";
    }
  }
}

TEST(DbxIndexWalk, LoopsEndWithAnErrorKeepingTheOffsetsFound) {
  DbxDescription description;
  description.messages = Messages(3);
  description.root = Leaf({0, 1, 2});
  DbxImage image = WriteDbx(description);
  // Entry 1's child is the root itself.
  const size_t root = static_cast<size_t>(image.nodeOffsets[0]);
  Put32(image.bytes, root + 0x18 + 12 + 4, image.nodeOffsets[0]);
  Put32(image.bytes, root + 0x18 + 12 + 8, 1);
  EXPECT_EQ(WalkOrder(image, DbxError::IndexLoop), (std::vector<size_t>{0, 1}));

  // The first child points at the root.
  image = WriteDbx(description);
  Put32(image.bytes, root + 0x08, image.nodeOffsets[0]);
  Put32(image.bytes, root + 0x14, 3);
  EXPECT_EQ(WalkOrder(image, DbxError::IndexLoop), std::vector<size_t>{});
}

TEST(DbxIndexWalk, DepthIsBounded) {
  // A chain of first children, each node one message: fine at the bound, an error past it.
  for (int depth : {kMaxIndexDepth, kMaxIndexDepth + 1}) {
    DbxDescription description;
    description.messages = Messages(static_cast<size_t>(depth) + 1);
    description.root = Leaf({0});
    auto node = description.root;
    for (int level = 1; level <= depth; ++level) {
      node->firstChild = Leaf({static_cast<size_t>(level)});
      node = node->firstChild;
    }
    DbxImage image = WriteDbx(description);
    auto order = WalkOrder(image, depth > kMaxIndexDepth ? DbxError::IndexTooDeep : DbxError::None);
    EXPECT_EQ(order.size(), depth > kMaxIndexDepth ? 0u : static_cast<size_t>(depth) + 1);
  }
}

TEST(DbxIndexWalk, BadOffsetsAreReadErrors) {
  DbxDescription description;
  description.messages = Messages(2);
  description.root = Leaf({0, 1});
  DbxImage image = WriteDbx(description);
  auto file = OpenMemory(image.bytes);
  std::vector<int32_t> offsets;
  EXPECT_EQ(CollectMessageInfoOffsets(*file, -100, offsets), DbxError::BadPosition);
  EXPECT_EQ(CollectMessageInfoOffsets(*file, 0x7FFFFFFC, offsets), DbxError::BadPosition);
  EXPECT_EQ(CollectMessageInfoOffsets(*file, static_cast<int32_t>(image.bytes.size()) - 0x10, offsets),
            DbxError::PastEndOfFile);
  // An entry count that runs past the end of the file keeps the entries before it.
  Put32(image.bytes, 0xE4, static_cast<int32_t>(image.bytes.size()) - 0x18 - 12);
  image.bytes[image.bytes.size() - 0x18 - 12 + 0x11] = 2;
  offsets.clear();
  int32_t root = 0;
  ASSERT_EQ(ReadIndexRoot(*file, root), DbxError::None);
  auto reopened = OpenMemory(image.bytes);
  ASSERT_EQ(ReadIndexRoot(*reopened, root), DbxError::None);
  EXPECT_EQ(CollectMessageInfoOffsets(*reopened, root, offsets), DbxError::PastEndOfFile);
  EXPECT_EQ(offsets.size(), 1u);
}

TEST(DbxIndexWalk, TruncatedHeaderIsAReadError) {
  std::vector<unsigned char> bytes(0xC6, 0);
  auto file = OpenMemory(bytes);
  int32_t count = 0;
  EXPECT_EQ(ReadMessageCount(*file, count), DbxError::PastEndOfFile);
}

TEST(DbxClassify, SlotFourIsNewsAndSlotThreeIsMail) {
  DbxDescription description;
  description.messages = Messages(6);
  description.messages[0].kind = MessageKind::News;                          // 0x84
  description.messages[1].kind = MessageKind::News;
  description.messages[1].direct = false;                                    // 0x04
  description.messages[2].kind = MessageKind::Mail;                          // 0x84 in slot 3
  description.messages[3].kind = MessageKind::Mail;
  description.messages[3].direct = false;
  description.messages[3].dataOffset = 200;                                  // d beyond the slots
  description.messages[4].kind = MessageKind::Mail;
  description.messages[4].neighbourAttribute = 0x85;                         // slot 4 not attribute 4
  description.messages[5].kind = MessageKind::Unclassified;
  DbxImage image = WriteDbx(description);

  const std::vector<std::pair<MessageKind, bool>> expected = {
      {MessageKind::News, true}, {MessageKind::News, false}, {MessageKind::Mail, true},
      {MessageKind::Mail, false}, {MessageKind::Mail, true}};
  for (size_t m = 0; m < expected.size(); ++m) {
    MessageInfo info = Classify(image, m);
    EXPECT_EQ(info.kind, expected[m].first) << m;
    EXPECT_EQ(info.direct, expected[m].second) << m;
    EXPECT_EQ(info.pointer, image.blockOffsets[m][0]) << m;
  }
  EXPECT_EQ(Classify(image, 5).kind, MessageKind::Unclassified);
  EXPECT_EQ(Classify(image, 5).pointer, 0);
}

TEST(DbxClassify, OnlyTheLowFourBitsNameTheAttribute) {
  DbxDescription description;
  for (uint8_t attribute : {0x14, 0x24, 0x94, 0xF4}) {
    DbxMessage news = Messages(1)[0];
    news.kind = MessageKind::News;
    news.pointerAttribute = attribute;
    description.messages.push_back(news);
  }
  // Both slots name the pointer: slot 4 wins.
  DbxMessage both = Messages(1)[0];
  both.kind = MessageKind::News;
  both.neighbourAttribute = 0x84;
  description.messages.push_back(both);
  DbxImage image = WriteDbx(description);
  for (size_t m = 0; m < description.messages.size(); ++m) {
    MessageInfo info = Classify(image, m);
    EXPECT_EQ(info.kind, MessageKind::News) << m;
    EXPECT_EQ(info.pointer, image.blockOffsets[m][0]) << m;
  }
  EXPECT_FALSE(Classify(image, 0).direct);
  EXPECT_TRUE(Classify(image, 2).direct);
}

TEST(DbxClassify, DirectPointerKeepsTwentyFourBitsAndIndirectUsesTheLowByteOnly) {
  DbxDescription description;
  description.messages = Messages(2);
  description.messages[1].direct = false;
  DbxImage image = WriteDbx(description);
  const size_t direct = static_cast<size_t>(image.recordOffsets[0]) + 0x18;
  image.bytes[direct + 4] = 0x7F;  // the byte after the three value bytes is not part of the pointer
  EXPECT_EQ(Classify(image, 0).pointer, image.blockOffsets[0][0]);
  const size_t indirect = static_cast<size_t>(image.recordOffsets[1]) + 0x18;
  image.bytes[indirect + 2] = 0x01;  // higher value bytes are ignored
  EXPECT_EQ(Classify(image, 1).pointer, image.blockOffsets[1][0]);
}

TEST(DbxCopy, TextIsCopiedByteForByteWithTheLineEndRule) {
  const std::vector<std::string> texts = {"ends in LF\n", "ends in CR LF\r\n", "no line end", "lone CR\r",
                                          std::string("nul\0byte\x82\xa0", 10), "x"};
  DbxDescription description;
  for (const auto& text : texts) description.messages.push_back(Text(text, 3));
  DbxImage image = WriteDbx(description);
  for (size_t m = 0; m < texts.size(); ++m)
    EXPECT_EQ(Copy(image.bytes, image.blockOffsets[m][0]), ExtractedText(texts[m])) << m;
  EXPECT_EQ(Copy(image.bytes, image.blockOffsets[3][0]).substr(7), "\r\r\n");
  EXPECT_EQ(Copy(image.bytes, 0), "");  // no block: nothing, not even a line end
}

TEST(DbxCopy, ThreeBlocksOf512And512And10) {
  DbxDescription description;
  DbxMessage message;
  message.text = std::string(1033, 'a') + "\n";
  message.blockLengths = {512, 512, 10};
  DbxMessage noLineEnd = message;
  noLineEnd.text.back() = 'b';
  description.messages = {message, noLineEnd};
  DbxImage image = WriteDbx(description);
  EXPECT_EQ(Copy(image.bytes, image.blockOffsets[0][0]).size(), 1034u);
  EXPECT_EQ(Copy(image.bytes, image.blockOffsets[1][0]).size(), 1036u);
  EXPECT_EQ(Copy(image.bytes, image.blockOffsets[1][0], DbxError::None, false), ExtractedText(noLineEnd.text));
}

TEST(DbxCopy, DamagedChainsEndWithAnError) {
  DbxDescription description;
  description.messages = {Text(std::string(40, 'z'), 10)};
  const DbxImage good = WriteDbx(description);
  const auto& blocks = good.blockOffsets[0];
  const int32_t first = blocks[0];

  struct Case {
    const char* what;
    size_t field;
    int32_t value;
    DbxError error;
    size_t keptBytes;
  };
  const std::vector<Case> cases = {
      {"loop back to the first block", static_cast<size_t>(blocks[2]) + 0x0C, first, DbxError::BlockLoop, 30},
      {"block pointing at itself", static_cast<size_t>(blocks[1]) + 0x0C, blocks[1], DbxError::BlockLoop, 20},
      {"length 0", static_cast<size_t>(blocks[1]) + 0x08, 0, DbxError::EmptyBlock, 10},
      {"negative length", static_cast<size_t>(blocks[1]) + 0x08, -1, DbxError::EmptyBlock, 10},
      {"length beyond the file", static_cast<size_t>(blocks[3]) + 0x08, 0x7FFFFFFF, DbxError::MessageTooLong, 30},
      {"length past the end", static_cast<size_t>(blocks[3]) + 0x08, 0x40, DbxError::PastEndOfFile, 30},
      {"next block past the end", static_cast<size_t>(blocks[0]) + 0x0C, 0x7FFFFFF8, DbxError::BadPosition, 10},
      {"negative next block", static_cast<size_t>(blocks[0]) + 0x0C, -100, DbxError::BadPosition, 10},
  };
  for (const auto& c : cases) {
    DbxImage image = good;
    Put32(image.bytes, c.field, c.value);
    EXPECT_EQ(Copy(image.bytes, first, c.error).size(), c.keptBytes) << c.what;
  }
  // A file cut inside the second block.
  std::vector<unsigned char> cut(good.bytes.begin(), good.bytes.begin() + blocks[1] + 0x14);
  EXPECT_EQ(Copy(cut, first, DbxError::PastEndOfFile).size(), 10u);
}

TEST(DbxCopy, WriteFailureIsReported) {
  DbxDescription description;
  description.messages = Messages(1);
  DbxImage image = WriteDbx(description);
  auto file = OpenMemory(image.bytes);
  MemoryOutput full(4);
  EXPECT_EQ(CopyMessageText(*file, image.blockOffsets[0][0], full), DbxError::WriteFailed);
}

TEST(DbxFileReads, FilesThatCannotSeekGiveTheSameBytes) {
  DbxDescription description;
  description.messages = Messages(120);
  description.entriesPerNode = 4;
  for (auto& message : description.messages) message.blockSize = 7;
  DbxImage image = WriteDbx(description);
  for (bool seekable : {true, false}) {
    auto file = OpenMemory(image.bytes, seekable);
    int32_t root = 0;
    std::vector<int32_t> offsets;
    ASSERT_EQ(ReadIndexRoot(*file, root), DbxError::None);
    ASSERT_EQ(CollectMessageInfoOffsets(*file, root, offsets), DbxError::None);
    ASSERT_EQ(offsets.size(), 120u);
    for (size_t m = offsets.size(); m-- > 0;) {  // backwards, to force rereads
      MessageInfo info;
      ASSERT_EQ(ClassifyMessageInfo(*file, offsets[m], info), DbxError::None);
      MemoryOutput out;
      ASSERT_EQ(CopyMessageText(*file, info.pointer, out), DbxError::None);
      EXPECT_EQ(out.text, ExtractedText(description.messages[m].text));
    }
  }
}

}  // namespace
}  // namespace vorn::test
