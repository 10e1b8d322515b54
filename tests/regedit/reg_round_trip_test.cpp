#include <gtest/gtest.h>

#include "regedit/reg_export.h"
#include "regedit/reg_import.h"
#include "platform/sim/sim_registry_store.h"
#include "tests/regedit/reg_test_support.h"

namespace vorn {
namespace {

using regtest::AnsiBytes;
using regtest::Bytes;
using regtest::DumpTree;
using regtest::Sz;

constexpr auto kUser = RegRoot::CurrentUser;
const std::string kKey = "Identities\\{1A2B}\\Software";

class RegRoundTripTest : public ::testing::TestWithParam<RegDialect> {
 protected:
  // Export, then import into an empty store: the same tree must come back.
  void ExpectRoundTrip() {
    auto file = ExportRegFile(source_, kUser, kKey, "HKEY_CURRENT_USER\\" + kKey, GetParam());
    ASSERT_TRUE(file);
    SimRegistryStore target;
    auto result = ImportRegFile(target, *file);
    EXPECT_TRUE(result.Clean()) << (result.badLine ? result.badLine->reason : "refused");
    EXPECT_EQ(DumpTree(target, kUser, kKey), DumpTree(source_, kUser, kKey));
  }
  SimRegistryStore source_;
};

TEST_P(RegRoundTripTest, EveryValueType) {
  std::vector<uint8_t> big;
  for (int i = 0; i < 1000; ++i) big.push_back(static_cast<uint8_t>(i * 7));
  source_.WriteValue(kUser, kKey, "", Sz("default"));
  source_.WriteValue(kUser, kKey, "none", {regtype::kNone, {}});
  source_.WriteValue(kUser, kKey, "sz", Sz("C:\\Mail \"quoted\" \\\\server\\r\\n"));
  source_.WriteValue(kUser, kKey, "empty", Sz(""));
  source_.WriteValue(kUser, kKey, "expand", {regtype::kExpandSz, Bytes(std::string("%UserProfile%\\Mail\0", 19))});
  source_.WriteValue(kUser, kKey, "binary", {regtype::kBinary, big});
  source_.WriteValue(kUser, kKey, "emptyBinary", {regtype::kBinary, {}});
  source_.WriteValue(kUser, kKey, "dword", {regtype::kDword, {0xff, 0xff, 0xff, 0xff}});
  source_.WriteValue(kUser, kKey, "bigEndian", {regtype::kDwordBigEndian, {0, 0, 0, 1}});
  source_.WriteValue(kUser, kKey, "multi", {regtype::kMultiSz, Bytes(std::string("one\0two\0\0", 9))});
  source_.WriteValue(kUser, kKey, "resource", {regtype::kFullResourceDescriptor, {1, 2, 3}});
  source_.WriteValue(kUser, kKey, "qword", {11, {1, 0, 0, 0, 0, 0, 0, 0}});
  source_.WriteValue(kUser, kKey, "oddDword", {regtype::kDword, {1, 2}});
  source_.WriteValue(kUser, kKey, "nulInside", {regtype::kSz, Bytes(std::string("a\0b\0", 4))});
  source_.WriteValue(kUser, kKey, "lines", Sz("Line1\r\nLine2\r\n\r\n\"Line4\"\\"));
  source_.WriteValue(kUser, kKey, "name\r\nwith \"break\"", Sz("x"));
  source_.WriteValue(kUser, kKey + "\\Sub\\Deeper", "d", {regtype::kDword, {1, 0, 0, 0}});
  source_.CreateKey(kUser, kKey + "\\Sub\\Empty");
  ExpectRoundTrip();
}

TEST_P(RegRoundTripTest, JapaneseNamesAndData) {
  source_.WriteValue(kUser, kKey + "\\署名\\表示", "名前", Sz("山田 太郎\r\n表示・ソフト"));
  source_.WriteValue(kUser, kKey + "\\署名", "保存先", {regtype::kExpandSz, AnsiBytes(std::string("%A%\\表\\ソ") + '\0')});
  source_.WriteValue(kUser, kKey + "\\署名", "一覧", {regtype::kMultiSz, AnsiBytes(std::string("予定\0表\0\0", 12))});
  source_.WriteValue(kUser, kKey, "", Sz("ダメ文字 ソ表能"));
  ExpectRoundTrip();
}

INSTANTIATE_TEST_SUITE_P(BothDialects, RegRoundTripTest,
                         ::testing::Values(RegDialect::Version5, RegDialect::Regedit4),
                         [](const auto& info) { return info.param == RegDialect::Version5 ? "Version5" : "Regedit4"; });

}  // namespace
}  // namespace vorn
