#include <gtest/gtest.h>

#include "lha/codec/crc16.h"
#include "lha/codec/huffman_lengths.h"
#include "tests/lha/lha_test_support.h"

namespace vorn::lha::test {
namespace {

struct Sample {
  const char* name;
  std::string data;
  const char* method;
};

std::vector<Sample> Samples() {
  std::string period8192, allBytes;
  for (int i = 0; i < 3 * 8192 + 100; ++i) period8192 += static_cast<char>((i % 8192) * 2654435761u >> 24);
  for (int r = 0; r < 64; ++r)
    for (int c = 0; c < 256; ++c) allBytes += static_cast<char>(c);
  return {
      {"empty", "", "-lh0-"},
      {"one byte", "x", "-lh0-"},
      {"long run", std::string(1 << 20, 'a'), "-lh5-"},
      {"mail text over several buffers", MailLikeText(700000, 1), "-lh5-"},
      {"random bytes", RandomBytes(100000, 2), "-lh0-"},
      {"repeats at the window's edge", period8192, "-lh5-"},
      {"every byte value", allBytes, "-lh5-"},
  };
}

TEST(LhaCodec, PacksAndUnpacksEveryKindOfData) {
  for (const auto& sample : Samples()) {
    SCOPED_TRACE(sample.name);
    auto unpacked = UnpackAll(PackFiles({{{"d", "f.txt"}, sample.data}}));
    ASSERT_EQ(unpacked.end, HeaderRead::End);
    ASSERT_EQ(unpacked.members.size(), 1u);
    const auto& member = unpacked.members[0];
    EXPECT_EQ(member.header.method, sample.method);
    EXPECT_EQ(member.result, ExtractResult::Ok);
    EXPECT_TRUE(member.data == sample.data);
    EXPECT_EQ(member.header.crc, UpdateCrc16(0, sample.data.data(), sample.data.size()));
    EXPECT_EQ(member.header.path, (std::vector<std::string>{"d", "f.txt"}));
    EXPECT_EQ(member.header.modified, 1700000000);
  }
}

TEST(LhaCodec, Crc16MatchesTheKnownCheckValue) {
  EXPECT_EQ(UpdateCrc16(0, "123456789", 9), 0xBB3D);
  // Folding in pieces gives the same value as one call.
  std::string text = MailLikeText(1001, 3);
  uint16_t crc = UpdateCrc16(0, text.data(), 7);
  crc = UpdateCrc16(crc, text.data() + 7, text.size() - 7);
  EXPECT_EQ(crc, UpdateCrc16(0, text.data(), text.size()));
}

TEST(LhaCodec, HuffmanLengthsStayWithinTheLimitAndFormACompleteCode) {
  uint32_t fibonacci[40];
  fibonacci[0] = fibonacci[1] = 1;
  for (int i = 2; i < 40; ++i) fibonacci[i] = fibonacci[i - 1] + fibonacci[i - 2];
  uint8_t lengths[40];
  ASSERT_EQ(BuildHuffmanLengths(fibonacci, 40, 16, lengths), 40);
  double kraft = 0;
  for (uint8_t len : lengths) {
    EXPECT_GE(len, 1);
    EXPECT_LE(len, 16);
    kraft += 1.0 / (1 << len);
  }
  EXPECT_DOUBLE_EQ(kraft, 1.0);
}

TEST(LhaCodec, DamagedDataIsReportedAndTheNextMemberStillReads) {
  std::string text = MailLikeText(50000, 4);
  std::string archive = PackFiles({{{"a.txt"}, text}, {{"b.txt"}, "second"}});
  auto intact = UnpackAll(archive);
  ASSERT_EQ(intact.members.size(), 2u);
  const size_t dataStart = EncodeLevel2Header(intact.members[0].header).size();
  const size_t packed = intact.members[0].header.packedSize;
  for (size_t offset : {dataStart + 10, dataStart + packed / 2, dataStart + packed - 3}) {
    std::string damaged = archive;
    damaged[offset] = static_cast<char>(damaged[offset] ^ 0x5A);
    auto unpacked = UnpackAll(damaged);
    ASSERT_EQ(unpacked.members.size(), 2u) << offset;
    EXPECT_NE(unpacked.members[0].result, ExtractResult::Ok) << offset;
    EXPECT_EQ(unpacked.members[1].result, ExtractResult::Ok);
    EXPECT_EQ(unpacked.members[1].data, "second");
  }
}

TEST(LhaCodec, TruncatedArchivesNeverUnpackSilently) {
  std::string archive = PackFiles({{{"a.txt"}, MailLikeText(20000, 5)}, {{"b.bin"}, RandomBytes(3000, 6)}});
  for (size_t cut = 0; cut + 1 < archive.size(); cut += 41) {
    auto unpacked = UnpackAll(archive.substr(0, cut));
    size_t complete = 0;
    for (const auto& member : unpacked.members) {
      if (member.result != ExtractResult::Ok) continue;
      ++complete;
      EXPECT_EQ(member.data.size(), member.header.originalSize);
    }
    // A cut inside a member shows up as damage, never as a shorter member.
    if (unpacked.end == HeaderRead::End) {
      EXPECT_EQ(complete, unpacked.members.size()) << cut;
    }
  }
}

TEST(LhaCodec, ALevel2HeaderWithAWrongCrcIsRefused) {
  std::string archive = PackFiles({{{"name.txt"}, "data"}});
  archive[30] = static_cast<char>(archive[30] ^ 1);
  EXPECT_EQ(UnpackAll(archive).end, HeaderRead::Damaged);
}

TEST(LhaCodec, Level2HeaderSizesNeverEndInAZeroByte) {
  for (size_t length = 200; length < 260; ++length) {
    MemberHeader header;
    header.method = "-lh0-";
    header.path = {std::string(length, 'n')};
    std::string bytes = EncodeLevel2Header(header);
    EXPECT_NE(bytes.size() & 0xFF, 0u);
    auto unpacked = UnpackAll(bytes + '\0');
    ASSERT_EQ(unpacked.members.size(), 1u);
    EXPECT_EQ(unpacked.members[0].header.path, header.path);
  }
}

TEST(LhaCodec, SizesBeyondFourGigabytesTravelInTheExtendedHeader) {
  MemberHeader header;
  header.method = "-lh5-";
  header.path = {"big.dbx"};
  header.packedSize = 5'000'000'000ULL;
  header.originalSize = 6'000'000'000ULL;
  MemorySource source(EncodeLevel2Header(header));
  BufferedSource in(source);
  MemberHeader read;
  ASSERT_EQ(ReadMemberHeader(in, read), HeaderRead::Member);
  EXPECT_EQ(read.packedSize, header.packedSize);
  EXPECT_EQ(read.originalSize, header.originalSize);
}

class MemorySpill : public SpillStorage {
 public:
  bool Begin() override {
    bytes.clear();
    ++begun;
    return true;
  }
  bool Write(const void* data, size_t size) override {
    bytes.append(static_cast<const char*>(data), size);
    return true;
  }
  std::unique_ptr<ByteSource> ReadBack() override { return std::make_unique<MemorySource>(bytes); }
  void Discard() override { bytes.clear(); }
  std::string bytes;
  int begun = 0;
};

TEST(LhaCodec, PackedDataSpilledOutOfMemoryGivesTheSameArchive) {
  std::string text = MailLikeText(300000, 7);
  MemorySink spilled;
  MemorySpill spill;
  LhaWriter writer(spilled, &spill, 4096);
  MemberHeader header;
  header.path = {"a.txt"};
  header.modified = 1700000000;
  ASSERT_EQ(writer.AddFile(header, [&] { return std::make_unique<MemorySource>(text); }), AddResult::Ok);
  writer.Finish();
  EXPECT_EQ(spill.begun, 1);
  EXPECT_TRUE(spilled.bytes == PackFiles({{{"a.txt"}, text}}));
}

class RecordingProgress : public Progress {
 public:
  explicit RecordingProgress(uint64_t stopAfter = UINT64_MAX) : stopAfter_(stopAfter) {}
  bool Advance(uint64_t done, uint64_t total) override {
    EXPECT_GE(done, last);
    EXPECT_LE(done, total);
    last = done;
    lastTotal = total;
    return done < stopAfter_;
  }
  uint64_t last = 0, lastTotal = 0;

