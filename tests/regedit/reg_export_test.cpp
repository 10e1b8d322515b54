#include "regedit/reg_export.h"

#include <gtest/gtest.h>

#include "platform/codepage.h"
#include "platform/sim/sim_registry_store.h"
#include "tests/regedit/reg_test_support.h"

namespace vorn {
namespace {

using regtest::AnsiBytes;
using regtest::AnsiFile;
using regtest::Bytes;
using regtest::Sz;
using regtest::Utf16File;

constexpr auto kUser = RegRoot::CurrentUser;
const std::string kKey = "Software\\VornTest";
const std::string kKeyName = "HKEY_CURRENT_USER\\Software\\VornTest";

class RegExportTest : public ::testing::Test {
 protected:
  std::string Export(RegDialect dialect) { return ExportRegFile(store_, kUser, kKey, kKeyName, dialect).value(); }
  SimRegistryStore store_;
};

TEST_F(RegExportTest, WritesEveryValueTypeInTheUnicodeDialect) {
  store_.WriteValue(kUser, kKey, "", Sz("既定"));
  store_.WriteValue(kUser, kKey, "Path", Sz("C:\\Mail \"x\""));
  store_.WriteValue(kUser, kKey, "Count", {regtype::kDword, {0x2a, 0, 0, 0}});
  store_.WriteValue(kUser, kKey, "Flags", {regtype::kBinary, {1, 0, 0, 0}});
  store_.WriteValue(kUser, kKey, "Home", {regtype::kExpandSz, AnsiBytes(std::string("%A%\\日") + '\0')});
  store_.WriteValue(kUser, kKey, "List", {regtype::kMultiSz, Bytes(std::string("a\0b\0\0", 5))});
  store_.WriteValue(kUser, kKey, "Big", {regtype::kDwordBigEndian, {0, 0, 0, 1}});
  store_.WriteValue(kUser, kKey, "Empty", {regtype::kBinary, {}});
  store_.WriteValue(kUser, kKey, "Sub\\\"Name\"", Sz(""));
  store_.WriteValue(kUser, kKey + "\\Sub", "n", {regtype::kDword, {0xff, 0xff, 0xff, 0xff}});
  store_.CreateKey(kUser, kKey + "\\Sub\\空");

  EXPECT_EQ(Export(RegDialect::Version5),
            Utf16File("Windows Registry Editor Version 5.00\r\n"
                      "\r\n"
                      "[HKEY_CURRENT_USER\\Software\\VornTest]\r\n"
                      "@=\"既定\"\r\n"
                      "\"Path\"=\"C:\\\\Mail \\\"x\\\"\"\r\n"
                      "\"Count\"=dword:0000002a\r\n"
                      "\"Flags\"=hex:01,00,00,00\r\n"
                      "\"Home\"=hex(2):25,00,41,00,25,00,5c,00,e5,65,00,00\r\n"
                      "\"List\"=hex(7):61,00,00,00,62,00,00,00,00,00\r\n"
                      "\"Big\"=hex(5):00,00,00,01\r\n"
                      "\"Empty\"=hex:\r\n"
                      "\"Sub\\\\\\\"Name\\\"\"=\"\"\r\n"
                      "\r\n"
                      "[HKEY_CURRENT_USER\\Software\\VornTest\\Sub]\r\n"
                      "\"n\"=dword:ffffffff\r\n"
                      "\r\n"
                      "[HKEY_CURRENT_USER\\Software\\VornTest\\Sub\\空]\r\n"
                      "\r\n"));
}

TEST_F(RegExportTest, WritesStringTypesInCodePage932InTheAnsiDialect) {
  store_.WriteValue(kUser, kKey, "名前", Sz("表示"));
  store_.WriteValue(kUser, kKey, "Home", {regtype::kExpandSz, AnsiBytes(std::string("%A%\\日") + '\0')});
  store_.WriteValue(kUser, kKey, "Other", {regtype::kFullResourceDescriptor, {0xAB}});

  EXPECT_EQ(Export(RegDialect::Regedit4), AnsiFile("REGEDIT4\r\n"
                                                   "\r\n"
                                                   "[HKEY_CURRENT_USER\\Software\\VornTest]\r\n"
                                                   "\"名前\"=\"表示\"\r\n"
                                                   "\"Home\"=hex(2):25,41,25,5c,93,fa,00\r\n"
                                                   "\"Other\"=hex(9):ab\r\n"
                                                   "\r\n"));
}

TEST_F(RegExportTest, WritesLineBreaksOfAStringAsTheyAre) {
  store_.WriteValue(kUser, kKey, "text", Sz("Line1\r\nLine2\r\nLine3"));
  EXPECT_EQ(Export(RegDialect::Version5), Utf16File("Windows Registry Editor Version 5.00\r\n\r\n"
                                                    "[HKEY_CURRENT_USER\\Software\\VornTest]\r\n"
                                                    "\"text\"=\"Line1\r\nLine2\r\nLine3\"\r\n\r\n"));
}

TEST_F(RegExportTest, WrapsHexDataAtEightyColumns) {
  std::vector<uint8_t> bytes;
  for (uint8_t b = 1; b <= 0x2a; ++b) bytes.push_back(b);
  store_.WriteValue(kUser, kKey, "b", {regtype::kBinary, bytes});
  // Columns count characters in the Unicode file and bytes in the ANSI one.
  std::string twentyUnits;
  for (int i = 0; i < 10; ++i) twentyUnits += "%A";
  store_.WriteValue(kUser, kKey, "長い", {regtype::kExpandSz, Bytes(twentyUnits + '\0')});

  EXPECT_EQ(Export(RegDialect::Version5),
            Utf16File("Windows Registry Editor Version 5.00\r\n\r\n"
                      "[HKEY_CURRENT_USER\\Software\\VornTest]\r\n"
                      "\"b\"=hex:01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,16,17,\\\r\n"
                      "  18,19,1a,1b,1c,1d,1e,1f,20,21,22,23,24,25,26,27,28,29,2a\r\n"
                      "\"長い\"=hex(2):25,00,41,00,25,00,41,00,25,00,41,00,25,00,41,00,25,00,41,00,25,00,\\\r\n"
                      "  41,00,25,00,41,00,25,00,41,00,25,00,41,00,25,00,41,00,00,00\r\n\r\n"));
  EXPECT_EQ(Export(RegDialect::Regedit4),
            AnsiFile("REGEDIT4\r\n\r\n"
                     "[HKEY_CURRENT_USER\\Software\\VornTest]\r\n"
                     "\"b\"=hex:01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,16,17,\\\r\n"
                     "  18,19,1a,1b,1c,1d,1e,1f,20,21,22,23,24,25,26,27,28,29,2a\r\n"
                     "\"長い\"=hex(2):25,41,25,41,25,41,25,41,25,41,25,41,25,41,25,41,25,41,25,41,00\r\n\r\n"));
}

TEST_F(RegExportTest, KeepsDataThatAPlainStringOrDwordCannotHold) {
  store_.WriteValue(kUser, kKey, "nul", {regtype::kSz, Bytes(std::string("a\0b\0", 4))});
  store_.WriteValue(kUser, kKey, "short", {regtype::kDword, {1, 2}});
  store_.WriteValue(kUser, kKey, "unterminated", {regtype::kSz, Bytes("ab")});
  store_.WriteValue(kUser, kKey, "padded", {regtype::kSz, Bytes(std::string("ab\0\0\0", 5))});
  EXPECT_EQ(Export(RegDialect::Version5), Utf16File("Windows Registry Editor Version 5.00\r\n\r\n"
                                                    "[HKEY_CURRENT_USER\\Software\\VornTest]\r\n"
                                                    "\"nul\"=hex(1):61,00,00,00,62,00,00,00\r\n"
                                                    "\"short\"=hex(4):01,02\r\n"
                                                    "\"unterminated\"=\"ab\"\r\n"
                                                    "\"padded\"=\"ab\"\r\n\r\n"));
}

TEST_F(RegExportTest, GivesNothingForAMissingKey) {
  EXPECT_FALSE(ExportRegFile(store_, kUser, "Software\\Missing", "HKEY_CURRENT_USER\\Software\\Missing",
                             RegDialect::Version5));
}

}  // namespace
}  // namespace vorn
