// Under Wine: our editor against Wine's own regedit on the same registry keys.
#include <gtest/gtest.h>

#include "platform/codepage.h"
#include "regedit/reg_file_editor.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_registry_store.h"
#include "platform/whole_file.h"
#include "tests/regedit/reg_test_support.h"
#include "tests/regedit/wine_programs.h"

namespace vorn {
namespace {

using regtest::AnsiBytes;
using regtest::DumpTree;
using regtest::RunAndWait;
using regtest::Sz;
using regtest::TempFolder;

constexpr auto kUser = RegRoot::CurrentUser;
const std::string kKey = "Software\\VornRegeditWine";
const std::string kKeyName = "HKEY_CURRENT_USER\\" + kKey;

class RegWineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    store_.DeleteKeyTree(kUser, kKey);
    std::vector<uint8_t> blob;
    for (int i = 0; i < 100; ++i) blob.push_back(static_cast<uint8_t>(i * 37));
    store_.WriteValue(kUser, kKey, "", Sz("既定の値"));
    store_.WriteValue(kUser, kKey, "Path", Sz("C:\\Program Files\\\"Vorn\""));
    store_.WriteValue(kUser, kKey, "Store Root",
                      {regtype::kExpandSz, AnsiBytes(std::string("%UserProfile%\\Local Settings\\Application Data\\"
                                                                 "Identities\\{0A1B2C3D}\\Microsoft\\Outlook Express") +
                                                     '\0')});
    store_.WriteValue(kUser, kKey, "Multi", {regtype::kMultiSz, AnsiBytes(std::string("署名\0二行目\0\0", 18))});
    store_.WriteValue(kUser, kKey, "Dword", {regtype::kDword, {0x78, 0x56, 0x34, 0x12}});
    store_.WriteValue(kUser, kKey, "Big", {regtype::kDwordBigEndian, {1, 2, 3, 4}});
    store_.WriteValue(kUser, kKey, "Blob", {regtype::kBinary, blob});
    store_.WriteValue(kUser, kKey, "EmptyBlob", {regtype::kBinary, {}});
    store_.WriteValue(kUser, kKey, "None", {regtype::kNone, {}});
    store_.WriteValue(kUser, kKey, "Qword", {11, {1, 2, 3, 4, 5, 6, 7, 8}});
    store_.WriteValue(kUser, kKey, "日本語の名前", Sz("ソフト表示"));
    store_.WriteValue(kUser, kKey, "Empty", Sz(""));
    store_.WriteValue(kUser, kKey, "A rather long value name that pushes hex data along",
                      {regtype::kBinary, std::vector<uint8_t>(blob.begin(), blob.begin() + 30)});
    store_.WriteValue(kUser, kKey + "\\Sub\\Deeper", "d", {regtype::kDword, {1, 0, 0, 0}});
    store_.WriteValue(kUser, kKey + "\\署名\\00000000", "text", Sz("一行だけの署名"));
    store_.CreateKey(kUser, kKey + "\\Empty");
    before_ = DumpTree(store_, kUser, kKey);
    ASSERT_FALSE(before_.empty());
  }
  void TearDown() override {
    store_.DeleteKeyTree(kUser, kKey);
    files_.DeleteFile(wineFile_);
    files_.DeleteFile(ourFile_);
  }

  void WineExport() {
    files_.DeleteFile(wineFile_);
    ASSERT_EQ(RunAndWait("regedit.exe /e \"" + wineFile_ + "\" " + kKeyName), 0);
  }
  std::string Bytes(const std::string& path) { return ReadWholeFile(files_, path).value_or(""); }

  Win32RegistryStore store_;
  Win32FileSystem files_;
  RegFileEditor editor_{store_, files_, [] { return RegDialect::Version5; }};
  std::string wineFile_ = TempFolder() + "\\vorn-wine.reg";
  std::string ourFile_ = TempFolder() + "\\vorn-ours.reg";
  std::vector<regtest::KeyDump> before_;
};

TEST_F(RegWineTest, OurUnicodeExportIsByteForByteWines) {
  WineExport();
  editor_.Run("Regedit.exe /e " + ourFile_ + " " + kKeyName);
  ASSERT_TRUE(editor_.LastOutcome().succeeded) << editor_.LastOutcome().problem;
  EXPECT_EQ(Bytes(ourFile_), Bytes(wineFile_));
}

// Wine escapes the line breaks of a string where the platform's editor writes them as they are.
TEST_F(RegWineTest, WhatWineExportsImportsWithOurs) {
  store_.WriteValue(kUser, kKey + "\\署名\\00000000", "text", Sz("一行目\r\n二行目"));
  before_ = DumpTree(store_, kUser, kKey);
  WineExport();
  store_.DeleteKeyTree(kUser, kKey);
  editor_.Run("regedit.exe /s \"" + wineFile_ + "\"");
  ASSERT_TRUE(editor_.LastOutcome().succeeded) << editor_.LastOutcome().problem;
  EXPECT_EQ(DumpTree(store_, kUser, kKey), before_);
}

TEST_F(RegWineTest, WhatWeExportWineImports) {
  editor_.Run("Regedit.exe /e " + ourFile_ + " " + kKeyName);
  store_.DeleteKeyTree(kUser, kKey);
  ASSERT_EQ(RunAndWait("regedit.exe /s \"" + ourFile_ + "\""), 0);
  EXPECT_EQ(DumpTree(store_, kUser, kKey), before_);
}

#ifdef VORN_CLI_EXE
// The tool of the build, as Wine sees its host path.
std::string CliProgram() {
  std::string path = "Z:" + std::string(VORN_CLI_EXE);
  for (char& c : path)
    if (c == '/') c = '\\';
  return "\"" + path + "\"";
}

TEST_F(RegWineTest, VornCliExportsAndImports) {
  WineExport();
  ASSERT_EQ(RunAndWait(CliProgram() + " reg export \"" + ourFile_ + "\" " + kKeyName), 0);
  EXPECT_EQ(Bytes(ourFile_), Bytes(wineFile_));
  store_.DeleteKeyTree(kUser, kKey);
  ASSERT_EQ(RunAndWait(CliProgram() + " reg import \"" + wineFile_ + "\""), 0);
  EXPECT_EQ(DumpTree(store_, kUser, kKey), before_);
  ASSERT_EQ(RunAndWait(CliProgram() + " reg export \"" + ourFile_ + "\" " + kKeyName + " --regedit4"), 0);
  EXPECT_EQ(Bytes(ourFile_).substr(0, 10), "REGEDIT4\r\n");
}
#endif

}  // namespace
}  // namespace vorn