 private:
  uint64_t stopAfter_;
};

TEST(LhaCodec, ProgressReachesTheEndAndCanStopTheWork) {
  std::string text = MailLikeText(2'000'000, 8);
  MemorySink archive;
  LhaWriter writer(archive, nullptr);
  MemberHeader header;
  header.path = {"a.txt"};
  header.originalSize = text.size();
  RecordingProgress packing;
  ASSERT_EQ(writer.AddFile(header, [&] { return std::make_unique<MemorySource>(text); }, &packing), AddResult::Ok);
  writer.Finish();
  EXPECT_EQ(packing.last, text.size());
  EXPECT_EQ(packing.lastTotal, text.size());

  for (uint64_t stopAfter : {UINT64_MAX, uint64_t{500000}}) {
    MemorySource source(archive.bytes);
    LhaReader reader(source);
    MemberHeader read;
    ASSERT_EQ(reader.Next(read), HeaderRead::Member);
    RecordingProgress unpacking(stopAfter);
    auto result = reader.Extract(nullptr, &unpacking);
    EXPECT_EQ(result, stopAfter == UINT64_MAX ? ExtractResult::Ok : ExtractResult::Stopped);
    if (stopAfter == UINT64_MAX) {
      EXPECT_EQ(unpacking.last, text.size());
    }
  }
}

}  // namespace
}  // namespace vorn::lha::test
