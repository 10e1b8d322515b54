#include "tests/platform/registry_store_contract.h"

#include <algorithm>

#include "platform/codepage.h"

namespace vorn {
namespace {

std::vector<uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }
RegValue Sz(const std::string& utf8, uint32_t type = regtype::kSz) {
  auto data = Bytes(Utf8ToCp932(utf8));
  data.push_back(0);
  return {type, data};
}

TEST_P(RegistryStoreContract, EveryValueTypeReadsBackAsWritten) {
  const std::vector<RegNamedValue> values = {
      {"sz", Sz("C:\\Mail")},
      {"expand", Sz("%UserProfile%\\x", regtype::kExpandSz)},
      {"multi", {regtype::kMultiSz, Bytes(std::string("a\0b\0\0", 5))}},
      {"dword", {regtype::kDword, {0xFF, 0xFF, 0xFF, 0xFF}}},
      {"big", {regtype::kDwordBigEndian, {0, 0, 0, 1}}},
      {"bin", {regtype::kBinary, {1, 0, 0, 0}}},
      {"empty", {regtype::kBinary, {}}},
      {"", Sz("default")},
  };
  for (const auto& v : values) ASSERT_TRUE(store->WriteValue(RegRoot::CurrentUser, Key("T"), v.name, v.value));
  for (const auto& v : values) {
    auto read = store->ReadValue(RegRoot::CurrentUser, Key("T"), v.name);
    ASSERT_TRUE(read.has_value()) << v.name;
    EXPECT_EQ(*read, v.value) << v.name;
  }
  // The NT registry lists values in creation order, Wine in name order: nothing may rely on either.
  auto listed = *store->EnumValues(RegRoot::CurrentUser, Key("T"));
  auto byName = [](const RegNamedValue& a, const RegNamedValue& b) { return a.name < b.name; };
  auto expected = values;
  std::sort(listed.begin(), listed.end(), byName);
  std::sort(expected.begin(), expected.end(), byName);
  EXPECT_EQ(listed, expected);
}

TEST_P(RegistryStoreContract, WritingCreatesIntermediateKeysAndOverwrites) {
  EXPECT_FALSE(store->KeyExists(RegRoot::CurrentUser, Key("A")));
  ASSERT_TRUE(store->WriteValue(RegRoot::CurrentUser, Key("A\\B\\C"), "v", Sz("1")));
  EXPECT_TRUE(store->KeyExists(RegRoot::CurrentUser, Key("A\\B")));
  ASSERT_TRUE(store->WriteValue(RegRoot::CurrentUser, Key("a\\b\\c"), "V", Sz("2")));
  EXPECT_EQ(store->ReadValue(RegRoot::CurrentUser, Key("A\\B\\C"), "v"), Sz("2"));
  EXPECT_EQ(store->EnumValues(RegRoot::CurrentUser, Key("A\\B\\C"))->size(), 1u);
}

TEST_P(RegistryStoreContract, MissingKeysAndValuesReadAsNothing) {
  EXPECT_FALSE(store->ReadValue(RegRoot::CurrentUser, Key("Nope"), "v").has_value());
  ASSERT_TRUE(store->CreateKey(RegRoot::CurrentUser, Key("Empty")));
  EXPECT_FALSE(store->ReadValue(RegRoot::CurrentUser, Key("Empty"), "v").has_value());
  EXPECT_FALSE(store->EnumSubkeys(RegRoot::CurrentUser, Key("Nope")).has_value());
  EXPECT_FALSE(store->EnumValues(RegRoot::CurrentUser, Key("Nope")).has_value());
  EXPECT_TRUE(store->EnumSubkeys(RegRoot::CurrentUser, Key("Empty"))->empty());
  EXPECT_FALSE(store->DeleteValue(RegRoot::CurrentUser, Key("Empty"), "v"));
  EXPECT_FALSE(store->DeleteKeyTree(RegRoot::CurrentUser, Key("Nope")));
}

TEST_P(RegistryStoreContract, DeletingValuesAndKeyTrees) {
  store->WriteValue(RegRoot::CurrentUser, Key("D\\Sub\\Deep"), "x", Sz("1"));
  store->WriteValue(RegRoot::CurrentUser, Key("D"), "keep", Sz("k"));
  store->WriteValue(RegRoot::CurrentUser, Key("D"), "drop", Sz("d"));
  EXPECT_TRUE(store->DeleteValue(RegRoot::CurrentUser, Key("D"), "drop"));
  EXPECT_FALSE(store->ReadValue(RegRoot::CurrentUser, Key("D"), "drop").has_value());
  EXPECT_TRUE(store->DeleteKeyTree(RegRoot::CurrentUser, Key("D\\Sub")));
  EXPECT_FALSE(store->KeyExists(RegRoot::CurrentUser, Key("D\\Sub\\Deep")));
  EXPECT_EQ(store->ReadValue(RegRoot::CurrentUser, Key("D"), "keep"), Sz("k"));
}

TEST_P(RegistryStoreContract, ManyValueNamesListAndWholeKeysGoWithEverythingBelow) {
  const std::string user = Key("山田 太郎");
  const RegValue one{regtype::kDword, {1, 0, 0, 0}};
  ASSERT_TRUE(store->WriteValue(RegRoot::CurrentUser, user + "\\EmlNws", "Update", one));
  std::vector<std::string> names = {"fj.comp.lang.c", "受信トレイ.dbx", "a\\b", "NOTES.DBX", "x y"};
  for (int i = 0; i < 300; ++i) names.push_back("group." + std::to_string(i));
  for (const auto& name : names) ASSERT_TRUE(store->WriteValue(RegRoot::CurrentUser, user + "\\EmlNws\\Nws", name, one));
  store->WriteValue(RegRoot::CurrentUser, user + "\\EmlNws\\Eml", "仕事.dbx", one);

  std::vector<std::string> listed;
  const auto values = store->EnumValues(RegRoot::CurrentUser, user + "\\EmlNws\\Nws");
  for (const auto& value : values.value_or(std::vector<RegNamedValue>{})) listed.push_back(value.name);
  std::sort(listed.begin(), listed.end());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(listed, names);  // a backslash in a value name is part of the name, not a key
  EXPECT_FALSE(store->KeyExists(RegRoot::CurrentUser, user + "\\EmlNws\\Nws\\a"));

  EXPECT_TRUE(store->DeleteKeyTree(RegRoot::CurrentUser, user + "\\EmlNws"));
  for (const char* gone : {"\\EmlNws", "\\EmlNws\\Nws", "\\EmlNws\\Eml"}) {
    EXPECT_FALSE(store->KeyExists(RegRoot::CurrentUser, user + gone)) << gone;
    EXPECT_FALSE(store->EnumValues(RegRoot::CurrentUser, user + gone).has_value()) << gone;
  }
  EXPECT_TRUE(store->KeyExists(RegRoot::CurrentUser, user));
  EXPECT_FALSE(store->DeleteKeyTree(RegRoot::CurrentUser, user + "\\EmlNws"));
}

TEST_P(RegistryStoreContract, SubkeysEnumerateInRegistryOrder) {
  for (const char* name : {"{C-3}", "{A-1}", "b", "{B-2}", "a2"})
    store->CreateKey(RegRoot::CurrentUser, Key("Identities\\") + name);
  EXPECT_EQ(*store->EnumSubkeys(RegRoot::CurrentUser, Key("Identities")),
            (std::vector<std::string>{"a2", "b", "{A-1}", "{B-2}", "{C-3}"}));
}

TEST_P(RegistryStoreContract, JapaneseNamesAndDataRoundTrip) {
  const std::string key = Key("日本語\\ﾃﾞｽｸﾄｯﾌﾟ");
  ASSERT_TRUE(store->WriteValue(RegRoot::CurrentUser, key, "署名", Sz("山田 太郎\r\n東京")));
  EXPECT_EQ(store->ReadValue(RegRoot::CurrentUser, key, "署名"), Sz("山田 太郎\r\n東京"));
  EXPECT_EQ(*store->EnumSubkeys(RegRoot::CurrentUser, Key("日本語")), std::vector<std::string>{"ﾃﾞｽｸﾄｯﾌﾟ"});
  EXPECT_EQ(store->EnumValues(RegRoot::CurrentUser, key)->at(0).name, "署名");
}

}  // namespace
}  // namespace vorn
