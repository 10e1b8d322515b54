// Archives assembled byte by byte: the header levels and forms other tools write, and -lh6-/-lh7- data.
#include <gtest/gtest.h>

#include "lha/codec/crc16.h"
#include "tests/lha/handmade_headers.h"
#include "tests/lha/lha_test_support.h"

namespace vorn::lha::test {
namespace {

// A level-1 header: name in the base part, folder and Unix time in extended headers.
std::string Level1(const std::string& name, const std::string& folder, const std::string& data) {
  std::string dirExt = '\x02' + folder;
  std::string timeExt = '\x54' + Le(1234567890, 4);
  std::string extensions = dirExt + Le(timeExt.size() + 2, 2) + timeExt + Le(0, 2);
  std::string base = std::string("-lh0-") + Le(extensions.size() + data.size(), 4) + Le(data.size(), 4) +
                     Le(kDosStamp, 4) + '\x20' + '\x01' + static_cast<char>(name.size()) + name +
                     Le(Crc(data), 2) + 'M' + Le(dirExt.size() + 2, 2);
  uint8_t sum = 0;
  for (char c : base) sum = static_cast<uint8_t>(sum + static_cast<uint8_t>(c));
  return std::string(1, static_cast<char>(base.size())) + static_cast<char>(sum) + base + extensions + data;
}

TEST(HandmadeArchive, Level0HeadersGiveNameTimeAttributesAndData) {
  // "表" is 0x95 0x5C in code page 932: its second byte is no separator.
  std::string archive = Level0("-lh0-", "DIR\\\x95\x5C.TXT", "hello", 5, Crc("hello"), 0x21) + '\0';
  auto unpacked = UnpackAll(archive);
  ASSERT_EQ(unpacked.end, HeaderRead::End);
  ASSERT_EQ(unpacked.members.size(), 1u);
  const auto& m = unpacked.members[0];
  EXPECT_EQ(m.header.level, 0);
  EXPECT_EQ(m.header.path, (std::vector<std::string>{"DIR", "\x95\x5C.TXT"}));
  EXPECT_EQ(m.header.modified, kDosStampUnix);
  EXPECT_EQ(m.header.attributes, 0x21u);
  EXPECT_EQ(m.result, ExtractResult::Ok);
  EXPECT_EQ(m.data, "hello");
}

TEST(HandmadeArchive, Level0ChecksumAndCrcFaultsAreCaught) {
  std::string good = Level0("-lh0-", "A.TXT", "hello", 5, Crc("hello"));
  std::string badSum = good;
  badSum[1] = static_cast<char>(badSum[1] + 1);
  EXPECT_EQ(UnpackAll(badSum + '\0').end, HeaderRead::Damaged);

  auto unpacked = UnpackAll(Level0("-lh0-", "A.TXT", "hellO", 5, Crc("hello")) + good + '\0');
  ASSERT_EQ(unpacked.members.size(), 2u);
  EXPECT_EQ(unpacked.members[0].result, ExtractResult::CrcMismatch);
  EXPECT_EQ(unpacked.members[1].result, ExtractResult::Ok);
}

TEST(HandmadeArchive, Level1ExtendedHeadersGiveFolderAndTime) {
  std::string archive = Level1("b.txt", std::string("x\xFFy\xFF"), "level one") + '\0';
  auto unpacked = UnpackAll(archive);
  ASSERT_EQ(unpacked.members.size(), 1u);
  const auto& m = unpacked.members[0];
  EXPECT_EQ(m.header.level, 1);
  EXPECT_EQ(m.header.path, (std::vector<std::string>{"x", "y", "b.txt"}));
  EXPECT_EQ(m.header.modified, 1234567890);
  EXPECT_EQ(m.header.packedSize, 9u);
  EXPECT_EQ(m.data, "level one");
}

TEST(HandmadeArchive, ForeignHeaderFormsGiveTheirNamesTimesAndData) {
  const uint32_t in2039 = 2200000000u;  // 2039-09-18, past the signed 32-bit range
  struct Case {
    const char* what;
    std::string archive;
    std::vector<std::string> path;
    int64_t modified;
  };
  const Case cases[] = {
      {"level 3 (OS/2 LHA)",
       Sized(3, {Ext(0x01, "three.txt"), Ext(0x02, std::string("os2\xFF")), Ext(0x40, Le(0x20, 2))}, "payload",
             1234567890, '2'),
       {"os2", "three.txt"}, 1234567890},
      {"level 2 stated two bytes short (OS-9 LHA)", Sized(2, {Ext(0x01, "nine.txt")}, "payload", 1234567890, 'K', true),
       {"nine.txt"}, 1234567890},
      {"level 2 time after 2038", Sized(2, {Ext(0x01, "late.txt")}, "payload", in2039, 'U'), {"late.txt"}, in2039},
      {"level 2 Unix time extension after 2038",
       Sized(2, {Ext(0x01, "ext.txt"), Ext(0x54, Le(in2039, 4))}, "payload", 0, 'U'), {"ext.txt"}, in2039},
      {"level 0 Amiga name with a comment after a NUL",
       Level0("-lh0-", std::string("AMIGA.TXT\0a comment", 19), "payload", 7, Crc("payload")),
       {"AMIGA.TXT"}, kDosStampUnix},
      {"level 2 name with a comment after a NUL", Sized(2, {Ext(0x01, std::string("n.txt\0note", 10))}, "payload", 5, 'A'),
       {"n.txt"}, 5},
      {"Windows times of zero", Sized(2, {Ext(0x01, "w.txt"), Ext(0x41, std::string(24, '\0'))}, "payload", 5, 'W'),
       {"w.txt"}, -11644473600LL},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    auto unpacked = UnpackAll(c.archive + Level0("-lh0-", "NEXT", "n", 1, Crc("n")) + '\0');
    ASSERT_EQ(unpacked.end, HeaderRead::End);
    ASSERT_EQ(unpacked.members.size(), 2u);
    EXPECT_EQ(unpacked.members[0].header.path, c.path);
    EXPECT_EQ(unpacked.members[0].header.modified, c.modified);
    EXPECT_EQ(unpacked.members[0].result, ExtractResult::Ok);
    EXPECT_EQ(unpacked.members[0].data, "payload");
    EXPECT_EQ(unpacked.members[1].data, "n");  // the data was found where it is
  }
  // A level-3 header must say its fields are four bytes wide; a damaged one is refused.
  std::string wrongWidth = Sized(3, {Ext(0x01, "x")}, "payload", 0, '2');
  wrongWidth[0] = 2;
  EXPECT_EQ(UnpackAll(wrongWidth + '\0').end, HeaderRead::Damaged);
  std::string cut = Sized(2, {Ext(0x01, "x")}, "payload", 0, 'U', true);
  EXPECT_EQ(UnpackAll(cut.substr(0, cut.size() - 9)).end, HeaderRead::Damaged);
}

TEST(HandmadeArchive, TimesOutsideTheHeaderFieldAreWrittenAsTheNearestItHolds) {
  for (auto [written, read] : {std::pair<int64_t, int64_t>{2200000000, 2200000000}, {-5, 0},
                               {5000000000, 4294967295}}) {
    MemberHeader header;
    header.method = "-lh0-";
    header.path = {"t.txt"};
    header.modified = written;
    auto unpacked = UnpackAll(EncodeLevel2Header(header) + '\0');
    ASSERT_EQ(unpacked.members.size(), 1u);
    EXPECT_EQ(unpacked.members[0].header.modified, read) << written;
  }
}

TEST(HandmadeArchive, MacLhaMembersUnwrapToTheirDataFork) {
  const uint32_t time = 1000000000;
  const std::string wrapped = MacBinary("Letter", "the data fork", "RSRC", time);
  const std::string resourceOnly = MacBinary("Icon", "", "resources", time);
  const std::string otherName = MacBinary("Letter.bin", "the data fork", "RSRC", time);
  struct Case {
    const char* what;
    std::string name, data;
    char os;
    std::string expected;
  };
  const Case cases[] = {
      {"MacLHA's own header", "Letter", wrapped, 'm', "the data fork"},
      {"only a resource fork", "Icon", resourceOnly, 'm', "resources"},
      {"a MacBinary file packed as it is", "Letter", otherName, 'm', otherName},
      {"from another system", "Letter", wrapped, 'M', wrapped},
      {"short data", "Letter", "short", 'm', "short"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    auto unpacked = UnpackAll(Sized(2, {Ext(0x01, c.name)}, c.data, time, c.os) + '\0');
    ASSERT_EQ(unpacked.members.size(), 1u);
    EXPECT_EQ(unpacked.members[0].result, ExtractResult::Ok);
    EXPECT_TRUE(unpacked.members[0].data == c.expected) << unpacked.members[0].data.size();
  }
}

TEST(HandmadeArchive, UnsupportedMethodsAreNamedAndSkipped) {
  auto unpacked = UnpackAll(Level0("-lh1-", "OLD.TXT", "xxxx", 9, 0) + Level0("-lh0-", "B", "b", 1, Crc("b")) + '\0');
  ASSERT_EQ(unpacked.members.size(), 2u);
  EXPECT_EQ(unpacked.members[0].result, ExtractResult::UnsupportedMethod);
  EXPECT_EQ(unpacked.members[1].data, "b");
}

// 12088 bytes whose last line repeats the first one 12044 bytes back, beyond -lh5-'s reach.
std::string FarMatchText() {
  std::string head = "The quick brown fox jumps over the lazy dog\n";
  std::string text = head;
  for (int i = 0; i < 12000; ++i) text += static_cast<char>((i * 7 + i / 13) % 5 + 97);
  return text + head;
}

const unsigned char kFarMatchPacked[] = {
    0x00, 0x68, 0x50, 0x6c, 0xa0, 0x57, 0x0f, 0xfa, 0x3a, 0x80, 0x7f, 0x43, 0xe9, 0x3b, 0x6d, 0x80, 0x18, 0xe3,
    0x81, 0x4e, 0x28, 0x28, 0x1a, 0x82, 0xd4, 0xbc, 0xa4, 0xcf, 0x3c, 0x00, 0xd4, 0x04, 0x00, 0x00, 0x9a, 0x76,
    0x5a, 0x3a, 0x67, 0xb6, 0x9b, 0xe2, 0x79, 0x5f, 0xc7, 0x28, 0xd5, 0x7f, 0x31, 0xbb, 0x3e, 0x3c, 0xfa, 0xc5,
    0xfb, 0xdb, 0x28, 0xed, 0xf3, 0xbb, 0x84, 0xbd, 0xfa, 0x8a, 0xdf, 0x5e, 0x89, 0x52, 0xd3, 0xaf, 0xdc, 0x62,
    0x73, 0xc4, 0xeb, 0x89, 0xcb, 0x13, 0xa0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x07, 0xf0,
    0x1f, 0xbd, 0xe1, 0x60};

TEST(HandmadeArchive, Lh6AndLh7DataReachFarBack) {
  const std::string packed(reinterpret_cast<const char*>(kFarMatchPacked), sizeof kFarMatchPacked);
  const std::string text = FarMatchText();
  ASSERT_EQ(Crc(text), 0xDDD3);
  for (const char* method : {"-lh6-", "-lh7-"}) {
    auto unpacked = UnpackAll(Level0(method, "FAR.TXT", packed, text.size(), 0xDDD3) + '\0');
    ASSERT_EQ(unpacked.members.size(), 1u);
    EXPECT_EQ(unpacked.members[0].result, ExtractResult::Ok) << method;
    EXPECT_TRUE(unpacked.members[0].data == text) << method;
  }
  // The same bits read with -lh5-'s tables are not a valid member.
  auto asLh5 = UnpackAll(Level0("-lh5-", "FAR.TXT", packed, text.size(), 0xDDD3) + '\0');
  ASSERT_EQ(asLh5.members.size(), 1u);
  EXPECT_NE(asLh5.members[0].result, ExtractResult::Ok);
}

TEST(HandmadeArchive, DataShorterThanItsHeaderClaimsIsDamage) {
  const std::string packed(reinterpret_cast<const char*>(kFarMatchPacked), 60);
  std::string archive = Level0("-lh7-", "FAR.TXT", packed, 12088, 0xDDD3) + '\0';
  auto unpacked = UnpackAll(archive);
  ASSERT_EQ(unpacked.members.size(), 1u);
  EXPECT_EQ(unpacked.members[0].result, ExtractResult::Damaged);
}

}  // namespace
}  // namespace vorn::lha::test
