#include "core/registry_access.h"

#include <gtest/gtest.h>

#include "platform/codepage.h"
#include "platform/sim/sim_registry_store.h"

namespace vorn {
namespace {

const RegRoot HKCU = RegRoot::CurrentUser;

class RegistryAccessTest : public ::testing::Test {
 protected:
  void Store(const std::string& name, uint32_t type, std::vector<uint8_t> data) {
    store.WriteValue(HKCU, "K", name, {type, std::move(data)});
  }
  SimRegistryStore store;
  RegistryAccess reg{store};
};

TEST_F(RegistryAccessTest, StringsReadAsTextCutAtTheirNul) {
  Store("path", regtype::kSz, {'C', ':', '\\', 'M', 'a', 'i', 'l', 0});
  EXPECT_EQ(reg.RegReadValue(HKCU, "K", "path").Text(), "C:\\Mail");
  EXPECT_EQ(reg.RegReadValue(HKCU, "K", "path").status, 1);

  std::string ansi = Utf8ToCp932("山田太郎");
  std::vector<uint8_t> data(ansi.begin(), ansi.end());
  data.push_back(0);
  Store("name", regtype::kExpandSz, data);
  RegReadResult read = reg.RegReadValue(HKCU, "K", "name");
  EXPECT_EQ(read.status, 2);
  EXPECT_NE(read.Text(), "山田太郎");  // double-byte characters leave NULs behind the text
  EXPECT_EQ(TrimAtNul(read.Text()), "山田太郎");
  EXPECT_EQ(reg.RegReadText(HKCU, "K", "name"), "山田太郎");

  Store("multi", regtype::kMultiSz, {'a', 0, 'b', 0, 0});
  EXPECT_EQ(reg.RegReadText(HKCU, "K", "multi"), "a");
  Store("unterminated", regtype::kSz, {'a', 'b', 'c'});
  EXPECT_EQ(reg.RegReadText(HKCU, "K", "unterminated"), "abc");
}

TEST_F(RegistryAccessTest, NumbersAndBytesReadAsTheCallersExpect) {
  Store("one", regtype::kDword, {1, 0, 0, 0});
  Store("minus", regtype::kDword, {0xFF, 0xFF, 0xFF, 0xFF});
  Store("big", regtype::kDwordBigEndian, {0, 0, 1, 2});
  Store("bin", regtype::kBinary, {1, 0, 0, 0xAB});
  Store("none", regtype::kBinary, {});
  Store("res", regtype::kFullResourceDescriptor, {0x0F});
  EXPECT_EQ(std::get<int32_t>(reg.RegReadValue(HKCU, "K", "one").value), 1);
  EXPECT_EQ(reg.RegReadValue(HKCU, "K", "minus").Text(), "-1");
  EXPECT_EQ(reg.RegReadValue(HKCU, "K", "big").Text(), "258");
  EXPECT_EQ(reg.RegReadValue(HKCU, "K", "bin").Text(), "01 00 00 AB ");
  EXPECT_EQ(reg.RegReadValue(HKCU, "K", "none").Text(), "");
  EXPECT_EQ(reg.RegReadValue(HKCU, "K", "res").Text(), "0F ");
  Store("odd", 11, {7});
  auto raw = std::get<std::vector<uint8_t>>(reg.RegReadValue(HKCU, "K", "odd").value);
  EXPECT_EQ(raw.size(), 1024u);
  EXPECT_EQ(raw[0], 7);
}

TEST_F(RegistryAccessTest, MissingOrOversizedValuesAreStatus99AndEmpty) {
  for (auto [key, name] : {std::pair{"Nope", "v"}, std::pair{"K", "v"}}) {
    RegReadResult read = reg.RegReadValue(HKCU, key, name);
    EXPECT_EQ(read.status, kRegNoValue);
    EXPECT_EQ(read.Text(), "");
  }
  Store("fits", regtype::kBinary, std::vector<uint8_t>(1024, 1));
  Store("huge", regtype::kBinary, std::vector<uint8_t>(1025, 1));
  EXPECT_EQ(reg.RegReadValue(HKCU, "K", "fits").status, 3);
  EXPECT_EQ(reg.RegReadValue(HKCU, "K", "huge").status, kRegNoValue);
  EXPECT_EQ(reg.RegReadValue(HKCU, "K", "huge").Text(), "");
}

TEST_F(RegistryAccessTest, WritesStoreTheTypeOfTheValueGiven) {
  ASSERT_TRUE(reg.RegWriteValue(HKCU, "A\\B\\C", "s", std::string("署名")));
  EXPECT_EQ(store.ReadValue(HKCU, "A\\B\\C", "s")->type, regtype::kSz);
  EXPECT_EQ(reg.RegReadText(HKCU, "A\\B\\C", "s"), "署名");
  reg.RegWriteValue(HKCU, "K", "i16", int16_t{0});
  reg.RegWriteValue(HKCU, "K", "neg", int16_t{-2});
  reg.RegWriteValue(HKCU, "K", "yes", true);
  reg.RegWriteValue(HKCU, "K", "b", std::vector<uint8_t>{1, 2});
  EXPECT_EQ(*store.ReadValue(HKCU, "K", "i16"), (RegValue{regtype::kDword, {0, 0, 0, 0}}));
  EXPECT_EQ(reg.RegReadText(HKCU, "K", "neg"), "-2");
  EXPECT_EQ(reg.RegReadText(HKCU, "K", "yes"), "-1");
  EXPECT_EQ(reg.RegReadText(HKCU, "K", "b"), "01 02 ");

  reg.SetMultiStringMode(true);
  reg.RegWriteValue(HKCU, "K", "m", std::string("line"));
  reg.SetMultiStringMode(false);
  EXPECT_EQ(store.ReadValue(HKCU, "K", "m")->type, regtype::kMultiSz);
  EXPECT_EQ(reg.RegReadText(HKCU, "K", "m"), "line");
}

TEST_F(RegistryAccessTest, FailedWritesAndDeletesReportFalse) {
  store.DenyWrites(HKCU, "Locked");
  EXPECT_FALSE(reg.RegWriteValue(HKCU, "Locked\\X", "v", std::string("x")));
  EXPECT_FALSE(reg.RegDeleteValue(HKCU, "K", "absent"));
  reg.RegWriteValue(HKCU, "K", "v", std::string("x"));
  EXPECT_TRUE(reg.RegDeleteValue(HKCU, "K", "v"));
  EXPECT_EQ(reg.RegReadValue(HKCU, "K", "v").status, kRegNoValue);
}

TEST_F(RegistryAccessTest, SubkeysListInRegistryOrderAndMissingKeysListNothing) {
  for (const char* id : {"{C}", "{A}", "{B}"}) store.CreateKey(HKCU, std::string("Identities\\") + id);
  EXPECT_EQ(reg.RegEnumSubkeys(HKCU, "Identities"), (std::vector<std::string>{"{A}", "{B}", "{C}"}));
  EXPECT_TRUE(reg.RegEnumSubkeys(HKCU, "Nothing").empty());
}

TEST(TrimAtNul, CutsAtTheFirstNul) {
  EXPECT_EQ(TrimAtNul("abc"), "abc");
  EXPECT_EQ(TrimAtNul(std::string("abc\0def", 7)), "abc");
  EXPECT_EQ(TrimAtNul(""), "");
}

}  // namespace
}  // namespace vorn
